#include "catalog/CAdo.h"

#include <gtest/gtest.h>

TEST(AdoTest, CodigosFueraDeTablaDanDesconocidoOVacioSegunLaLista) {
    const CAdo objAdo;
    EXPECT_EQ(objAdo.TipoIndice(4), "(desconocido)");
    EXPECT_EQ(objAdo.TipoIndice(0), "");
    EXPECT_EQ(objAdo.TipoIndice(5), "");
    EXPECT_EQ(objAdo.TipoIndice(-1), "");
    EXPECT_EQ(objAdo.TipoProcedimiento(1), "(desconocido)");
    EXPECT_EQ(objAdo.TipoProcedimiento(4), "");
    EXPECT_EQ(objAdo.TipoAdmisionBusquedas(0), "(desconocido)");
    EXPECT_EQ(objAdo.TipoAdmisionBusquedas(2), "Sólo LIKE");
    EXPECT_EQ(objAdo.TipoOrdenacion(3), "(desconocido)");
    EXPECT_EQ(objAdo.TipoCampo(8192), "adArray");
    for (long lngTipo : {0L, 1L, 15L, 137L, 8392L, -2L})
        EXPECT_EQ(objAdo.TipoCampo(lngTipo), "(desconocido)") << lngTipo;
}

TEST(AdoTest, SoloLoDelSistemaSeDibujaEnGris) {
    const CAdo objAdo;
    for (const char* strTipo : {"ACCESS TABLE", "SYSTEM TABLE", "SYSTEM VIEW"})
        EXPECT_EQ(objAdo.ColorTexto(QString::fromLatin1(strTipo)), 0x80000011u) << strTipo;
    for (const char* strTipo : {"TABLE", "VIEW", "PASS-THROUGH", "", "system view"})
        EXPECT_EQ(objAdo.ColorTexto(QString::fromLatin1(strTipo)), 0x80000008u) << strTipo;
}
