#include "Aplicacion.h"
#include "comun/CError.h"
using namespace pruebas;

namespace {

QByteArray ArchivoConIds(const QStringList& ids) {
    QByteArray bytContenido = "<Verondal><Conexiones>";
    for (const QString& strId : ids)
        bytContenido += "<Conexion Id=\"" + strId.toUtf8() +
                        "\"><Titulo>t</Titulo><CadenaDeConexion>C0</CadenaDeConexion></Conexion>";
    return bytContenido + "</Conexiones></Verondal>";
}

std::unique_ptr<CConexion> Conexion(const QString& strId) {
    auto objConexion = std::make_unique<CConexion>();
    objConexion->setId(strId);
    return objConexion;
}

} // namespace

TEST(ConexionesTest, LasClavesNoDistinguenMayusculas) {
    CConexiones objConexiones;
    CConexion& objPrimera = objConexiones.Agregar(Conexion(u"cnx1"_s));
    EXPECT_EQ(&objConexiones.Item(u"CNX1"_s), &objPrimera);
    try {
        objConexiones.Agregar(Conexion(u"Cnx1"_s));
        ADD_FAILURE() << "se aceptó un Id repetido";
    } catch (const CError& e) {
        EXPECT_EQ(e.Numero(), 457);
    }
    EXPECT_EQ(objConexiones.Count(), 1);
    objConexiones.Eliminar(u"CNX1"_s);
    EXPECT_EQ(objConexiones.Count(), 0);
}

TEST(ConexionesTest, RecorreEnElOrdenDelArchivoYDespuesLasNuevas) {
    CVerondal verondal(ConfiguracionDePrueba(ArchivoConIds({"cnx9", "cnx2", "cnx4"})));
    verondal.Conexiones().NuevaConexion(u"n"_s, u"DSN=n"_s);
    EXPECT_EQ(Ids(verondal.Conexiones()), QStringList({"cnx9", "cnx2", "cnx4", "cnx5"}));
}

// The new Id is cnx(Count + 1) when free, else the next free number above it.
struct CasoIdLibre {
    const char* strNombre;
    QStringList idsEnArchivo;
    QString strEliminar;
    QString strNuevo;
};

class IdLibreTest : public ::testing::TestWithParam<CasoIdLibre> {};

TEST_P(IdLibreTest, NuevaConexionTomaElPrimerNumeroLibre) {
    const CasoIdLibre& caso = GetParam();
    CVerondal verondal(ConfiguracionDePrueba(ArchivoConIds(caso.idsEnArchivo)));
    if (!caso.strEliminar.isEmpty())
        verondal.Conexiones().Eliminar(caso.strEliminar);
    EXPECT_EQ(verondal.Conexiones().NuevaConexion(u"t"_s, u"DSN=t"_s).Id(), caso.strNuevo);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, IdLibreTest,
    ::testing::Values(CasoIdLibre{"Siguiente", {"cnx1", "cnx2"}, {}, "cnx3"},
                      CasoIdLibre{"Primera", {}, {}, "cnx1"},
                      CasoIdLibre{"TrasEliminarLaPrimera",
                                  {"cnx1", "cnx2"},
                                  "cnx1",
                                  "cnx3"},                                    // cnx2 is still there
                      CasoIdLibre{"ConHuecos", {"cnx2", "cnx5"}, {}, "cnx3"}, // gaps are fine
                      CasoIdLibre{"OcupadoConOtrasMayusculas",
                                  {"cnx3", "CNX4"},
                                  {},
                                  "cnx5"}, // letter case counts as taken
                      CasoIdLibre{"ConUnIdDeOtraForma", {"cnx1", "otra"}, {}, "cnx3"}),
    [](const auto& i) { return std::string(i.param.strNombre); });
