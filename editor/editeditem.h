// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "library/families.h"
#include "library/itemwriter.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QRandomGenerator;

namespace editor {

// Where a word position stands in the correct text: its offset, its length
// and its line (from 1).
struct WordSlot {
    qsizetype start = 0;
    qsizetype length = 0;
    int line = 1;
    bool operator==(const WordSlot&) const = default;
};

// A misspelling a family proposes for a word.
struct Proposal {
    families::Family family;
    QString faulty;
};

// The item a teacher is writing: the correct text, as typed, and the
// misspellings chosen for its words, by word position. When the text changes,
// the misspellings of the words before and after the change stay with their
// words; those of the words changed are dropped. Everything written goes
// through library/itemwriter.h.
class EditedItem {
public:
    const QString& text() const { return text_; }
    void setText(const QString& text);

    // The word positions of the correct text, cut as the program cuts them,
    // and where each stands.
    const QStringList& words() const { return words_; }
    const QList<WordSlot>& places() const { return places_; }
    // The word position at a character offset of the text (a caret before,
    // inside or just after a word), if any.
    std::optional<qsizetype> wordAt(qsizetype offset) const;
    // The same at a character offset of faultyText(): the word whose form
    // there (its misspelling, if it has one) holds the caret. A misspelling
    // is one word, so both versions have the same word positions.
    std::optional<qsizetype> faultyWordAt(qsizetype offset) const;

    const QMap<qsizetype, QString>& misspellings() const { return misspellings_; }
    // Gives the word at `position` the faulty form `faulty`. Refused, with a
    // Spanish reason, for an empty word, a form equal to the word, a form
    // with a space or a line break in it, or one with an empty word left.
    QString setMisspelling(qsizetype position, const QString& faulty);
    void removeMisspelling(qsizetype position);
    void clearMisspellings() { misspellings_.clear(); }

    // The misspellings every family proposes for the word at `position`,
    // family by family, each form once.
    QList<Proposal> proposals(qsizetype position) const;

    // Adds `count` misspellings of `families` to the words without one, as
    // miravellon-crear does. A Spanish reason, and nothing changed, when the
    // text cannot take them.
    QString addMisspellings(const QList<families::Family>& families, int count, QRandomGenerator& random,
                            const std::function<bool(const QString&)>& isWord);

    // The version with misspellings, lines ended by line feeds as in text().
    QString faultyText() const;
    // The places of the misspelt words in faultyText().
    QList<WordSlot> faultyPlaces() const;
    // Both versions, for itemwriter::checkLimits() and itemwriter::write().
    itemwriter::Draft draft() const;

    // Takes a text that may hold misspellings written {correcto|falta}; a
    // Spanish reason, and nothing changed, when a mark is ill-formed.
    QString setNotation(const QString& text);

    // Reads item `number` of an exercise folder. A warning (the item is still
    // loaded) when the versions do not pair, or a reason when the correct
    // version cannot be read.
    QString load(const QString& exerciseFolder, int number);

private:
    // `position`, when it is a word of the text that is not empty.
    std::optional<qsizetype> wordIn(std::optional<qsizetype> position) const;

    QString text_;
    QStringList words_;
    QList<WordSlot> places_;
    QMap<qsizetype, QString> misspellings_;
};

// The text of a .txt file a teacher imports: decoded as the program decodes
// its texts, accented letters composed. A reason when it is not a text.
struct ImportedText {
    QString text;
    QString error;
};
ImportedText importText(const QString& path);

}  // namespace editor
