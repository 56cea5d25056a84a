// SPDX-License-Identifier: GPL-3.0-or-later
// Costs of the pupil's actions on texts of 100 to 32767 words, measured on the
// real main window offscreen, next to the floor: one plain pass over the
// text's characters and one comparison of the two word lists.
//
// Every action is timed as the pupil waits for it: the handler, then one turn
// of the event loop (posted events, layout of what is in view, the repaint).
// The layout a text box leaves for its timer is then run to its end, step by
// step, and reported beside it (window.h). The benchmark's time is the
// wall-clock wait; the counters give processor times. Where one iteration
// holds two actions (into help and back, a wrong then a right form), only the
// one named is timed.

#include "bench/content.h"
#include "bench/families.h"
#include "bench/probe.h"
#include "bench/review.h"
#include "bench/window.h"
#include "library/textfile.h"
#include "library/textsize.h"
#include "presentation/richtextbox.h"
#include "presentation/zarandel.h"
#include "tests/support.h"
#include "windows/resources.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QLoggingCategory>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

// The content tree and the windows, made once for the whole run and gone
// before the application object.
struct Session {
    QTemporaryDir dir;
    std::unique_ptr<MainWindowHarness> pupil;  // where the actions happen
    std::unique_ptr<MainWindowHarness> fresh;  // a window with no item loaded
};
Session* session = nullptr;

QString root()
{
    return session->dir.path();
}

QString versionPath(const char* version, int words)
{
    return content::versionPath(root(), QString::fromLatin1(version), words);
}

// What the timed actions cost, reported per iteration in milliseconds: the
// processor time the pupil waits (the wall-clock wait is the benchmark's own
// time), the largest background layout step that followed, what those steps
// took together, and the whole of it.
class CostCounter {
public:
    // Adds one timed action and returns its wall-clock wait.
    double add(const window::Cost& cost)
    {
        cpu_ += cost.cpu;
        rest_ += cost.rest;
        stepMax_ = std::max(stepMax_, cost.stepMax);
        return cost.wall;
    }
    void report(benchmark::State& state) const
    {
        using benchmark::Counter;
        state.counters["cpu_ms"] = Counter(cpu_ * 1e3, Counter::kAvgIterations);
        state.counters["step_max_ms"] = stepMax_ * 1e3;
        state.counters["after_ms"] = Counter(rest_ * 1e3, Counter::kAvgIterations);
        state.counters["full_ms"] = Counter((cpu_ + rest_) * 1e3, Counter::kAvgIterations);
    }

private:
    double cpu_ = 0;
    double rest_ = 0;
    double stepMax_ = 0;
};

// The pupil's window with the item of `words` words freshly loaded, the
// countdown stopped and the runner hidden (their ticks would land at random in
// the timings). False, with the reason given to `state`, when it went wrong.
bool loadItem(benchmark::State& state, int words)
{
    if (!session->pupil) {
        session->pupil = std::make_unique<MainWindowHarness>(root());
        session->pupil->chooseExercise(0);
    }
    MainWindowHarness& h = *session->pupil;
    h.messages.clear();
    auto* number = h.find<QLineEdit>("Text1");
    const QString digits = QString::number(content::itemFor(words));
    if (number->text() != digits)
        number->setText(digits);  // typing the item number loads it
    else
        h.form().LoadExerciseItem();
    h.find<QTimer>("Timer1")->stop();
    h.find<Zarandel>("Zarandel1")->hide();
    window::settle();
    if (!h.messages.isEmpty() || h.form().correctWords().count() != words) {
        state.SkipWithError("the item did not load");
        return false;
    }
    return true;
}

// The word list of the correct version, read on its own so that it shares no
// string with the lists the window holds (as two files read apart never do).
QStringList correctWordsRead(int words)
{
    return textfile::read(versionPath("correcto", words)).version.words;
}

void floorCharacterPass(benchmark::State& state)
{
    const int words = int(state.range(0));
    const QString shown = textfile::read(versionPath("incorrecto", words)).version.shown;
    for (auto _ : state) {
        int spaces = 0;
        for (QChar c : shown) {
            if (c == u' ')
                ++spaces;
        }
        benchmark::DoNotOptimize(spaces);
    }
    state.counters["chars"] = double(shown.size());
}

void floorListComparison(benchmark::State& state)
{
    const int words = int(state.range(0));
    const QStringList correct = correctWordsRead(words);
    const QStringList again = correctWordsRead(words);
    for (auto _ : state)
        benchmark::DoNotOptimize(correct == again);
}

void readBothVersions(benchmark::State& state)
{
    const int words = int(state.range(0));
    const QString faulty = versionPath("incorrecto", words);
    const QString correct = versionPath("correcto", words);
    for (auto _ : state) {
        textfile::ReadResult f = textfile::read(faulty);
        textfile::ReadResult c = textfile::read(correct);
        benchmark::DoNotOptimize(f);
        benchmark::DoNotOptimize(c);
    }
}

void loadExerciseItem(benchmark::State& state)
{
    const int words = int(state.range(0));
    if (!loadItem(state, words))
        return;
    MainWindowHarness& h = *session->pupil;
    CostCounter cost;
    for (auto _ : state)
        state.SetIterationTime(cost.add(window::act([&] { h.form().LoadExerciseItem(); })));
    cost.report(state);
    h.find<QTimer>("Timer1")->stop();
}

// Picks alternate between two words near the start or the end of the text,
// with the text scrolled there as the pupil would have it.
void pick(benchmark::State& state, bool atEnd)
{
    const int words = int(state.range(0));
    if (!loadItem(state, words))
        return;
    MainWindowHarness& h = *session->pupil;
    const QVector<int> starts = textgen::wordStarts(h.text()->text());
    const int n = int(starts.size());
    const int first = atEnd ? n - 1 : 0;
    const int second = atEnd ? std::max(0, n - 3) : std::min(2, n - 1);
    // Inside the word (or just after a one-letter word): either way it is picked.
    const std::array<int, 2> offsets{starts[first] + 1, starts[second] + 1};
    h.text()->setSelStart(atEnd ? h.text()->textLength() : 0);
    window::settle();
    int i = 0;
    CostCounter cost;
    for (auto _ : state)
        state.SetIterationTime(cost.add(window::act([&] { window::clickText(h, offsets[std::size_t(i++ & 1)]); })));
    cost.report(state);
    const int last = (i - 1) & 1 ? second : first;
    if (h.form().pickedWord() != h.form().faultyWords().entry(last))
        state.SkipWithError("the click picked another word");
}

// The picked word is a misspelt one near the start or the end of the text;
// every other error has been corrected already, so a right form completes the
// text and the completion test runs over the whole word lists. Each iteration
// types a wrong form and then the right one, with a key release after each.
void keyRelease(benchmark::State& state, bool timeRight, bool atEnd)
{
    const int words = int(state.range(0));
    if (!loadItem(state, words))
        return;
    MainWindowHarness& h = *session->pupil;
    Form1& form = h.form();
    const QVector<int>& errors = content::item(words).errors;
    const int target = atEnd ? errors.back() : errors.front();
    const QString picked = form.faultyWords().entry(target);
    QStringList corrected = correctWordsRead(words);
    corrected[target] = picked;
    form.List3.assign(corrected);

    const int start = textgen::wordStarts(h.text()->text()).at(target);
    h.text()->setSelStart(start);
    window::settle();
    window::clickText(h, start + 1);
    window::settle();
    if (form.pickedWord() != picked) {
        state.SkipWithError("the click picked another word");
        return;
    }
    const QString right = form.correctWords().entry(target);
    QString wrong = right + u'q';
    if (wrong == picked)
        wrong = right + u'k';

    RichTextBox* correction = h.correction();
    auto release = [&](const QString& typed) {
        correction->setText(typed);
        form.richtextbox3_KeyUp(0, {});
        window::settle();
    };
    CostCounter cost;
    auto timedRelease = [&](const QString& typed) {
        correction->setText(typed);
        return cost.add(window::act([&] { form.richtextbox3_KeyUp(0, {}); }));
    };
    // The first right form completes the text and writes the log once; that
    // key release is measured apart (completingKeyRelease).
    release(wrong);
    release(right);
    for (auto _ : state) {
        if (timeRight) {
            release(wrong);
            state.SetIterationTime(timedRelease(right));
        } else {
            state.SetIterationTime(timedRelease(wrong));
            release(right);
        }
    }
    cost.report(state);
    if (form.faultyWords().words() != form.correctWords().words())
        state.SkipWithError("the right form was not taken");
}

// Loads the item again (its completion is logged once per load), empties the
// log and leaves the text one key release from complete: the last word still
// wrong picked, its right form typed in the correction box. The log is
// emptied: a run holds hundreds of completions of the largest texts, far more
// than a pupil's log ever does.
bool prepareCompletion(benchmark::State& state, int words, const QStringList& corrected)
{
    if (!loadItem(state, words))
        return false;
    MainWindowHarness& h = *session->pupil;
    Form1& form = h.form();
    if (Form4* log = form.form4())
        log->RichTextBox1()->setText(QString());
    const int target = content::item(words).errors.back();
    QStringList pending = corrected;
    pending[target] = form.faultyWords().entry(target);
    form.List3.assign(pending);
    const int start = textgen::wordStarts(h.text()->text()).at(target);
    h.text()->setSelStart(start);
    window::settle();
    window::clickText(h, start + 1);
    window::settle();
    h.correction()->setText(form.correctWords().entry(target));
    return true;
}

bool completed(benchmark::State& state)
{
    QStringList& cues = session->pupil->cues.cues;
    const bool done = cues.contains(QStringLiteral("muybien")) || cues.contains(QStringLiteral("bien"));
    cues.clear();
    if (!done)
        state.SkipWithError("the text was not completed");
    return done;
}

// The key release that completes the text: the right form of the last word
// still wrong, which also writes the text into the results log. It happens
// once per loaded item, so every iteration loads the item again (untimed).
void completingKeyRelease(benchmark::State& state)
{
    const int words = int(state.range(0));
    const QStringList corrected = correctWordsRead(words);
    CostCounter cost;
    for (auto _ : state) {
        if (!prepareCompletion(state, words, corrected))
            return;
        Form1& form = session->pupil->form();
        state.SetIterationTime(cost.add(window::act([&] { form.richtextbox3_KeyUp(0, {}); })));
        if (!completed(state))
            return;
    }
    cost.report(state);
}

// The results button pressed after the text was completed with the exercise
// window in front (the log, written behind it, is shown), or, with `back`, the
// click in the log that brings the exercise window back.
void results(benchmark::State& state, bool back)
{
    const int words = int(state.range(0));
    const QStringList corrected = correctWordsRead(words);
    CostCounter cost;
    for (auto _ : state) {
        if (!prepareCompletion(state, words, corrected))
            return;
        Form1& form = session->pupil->form();
        form.richtextbox3_KeyUp(0, {});
        window::settle();
        if (!completed(state))
            return;
        if (!form.form4()->RichTextBox1()->layoutHeld()) {
            state.SkipWithError("the log was laid out behind the exercise window");
            return;
        }
        if (!back) {
            state.SetIterationTime(cost.add(window::act([&] { form.Command6_Click(); })));
            form.form4()->RichTextBox1_Click();
            window::settle();
        } else {
            form.Command6_Click();
            window::settle();
            state.SetIterationTime(cost.add(window::act([&] { form.form4()->RichTextBox1_Click(); })));
        }
        session->pupil->cues.cues.clear();
    }
    cost.report(state);
}

// Which press of the help button is timed.
enum class HelpPress {
    First,  // the first since the item was loaded: it marks every error
    Again,  // a later one, after going back: the marks are in place already
    Back,   // the one that goes back to the exercise text
};

// Help pressed twice, into the help view and back. With `everyWordWrong` the
// pupil's list differs from the correct one at every word position.
void help(benchmark::State& state, HelpPress timed, bool everyWordWrong)
{
    const int words = int(state.range(0));
    auto prepare = [&] {
        if (!loadItem(state, words))
            return false;
        if (everyWordWrong) {
            Form1& form = session->pupil->form();
            QStringList wrong = form.correctWords().words();
            for (QString& word : wrong)
                word += u'~';
            form.List3.assign(wrong);
        }
        return true;
    };
    if (!prepare())
        return;
    Form1& form = session->pupil->form();
    CostCounter cost;
    auto press = [&](bool measured) {
        if (measured)
            return cost.add(window::act([&] { form.Command1_Click(); }));
        form.Command1_Click();
        window::settle();
        return 0.0;
    };
    if (timed != HelpPress::First) {
        // The first press of the item is measured apart.
        press(false);
        press(false);
    }
    bool loaded = true;
    for (auto _ : state) {
        if (timed == HelpPress::First && !loaded && !prepare())
            return;
        loaded = false;
        const double show = press(timed != HelpPress::Back);
        const double back = press(timed == HelpPress::Back);
        state.SetIterationTime(timed == HelpPress::Back ? back : show);
    }
    cost.report(state);
    if (session->pupil->text()->isHidden())
        state.SkipWithError("help did not switch back");
}

void paceChange(benchmark::State& state)
{
    if (!loadItem(state, int(state.range(0))))
        return;
    Form1& form = session->pupil->form();
    int i = 0;
    CostCounter cost;
    for (auto _ : state)
        state.SetIterationTime(cost.add(window::act([&] { form.Command5_Click(i++ & 1); })));
    cost.report(state);
    form.findChild<QTimer*>(QStringLiteral("Timer1"))->stop();
}

// One step larger, then one smaller, with a word picked near the start and
// another near the end, so that the text holds all three sizes.
void textSize(benchmark::State& state)
{
    if (!loadItem(state, int(state.range(0))))
        return;
    MainWindowHarness& h = *session->pupil;
    const QVector<int> starts = textgen::wordStarts(h.text()->text());
    h.form().RichTextBox1_Click();  // the word at the caret, at the start
    h.text()->setSelStart(starts.last());
    h.form().RichTextBox1_Click();
    window::settle();
    int i = 0;
    CostCounter cost;
    for (auto _ : state)
        state.SetIterationTime(cost.add(window::act([&] { h.form().changeTextSize(i++ & 1 ? -1 : 1); })));
    cost.report(state);
    if (h.form().textSizes().normal != textsize::DesignNormal && h.form().textSizes().normal != 20)
        state.SkipWithError("the size did not step");
    h.form().changeTextSize(0);
    h.find<QTimer>("Timer1")->stop();
}

void formLoad(benchmark::State& state)
{
    if (!session->fresh)
        session->fresh = std::make_unique<MainWindowHarness>(root());
    MainWindowHarness& h = *session->fresh;
    CostCounter cost;
    for (auto _ : state)
        state.SetIterationTime(cost.add(window::act([&] { h.form().Form_Load(); })));
    cost.report(state);
    if (h.find<QListWidget>("List1")->count() != content::Exercises)
        state.SkipWithError("the exercises were not listed");
}

// A main window made, started (Form_Load), shown and painted.
void mainWindowStart(benchmark::State& state)
{
    CostCounter cost;
    for (auto _ : state) {
        std::unique_ptr<MainWindowHarness> h;
        state.SetIterationTime(cost.add(window::act([&] { h = std::make_unique<MainWindowHarness>(root()); })));
        h.reset();
        window::settle();
    }
    cost.report(state);
}

// MIRAVELLON_BENCH_ITERATIONS fixes the iteration count, for profiling runs
// under callgrind where the usual calibration would take far too long.
void common(benchmark::internal::Benchmark* b)
{
    b->Unit(benchmark::kMicrosecond);
    bool ok = false;
    const int iterations = qEnvironmentVariableIntValue("MIRAVELLON_BENCH_ITERATIONS", &ok);
    if (ok && iterations > 0)
        b->Iterations(iterations);
}

void sizes(benchmark::internal::Benchmark* b)
{
    for (int words : content::Sizes)
        b->Arg(words);
    b->ArgName("words");
    common(b);
}

void timed(benchmark::internal::Benchmark* b)
{
    sizes(b);
    b->UseRealTime();
}

void manual(benchmark::internal::Benchmark* b)
{
    sizes(b);
    b->UseManualTime();
}

void registerAll()
{
    benchmark::RegisterBenchmark("floor/char_pass", floorCharacterPass)->Apply(timed);
    benchmark::RegisterBenchmark("floor/list_compare", floorListComparison)->Apply(timed);
    benchmark::RegisterBenchmark("read_both_versions", readBothVersions)->Apply(timed);
    benchmark::RegisterBenchmark("load_item", loadExerciseItem)->Apply(manual);
    benchmark::RegisterBenchmark("pick/start", pick, false)->Apply(manual);
    benchmark::RegisterBenchmark("pick/end", pick, true)->Apply(manual);
    benchmark::RegisterBenchmark("key/wrong_start", keyRelease, false, false)->Apply(manual);
    benchmark::RegisterBenchmark("key/wrong_end", keyRelease, false, true)->Apply(manual);
    benchmark::RegisterBenchmark("key/right_start", keyRelease, true, false)->Apply(manual);
    benchmark::RegisterBenchmark("key/right_end", keyRelease, true, true)->Apply(manual);
    benchmark::RegisterBenchmark("key/completing", completingKeyRelease)->Apply(manual);
    benchmark::RegisterBenchmark("results/show", results, false)->Apply(manual);
    benchmark::RegisterBenchmark("results/back", results, true)->Apply(manual);
    benchmark::RegisterBenchmark("help/show_first", help, HelpPress::First, false)->Apply(manual);
    benchmark::RegisterBenchmark("help/show_again", help, HelpPress::Again, false)->Apply(manual);
    benchmark::RegisterBenchmark("help/hide", help, HelpPress::Back, false)->Apply(manual);
    benchmark::RegisterBenchmark("help/show_first_every_word_wrong", help, HelpPress::First, true)->Apply(manual);
    benchmark::RegisterBenchmark("pace_change", paceChange)->Apply(manual);
    benchmark::RegisterBenchmark("text_size_step", textSize)->Apply(manual);
    benchmark::RegisterBenchmark("form_load_71", formLoad)->UseManualTime()->Apply(common);
    benchmark::RegisterBenchmark("main_window_start_71", mainWindowStart)->UseManualTime()->Apply(common);
    familiesbench::registerAll();
    reviewbench::registerAll();
}

// The offscreen platform cannot raise windows and says so each time a window
// is raised; that line would drown the results.
QtMessageHandler defaultHandler = nullptr;

void dropRaiseWarning(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message != QLatin1String("This plugin does not support raise()"))
        defaultHandler(type, context, message);
}

}  // namespace

int main(int argc, char* argv[])
{
    QElapsedTimer sinceMain;
    sinceMain.start();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The results rows of the texts the benchmarks finish go to a temporary
    // folder, not into the home folder.
    const std::unique_ptr<QTemporaryDir> home = isolateXdgFolders();
    if (!home)
        return 1;

    // Two helper modes for what Google Benchmark cannot time: the content tree
    // for the start-up probe, and the probe itself (one per process).
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg.startsWith(QLatin1String("--write-tree=")))
            return content::write(arg.section(u'=', 1)) ? 0 : 1;
        if (arg.startsWith(QLatin1String("--probe=")))
            return probe::run(argc, argv, arg.section(u'=', 1), sinceMain);
    }

    // The text size benchmark writes the user's settings: into a folder of
    // its own, never the person's.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));

    defaultHandler = qInstallMessageHandler(dropRaiseWarning);
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setQuitOnLastWindowClosed(false);
    initFormResources();
    QLoggingCategory::setFilterRules(QStringLiteral("miravellon.*.info=false"));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    Session running;
    session = &running;
    if (!running.dir.isValid() || !content::write(running.dir.path())) {
        fprintf(stderr, "cannot write the content tree\n");
        return 1;
    }
    registerAll();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    running.pupil.reset();
    running.fresh.reset();
    session = nullptr;
    return 0;
}
