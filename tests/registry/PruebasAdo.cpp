#include "catalog/CAdo.h"

#include <QVariant>
#include <gtest/gtest.h>

namespace {

// One table of the code texts: input, expected text.
template <typename T> struct Fila {
    T entrada;
    const char* strEsperado;
};

template <typename T>
void Comprobar(const char* strTabla, QString (CAdo::*miembro)(T) const,
               std::initializer_list<Fila<std::remove_cvref_t<T>>> filas) {
    const CAdo objAdo;
    for (const auto& fila : filas)
        EXPECT_EQ((objAdo.*miembro)(fila.entrada), QString::fromUtf8(fila.strEsperado))
            << strTabla << "(" << qPrintable(QVariant::fromValue(fila.entrada).toString()) << ")";
}

} // namespace

TEST(AdoTest, TipoTablaDistingueMayusculasYNoRecorta) {
    Comprobar<const QString&>("TipoTabla", &CAdo::TipoTabla,
                              {{"TABLE", "Tabla"},
                               {"VIEW", "Vista"},
                               {"ACCESS TABLE", "Tabla del sistema"},
                               {"SYSTEM TABLE", "Tabla del sistema"},
                               {"SYSTEM VIEW", "Vista del sistema"},
                               {"PASS-THROUGH", "Tabla vinculada"},
                               {"ALIAS", "Alias"},
                               {"GLOBAL TEMPORARY", "Temporal (global)"},
                               {"LOCAL TEMPORARY", "Temporal (local)"},
                               {"table", "(desconocido)"},
                               {"TABLE ", "(desconocido)"},
                               {"", "(desconocido)"},
                               {"SYNONYM", "(desconocido)"}});
}

TEST(AdoTest, TiposDeIndiceProcedimientoBusquedaYOrden) {
    Comprobar<long>("TipoIndice", &CAdo::TipoIndice,
                    {{0, ""},
                     {1, "Árbol binario"},
                     {2, "Tabla hash"},
                     {3, "Índice"},
                     {4, "(desconocido)"},
                     {5, ""},
                     {-1, ""}});
    Comprobar<long>("TipoProcedimiento", &CAdo::TipoProcedimiento,
                    {{0, ""}, {1, "(desconocido)"}, {2, "Procedimiento"}, {3, "Función"}, {4, ""}});
    Comprobar<long>("TipoAdmisionBusquedas", &CAdo::TipoAdmisionBusquedas,
                    {{0, "(desconocido)"},
                     {1, "No"},
                     {2, "Sólo LIKE"},
                     {3, "Excepto LIKE"},
                     {4, "Sí"},
                     {5, "(desconocido)"}});
    Comprobar<long>("TipoOrdenacion", &CAdo::TipoOrdenacion,
                    {{0, "(desconocido)"}, {1, "ASC"}, {2, "DESC"}, {3, "(desconocido)"}});
}

TEST(AdoTest, TipoCampoDaElNombreDeLaConstante) {
    Comprobar<long>("TipoCampo", &CAdo::TipoCampo,
                    {{2, "adSmallInt"},
                     {3, "adInteger"},
                     {4, "adSingle"},
                     {5, "adDouble"},
                     {6, "adCurrency"},
                     {7, "adDate"},
                     {8, "adBSTR"},
                     {9, "adIDispatch"},
                     {10, "adError"},
                     {11, "adBoolean"},
                     {12, "adVariant"},
                     {13, "adIUnknown"},
                     {14, "adDecimal"},
                     {16, "adTinyInt"},
                     {17, "adUnsignedTinyInt"},
                     {18, "adUnsignedSmallInt"},
                     {19, "adUnsignedInt"},
                     {20, "adBigInt"},
                     {21, "adUnsignedBigInt"},
                     {64, "adFileTime"},
                     {72, "adGUID"},
                     {128, "adBinary"},
                     {129, "adChar"},
                     {130, "adWChar"},
                     {131, "adNumeric"},
                     {132, "adUserDefined"},
                     {133, "adDBDate"},
                     {134, "adDBTime"},
                     {135, "adDBTimeStamp"},
                     {136, "adChapter"},
                     {138, "adPropVariant"},
                     {139, "adVarNumeric"},
                     {200, "adVarChar"},
                     {201, "adLongVarChar"},
                     {202, "adVarWChar"},
                     {203, "adLongVarWChar"},
                     {204, "adVarBinary"},
                     {205, "adLongVarBinary"},
                     {8192, "adArray"},
                     {0, "(desconocido)"},
                     {1, "(desconocido)"},
                     {15, "(desconocido)"},
                     {137, "(desconocido)"},
                     {8392, "(desconocido)"},
                     {-2, "(desconocido)"}});
}

TEST(AdoTest, SoloLoDelSistemaSeDibujaEnGris) {
    const CAdo objAdo;
    for (const char* strTipo : {"ACCESS TABLE", "SYSTEM TABLE", "SYSTEM VIEW"})
        EXPECT_EQ(objAdo.ColorTexto(QString::fromLatin1(strTipo)), 0x80000011u) << strTipo;
    for (const char* strTipo : {"TABLE", "VIEW", "PASS-THROUGH", "", "system view"})
        EXPECT_EQ(objAdo.ColorTexto(QString::fromLatin1(strTipo)), 0x80000008u) << strTipo;
}
