#include "controles/modEspera.h"

#include "catalog/CConexion.h"
#include "comun/CTarea.h"
#include "controles/CBarraEstado.h"
#include "controles/CPunteroRaton.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>

namespace {

// Hears Escape and holds back the user's other input for the length of a wait.
class CFiltroEspera : public QObject {
public:
    explicit CFiltroEspera(std::function<void()> fn) : fnAlCancelar(std::move(fn)) {
        qApp->installEventFilter(this);
    }
    ~CFiltroEspera() override { qApp->removeEventFilter(this); }

    bool booCancelado = false;
    std::function<void()> fnAlCancelar;

protected:
    bool eventFilter(QObject* objObjeto, QEvent* objEvento) override {
        switch (objEvento->type()) {
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(objEvento)->key() == Qt::Key_Escape) {
                if (!booCancelado) {
                    booCancelado = true;
                    if (fnAlCancelar)
                        fnAlCancelar();
                }
            }
            return true;
        case QEvent::ShortcutOverride:
            objEvento->accept(); // no shortcut fires either; the key press comes here
            return true;
        case QEvent::KeyRelease:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
            return true;
        case QEvent::Close:
            // The main window closing would release the connections the wait is about.
            if (objObjeto->isWidgetType() && static_cast<QWidget*>(objObjeto)->isWindow()) {
                objEvento->ignore();
                return true;
            }
            return false;
        default:
            return QObject::eventFilter(objObjeto, objEvento);
        }
    }
};

} // namespace

bool EsperarTarea(const std::shared_ptr<CTarea>& objTarea, const QString& strTexto,
                  CBarraEstado* objBarra, const std::function<void()>& fnAlRendirse) {
    if (!objTarea || objTarea->Terminada())
        return true;
    const CPunteroRaton objPuntero(Puntero::FlechaReloj);
    QPointer<CBarraEstado> objDestino = objBarra;
    const QString strAnterior = objBarra ? objBarra->Texto() : QString();
    if (objBarra)
        objBarra->EstablecerTexto(strTexto);

    QEventLoop objBucle;
    bool booCancelado = false;
    const CFiltroEspera objEspera([&] {
        // Too late when the job has just ended: then its result stands.
        if (objTarea->Cancelar()) {
            booCancelado = true;
            if (fnAlRendirse)
                fnAlRendirse();
            objBucle.quit();
        }
    });
    QTimer objSondeo;
    objSondeo.setInterval(15);
    QObject::connect(&objSondeo, &QTimer::timeout, &objBucle, [&] {
        if (objTarea->Terminada())
            objBucle.quit();
    });
    objSondeo.start();
    if (!objTarea->Terminada())
        objBucle.exec();
    objSondeo.stop();
    if (objDestino && objDestino->Texto() == strTexto)
        objDestino->EstablecerTexto(strAnterior);
    return !booCancelado;
}

bool EjecutarEsperando(const QString& strClave, std::function<void()> fn,
                       std::function<void()> fnAlCancelar, const QString& strTexto,
                       CBarraEstado* objBarra, const std::function<void()>& fnAlRendirse) {
    if (const std::shared_ptr<CTarea> objAnterior = CTarea::EnCurso(strClave))
        if (!EsperarTarea(objAnterior, strTexto, objBarra, fnAlRendirse))
            return false;
    return EsperarTarea(CTarea::Lanzar(strClave, std::move(fn), std::move(fnAlCancelar)), strTexto,
                        objBarra, fnAlRendirse);
}

bool EsperarConexion(const std::shared_ptr<CConexion>& objConexion, std::function<void()> fn,
                     const QString& strTexto, CBarraEstado* objBarra) {
    // A call that ended just as the user gave up may have left the link open: nobody reads it.
    return EjecutarEsperando(
        objConexion->Id(), std::move(fn), [objConexion] { objConexion->Desconectar(); }, strTexto,
        objBarra, [objConexion] { objConexion->Interrumpir(); });
}

bool ConectarEsperando(const std::shared_ptr<CConexion>& objConexion, CBarraEstado* objBarra) {
    return EsperarConexion(
        objConexion,
        [objConexion] {
            if (!objConexion->Conectado())
                objConexion->Conectar();
        },
        QStringLiteral("Conectando ") + objConexion->Titulo() + QStringLiteral("..."), objBarra);
}

CLlenadoLargo::CLlenadoLargo() {
    m_Reloj.start();
}

CLlenadoLargo::~CLlenadoLargo() = default;

void CLlenadoLargo::Ceder() {
    if (m_Reloj.elapsed() < kMilisegundos)
        return;
    if (!m_Filtro)
        m_Filtro = std::make_unique<CFiltroEspera>(std::function<void()>());
    QCoreApplication::processEvents();
    m_Reloj.restart();
}
