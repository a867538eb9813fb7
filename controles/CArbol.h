// A tree view whose nodes carry a unique key (optional), a tag, an icon number and an expanded
// icon number from an image list, and a text colour. Owns its nodes; windows hold it as a child.
#pragma once

#include "controles/CListaImagenes.h"

#include <QHash>
#include <QTreeWidget>

class CArbol : public QTreeWidget {
    Q_OBJECT
public:
    explicit CArbol(QWidget* objPadre = nullptr);

    void EstablecerImagenes(const CListaImagenes& objImagenes);

    // Appends a node as the last child of the node keyed strClavePadre (a root when it is empty).
    // strClave may be empty (no key); a key already in use, or an unknown parent, throws CError.
    QTreeWidgetItem* Agregar(const QString& strClavePadre, const QString& strClave,
                             const QString& strTexto, int intIcono, int intIconoExpandido = 0);
    // The same under a parent node (nullptr: a root).
    QTreeWidgetItem* Agregar(QTreeWidgetItem* objPadre, const QString& strClave,
                             const QString& strTexto, int intIcono, int intIconoExpandido = 0);
    // Many nodes at once: made with Nuevo, not yet in the tree, then appended under objPadre in
    // one go, which costs the view one update instead of one per node. Their keys must be new.
    QTreeWidgetItem* Nuevo(const QString& strClave, const QString& strTexto, int intIcono,
                           int intIconoExpandido = 0) const;
    void AgregarVarios(QTreeWidgetItem* objPadre, const QList<QTreeWidgetItem*>& objNodos);
    QTreeWidgetItem* Nodo(const QString& strClave) const; // nullptr when no node has that key
    void Eliminar(QTreeWidgetItem* objNodo);              // with everything below it
    void Limpiar();

    // What a node carries.
    static QString Clave(const QTreeWidgetItem* objNodo);
    static QString Etiqueta(const QTreeWidgetItem* objNodo);
    static void EstablecerEtiqueta(QTreeWidgetItem* objNodo, const QString& strEtiqueta);
    static int Icono(const QTreeWidgetItem* objNodo);
    static int IconoExpandido(const QTreeWidgetItem* objNodo);
    static quint32 Color(const QTreeWidgetItem* objNodo); // Color::TextoVentana unless set
    void EstablecerIcono(QTreeWidgetItem* objNodo, int intIcono);
    void EstablecerIconoExpandido(QTreeWidgetItem* objNodo, int intIcono);
    void EstablecerColor(QTreeWidgetItem* objNodo, quint32 lngColor);

signals:
    void NodoExpandido(QTreeWidgetItem* objNodo); // after the node opened; children may change
    void ClicNodo(QTreeWidgetItem* objNodo);
    void TeclaPulsada(int intTecla); // Qt::Key, before the tree's own handling

protected:
    void keyPressEvent(QKeyEvent* objEvento) override;

private:
    void MostrarIcono(QTreeWidgetItem* objNodo);
    void OlvidarClaves(QTreeWidgetItem* objNodo);

    CListaImagenes m_Imagenes;
    QHash<QString, QTreeWidgetItem*> m_Claves;
};
