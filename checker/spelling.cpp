// SPDX-License-Identifier: GPL-3.0-or-later

#include "checker/spelling.h"

#include "checker/exercises.h"
#include "checker/report.h"

#include "library/spelling.h"

#include <QHash>
#include <QSet>

#include <optional>

namespace checker {

namespace {

using spelling::bareWord;

// The words no Spanish dictionary knows, out of `candidates`; nothing
// without a dictionary.
std::optional<QSet<QString>> unknownWords(const QStringList& candidates)
{
    const spelling::Dictionary& dictionary = spelling::Dictionary::spanish();
    if (!dictionary.isAvailable())
        return std::nullopt;
    QSet<QString> unknown;
    for (const QString& word : candidates) {
        if (!dictionary.knows(word))
            unknown.insert(word);
    }
    return unknown;
}

// Unknown words of the correct versions, once per file and word, at the
// first line they appear on.
void reportUnknownWords(const QList<WordUse>& uses, const QSet<QString>& unknown, Report& report)
{
    struct Found {
        QString place;
        QString word;
        QList<int> lines;
    };
    QList<Found> found;
    QHash<QString, qsizetype> index;  // place + word -> entry of `found`
    for (const WordUse& use : uses) {
        const QString bare = bareWord(use.word);
        if (bare.isEmpty() || !unknown.contains(bare))
            continue;
        const QString key = use.place + u'\n' + bare;
        const auto it = index.constFind(key);
        if (it == index.cend()) {
            index.insert(key, found.size());
            found.append({use.place, bare, {use.line}});
        } else if (found[*it].lines.last() != use.line) {
            found[*it].lines.append(use.line);
        }
    }
    for (const Found& f : found) {
        QString text = QStringLiteral("«%1» no está en el diccionario: compruebe cómo se escribe").arg(f.word);
        if (f.lines.size() > 1) {
            QStringList others;
            for (qsizetype i = 1; i < f.lines.size(); ++i)
                others.append(QString::number(f.lines[i]));
            text += (others.size() == 1 ? QStringLiteral(" (también en la línea %1)")
                                        : QStringLiteral(" (también en las líneas %1)"))
                        .arg(others.join(QStringLiteral(", ")));
        }
        report.add(Report::Kind::Warning, f.place, f.lines.first(), text);
    }
}

// A faulty form the dictionary knows: a homophone such as "baca" for "vaca".
// Errors of letter case or of punctuation alone are not spelling, and are
// left out.
void reportRealFaultyWords(const QList<Correction>& corrections, const QSet<QString>& unknown,
                           const acceptedwords::Lists& accepted, Report& report)
{
    for (const Correction& c : corrections) {
        const QString faulty = bareWord(c.faulty.word);
        const QString correct = bareWord(c.correct.word);
        if (faulty.isEmpty() || unknown.contains(faulty) || faulty.toLower() == correct.toLower()
            || accepted.intends(correct, faulty))
            continue;
        report.add(Report::Kind::Warning, c.faulty.place, c.faulty.line,
                   QStringLiteral("la forma con falta «%1» (por «%2») también es una palabra del diccionario: "
                                  "compruebe que la falta se entiende")
                       .arg(faulty, correct));
    }
}

}  // namespace

void checkSpelling(const TextWords& words, Report& report, const acceptedwords::Lists& accepted)
{
    QStringList candidates;
    QSet<QString> asked;
    const auto ask = [&](const QString& word) {
        const QString bare = bareWord(word);
        if (!bare.isEmpty() && !asked.contains(bare)) {
            asked.insert(bare);
            candidates.append(bare);
        }
    };
    for (const WordUse& use : words.correctWords)
        ask(use.word);
    for (const Correction& c : words.corrections)
        ask(c.faulty.word);
    if (candidates.isEmpty())
        return;

    std::optional<QSet<QString>> unknown = unknownWords(candidates);
    if (!unknown) {
        report.warning(QString(), QStringLiteral("no se ha comprobado la ortografía: ")
                                      + spelling::missingDictionaryText());
        return;
    }
    // A word the folder accepts is a word, though no dictionary knows it.
    unknown->removeIf([&](const QString& word) { return accepted.accepts(word); });
    reportUnknownWords(words.correctWords, *unknown, report);
    reportRealFaultyWords(words.corrections, *unknown, accepted, report);
}

}  // namespace checker
