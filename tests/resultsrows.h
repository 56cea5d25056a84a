// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Rows of the results files for the tests that read folders of them back.

#include "library/results.h"

// A row of `pupil` on `date`, its failed words `failures` (as many as the
// count of words with a failure), written at 11:00:00, sixty seconds long.
inline results::Row rowOf(const QString& pupil, QDate date, const QString& exercise, bool finished, bool inTime,
                          int corrected, const QStringList& failures)
{
    results::Row row;
    row.date = date;
    row.time = QTime(11, 0, 0);
    row.pupil = pupil;
    row.exercise = exercise;
    row.item = 1;
    row.finished = finished;
    row.inTime = inTime;
    row.seconds = 60;
    row.corrected = corrected;
    row.failed = int(failures.size());
    row.setFailures(failures);
    return row;
}
