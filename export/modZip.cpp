#include "export/modZip.h"

#include <memory>
#include <zip.h>

namespace {

struct CLiberarFuente {
    void operator()(zip_source_t* objFuente) const { zip_source_free(objFuente); }
};
struct CDescartarZip {
    void operator()(zip_t* objZip) const { zip_discard(objZip); }
};
using PFuente = std::unique_ptr<zip_source_t, CLiberarFuente>;

QString TextoError(zip_error_t& error) {
    const QString strTexto = QString::fromUtf8(zip_error_strerror(&error));
    zip_error_fini(&error);
    return strTexto;
}

// The bytes an in-memory source holds after its archive was closed.
bool LeerFuente(zip_source_t* objFuente, QByteArray& bytDatos, QString& strError) {
    if (zip_source_open(objFuente) < 0) {
        strError = QString::fromUtf8(zip_error_strerror(zip_source_error(objFuente)));
        return false;
    }
    zip_int64_t lngLongitud = -1;
    if (zip_source_seek(objFuente, 0, SEEK_END) == 0)
        lngLongitud = zip_source_tell(objFuente);
    bool booBien = lngLongitud >= 0 && zip_source_seek(objFuente, 0, SEEK_SET) == 0;
    if (booBien) {
        bytDatos.resize(lngLongitud);
        booBien = zip_source_read(objFuente, bytDatos.data(), lngLongitud) == lngLongitud;
    }
    if (!booBien)
        strError = QString::fromUtf8(zip_error_strerror(zip_source_error(objFuente)));
    zip_source_close(objFuente);
    return booBien;
}

} // namespace

bool ComprimirPartes(const PartesZip& partes, QByteArray& bytZip, QString& strError) {
    zip_error_t error;
    zip_error_init(&error);
    PFuente objFuente(zip_source_buffer_create(nullptr, 0, 0, &error));
    if (!objFuente) {
        strError = TextoError(error);
        return false;
    }
    std::unique_ptr<zip_t, CDescartarZip> objZip(
        zip_open_from_source(objFuente.get(), ZIP_TRUNCATE, &error));
    if (!objZip) {
        strError = TextoError(error);
        return false;
    }
    // The archive now holds the source too; keep it alive past zip_close to read the result.
    zip_source_keep(objFuente.get());
    for (const auto& [strNombre, bytParte] : partes) {
        // The parts outlive zip_close, so libzip may read them in place.
        zip_source_t* objParte =
            zip_source_buffer(objZip.get(), bytParte.constData(), bytParte.size(), 0);
        if (!objParte || zip_file_add(objZip.get(), strNombre.toUtf8().constData(), objParte,
                                      ZIP_FL_ENC_UTF_8) < 0) {
            if (objParte)
                zip_source_free(objParte);
            strError = QString::fromUtf8(zip_strerror(objZip.get()));
            return false;
        }
    }
    if (zip_close(objZip.get()) < 0) {
        strError = QString::fromUtf8(zip_strerror(objZip.get()));
        return false;
    }
    objZip.release(); // closed and freed by zip_close
    return LeerFuente(objFuente.get(), bytZip, strError);
}
