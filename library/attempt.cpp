#include "library/attempt.h"

#include <algorithm>

namespace results {

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

}  // namespace results
