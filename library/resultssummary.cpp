// SPDX-License-Identifier: GPL-3.0-or-later

#include "library/resultssummary.h"

#include "library/families.h"
#include "library/textfile.h"

#include <QMap>
#include <QSet>

#include <algorithm>

namespace results {

namespace {

constexpr char Bom[] = "\xEF\xBB\xBF";

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

// The name each pupil is shown with: the class list's, otherwise the
// spelling found most often (the first one found on a tie).
class PupilNames {
public:
    explicit PupilNames(const QStringList& classList)
    {
        for (const QString& name : classList)
            listed_.insert(pupilKey(name), name);
    }
    // The pupil's key, counting this spelling of her name `times` times.
    QString add(const QString& name, qint64 times = 1)
    {
        auto known = keys_.constFind(name);
        if (known == keys_.cend())
            known = keys_.insert(name, pupilKey(name));
        spellings_[*known][name] += times;
        return *known;
    }
    QString shown(const QString& key) const
    {
        if (const auto it = listed_.constFind(key); it != listed_.cend())
            return *it;
        const QHash<QString, qint64> counts = spellings_.value(key);
        QString best;
        qint64 most = -1;
        for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
            if (it.value() > most || (it.value() == most && it.key() < best)) {
                best = it.key();
                most = it.value();
            }
        }
        return best;
    }
    QList<QString> listedKeys() const { return listed_.keys(); }

private:
    QHash<QString, QString> listed_;
    QHash<QString, QString> keys_;
    QHash<QString, QHash<QString, qint64>> spellings_;
};

// The same text, at once when both share their characters (the names a
// folder's rows hold are shared).
bool sameText(const QString& a, const QString& b)
{
    return (a.constData() == b.constData() && a.size() == b.size()) || a == b;
}

// Runs of rows of one pupil (a file holds one pupil's rows): the pupil is
// looked up once a run, and her spelling counted once with the run's length.
template <typename PerPupil>
class PupilRuns {
public:
    explicit PupilRuns(PupilNames& names) : names_(names) {}
    ~PupilRuns() { flush(); }
    // What is kept for the pupil of `row`: looked up in `byKey` when the
    // pupil changes, and valid until the next call.
    template <typename Map>
    PerPupil& of(const Row& row, Map& byKey)
    {
        if (!last_ || !sameText(row.pupil, *last_)) {
            flush();
            last_ = &row.pupil;
            key_ = names_.add(row.pupil, 0);
            current_ = &byKey[key_];
        }
        ++run_;
        return *current_;
    }
    const QString& key() const { return key_; }

private:
    void flush()
    {
        if (last_ && run_ > 0)
            names_.add(*last_, run_);
        run_ = 0;
    }
    PupilNames& names_;
    const QString* last_ = nullptr;
    QString key_;
    PerPupil* current_ = nullptr;
    qint64 run_ = 0;
};

}  // namespace

bool matches(const Row& row, const Filter& filter)
{
    if (filter.from.isValid() && row.date < filter.from)
        return false;
    if (filter.to.isValid() && row.date > filter.to)
        return false;
    return filter.exercise.isEmpty() || row.exercise == filter.exercise;
}

QString pupilKey(const QString& name)
{
    const QString decomposed = name.normalized(QString::NormalizationForm_KD);
    QString key;
    key.reserve(decomposed.size());
    for (QChar c : decomposed) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        key += c;
    }
    return key.toCaseFolded().simplified();
}

QList<PupilSummary> summarize(const QList<Row>& rows, const Filter& filter, const QStringList& classList)
{
    PupilNames names(classList);
    struct Counts {
        PupilSummary summary;
        QSet<QDate> days;
        QDate lastDay;
    };
    QMap<QString, Counts> counts;
    {
        PupilRuns<Counts> runs(names);
        for (const Row& row : rows) {
            if (!matches(row, filter))
                continue;
            Counts& c = runs.of(row, counts);
            if (row.date != c.lastDay) {
                c.days.insert(row.date);
                c.lastDay = row.date;
            }
            PupilSummary& s = c.summary;
            ++s.started;
            s.finished += row.finished ? 1 : 0;
            s.inTime += row.finished && row.inTime ? 1 : 0;
            s.corrected += row.corrected;
            s.failed += row.failed;
        }
    }
    for (const QString& key : names.listedKeys()) {
        if (!counts.contains(key))
            counts.insert(key, Counts{});
    }
    QList<PupilSummary> list;
    list.reserve(counts.size());
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        PupilSummary s = it->summary;
        s.pupil = names.shown(it.key());
        s.days = it->days.size();
        list.append(s);
    }
    return list;
}

namespace {

// The teacher's names of the families a token string names ("h+mayúscula"),
// in table order, then "otra" when a token names no family.
QStringList familyNames(const QString& tokens)
{
    QStringList shown;
    for (families::Family family : families::fromTokens(tokens))
        shown.append(families::displayName(family));
    const QStringList parts = tokens.split(u'+', Qt::SkipEmptyParts);
    const bool unknown = std::any_of(parts.cbegin(), parts.cend(),
                                     [](const QString& token) { return families::fromTokens(token).isEmpty(); });
    if (unknown)
        shown.append(OtherFamily);
    return shown;
}

// The names of the families of a failure whose tokens are `tokens` (UTF-8).
// A folder holds a few dozen distinct token strings: each is named once.
const QStringList& namesOfTokens(QByteArrayView tokens)
{
    thread_local QHash<QByteArray, QStringList> named;
    auto it = named.constFind(QByteArray::fromRawData(tokens.data(), tokens.size()));
    if (it == named.cend()) {
        QStringList shown = familyNames(QString::fromUtf8(tokens));
        if (shown.isEmpty())
            shown.append(OtherFamily);
        shown.removeDuplicates();
        it = named.insert(tokens.toByteArray(), shown);
    }
    return *it;
}

const QStringList& noFamily()
{
    static const QStringList none{NoFamily};
    return none;
}

// Counts of failures by their family tokens: the names are given once per
// distinct token string, at the end.
struct TokenCounts {
    QHash<QByteArray, qint64> byTokens;  // the tokens' bytes
    qint64 noFamily = 0;                 // failures of rows that record no family

    void add(const Row& row)
    {
        const WordList failures = row.failures();
        if (failures.isEmpty())
            return;
        const WordList families = row.families();
        qsizetype left = failures.size();
        for (QByteArrayView tokens : families.utf8Words()) {
            if (left == 0)
                break;
            --left;
            auto it = byTokens.find(QByteArray::fromRawData(tokens.data(), tokens.size()));
            if (it == byTokens.end())
                it = byTokens.insert(tokens.toByteArray(), 0);
            ++*it;
        }
        noFamily += left;
    }
    // Adds the counts to `byName`.
    template <typename Map>
    void addNames(Map& byName) const
    {
        for (auto it = byTokens.cbegin(); it != byTokens.cend(); ++it) {
            for (const QString& name : namesOfTokens(it.key()))
                byName[name] += it.value();
        }
        if (noFamily > 0)
            byName[NoFamily] += noFamily;
    }
};

}  // namespace

QStringList familiesOfFailure(const Row& row, qsizetype failure)
{
    const WordList families = row.families();
    if (failure >= families.size())
        return noFamily();
    const QByteArray tokens = families.at(failure).toUtf8();
    return namesOfTokens(tokens);
}

int familyOrder(const QString& family)
{
    if (family == NoFamily)
        return 1001;
    if (family == OtherFamily)
        return 1000;
    const QList<families::FamilyInfo>& table = families::table();
    for (qsizetype i = 0; i < table.size(); ++i) {
        if (table.at(i).name == family)
            return int(i);
    }
    return 999;
}

namespace {

void sortFamilies(QStringList& list)
{
    std::stable_sort(list.begin(), list.end(),
                     [](const QString& a, const QString& b) { return familyOrder(a) < familyOrder(b); });
}

}  // namespace

QList<FailedWord> mostFailed(const QList<Row>& rows, const Filter& filter, int limit)
{
    // Counted first by the word as written in the rows (its bytes), then
    // gathered by the word without its punctuation, once per distinct word.
    struct Written {
        qint64 count = 0;
        QList<QByteArray> tokens;  // the family tokens its failures had
        bool noFamily = false;     // a failure of it had none recorded
    };
    QHash<QByteArray, Written> written;
    for (const Row& row : rows) {
        if (!matches(row, filter))
            continue;
        const WordList failures = row.failures();
        if (failures.isEmpty())
            continue;
        const WordList families = row.families();
        auto tokens = families.utf8Words().begin();
        qsizetype tokensLeft = families.size();
        for (QByteArrayView word : failures.utf8Words()) {
            auto it = written.find(QByteArray::fromRawData(word.data(), word.size()));
            if (it == written.end())
                it = written.insert(word.toByteArray(), {});
            ++it->count;
            if (tokensLeft == 0) {
                it->noFamily = true;
                continue;
            }
            const QByteArrayView t = *tokens;
            ++tokens;
            --tokensLeft;
            const bool known = std::any_of(it->tokens.cbegin(), it->tokens.cend(),
                                           [t](const QByteArray& k) { return QByteArrayView(k) == t; });
            if (!known)
                it->tokens.append(t.toByteArray());
        }
    }
    QHash<QString, FailedWord> counts;
    for (auto it = written.cbegin(); it != written.cend(); ++it) {
        const QString bare = bareWord(QString::fromUtf8(it.key()));
        if (bare.isEmpty())
            continue;
        FailedWord& word = counts[bare];
        word.count += it->count;
        QStringList names;
        for (const QByteArray& t : it->tokens)
            names += namesOfTokens(t);
        if (it->noFamily)
            names.append(NoFamily);
        for (const QString& family : std::as_const(names)) {
            if (!word.families.contains(family))
                word.families.append(family);
        }
    }
    QList<FailedWord> list;
    list.reserve(counts.size());
    for (auto it = counts.begin(); it != counts.end(); ++it) {
        it->word = it.key();
        sortFamilies(it->families);
        list.append(*it);
    }
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

QList<FamilyCount> familyCounts(const QList<Row>& rows, const Filter& filter)
{
    TokenCounts tokens;
    for (const Row& row : rows) {
        if (matches(row, filter))
            tokens.add(row);
    }
    QHash<QString, qint64> counts;
    tokens.addNames(counts);
    QStringList names = counts.keys();
    std::sort(names.begin(), names.end());
    sortFamilies(names);
    QList<FamilyCount> list;
    for (const QString& name : names)
        list.append({name, counts.value(name)});
    return list;
}

FamilyTable classFamilies(const QList<Row>& rows, const Filter& filter, const QStringList& classList)
{
    PupilNames names(classList);
    QMap<QString, TokenCounts> tokens;
    {
        PupilRuns<TokenCounts> runs(names);
        for (const Row& row : rows) {
            if (matches(row, filter))
                runs.of(row, tokens).add(row);
        }
    }
    QMap<QString, QHash<QString, qint64>> byPupil;
    QSet<QString> seen;
    for (auto it = tokens.cbegin(); it != tokens.cend(); ++it) {
        QHash<QString, qint64>& counts = byPupil[it.key()];
        it->addNames(counts);
        for (auto c = counts.cbegin(); c != counts.cend(); ++c)
            seen.insert(c.key());
    }
    FamilyTable table;
    table.families = QStringList(seen.cbegin(), seen.cend());
    std::sort(table.families.begin(), table.families.end());
    sortFamilies(table.families);
    for (auto it = byPupil.cbegin(); it != byPupil.cend(); ++it) {
        table.pupils.append(names.shown(it.key()));
        QList<qint64> line;
        for (const QString& family : table.families)
            line.append(it->value(family));
        table.counts.append(line);
    }
    return table;
}

QList<Row> pupilRows(const QList<Row>& rows, const Filter& filter, const QString& key)
{
    QList<Row> list;
    QHash<QString, bool> same;
    for (const Row& row : rows) {
        if (!matches(row, filter))
            continue;
        auto it = same.constFind(row.pupil);
        if (it == same.cend())
            it = same.insert(row.pupil, pupilKey(row.pupil) == key);
        if (*it)
            list.append(row);
    }
    std::stable_sort(list.begin(), list.end(), [](const Row& a, const Row& b) {
        return a.date != b.date ? a.date < b.date : a.time < b.time;
    });
    return list;
}

QList<Week> weeklyProgress(const QList<Row>& rows)
{
    QMap<QDate, Week> weeks;
    for (const Row& row : rows) {
        const QDate monday = row.date.addDays(1 - row.date.dayOfWeek());
        Week& week = weeks[monday];
        week.monday = monday;
        week.finished += row.finished ? 1 : 0;
        week.corrected += row.corrected;
        week.failed += row.failed;
    }
    return weeks.values();
}

QList<Day> dailyProgress(const QList<Row>& rows)
{
    QMap<QDate, Day> days;
    for (const Row& row : rows) {
        Day& day = days[row.date];
        day.date = row.date;
        ++day.texts;
        day.finished += row.finished ? 1 : 0;
        day.corrected += row.corrected;
        day.failed += row.failed;
        for (qsizetype i = 0; i < row.failures().size(); ++i)
            day.failures.append(failureText(row, i));
    }
    return days.values();
}

QString failureText(const Row& row, qsizetype failure)
{
    const QString word = row.failures().value(failure);
    const QString written = row.written().value(failure);
    if (written.isEmpty())
        return word;
    if (written == u'-')
        return word + QStringLiteral(" (lo borró)");
    return word + QStringLiteral(" (escribió «") + written + QStringLiteral("»)");
}

QStringList exercises(const QList<Row>& rows)
{
    QSet<QString> seen;
    const QString* last = nullptr;
    for (const Row& row : rows) {
        if (last && sameText(row.exercise, *last))
            continue;
        seen.insert(row.exercise);
        last = &row.exercise;
    }
    QStringList names(seen.cbegin(), seen.cend());
    names.sort();
    return names;
}

QString exportField(const QString& text)
{
    if (!text.isEmpty() && QStringView(u"=+-@\t\r").contains(text.front()))
        return csvField(u'\'' + text);
    return csvField(text);
}

QByteArray summaryCsv(const QList<PupilSummary>& summaries)
{
    QByteArray bytes(Bom);
    bytes += "alumno;dias;textos_empezados;textos_terminados;terminados_en_plazo;palabras_corregidas;"
             "palabras_con_fallo\r\n";
    for (const PupilSummary& s : summaries) {
        const QStringList fields{exportField(s.pupil),       QString::number(s.days),
                                 QString::number(s.started), QString::number(s.finished),
                                 QString::number(s.inTime),  QString::number(s.corrected),
                                 QString::number(s.failed)};
        bytes += (fields.join(u';') + QStringLiteral("\r\n")).toUtf8();
    }
    return bytes;
}

QByteArray rowsCsv(const QList<Row>& rows, const Filter& filter)
{
    QByteArray bytes(Bom);
    bytes += Header;
    bytes += ";escrito;familias;acertadas\r\n";
    for (const Row& row : rows) {
        if (!matches(row, filter))
            continue;
        const QStringList fields = rowFields(row, exportField);
        bytes += (fields.join(u';') + QStringLiteral("\r\n")).toUtf8();
    }
    return bytes;
}

}  // namespace results
