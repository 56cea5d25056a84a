// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/classtables.h"

#include <QHeaderView>
#include <QLocale>
#include <QTableWidget>

namespace resultstables {

namespace {

QTableWidgetItem* text(const QString& value)
{
    return new QTableWidgetItem(value);
}

QTableWidgetItem* number(qint64 value)
{
    auto* item = new QTableWidgetItem(QString::number(value));
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

void start(QTableWidget* table, const QStringList& headers, qsizetype rows)
{
    table->clearContents();
    table->setColumnCount(int(headers.size()));
    table->setHorizontalHeaderLabels(headers);
    table->setRowCount(int(rows));
}

void finish(QTableWidget* table, int stretched)
{
    table->resizeColumnsToContents();
    if (stretched >= 0 && stretched < table->columnCount())
        table->horizontalHeader()->setSectionResizeMode(stretched, QHeaderView::Stretch);
}

QString yesNo(bool value)
{
    return value ? QStringLiteral("sí") : QStringLiteral("no");
}

}  // namespace

QStringList pupilColumns()
{
    return {QStringLiteral("Alumno"),      QStringLiteral("Días"),
            QStringLiteral("Textos empezados"), QStringLiteral("Terminados"),
            QStringLiteral("En el plazo"), QStringLiteral("Palabras corregidas"),
            QStringLiteral("Palabras con fallo"), QStringLiteral("En repaso")};
}

QString underReview(const UnderReview& review, const QString& pupil)
{
    const QList<review::Word> words = review.value(pupil);
    if (words.isEmpty())
        return QStringLiteral("0");
    QStringList which;
    for (const review::Word& w : words)
        which.append(w.word);
    return QStringLiteral("%1 (%2)").arg(words.size()).arg(which.join(QStringLiteral(", ")));
}

void fillPupils(QTableWidget* table, const QList<results::PupilSummary>& summaries, const UnderReview& review)
{
    // Filled column by column is the same work; keeping the header settings
    // avoids a relayout per line.
    table->setUpdatesEnabled(false);
    start(table, pupilColumns(), summaries.size());
    for (int r = 0; r < int(summaries.size()); ++r) {
        const results::PupilSummary& s = summaries.at(r);
        table->setItem(r, 0, text(s.pupil));
        const qint64 numbers[] = {s.days, s.started, s.finished, s.inTime, s.corrected, s.failed};
        for (int c = 0; c < 6; ++c)
            table->setItem(r, c + 1, number(numbers[c]));
        table->setItem(r, 7, text(underReview(review, s.pupil)));
    }
    finish(table, 0);
    table->setUpdatesEnabled(true);
}

void fillFamilies(QTableWidget* table, const results::FamilyTable& families)
{
    table->setUpdatesEnabled(false);
    start(table, QStringList{QStringLiteral("Alumno")} + families.families, families.pupils.size());
    for (int r = 0; r < int(families.pupils.size()); ++r) {
        table->setItem(r, 0, text(families.pupils.at(r)));
        for (int c = 0; c < int(families.families.size()); ++c)
            table->setItem(r, c + 1, number(families.counts.at(r).value(c)));
    }
    finish(table, -1);
    table->setUpdatesEnabled(true);
}

QStringList textColumns()
{
    return {QStringLiteral("Fecha"),    QStringLiteral("Hora"),       QStringLiteral("Ejercicio"),
            QStringLiteral("Texto"),    QStringLiteral("Terminado"),  QStringLiteral("En plazo"),
            QStringLiteral("Segundos"), QStringLiteral("Corregidas"), QStringLiteral("Con fallo"),
            QStringLiteral("Fallos y lo que escribió")};
}

QStringList textCells(const results::Row& row)
{
    QStringList failures;
    for (qsizetype i = 0; i < row.failures().size(); ++i)
        failures.append(results::failureText(row, i));
    return {row.date.toString(QStringLiteral("dd/MM/yyyy")),
            row.time.toString(QStringLiteral("HH:mm")),
            row.exercise,
            QString::number(row.item),
            yesNo(row.finished),
            yesNo(row.inTime),
            QString::number(row.seconds),
            QString::number(row.corrected),
            QString::number(row.failed),
            failures.join(QStringLiteral(", "))};
}

void fillTexts(QTableWidget* table, const QList<results::Row>& rows)
{
    start(table, textColumns(), rows.size());
    for (int r = 0; r < int(rows.size()); ++r) {
        const QStringList cells = textCells(rows.at(r));
        for (int c = 0; c < int(cells.size()); ++c) {
            QTableWidgetItem* item = c == 3 || (c >= 6 && c <= 8) ? number(0) : text(QString());
            item->setText(cells.at(c));
            table->setItem(r, c, item);
        }
    }
    finish(table, int(textColumns().size()) - 1);
}

void fillFamilyCounts(QTableWidget* table, const QList<results::FamilyCount>& counts)
{
    start(table, {QStringLiteral("Familia"), QStringLiteral("Fallos")}, counts.size());
    for (int r = 0; r < int(counts.size()); ++r) {
        table->setItem(r, 0, text(counts.at(r).family));
        table->setItem(r, 1, number(counts.at(r).count));
    }
    finish(table, 0);
}

}  // namespace resultstables
