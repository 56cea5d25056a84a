// SPDX-License-Identifier: GPL-3.0-or-later

#include "library/review.h"

#include <QRandomGenerator>
#include <QSet>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace review {

namespace {

// When a row was written, for ordering only: read as UTC, which spares the
// time-zone look-up of every row.
QDateTime stamp(const results::Row& row)
{
    return QDateTime(row.date, row.time.isValid() ? row.time : QTime(0, 0), Qt::UTC);
}

bool hasLetter(const QString& text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); });
}

// Letters changed, added or left out to turn `a` into `b`.
int distance(const QString& a, const QString& b)
{
    QList<int> row(b.size() + 1);
    for (qsizetype j = 0; j <= b.size(); ++j)
        row[j] = int(j);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = int(i);
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const int above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

}  // namespace

QString key(const QString& word)
{
    return families::split(word).core.toLower();
}

bool samePupil(const QString& rowPupil, const QString& pupil)
{
    return rowPupil == pupil || rowPupil.compare(pupil, Qt::CaseInsensitive) == 0;
}

QList<families::Family> familiesOf(const QString& tokens)
{
    return families::fromTokens(tokens);
}

bool isMisspellingWithin(const QString& correct, const QString& written)
{
    const families::Parts good = families::split(correct);
    const families::Parts bad = families::split(written);
    if (bad.core.isEmpty() || good.core.isEmpty() || bad.core == good.core)
        return false;
    if (!std::all_of(bad.core.begin(), bad.core.end(), [](QChar c) { return c.isLetter(); }))
        return false;
    // Every difference belongs to a family, or it is a slip of a letter or two.
    const QString tokens = families::pairTokens(good.core, bad.core);
    if (!tokens.isEmpty() && !tokens.split(u'+').contains(families::otherToken()))
        return true;
    return distance(good.core, bad.core) <= (good.core.size() > 6 ? 3 : 2);
}

namespace {

// What a word list's word gives, worked out once per distinct word (a school
// year's rows repeat the same words hundreds of thousands of times).
class Words {
public:
    struct Failure {
        QString core;  // the word without its punctuation
        QString key;   // key()
        bool letter = false;
    };
    const Failure& failure(QByteArrayView word)
    {
        auto it = failures_.constFind(QByteArray::fromRawData(word.data(), word.size()));
        if (it == failures_.cend()) {
            Failure f;
            f.core = families::split(QString::fromUtf8(word)).core;
            f.key = f.core.toLower();
            f.letter = hasLetter(f.core);
            it = failures_.insert(word.toByteArray(), f);
        }
        return *it;
    }
    const QString& key(QByteArrayView word) { return failure(word).key; }
    // What she left written: the word's core, empty for an emptied box.
    const QString& written(QByteArrayView form)
    {
        auto it = written_.constFind(QByteArray::fromRawData(form.data(), form.size()));
        if (it == written_.cend()) {
            const QString text = QString::fromUtf8(form);
            it = written_.insert(form.toByteArray(), text == u"-" ? QString() : families::split(text).core);
        }
        return *it;
    }
    const QString& text(QByteArrayView bytes)
    {
        auto it = texts_.constFind(QByteArray::fromRawData(bytes.data(), bytes.size()));
        if (it == texts_.cend())
            it = texts_.insert(bytes.toByteArray(), QString::fromUtf8(bytes));
        return *it;
    }

private:
    QHash<QByteArray, Failure> failures_;
    QHash<QByteArray, QString> written_;
    QHash<QByteArray, QString> texts_;
};

QList<Word> underReview(QList<const results::Row*> hers, Words& known)
{
    const auto earlier = [](const results::Row* a, const results::Row* b) {
        return a->date != b->date ? a->date < b->date : a->time < b->time;
    };
    // A pupil's files hold her rows in order already.
    if (!std::is_sorted(hers.cbegin(), hers.cend(), earlier))
        std::stable_sort(hers.begin(), hers.end(), earlier);

    // The word's last failure is kept as where it lies in the rows, and
    // made a Word once, at the end.
    struct Track {
        Word word;
        QSet<QDate> rightDays;  // days it was right the first time since its last failure
        const results::Row* first = nullptr;
        const results::Row* last = nullptr;
        QByteArrayView failure;
        std::optional<QByteArrayView> form;
        std::optional<QByteArrayView> tokens;
    };
    QHash<QString, Track> tracks;
    QStringList order;
    for (const results::Row* row : std::as_const(hers)) {
        // A word right in one place of a text and failed in another is failed.
        if (!tracks.isEmpty()) {
            for (QByteArrayView right : row->rightFirstTime().utf8Words()) {
                const auto it = tracks.find(known.key(right));
                if (it != tracks.end())
                    it->rightDays.insert(row->date);
            }
        }
        const results::WordList failures = row->failures();
        if (failures.isEmpty())
            continue;
        const results::WordList written = row->written();
        const results::WordList families = row->families();
        auto form = written.utf8Words().begin();
        auto tokens = families.utf8Words().begin();
        qsizetype i = -1;
        for (QByteArrayView failure : failures.utf8Words()) {
            ++i;
            const bool hasForm = i < written.size();
            const bool hasTokens = i < families.size();
            const QByteArrayView formBytes = hasForm ? *form : QByteArrayView();
            const QByteArrayView tokenBytes = hasTokens ? *tokens : QByteArrayView();
            if (hasForm)
                ++form;
            if (hasTokens)
                ++tokens;
            const Words::Failure& f = known.failure(failure);
            if (!f.letter)
                continue;
            auto it = tracks.find(f.key);
            if (it == tracks.end()) {
                it = tracks.insert(f.key, {});
                it->first = row;
                order.append(f.key);
            }
            it->last = row;
            ++it->word.failures;
            it->failure = failure;
            it->form = hasForm ? std::optional(formBytes) : std::nullopt;
            it->tokens = hasTokens ? std::optional(tokenBytes) : std::nullopt;
            if (!it->rightDays.isEmpty())
                it->rightDays.clear();
        }
    }

    QList<Word> words;
    QDate lastDay;
    for (const QString& k : std::as_const(order)) {
        Track& t = tracks[k];
        if (t.rightDays.size() >= 2)
            continue;
        Word& w = t.word;
        w.word = known.failure(t.failure).core;
        w.firstFailed = stamp(*t.first);
        w.lastFailed = stamp(*t.last);
        w.written = t.form ? known.written(*t.form) : QString();
        w.families = t.tokens ? known.text(*t.tokens) : QString();
        words.append(w);
        lastDay = std::max(lastDay, t.word.lastFailed.date());
    }
    std::stable_sort(words.begin(), words.end(), [&lastDay](const Word& a, const Word& b) {
        const bool aRecent = a.lastFailed.date() == lastDay;
        const bool bRecent = b.lastFailed.date() == lastDay;
        if (aRecent != bRecent)
            return aRecent;
        if (a.lastFailed != b.lastFailed)
            return aRecent ? a.lastFailed > b.lastFailed : a.lastFailed < b.lastFailed;
        return a.word < b.word;
    });
    return words;
}

}  // namespace

QList<Word> wordsUnderReview(const QList<results::Row>& rows, const QString& pupil)
{
    QList<const results::Row*> hers;
    for (const results::Row& row : rows) {
        if (samePupil(row.pupil, pupil))
            hers.append(&row);
    }
    Words known;
    return underReview(hers, known);
}

QMap<QString, QList<Word>> underReviewByPupil(const QList<results::Row>& rows)
{
    // The rows themselves stay where they are: a school year's rows are most
    // of the memory the teacher's view takes.
    QMap<QString, QList<const results::Row*>> byPupil;
    QList<const results::Row*>* current = nullptr;
    const QString* last = nullptr;
    for (const results::Row& row : rows) {
        // A file's rows are one pupil's: looked up once a run.
        if (!last || row.pupil.constData() != last->constData() || row.pupil != *last) {
            current = &byPupil[row.pupil];
            last = &row.pupil;
        }
        current->append(&row);
    }
    // Pupils are independent: a few threads work them out, each pupil's
    // words put in her own place of the list.
    const QList<QString> pupils = byPupil.keys();
    QList<QList<Word>> lists(pupils.size());
    std::atomic<qsizetype> next{0};
    const auto work = [&] {
        Words known;
        for (qsizetype i = next++; i < pupils.size(); i = next++)
            lists[i] = underReview(byPupil.value(pupils.at(i)), known);
    };
    const int threads = std::clamp(int(std::thread::hardware_concurrency()), 1, 4);
    std::vector<std::thread> helpers;
    for (int t = 1; t < threads && t < pupils.size(); ++t)
        helpers.emplace_back(work);
    work();
    for (std::thread& helper : helpers)
        helper.join();
    QMap<QString, QList<Word>> words;
    for (qsizetype i = 0; i < pupils.size(); ++i)
        words.insert(pupils.at(i), lists.at(i));
    return words;
}

QString misspell(const QString& sentenceWord, const Word& word, quint32 seed)
{
    const families::Parts parts = families::split(sentenceWord);
    if (parts.core.isEmpty())
        return {};
    if (!word.written.isEmpty() && isMisspellingWithin(word.word, word.written)
        && parts.core.compare(word.word, Qt::CaseInsensitive) == 0) {
        // Her own form, with the capital she gave it or took from it carried
        // over to the sentence's word.
        QString core = word.written;
        const bool flipped = word.written.front().isUpper() != word.word.front().isUpper();
        const bool upper = parts.core.front().isUpper() != flipped;
        core[0] = upper ? core[0].toUpper() : core[0].toLower();
        const QString faulty = parts.lead + core + parts.trail;
        if (faulty != sentenceWord)
            return faulty;
    }
    QList<families::Family> tried = familiesOf(word.families);
    for (const families::FamilyInfo& f : families::table()) {
        if (!tried.contains(f.family))
            tried.append(f.family);
    }
    for (families::Family f : std::as_const(tried)) {
        const QStringList forms = families::misspellings(sentenceWord, f);
        if (!forms.isEmpty())
            return forms[qsizetype(seed % quint32(forms.size()))];
    }
    return {};
}

std::optional<families::Family> weakestFamily(const QList<Word>& words)
{
    QHash<int, int> counts;
    for (const Word& w : words) {
        for (families::Family f : familiesOf(w.families))
            ++counts[int(f)];
    }
    std::optional<families::Family> weakest;
    int most = 0;
    for (const families::FamilyInfo& f : families::table()) {
        if (counts.value(int(f.family)) > most) {
            most = counts.value(int(f.family));
            weakest = f.family;
        }
    }
    return weakest;
}

QString textId(const QString& exercise, qint64 item)
{
    return exercise + u'\n' + QString::number(item);
}

void addText(Corpus& corpus, const QString& exercise, qint64 item, const QStringList& lines)
{
    int words = 0;
    for (const QString& text : lines) {
        const QStringList split = text.split(u' ');
        words += int(split.size());
        if (text.contains(u'{') || text.contains(u'|') || text.contains(u'}') || !hasLetter(text))
            continue;
        Corpus::Line line;
        line.words = split;
        const int index = int(corpus.lines.size());
        for (const QString& word : split) {
            const QString k = key(word);
            line.keys.append(k);
            if (!k.isEmpty()) {
                QList<int>& holding = corpus.linesByKey[k];
                if (holding.isEmpty() || holding.last() != index)
                    holding.append(index);
            }
        }
        corpus.lines.append(line);
    }
    const qsizetype texts = corpus.textWords.size();
    corpus.textWords.insert(textId(exercise, item), words);
    corpus.averageWords = int((qint64(corpus.averageWords) * texts + words) / (texts + 1));
}

int usualLength(const QList<results::Row>& rows, const QString& pupil, const Corpus& corpus)
{
    qint64 total = 0;
    qint64 count = 0;
    for (const results::Row& row : rows) {
        if (!samePupil(row.pupil, pupil) || row.exercise == ExerciseName)
            continue;
        const auto it = corpus.textWords.constFind(textId(row.exercise, row.item));
        if (it != corpus.textWords.constEnd()) {
            total += *it;
            ++count;
        }
    }
    return count > 0 ? int(total / count) : corpus.averageWords;
}

}  // namespace review
