// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's window: its panes put together, its shortcuts and
// connections, what can be done when, closing it, and the pupils' results
// in a window of their own.

#include "editor/editorwindow.h"

#include "editor/editorwindowparts.h"
#include "editor/itemstore.h"

#include "library/catalogue.h"
#include "library/results.h"
#include "results/resultsview.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTextEdit>
#include <QTimer>

Q_LOGGING_CATEGORY(lcEditor, "miravellon.editor")

namespace editor {

using namespace window;

namespace {

// The pause in typing after which the checker's rules run again.
constexpr int FindingsPauseMs = 400;

}  // namespace

int window::rowHolding(const QListWidget* list, int role, const QVariant& value)
{
    int row = -1;
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->data(role) == value)
            row = i;
    }
    return row;
}

void window::backTo(QListWidget* list, int role, const QVariant& value)
{
    const QSignalBlocker block(list);
    if (const int row = rowHolding(list, role, value); row >= 0)
        list->setCurrentRow(row);
}

EditorWindow::EditorWindow(const QString& shippedRoot, const QString& teacherRoot, Prompts& prompts, QWidget* parent)
    : QMainWindow(parent), shippedRoot_(shippedRoot), teacherRoot_(teacherRoot),
      teacherCatalogue_(catalogue::exercisesFolder(teacherRoot)), prompts_(prompts)
{
    build();
    fillExercises();
}

EditorWindow::~EditorWindow() = default;

void EditorWindow::build()
{
    setObjectName(QStringLiteral("EditorWindow"));
    setWindowTitle(Title);
    auto* central = new QWidget(this);
    auto* splitter = new QSplitter(central);
    exercisesPane_ = buildExercisesPane(splitter);
    itemsPane_ = buildItemsPane(splitter);
    itemPane_ = buildItemPane(splitter);
    itemPane_.faulty->viewport()->installEventFilter(this);
    splitter->addWidget(exercisesPane_.pane);
    splitter->addWidget(itemsPane_.pane);
    splitter->addWidget(itemPane_.pane);
    splitter->setStretchFactor(2, 1);
    splitter->setSizes({280, 150, 670});
    auto* layout = new QHBoxLayout(central);
    layout->addWidget(splitter);
    setCentralWidget(central);
    resize(1100, 700);

    findingsTimer_ = new QTimer(this);
    findingsTimer_->setSingleShot(true);
    findingsTimer_->setInterval(FindingsPauseMs);
    connectControls();
    setEditable();
}

void EditorWindow::connectControls()
{
    auto* saveAction = new QAction(QStringLiteral("Guardar"), this);
    saveAction->setShortcut(QKeySequence::Save);
    addAction(saveAction);
    auto* newAction = new QAction(QStringLiteral("Nuevo texto"), this);
    newAction->setShortcut(QKeySequence::New);
    addAction(newAction);
    auto* menuAction = new QAction(QStringLiteral("Faltas de la palabra"), this);
    menuAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    itemPane_.correct->addAction(menuAction);

    connect(exercisesPane_.exercises, &QListWidget::currentRowChanged, this, &EditorWindow::openExercise);
    connect(itemsPane_.items, &QListWidget::currentRowChanged, this, &EditorWindow::openItem);
    connect(exercisesPane_.newExercise, &QPushButton::clicked, this, &EditorWindow::newExercise);
    connect(exercisesPane_.renameExercise, &QPushButton::clicked, this, &EditorWindow::renameExercise);
    connect(exercisesPane_.deleteExercise, &QPushButton::clicked, this, &EditorWindow::deleteExercise);
    connect(exercisesPane_.copyExercise, &QPushButton::clicked, this, &EditorWindow::copyExercise);
    connect(itemsPane_.newItem, &QPushButton::clicked, this, &EditorWindow::newItem);
    connect(itemsPane_.deleteItem, &QPushButton::clicked, this, &EditorWindow::deleteItem);
    connect(itemsPane_.upItem, &QPushButton::clicked, this, &EditorWindow::moveItemUp);
    connect(itemsPane_.downItem, &QPushButton::clicked, this, &EditorWindow::moveItemDown);
    connect(itemPane_.putMisspellings, &QPushButton::clicked, this, &EditorWindow::putMisspellings);
    connect(itemPane_.importText, &QPushButton::clicked, this, &EditorWindow::importText);
    connect(itemPane_.picture, &QPushButton::clicked, this, &EditorWindow::choosePicture);
    connect(itemPane_.save, &QPushButton::clicked, this, &EditorWindow::save);
    connect(exercisesPane_.results, &QPushButton::clicked, this, &EditorWindow::showResults);
    connect(saveAction, &QAction::triggered, this, &EditorWindow::save);
    connect(newAction, &QAction::triggered, this, &EditorWindow::newItem);
    connect(menuAction, &QAction::triggered, this, [this] {
        QPlainTextEdit* correct = itemPane_.correct;
        showWordMenu(item_.wordAt(correct->textCursor().position()),
                     correct->viewport()->mapToGlobal(correct->cursorRect().bottomLeft()));
    });
    connect(itemPane_.correct, &QPlainTextEdit::customContextMenuRequested, this, [this](const QPoint& pos) {
        QPlainTextEdit* correct = itemPane_.correct;
        const std::optional<qsizetype> word = item_.wordAt(correct->cursorForPosition(pos).position());
        if (word) {
            showWordMenu(word, correct->mapToGlobal(pos));
            return;
        }
        std::unique_ptr<QMenu> standard(correct->createStandardContextMenu());
        standard->exec(correct->mapToGlobal(pos));
    });
    connect(itemPane_.correct, &QPlainTextEdit::textChanged, this, &EditorWindow::textEdited);
    connect(itemPane_.tryText, &QPushButton::clicked, this, &EditorWindow::tryText);
    connect(itemPane_.accept, &QPushButton::clicked, this, &EditorWindow::acceptFinding);
    connect(itemPane_.findings, &QListWidget::currentRowChanged, this,
            [this] { itemPane_.accept->setEnabled(!readOnlyFinding(itemPane_.findings->currentItem())); });
    connect(findingsTimer_, &QTimer::timeout, this, &EditorWindow::refreshFindings);
}

void EditorWindow::setEditable()
{
    const bool haveExercise = !exerciseFolder_.isEmpty();
    const bool own = haveExercise && !readOnly_;
    const bool haveItem = number_ > 0;
    exercisesPane_.renameExercise->setEnabled(own);
    exercisesPane_.deleteExercise->setEnabled(own);
    exercisesPane_.copyExercise->setEnabled(haveExercise && readOnly_);
    itemsPane_.newItem->setEnabled(own);
    const int row = itemsPane_.items->currentRow();
    const bool saved = haveItem && items::numbers(exerciseFolder_).contains(number_);
    itemsPane_.deleteItem->setEnabled(own && saved);
    itemsPane_.upItem->setEnabled(own && saved && row > 0);
    itemsPane_.downItem->setEnabled(own && saved && row >= 0 && row + 1 < itemsPane_.items->count());
    itemPane_.correct->setReadOnly(!own || !haveItem);
    itemPane_.putMisspellings->setEnabled(own && haveItem);
    itemPane_.importText->setEnabled(own && haveItem);
    itemPane_.picture->setEnabled(own && haveItem);
    itemPane_.save->setEnabled(own && haveItem);
    itemPane_.tryText->setEnabled(haveItem && !exerciseFolder_.isEmpty());
}

void EditorWindow::closeEvent(QCloseEvent* event)
{
    if (settleUnsaved())
        event->accept();
    else
        event->ignore();
}

bool EditorWindow::eventFilter(QObject* watched, QEvent* event)
{
    // A click on a word of the version with misspellings opens the menu of
    // that word.
    if (watched == itemPane_.faulty->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const int offset = itemPane_.faulty->cursorForPosition(mouse->position().toPoint()).position();
        const std::optional<qsizetype> word = item_.faultyWordAt(offset);
        if (word) {
            showWordMenu(word, mouse->globalPosition().toPoint());
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void EditorWindow::showResults()
{
    auto* view = findChild<ResultsView*>(QStringLiteral("VistaResultados"));
    if (!view) {
        view = new ResultsView(this);
        view->setPrompts(prompts_);
        view->setObjectName(QStringLiteral("VistaResultados"));
        view->setWindowFlag(Qt::Window);
        view->setWindowTitle(QStringLiteral("Resultados de los alumnos"));
        view->resize(1000, 700);
        view->openFolder(results::resolveFolder(results::configuredFolder(), {}));
    } else {
        view->refresh();
    }
    view->show();
    view->raise();
    view->activateWindow();
}

}  // namespace editor
