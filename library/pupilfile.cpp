// SPDX-License-Identifier: GPL-3.0-or-later

#include "library/pupilfile.h"

#include "library/settings.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <QSysInfo>

#include <algorithm>
#include <cstring>
#include <future>
#include <memory>
#include <thread>

#include <cerrno>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/vfs.h>
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
    for (QChar c : name.normalized(QString::NormalizationForm_C)) {
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

QString machinePart(const QString& hostName, const QByteArray& machineId)
{
    const QString host = safeName(hostName, QStringLiteral("equipo"));
    const QByteArray id = machineId.trimmed();
    if (id.isEmpty())
        return host;
    const QByteArray hash = QCryptographicHash::hash(id, QCryptographicHash::Sha256).toHex().left(8);
    return host + u'-' + QString::fromLatin1(hash);
}

QString thisMachine()
{
    QByteArray id;
    for (const char* path : {"/etc/machine-id", "/var/lib/dbus/machine-id"}) {
        QFile file(QString::fromLatin1(path));
        if (file.open(QIODevice::ReadOnly))
            id = file.read(256).trimmed();
        if (!id.isEmpty())
            break;
    }
    return machinePart(QSysInfo::machineHostName(), id);
}

QString fileName(const QDate& date, const QString& pupil, const QString& machine, int sibling)
{
    QString name = date.toString(QStringLiteral("yyyy-MM")) + u'_' + safeName(pupil, QStringLiteral("alumno")) + u'_'
        + safeName(machine, QStringLiteral("equipo"));
    if (sibling > 1)
        name += u'_' + QString::number(sibling);
    return name + QStringLiteral(".csv");
}

QString defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/miravellon/resultados");
}

namespace {

// How long the start-up waits for a results folder's real path.
constexpr int RealPathWaitMs = 500;

// The real path of `path` (links followed), found on a thread of its own: on
// a network folder that stopped answering, following links hangs, and the
// window does not wait for it more than a moment. Empty when it did not
// answer in time (the folder is then judged by its name alone).
QString realPathWithin(const QString& path, int waitMs)
{
    auto answer = std::make_shared<std::promise<QString>>();
    std::future<QString> real = answer->get_future();
    std::thread([answer, path] { answer->set_value(QFileInfo(path).canonicalFilePath()); }).detach();
    if (real.wait_for(std::chrono::milliseconds(waitMs)) == std::future_status::ready)
        return real.get();
    qCWarning(lcResults) << "no answer from" << path << "within" << waitMs << "ms";
    return {};
}

}  // namespace

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
    const QString real = realPathWithin(folder, RealPathWaitMs);
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

namespace {

// Filesystems whose files all show the mount's owner.
constexpr unsigned long CifsMagic = 0xFF534D42UL;
constexpr unsigned long Smb2Magic = 0xFE534D42UL;
constexpr unsigned long SmbMagic = 0x517BUL;
constexpr unsigned long NfsMagic = 0x6969UL;

// Whether the owner a file shows is the account that made it.
bool ownersAreReal(int fd, const struct stat& file, const QString& folder)
{
    struct statfs fs {};
    if (::fstatfs(fd, &fs) != 0)
        return true;
    const auto type = static_cast<unsigned long>(fs.f_type) & 0xFFFFFFFFUL;
    if (type == CifsMagic || type == Smb2Magic || type == SmbMagic)
        return false;
    if (type == NfsMagic) {
        // A squashed export shows every file as the folder's owner.
        struct stat dir {};
        return !(::stat(QFile::encodeName(folder).constData(), &dir) == 0 && dir.st_uid == file.st_uid);
    }
    return true;
}

// Waits at most about 100 ms for the lock. True when the file is locked, or
// the filesystem has no locks (then the file is written all the same: it is
// one machine's, so only two instances on one machine could meet there).
bool lockWithin(int fd, const QString& path, bool& busy)
{
    busy = false;
    for (int tries = 0;; ++tries) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return true;
        if (errno != EWOULDBLOCK && errno != EINTR) {
            qCInfo(lcResults) << "no lock on" << path << ::strerror(errno);
            return false;
        }
        if (tries >= 10) {
            busy = true;
            return false;
        }
        ::usleep(10'000);
    }
}

QByteArray readWhole(int fd, qint64 size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, bytes.data() + done, size_t(size - done), done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += n;
    }
    bytes.truncate(done);
    return bytes;
}

}  // namespace

AppendOutcome appendToFile(const QString& path, const Row& row)
{
    AppendOutcome out;
    out.path = path;
    auto fail = [&out](Appended result, const QString& reason) {
        out.result = result;
        out.reason = reason;
        return out;
    };
    const QByteArray name = QFile::encodeName(path);
    // O_NONBLOCK: a planted pipe opens at once (and is refused below)
    // instead of waiting for a reader.
    const int fd = ::open(name.constData(), O_RDWR | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0) {
        const int error = errno;
        // A link, a folder or a file this account may not write: the name
        // is taken. Anything else is the folder's or the disk's fault.
        const bool taken = error == ELOOP || error == EISDIR || error == EACCES || error == EPERM || error == ENXIO;
        return fail(taken ? Appended::Unusable : Appended::Failed,
                    QString::fromLocal8Bit(::strerror(error)));
    }
    struct FdCloser {
        int fd;
        ~FdCloser() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return fail(Appended::Failed, QString::fromLocal8Bit(::strerror(errno)));
    if (!S_ISREG(st.st_mode))
        return fail(Appended::Unusable, QStringLiteral("not a regular file"));
    if (st.st_uid != ::geteuid() && ownersAreReal(fd, st, QFileInfo(path).path()))
        return fail(Appended::Unusable, QStringLiteral("owned by uid %1").arg(st.st_uid));
    // A pupil's file of a month stays far below this.
    constexpr qint64 Largest = 16 * 1024 * 1024;
    if (st.st_size > Largest)
        return fail(Appended::Unusable, QStringLiteral("larger than %1 bytes").arg(Largest));
    ::fcntl(fd, F_SETFL, O_RDWR | O_APPEND);

    bool busy = false;
    const bool locked = lockWithin(fd, path, busy);
    if (busy)
        return fail(Appended::Busy, QStringLiteral("the lock is held by another program"));
    struct Unlocker {
        int fd;
        bool locked;
        ~Unlocker()
        {
            if (locked)
                ::flock(fd, LOCK_UN);
        }
    } unlocker{fd, locked};

    // Size and contents again, now that nobody else writes.
    if (::fstat(fd, &st) != 0)
        return fail(Appended::Failed, QString::fromLocal8Bit(::strerror(errno)));
    const QByteArray old = readWhole(fd, std::min<qint64>(st.st_size, Largest));
    if (old.contains("\n" + rowKey(row))) {
        out.result = Appended::AlreadyThere;
        return out;
    }
    QByteArray bytes;
    if (st.st_size == 0)
        bytes = QByteArray(Bom) + Header + "\r\n";
    else if (!old.endsWith('\n'))
        bytes = "\r\n";
    bytes += encodeRow(row);
    if (!writeAll(fd, bytes)) {
        const QString reason = QString::fromLocal8Bit(::strerror(errno));
        // Part of the row may be there: take it back, so no cut line stays.
        if (::ftruncate(fd, st.st_size) != 0)
            qCWarning(lcResults) << "cannot take back a cut row in" << path << ::strerror(errno);
        return fail(Appended::Failed, reason);
    }
    // The disk itself is waited for without holding the others up.
    if (locked)
        ::flock(fd, LOCK_UN);
    unlocker.locked = false;
    if (::fsync(fd) != 0)
        return fail(Appended::Failed, QString::fromLocal8Bit(::strerror(errno)));
    out.result = Appended::Written;
    return out;
}

AppendOutcome appendToPupilFile(const QString& folder, const QString& machine, const Row& row)
{
    AppendOutcome out;
    if (!QDir().mkpath(folder)) {
        out.path = folder;
        out.reason = QStringLiteral("the folder cannot be made");
        return out;
    }
    // A name taken by something else gets the next sibling; a few are
    // enough for what one class can plant.
    constexpr int Siblings = 20;
    for (int sibling = 1; sibling <= Siblings; ++sibling) {
        out = appendToFile(QDir(folder).filePath(fileName(row.date, row.pupil, machine, sibling)), row);
        if (out.result != Appended::Unusable)
            return out;
        qCWarning(lcResults) << "not using" << out.path << out.reason;
    }
    return out;
}

bool appendRow(const QString& path, const Row& row)
{
    QDir().mkpath(QFileInfo(path).path());
    const AppendOutcome out = appendToFile(path, row);
    if (out.result != Appended::Written && out.result != Appended::AlreadyThere) {
        qCWarning(lcResults) << "cannot append to" << path << out.reason;
        return false;
    }
    return true;
}

}  // namespace results
