// The lasting results: who the pupil is, where the rows go, and the row each
// text worked yields (the rules are in library/results.h).

#include "library/catalogue.h"
#include "library/classlist.h"
#include "library/results.h"
#include "mainwindow/form1.h"
#include "ui_form1.h"
#include "windows/programstate.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLoggingCategory>
#include <QSysInfo>
#include <QTimer>
#include <QVBoxLayout>
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

// Sends the arrows pressed in the name box to the list of names.
class ArrowsToList : public QObject {
public:
    explicit ArrowsToList(QListWidget* list)
        : QObject(list)
        , list_(list)
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && list_->isVisible()) {
            switch (static_cast<QKeyEvent*>(event)->key()) {
            case Qt::Key_Up:
            case Qt::Key_Down:
            case Qt::Key_PageUp:
            case Qt::Key_PageDown: QCoreApplication::sendEvent(list_, event); return true;
            default: break;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QListWidget* list_;
};

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
    QDialog dialog(this);
    dialog.setObjectName(QStringLiteral("NameQuestion"));
    dialog.setWindowTitle(QStringLiteral("MIRAVELLON"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* label = new QLabel(question, &dialog);
    auto* typed = new QLineEdit(&dialog);
    label->setBuddy(typed);
    typed->setMinimumWidth(typed->fontMetrics().horizontalAdvance(u'M') * 20);
    layout->addWidget(label);
    layout->addWidget(typed);
    // The class's names, when there is a list: typing any part of a name,
    // without minding capitals or accents, leaves only the names that hold
    // it, and the first of them is chosen. Nothing is chosen beforehand, so
    // that Enter alone does not take a name.
    auto* list = new QListWidget(&dialog);
    list->addItems(names);
    list->setVisible(!names.isEmpty());
    layout->addWidget(list);
    const auto filter = [list, typed] {
        list->setCurrentRow(-1);
        for (int row = 0; row < list->count(); ++row) {
            QListWidgetItem* item = list->item(row);
            item->setHidden(!classlist::holds(item->text(), typed->text()));
            if (!item->isHidden() && !list->currentItem() && !typed->text().trimmed().isEmpty())
                list->setCurrentItem(item);
        }
    };
    QObject::connect(typed, &QLineEdit::textEdited, list, filter);
    // The arrows choose among the names left while the typing goes on.
    typed->installEventFilter(new ArrowsToList(list));
    QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    typed->setFocus();
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QListWidgetItem* chosen = list->currentItem();
    return chosen && !chosen->isHidden() ? chosen->text() : typed->text();
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
