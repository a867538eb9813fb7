#!/usr/bin/env python3
"""The doors between rooms run one way: fail, naming file:line, on an include that goes the wrong way.

Reads every #include "..." of the program's rooms (not tests/ nor bench/, which may reach any
room they test). A room may include itself and the rooms below it; the core rooms and cli/ must
also stay off every Qt module other than Qt Core and Qt Xml. Exit status 1 when something crosses.
"""

import glob
import os
import re
import sys

RAIZ = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

NUCLEO = ["comun", "catalog", "registry", "export", "compare"]
CONTROLES = ["controles"] + ["export", "compare", "registry", "catalog", "comun"]
VENTANAS = ["export/ui"] + CONTROLES

# What each room may include besides itself.
PUERTAS = {
    "comun": [],
    "catalog": ["comun"],
    "registry": ["catalog", "comun"],
    "export": ["registry", "catalog", "comun"],
    "compare": ["registry", "catalog", "comun"],
    "controles": CONTROLES[1:],
    "export/ui": CONTROLES,
    "explorer": VENTANAS,
    "properties": VENTANAS,
    "compare/ui": VENTANAS,
    "app": ["explorer", "properties", "compare/ui"] + VENTANAS,
    "cli": NUCLEO,
}
# A sub-folder that belongs to its parent room rather than being a room of its own.
SUBCARPETAS = {"catalog/dialectos": "catalog"}

# Rooms whose code must build against Qt Core and Qt Xml alone.
SIN_VENTANAS = set(NUCLEO) | {"cli"}
MODULOS_QT_PERMITIDOS = {"QtCore", "QtXml"}

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def sala_de(ruta):
    """The room a path inside the tree belongs to, or None (the longest room prefix wins)."""
    ruta = ruta.replace(os.sep, "/")
    mejor = None
    for sala in list(PUERTAS) + list(SUBCARPETAS):
        if ruta == sala or ruta.startswith(sala + "/"):
            if mejor is None or len(sala) > len(mejor):
                mejor = sala
    return SUBCARPETAS.get(mejor, mejor)


def modulos_qt():
    """Header name -> Qt module, from the Qt headers installed on this machine."""
    carpetas = glob.glob("/usr/include/*/qt6") + glob.glob("/usr/include/qt6")
    modulos = {}
    for base in carpetas:
        for modulo in os.listdir(base):
            carpeta = os.path.join(base, modulo)
            if not os.path.isdir(carpeta):
                continue
            for nombre in os.listdir(carpeta):
                # The class headers (QWidget) and the module headers (QtWidgets) alike.
                if nombre.startswith("Q") and "." not in nombre:
                    modulos.setdefault(nombre, modulo)
    return modulos


def modulo_de(cabecera, modulos):
    if "/" in cabecera:
        primero = cabecera.split("/", 1)[0]
        return primero if primero.startswith("Qt") else None
    if cabecera in modulos:
        return modulos[cabecera]
    # Without Qt's headers installed, still recognise the usual window headers.
    if re.fullmatch(r"Q(Widget|Application|MessageBox|Dialog|MainWindow|Label|PushButton|"
                    r"\w*Layout|\w*View|\w*Widget|Menu\w*|ToolBar|StatusBar|LineEdit|"
                    r"ComboBox|CheckBox|RadioButton|GroupBox|TabWidget|FileDialog|InputDialog|"
                    r"Mdi\w+|Header\w*|Action)", cabecera):
        return "QtWidgets"
    return None


def main():
    modulos = modulos_qt()
    fallos = []
    archivos = 0
    propias = 0
    qt = 0
    salas_vistas = set()
    for sala in PUERTAS:
        carpeta = os.path.join(RAIZ, sala)
        if not os.path.isdir(carpeta):
            continue
        for directorio, subcarpetas, nombres in os.walk(carpeta):
            subcarpetas.sort()
            for nombre in sorted(nombres):
                if not nombre.endswith((".cpp", ".h")):
                    continue
                ruta = os.path.join(directorio, nombre)
                relativa = os.path.relpath(ruta, RAIZ)
                if sala_de(relativa) != sala:
                    continue  # a room nested inside this folder, walked on its own
                archivos += 1
                salas_vistas.add(sala)
                with open(ruta, encoding="utf-8", errors="replace") as f:
                    for n, linea in enumerate(f, 1):
                        m = INCLUDE.match(linea)
                        if not m:
                            continue
                        tipo, cabecera = m.groups()
                        if tipo == '"':
                            propias += 1
                            destino = sala_de(cabecera)
                            if destino is None:
                                # A path relative to the including file.
                                cerca = os.path.relpath(
                                    os.path.normpath(os.path.join(directorio, cabecera)), RAIZ)
                                destino = sala_de(cerca) if not cerca.startswith("..") else None
                            if destino is None or destino == sala:
                                continue
                            if destino not in PUERTAS[sala]:
                                fallos.append(f"{relativa}:{n}: {sala}/ no puede incluir "
                                              f"\"{cabecera}\" (sala {destino}/)")
                        elif sala in SIN_VENTANAS:
                            modulo = modulo_de(cabecera, modulos)
                            if modulo is None:
                                continue
                            qt += 1
                            if modulo not in MODULOS_QT_PERMITIDOS:
                                fallos.append(f"{relativa}:{n}: {sala}/ usa solo Qt Core y Qt Xml, "
                                              f"no <{cabecera}> ({modulo})")

    print(f"Puertas: {archivos} archivos en {len(salas_vistas)} salas "
          f"({', '.join(s + '/' for s in PUERTAS if s in salas_vistas)}), "
          f"{propias} inclusiones del proyecto y {qt} cabeceras de Qt del núcleo y de cli/ "
          "revisadas.", flush=True)
    if fallos:
        print(f"{len(fallos)} inclusiones cruzan una puerta en sentido contrario:", file=sys.stderr)
        for f in fallos:
            print("  " + f, file=sys.stderr)
        return 1
    print("Ninguna inclusión cruza una puerta en sentido contrario.")
    return 0


if __name__ == "__main__":
    sys.exit(main())
