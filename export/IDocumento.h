// The one interface through which a list is written in any export format: the kind of objects,
// the column titles, then the rows value by value, and a final save. The caller owns the writer.
#pragma once

#include <QByteArray>
#include <QString>

class IDocumento {
public:
    virtual ~IDocumento() = default;

    virtual void AgregarValor(const QString& strValor) { Q_UNUSED(strValor); }
    virtual void AgregarTitulo(const QString& strTitulo) { Q_UNUSED(strTitulo); }
    virtual void NuevoRegistro() {}
    // Writes the document (or leaves it open in the user's office program); a failure is shown in
    // one critical message and turns Error on.
    virtual void Guardar(const QString& strRuta, bool booMostrarConfirmacion) {
        Q_UNUSED(strRuta);
        Q_UNUSED(booMostrarConfirmacion);
    }
    // True when the writer failed and must not be used further.
    virtual bool Error() const { return false; }
    virtual void TipoObjetos(const QString& strTipoObjetos) { Q_UNUSED(strTipoObjetos); }

    // The bytes Guardar would store, without any box: the command line writes these itself.
    virtual bool Contenido(QByteArray& bytDocumento, QString& strError) const {
        Q_UNUSED(strError);
        bytDocumento.clear();
        return true;
    }

protected:
    // Guardar of the file writers: Contenido written atomically to strRuta, then the confirmation
    // if asked for. False after a failure, already shown to the user.
    bool GuardarEnArchivo(const QString& strRuta, bool booMostrarConfirmacion) const;
};
