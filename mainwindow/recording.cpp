// The lasting results: who the pupil is, where the rows go, and the row each
// text worked yields (the rules are in library/results.h).

#include "library/catalogue.h"
#include "library/results.h"
#include "mainwindow/form1.h"
#include "ui_form1.h"
#include "windows/programstate.h"

#include <QDir>
#include <QFileInfo>
#include <QInputDialog>
#include <QLoggingCategory>
#include <QSysInfo>
#include <QTimer>

#include <utility>

Q_LOGGING_CATEGORY(lcRecording, "miravellon.recording")

namespace {

// Rows reach the disk itself this long after they are written: after the
// frame that answers the pupil's key.
constexpr int ResultsSyncDelayMs = 500;

}  // namespace

void Form1::startRecording()
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
}

QDateTime Form1::now() const
{
    return services_.clock ? services_.clock() : QDateTime::currentDateTime();
}

void Form1::startAttempt()
{
    const QListWidgetItem* row = ui->List1->item(SelectedExercise);
    const QString exercise = row ? row->text() : QFileInfo(ExerciseFolder).fileName();
    attempt_.start(exercise, currentItemNumber(), List2.words(), now());
}

void Form1::leaveText()
{
    if (attempt_.active() && attempt_.picked())
        recordRow(false);
}

void Form1::recordRow(bool finished)
{
    if (!services_.trialFolder.isEmpty())
        return;
    const std::optional<results::Row> row = attempt_.finish(finished, !state_.TimeUp, pupil_, now());
    if (!row)
        return;
    const QString path = QDir(resultsFolder_).filePath(
        results::fileName(row->date, pupil_, QSysInfo::machineHostName()));
    if (results::appendRow(path, *row)) {
        if (!unsyncedResults_.contains(path))
            unsyncedResults_.append(path);
        if (!resultsSync_) {
            resultsSync_ = new QTimer(this);
            resultsSync_->setSingleShot(true);
            connect(resultsSync_, &QTimer::timeout, this, &Form1::syncResults);
        }
        resultsSync_->start(ResultsSyncDelayMs);
        return;
    }
    if (!resultsRefusalShown_) {
        resultsRefusalShown_ = true;
        showMessage(QStringLiteral("No puedo guardar los resultados en ") + resultsFolder_);
    }
}

void Form1::syncResults()
{
    for (const QString& path : std::exchange(unsyncedResults_, {}))
        results::syncToDisk(path);
}
