// SPDX-License-Identifier: GPL-3.0-or-later

#include "library/rowqueue.h"

#include "library/pupilfile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <QUuid>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

Q_DECLARE_LOGGING_CATEGORY(lcResults)

namespace results {

namespace {

// The names in the queue folder, <id> being one program's:
//   programa_<id>.lock            held locked while that program runs
//   encurso_<id>.txt              the provisional row of its text under way
//   fila_<stamp>_<id>_<n>.txt     a final row waiting (stamp: when queued)
// Each entry holds the results folder, the machine's part and the row, one
// a line.
const QString Provisional = QStringLiteral("encurso_");
const QString Final = QStringLiteral("fila_");

QByteArray entryBytes(const QString& folder, const QString& machine, const Row& row)
{
    return folder.toUtf8() + '\n' + machine.toUtf8() + '\n' + encodeRow(row);
}

struct Entry {
    QString folder;
    QString machine;
    Row row;
};

std::optional<Entry> parseEntry(const QByteArray& bytes)
{
    const qsizetype first = bytes.indexOf('\n');
    const qsizetype second = first < 0 ? -1 : bytes.indexOf('\n', first + 1);
    if (second < 0)
        return std::nullopt;
    QString line = QString::fromUtf8(bytes.mid(second + 1));
    while (line.endsWith(u'\n') || line.endsWith(u'\r'))
        line.chop(1);
    const std::optional<Row> row = parseRow(line);
    if (!row)
        return std::nullopt;
    return Entry{QString::fromUtf8(bytes.left(first)), QString::fromUtf8(bytes.mid(first + 1, second - first - 1)),
                 *row};
}

// Writes `bytes` to `path` through a temporary file renamed over it, so a
// reader finds the old entry or the new one, never half of one.
bool replaceFile(const QString& path, const QByteArray& bytes)
{
    const QString temporary = path + QStringLiteral(".tmp");
    QFile file(temporary);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        file.remove();
        return false;
    }
    file.close();
    return ::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData()) == 0;
}

// The owner's id in an entry's name; empty when it is no entry.
QString ownerOf(const QString& name)
{
    if (!name.endsWith(QStringLiteral(".txt")))
        return {};
    if (name.startsWith(Provisional))
        return name.mid(Provisional.size()).chopped(4);
    if (name.startsWith(Final))
        return name.section(u'_', 2, 2);
    return {};
}

}  // namespace

struct RowQueue::Shared {
    QString queue;
    QString folder;   // the window's thread's only
    QString machine;
    QString id;
    int lockFd = -1;

    std::mutex mutex;
    std::condition_variable changed;
    bool requested = false;
    bool busy = false;
    bool stop = false;
    std::function<void()> refused;
    QList<QByteArray> inMemory;  // rows the queue folder could not keep
    std::thread thread;

    ~Shared()
    {
        if (lockFd >= 0)
            ::close(lockFd);
    }

    QString path(const QString& name) const { return QDir(queue).filePath(name); }
    QString lockPath(const QString& owner) const
    {
        return path(QStringLiteral("programa_") + owner + QStringLiteral(".lock"));
    }

    void refuse(const AppendOutcome& out)
    {
        qCWarning(lcResults) << "cannot write a row to" << out.path << "-" << out.reason
                             << "- it stays in the queue" << queue;
        const std::lock_guard lock(mutex);
        if (refused)
            refused();
    }

    // Writes one entry; true when it is in the pupil's file now.
    bool write(const QByteArray& bytes, const QString& name)
    {
        const std::optional<Entry> entry = parseEntry(bytes);
        if (!entry) {
            qCWarning(lcResults) << "a damaged entry of the queue is set aside:" << name;
            if (!name.isEmpty())
                QFile::rename(path(name), path(name) + QStringLiteral(".danada"));
            return true;
        }
        const AppendOutcome out = appendToPupilFile(entry->folder, entry->machine, entry->row);
        if (out.result == Appended::Written || out.result == Appended::AlreadyThere)
            return true;
        refuse(out);
        return false;
    }

    // Whether the program `owner` has ended; while it is held, `lockFd` keeps
    // its lock so that no other program takes its entries at the same time.
    bool ended(const QString& owner, int& heldFd) const
    {
        heldFd = ::open(QFile::encodeName(lockPath(owner)).constData(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
        if (heldFd < 0)
            return errno == ENOENT;
        if (::flock(heldFd, LOCK_EX | LOCK_NB) == 0)
            return true;
        ::close(heldFd);
        heldFd = -1;
        return false;
    }

    void writeQueue()
    {
        QList<QByteArray> memory;
        {
            const std::lock_guard lock(mutex);
            memory = inMemory;
        }
        for (qsizetype i = 0; i < memory.size(); ++i) {
            if (!write(memory.at(i), QString()))
                return;
            const std::lock_guard lock(mutex);
            inMemory.removeOne(memory.at(i));
        }
        const QStringList names =
            QDir(queue).entryList({Final + u'*', Provisional + u'*'}, QDir::Files | QDir::NoSymLinks, QDir::Name);
        QMap<QString, int> endedOwners;  // owner -> its lock, held
        bool stopped = false;
        for (const QString& name : names) {
            const QString owner = ownerOf(name);
            if (owner.isEmpty() || (owner == id && name.startsWith(Provisional)))
                continue;
            if (owner != id && !endedOwners.contains(owner)) {
                int held = -1;
                if (!ended(owner, held))
                    continue;
                endedOwners.insert(owner, held);
            }
            QFile file(path(name));
            if (!file.open(QIODevice::ReadOnly))
                continue;  // taken by another program meanwhile
            const QByteArray bytes = file.read(64 * 1024);
            file.close();
            if (!write(bytes, name)) {
                stopped = true;
                break;
            }
            QFile::remove(path(name));
        }
        for (auto it = endedOwners.cbegin(); it != endedOwners.cend(); ++it) {
            const bool left = !QDir(queue)
                                   .entryList({Final + QStringLiteral("*_") + it.key() + QStringLiteral("_*"),
                                               Provisional + it.key() + QStringLiteral(".txt")},
                                              QDir::Files)
                                   .isEmpty();
            if (!left && !stopped)
                QFile::remove(lockPath(it.key()));
            if (it.value() >= 0)
                ::close(it.value());
        }
    }

    void run()
    {
        while (true) {
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [this] { return requested || stop; });
                if (!requested)
                    return;
                requested = false;
                busy = true;
            }
            writeQueue();
            {
                const std::lock_guard lock(mutex);
                busy = false;
            }
            changed.notify_all();
        }
    }
};

RowQueue::RowQueue(const QString& queueFolder, const QString& resultsFolder, const QString& machine)
    : shared_(std::make_shared<Shared>())
{
    Shared& s = *shared_;
    s.queue = queueFolder;
    s.folder = resultsFolder;
    s.machine = machine;
    s.id = QUuid::createUuid().toString(QUuid::Id128).left(16);
    if (!QDir().mkpath(queueFolder))
        qCWarning(lcResults) << "the queue folder cannot be made:" << queueFolder;
    s.lockFd = ::open(QFile::encodeName(s.lockPath(s.id)).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (s.lockFd >= 0)
        ::flock(s.lockFd, LOCK_EX | LOCK_NB);
    s.thread = std::thread([shared = shared_] { shared->run(); });
    retry();
}

RowQueue::~RowQueue()
{
    Shared& s = *shared_;
    bool idle = false;
    {
        const std::lock_guard lock(s.mutex);
        s.stop = true;
        s.refused = nullptr;
        idle = !s.busy && !s.requested;
    }
    s.changed.notify_all();
    if (idle) {
        s.thread.join();
    } else {
        s.thread.detach();
    }
}

void RowQueue::setFolder(const QString& resultsFolder)
{
    // Read by this thread only: the writing thread takes the folder from
    // each entry.
    shared_->folder = resultsFolder;
}

QString RowQueue::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/miravellon/pendientes");
}

void RowQueue::keepProvisional(const Row& row)
{
    Row unstamped = row;
    unstamped.time = QTime(0, 0);
    unstamped.seconds = 0;
    const QByteArray kept = encodeRow(unstamped);
    if (kept == provisionalKept_)
        return;
    const Shared& s = *shared_;
    if (replaceFile(s.path(Provisional + s.id + QStringLiteral(".txt")), entryBytes(s.folder, s.machine, row)))
        provisionalKept_ = kept;
    else
        qCWarning(lcResults) << "the text under way cannot be kept in" << s.queue;
}

void RowQueue::dropProvisional()
{
    QFile::remove(shared_->path(Provisional + shared_->id + QStringLiteral(".txt")));
    provisionalKept_.clear();
}

void RowQueue::add(const Row& row)
{
    Shared& s = *shared_;
    const QByteArray bytes = entryBytes(s.folder, s.machine, row);
    // The final row takes the provisional one's place, then its name: there
    // is always one of the two, never both.
    const QString provisional = s.path(Provisional + s.id + QStringLiteral(".txt"));
    const QString final = s.path(Final + QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddHHmmsszzz"))
                                 + u'_' + s.id + u'_' + QString::number(++sequence_) + QStringLiteral(".txt"));
    const bool kept = replaceFile(provisional, bytes)
        && ::rename(QFile::encodeName(provisional).constData(), QFile::encodeName(final).constData()) == 0;
    provisionalKept_.clear();
    if (!kept) {
        qCWarning(lcResults) << "the queue cannot keep a row in" << s.queue << "- it waits in memory";
        QFile::remove(provisional);
        const std::lock_guard lock(s.mutex);
        s.inMemory.append(bytes);
    }
    retry();
}

void RowQueue::retry()
{
    {
        const std::lock_guard lock(shared_->mutex);
        shared_->requested = true;
    }
    shared_->changed.notify_all();
}

bool RowQueue::waitIdle(int timeoutMs)
{
    std::unique_lock lock(shared_->mutex);
    return shared_->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                     [this] { return !shared_->requested && !shared_->busy; });
}

int RowQueue::waiting() const
{
    int memory = 0;
    {
        const std::lock_guard lock(shared_->mutex);
        memory = int(shared_->inMemory.size());
    }
    return memory + int(QDir(shared_->queue).entryList({Final + u'*'}, QDir::Files).size());
}

void RowQueue::onRefused(std::function<void()> callback)
{
    const std::lock_guard lock(shared_->mutex);
    shared_->refused = std::move(callback);
}

}  // namespace results
