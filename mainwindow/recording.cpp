// The lasting results: who the pupil is, where the rows go, and the row each
// text worked yields (the rules are in library/results.h). The rows go
// through a queue in the pupil's own folder, written to the results folder
// by a thread of its own (library/rowqueue.h): the window never waits for
// the shared folder.

#include "library/catalogue.h"
#include "library/results.h"
#include "library/rowqueue.h"
#include "mainwindow/form1.h"
#include "ui_form1.h"
#include "windows/programstate.h"

#include <QDir>
#include <QFileInfo>
#include <QInputDialog>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcRecording, "miravellon.recording")

namespace {

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

bool watchEndingSignals()
{
    if (endingPipe[0] < 0 && ::pipe2(endingPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    struct sigaction action {};
    action.sa_handler = onEndingSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return ::sigaction(SIGTERM, &action, nullptr) == 0 && ::sigaction(SIGHUP, &action, nullptr) == 0;
}

}  // namespace

void Form1::startRecording()
{
    // Never among the content: results in an exercise folder would be listed
    // as an exercise.
    QStringList content{AppFolder};
    for (const QString& root : catalogue::dataRoots())
        content << catalogue::exercisesFolder(root) << catalogue::resolve(root, QStringLiteral("Graficos"));
    resultsFolder_ = results::resolveFolder(results::configuredFolder(), content);
    pupil_ = results::accountName();
    if (results::askForName()) {
        const QString question = QStringLiteral("¿Cómo te llamas?");
        QString answer;
        if (services_.askName) {
            answer = services_.askName(question);
        } else {
            QInputDialog dialog(this);
            dialog.setWindowTitle(QStringLiteral("MIRAVELLON"));
            dialog.setLabelText(question);
            dialog.setInputMode(QInputDialog::TextInput);
            if (dialog.exec() == QDialog::Accepted)
                answer = dialog.textValue();
        }
        const QString name = results::cleanName(answer);
        if (!name.isEmpty())
            pupil_ = name;
    }
    qCInfo(lcRecording) << "results of" << pupil_ << "go to" << resultsFolder_;
    // What earlier sessions left in the queue is written now.
    rowQueue();
    if (watchEndingSignals()) {
        auto* ending = new QSocketNotifier(endingPipe[0], QSocketNotifier::Read, this);
        connect(ending, &QSocketNotifier::activated, this, &Form1::endSession);
    }
}

results::RowQueue& Form1::rowQueue()
{
    if (!rows_) {
        rows_ = std::make_unique<results::RowQueue>(results::RowQueue::defaultFolder(), resultsFolder_,
                                                    results::thisMachine());
        rows_->onRefused([this] { QMetaObject::invokeMethod(this, [this] { showResultsNotice(); }, Qt::QueuedConnection); });
    }
    return *rows_;
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
    if (const std::optional<results::Row> row = attempt_.provisional(pupil_, now()))
        rowQueue().keepProvisional(*row);
}

void Form1::leaveText()
{
    if (attempt_.active() && attempt_.picked())
        recordRow(false);
}

void Form1::recordRow(bool finished)
{
    const std::optional<results::Row> row = attempt_.finish(finished, !state_.TimeUp, pupil_, now());
    if (row)
        rowQueue().add(*row);
}

void Form1::showResultsNotice()
{
    // Once a session, without blocking anything: the pupil goes on working,
    // and whoever looks after the machines finds the folder and the reason
    // in the log.
    if (resultsRefusalShown_)
        return;
    resultsRefusalShown_ = true;
    auto* notice = new QMessageBox(QMessageBox::Information, QStringLiteral("MIRAVELLON"),
                                   QStringLiteral("Ahora no puedo guardar tus resultados. Puedes seguir "
                                                  "trabajando: los guardaré más tarde."),
                                   QMessageBox::Ok, this);
    notice->setObjectName(QStringLiteral("AvisoResultados"));
    notice->setModal(false);
    notice->setWindowModality(Qt::NonModal);
    notice->setAttribute(Qt::WA_DeleteOnClose);
    notice->show();
}

void Form1::endSession()
{
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
    waitForResults(ResultsWaitMs);
}
