#include "controles/modEspera.h"

#include "comun/CTarea.h"
#include "controles/CBarraEstado.h"
#include "controles/CPunteroRaton.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>

// Hears Escape and holds back the user's other input for the length of a wait.
class CEsperaCancelable::CFiltro : public QObject {
public:
    CFiltro() {
        qApp->installEventFilter(this);
        m_Reloj.start();
    }
    ~CFiltro() override { qApp->removeEventFilter(this); }

    bool booCancelado = false;
    std::function<void()> fnAlCancelar;
    QElapsedTimer m_Reloj;

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

CEsperaCancelable::CEsperaCancelable(std::function<void()> fnAlCancelar)
    : m_Filtro(std::make_unique<CFiltro>()) {
    m_Filtro->fnAlCancelar = std::move(fnAlCancelar);
}

CEsperaCancelable::~CEsperaCancelable() = default;

void CEsperaCancelable::ProcesarEventos() {
    if (m_Filtro->m_Reloj.elapsed() < 20)
        return;
    QCoreApplication::processEvents();
    m_Filtro->m_Reloj.restart();
}

bool CEsperaCancelable::Cancelado() const {
    return m_Filtro->booCancelado;
}

bool EsperarTarea(const std::shared_ptr<CTarea>& objTarea, const QString& strTexto,
                  CBarraEstado* objBarra) {
    if (!objTarea || objTarea->Terminada())
        return true;
    const CPunteroRaton objPuntero(Puntero::FlechaReloj);
    QPointer<CBarraEstado> objDestino = objBarra;
    const QString strAnterior = objBarra ? objBarra->Texto() : QString();
    if (objBarra)
        objBarra->EstablecerTexto(strTexto);

    QEventLoop objBucle;
    bool booCancelado = false;
    const CEsperaCancelable objEspera([&] {
        // Too late when the job has just ended: then its result stands.
        if (objTarea->Cancelar()) {
            booCancelado = true;
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
                       CBarraEstado* objBarra) {
    if (const std::shared_ptr<CTarea> objAnterior = CTarea::EnCurso(strClave))
        if (!EsperarTarea(objAnterior, strTexto, objBarra))
            return false;
    return EsperarTarea(CTarea::Lanzar(strClave, std::move(fn), std::move(fnAlCancelar)), strTexto,
                        objBarra);
}
