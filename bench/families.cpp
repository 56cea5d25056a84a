// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench/families.h"

#include "bench/textgen.h"
#include "library/families.h"
#include "library/itemwriter.h"
#include "library/spelling.h"
#include "library/textfile.h"

#include <QRandomGenerator>

#include <benchmark/benchmark.h>

namespace familiesbench {

namespace {

// 4 MiB of 1000-letter words (4194 of them), each made of `letters` repeated:
// every letter of a family's pair is a place for a misspelling.
QStringList longWords(const QString& letters)
{
    QString word;
    while (word.size() < textfile::MaxWordLength)
        word += letters;
    word.truncate(textfile::MaxWordLength);
    const qsizetype count = textfile::MaxFileBytes / (word.size() + 1);
    QStringList lines;
    for (qsizetype k = 0; k < count; k += 8)
        lines.append(QStringList(std::min<qsizetype>(8, count - k), word).join(u' '));
    return lines;
}

// Chooses `count` misspellings of `family` in `lines` as miravellon-crear
// does, with the Spanish dictionary telling real words (when installed).
void choose(benchmark::State& state, const QStringList& lines, const QString& family)
{
    const spelling::Dictionary& dictionary = spelling::Dictionary::spanish();
    const QList<families::Family> chosenFamilies = families::named(family);
    qint64 bytes = 0;
    for (const QString& line : lines)
        bytes += line.size() + 2;
    for (auto _ : state) {
        itemwriter::Draft draft = itemwriter::parse(lines).draft;
        QRandomGenerator random(7);
        const QString error = itemwriter::addMisspellings(draft, chosenFamilies, 5, random,
                                                          [&](const QString& w) { return dictionary.knows(w); });
        if (!error.isEmpty()) {
            state.SkipWithError(error.toStdString().c_str());
            return;
        }
        benchmark::DoNotOptimize(draft.faultyLines.data());
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["dictionary"] = dictionary.isAvailable() ? 1 : 0;
}

void longWordsOneFamily(benchmark::State& state)
{
    static const QStringList lines = longWords(QStringLiteral("abv"));
    choose(state, lines, QStringLiteral("bv"));
}

void longWordsEveryFamily(benchmark::State& state)
{
    // Letters of every family: b, v, h, g before e, ll, y, c, z, s, r, m before p, accents.
    static const QStringList lines = longWords(QStringLiteral("bavehogellayocezasarrampáb"));
    choose(state, lines, QStringLiteral("todas"));
}

void ordinaryTextEveryFamily(benchmark::State& state)
{
    static const QStringList lines = textgen::generate(int(textfile::MaxWords)).correctLines;
    choose(state, lines, QStringLiteral("todas"));
}

}  // namespace

void registerAll()
{
    for (const auto& [name, function] :
         {std::pair{"families/choose_4MiB_long_words_bv", &longWordsOneFamily},
          std::pair{"families/choose_4MiB_long_words_todas", &longWordsEveryFamily},
          std::pair{"families/choose_32767_words_todas", &ordinaryTextEveryFamily}})
        benchmark::RegisterBenchmark(name, function)->Unit(benchmark::kMillisecond)->UseRealTime();
}

}  // namespace familiesbench
