// SPDX-License-Identifier: GPL-3.0-or-later
// The teacher's view at school scale: generated results folders, and the time
// and memory taken to open one and to redraw it for a change of filter.
//
//     miravellon_results_bench --write DIR --pupils 500 --days 180 --naming month|day
//     miravellon_results_bench --read DIR      (reading and summarising only)
//     miravellon_results_bench --view DIR      (the whole view, offscreen)
//
// Prints one line of JSON per measure; peak memory is the process's maximum
// resident set.

#include "library/results.h"
#include "library/review.h"
#include "results/resultsview.h"

#include <QApplication>
#include <QComboBox>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>

#include <cstdio>

#include <sys/resource.h>

namespace {

const QStringList Exercises{
    QStringLiteral("01 Mayúsculas (1.º y 2.º)"), QStringLiteral("02 Punto y mayúscula (1.º y 2.º)"),
    QStringLiteral("06 B y V (3.º y 4.º)"),      QStringLiteral("07 H (3.º y 4.º)"),
    QStringLiteral("08 G y J (3.º y 4.º)"),      QStringLiteral("09 LL e Y (3.º y 4.º)"),
    QStringLiteral("11 R y RR (3.º y 4.º)"),     QStringLiteral("12 Tildes (5.º y 6.º)"),
};
// Correct word, a misspelt form and its family token.
const QList<std::array<QString, 3>> Words{
    {QStringLiteral("vaca"), QStringLiteral("baca"), QStringLiteral("b/v")},
    {QStringLiteral("hombre"), QStringLiteral("ombre"), QStringLiteral("h")},
    {QStringLiteral("gente"), QStringLiteral("jente"), QStringLiteral("g/j")},
    {QStringLiteral("lluvia"), QStringLiteral("yuvia"), QStringLiteral("ll/y")},
    {QStringLiteral("perro"), QStringLiteral("pero"), QStringLiteral("r/rr")},
    {QStringLiteral("camión"), QStringLiteral("camion"), QStringLiteral("tilde")},
    {QStringLiteral("Madrid"), QStringLiteral("madrid"), QStringLiteral("mayúscula")},
    {QStringLiteral("campo"), QStringLiteral("canpo"), QStringLiteral("mp/mb")},
    {QStringLiteral("bebía"), QStringLiteral("bevia"), QStringLiteral("b/v+tilde")},
    {QStringLiteral("zapato"), QStringLiteral("sapato"), QStringLiteral("c/z/s")},
};

qint64 peakKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Five texts a school day for every pupil, one machine each, 180 school days
// from September on (weekends skipped).
int write(const QString& folder, int pupils, int days, bool monthly)
{
    QDir().mkpath(folder);
    QRandomGenerator random(7);
    QList<QDate> schoolDays;
    for (QDate d(2025, 9, 8); schoolDays.size() < days; d = d.addDays(1)) {
        if (d.dayOfWeek() <= 5)
            schoolDays.append(d);
    }
    qint64 rows = 0;
    for (int p = 0; p < pupils; ++p) {
        const QString pupil = QStringLiteral("Alumno %1 Pérez").arg(p + 1, 3, 10, QChar(u'0'));
        const QString machine = QStringLiteral("aula%1-pc%2-3f9a").arg(p / 25 + 1).arg(p % 25 + 1);
        QMap<QString, QByteArray> files;
        for (const QDate& day : schoolDays) {
            // The files of a pupil's month, or of a pupil's day (the older naming).
            const QString name = day.toString(monthly ? QStringLiteral("yyyy-MM") : QStringLiteral("yyyy-MM-dd"))
                + u'_' + results::safeName(pupil, {}) + u'_' + machine + QStringLiteral(".csv");
            QByteArray& bytes = files[name];
            if (bytes.isEmpty())
                bytes = QByteArray("\xEF\xBB\xBF") + results::Header + "\r\n";
            for (int t = 0; t < 5; ++t) {
                results::Row row;
                row.date = day;
                row.time = QTime(9 + t, int(random.bounded(60)), int(random.bounded(60)));
                row.pupil = pupil;
                row.exercise = Exercises.at(random.bounded(int(Exercises.size())));
                row.item = random.bounded(1, 30);
                row.finished = random.bounded(10) < 8;
                row.inTime = row.finished && random.bounded(10) < 6;
                row.seconds = random.bounded(30, 600);
                const int failed = int(random.bounded(4));
                QStringList failures;
                QStringList written;
                QStringList families;
                for (int f = 0; f < failed; ++f) {
                    const auto& w = Words.at(random.bounded(int(Words.size())));
                    failures.append(w[0]);
                    written.append(w[1]);
                    families.append(w[2]);
                }
                row.setWords(failures, written, families, {QStringLiteral("casa"), QStringLiteral("árbol")});
                row.failed = failed;
                row.corrected = failed + int(random.bounded(4));
                bytes += results::encodeRow(row);
                ++rows;
            }
        }
        for (auto it = files.cbegin(); it != files.cend(); ++it) {
            QFile file(folder + u'/' + it.key());
            if (!file.open(QIODevice::WriteOnly) || file.write(*it) != it->size())
                return 1;
        }
    }
    std::printf("{\"rows\": %lld}\n", rows);
    return 0;
}

int read(const QString& folder)
{
    QElapsedTimer timer;
    timer.start();
    const results::Folder contents = results::readFolder(folder);
    const qint64 readNs = timer.nsecsElapsed();
    const QList<results::PupilSummary> summaries = results::summarize(contents.rows, {});
    const QStringList exercises = results::exercises(contents.rows);
    const qint64 totalNs = timer.nsecsElapsed();
    // What else the view works out when it opens the folder, one at a time.
    timer.restart();
    const qsizetype underReview = review::underReviewByPupil(contents.rows).size();
    const qint64 reviewNs = timer.nsecsElapsed();
    timer.restart();
    const qsizetype families = results::classFamilies(contents.rows, {}).families.size();
    const qint64 familiesNs = timer.nsecsElapsed();
    timer.restart();
    const qsizetype words = results::mostFailed(contents.rows, {}, 12).size();
    const qint64 wordsNs = timer.nsecsElapsed();
    std::printf("{\"measure\": \"read\", \"rows\": %lld, \"skipped\": %d, \"pupils\": %lld, \"exercises\": %lld, "
                "\"read_s\": %.3f, \"read_and_summary_s\": %.3f, \"review_s\": %.3f, \"families_s\": %.3f, "
                "\"most_failed_s\": %.3f, \"pupils_under_review\": %lld, \"families\": %lld, \"words\": %lld, "
                "\"peak_MiB\": %.1f}\n",
                qint64(contents.rows.size()), contents.skippedLines, qint64(summaries.size()), qint64(exercises.size()),
                readNs / 1e9, totalNs / 1e9, reviewNs / 1e9, familiesNs / 1e9, wordsNs / 1e9, qint64(underReview),
                qint64(families), qint64(words), peakKiB() / 1024.0);
    return 0;
}

int view(const QString& folder)
{
    ResultsView view;
    view.resize(1000, 700);
    view.show();
    QApplication::processEvents();
    QElapsedTimer timer;
    timer.start();
    view.openFolder(folder);
    QApplication::processEvents();
    const qint64 openNs = timer.nsecsElapsed();
    auto* exercise = view.findChild<QComboBox*>(QStringLiteral("Ejercicio"));
    qint64 worstNs = 0;
    for (int i = 1; i < exercise->count(); ++i) {
        timer.restart();
        exercise->setCurrentIndex(i);
        view.repaint();
        QApplication::processEvents();
        worstNs = std::max(worstNs, timer.nsecsElapsed());
    }
    std::printf("{\"measure\": \"view\", \"rows\": %lld, \"open_s\": %.3f, \"worst_filter_redraw_s\": %.3f, "
                "\"peak_MiB\": %.1f}\n",
                qint64(view.contents().rows.size()), openNs / 1e9, worstNs / 1e9, peakKiB() / 1024.0);
    return 0;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOptions({{QStringLiteral("write"), QStringLiteral("Writes a folder."), QStringLiteral("dir")},
                       {QStringLiteral("pupils"), QStringLiteral("Pupils."), QStringLiteral("n"), QStringLiteral("25")},
                       {QStringLiteral("days"), QStringLiteral("School days."), QStringLiteral("n"), QStringLiteral("180")},
                       {QStringLiteral("naming"), QStringLiteral("month or day."), QStringLiteral("n"), QStringLiteral("month")},
                       {QStringLiteral("read"), QStringLiteral("Reads a folder."), QStringLiteral("dir")},
                       {QStringLiteral("view"), QStringLiteral("Opens a folder in the view."), QStringLiteral("dir")}});
    parser.process(app);
    if (parser.isSet(QStringLiteral("write")))
        return write(parser.value(QStringLiteral("write")), parser.value(QStringLiteral("pupils")).toInt(),
                     parser.value(QStringLiteral("days")).toInt(), parser.value(QStringLiteral("naming")) != u"day"_qs);
    if (parser.isSet(QStringLiteral("read")))
        return read(parser.value(QStringLiteral("read")));
    if (parser.isSet(QStringLiteral("view")))
        return view(parser.value(QStringLiteral("view")));
    parser.showHelp(1);
}
