// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench/review.h"

#include "bench/textgen.h"
#include "library/pupilfile.h"
#include "library/review.h"
#include "tests/support.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace reviewbench {

namespace {

constexpr int Exercises = 20;
constexpr int TextsPerExercise = 12;
// A school year: 175 days, six texts a day.
constexpr int SchoolDays = 175;
constexpr int TextsPerDay = 6;

// The content tree, the results folder with one pupil's year of rows and
// where her review goes.
struct Year {
    TempTree tree;
    QString results() const { return tree.file(QStringLiteral("resultados")); }
    review::Request request;
    int rows = 0;
};

std::unique_ptr<Year> makeYear()
{
    auto year = std::make_unique<Year>();
    QStringList words;  // every correct word, for her failures
    for (int e = 0; e < Exercises; ++e) {
        const QString exercise = QStringLiteral("%1 Ejercicio").arg(e + 1, 2, 10, QLatin1Char('0'));
        for (int t = 1; t <= TextsPerExercise; ++t) {
            const textgen::Item item = textgen::generate(50 + e * TextsPerExercise + t);
            year->tree.writeItem(exercise, t, item.faultyLines, item.correctLines);
            if (e == 0 && t == 1)
                words = item.correctLines.join(u' ').split(u' ');
        }
    }
    QDir().mkpath(year->results());
    const QDate first(2025, 9, 8);
    int n = 0;
    for (int day = 0; day < SchoolDays; ++day) {
        const QDate date = first.addDays(day + day / 5 * 2);  // weekdays
        for (int t = 0; t < TextsPerDay; ++t, ++n) {
            results::Row row;
            row.date = date;
            row.time = QTime(9 + t, 0);
            row.pupil = QStringLiteral("Ana");
            row.exercise = QStringLiteral("%1 Ejercicio").arg(n % Exercises + 1, 2, 10, QLatin1Char('0'));
            row.item = n % TextsPerExercise + 1;
            row.finished = true;
            QStringList failures;
            QStringList written;
            QStringList families;
            QStringList right;
            for (int f = 0; f < 3; ++f) {
                const QString word = words[(n * 7 + f * 13) % words.size()];
                failures.append(word);
                written.append(word.mid(1));
                families.append(QStringLiteral("b/v"));
            }
            for (int r = 0; r < 10; ++r)
                right.append(words[(n * 11 + r * 5) % words.size()]);
            row.setWords(failures, written, families, right);
            row.failed = int(failures.size());
            results::appendRow(QDir(year->results()).filePath(results::fileName(date, row.pupil, QStringLiteral("aula"))),
                               row);
        }
    }
    year->rows = n;
    year->request.pupil = QStringLiteral("Ana");
    year->request.resultsFolder = year->results();
    year->request.exercises = catalogue::listCatalogue({year->tree.path()});
    year->request.root = year->tree.file(QStringLiteral("repaso/Ana"));
    return year;
}

void build(benchmark::State& state)
{
    static const std::unique_ptr<Year> year = makeYear();
    std::size_t texts = 0;
    for (auto _ : state) {
        const std::optional<catalogue::ListedExercise> built = review::build(year->request);
        if (!built) {
            state.SkipWithError("no review was built");
            return;
        }
        texts = QDir(built->folder + QStringLiteral("/correcto")).count() - 2;
    }
    state.counters["rows"] = year->rows;
    state.counters["texts"] = double(texts);
}

}  // namespace

void registerAll()
{
    benchmark::RegisterBenchmark("review/build_year_20x12", build)->Unit(benchmark::kMillisecond)->UseRealTime();
}

}  // namespace reviewbench
