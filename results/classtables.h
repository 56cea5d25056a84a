// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The tables of the teacher's view, filled from the summaries: the class per
// pupil, the class by spelling family, a pupil's texts and her families.
// Every name is an item's plain text: nothing a pupil typed is read as markup.

#include "library/results.h"

class QTableWidget;

namespace resultstables {

// The headers of the table per pupil.
QStringList pupilColumns();
// One line per pupil: her name and her counts.
void fillPupils(QTableWidget* table, const QList<results::PupilSummary>& summaries);
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
