// SPDX-License-Identifier: GPL-3.0-or-later
// The lasting results: who the pupil is, where the rows go, and the row each
// text worked yields (the rules are in library/results.h). The rows go
// through a queue in the pupil's own folder, written to the results folder
// by a thread of its own (library/rowqueue.h): the window never waits for
// the shared folder.

#include "library/catalogue.h"
#include "library/classlist.h"
#include "library/results.h"
#include "library/rowqueue.h"
#include "mainwindow/form1.h"
#include "presentation/prompts.h"
#include "ui_form1.h"
#include "windows/programstate.h"

#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSysInfo>
#include <QTimer>
#include <QWindow>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcRecording, "miravellon.recording")

namespace {

// How long the name question waits for the window to be on the screen.
constexpr int NameWaitMs = 20;
constexpr int NameWaits = 50;

// How long the end of the program waits for the rows being written: a dead
// network folder never holds the pupil up longer.
constexpr int ResultsWaitMs = 300;

// The end of a session (SIGTERM at shutdown, SIGHUP at logout) reaches the
// window through a pipe, as an ordinary event.
int endingPipe[2] = {-1, -1};

void onEndingSignal(int signal)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(endingPipe[1], &byte, 1);
    // A second signal ends the program the usual way.
    std::signal(signal, SIG_DFL);
}

// The notifier of the pipe, one for the program; null when the signals
// cannot be watched.
QSocketNotifier* endingSignals()
{
    static QSocketNotifier* notifier = [] {
        if (::pipe2(endingPipe, O_CLOEXEC | O_NONBLOCK) != 0)
            return static_cast<QSocketNotifier*>(nullptr);
        return new QSocketNotifier(endingPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    }();
    if (!notifier)
        return nullptr;
    // Again at each start: the first signal puts the default back.
    struct sigaction action {};
    action.sa_handler = onEndingSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGHUP, &action, nullptr);
    return notifier;
}

}  // namespace

void Form1::settleResultsFolder()
{
    // Never among the content: results in an exercise folder would be listed
    // as an exercise.
    QStringList content{AppFolder};
    for (const QString& root : catalogue::dataRoots())
        content << catalogue::exercisesFolder(root) << catalogue::resolve(root, QStringLiteral("Graficos"));
    if (!services_.trialFolder.isEmpty()) {
        qCInfo(lcRecording) << "trying" << services_.trialFolder << "text" << services_.trialItem
                            << "records no results";
        return;
    }
    resultsFolder_ = results::resolveFolder(results::configuredFolder(), content);
}

void Form1::startRecording()
{
    settleResultsFolder();
    pupil_ = results::accountName();
    // A teacher trying a text is asked nothing, and her work is not kept:
    // no name, no review, no row, not even one waiting in the queue.
    if (!services_.trialFolder.isEmpty())
        return;
    // Asked once the window is shown (see showEvent).
    nameWanted_ = results::askForName();
    qCInfo(lcRecording) << "results of" << pupil_ << "go to" << resultsFolder_;
    // What earlier sessions left in the queue is written now.
    rowQueue().setFolder(resultsFolder_);
    if (QSocketNotifier* ending = endingSignals())
        connect(ending, &QSocketNotifier::activated, this, &Form1::endSession, Qt::UniqueConnection);
    // Without the name question the pupil is known now; with it, once she
    // has answered.
    if (!nameWanted_)
        startReview();
}

results::RowQueue& Form1::rowQueue()
{
    if (!rows_) {
        if (resultsFolder_.isEmpty())
            settleResultsFolder();
        rows_ = std::make_unique<results::RowQueue>(results::RowQueue::defaultFolder(), resultsFolder_,
                                                    results::thisMachine());
        rows_->onRefused(
            [this] { QMetaObject::invokeMethod(this, [this] { showResultsNotice(); }, Qt::QueuedConnection); });
    }
    return *rows_;
}

void Form1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (nameQuestionPending() && nameWaits_ == 0) {
        nameWaits_ = 1;
        QTimer::singleShot(0, this, &Form1::askPupilName);
    }
}

void Form1::askPupilName()
{
    // Shown is not yet on the screen: the window system maps the window a
    // moment later. The question waits for it, a second at the most.
    if (windowHandle() && !windowHandle()->isExposed() && nameWaits_ < NameWaits) {
        ++nameWaits_;
        QTimer::singleShot(NameWaitMs, this, &Form1::askPupilName);
        return;
    }
    nameAsked_ = true;
    const QString question = QStringLiteral("¿Cómo te llamas?");
    const QStringList names = classlist::read(resultsFolder_);
    const QString answer = prompts().askName(this, QStringLiteral("MIRAVELLON"), question, names);
    const QString name = classlist::chosen(names, answer);
    if (!name.isEmpty())
        pupil_ = name;
    qCInfo(lcRecording) << "results of" << pupil_ << "go to" << resultsFolder_;
    startReview();
}

QDateTime Form1::now() const
{
    return services_.clock ? services_.clock() : QDateTime::currentDateTime();
}

void Form1::startAttempt()
{
    const QListWidgetItem* row = ui->List1->item(SelectedExercise);
    const QString exercise = row ? row->text() : QFileInfo(ExerciseFolder).fileName();
    attempt_.start(exercise, currentItemNumber(), List2.words(), List3.words(), now());
    if (services_.trialFolder.isEmpty())
        rowQueue().dropProvisional();
}

void Form1::recordPick(int position)
{
    attempt_.pick(position);
    keepTextUnderWay();
}

void Form1::recordJudgement(int position, Judgement judgement, const QString& typed)
{
    attempt_.judge(position, judgement, typed);
    keepTextUnderWay();
}

void Form1::keepTextUnderWay()
{
    if (!services_.trialFolder.isEmpty())
        return;
    if (const std::optional<results::Row> row = attempt_.provisional(pupil_, now()))
        rowQueue().keepProvisional(*row);
}

void Form1::leaveText()
{
    if (attempt_.active() && attempt_.picked())
        recordRow(false);
    else if (rows_)
        rows_->retry();  // a row left waiting may go now
}

void Form1::recordRow(bool finished)
{
    if (!services_.trialFolder.isEmpty())
        return;
    const std::optional<results::Row> row = attempt_.finish(finished, !state_.TimeUp, pupil_, now());
    if (!row)
        return;
    rowQueue().add(*row);
    // Her review reads these too: the queue may not have written them yet.
    sessionRows_.append(*row);
    // A review text finished: her review is made again with it.
    if (finished && reviewListed_ && ExerciseRoot == reviewRoot_)
        buildReview();
}

void Form1::showResultsNotice()
{
    // Once a session, without blocking anything: the pupil goes on working,
    // and whoever looks after the machines finds the folder and the reason
    // in the log.
    if (resultsRefusalShown_)
        return;
    resultsRefusalShown_ = true;
    prompts().notify(this, QStringLiteral("MIRAVELLON"),
                     QStringLiteral("Ahora no puedo guardar tus resultados. Puedes seguir "
                                    "trabajando: los guardaré más tarde."));
}

void Form1::endSession()
{
    // Every window of the program ends; the first one empties the pipe.
    char bytes[16];
    while (::read(endingPipe[0], bytes, sizeof bytes) > 0) {
    }
    qCInfo(lcRecording) << "the session ends: the text under way is recorded";
    leaveText();
    syncResults();
    if (services_.quit)
        services_.quit();
}

bool Form1::waitForResults(int timeoutMs)
{
    return !rows_ || rows_->waitIdle(timeoutMs);
}

void Form1::syncResults()
{
    if (rows_)
        rows_->retry();
    waitForResults(ResultsWaitMs);
}
