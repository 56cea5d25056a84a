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

#include <algorithm>
#include <cstdio>
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
    if (!QDir().mkdir(path))
        return false;
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
        const QString& text = lines[l];
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
        const QString error = refusal(textfile::check(encode(*lines)), version);
        if (!error.isEmpty())
            return error;
    }
    if (draft.misspellings.isEmpty())
        return QStringLiteral("el texto no tiene ninguna falta: escriba alguna como {correcto|falta} o pida que se "
                              "pongan");
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

WriteResult write(const QString& exerciseFolder, int number, const Draft& draft, bool replace)
{
    WriteResult result;
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

    for (const QString& path : {result.correctPath, result.faultyPath}) {
        const QFileInfo info(path);
        if (!info.exists() && !info.isSymLink())
            continue;
        if (!info.isFile()) {
            result.status = WriteStatus::NotAFile;
            result.error = QStringLiteral("«%1» no es un archivo de texto").arg(QDir::toNativeSeparators(path));
            return result;
        }
        if (!replace) {
            result.status = WriteStatus::Exists;
            result.error = QStringLiteral("el texto %1 ya existe («%2»)").arg(number).arg(QDir::toNativeSeparators(path));
            return result;
        }
    }

    const bool correctExisted = QFileInfo::exists(result.correctPath);
    QStringList made;
    const auto fail = [&](const QString& error) {
        removeFolders(made);
        result.status = WriteStatus::CannotWrite;
        result.error = error;
        return result;
    };
    for (const QString& folder : {correctFolder, faultyFolder}) {
        if (!makeFolder(folder, made))
            return fail(folderError(folder));
    }

    // Both versions are complete on disk before either takes its name.
    QTemporaryFile correctFile(correctFolder + QStringLiteral("/.miravellon-crear-XXXXXX"));
    QTemporaryFile faultyFile(faultyFolder + QStringLiteral("/.miravellon-crear-XXXXXX"));
    for (const auto& [file, lines, folder] : {std::tuple{&correctFile, &draft.correctLines, correctFolder},
                                              std::tuple{&faultyFile, &draft.faultyLines, faultyFolder}}) {
        const QByteArray bytes = encode(*lines);
        if (!file->open() || file->write(bytes) != bytes.size() || !file->flush()) {
            file->remove();
            return fail(folderError(folder));
        }
        file->setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                             | QFileDevice::ReadOther);
        file->close();
    }
    // rename() replaces an existing item in one step; Qt's renaming refuses to.
    if (std::rename(QFile::encodeName(correctFile.fileName()).constData(),
                    QFile::encodeName(result.correctPath).constData())
        != 0)
        return fail(folderError(correctFolder));
    correctFile.setAutoRemove(false);
    if (std::rename(QFile::encodeName(faultyFile.fileName()).constData(),
                    QFile::encodeName(result.faultyPath).constData())
        != 0) {
        if (!correctExisted)
            QFile::remove(result.correctPath);
        return fail(folderError(faultyFolder));
    }
    faultyFile.setAutoRemove(false);
    result.status = WriteStatus::Written;
    return result;
}

}  // namespace itemwriter
