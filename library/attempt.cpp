// SPDX-License-Identifier: GPL-3.0-or-later

#include "library/attempt.h"

#include "library/families.h"

#include <algorithm>

namespace results {

void Attempt::start(const QString& exercise, qint64 item, const QStringList& correctWords,
                    const QStringList& shownWords, const QDateTime& now)
{
    *this = Attempt();
    active_ = true;
    exercise_ = exercise;
    item_ = item;
    correct_ = correctWords;
    shown_ = shownWords;
    loaded_ = now;
}

void Attempt::leaveRed()
{
    for (auto it = state_.cbegin(); it != state_.cend(); ++it) {
        if (it.value() == Judgement::Wrong) {
            failed_.insert(it.key());
            const QString typed = normalWord(typed_.value(it.key()));
            leftRed_[it.key()] = typed.isEmpty() ? QStringLiteral("-") : typed;
        }
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

void Attempt::judge(int position, Judgement judgement, const QString& typed)
{
    if (!active_)
        return;
    state_[position] = judgement;
    typed_[position] = typed;
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
    QStringList failures;
    QStringList written;
    QStringList families;
    QStringList rightFirstTime;
    QList<int> positions(failed_.cbegin(), failed_.cend());
    std::sort(positions.begin(), positions.end());
    for (int p : positions) {
        // An empty correct word has no form to name.
        const QString correct = p >= 0 && p < correct_.size() ? correct_.at(p) : QString();
        if (normalWord(correct).isEmpty())
            continue;
        const QString shown = p >= 0 && p < shown_.size() ? shown_.at(p) : QString();
        failures.append(correct);
        written.append(leftRed_.value(p, QStringLiteral("-")));
        // The family is what differs between the correct word and the
        // misspelling the text showed, not what the pupil wrote.
        families.append(families::pairTokens(correct, shown));
    }
    QList<int> blue(blue_.cbegin(), blue_.cend());
    std::sort(blue.begin(), blue.end());
    for (int p : blue) {
        if (!failed_.contains(p) && p >= 0 && p < correct_.size())
            rightFirstTime.append(correct_.at(p));
    }
    row.setWords(failures, written, families, rightFirstTime);
    active_ = false;
    return normalised(row);
}

std::optional<Row> Attempt::provisional(const QString& pupil, const QDateTime& now) const
{
    if (!active_ || !picked_)
        return std::nullopt;
    Attempt copy = *this;
    return copy.finish(false, false, pupil, now);
}

}  // namespace results
