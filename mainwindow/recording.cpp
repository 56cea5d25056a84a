// The lasting results: who the pupil is, where the rows go, and the row each
// text worked yields (the rules are in library/results.h).

#include "library/catalogue.h"
#include "library/classlist.h"
#include "library/results.h"
#include "mainwindow/form1.h"
#include "ui_form1.h"
#include "windows/programstate.h"

#include <QComboBox>
#include <QCompleter>
#include <QDir>
#include <QFileInfo>
#include <QInputDialog>
#include <QLoggingCategory>
#include <QSysInfo>
#include <QTimer>
#include <QWindow>

#include <utility>

Q_LOGGING_CATEGORY(lcRecording, "miravellon.recording")

namespace {

// Rows reach the disk itself this long after they are written: after the
// frame that answers the pupil's key.
constexpr int ResultsSyncDelayMs = 500;
// How long the name question waits for the window to be on the screen.
constexpr int NameWaitMs = 20;
constexpr int NameWaits = 50;

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
    // Asked once the window is shown (see showEvent).
    nameWanted_ = results::askForName();
    qCInfo(lcRecording) << "results of" << pupil_ << "go to" << resultsFolder_;
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
    const QString answer = services_.askName ? services_.askName(question, names) : nameDialog(question, names);
    const QString name = classlist::chosen(names, answer);
    if (!name.isEmpty())
        pupil_ = name;
    qCInfo(lcRecording) << "results of" << pupil_ << "go to" << resultsFolder_;
}

QString Form1::nameDialog(const QString& question, const QStringList& names)
{
    QInputDialog dialog(this);
    dialog.setObjectName(QStringLiteral("NameQuestion"));
    dialog.setWindowTitle(QStringLiteral("MIRAVELLON"));
    dialog.setLabelText(question);
    dialog.setInputMode(QInputDialog::TextInput);
    if (!names.isEmpty()) {
        // The class's names to choose from; typing any part of one narrows
        // them down. No name is chosen beforehand, so that Enter alone does
        // not take the first.
        dialog.setComboBoxItems(names);
        dialog.setComboBoxEditable(true);
        if (auto* combo = dialog.findChild<QComboBox*>()) {
            combo->setInsertPolicy(QComboBox::NoInsert);
            combo->setMaxVisibleItems(15);
            if (QCompleter* completer = combo->completer()) {
                completer->setCompletionMode(QCompleter::PopupCompletion);
                completer->setFilterMode(Qt::MatchContains);
                completer->setCaseSensitivity(Qt::CaseInsensitive);
            }
            combo->setCurrentIndex(-1);
            combo->setEditText(QString());
        }
    }
    return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
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
