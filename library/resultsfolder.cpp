#include "library/resultsfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <limits>

namespace results {

namespace {

constexpr char Bom[] = "\xEF\xBB\xBF";

}  // namespace

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
            if (isHeader(line))
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
