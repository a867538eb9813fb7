// The comparison of two databases' catalogues: tables and their columns, views, procedures.
// Created by whoever starts one comparison (the wizard, the command line) and released after it.
#pragma once

#include "compare/IResultados.h"

#include "catalog/CRecordset.h"

#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class CConexion;
class CClavesLado;

class CComparador {
public:
    CComparador();
    ~CComparador();
    CComparador(const CComparador&) = delete;
    CComparador& operator=(const CComparador&) = delete;

    // The two sides, borrowed: the caller keeps them alive until Comparar returns.
    void setConexion1(CConexion* objConexion) { m_objConexion1 = Prestada(objConexion); }
    void setConexion2(CConexion* objConexion) { m_objConexion2 = Prestada(objConexion); }
    // The same by Id, from the application's connection collection (CError when there is none),
    // held here so that a removal from the collection mid-comparison leaves the object alive.
    void setConexion1(const QString& strKey);
    void setConexion2(const QString& strKey);
    void setCompararTablas(bool booCompararTablas) { m_booCompararTablas = booCompararTablas; }
    void setCompararVistas(bool booCompararVistas) { m_booCompararVistas = booCompararVistas; }
    void setCompararProcedimientos(bool booCompararProcedimientos) {
        m_booCompararProcedimientos = booCompararProcedimientos;
    }
    void setCompararOcultos(bool booCompararOcultos) { m_booCompararOcultos = booCompararOcultos; }
    // Two more phases, after the other three: the indexes and the foreign keys of every table
    // present on both sides.
    void setCompararIndices(bool booCompararIndices) { m_booCompararIndices = booCompararIndices; }
    void setCompararRelaciones(bool booCompararRelaciones) {
        m_booCompararRelaciones = booCompararRelaciones;
    }

    // Runs the whole comparison into objResultados and returns when it ended or was cancelled.
    void Comparar(IResultados& objResultados);

    // What the last Comparar found, for callers that decide on it (the command line's exit).
    long Diferencias() const { return m_lngDiferenciasTotal; }
    bool FalloConexion() const { return m_booFalloConexion; }
    bool FalloCatalogo() const { return m_booFalloCatalogo; }
    bool Cancelado() const { return m_booCancelado; }

    // The straightforward algorithm: every lookup a scan from the first row, one columns query
    // per table and side. Same rows in the same order, quadratic; kept to measure against.
    void setAlgoritmoLiteral(bool booLiteral) { m_booAlgoritmoLiteral = booLiteral; }

private:
    struct CCamposLeidos;
    struct CLado;
    struct CLectura;
    struct CColumnasTabla;
    // One pass of a phase: walking "este", looking rows up in "otro".
    struct CPasada {
        CRecordset& este;
        CRecordset& otro;
        const CLado& ladoEste;
        const CLado& ladoOtro;
        const QString& strColumnaNombre; // the column names are looked up by
        bool booSegunda;
    };
    // One row of a pass whose name is not null: its name, its type column's value.
    using FnFila = std::function<void(const CPasada&, const QString& strNombre,
                                      const QVariant& tipo, long& lngDiferencias)>;

    // The handler of the sink's Cancelar event.
    void m_frmResultados_Cancelar() { m_booCancelado = true; }

    void AgregarDiferencia(const QString& strTexto, const QString& strTipo,
                           const QString& strConexion, const QString& strMensaje,
                           long& lngDiferencias, int intIcono,
                           ClaseDiferencia lngClase = ClaseDiferencia::Objeto);
    void AgregarSinDiferencias(const QString& strTexto, const QString& strTipo,
                               const QString& strMensaje);
    void Estado(const QString& strEstado);
    void EstadoProgreso(const QString& strPrefijo, const CRecordset& rs, bool booSegundaPasada);

    bool AbrirConexion(CLado& lado);
    bool ConjuntosLeidos(const CRecordset* rs1, const CRecordset* rs2, const QString& strTipo,
                         long& lngDiferencias);
    bool Buscar(CRecordset& rs, const QString& strColumna, const QString& strValor) const;
    // Cancelled, or a side's link is closed: nothing more is read.
    bool Detenido() const;
    // Why a side's catalogue could not be read: its link's own reason when it was cut.
    static QString NoSeLee(const CLado& lado);
    // One read of a side's catalogue (fnLeer), run on a thread of its own while this one keeps
    // yielding to the sink, so that a cancel is heard even while a driver call blocks.
    template <typename F> auto Leer(CLado& lado, F fnLeer);
    // From the thread of a read (CamposTodos' callback): the engine's thread yields once, as the
    // read did when it ran here; false once cancelled.
    bool CederDesdeLectura();

    // A phase's rowset of one side: the side's own tables rowset, or one read for the phase
    // into propio.
    CRecordset* Conjunto(CLado& lado, PRecordset (CConexion::*fnConjunto)(), PRecordset& propio);
    void Fase(const QString& strTipo, const QString& strPrefijo,
              PRecordset (CConexion::*fnConjunto)(), const QString& strColumnaNombre,
              const QString& strColumnaTipo, const FnFila& fnFila);
    // A table as one side's tables rowset spells it: its exact name and its schema (null on a
    // DBMS without schemas).
    struct CTabla {
        QString strNombre;
        QVariant esquema;
    };
    static CTabla TablaEn(const CRecordset& rs, std::size_t fila);
    // The row of "otro" that a row of "este" is compared with: one of its name, ignoring case
    // (none: missing), preferring the same schema, then the same spelling, then the first.
    std::optional<std::size_t> Pareja(CRecordset& otro, const CTabla& tabla) const;

    void CompararListaTablas();
    // strTabla is the name the messages give the table.
    void CompararCamposTabla(const QString& strTabla, const CTabla& tabla1, const CTabla& tabla2,
                             long& lngDiferencias);
    void CompararPasadaCampos(const QString& strTabla, const CColumnasTabla& esta, CLado& ladoEste,
                              const CColumnasTabla& otra, CLado& ladoOtro, long& lngDiferencias);
    void CompararListaVistas();
    void CompararListaProcedimientos();
    // The name the messages give a table: qualified by its schema when this side holds the name
    // in several.
    static QString NombreEnMensajes(CRecordset& rs, const CTabla& tabla, const QString& strNombre);
    // A phase over the tables rowsets that pairs each table with the other side's: fnPar gets
    // each pair once, side 1's table first; fnFalta, when given, a table the other side lacks,
    // with its kind.
    using FnPar = std::function<void(const QString& strTabla, const CTabla& tabla1,
                                     const CTabla& tabla2, long& lngDiferencias)>;
    using FnFalta = std::function<void(const CPasada&, const QString& strNombre,
                                       const QString& strTipo, long& lngDiferencias)>;
    void FaseTablasComunes(const QString& strTipo, const QString& strPrefijo, const FnPar& fnPar,
                           const FnFalta& fnFalta = {});
    void CompararListaClaves(bool booIndices); // the indexes phase, or the foreign keys one
    // The keys phases' bulk read of both sides; false (with its rows) when one failed.
    bool LeerClaves(bool booIndices, bool booRelaciones, CClavesLado& claves1, CClavesLado& claves2,
                    long& lngDiferencias);
    CColumnasTabla Columnas(CLado& lado, const CTabla& tabla);
    QString DescripcionTipo(CLado& lado, long lngTipo);

    // A reference that does not own: a borrowed side is not released here.
    static std::shared_ptr<CConexion> Prestada(CConexion* objConexion) {
        return std::shared_ptr<CConexion>(std::shared_ptr<CConexion>(), objConexion);
    }

    std::shared_ptr<CConexion> m_objConexion1;
    std::shared_ptr<CConexion> m_objConexion2;
    bool m_booCompararTablas = false;
    bool m_booCompararVistas = false;
    bool m_booCompararProcedimientos = false;
    bool m_booCompararOcultos = true;
    bool m_booCompararIndices = false;
    bool m_booCompararRelaciones = false;
    std::atomic<bool> m_booCancelado{false}; // read by the thread of a read in progress
    IResultados* m_frmResultados = nullptr;
    CLectura* m_Lectura = nullptr; // the read in progress, while Leer waits for it

    QString m_strFase;  // the running phase's kind, for the rows' strFase
    QString m_strTabla; // the table whose columns are being compared, for the rows' strTabla
    bool m_booAlgoritmoLiteral = false;
    long m_lngDiferenciasTotal = 0;
    bool m_booFalloConexion = false;
    bool m_booFalloCatalogo = false;
    std::unique_ptr<CLado> m_Lado1;
    std::unique_ptr<CLado> m_Lado2;
};
