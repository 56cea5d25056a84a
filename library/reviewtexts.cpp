// SPDX-License-Identifier: GPL-3.0-or-later
// The review texts: lines of the exercises that hold her words, with her
// words misspelt in them.

#include "library/review.h"

#include <QRandomGenerator>
#include <QSet>

namespace review {

namespace {

// A line that can review a word: the corpus line, and the word of it that is
// misspelt, as the review word to misspell it like.
struct Candidate {
    int line = 0;
    QString target;   // key() of the line's word that is misspelt
    QString reviews;  // key() of the review word it stands for
    Word as;          // how to misspell it
};

struct Text {
    QList<int> lines;
    QList<QHash<int, QString>> faults;  // per line: word index -> faulty form
    QStringList reviewed;               // keys misspelt, in order
    int words = 0;
};

class Composer {
public:
    Composer(const QList<Word>& words, const QHash<QString, Word>& failed, const Corpus& corpus, int length,
             quint32 seed)
        : failed_(failed), corpus_(corpus), length_(std::max(length, 1)), seed_(seed)
    {
        for (const Word& w : words)
            words_.insert(key(w.word), w);
    }

    QList<Candidate> candidates(const Word& w) const
    {
        QList<Candidate> found;
        const QString k = key(w.word);
        for (int line : corpus_.linesByKey.value(k))
            found.append({line, k, k, w});
        if (found.isEmpty()) {
            // Another word she failed, of the same family, misspelt by it.
            const QList<families::Family> mine = familiesOf(w.families);
            for (auto it = failed_.cbegin(); it != failed_.cend() && !mine.isEmpty(); ++it) {
                if (it.key() == k)
                    continue;
                const QList<families::Family> theirs = familiesOf(it->families);
                if (!std::any_of(mine.begin(), mine.end(), [&](families::Family f) { return theirs.contains(f); }))
                    continue;
                Word as = w;
                as.word = it->word;
                as.written.clear();
                for (int line : corpus_.linesByKey.value(it.key()))
                    found.append({line, it.key(), k, as});
            }
            std::sort(found.begin(), found.end(), [](const Candidate& a, const Candidate& b) { return a.line < b.line; });
        }
        // Another review, other lines first.
        if (!found.isEmpty())
            std::rotate(found.begin(), found.begin() + qsizetype((seed_ + qHash(k)) % quint32(found.size())),
                        found.end());
        return found;
    }

    // Adds the line to the text when it can misspell the candidate's word;
    // the other review words it holds are misspelt too, while there is room.
    bool place(Text& text, const Candidate& c) const
    {
        if (text.lines.contains(c.line) || text.lines.size() >= MaxLines)
            return false;
        const Corpus::Line& line = corpus_.lines[c.line];
        QHash<int, QString> faults;
        QStringList reviewed = text.reviewed;
        bool targetDone = false;
        for (qsizetype j = 0; j < line.words.size(); ++j) {
            const QString& k = line.keys[j];
            const bool isTarget = k == c.target;
            const auto own = words_.constFind(k);
            if (!isTarget && own == words_.constEnd())
                continue;
            const QString reviewKey = isTarget ? c.reviews : k;
            if (!reviewed.contains(reviewKey) && reviewed.size() >= MaxWordsPerText)
                continue;
            const QString faulty = misspell(line.words[j], isTarget ? c.as : *own, seed_ + quint32(j));
            if (faulty.isEmpty())
                continue;
            faults.insert(int(j), faulty);
            targetDone = targetDone || isTarget;
            if (!reviewed.contains(reviewKey))
                reviewed.append(reviewKey);
        }
        if (!targetDone)
            return false;
        text.lines.append(c.line);
        text.faults.append(faults);
        text.reviewed = reviewed;
        text.words += int(line.words.size());
        return true;
    }

    bool full(const Text& text) const
    {
        return text.lines.size() >= MaxLines || text.reviewed.size() >= MaxWordsPerText
            || (text.lines.size() >= MinLines && text.words >= length_);
    }

    // A text short of lines or words takes more lines of the words it
    // reviews, then of the others.
    void fill(Text& text, const QList<Word>& order) const
    {
        QList<Word> own;
        QList<Word> others;
        for (const Word& w : order)
            (text.reviewed.contains(key(w.word)) ? own : others).append(w);
        for (const QList<Word>* group : {&own, &others}) {
            bool added = true;
            while (added && !full(text)) {
                added = false;
                for (const Word& w : *group) {
                    if (full(text))
                        break;
                    for (const Candidate& c : candidates(w)) {
                        if (place(text, c)) {
                            added = true;
                            break;
                        }
                    }
                }
            }
        }
    }

    QList<Text> compose(const QList<Word>& order) const
    {
        QList<Text> texts;
        Text current;
        QSet<QString> done;
        const auto close = [&] {
            if (!current.lines.isEmpty())
                texts.append(current);
            current = {};
        };
        for (const Word& w : order) {
            if (texts.size() >= MaxTexts)
                break;
            const QString k = key(w.word);
            if (done.contains(k))
                continue;
            for (const Candidate& c : candidates(w)) {
                if (place(current, c))
                    break;
            }
            for (const QString& r : std::as_const(current.reviewed))
                done.insert(r);
            if (full(current))
                close();
        }
        close();
        for (Text& text : texts) {
            if (!full(text))
                fill(text, order);
        }
        return texts;
    }

private:
    QHash<QString, Word> words_;
    const QHash<QString, Word>& failed_;
    const Corpus& corpus_;
    int length_;
    quint32 seed_;
};

}  // namespace

QList<itemwriter::Draft> compose(const QList<Word>& words, const QHash<QString, Word>& failed, const Corpus& corpus,
                                 int length, quint32 seed)
{
    const Composer composer(words, failed, corpus, length, seed);
    const std::optional<families::Family> weakest = weakestFamily(words);
    QList<itemwriter::Draft> drafts;
    const QList<Text> texts = composer.compose(words);
    for (qsizetype t = 0; t < texts.size(); ++t) {
        const Text& text = texts[t];
        itemwriter::Draft draft;
        qsizetype before = 0;
        for (qsizetype l = 0; l < text.lines.size(); ++l) {
            const QStringList& correct = corpus.lines[text.lines[l]].words;
            QStringList faulty = correct;
            const QHash<int, QString>& faults = text.faults[l];
            for (qsizetype j = 0; j < correct.size(); ++j) {
                const auto it = faults.constFind(int(j));
                if (it == faults.constEnd())
                    continue;
                faulty[j] = *it;
                draft.misspellings.append({int(l + 1), before + j, correct[j], *it});
            }
            draft.correctLines.append(correct.join(u' '));
            draft.faultyLines.append(faulty.join(u' '));
            before += correct.size();
        }
        if (weakest) {
            // One or two more words of the family she fails most.
            QRandomGenerator random(seed + quint32(t));
            const auto noWord = [](const QString&) { return false; };
            const int more = text.lines.size() > MinLines ? 2 : 1;
            for (int count = more; count > 0; --count) {
                if (itemwriter::addMisspellings(draft, {*weakest}, count, random, noWord).isEmpty())
                    break;
            }
        }
        if (itemwriter::checkLimits(draft).isEmpty())
            drafts.append(draft);
    }
    return drafts;
}

}  // namespace review
