// SPDX-License-Identifier: GPL-3.0-or-later

#include "results/report.h"

#include "results/classtables.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QTextDocument>

#include <limits>

namespace report {

namespace {

// The words most often failed that the report lists.
constexpr int ReportWords = 30;
// The family columns a portrait page holds beside the pupil's name.
constexpr int PortraitFamilies = 5;

QString esc(const QString& text)
{
    return text.toHtmlEscaped();
}

QString dateText(const QDate& date)
{
    return date.isValid() ? date.toString(QStringLiteral("dd/MM/yyyy")) : QStringLiteral("—");
}

// A table with a header line and lines of cells; the columns from
// `firstNumber` to `lastNumber` are right-aligned.
QString table(const QStringList& headers, const QList<QStringList>& lines, int firstNumber,
              int lastNumber = std::numeric_limits<int>::max())
{
    QString out = QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\"><tr>");
    for (const QString& header : headers)
        out += QStringLiteral("<th>") + esc(header) + QStringLiteral("</th>");
    out += QStringLiteral("</tr>");
    for (const QStringList& line : lines) {
        out += QStringLiteral("<tr>");
        for (int c = 0; c < int(line.size()); ++c) {
            out += c >= firstNumber && c <= lastNumber ? QStringLiteral("<td align=\"right\">")
                : c == 0            ? QStringLiteral("<td style=\"white-space: nowrap\">")
                                    : QStringLiteral("<td>");
            out += esc(line.at(c)) + QStringLiteral("</td>");
        }
        out += QStringLiteral("</tr>");
    }
    return out + QStringLiteral("</table>");
}

QString heading(int level, const QString& text)
{
    return QStringLiteral("<h%1>%2</h%1>").arg(level).arg(esc(text));
}

QString paragraph(const QString& text)
{
    return QStringLiteral("<p>") + esc(text) + QStringLiteral("</p>");
}

QString pupilPage(const Input& input, const results::PupilSummary& summary)
{
    const QList<results::Row> rows = results::pupilRows(*input.rows, input.filter, results::pupilKey(summary.pupil));
    QString out = QStringLiteral("<div style=\"page-break-before: always\">") + heading(2, summary.pupil);
    out += paragraph(QStringLiteral("%1 días, %2 textos empezados, %3 terminados, %4 en el plazo, %5 palabras "
                                    "corregidas, %6 palabras con fallo.")
                         .arg(summary.days)
                         .arg(summary.started)
                         .arg(summary.finished)
                         .arg(summary.inTime)
                         .arg(summary.corrected)
                         .arg(summary.failed));
    if (rows.isEmpty())
        return out + paragraph(QStringLiteral("Ningún texto en esta selección.")) + QStringLiteral("</div>");
    // One line a day: the window lists every text; on paper a school year
    // of texts would be some fifty pages a pupil.
    out += heading(3, QStringLiteral("Sus textos, día a día"));
    QList<QStringList> lines;
    for (const results::Day& day : results::dailyProgress(rows)) {
        lines.append({dateText(day.date), QString::number(day.texts), QString::number(day.finished),
                      QString::number(day.corrected), QString::number(day.failed),
                      day.failures.join(QStringLiteral(", "))});
    }
    out += table({QStringLiteral("Fecha"), QStringLiteral("Textos"), QStringLiteral("Terminados"),
                   QStringLiteral("Corregidas"), QStringLiteral("Con fallo"), QStringLiteral("Fallos y lo que escribió")},
                  lines, 1, 4);
    out += heading(3, QStringLiteral("Sus fallos por familia"));
    lines.clear();
    for (const results::FamilyCount& count : results::familyCounts(rows, {}))
        lines.append({count.family, QString::number(count.count)});
    out += lines.isEmpty() ? paragraph(QStringLiteral("Ninguna palabra con fallo."))
                           : table({QStringLiteral("Familia"), QStringLiteral("Fallos")}, lines, 1);
    out += heading(3, QStringLiteral("Progreso semana a semana"));
    lines.clear();
    for (const results::Week& week : results::weeklyProgress(rows)) {
        lines.append({QStringLiteral("Semana del ") + dateText(week.monday), QString::number(week.finished),
                      QString::number(week.corrected), QString::number(week.failed)});
    }
    out += table({QStringLiteral("Semana"), QStringLiteral("Textos terminados"), QStringLiteral("Palabras corregidas"),
                   QStringLiteral("Palabras con fallo")},
                  lines, 1);
    return out + QStringLiteral("</div>");
}

}  // namespace

QString html(const Input& input)
{
    static const QList<results::Row> none;
    Input in = input;
    if (!in.rows)
        in.rows = &none;
    const QList<results::PupilSummary> summaries = results::summarize(*in.rows, in.filter, in.classList);
    QString out = QStringLiteral("<html><body>");
    out += heading(1, QStringLiteral("Resultados de Miravellon"));
    out += paragraph(QStringLiteral("Carpeta: ") + QDir::toNativeSeparators(in.folder));
    QDate first = in.filter.from;
    QDate last = in.filter.to;
    for (const results::Row& row : *in.rows) {
        if (!results::matches(row, in.filter))
            continue;
        if (!in.filter.from.isValid() && (!first.isValid() || row.date < first))
            first = row.date;
        if (!in.filter.to.isValid() && (!last.isValid() || row.date > last))
            last = row.date;
    }
    out += paragraph(QStringLiteral("Desde el %1 hasta el %2. Ejercicio: %3.")
                         .arg(dateText(first), dateText(last),
                              in.filter.exercise.isEmpty() ? QStringLiteral("todos los ejercicios")
                                                           : in.filter.exercise));
    out += heading(2, QStringLiteral("La clase"));
    QList<QStringList> lines;
    const resultstables::UnderReview review = review::underReviewByPupil(*in.rows);
    for (const results::PupilSummary& s : summaries) {
        lines.append({s.pupil, QString::number(s.days), QString::number(s.started), QString::number(s.finished),
                      QString::number(s.inTime), QString::number(s.corrected), QString::number(s.failed),
                      resultstables::underReview(review, s.pupil)});
    }
    out += summaries.isEmpty() ? paragraph(QStringLiteral("Ningún texto en esta selección."))
                               : table(resultstables::pupilColumns(), lines, 1, 6);

    const results::FamilyTable families = results::classFamilies(*in.rows, in.filter, in.classList);
    if (!families.families.isEmpty()) {
        out += heading(2, QStringLiteral("La clase por familias (fallos en cada una)"));
        lines.clear();
        for (int r = 0; r < int(families.pupils.size()); ++r) {
            QStringList line{families.pupils.at(r)};
            for (qint64 count : families.counts.at(r))
                line.append(QString::number(count));
            lines.append(line);
        }
        out += table(QStringList{QStringLiteral("Alumno")} + families.families, lines, 1);
    }

    out += heading(2, QStringLiteral("Palabras con más fallos"));
    lines.clear();
    for (const results::FailedWord& word : results::mostFailed(*in.rows, in.filter, ReportWords))
        lines.append({word.word, word.families.join(QStringLiteral(", ")), QString::number(word.count)});
    out += lines.isEmpty() ? paragraph(QStringLiteral("Ninguna palabra con fallo en esta selección."))
                           : table({QStringLiteral("Palabra"), QStringLiteral("Familias"), QStringLiteral("Fallos")},
                                   lines, 2);

    for (const results::PupilSummary& s : summaries)
        out += pupilPage(in, s);
    return out + QStringLiteral("</body></html>");
}

bool needsLandscape(const Input& input)
{
    if (!input.rows)
        return false;
    return results::classFamilies(*input.rows, input.filter).families.size() > PortraitFamilies;
}

std::unique_ptr<QTextDocument> document(const Input& input)
{
    auto doc = std::make_unique<QTextDocument>();
    doc->setDocumentMargin(0);
    QFont font = doc->defaultFont();
    font.setPointSizeF(9);
    doc->setDefaultFont(font);
    doc->setHtml(html(input));
    doc->setMetaInformation(QTextDocument::DocumentTitle, QStringLiteral("Resultados de Miravellon"));
    return doc;
}

void print(const Input& input, QPrinter& printer)
{
    printer.setPageOrientation(needsLandscape(input) ? QPageLayout::Landscape : QPageLayout::Portrait);
    const std::unique_ptr<QTextDocument> doc = document(input);
    doc->print(&printer);
}

bool writePdf(const Input& input, const QString& path)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setDocName(QStringLiteral("Resultados"));
    printer.setOutputFileName(path);
    print(input, printer);
    // QPrinter tells no failure to open its file: check what is there.
    QFile written(path);
    return written.open(QIODevice::ReadOnly) && written.read(5) == "%PDF-";
}

}  // namespace report
