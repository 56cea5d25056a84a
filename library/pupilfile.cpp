#include "library/pupilfile.h"

#include "library/settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QStandardPaths>

#include <cstring>

#include <cerrno>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcResults, "miravellon.results")

namespace results {

namespace {

constexpr char Bom[] = "\xEF\xBB\xBF";

bool writeAll(int fd, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += n;
    }
    return true;
}

}  // namespace

QString safeName(const QString& name, const QString& fallback)
{
    QString safe;
    bool gap = false;
    for (QChar c : name) {
        if (c.isLetterOrNumber() && !c.isSurrogate()) {
            if (gap && !safe.isEmpty())
                safe += u'-';
            gap = false;
            safe += c;
        } else {
            gap = true;
        }
        if (safe.size() >= 60)
            break;
    }
    return safe.isEmpty() ? fallback : safe;
}

QString cleanName(const QString& name)
{
    QString clean;
    for (QChar c : name)
        clean += c.category() == QChar::Other_Control ? u' ' : c;
    clean = clean.simplified();
    while (!clean.isEmpty() && QStringView(u"=+-@").contains(clean.front()))
        clean = clean.mid(1).trimmed();
    return clean.left(100);
}

QString accountName()
{
    if (const passwd* pw = ::getpwuid(::getuid())) {
        const QString gecos = QString::fromLocal8Bit(pw->pw_gecos ? pw->pw_gecos : "").section(u',', 0, 0);
        const QString full = cleanName(gecos);
        if (!full.isEmpty())
            return full;
        const QString login = cleanName(QString::fromLocal8Bit(pw->pw_name ? pw->pw_name : ""));
        if (!login.isEmpty())
            return login;
    }
    return cleanName(qEnvironmentVariable("USER"));
}

QString fileName(const QDate& date, const QString& pupil, const QString& machine)
{
    return date.toString(Qt::ISODate) + u'_' + safeName(pupil, QStringLiteral("alumno")) + u'_'
        + safeName(machine, QStringLiteral("equipo")) + QStringLiteral(".csv");
}

QString defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/miravellon/resultados");
}

QString resolveFolder(const QString& configured, const QStringList& contentFolders)
{
    const QString wanted = configured.trimmed();
    if (wanted.isEmpty())
        return defaultFolder();
    if (!QDir::isAbsolutePath(wanted)) {
        qCWarning(lcResults) << "resultados/carpeta is not an absolute path:" << wanted;
        return defaultFolder();
    }
    const QString folder = QDir::cleanPath(wanted);
    auto inside = [](const QString& path, const QString& base) {
        return !path.isEmpty() && !base.isEmpty()
            && (path == base || path.startsWith(base.endsWith(u'/') ? base : base + u'/'));
    };
    const QString real = QFileInfo(folder).canonicalFilePath();
    for (const QString& contentFolder : contentFolders) {
        if (contentFolder.isEmpty())
            continue;
        const QString content = QDir::cleanPath(QFileInfo(contentFolder).absoluteFilePath());
        if (inside(folder, content) || inside(real, QFileInfo(content).canonicalFilePath())) {
            qCWarning(lcResults) << "resultados/carpeta lies inside the content:" << folder;
            return defaultFolder();
        }
    }
    return folder;
}

QString configuredFolder()
{
    return settings::value(settings::ResultsFolder).toString();
}

bool askForName()
{
    return settings::value(settings::AskName).toBool();
}

bool appendRow(const QString& path, const Row& row)
{
    if (!QDir().mkpath(QFileInfo(path).path()))
        return false;
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    bool ok = false;
    // Other instances writing to the same file wait here, so that the header
    // is written once and rows never interleave. A network folder that has
    // no locks is written all the same: the files of different machines are
    // different files, so only two instances on one machine could meet there.
    const bool locked = ::flock(fd, LOCK_EX) == 0;
    if (!locked)
        qCInfo(lcResults) << "no lock on" << path << ::strerror(errno);
    {
        struct stat st {};
        if (::fstat(fd, &st) == 0) {
            QByteArray bytes;
            if (st.st_size == 0) {
                bytes = QByteArray(Bom) + Header + "\r\n";
            } else {
                char last = 0;
                if (::pread(fd, &last, 1, st.st_size - 1) == 1 && last != '\n')
                    bytes = "\r\n";
            }
            bytes += encodeRow(row);
            ok = writeAll(fd, bytes);
        }
        if (locked)
            ::flock(fd, LOCK_UN);
    }
    if (::close(fd) != 0)
        ok = false;
    if (!ok)
        qCWarning(lcResults) << "cannot append to" << path << ::strerror(errno);
    return ok;
}

bool syncToDisk(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    if (!ok)
        qCWarning(lcResults) << "cannot flush" << path << ::strerror(errno);
    return ok;
}

}  // namespace results
