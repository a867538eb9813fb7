// Reads one part of an .xlsx or .docx with libzip and parses it, so the tests check what an
// office program would read.
#pragma once

#include <QByteArray>
#include <QDomDocument>
#include <QFile>
#include <QString>
#include <zip.h>

inline QByteArray LeerParteZip(const QString& strArchivo, const char* strParte) {
    int intError = 0;
    zip_t* objZip = zip_open(QFile::encodeName(strArchivo).constData(), ZIP_RDONLY, &intError);
    if (!objZip)
        return QByteArray();
    QByteArray bytParte;
    zip_stat_t estado;
    if (zip_stat(objZip, strParte, 0, &estado) == 0) {
        if (zip_file_t* objArchivo = zip_fopen(objZip, strParte, 0)) {
            bytParte.resize(static_cast<qsizetype>(estado.size));
            if (zip_fread(objArchivo, bytParte.data(), estado.size) !=
                static_cast<zip_int64_t>(estado.size))
                bytParte.clear();
            zip_fclose(objArchivo);
        }
    }
    zip_close(objZip);
    return bytParte;
}

inline QDomDocument LeerXmlZip(const QString& strArchivo, const char* strParte) {
    QDomDocument documento;
    documento.setContent(LeerParteZip(strArchivo, strParte), true);
    return documento;
}
