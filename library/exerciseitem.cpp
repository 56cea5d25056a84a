// SPDX-License-Identifier: GPL-3.0-or-later

#include "library/exerciseitem.h"

ExerciseItem::ExerciseItem(textfile::Version faulty, textfile::Version correct)
    : shown_(std::move(faulty.shown))
    , correctShown_(std::move(correct.shown))
{
    faulty_.assign(std::move(faulty.words));
    correct_.assign(std::move(correct.words));
}

std::optional<WordSpan> ExerciseItem::wordAt(QStringView shown, int caret)
{
    const int length = int(shown.size());
    if (length < 2)
        return std::nullopt;
    caret = std::max(0, caret);
    if (caret + 1 >= length)
        caret = length - 2;

    int start = 0;
    if (caret > 0 && shown.at(caret - 1) != u' ') {
        for (int i = caret - 1; i >= 0; --i) {
            if (shown.at(i) == u'\n' || shown.at(i) == u' ') {
                start = i + 1;
                break;
            }
        }
    } else if (caret > 0) {
        start = caret;
        // Between a line's closing space and its line feed: the word meant is
        // the first one of the next line.
        if (shown.at(start) == u'\n')
            ++start;
    }
    const qsizetype space = shown.indexOf(u' ', start);
    WordSpan span;
    span.start = start;
    span.length = int(space < 0 ? length - start : space - start);
    span.wordCounter = int(shown.sliced(start).count(u' '));
    return span;
}

Judgement ExerciseItem::correct(int wordCounter, const QString& picked, const QString& typed)
{
    const int position = positionOf(wordCounter);
    faulty_.setEntry(position, typed);
    if (typed == picked)
        return Judgement::Unchanged;
    const bool inRange = position >= 0 && position < faulty_.count() && position < correct_.count();
    if (!inRange || faulty_.entry(position) != correct_.entry(position))
        return Judgement::Wrong;
    return Judgement::Right;
}

QList<std::pair<int, int>> ExerciseItem::remainingErrors() const
{
    // Word k of the shown text starts after its k-th space (and the line feed
    // that may follow it), so one pass over the text finds every start.
    QList<std::pair<int, int>> wrong;
    const QStringList& correct = correct_.words();
    const qsizetype size = correctShown_.size();
    qsizetype start = 0;
    for (qsizetype k = 0; k < correct.size() && start < size; ++k) {
        const QString& word = correct.at(k);
        if (word != faulty_.entry(k) && !word.isEmpty())
            wrong.append({int(start), int(start + word.size())});
        start += word.size() + 1;
        if (start < size && correctShown_.at(start) == u'\n')
            ++start;
    }
    return wrong;
}

QString ExerciseItem::withoutBreaks(const QString& text)
{
    QString kept;
    kept.reserve(text.size());
    for (QChar c : text) {
        if (!c.isSpace() && c != QChar::ParagraphSeparator && c != QChar::LineSeparator)
            kept += c;
    }
    return kept;
}

QString ExerciseItem::mended(const QString& typed)
{
    if (typed.contains(u' ') || typed.contains(u'\n') || typed.contains(u'\t'))
        return withoutBreaks(typed);
    return typed;
}
