#include "comun/modEscritura.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// Written by hand rather than through QSaveFile: its buffered writes of a small file happen only
// inside commit(), where a full disk goes unnoticed and a short file replaces the original, and
// its reasons are English.
class CTemporal {
public:
    explicit CTemporal(QByteArray strPlantilla) : m_Ruta(std::move(strPlantilla)) {
        m_Fd = mkstemp(m_Ruta.data());
    }
    ~CTemporal() {
        if (m_Fd >= 0)
            ::close(m_Fd);
        if (!m_booConservar)
            ::unlink(m_Ruta.constData());
    }
    CTemporal(const CTemporal&) = delete;
    CTemporal& operator=(const CTemporal&) = delete;

    int Fd() const { return m_Fd; }
    const char* Ruta() const { return m_Ruta.constData(); }
    // Closes the descriptor; a delayed write error (NFS, quotas) shows up here.
    bool Cerrar() {
        const int fd = m_Fd;
        m_Fd = -1;
        return ::close(fd) == 0;
    }
    void Conservar() { m_booConservar = true; }

private:
    QByteArray m_Ruta;
    int m_Fd = -1;
    bool m_booConservar = false;
};

bool EscribirTodo(int fd, const QByteArray& bytDatos) {
    const char* p = bytDatos.constData();
    qsizetype lngQuedan = bytDatos.size();
    while (lngQuedan > 0) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(lngQuedan));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        lngQuedan -= n;
    }
    return true;
}

mode_t MascaraActual() {
    const mode_t m = ::umask(0);
    ::umask(m);
    return m;
}

} // namespace

QString RazonDelSistema(int intErrno) {
    switch (intErrno) {
    case ENOSPC:
        return QStringLiteral("No queda espacio libre en el disco");
    case EDQUOT:
        return QStringLiteral("Se ha superado la cuota de disco");
    case EACCES:
        return QStringLiteral("Permiso denegado");
    case EPERM:
        return QStringLiteral("Operación no permitida");
    case EROFS:
        return QStringLiteral("El sistema de archivos es de solo lectura");
    case ENOENT:
        return QStringLiteral("La carpeta no existe");
    case ENOTDIR:
        return QStringLiteral("Una parte de la ruta no es una carpeta");
    case EISDIR:
        return QStringLiteral("La ruta es una carpeta");
    case ENAMETOOLONG:
        return QStringLiteral("El nombre del archivo es demasiado largo");
    case EFBIG:
        return QStringLiteral("El archivo es demasiado grande");
    case EIO:
        return QStringLiteral("Error de entrada/salida del dispositivo");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Hay demasiados archivos abiertos");
    case ETXTBSY:
    case EBUSY:
        return QStringLiteral("El archivo está en uso");
    case ELOOP:
        return QStringLiteral("Demasiados enlaces simbólicos en la ruta");
    case EXDEV:
        return QStringLiteral("El archivo temporal y el destino están en discos distintos");
    default:
        return QStringLiteral("Error del sistema %1 (%2)")
            .arg(intErrno)
            .arg(QString::fromLocal8Bit(std::strerror(intErrno)));
    }
}

bool EscribirArchivo(const QString& strRuta, const QByteArray& bytDatos, QString& strError) {
    // A link is followed: the file it names is replaced, the link stays.
    QString strDestino = strRuta;
    const QFileInfo info(strRuta);
    if (info.isSymLink() && info.exists())
        strDestino = info.canonicalFilePath();
    const QByteArray bytDestino = QFile::encodeName(strDestino);

    struct stat st = {};
    const bool booExiste = ::stat(bytDestino.constData(), &st) == 0;
    if (booExiste) {
        if (S_ISDIR(st.st_mode)) {
            strError = RazonDelSistema(EISDIR);
            return false;
        }
        // Root's access() always says yes; a file made read-only on purpose stays so for root.
        const bool booPermitido =
            geteuid() == 0 ? (st.st_mode & 0222) != 0 : ::access(bytDestino.constData(), W_OK) == 0;
        if (!booPermitido) {
            strError = QStringLiteral("El archivo es de solo lectura");
            return false;
        }
    } else if (errno != ENOENT) {
        strError = RazonDelSistema(errno);
        return false;
    }

    CTemporal temporal(bytDestino + ".XXXXXX");
    if (temporal.Fd() < 0) {
        strError = RazonDelSistema(errno);
        return false;
    }
    // The new file gets the old one's mode, or what a plain new file would get.
    const mode_t intModo = booExiste ? (st.st_mode & 07777) : (0666 & ~MascaraActual());
    if (booExiste && geteuid() == 0)
        (void)::fchown(temporal.Fd(), st.st_uid, st.st_gid);
    // fsync before the rename: the data reach the disk (and a late ENOSPC or EDQUOT is heard)
    // before the old contents are given up.
    if (::fchmod(temporal.Fd(), intModo) != 0 || !EscribirTodo(temporal.Fd(), bytDatos) ||
        ::fsync(temporal.Fd()) != 0 || !temporal.Cerrar()) {
        strError = RazonDelSistema(errno);
        return false;
    }
    if (::rename(temporal.Ruta(), bytDestino.constData()) != 0) {
        strError = RazonDelSistema(errno);
        return false;
    }
    temporal.Conservar();
    return true;
}

QString MensajeArchivoNoGuardado(const QString& strRuta, const QString& strRazon) {
    return QStringLiteral("No se puede guardar el archivo ") + strRuta + QStringLiteral(":\r\n") +
           strRazon;
}
