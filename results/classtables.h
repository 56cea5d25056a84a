// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The tables of the teacher's view, filled from the summaries: the class per
// pupil, the class by spelling family, a pupil's texts and her families.
// Every name is an item's plain text: nothing a pupil typed is read as markup.

#include "library/results.h"
#include "library/review.h"

class QTableWidget;

namespace resultstables {

// The headers of the table per pupil.
QStringList pupilColumns();
// The words each pupil has under review, by name.
using UnderReview = QMap<QString, QList<review::Word>>;
// Her words under review as a cell shows them: how many, then which.
QString underReview(const UnderReview& review, const QString& pupil);
// One line per pupil: her name, her counts and her words under review.
void fillPupils(QTableWidget* table, const QList<results::PupilSummary>& summaries, const UnderReview& review);
// Pupils × families, the failures in each.
void fillFamilies(QTableWidget* table, const results::FamilyTable& families);
// The headers of a pupil's texts.
QStringList textColumns();
// The cells of one of her texts, as the table and the report show them.
QStringList textCells(const results::Row& row);
// One line per text of a pupil, day by day.
void fillTexts(QTableWidget* table, const QList<results::Row>& rows);
// One line per family: its name and her failures in it.
void fillFamilyCounts(QTableWidget* table, const QList<results::FamilyCount>& counts);

}  // namespace resultstables
