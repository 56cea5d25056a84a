// SPDX-License-Identifier: GPL-3.0-or-later

#include "library/itemwriter.h"

#include "library/catalogue.h"
#include "library/contentrules.h"
#include "library/textfile.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryFile>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <thread>
#include <tuple>

namespace itemwriter {

namespace {

// Where a mark starts and what it says, in one line.
struct Mark {
    qsizetype offset;  // in the correct line
    QString correct;
    QString faulty;
};

QString markError(int line, const QString& text)
{
    return QStringLiteral("línea %1: %2").arg(line).arg(text);
}

// Windows-1252 byte of every character it can hold.
const QHash<char16_t, char>& windows1252()
{
    static const QHash<char16_t, char> table = [] {
        QHash<char16_t, char> t;
        QByteArray all(256, '\0');
        for (int b = 0; b < 256; ++b)
            all[b] = char(b);
        const QString decoded = textfile::decodeWindows1252(all);
        for (int b = 0; b < 256 && b < decoded.size(); ++b)
            t.insert(decoded[b].unicode(), char(b));
        return t;
    }();
    return table;
}

QString refusal(const textfile::ReadResult& result, const QString& version)
{
    using textfile::ReadStatus;
    if (result.status == ReadStatus::Ok || result.status == ReadStatus::Missing
        || result.status == ReadStatus::Unreadable)
        return {};
    const QString text = QStringLiteral("la %1: %2").arg(version, textfile::refusalText(result));
    return result.finding.line > 0 ? markError(result.finding.line, text) : text;
}

constexpr QChar ByteOrderMark(0xFEFF);

QString folderError(const QString& path)
{
    return QStringLiteral("no se puede escribir en la carpeta «%1»").arg(QDir::toNativeSeparators(path));
}

// Makes `path` and the folders above it that are missing, remembering each
// one made (outermost first) so that a failure can take them away again.
bool makeFolder(const QString& path, QStringList& made)
{
    const QFileInfo info(path);
    if (info.isDir())
        return true;
    if (info.exists() || info.isSymLink())
        return false;
    const QString parent = info.absolutePath();
    if (parent != info.absoluteFilePath() && !makeFolder(parent, made))
        return false;
    // Another writer may make it at the same moment.
    if (!QDir().mkdir(path))
        return QFileInfo(path).isDir() && !QFileInfo(path).isSymLink();
    made.append(path);
    return true;
}

void removeFolders(const QStringList& made)
{
    for (qsizetype i = made.size() - 1; i >= 0; --i)
        QDir().rmdir(made[i]);
}

const QRegularExpression& itemName()
{
    static const QRegularExpression name(QStringLiteral("^[1-9][0-9]{0,8}\\.txt$"),
                                         QRegularExpression::CaseInsensitiveOption);
    return name;
}

}  // namespace

DraftResult parse(const QStringList& lines)
{
    DraftResult result;
    Draft& draft = result.draft;
    qsizetype wordsBefore = 0;
    for (qsizetype l = 0; l < lines.size(); ++l) {
        QString text = lines[l];
        text.remove(ByteOrderMark);
        const int lineNumber = int(l + 1);
        QString correct;
        QString faulty;
        QList<Mark> marks;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text[i];
            if (c == u'|' || c == u'}') {
                result.error = markError(lineNumber, QStringLiteral("«%1» fuera de una falta; las faltas se escriben "
                                                                    "{correcto|falta}")
                                                         .arg(c));
                return result;
            }
            if (c != u'{') {
                correct += c;
                faulty += c;
                continue;
            }
            const qsizetype bar = text.indexOf(u'|', i + 1);
            const qsizetype close = text.indexOf(u'}', i + 1);
            const qsizetype open = text.indexOf(u'{', i + 1);
            if (bar < 0 || close < bar || (open >= 0 && open < close)) {
                result.error = markError(lineNumber, QStringLiteral("falta sin cerrar o mal escrita; las faltas se "
                                                                    "escriben {correcto|falta}"));
                return result;
            }
            const QString good = text.sliced(i + 1, bar - i - 1);
            const QString bad = text.sliced(bar + 1, close - bar - 1);
            const QString written = text.sliced(i, close - i + 1);
            if (bad.contains(u'|')) {
                result.error = markError(lineNumber, QStringLiteral("la falta %1 tiene dos «|»").arg(written));
                return result;
            }
            if (std::any_of(written.begin(), written.end(), [](QChar ch) { return ch.isSpace(); })) {
                result.error = markError(lineNumber, QStringLiteral("la falta %1 tiene un espacio; una falta va "
                                                                    "dentro de una sola palabra")
                                                         .arg(written));
                return result;
            }
            marks.append({correct.size(), good, bad});
            correct += good;
            faulty += bad;
            i = close;
        }
        const QStringList correctWords = correct.split(u' ');
        const QStringList faultyWords = faulty.split(u' ');
        QSet<qsizetype> marked;
        for (const Mark& mark : marks) {
            const qsizetype k = correct.left(mark.offset).count(u' ');
            const QString written = u'{' + mark.correct + u'|' + mark.faulty + u'}';
            if (marked.contains(k)) {
                result.error = markError(lineNumber, QStringLiteral("dos faltas en la palabra «%1»; marque la palabra "
                                                                    "entera una vez")
                                                         .arg(correctWords[k]));
                return result;
            }
            if (correctWords[k] == faultyWords[k]) {
                result.error = markError(lineNumber, QStringLiteral("la falta %1 deja la palabra igual").arg(written));
                return result;
            }
            if (correctWords[k].isEmpty() || faultyWords[k].isEmpty()) {
                result.error = markError(lineNumber, QStringLiteral("la falta %1 deja una palabra vacía").arg(written));
                return result;
            }
            marked.insert(k);
            draft.misspellings.append({lineNumber, wordsBefore + k, correctWords[k], faultyWords[k]});
        }
        draft.correctLines.append(correct);
        draft.faultyLines.append(faulty);
        wordsBefore += correctWords.size();
    }
    return result;
}

QString addMisspellings(Draft& draft, const QList<families::Family>& families, int count, QRandomGenerator& random,
                        const std::function<bool(const QString&)>& isWord)
{
    if (count <= 0)
        return {};
    QStringList words;
    QList<int> lineOf;
    QList<qsizetype> firstWord;  // per line
    for (qsizetype l = 0; l < draft.correctLines.size(); ++l) {
        firstWord.append(words.size());
        for (const QString& word : draft.correctLines[l].split(u' ')) {
            words.append(word);
            lineOf.append(int(l + 1));
        }
    }
    // A text the program would refuse for its length is refused before any
    // choosing.
    if (words.size() > textfile::MaxWords)
        return QStringLiteral("el texto tiene %1 palabras; el programa no lee más de %2")
            .arg(words.size())
            .arg(textfile::MaxWords);
    QSet<qsizetype> taken;
    for (const Misspelling& m : draft.misspellings)
        taken.insert(m.word);
    const QList<families::Chosen> chosen = families::choose(words, taken, families, count, random, isWord);
    if (chosen.size() < count) {
        const QString text = (chosen.size() == 1 ? QStringLiteral("se piden %1 faltas más, pero solo %2 palabra del "
                                                                  "texto admite una")
                                                 : QStringLiteral("se piden %1 faltas más, pero solo %2 palabras del "
                                                                  "texto admiten una"))
                                 .arg(count)
                                 .arg(chosen.size());
        if (families.size() == 1)
            return text + QStringLiteral(" de la familia %1").arg(families::name(families.first()));
        return text;
    }
    for (const families::Chosen& c : chosen) {
        const int line = lineOf[c.word];
        QStringList faultyWords = draft.faultyLines[line - 1].split(u' ');
        faultyWords[c.word - firstWord[line - 1]] = c.faulty;
        draft.faultyLines[line - 1] = faultyWords.join(u' ');
        draft.misspellings.append({line, c.word, words[c.word], c.faulty});
    }
    std::sort(draft.misspellings.begin(), draft.misspellings.end(),
              [](const Misspelling& a, const Misspelling& b) { return a.word < b.word; });
    return {};
}

QByteArray encode(const QStringList& lines)
{
    QString text;
    for (const QString& line : lines)
        text += line + QStringLiteral("\r\n");
    const QHash<char16_t, char>& table = windows1252();
    QByteArray bytes;
    bytes.reserve(text.size());
    bool fits = true;
    for (QChar c : text) {
        const auto it = table.constFind(c.unicode());
        if (it == table.cend()) {
            fits = false;
            break;
        }
        bytes += *it;
    }
    // A Windows-1252 text that happens to be valid UTF-8 would be read as
    // UTF-8: such a text goes out as UTF-8 too.
    if (fits && textfile::decode(bytes) == text)
        return bytes;
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

QString checkLimits(const Draft& draft)
{
    for (const auto& [lines, version] : {std::pair{&draft.correctLines, QStringLiteral("versión correcta")},
                                         std::pair{&draft.faultyLines, QStringLiteral("versión con faltas")}}) {
        for (qsizetype l = 0; l < lines->size(); ++l) {
            if (lines->at(l).contains(ByteOrderMark))
                return markError(int(l + 1), QStringLiteral("la %1 tiene una marca de orden de bytes (U+FEFF), un "
                                                            "carácter invisible que al leer se quita; bórrela")
                                                 .arg(version));
        }
        const QByteArray bytes = encode(*lines);
        if (bytes.size() > textfile::MaxFileBytes)
            return QStringLiteral("la %1 ocuparía %2 bytes con sus finales de línea; el programa no lee textos de "
                                  "más de %3")
                .arg(version).arg(bytes.size()).arg(textfile::MaxFileBytes);
        const textfile::ReadResult read = textfile::check(bytes);
        const QString error = refusal(read, version);
        if (!error.isEmpty())
            return error;
        if (read.version.words != textfile::build(*lines).words)
            return QStringLiteral("la %1 no se leería tal como se ha escrito").arg(version);
    }
    if (draft.misspellings.isEmpty())
        return QStringLiteral("el texto no tiene ninguna falta: escriba alguna como {correcto|falta} o pida que se "
                              "pongan");
    // Read back, the versions differ at the misspellings meant and nowhere else.
    const QStringList correct = textfile::build(draft.correctLines).words;
    const QStringList faulty = textfile::build(draft.faultyLines).words;
    qsizetype differing = 0;
    for (qsizetype k = 0; k < correct.size() && k < faulty.size(); ++k)
        differing += correct[k] != faulty[k];
    bool meant = correct.size() == faulty.size() && differing == draft.misspellings.size();
    for (const Misspelling& m : draft.misspellings) {
        meant = meant && m.word >= 0 && m.word < correct.size() && correct[m.word] == m.correct
                && faulty[m.word] == m.faulty && m.correct != m.faulty;
    }
    if (!meant)
        return QStringLiteral("las dos versiones no se leerían con las faltas que se han puesto");
    return {};
}

int nextNumber(const QString& exerciseFolder)
{
    int largest = 0;
    for (const QStringView version : {content::CorrectVersion, content::FaultyVersion}) {
        const QString name = catalogue::storedName(exerciseFolder, version.toString(), true);
        if (name.isEmpty())
            continue;
        const QDir folder(exerciseFolder + u'/' + name);
        for (const QString& file : folder.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
            if (itemName().match(file).hasMatch())
                largest = std::max(largest, file.chopped(4).toInt());
        }
    }
    return largest + 1;
}

bool resolvesInside(const QString& folder, const QString& path)
{
    QString base = QFileInfo(folder).canonicalFilePath();
    if (base.isEmpty())
        return false;
    if (!base.endsWith(u'/'))
        base += u'/';
    const QFileInfo info(path);
    QString resolved;
    if (info.exists()) {
        resolved = info.canonicalFilePath();
    } else {
        const QString name = info.fileName();
        if (info.isSymLink() || name.isEmpty() || name == u"." || name == u"..")
            return false;
        const QString parent = QFileInfo(info.absolutePath()).canonicalFilePath();
        if (parent.isEmpty())
            return false;
        resolved = parent + u'/' + name;
    }
    return resolved.startsWith(base) && resolved.size() > base.size();
}

namespace {

std::atomic<ClaimMethod> firstMethod{ClaimMethod::Rename};

constexpr int MaxNumber = 999999999;

// Makes a folder's entries (a name taken in it) last through a power cut.
void syncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Whether a failing call says the filesystem does not offer it at all.
bool unsupported(int error)
{
    return error == EINVAL || error == ENOSYS || error == ENOTSUP || error == EOPNOTSUPP || error == EPERM;
}

// Renames `from` to `to` if nothing has that name, holding a lock file of the
// folder meanwhile: every writer of a filesystem without links comes here.
// The lock is polled; a writer that holds it past about ten seconds makes
// this one fail rather than wait for ever.
Claim claimLocked(const QByteArray& from, const QByteArray& to, const QString& folder)
{
    const QByteArray lockPath = QFile::encodeName(folder + QStringLiteral("/.miravellon-crear-cerrojo"));
    for (int attempt = 0; attempt < 500; ++attempt) {
        const int fd = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
        if (fd < 0)
            return Claim::Failed;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            ::close(fd);
            if (error != EWOULDBLOCK && error != EINTR)
                return Claim::Failed;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            continue;
        }
        // The holder before removes the lock file when done: a lock taken on
        // a file no longer under that name guards nothing.
        struct stat held {};
        struct stat named {};
        if (::fstat(fd, &held) != 0 || ::lstat(lockPath.constData(), &named) != 0 || held.st_ino != named.st_ino
            || held.st_dev != named.st_dev) {
            ::close(fd);
            continue;
        }
        struct stat there {};
        Claim result = Claim::Failed;
        if (::lstat(to.constData(), &there) == 0)
            result = Claim::Taken;
        else if (errno == ENOENT)
            result = ::rename(from.constData(), to.constData()) == 0 ? Claim::Claimed : Claim::Failed;
        ::unlink(lockPath.constData());
        ::close(fd);
        return result;
    }
    return Claim::Failed;
}

}  // namespace

Claim claim(const QString& temporary, const QString& target, ClaimMethod first)
{
    const QByteArray from = QFile::encodeName(temporary);
    const QByteArray to = QFile::encodeName(target);
    if (first == ClaimMethod::Rename) {
        if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
            return Claim::Claimed;
        if (errno == EEXIST)
            return Claim::Taken;
        if (!unsupported(errno))
            return Claim::Failed;
    }
    if (first != ClaimMethod::Lock) {
        if (::link(from.constData(), to.constData()) == 0) {
            ::unlink(from.constData());
            return Claim::Claimed;
        }
        if (errno == EEXIST)
            return Claim::Taken;
        if (!unsupported(errno))
            return Claim::Failed;
    }
    return claimLocked(from, to, QFileInfo(target).absolutePath());
}

void setClaimMethod(ClaimMethod first)
{
    firstMethod = first;
}

WriteResult write(const QString& exerciseFolder, int number, const Draft& draft, bool replace)
{
    WriteResult result;
    result.number = number;
    const QString fileName = QString::number(number) + QStringLiteral(".txt");
    // Where each version goes, letter case resolved, before anything is made.
    const auto target = [&](QStringView version) {
        const QString stored = catalogue::storedName(exerciseFolder, version.toString(), true);
        const QString folder = exerciseFolder + u'/' + (stored.isEmpty() ? version.toString() : stored);
        const QString file = catalogue::storedName(folder, fileName, false);
        const QString anyKind = file.isEmpty() ? catalogue::storedName(folder, fileName, true) : file;
        return std::pair{folder, folder + u'/' + (anyKind.isEmpty() ? fileName : anyKind)};
    };
    const auto [correctFolder, correctPath] = target(content::CorrectVersion);
    const auto [faultyFolder, faultyPath] = target(content::FaultyVersion);
    result.correctPath = QDir::cleanPath(correctPath);
    result.faultyPath = QDir::cleanPath(faultyPath);

    // A version folder or an item found on the disk may be a link: it is
    // written through only when it stays inside the exercise folder.
    for (const QString& path : {correctFolder, faultyFolder, result.correctPath, result.faultyPath}) {
        const QFileInfo info(path);
        if ((info.exists() || info.isSymLink()) && !resolvesInside(exerciseFolder, path)) {
            result.status = WriteStatus::Outside;
            result.error = QStringLiteral("«%1» lleva fuera de la carpeta del ejercicio; no se escribe a través de ella")
                               .arg(QDir::toNativeSeparators(path));
            return result;
        }
    }
    const auto exists = [&](const QString& path) {
        result.status = WriteStatus::Exists;
        result.error = QStringLiteral("el texto %1 ya existe («%2»)").arg(number).arg(QDir::toNativeSeparators(path));
        return result;
    };
    for (const QString& path : {result.correctPath, result.faultyPath}) {
        const QFileInfo info(path);
        if (!info.exists() && !info.isSymLink())
            continue;
        if (!info.isFile()) {
            result.status = WriteStatus::NotAFile;
            result.error = QStringLiteral("«%1» no es un archivo de texto").arg(QDir::toNativeSeparators(path));
            return result;
        }
        if (!replace)
            return exists(path);
    }

    const bool correctExisted = QFileInfo::exists(result.correctPath);
    QStringList made;
    QTemporaryFile correctFile(correctFolder + QStringLiteral("/.miravellon-crear-XXXXXX"));
    QTemporaryFile faultyFile(faultyFolder + QStringLiteral("/.miravellon-crear-XXXXXX"));
    const auto fail = [&](WriteStatus status, const QString& error) {
        for (QTemporaryFile* file : {&correctFile, &faultyFile}) {
            if (file->autoRemove() && !file->fileName().isEmpty())
                file->remove();
        }
        removeFolders(made);
        result.status = status;
        result.error = error;
        return result;
    };
    for (const QString& folder : {correctFolder, faultyFolder}) {
        if (!makeFolder(folder, made))
            return fail(WriteStatus::CannotWrite, folderError(folder));
    }

    // Both versions are complete on the disk, and read back the same, before
    // either takes its name.
    for (const auto& [file, lines, folder] : {std::tuple{&correctFile, &draft.correctLines, correctFolder},
                                              std::tuple{&faultyFile, &draft.faultyLines, faultyFolder}}) {
        const QByteArray bytes = encode(*lines);
        if (!file->open() || file->write(bytes) != bytes.size() || !file->flush() || ::fsync(file->handle()) != 0
            || !file->seek(0) || file->readAll() != bytes)
            return fail(WriteStatus::CannotWrite, folderError(folder));
        file->setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                             | QFileDevice::ReadOther);
        file->close();
    }

    const auto syncFolders = [&] {
        syncFolder(correctFolder);
        if (faultyFolder != correctFolder)
            syncFolder(faultyFolder);
        if (!made.isEmpty())
            syncFolder(QFileInfo(made.first()).absolutePath());
    };
    if (replace) {
        // rename() replaces an existing item in one step; Qt's renaming refuses to.
        if (std::rename(QFile::encodeName(correctFile.fileName()).constData(),
                        QFile::encodeName(result.correctPath).constData())
            != 0)
            return fail(WriteStatus::CannotWrite, folderError(correctFolder));
        correctFile.setAutoRemove(false);
        if (std::rename(QFile::encodeName(faultyFile.fileName()).constData(),
                        QFile::encodeName(result.faultyPath).constData())
            != 0) {
            if (!correctExisted)
                QFile::remove(result.correctPath);
            return fail(WriteStatus::CannotWrite, folderError(faultyFolder));
        }
        faultyFile.setAutoRemove(false);
        syncFolders();
        result.status = WriteStatus::Written;
        return result;
    }

    // The correct version claims the number; only its claimer writes the
    // faulty version of that number.
    const ClaimMethod method = firstMethod;
    switch (claim(correctFile.fileName(), result.correctPath, method)) {
    case Claim::Claimed: break;
    case Claim::Taken: return fail(WriteStatus::Exists, exists(result.correctPath).error);
    case Claim::Failed: return fail(WriteStatus::CannotWrite, folderError(correctFolder));
    }
    correctFile.setAutoRemove(false);
    const Claim faulty = claim(faultyFile.fileName(), result.faultyPath, method);
    if (faulty != Claim::Claimed) {
        QFile::remove(result.correctPath);
        syncFolder(correctFolder);
        return fail(faulty == Claim::Taken ? WriteStatus::Exists : WriteStatus::CannotWrite,
                    faulty == Claim::Taken ? exists(result.faultyPath).error : folderError(faultyFolder));
    }
    faultyFile.setAutoRemove(false);
    syncFolders();
    result.status = WriteStatus::Written;
    return result;
}

WriteResult writeNew(const QString& exerciseFolder, const Draft& draft, int from)
{
    int number = std::max({from, 1, nextNumber(exerciseFolder)});
    for (int tries = 0;; ++tries) {
        if (number > MaxNumber) {
            WriteResult full;
            full.error = QStringLiteral("no quedan números libres para un texto nuevo");
            return full;
        }
        WriteResult result = write(exerciseFolder, number, draft, false);
        if (result.status != WriteStatus::Exists || tries >= 1000)
            return result;
        number = std::max(number + 1, nextNumber(exerciseFolder));
    }
}

}  // namespace itemwriter
