// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: a teacher's text in the {correcto|falta} notation, then
// misspellings added by the families' choice, then the limits and the bytes
// that would be written. The first byte chooses the families (one of them, or
// all), the second how many misspellings to add and the seed; the rest is
// the text's bytes.

#include "tests/fuzz/fuzztargets.h"

#include "library/families.h"
#include "library/itemwriter.h"
#include "library/textfile.h"

#include <QRandomGenerator>
#include <QSet>

#include <string>

namespace fuzz {

namespace {

void require(bool holds, const char* property)
{
    if (!holds)
        throw PropertyFailure(std::string("notation: ") + property);
}

// The word positions where the two versions differ.
QList<qsizetype> differences(const itemwriter::Draft& draft)
{
    const QStringList correct = textfile::build(draft.correctLines).words;
    const QStringList faulty = textfile::build(draft.faultyLines).words;
    require(correct.size() == faulty.size(), "both versions have as many words");
    QList<qsizetype> out;
    for (qsizetype k = 0; k < correct.size(); ++k) {
        if (correct[k] != faulty[k])
            out.append(k);
    }
    return out;
}

void checkDraft(const QStringList& lines, const itemwriter::Draft& draft)
{
    require(draft.correctLines.size() == lines.size() && draft.faultyLines.size() == lines.size(),
            "one line of each version per line of the text");
    for (qsizetype l = 0; l < lines.size(); ++l) {
        require(draft.correctLines[l].count(u' ') == draft.faultyLines[l].count(u' '),
                "every line has as many words in both versions");
        for (const QString* line : {&draft.correctLines[l], &draft.faultyLines[l]}) {
            require(!line->contains(QChar(0xFEFF)), "no byte-order mark is left in a version");
            require(!line->contains(u'{') && !line->contains(u'|') && !line->contains(u'}'),
                    "no mark is left in a version");
        }
    }
    QList<qsizetype> marked;
    for (const itemwriter::Misspelling& m : draft.misspellings) {
        require(m.line >= 1 && m.line <= lines.size(), "a misspelling's line is one of the text's");
        require(m.correct != m.faulty && !m.faulty.isEmpty() && !m.correct.isEmpty(),
                "a misspelling changes a word and leaves none empty");
        require(marked.isEmpty() || marked.last() < m.word, "misspellings in the order of the text, one a word");
        marked.append(m.word);
    }
    require(differences(draft) == marked, "the versions differ exactly at the misspellings");
}

}  // namespace

void notationAndFamilies(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return;
    const QList<families::Family> all = families::named(QStringLiteral("todas"));
    const qsizetype pick = data[0] % (all.size() + 1);
    const QList<families::Family> chosenFamilies = pick == all.size() ? all : QList{all[pick]};
    const int count = data[1] % 8;
    const QByteArray bytes(reinterpret_cast<const char*>(data + 2), qsizetype(size - 2));
    const QStringList lines = textfile::splitLines(textfile::decode(bytes));

    const itemwriter::DraftResult parsed = itemwriter::parse(lines);
    if (!parsed.error.isEmpty()) {
        require(parsed.error.startsWith(QStringLiteral("línea ")), "a refusal names its line");
        return;
    }
    checkDraft(lines, parsed.draft);

    // A stand-in for the dictionary that knows some forms: words of an even
    // length.
    const auto isWord = [](const QString& word) { return word.size() % 2 == 0; };
    itemwriter::Draft draft = parsed.draft;
    QRandomGenerator random(data[1]);
    const QString added = itemwriter::addMisspellings(draft, chosenFamilies, count, random, isWord);
    if (!added.isEmpty()) {
        require(draft.faultyLines == parsed.draft.faultyLines && draft.misspellings.size() == parsed.draft.misspellings.size(),
                "a refused choice leaves the draft as it was");
    } else {
        require(draft.correctLines == parsed.draft.correctLines, "the correct version never changes");
        require(draft.misspellings.size() == parsed.draft.misspellings.size() + count, "as many misspellings as asked");
        checkDraft(lines, draft);
        QSet<qsizetype> written;
        for (const itemwriter::Misspelling& m : parsed.draft.misspellings)
            written.insert(m.word);
        for (const itemwriter::Misspelling& m : draft.misspellings) {
            if (written.contains(m.word))
                continue;
            bool proposed = false;
            for (const families::Family family : chosenFamilies)
                proposed = proposed || families::misspellings(m.correct, family).contains(m.faulty);
            require(proposed, "an added misspelling is one its families propose");
        }
    }

    // What would be written reads back as meant, or is refused.
    if (itemwriter::checkLimits(draft).isEmpty()) {
        for (const QStringList* version : {&draft.correctLines, &draft.faultyLines}) {
            const QByteArray written = itemwriter::encode(*version);
            require(written.size() <= textfile::MaxFileBytes, "an accepted version fits the program's limit");
            const textfile::ReadResult read = textfile::check(written);
            require(read.status == textfile::ReadStatus::Ok, "an accepted version is read by the program");
            require(read.version.words == textfile::build(*version).words, "an accepted version reads back the same");
        }
    }
}

}  // namespace fuzz
