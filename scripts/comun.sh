# Shared by scripts/run and scripts/test: package installation and the build.
# shellcheck shell=bash

RAIZ=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

PAQUETES_BASE=(build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-translations-l10n
  unixodbc unixodbc-dev libsqliteodbc odbc-postgresql odbc-mariadb
  nettle-dev libxlsxwriter-dev libzip-dev sqlite3)
PAQUETES_PRUEBAS=(googletest libgtest-dev postgresql mariadb-server mariadb-client
  xvfb xauth libreoffice-writer-nogui libreoffice-calc-nogui poppler-utils)

# Install whatever of the given packages is missing: as root, through sudo, or say how.
instalar_paquetes() {
  local faltan=()
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || faltan+=("$p")
  done
  [ ${#faltan[@]} -eq 0 ] && return 0
  echo "Instalando: ${faltan[*]}"
  local como=()
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then
      como=(sudo)
    else
      echo "Faltan paquetes. Ejecute como root:" >&2
      echo "  apt-get update && apt-get install -y ${faltan[*]}" >&2
      exit 1
    fi
  fi
  "${como[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${como[@]}" apt-get install -y -qq --no-install-recommends "${faltan[@]}"
}

# compilar_preset NOMBRE: configure and build one of CMakePresets.json's presets.
compilar_preset() {
  (cd "$RAIZ" && cmake --preset "$1" >/dev/null && cmake --build --preset "$1" -j "$(nproc)")
}
