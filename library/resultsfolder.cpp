// SPDX-License-Identifier: GPL-3.0-or-later

#include "library/resultsfolder.h"

#include "library/rowreader.h"

#include <QFile>
#include <QHash>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>
#include <cerrno>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace results {

namespace {

constexpr char Bom[] = "\xEF\xBB\xBF";

bool isControl(QChar c)
{
    return c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

bool holdsControl(const QString& text)
{
    return std::any_of(text.cbegin(), text.cend(), isControl);
}

// Every control character a space.
void spaceControls(QString& text)
{
    if (!holdsControl(text))
        return;
    for (QChar& c : text) {
        if (isControl(c))
            c = u' ';
    }
}

void readLines(const QString& name, QByteArrayView bytes, Folder& into, RowReader& reader)
{
    if (bytes.startsWith(QByteArrayView(Bom)))
        bytes = bytes.sliced(3);
    int skipped = 0;
    bool first = true;
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    while (start < n) {
        const char* found = static_cast<const char*>(std::memchr(bytes.data() + start, '\n', size_t(n - start)));
        const qsizetype end = found ? found - bytes.data() : n;
        QByteArrayView line = bytes.sliced(start, end - start);
        start = end + 1;
        if (!found) {
            // Text after the last line end: a line cut when the machine went off.
            if (!line.trimmed().isEmpty())
                ++skipped;
            break;
        }
        // CR LF, and CR CR LF of a file whose line ends were converted twice.
        while (line.endsWith('\r'))
            line.chop(1);
        const bool header = first && line.startsWith("fecha;hora;alumno;");
        first = false;
        if (header || line.trimmed().isEmpty())
            continue;
        if (line.size() > MaxLineBytes) {
            ++skipped;
            ++into.longLines;
            continue;
        }
        std::optional<Row> row = reader.read(line);
        if (!row) {
            ++skipped;
            continue;
        }
        Normalised changed;
        if (row->holdsListLongerThan(MaxFailuresKept))
            changed = normalise(*row);
        into.cutRows += changed.cut ? 1 : 0;
        into.notFinishedInTime += changed.notInTime ? 1 : 0;
        into.rows.append(std::move(*row));
    }
    if (skipped > 0) {
        into.skippedLines += skipped;
        into.damagedFiles.append(name);
    }
}

enum class Opened { Ok, NotAFile, Unreadable, TooLarge };

// Reads one entry of the folder into `buffer`: only an ordinary file (a link
// is not followed; a pipe or a device is not waited on), at most MaxFileBytes.
Opened readEntry(int dirFd, const char* name, QByteArray& buffer)
{
    const int fd = ::openat(dirFd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return errno == ELOOP || errno == ENXIO || errno == EISDIR ? Opened::NotAFile : Opened::Unreadable;
    struct stat info {};
    Opened result = Opened::Ok;
    if (::fstat(fd, &info) != 0) {
        result = Opened::Unreadable;
    } else if (!S_ISREG(info.st_mode)) {
        result = Opened::NotAFile;
    } else if (info.st_size > MaxFileBytes) {
        result = Opened::TooLarge;
    } else {
        // One more byte than the size, to see a file grown since.
        buffer.resize(qsizetype(info.st_size) + 1);
        qsizetype got = 0;
        while (got < buffer.size()) {
            const ssize_t r = ::read(fd, buffer.data() + got, size_t(buffer.size() - got));
            if (r < 0 && errno == EINTR)
                continue;
            if (r < 0) {
                result = Opened::Unreadable;
                break;
            }
            if (r == 0)
                break;
            got += r;
            if (got == buffer.size() && got <= MaxFileBytes)
                buffer.resize(std::min<qsizetype>(got * 2, MaxFileBytes + 1));
        }
        if (result == Opened::Ok && got > MaxFileBytes)
            result = Opened::TooLarge;
        buffer.resize(result == Opened::Ok ? got : 0);
    }
    ::close(fd);
    return result;
}

QString joined(const QStringList& names)
{
    return names.join(QStringLiteral(", "));
}

}  // namespace

Normalised normalise(Row& row)
{
    Normalised changed;
    // parseRow() gives a row in its normal form already; a row built some
    // other way is brought to it here (cheap when there is nothing to do).
    spaceControls(row.pupil);
    spaceControls(row.exercise);
    // Word lists hold normal words (see WordList): no control character is
    // left in one, but a word may be left empty.
    QStringList lists[] = {row.failures(), row.written(), row.families(), row.rightFirstTime()};
    bool changedLists = false;
    for (QStringList& list : lists) {
        changedLists = list.removeAll(QString()) > 0 || changedLists;
        if (list.size() > MaxFailuresKept) {
            list.resize(MaxFailuresKept);
            changed.cut = true;
            changedLists = true;
        }
    }
    if (changedLists)
        row.setWords(lists[0], lists[1], lists[2], lists[3]);
    if (row.inTime && !row.finished) {
        row.inTime = false;
        changed.notInTime = true;
    }
    return changed;
}

void readFile(const QString& name, QByteArrayView bytes, Folder& into)
{
    RowReader reader;
    readLines(name, bytes, into, reader);
}

Folder readFolder(const QString& folder)
{
    Folder result;
    const QByteArray path = QFile::encodeName(folder);
    const int dirFd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0)
        return result;
    DIR* dir = ::fdopendir(dirFd);
    if (!dir) {
        ::close(dirFd);
        return result;
    }
    QList<QByteArray> names;
    while (const dirent* entry = ::readdir(dir)) {
        const qsizetype length = qsizetype(std::strlen(entry->d_name));
        if (length > 4 && std::memcmp(entry->d_name + length - 4, ".csv", 4) == 0)
            names.append(QByteArray(entry->d_name, length));
    }
    std::sort(names.begin(), names.end());
    // The files are independent: a few threads read them, a batch at a time
    // (so that no more than a batch of rows waits besides the folder's), and
    // the batch's files are taken into the result in name order.
    constexpr qsizetype Batch = 256;
    const int threads = std::clamp(int(std::thread::hardware_concurrency()), 1, 4);
    std::vector<RowReader> readers(static_cast<size_t>(threads));
    std::vector<QByteArray> buffers(static_cast<size_t>(threads));
    for (qsizetype first = 0; first < names.size(); first += Batch) {
        const qsizetype count = std::min(Batch, names.size() - first);
        QList<Folder> parts(count);
        QList<Opened> opened(count, Opened::Ok);
        std::atomic<qsizetype> next{0};
        const auto work = [&](int t) {
            for (qsizetype i = next++; i < count; i = next++) {
                const QByteArray& name = names.at(first + i);
                opened[i] = readEntry(::dirfd(dir), name.constData(), buffers[size_t(t)]);
                if (opened[i] == Opened::Ok)
                    readLines(QFile::decodeName(name), buffers[size_t(t)], parts[i], readers[size_t(t)]);
            }
        };
        std::vector<std::thread> helpers;
        for (int t = 1; t < threads && t < count; ++t)
            helpers.emplace_back(work, t);
        work(0);
        for (std::thread& helper : helpers)
            helper.join();
        for (qsizetype i = 0; i < count; ++i) {
            Folder& part = parts[i];
            const QString shown = QFile::decodeName(names.at(first + i));
            switch (opened.at(i)) {
            case Opened::Ok:
                result.rows.append(std::move(part.rows));
                result.skippedLines += part.skippedLines;
                result.damagedFiles += part.damagedFiles;
                result.longLines += part.longLines;
                result.cutRows += part.cutRows;
                result.notFinishedInTime += part.notFinishedInTime;
                break;
            case Opened::NotAFile:
                result.notFiles.append(shown);
                break;
            case Opened::Unreadable:
                result.unreadableFiles.append(shown);
                break;
            case Opened::TooLarge:
                result.tooLargeFiles.append(shown);
                break;
            }
            part = Folder();
        }
    }
    ::closedir(dir);
    return result;
}

QString skippedNote(const Folder& folder)
{
    QStringList parts;
    if (folder.skippedLines == 1)
        parts.append(QStringLiteral("Se ha saltado 1 línea que no se puede leer (%1).").arg(joined(folder.damagedFiles)));
    else if (folder.skippedLines > 1)
        parts.append(QStringLiteral("Se han saltado %1 líneas que no se pueden leer (%2).")
                         .arg(folder.skippedLines)
                         .arg(joined(folder.damagedFiles)));
    if (folder.longLines > 0)
        parts.append(QStringLiteral("De ellas, %1 eran demasiado largas para ser filas.").arg(folder.longLines));
    if (!folder.unreadableFiles.isEmpty())
        parts.append(QStringLiteral("No tengo permiso para leer %1 archivo(s): %2.")
                         .arg(folder.unreadableFiles.size())
                         .arg(joined(folder.unreadableFiles)));
    if (!folder.notFiles.isEmpty())
        parts.append(QStringLiteral("No leo %1 nombre(s) que no son archivos normales (enlaces, carpetas, "
                                    "dispositivos): %2.")
                         .arg(folder.notFiles.size())
                         .arg(joined(folder.notFiles)));
    if (!folder.tooLargeFiles.isEmpty())
        parts.append(QStringLiteral("No leo %1 archivo(s) de más de %2 MB: %3.")
                         .arg(folder.tooLargeFiles.size())
                         .arg(MaxFileBytes / (1024 * 1024))
                         .arg(joined(folder.tooLargeFiles)));
    if (folder.cutRows > 0)
        parts.append(QStringLiteral("En %1 fila(s) solo se muestran las primeras %2 palabras con fallo.")
                         .arg(folder.cutRows)
                         .arg(MaxFailuresKept));
    if (folder.notFinishedInTime > 0)
        parts.append(QStringLiteral("%1 fila(s) decían «en el plazo» de un texto sin terminar: se cuentan "
                                    "fuera de plazo.")
                         .arg(folder.notFinishedInTime));
    return parts.join(u' ');
}

}  // namespace results
