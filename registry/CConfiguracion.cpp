#include "registry/CConfiguracion.h"

#include "catalog/CConexion.h"
#include "comun/CError.h"
#include "comun/IDialogos.h"
#include "comun/NumerosError.h"
#include "comun/modEscritura.h"
#include "registry/CConexiones.h"
#include "registry/CEncriptador.h"
#include "registry/modCodificacion.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QTextStream>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <unistd.h>
#include <vector>

namespace {

const QRegularExpression& ExpresionCodificacion() {
    static const QRegularExpression re(QStringLiteral("(encoding\\s*=\\s*)([\"'])([^\"']*)\\2"));
    return re;
}

bool EsUtf8(const QByteArray& strCodigo) {
    const QByteArray c = strCodigo.toLower();
    return c.isEmpty() || c == "utf-8" || c == "utf8";
}

// Characters XML 1.0 cannot carry at all, not even as references.
bool TextoXmlValido(const QString& strTexto) {
    for (qsizetype i = 0; i < strTexto.size(); ++i) {
        const QChar c = strTexto[i];
        if (c.isHighSurrogate() && i + 1 < strTexto.size() && strTexto[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        const char16_t u = c.unicode();
        if (c.isSurrogate() || u == 0xFFFE || u == 0xFFFF ||
            (u < 0x20 && u != 0x9 && u != 0xA && u != 0xD))
            return false;
    }
    return true;
}

} // namespace

CConfiguracion::CBloqueo::CBloqueo(const QString& strRuta) {
    const QByteArray bytRuta = QFile::encodeName(strRuta + QStringLiteral(".bloqueo"));
    m_Fd = ::open(bytRuta.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (m_Fd < 0)
        return;
    // A writer holds the lock for the time of one read and one save: ten seconds is a writer
    // that hangs, and waiting for it longer would hang this program too.
    for (int intIntento = 0; ::flock(m_Fd, LOCK_EX | LOCK_NB) != 0; ++intIntento) {
        if (errno != EWOULDBLOCK && errno != EINTR) {
            ::close(m_Fd); // a file system without locks: nothing to wait for
            m_Fd = -1;
            return;
        }
        if (intIntento >= 500) {
            ::close(m_Fd);
            m_Fd = -1;
            throw CError(NumeroError::Acceso, QStringLiteral("CConfiguracion::Bloquear()"),
                         QStringLiteral("Otro programa mantiene bloqueado el archivo %1 desde "
                                        "hace más de 10 segundos; no se ha guardado nada")
                             .arg(strRuta));
        }
        ::usleep(20000);
    }
}

CConfiguracion::CBloqueo::~CBloqueo() {
    if (m_Fd >= 0)
        ::close(m_Fd); // releases the lock
}

bool CConfiguracion::Analizar(const QByteArray& bytArchivo, QString& strRazon, int& intLinea,
                              int& intColumna) {
    m_Documento = QDomDocument();
    m_Declaracion.clear();
    m_Codificacion.clear();
    m_Bom = false;
    if (!m_Documento.setContent(bytArchivo, &strRazon, &intLinea, &intColumna)) {
        m_Documento = QDomDocument();
        return false;
    }
    QByteArray bytContenido = bytArchivo;
    if (bytContenido.startsWith("\xEF\xBB\xBF")) {
        m_Bom = true;
        bytContenido.remove(0, 3);
    }
    // The declaration is kept as written: QDom would rewrite its quotes and encoding.
    const qsizetype lngFin = bytContenido.indexOf("?>");
    if (bytContenido.startsWith("<?xml") && bytContenido.size() > 5 &&
        QChar::isSpace(bytContenido[5]) && lngFin > 0) {
        m_Declaracion = QString::fromLatin1(bytContenido.left(lngFin + 2));
        m_Codificacion = ExpresionCodificacion().match(m_Declaracion).captured(3).toLatin1();
    }
    return true;
}

void CConfiguracion::setRuta(const QString& strRuta) {
    m_Ruta = strRuta;
    m_bytArchivo.clear();

    QString strRazon;
    int intLinea = 0;
    int intColumna = 0;
    bool booCargado = false;
    QFile archivo(m_Ruta);
    if (archivo.open(QIODevice::ReadOnly)) {
        QByteArray bytContenido = archivo.readAll();
        if (archivo.error() != QFileDevice::NoError) {
            strRazon = archivo.errorString();
        } else {
            booCargado = Analizar(bytContenido, strRazon, intLinea, intColumna);
            if (booCargado)
                m_bytArchivo = bytContenido;
        }
    } else {
        strRazon = archivo.errorString();
    }

    m_Error = !booCargado;
    if (m_Error) {
        m_Documento = QDomDocument();
        Dialogos().Mensaje(QStringLiteral("Error en la línea %1 del archivo %2\r\n%3")
                               .arg(intLinea)
                               .arg(m_Ruta, strRazon),
                           Estilo::Critico, QStringLiteral("Error"));
    }
}

std::optional<std::vector<std::unique_ptr<CConexion>>> CConfiguracion::Releer() {
    const QString strOrigen = QStringLiteral("CConfiguracion::Releer()");
    QFile archivo(m_Ruta);
    // A file gone or out of reach: the document is all there is, and the save that follows
    // either writes it back or says why it cannot.
    if (!archivo.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytContenido = archivo.readAll();
    if (archivo.error() != QFileDevice::NoError)
        throw CError(NumeroError::Acceso, strOrigen,
                     QStringLiteral("No se puede leer el archivo de configuración %1: %2")
                         .arg(m_Ruta, archivo.errorString()));
    if (bytContenido == m_bytArchivo && !m_Documento.isNull())
        return std::nullopt;

    // The new contents replace the document only when they can be read whole.
    QDomDocument xmlAnterior = m_Documento;
    const QString strDeclaracion = m_Declaracion;
    const QByteArray bytCodificacion = m_Codificacion;
    const bool booBom = m_Bom;
    const auto restaurar = [&] {
        m_Documento = xmlAnterior;
        m_Declaracion = strDeclaracion;
        m_Codificacion = bytCodificacion;
        m_Bom = booBom;
    };
    QString strRazon;
    int intLinea = 0;
    int intColumna = 0;
    if (!Analizar(bytContenido, strRazon, intLinea, intColumna)) {
        restaurar();
        throw CError(NumeroError::Generico, strOrigen,
                     QStringLiteral("Otro programa ha cambiado el archivo %1 y ya no se puede "
                                    "leer (línea %2: %3); no se ha guardado nada")
                         .arg(m_Ruta)
                         .arg(intLinea)
                         .arg(strRazon));
    }
    try {
        auto nuevas = LeerConexiones();
        m_bytArchivo = bytContenido;
        m_Error = false;
        return nuevas;
    } catch (...) {
        restaurar();
        throw;
    }
}

void CConfiguracion::CargarConexiones(CConexiones& objConexiones) {
    const QString strOrigen = QStringLiteral("CConfiguracion::CargarConexiones()");
    // Everything is read and checked first, so a fault leaves the collection untouched.
    auto nuevas = LeerConexiones();
    for (const auto& objConexion : nuevas)
        if (const CConexion* objOtra = objConexiones.Buscar(objConexion->Id()))
            throw CError(
                NumeroError::ClaveRepetida, strOrigen,
                QStringLiteral("La conexión %1 (%2) repite el Id de la conexión %3, ya "
                               "cargada")
                    .arg(objConexion->Id(), Situacion(objConexion->Nodo()), objOtra->Id()));
    for (auto& objConexion : nuevas)
        objConexiones.Agregar(std::move(objConexion));
}

std::vector<std::unique_ptr<CConexion>> CConfiguracion::LeerConexiones() const {
    const QString strOrigen = QStringLiteral("CConfiguracion::CargarConexiones()");
    const QDomElement xmlRaiz = ElementoConexiones(strOrigen).parentNode().toElement();

    std::vector<std::unique_ptr<CConexion>> nuevas;
    // Ids already seen, folded, with where they were: one look-up per connection.
    QHash<QString, std::size_t> vistas;
    const QDomNodeList lista = xmlRaiz.elementsByTagName(QStringLiteral("Conexion"));
    const int intCuantas = lista.count();
    nuevas.reserve(static_cast<std::size_t>(intCuantas));
    vistas.reserve(intCuantas);
    for (int i = 0; i < intCuantas; ++i) {
        const QDomElement xmlConexion = lista.at(i).toElement();
        const QString strId = xmlConexion.attribute(QStringLiteral("Id"));
        if (strId.isEmpty())
            throw CError(NumeroError::SinAtributo, strOrigen,
                         QStringLiteral("El elemento Conexion de la %1 no tiene atributo Id")
                             .arg(Situacion(xmlConexion)));
        const QString strConexion =
            QStringLiteral("La conexión %1 (%2)").arg(strId, Situacion(xmlConexion));

        const QDomElement xmlTitulo = xmlConexion.firstChildElement(QStringLiteral("Titulo"));
        const QDomElement xmlCadena =
            xmlConexion.firstChildElement(QStringLiteral("CadenaDeConexion"));
        for (const auto& [xmlHijo, strNombre] :
             {std::pair{xmlTitulo, "Titulo"}, std::pair{xmlCadena, "CadenaDeConexion"}})
            if (xmlHijo.isNull())
                throw CError(NumeroError::SinElemento, strOrigen,
                             QStringLiteral("%1 no tiene el elemento %2")
                                 .arg(strConexion, QLatin1String(strNombre)));

        const QString strClave = strId.toCaseFolded();
        if (const auto itVista = vistas.constFind(strClave); itVista != vistas.cend()) {
            const CConexion& objOtra = *nuevas[itVista.value()];
            throw CError(NumeroError::ClaveRepetida, strOrigen,
                         QStringLiteral("%1 repite el Id de la conexión %2 (%3)")
                             .arg(strConexion, objOtra.Id(), Situacion(objOtra.Nodo())));
        }
        vistas.insert(strClave, nuevas.size());

        QString strCadena;
        try {
            // Hand-edited files may wrap the digits in whitespace.
            strCadena = DesencriptarTexto(xmlCadena.text().trimmed());
        } catch (const CError& e) {
            throw CError(e.Numero(), strOrigen,
                         QStringLiteral("%1: su cadena de conexión no se puede descifrar (%2)")
                             .arg(strConexion, e.Descripcion()));
        }

        auto objConexion = std::make_unique<CConexion>();
        objConexion->setId(strId);
        objConexion->setTitulo(xmlTitulo.text());
        objConexion->setCadenaDeConexion(strCadena);
        objConexion->setNodo(xmlConexion);
        nuevas.push_back(std::move(objConexion));
    }
    return nuevas;
}

void CConfiguracion::AgregarConexion(CConexion& objConexion) {
    const QString strOrigen = QStringLiteral("CConfiguracion::AgregarConexion()");
    QDomElement xmlConexiones = ElementoConexiones(strOrigen);

    const QString strCifrada = ComprobarConexion(strOrigen, objConexion.Id(), objConexion.Titulo(),
                                                 objConexion.CadenaDeConexion());

    QDomElement xmlConexion = m_Documento.createElement(QStringLiteral("Conexion"));
    xmlConexion.setAttribute(QStringLiteral("Id"), objConexion.Id());
    AgregarElementoTexto(xmlConexion, QStringLiteral("Titulo"), objConexion.Titulo());
    AgregarElementoTexto(xmlConexion, QStringLiteral("CadenaDeConexion"), strCifrada);
    xmlConexiones.appendChild(xmlConexion);
    const QDomElement xmlAnterior = objConexion.Nodo();
    objConexion.setNodo(xmlConexion);
    try {
        Guardar();
    } catch (...) {
        xmlConexiones.removeChild(xmlConexion);
        objConexion.setNodo(xmlAnterior);
        throw;
    }
}

QString CConfiguracion::ComprobarConexion(const QString& strOrigen, const QString& strId,
                                          const QString& strTitulo,
                                          const QString& strCadena) const {
    // Refuse what could not be read back: a title XML cannot carry would make the file
    // unreadable, and a string outside the code page would be stored with "?" in it.
    if (!TextoXmlValido(strTitulo) || !TextoXmlValido(strId))
        throw CError(NumeroError::Argumento, strOrigen,
                     QStringLiteral("El título de la conexión %1 contiene caracteres de control "
                                    "que no se pueden guardar en %2")
                         .arg(strId, m_Ruta));
    const QString strCifrada = EncriptarTexto(strCadena);
    if (DesencriptarTexto(strCifrada) != strCadena)
        throw CError(NumeroError::Argumento, strOrigen,
                     QStringLiteral("La cadena de conexión de %1 contiene caracteres que no "
                                    "caben en la página de códigos Windows-1252 y se perderían")
                         .arg(strId));
    return strCifrada;
}

void CConfiguracion::ModificarConexion(CConexion& objConexion, const QString& strTitulo,
                                       const QString& strCadenaDeConexion) {
    const QString strOrigen = QStringLiteral("CConfiguracion::ModificarConexion()");
    QDomElement xmlConexion = objConexion.Nodo();
    if (xmlConexion.isNull())
        return;
    const QString strCifrada =
        ComprobarConexion(strOrigen, objConexion.Id(), strTitulo, strCadenaDeConexion);

    // The two children are rebuilt on a copy, swapped in, and swapped back if the save fails.
    QDomElement xmlNueva = xmlConexion.cloneNode(true).toElement();
    for (const auto& [strNombre, strTexto] :
         {std::pair{QStringLiteral("Titulo"), strTitulo},
          std::pair{QStringLiteral("CadenaDeConexion"), strCifrada}}) {
        QDomElement xmlHijo = xmlNueva.firstChildElement(strNombre);
        if (xmlHijo.isNull()) {
            AgregarElementoTexto(xmlNueva, strNombre, strTexto);
            continue;
        }
        while (!xmlHijo.firstChild().isNull())
            xmlHijo.removeChild(xmlHijo.firstChild());
        xmlHijo.appendChild(m_Documento.createTextNode(strTexto));
    }
    QDomNode xmlPadre = xmlConexion.parentNode();
    xmlPadre.replaceChild(xmlNueva, xmlConexion);
    objConexion.setNodo(xmlNueva);
    try {
        Guardar();
    } catch (...) {
        xmlPadre.replaceChild(xmlConexion, xmlNueva);
        objConexion.setNodo(xmlConexion);
        throw;
    }
}

void CConfiguracion::EliminarConexion(const QDomElement& xmlNodo) {
    if (xmlNodo.isNull())
        return;
    const QString strOrigen = QStringLiteral("CConfiguracion::EliminarConexion()");
    QDomElement xmlConexiones = ElementoConexiones(strOrigen);
    if (xmlNodo.parentNode() != xmlConexiones)
        throw CError(NumeroError::Argumento, strOrigen,
                     QStringLiteral("La conexión %1 (%2) no está directamente dentro de "
                                    "Conexiones y no se puede eliminar")
                         .arg(xmlNodo.attribute(QStringLiteral("Id")), Situacion(xmlNodo)));
    const QDomNode xmlSiguiente = xmlNodo.nextSibling();
    xmlConexiones.removeChild(xmlNodo);
    try {
        Guardar();
    } catch (...) {
        if (xmlSiguiente.isNull())
            xmlConexiones.appendChild(xmlNodo);
        else
            xmlConexiones.insertBefore(xmlNodo, xmlSiguiente);
        throw;
    }
}

void CConfiguracion::AgregarElementoTexto(QDomElement& xmlPadre, const QString& strElemento,
                                          const QString& strContenido) {
    QDomElement xmlElemento = m_Documento.createElement(strElemento);
    xmlElemento.appendChild(m_Documento.createTextNode(strContenido));
    xmlPadre.appendChild(xmlElemento);
}

QDomElement CConfiguracion::ElementoConexiones(const QString& strOrigen) const {
    const QDomElement xmlRaiz = m_Documento.documentElement();
    const QDomElement xmlConexiones = xmlRaiz.firstChildElement(QStringLiteral("Conexiones"));
    if (xmlConexiones.isNull())
        throw CError(NumeroError::SinElemento, strOrigen,
                     xmlRaiz.isNull()
                         ? QStringLiteral("El archivo %1 no está cargado").arg(m_Ruta)
                         : QStringLiteral("El elemento raíz %1 (%2) no contiene el elemento "
                                          "Conexiones")
                               .arg(xmlRaiz.tagName(), Situacion(xmlRaiz)));
    return xmlConexiones;
}

QString CConfiguracion::Situacion(const QDomNode& xmlNodo) const {
    if (xmlNodo.lineNumber() > 0)
        return QStringLiteral("línea %1 de %2").arg(xmlNodo.lineNumber()).arg(m_Ruta);
    return m_Ruta;
}

QByteArray CConfiguracion::Serializar() const {
    // Node by node, without QDom's own declaration (it would rewrite its quotes and complain of
    // encodings it does not know); no indentation, as whitespace-only text was dropped on
    // loading and a Conexion is written with its two children side by side.
    QString strDeclaracion;
    QString strTexto;
    for (QDomNode xmlNodo = m_Documento.firstChild(); !xmlNodo.isNull();
         xmlNodo = xmlNodo.nextSibling()) {
        if (xmlNodo.isProcessingInstruction() &&
            xmlNodo.toProcessingInstruction().target() == u"xml") {
            strDeclaracion =
                m_Declaracion.isEmpty()
                    ? QStringLiteral("<?xml %1?>").arg(xmlNodo.toProcessingInstruction().data())
                    : m_Declaracion;
            continue;
        }
        QString strNodo;
        QTextStream flujo(&strNodo);
        xmlNodo.save(flujo, -1);
        flujo.flush();
        strTexto += strNodo;
        if (!strTexto.endsWith(QLatin1Char('\n')))
            strTexto += QLatin1Char('\n');
    }
    const bool booDeclaracion = !strDeclaracion.isEmpty();
    if (booDeclaracion)
        strDeclaracion += QLatin1Char('\n');

    // Written in the encoding the declaration names, with references for what that encoding
    // cannot hold; where that is impossible, the declaration is changed to UTF-8.
    if (booDeclaracion) {
        // A declaration QDom found but that could not be read as bytes (UTF-16) is unknown.
        const QByteArray strCodigo = m_Declaracion.isEmpty() ? QByteArray("?") : m_Codificacion;
        if (!EsUtf8(strCodigo)) {
            const auto referencia = [](char32_t cp) {
                return QStringLiteral("&#%1;").arg(static_cast<uint>(cp)).toLatin1();
            };
            // Only a code page that writes the declaration as plain ASCII can be kept.
            const QByteArray bytDeclaracion =
                modCodificacion::Codificar(strDeclaracion, strCodigo, referencia);
            if (!bytDeclaracion.isNull() && bytDeclaracion == strDeclaracion.toLatin1())
                return bytDeclaracion + modCodificacion::Codificar(strTexto, strCodigo, referencia);
            strDeclaracion.replace(ExpresionCodificacion(), QStringLiteral("\\1\\2UTF-8\\2"));
        }
    }
    return (m_Bom ? QByteArray("\xEF\xBB\xBF") : QByteArray()) +
           (strDeclaracion + strTexto).toUtf8();
}

void CConfiguracion::Guardar() {
    // A temporary file beside the real one, renamed over it: an interrupted or failed save
    // never leaves a truncated Verondal.xml, and the replaced file's permissions are kept.
    const QByteArray bytContenido = Serializar();
    QString strRazon;
    if (!EscribirArchivo(m_Ruta, bytContenido, strRazon))
        throw CError(NumeroError::Acceso, QStringLiteral("CConfiguracion::Guardar()"),
                     QStringLiteral("No se pudo guardar el archivo de configuración %1: %2")
                         .arg(m_Ruta, strRazon));
    m_bytArchivo = bytContenido;
}
