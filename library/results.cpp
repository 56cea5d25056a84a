#include "library/results.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSettings>
#include <QStandardPaths>

#include <algorithm>
#include <cstring>
#include <limits>

#include <cerrno>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcResults, "miravellon.results")

namespace results {

namespace {

const QString Yes = QStringLiteral("sí");
const QString No = QStringLiteral("no");
constexpr char Bom[] = "\xEF\xBB\xBF";

QString yesNo(bool value)
{
    return value ? Yes : No;
}

std::optional<bool> parseYesNo(const QString& field)
{
    if (field == Yes)
        return true;
    if (field == No)
        return false;
    return std::nullopt;
}

std::optional<qint64> parseCount(const QString& field)
{
    if (field.isEmpty() || field.size() > 18)
        return std::nullopt;
    for (QChar c : field) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    return field.toLongLong();
}

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

QString csvField(const QString& value)
{
    QString field = value;
    for (QChar& c : field) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = u' ';
    }
    if (!field.contains(u';') && !field.contains(u'"'))
        return field;
    field.replace(u'"', QStringLiteral("\"\""));
    return u'"' + field + u'"';
}

QByteArray encodeRow(const Row& row)
{
    const QStringList fields{row.date.toString(Qt::ISODate),
                             row.time.toString(QStringLiteral("HH:mm:ss")),
                             csvField(row.pupil),
                             csvField(row.exercise),
                             QString::number(row.item),
                             yesNo(row.finished),
                             yesNo(row.inTime),
                             QString::number(row.seconds),
                             QString::number(row.corrected),
                             QString::number(row.failed),
                             yesNo(row.help),
                             csvField(row.failures.join(u' '))};
    return (fields.join(u';') + QStringLiteral("\r\n")).toUtf8();
}

std::optional<QStringList> splitLine(QStringView line)
{
    QStringList fields;
    QString field;
    qsizetype i = 0;
    const qsizetype n = line.size();
    while (true) {
        field.clear();
        if (i < n && line[i] == u'"') {
            ++i;
            while (true) {
                if (i >= n)
                    return std::nullopt;  // the quote is never closed
                if (line[i] == u'"') {
                    if (i + 1 < n && line[i + 1] == u'"') {
                        field += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += line[i++];
            }
            if (i < n && line[i] != u';')
                return std::nullopt;  // text after the closing quote
        } else {
            while (i < n && line[i] != u';') {
                if (line[i] == u'"')
                    return std::nullopt;
                field += line[i++];
            }
        }
        fields.append(field);
        if (i >= n)
            break;
        ++i;  // the ';'
    }
    return fields;
}

std::optional<Row> parseRow(QStringView line)
{
    const std::optional<QStringList> fields = splitLine(line);
    if (!fields || fields->size() != FieldCount)
        return std::nullopt;
    const QStringList& f = *fields;
    Row row;
    row.date = QDate::fromString(f[0], Qt::ISODate);
    row.time = QTime::fromString(f[1], QStringLiteral("HH:mm:ss"));
    if (!row.date.isValid() || !row.time.isValid() || f[0].size() != 10)
        return std::nullopt;
    row.pupil = f[2];
    row.exercise = f[3];
    const auto item = parseCount(f[4]);
    const auto finished = parseYesNo(f[5]);
    const auto inTime = parseYesNo(f[6]);
    const auto seconds = parseCount(f[7]);
    const auto corrected = parseCount(f[8]);
    const auto failed = parseCount(f[9]);
    const auto help = parseYesNo(f[10]);
    if (!item || !finished || !inTime || !seconds || !corrected || !failed || !help)
        return std::nullopt;
    if (*corrected > std::numeric_limits<int>::max() || *failed > std::numeric_limits<int>::max())
        return std::nullopt;
    row.item = *item;
    row.finished = *finished;
    row.inTime = *inTime;
    row.seconds = *seconds;
    row.corrected = int(*corrected);
    row.failed = int(*failed);
    row.help = *help;
    row.failures = f[11].split(u' ', Qt::SkipEmptyParts);
    return row;
}

// --- The attempt at one text -------------------------------------------------

void Attempt::start(const QString& exercise, qint64 item, const QStringList& correctWords, const QDateTime& now)
{
    *this = Attempt();
    active_ = true;
    exercise_ = exercise;
    item_ = item;
    correct_ = correctWords;
    loaded_ = now;
}

void Attempt::leaveRed()
{
    for (auto it = state_.cbegin(); it != state_.cend(); ++it) {
        if (it.value() == Judgement::Wrong)
            failed_.insert(it.key());
    }
}

void Attempt::pick(int position)
{
    if (!active_)
        return;
    if (position != current_)
        leaveRed();
    current_ = position;
    picked_ = true;
}

void Attempt::judge(int position, Judgement judgement)
{
    if (!active_)
        return;
    state_[position] = judgement;
    if (judgement == Judgement::Right)
        blue_.insert(position);
}

void Attempt::openHelp()
{
    if (!active_)
        return;
    help_ = true;
    leaveRed();
}

std::optional<Row> Attempt::finish(bool finished, bool inTime, const QString& pupil, const QDateTime& now)
{
    if (!active_)
        return std::nullopt;
    leaveRed();
    Row row;
    row.date = now.date();
    row.time = now.time();
    row.time = QTime(row.time.hour(), row.time.minute(), row.time.second());
    row.pupil = pupil;
    row.exercise = exercise_;
    row.item = item_;
    row.finished = finished;
    row.inTime = finished && inTime;
    row.seconds = std::max<qint64>(0, loaded_.secsTo(now));
    row.corrected = corrected();
    row.failed = failed();
    row.help = help_;
    QList<int> positions(failed_.cbegin(), failed_.cend());
    std::sort(positions.begin(), positions.end());
    for (int p : positions)
        row.failures.append(p >= 0 && p < correct_.size() ? correct_.at(p) : QString());
    // An empty correct word has no form to name.
    row.failures.removeAll(QString());
    active_ = false;
    return row;
}

// --- Names and files ---------------------------------------------------------

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
    // A new object each time, so that a settings file changed meanwhile (or
    // another XDG folder in a test) is read.
    QSettings s(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("miravellon"),
                QStringLiteral("miravellon"));
    return s.value(QStringLiteral("resultados/carpeta")).toString();
}

bool askForName()
{
    QSettings s(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("miravellon"),
                QStringLiteral("miravellon"));
    return s.value(QStringLiteral("alumno/preguntar"), false).toBool();
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

// --- Reading a folder back ---------------------------------------------------

void readFile(const QString& name, const QByteArray& bytes, Folder& into)
{
    QByteArray data = bytes;
    if (data.startsWith(Bom))
        data.remove(0, 3);
    const QString text = QString::fromUtf8(data);
    QStringList lines = text.split(u'\n');
    // The last piece follows the last line end: empty in a whole file, a cut
    // line otherwise.
    const QString tail = lines.takeLast();
    int skipped = tail.trimmed().isEmpty() ? 0 : 1;
    bool first = true;
    for (QString line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (first) {
            first = false;
            if (line == QLatin1String(Header))
                continue;
        }
        if (line.trimmed().isEmpty())
            continue;
        if (std::optional<Row> row = parseRow(line))
            into.rows.append(*row);
        else
            ++skipped;
    }
    if (skipped > 0) {
        into.skippedLines += skipped;
        into.damagedFiles.append(name);
    }
}

Folder readFolder(const QString& folder)
{
    Folder result;
    const QDir dir(folder);
    const QStringList names = dir.entryList({QStringLiteral("*.csv")}, QDir::Files | QDir::Readable, QDir::Name);
    for (const QString& name : names) {
        QFile file(dir.filePath(name));
        // A results file of a whole school year stays far below this; a larger
        // file is no results file.
        constexpr qint64 Largest = 64 * 1024 * 1024;
        if (file.size() > Largest || !file.open(QIODevice::ReadOnly)) {
            ++result.skippedLines;
            result.damagedFiles.append(name);
            continue;
        }
        readFile(name, file.readAll(), result);
    }
    return result;
}

bool matches(const Row& row, const Filter& filter)
{
    if (filter.from.isValid() && row.date < filter.from)
        return false;
    if (filter.to.isValid() && row.date > filter.to)
        return false;
    return filter.exercise.isEmpty() || row.exercise == filter.exercise;
}

QList<PupilSummary> summarize(const QList<Row>& rows, const Filter& filter)
{
    QMap<QString, PupilSummary> byPupil;
    QMap<QString, QSet<QDate>> days;
    for (const Row& row : rows) {
        if (!matches(row, filter))
            continue;
        PupilSummary& s = byPupil[row.pupil];
        s.pupil = row.pupil;
        days[row.pupil].insert(row.date);
        ++s.started;
        s.finished += row.finished ? 1 : 0;
        s.inTime += row.inTime ? 1 : 0;
        s.corrected += row.corrected;
        s.failed += row.failed;
    }
    QList<PupilSummary> list;
    for (auto it = byPupil.begin(); it != byPupil.end(); ++it) {
        it->days = int(days.value(it.key()).size());
        list.append(*it);
    }
    return list;
}

namespace {

QString bareWord(const QString& word)
{
    qsizetype first = 0;
    qsizetype last = word.size();
    while (first < last && !word.at(first).isLetterOrNumber())
        ++first;
    while (last > first && !word.at(last - 1).isLetterOrNumber())
        --last;
    return word.mid(first, last - first);
}

}  // namespace

QList<FailedWord> mostFailed(const QList<Row>& rows, const Filter& filter, int limit)
{
    QMap<QString, int> counts;
    for (const Row& row : rows) {
        if (!matches(row, filter))
            continue;
        for (const QString& word : row.failures) {
            const QString bare = bareWord(word);
            if (!bare.isEmpty())
                ++counts[bare];
        }
    }
    QList<FailedWord> list;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        list.append({it.key(), it.value()});
    std::sort(list.begin(), list.end(), [](const FailedWord& a, const FailedWord& b) {
        if (a.count != b.count)
            return a.count > b.count;
        const int byLetters = a.word.compare(b.word, Qt::CaseInsensitive);
        return byLetters != 0 ? byLetters < 0 : a.word < b.word;
    });
    if (limit >= 0 && list.size() > limit)
        list.resize(limit);
    return list;
}

QStringList exercises(const QList<Row>& rows)
{
    QStringList names;
    for (const Row& row : rows) {
        if (!names.contains(row.exercise))
            names.append(row.exercise);
    }
    names.sort();
    return names;
}

QByteArray summaryCsv(const QList<PupilSummary>& summaries)
{
    QByteArray bytes(Bom);
    bytes += "alumno;dias;textos_empezados;textos_terminados;terminados_en_plazo;palabras_corregidas;"
             "palabras_con_fallo\r\n";
    for (const PupilSummary& s : summaries) {
        const QStringList fields{csvField(s.pupil),        QString::number(s.days),
                                 QString::number(s.started), QString::number(s.finished),
                                 QString::number(s.inTime),  QString::number(s.corrected),
                                 QString::number(s.failed)};
        bytes += (fields.join(u';') + QStringLiteral("\r\n")).toUtf8();
    }
    return bytes;
}

QStringList spellingFamilies(const QString& word)
{
    const QString bare = bareWord(word);
    const QString w = bare.toLower();
    QStringList families;
    auto before = [&w](QChar letter, QStringView next) {
        for (qsizetype i = 0; i + 1 < w.size(); ++i) {
            if (w.at(i) == letter && next.contains(w.at(i + 1)))
                return true;
        }
        return false;
    };
    if (w.contains(u'b') || w.contains(u'v'))
        families.append(QStringLiteral("b/v"));
    for (qsizetype i = 0; i < w.size(); ++i) {
        if (w.at(i) == u'h' && (i == 0 || w.at(i - 1) != u'c')) {
            families.append(QStringLiteral("h"));
            break;
        }
    }
    if (w.contains(u'j') || before(u'g', u"eiéí"))
        families.append(QStringLiteral("g/j"));
    if (w.contains(QStringLiteral("ll")) || w.contains(u'y'))
        families.append(QStringLiteral("ll/y"));
    if (w.contains(u'z') || before(u'c', u"eiéí"))
        families.append(QStringLiteral("c/z/s"));
    if (w.contains(QStringLiteral("rr")) || w.startsWith(u'r'))
        families.append(QStringLiteral("r/rr"));
    if (w.contains(QStringLiteral("mp")) || w.contains(QStringLiteral("mb")))
        families.append(QStringLiteral("m antes de p/b"));
    for (QChar c : w) {
        if (QStringView(u"áéíóú").contains(c)) {
            families.append(QStringLiteral("tilde"));
            break;
        }
    }
    if (!bare.isEmpty() && bare.front().isUpper())
        families.append(QStringLiteral("mayúscula"));
    return families;
}

}  // namespace results
