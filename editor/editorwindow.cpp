// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/editorwindow.h"

#include "editor/drafts.h"
#include "editor/exercisefolders.h"
#include "editor/findings.h"
#include "editor/itemstore.h"
#include "editor/picture.h"

#include "library/catalogue.h"
#include "library/results.h"
#include "results/resultsview.h"
#include "library/families.h"
#include "library/itemwriter.h"
#include "library/spelling.h"
#include "library/textfile.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QLoggingCategory>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSplitter>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

Q_LOGGING_CATEGORY(lcEditor, "miravellon.editor")

namespace editor {

namespace {

constexpr int PathRole = Qt::UserRole;
constexpr int ReadOnlyRole = Qt::UserRole + 1;
constexpr int NumberRole = Qt::UserRole;
// The pause in typing after which the checker's rules run again.
constexpr int FindingsPauseMs = 400;
const QString Title = QStringLiteral("Editor de ejercicios de Miravellon");

QPushButton* button(QWidget* parent, const char* name, const QString& text, const QString& tip)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(tip);
    b->setAccessibleName(QString(text).remove(u'&').remove(QStringLiteral("…")));
    return b;
}

bool isWord(const QString& word)
{
    return spelling::Dictionary::spanish().knows(spelling::bareWord(word));
}

}  // namespace

EditorWindow::EditorWindow(const QString& shippedRoot, const QString& teacherRoot, Prompts& prompts,
                           QWidget* parent)
    : QMainWindow(parent),
      shippedRoot_(shippedRoot),
      teacherRoot_(teacherRoot),
      teacherCatalogue_(catalogue::exercisesFolder(teacherRoot)),
      prompts_(prompts)
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

    // Left: the exercises.
    auto* left = new QWidget(splitter);
    auto* leftLayout = new QVBoxLayout(left);
    auto* exercisesLabel = new QLabel(QStringLiteral("&Ejercicios"), left);
    exercises_ = new QListWidget(left);
    exercises_->setObjectName(QStringLiteral("ListaEjercicios"));
    exercises_->setAccessibleName(QStringLiteral("Ejercicios"));
    exercises_->setToolTip(QStringLiteral("Sus ejercicios y, debajo, los que trae el programa (solo para leer)"));
    exercisesLabel->setBuddy(exercises_);
    newExercise_ = button(left, "NuevoEjercicio", QStringLiteral("&Nuevo ejercicio…"),
                          QStringLiteral("Crea un ejercicio nuevo en su carpeta de ejercicios"));
    renameExercise_ = button(left, "CambiarNombre", QStringLiteral("Cambiar el nombre…"),
                             QStringLiteral("Cambia el nombre del ejercicio elegido"));
    deleteExercise_ = button(left, "BorrarEjercicio", QStringLiteral("Borrar ejercicio…"),
                             QStringLiteral("Lleva el ejercicio elegido a la papelera"));
    copyExercise_ = button(left, "CopiarEjercicio", QStringLiteral("&Copiar a mis ejercicios"),
                           QStringLiteral("Copia el ejercicio del programa a su carpeta, para cambiarlo"));
    results_ = button(left, "Resultados", QStringLiteral("&Resultados…"),
                      QStringLiteral("Lo que ha hecho cada alumno y las palabras que más falla la clase"));
    leftLayout->addWidget(exercisesLabel);
    leftLayout->addWidget(exercises_);
    for (QPushButton* b : {newExercise_, renameExercise_, deleteExercise_, copyExercise_, results_})
        leftLayout->addWidget(b);

    // Middle: the items.
    auto* middle = new QWidget(splitter);
    auto* middleLayout = new QVBoxLayout(middle);
    auto* itemsLabel = new QLabel(QStringLiteral("&Textos"), middle);
    items_ = new QListWidget(middle);
    items_->setObjectName(QStringLiteral("ListaTextos"));
    items_->setAccessibleName(QStringLiteral("Textos del ejercicio"));
    items_->setToolTip(QStringLiteral("Los textos del ejercicio, por su número"));
    itemsLabel->setBuddy(items_);
    newItem_ = button(middle, "NuevoTexto", QStringLiteral("N&uevo texto"),
                      QStringLiteral("Añade un texto al final del ejercicio (Ctrl+N)"));
    deleteItem_ = button(middle, "BorrarTexto", QStringLiteral("&Borrar texto…"),
                         QStringLiteral("Borra el texto elegido; los siguientes se renumeran"));
    upItem_ = button(middle, "SubirTexto", QStringLiteral("&Subir"), QStringLiteral("Adelanta el texto un puesto"));
    downItem_ = button(middle, "BajarTexto", QStringLiteral("B&ajar"), QStringLiteral("Retrasa el texto un puesto"));
    middleLayout->addWidget(itemsLabel);
    middleLayout->addWidget(items_);
    for (QPushButton* b : {newItem_, deleteItem_, upItem_, downItem_})
        middleLayout->addWidget(b);

    // Right: the item.
    auto* right = new QWidget(splitter);
    auto* rightLayout = new QVBoxLayout(right);
    auto* texts = new QHBoxLayout;
    auto* correctColumn = new QVBoxLayout;
    auto* correctLabel = new QLabel(QStringLiteral("Te&xto bien escrito"), right);
    correct_ = new QPlainTextEdit(right);
    correct_->setObjectName(QStringLiteral("TextoCorrecto"));
    correct_->setAccessibleName(QStringLiteral("Texto bien escrito"));
    correct_->setToolTip(QStringLiteral("Escriba o pegue aquí el texto bien escrito. Con el botón derecho (o "
                                        "Ctrl+M) sobre una palabra se elige su falta"));
    correct_->setTabChangesFocus(true);
    correct_->setContextMenuPolicy(Qt::CustomContextMenu);
    correctLabel->setBuddy(correct_);
    correctColumn->addWidget(correctLabel);
    correctColumn->addWidget(correct_);
    auto* faultyColumn = new QVBoxLayout;
    auto* faultyLabel = new QLabel(QStringLiteral("Texto con faltas (lo que ve el alumno)"), right);
    faulty_ = new QTextEdit(right);
    faulty_->setObjectName(QStringLiteral("TextoConFaltas"));
    faulty_->setAccessibleName(QStringLiteral("Texto con faltas"));
    faulty_->setToolTip(QStringLiteral("Las faltas van resaltadas; un clic en una palabra permite cambiar su falta"));
    faulty_->setReadOnly(true);
    faulty_->setTabChangesFocus(true);
    faulty_->viewport()->installEventFilter(this);
    faultyLabel->setBuddy(faulty_);
    faultyColumn->addWidget(faultyLabel);
    faultyColumn->addWidget(faulty_);
    texts->addLayout(correctColumn);
    texts->addLayout(faultyColumn);

    auto* actions = new QHBoxLayout;
    putMisspellings_ = button(right, "PonerFaltas", QStringLiteral("&Poner faltas…"),
                              QStringLiteral("Elige palabras del texto y les pone faltas de una familia"));
    import_ = button(right, "ImportarTexto", QStringLiteral("&Importar texto…"),
                     QStringLiteral("Lee un archivo .txt como texto bien escrito"));
    picture_ = button(right, "Dibujo", QStringLiteral("&Dibujo…"),
                      QStringLiteral("Elige el dibujo de la palabra corregida donde está el cursor"));
    save_ = button(right, "Guardar", QStringLiteral("&Guardar"), QStringLiteral("Guarda las dos versiones (Ctrl+S)"));
    try_ = button(right, "Probar", QStringLiteral("Pro&bar"),
                  QStringLiteral("Abre Miravellon en este texto, como lo verá un alumno (sin guardar resultados)"));
    for (QPushButton* b : {putMisspellings_, import_, picture_, save_, try_})
        actions->addWidget(b);

    auto* findingsLabel = new QLabel(QStringLiteral("&Lo que dice el comprobador"), right);
    findings_ = new QListWidget(right);
    findings_->setObjectName(QStringLiteral("Hallazgos"));
    findings_->setAccessibleName(QStringLiteral("Lo que dice el comprobador"));
    findings_->setToolTip(QStringLiteral("Los errores y avisos de miravellon-comprobar sobre este texto"));
    findings_->setWordWrap(true);
    findingsLabel->setBuddy(findings_);
    accept_ = button(right, "AceptarPalabra", QStringLiteral("&Aceptar lo señalado"),
                     QStringLiteral("La palabra señalada es correcta, o la falta señalada se quiere así: el "
                                    "comprobador no volverá a avisar de ella"));
    accept_->setEnabled(false);
    status_ = new QLabel(right);
    status_->setObjectName(QStringLiteral("Estado"));
    status_->setAccessibleName(QStringLiteral("Estado"));
    status_->setWordWrap(true);

    rightLayout->addLayout(texts, 3);
    rightLayout->addLayout(actions);
    rightLayout->addWidget(findingsLabel);
    rightLayout->addWidget(findings_, 1);
    rightLayout->addWidget(accept_, 0, Qt::AlignLeft);
    rightLayout->addWidget(status_);

    splitter->addWidget(left);
    splitter->addWidget(middle);
    splitter->addWidget(right);
    splitter->setStretchFactor(2, 1);
    splitter->setSizes({280, 150, 670});
    auto* layout = new QHBoxLayout(central);
    layout->addWidget(splitter);
    setCentralWidget(central);
    resize(1100, 700);

    findingsTimer_ = new QTimer(this);
    findingsTimer_->setSingleShot(true);
    findingsTimer_->setInterval(FindingsPauseMs);

    auto* saveAction = new QAction(QStringLiteral("Guardar"), this);
    saveAction->setShortcut(QKeySequence::Save);
    addAction(saveAction);
    auto* newAction = new QAction(QStringLiteral("Nuevo texto"), this);
    newAction->setShortcut(QKeySequence::New);
    addAction(newAction);
    auto* menuAction = new QAction(QStringLiteral("Faltas de la palabra"), this);
    menuAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    correct_->addAction(menuAction);

    connect(exercises_, &QListWidget::currentRowChanged, this, &EditorWindow::openExercise);
    connect(items_, &QListWidget::currentRowChanged, this, &EditorWindow::openItem);
    connect(newExercise_, &QPushButton::clicked, this, &EditorWindow::newExercise);
    connect(renameExercise_, &QPushButton::clicked, this, &EditorWindow::renameExercise);
    connect(deleteExercise_, &QPushButton::clicked, this, &EditorWindow::deleteExercise);
    connect(copyExercise_, &QPushButton::clicked, this, &EditorWindow::copyExercise);
    connect(newItem_, &QPushButton::clicked, this, &EditorWindow::newItem);
    connect(deleteItem_, &QPushButton::clicked, this, &EditorWindow::deleteItem);
    connect(upItem_, &QPushButton::clicked, this, &EditorWindow::moveItemUp);
    connect(downItem_, &QPushButton::clicked, this, &EditorWindow::moveItemDown);
    connect(putMisspellings_, &QPushButton::clicked, this, &EditorWindow::putMisspellings);
    connect(import_, &QPushButton::clicked, this, &EditorWindow::importText);
    connect(picture_, &QPushButton::clicked, this, &EditorWindow::choosePicture);
    connect(save_, &QPushButton::clicked, this, &EditorWindow::save);
    connect(results_, &QPushButton::clicked, this, &EditorWindow::showResults);
    connect(saveAction, &QAction::triggered, this, &EditorWindow::save);
    connect(newAction, &QAction::triggered, this, &EditorWindow::newItem);
    connect(menuAction, &QAction::triggered, this, [this] {
        const QTextCursor cursor = correct_->textCursor();
        showWordMenuAt(cursor.position(), correct_->viewport()->mapToGlobal(correct_->cursorRect().bottomLeft()));
    });
    connect(correct_, &QPlainTextEdit::customContextMenuRequested, this, [this](const QPoint& pos) {
        const int offset = correct_->cursorForPosition(pos).position();
        const std::optional<qsizetype> word = item_.wordAt(offset);
        if (word) {
            showWordMenuAt(offset, correct_->mapToGlobal(pos));
            return;
        }
        std::unique_ptr<QMenu> standard(correct_->createStandardContextMenu());
        standard->exec(correct_->mapToGlobal(pos));
    });
    connect(correct_, &QPlainTextEdit::textChanged, this, &EditorWindow::textEdited);
    connect(try_, &QPushButton::clicked, this, &EditorWindow::tryText);
    connect(accept_, &QPushButton::clicked, this, &EditorWindow::acceptFinding);
    connect(findings_, &QListWidget::currentRowChanged, this,
            [this] { accept_->setEnabled(!readOnlyFinding(findings_->currentItem())); });
    connect(findingsTimer_, &QTimer::timeout, this, &EditorWindow::refreshFindings);
    setEditable();
}

void EditorWindow::fillExercises(const QString& select)
{
    const QSignalBlocker block(exercises_);
    exercises_->clear();
    const auto add = [&](const QString& root, bool readOnly) {
        for (const QString& name : catalogue::listExercises(root)) {
            auto* row = new QListWidgetItem(readOnly ? QStringLiteral("%1 (del programa)").arg(name) : name);
            row->setData(PathRole, catalogue::exerciseFolder(root, name));
            row->setData(ReadOnlyRole, readOnly);
            if (readOnly)
                row->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
            exercises_->addItem(row);
        }
    };
    add(teacherRoot_, false);
    add(shippedRoot_, true);
    int row = select.isEmpty() && exercises_->count() > 0 ? 0 : -1;
    for (int i = 0; i < exercises_->count(); ++i) {
        if (exercises_->item(i)->data(PathRole).toString() == select)
            row = i;
    }
    exercises_->setCurrentRow(row);
    if (row < 0) {
        exerciseFolder_.clear();
        readOnly_ = true;
        fillItems(0);
    } else {
        exerciseFolder_.clear();
        openExercise();
    }
}

void EditorWindow::openExercise()
{
    QListWidgetItem* row = exercises_->currentItem();
    const QString folder = row ? row->data(PathRole).toString() : QString();
    if (folder == exerciseFolder_)
        return;
    if (!settleUnsaved()) {
        // Back to the exercise being edited.
        const QSignalBlocker block(exercises_);
        for (int i = 0; i < exercises_->count(); ++i) {
            if (exercises_->item(i)->data(PathRole).toString() == exerciseFolder_)
                exercises_->setCurrentRow(i);
        }
        return;
    }
    exerciseFolder_ = folder;
    readOnly_ = !row || row->data(ReadOnlyRole).toBool();
    if (!readOnly_ && items::interrupted(folder)) {
        const QString error = items::recover(folder);
        if (!error.isEmpty())
            prompts_.inform(this, Title, QStringLiteral("No se puede terminar de renumerar los textos: %1.").arg(error));
    }
    const QList<int> numbers = items::numbers(folder);
    fillItems(numbers.isEmpty() ? 0 : numbers.first());
}

void EditorWindow::fillItems(int select)
{
    {
        const QSignalBlocker block(items_);
        items_->clear();
        const QList<int> numbers = exerciseFolder_.isEmpty() ? QList<int>() : items::numbers(exerciseFolder_);
        for (const int n : numbers) {
            auto* row = new QListWidgetItem(QStringLiteral("Texto %1").arg(n));
            row->setData(NumberRole, n);
            items_->addItem(row);
            if (n == select)
                items_->setCurrentItem(row);
        }
    }
    number_ = 0;
    dirty_ = false;
    openItem();
}

void EditorWindow::openItem()
{
    QListWidgetItem* row = items_->currentItem();
    const int number = row ? row->data(NumberRole).toInt() : 0;
    if (number == number_ && number != 0)
        return;
    if (!settleUnsaved()) {
        const QSignalBlocker block(items_);
        for (int i = 0; i < items_->count(); ++i) {
            if (items_->item(i)->data(NumberRole).toInt() == number_)
                items_->setCurrentRow(i);
        }
        return;
    }
    number_ = number;
    unsavedNew_ = false;
    item_ = EditedItem();
    loadedStamp_.clear();
    if (number > 0) {
        loadedStamp_ = drafts::stamp(exerciseFolder_, number);
        const QString warning = item_.load(exerciseFolder_, number);
        if (!warning.isEmpty())
            status_->setText(warning);
        else
            status_->clear();
    }
    dirty_ = false;
    showItem();
}

bool EditorWindow::settleUnsaved()
{
    if (!dirty_)
        return true;
    switch (prompts_.askUnsaved(this, QStringLiteral("El texto %1 tiene cambios sin guardar.").arg(number_))) {
    case Prompts::Unsaved::Save: return save();
    case Prompts::Unsaved::Discard:
        drafts::drop(exerciseFolder_, number_);
        dirty_ = false;
        return true;
    case Prompts::Unsaved::Cancel: return false;
    }
    return false;
}

void EditorWindow::showItem()
{
    showing_ = true;
    correct_->setPlainText(item_.text());
    showing_ = false;
    showFaulty();
    setEditable();
    refreshFindings();
}

void EditorWindow::showFaulty()
{
    faulty_->setPlainText(item_.faultyText());
    QTextCharFormat marked;
    marked.setBackground(QColor(0xFF, 0xE0, 0x66));
    marked.setForeground(QColor(0xB0, 0x00, 0x00));
    marked.setFontWeight(QFont::Bold);
    QList<QTextEdit::ExtraSelection> selections;
    for (const WordSlot& s : item_.faultyPlaces()) {
        QTextEdit::ExtraSelection selection;
        selection.cursor = QTextCursor(faulty_->document());
        selection.cursor.setPosition(int(s.start));
        selection.cursor.setPosition(int(s.start + s.length), QTextCursor::KeepAnchor);
        selection.format = marked;
        selections.append(selection);
    }
    faulty_->setExtraSelections(selections);

    // The words of the correct text that have a misspelling, underlined.
    QTextCharFormat underlined;
    underlined.setUnderlineStyle(QTextCharFormat::SingleUnderline);
    underlined.setUnderlineColor(QColor(0xB0, 0x00, 0x00));
    QList<QTextEdit::ExtraSelection> correctSelections;
    for (auto it = item_.misspellings().cbegin(); it != item_.misspellings().cend(); ++it) {
        const WordSlot& s = item_.places()[it.key()];
        QTextEdit::ExtraSelection selection;
        selection.cursor = QTextCursor(correct_->document());
        selection.cursor.setPosition(int(s.start));
        selection.cursor.setPosition(int(s.start + s.length), QTextCursor::KeepAnchor);
        selection.format = underlined;
        correctSelections.append(selection);
    }
    correct_->setExtraSelections(correctSelections);
}

void EditorWindow::setEditable()
{
    const bool haveExercise = !exerciseFolder_.isEmpty();
    const bool own = haveExercise && !readOnly_;
    const bool haveItem = number_ > 0;
    renameExercise_->setEnabled(own);
    deleteExercise_->setEnabled(own);
    copyExercise_->setEnabled(haveExercise && readOnly_);
    newItem_->setEnabled(own);
    const int row = items_->currentRow();
    const bool saved = haveItem && items::numbers(exerciseFolder_).contains(number_);
    deleteItem_->setEnabled(own && saved);
    upItem_->setEnabled(own && saved && row > 0);
    downItem_->setEnabled(own && saved && row >= 0 && row + 1 < items_->count());
    correct_->setReadOnly(!own || !haveItem);
    putMisspellings_->setEnabled(own && haveItem);
    import_->setEnabled(own && haveItem);
    picture_->setEnabled(own && haveItem);
    save_->setEnabled(own && haveItem);
    try_->setEnabled(haveItem && !exerciseFolder_.isEmpty());
}

void EditorWindow::textEdited()
{
    if (showing_)
        return;
    item_.setText(correct_->toPlainText());
    changed();
}

void EditorWindow::changed()
{
    dirty_ = true;
    // What the status line said (a text saved, a picture chosen) no longer holds.
    status_->clear();
    showFaulty();
    if (!readOnly_ && number_ > 0
        && !drafts::keep({exerciseFolder_, number_, item_.text(), item_.misspellings(), unsavedNew_, loadedStamp_}))
        qCWarning(lcEditor) << "cannot keep a draft in" << drafts::folder();
    findingsTimer_->start();
}

void EditorWindow::refreshFindings()
{
    findingsTimer_->stop();
    findings_->clear();
    if (number_ <= 0 || item_.words().isEmpty())
        return;
    const QStringList lines = findings(item_.draft(), number_, acceptedLists());
    for (const QString& line : lines)
        findings_->addItem(line);
    if (lines.isEmpty())
        findings_->addItem(QStringLiteral("Sin errores ni avisos."));
}

std::unique_ptr<QMenu> EditorWindow::wordMenu(qsizetype position)
{
    auto menu = std::make_unique<QMenu>(this);
    menu->setObjectName(QStringLiteral("MenuFaltas"));
    menu->setAccessibleName(QStringLiteral("Faltas de la palabra"));
    if (readOnly_ || position < 0 || position >= item_.words().size())
        return menu;
    const QString word = item_.words()[position];
    const QString current = item_.misspellings().value(position);
    for (const Proposal& p : item_.proposals(position)) {
        QAction* a = menu->addAction(QStringLiteral("%1   (%2)").arg(p.faulty, families::displayName(p.family)));
        a->setCheckable(true);
        a->setChecked(p.faulty == current);
        a->setData(p.faulty);
        connect(a, &QAction::triggered, this, [this, position, faulty = p.faulty] {
            if (item_.setMisspelling(position, faulty).isEmpty())
                changed();
        });
    }
    if (!menu->isEmpty())
        menu->addSeparator();
    QAction* other = menu->addAction(QStringLiteral("Escribir otra…"));
    other->setObjectName(QStringLiteral("EscribirOtra"));
    connect(other, &QAction::triggered, this, [this, position, word, current] {
        // An entry that cannot be taken keeps the box open, with the reason.
        const auto problem = [this, position](const QString& typed) {
            EditedItem trial = item_;
            const QString error = trial.setMisspelling(position, typed.trimmed());
            return error.isEmpty() ? QString() : QStringLiteral("No se puede poner esa falta: %1.").arg(error);
        };
        const std::optional<QString> typed = prompts_.askChecked(
            this, QStringLiteral("Escribir otra falta"), QStringLiteral("Falta para «%1»:").arg(word),
            current.isEmpty() ? word : current, problem);
        if (!typed || !item_.setMisspelling(position, typed->trimmed()).isEmpty())
            return;
        changed();
    });
    QAction* remove = menu->addAction(QStringLiteral("Quitar la falta"));
    remove->setObjectName(QStringLiteral("QuitarFalta"));
    remove->setEnabled(!current.isEmpty());
    connect(remove, &QAction::triggered, this, [this, position] {
        item_.removeMisspelling(position);
        changed();
    });
    return menu;
}

void EditorWindow::showWordMenuAt(qsizetype offset, const QPoint& globalPos)
{
    const std::optional<qsizetype> word = item_.wordAt(offset);
    if (!word || readOnly_)
        return;
    std::unique_ptr<QMenu> menu = wordMenu(*word);
    menu->exec(globalPos);
}

bool EditorWindow::eventFilter(QObject* watched, QEvent* event)
{
    // A click on a word of the version with misspellings opens the menu of
    // that word.
    if (watched == faulty_->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const int offset = faulty_->cursorForPosition(mouse->position().toPoint()).position();
        // Offsets of the faulty text map onto word positions through the
        // line and word counts, which both versions share.
        const QString shown = faulty_->toPlainText();
        const QString before = shown.left(offset);
        const qsizetype line = before.count(u'\n');
        const qsizetype lineStart = before.lastIndexOf(u'\n') + 1;
        const qsizetype inLine = before.sliced(lineStart).count(u' ');
        qsizetype position = -1;
        for (qsizetype k = 0; k < item_.places().size(); ++k) {
            if (item_.places()[k].line == line + 1) {
                position = k + inLine;
                break;
            }
        }
        if (position >= 0 && position < item_.words().size() && !item_.words()[position].isEmpty()) {
            showWordMenuAt(item_.places()[position].start, mouse->globalPosition().toPoint());
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void EditorWindow::newExercise()
{
    if (!settleUnsaved())
        return;
    const QString proposed
        = exercises::proposedName({teacherCatalogue_, catalogue::exercisesFolder(shippedRoot_)});
    const std::optional<QString> name = prompts_.askText(this, QStringLiteral("Nuevo ejercicio"),
                                                         QStringLiteral("Nombre del ejercicio:"), proposed);
    if (!name)
        return;
    const exercises::Result made = exercises::create(teacherCatalogue_, *name);
    if (!made.error.isEmpty()) {
        prompts_.inform(this, Title, QStringLiteral("No se puede crear el ejercicio: %1.").arg(made.error));
        return;
    }
    dirty_ = false;
    fillExercises(made.path);
    newItem();
}

void EditorWindow::renameExercise()
{
    if (readOnly_ || exerciseFolder_.isEmpty() || !settleUnsaved())
        return;
    const QString old = QFileInfo(exerciseFolder_).fileName();
    const std::optional<QString> name = prompts_.askText(this, QStringLiteral("Cambiar el nombre"),
                                                         QStringLiteral("Nombre nuevo de «%1»:").arg(old), old);
    if (!name || *name == old)
        return;
    const exercises::Result renamed = exercises::rename(exerciseFolder_, *name);
    if (!renamed.error.isEmpty()) {
        prompts_.inform(this, Title, QStringLiteral("No se puede cambiar el nombre: %1.").arg(renamed.error));
        return;
    }
    fillExercises(renamed.path);
}

void EditorWindow::deleteExercise()
{
    if (readOnly_ || exerciseFolder_.isEmpty())
        return;
    const QString name = QFileInfo(exerciseFolder_).fileName();
    if (!prompts_.confirm(this, QStringLiteral("Borrar ejercicio"),
                          QStringLiteral("¿Borrar el ejercicio «%1» con todos sus textos? Irá a la papelera; si "
                                         "no hay papelera, se borrará del todo.")
                              .arg(name)))
        return;
    drafts::drop(exerciseFolder_, number_);
    dirty_ = false;
    const QString error = exercises::remove(exerciseFolder_);
    if (!error.isEmpty())
        prompts_.inform(this, Title, QStringLiteral("No se puede borrar: %1.").arg(error));
    fillExercises();
}

void EditorWindow::copyExercise()
{
    if (exerciseFolder_.isEmpty() || !readOnly_)
        return;
    if (!QDir().mkpath(teacherCatalogue_)) {
        prompts_.inform(this, Title, QStringLiteral("No se puede crear la carpeta «%1».").arg(teacherCatalogue_));
        return;
    }
    const exercises::Result copied = exercises::copy(exerciseFolder_, teacherCatalogue_);
    if (!copied.error.isEmpty()) {
        prompts_.inform(this, Title, QStringLiteral("No se puede copiar: %1.").arg(copied.error));
        return;
    }
    fillExercises(copied.path);
}

void EditorWindow::newItem()
{
    if (readOnly_ || exerciseFolder_.isEmpty() || !settleUnsaved())
        return;
    const int number = itemwriter::nextNumber(exerciseFolder_);
    {
        const QSignalBlocker block(items_);
        auto* row = new QListWidgetItem(QStringLiteral("Texto %1 (nuevo)").arg(number));
        row->setData(NumberRole, number);
        items_->addItem(row);
        items_->setCurrentItem(row);
    }
    number_ = number;
    unsavedNew_ = true;
    item_ = EditedItem();
    dirty_ = false;
    status_->setText(QStringLiteral("Escriba o pegue el texto bien escrito y póngale faltas."));
    showItem();
    correct_->setFocus();
}

void EditorWindow::deleteItem()
{
    if (readOnly_ || number_ <= 0)
        return;
    if (!prompts_.confirm(this, QStringLiteral("Borrar texto"),
                          QStringLiteral("¿Borrar el texto %1? Los textos que van detrás se renumeran.").arg(number_)))
        return;
    drafts::drop(exerciseFolder_, number_);
    dirty_ = false;
    const int number = number_;
    const QString error = items::remove(exerciseFolder_, number);
    if (!error.isEmpty())
        prompts_.inform(this, Title, QStringLiteral("No se ha podido borrar el texto: %1.").arg(error));
    const QList<int> left = items::numbers(exerciseFolder_);
    int select = 0;
    for (const int n : left) {
        if (n <= number)
            select = n;
    }
    if (select == 0 && !left.isEmpty())
        select = left.first();
    fillItems(select);
}

void EditorWindow::moveItem(int from)
{
    if (readOnly_ || !settleUnsaved())
        return;
    const int moved = number_;
    const QString error = items::swapWithNext(exerciseFolder_, from);
    if (!error.isEmpty())
        prompts_.inform(this, Title, QStringLiteral("No se ha podido mover el texto: %1.").arg(error));
    fillItems(error.isEmpty() ? (moved == from ? from + 1 : from) : moved);
}

void EditorWindow::moveItemUp()
{
    if (number_ > 1)
        moveItem(number_ - 1);
}

void EditorWindow::moveItemDown()
{
    if (number_ > 0)
        moveItem(number_);
}

void EditorWindow::putMisspellings()
{
    if (readOnly_ || number_ <= 0)
        return;
    const auto apply = [this](EditedItem& target, const FaultRequest& request) {
        QRandomGenerator random(request.seed);
        return target.addMisspellings(families::named(request.family), request.count, random, isWord);
    };
    const auto preview = [&](const FaultRequest& request) {
        EditedItem trial = item_;
        const QString error = apply(trial, request);
        if (!error.isEmpty())
            return QStringLiteral("No se pueden poner: %1.").arg(error);
        QStringList lines;
        for (auto it = trial.misspellings().cbegin(); it != trial.misspellings().cend(); ++it) {
            if (!item_.misspellings().contains(it.key()))
                lines.append(QStringLiteral("%1 → %2").arg(trial.words()[it.key()], it.value()));
        }
        return lines.join(u'\n');
    };
    const std::optional<FaultRequest> request = prompts_.askFaults(this, preview);
    if (!request)
        return;
    const QString error = apply(item_, *request);
    if (!error.isEmpty()) {
        prompts_.inform(this, Title, QStringLiteral("No se pueden poner las faltas: %1.").arg(error));
        return;
    }
    changed();
}

void EditorWindow::importText()
{
    if (readOnly_ || number_ <= 0)
        return;
    const QString path = prompts_.openFile(this, QStringLiteral("Importar texto"),
                                           QStringLiteral("Textos (*.txt *.TXT);;Todos los archivos (*)"));
    if (path.isEmpty())
        return;
    const ImportedText imported = editor::importText(path);
    if (!imported.error.isEmpty()) {
        prompts_.inform(this, Title, QStringLiteral("No se puede importar: %1.").arg(imported.error));
        return;
    }
    EditedItem next;
    const QString error = imported.text.contains(u'{') ? next.setNotation(imported.text) : QString();
    if (!error.isEmpty()) {
        prompts_.inform(this, Title, QStringLiteral("No se puede importar: %1.").arg(error));
        return;
    }
    if (!imported.text.contains(u'{'))
        next.setText(textfile::splitLines(imported.text).join(u'\n'));
    item_ = next;
    showing_ = true;
    correct_->setPlainText(item_.text());
    showing_ = false;
    changed();
}

void EditorWindow::choosePicture()
{
    if (readOnly_ || number_ <= 0)
        return;
    const std::optional<qsizetype> position = item_.wordAt(correct_->textCursor().position());
    if (!position || !item_.misspellings().contains(*position)) {
        prompts_.inform(this, Title,
                        QStringLiteral("Ponga el cursor en una palabra con falta: el dibujo aparece cuando el alumno "
                                       "la corrige."));
        return;
    }
    const QString word = item_.words()[*position];
    const QString path = prompts_.openFile(this, QStringLiteral("Dibujo de «%1»").arg(word),
                                           QStringLiteral("Imágenes (*.png *.jpg *.jpeg *.gif *.bmp);;Todos los "
                                                          "archivos (*)"));
    if (path.isEmpty())
        return;
    const QString root = QFileInfo(QFileInfo(exerciseFolder_).path()).path();
    const PictureResult result = placePicture(path, root, word);
    if (!result.error.isEmpty()) {
        prompts_.inform(this, Title, QStringLiteral("No se puede poner el dibujo: %1.").arg(result.error));
        return;
    }
    status_->setText(QStringLiteral("Dibujo de «%1» guardado en %2.").arg(word, QDir::toNativeSeparators(result.path)));
}

bool EditorWindow::save()
{
    if (readOnly_ || number_ <= 0)
        return false;
    const itemwriter::Draft draft = item_.draft();
    const QString refusal = itemwriter::checkLimits(draft);
    if (!refusal.isEmpty()) {
        prompts_.inform(this, Title, QStringLiteral("No se puede guardar: %1.").arg(refusal));
        return false;
    }
    // A new item never replaces one that appeared under its number since
    // (written by miravellon-crear, or by another editor): it takes the next
    // free number.
    const itemwriter::WriteResult written = unsavedNew_ ? itemwriter::writeNew(exerciseFolder_, draft, number_)
                                                        : itemwriter::write(exerciseFolder_, number_, draft, true);
    if (written.status != itemwriter::WriteStatus::Written) {
        prompts_.inform(this, Title, QStringLiteral("No se puede guardar: %1.").arg(written.error));
        return false;
    }
    drafts::drop(exerciseFolder_, number_);
    const int before = number_;
    number_ = written.number;
    loadedStamp_ = drafts::stamp(exerciseFolder_, number_);
    dirty_ = false;
    unsavedNew_ = false;
    status_->setText(before == number_ ? QStringLiteral("Texto %1 guardado.").arg(number_)
                                       : QStringLiteral("Texto %1 guardado: el número %2 lo tomó otro texto mientras "
                                                        "tanto.")
                                             .arg(number_)
                                             .arg(before));
    const QSignalBlocker block(items_);
    for (int i = 0; i < items_->count(); ++i) {
        if (items_->item(i)->data(NumberRole).toInt() == before) {
            items_->item(i)->setData(NumberRole, number_);
            items_->item(i)->setText(QStringLiteral("Texto %1").arg(number_));
        }
    }
    setEditable();
    return true;
}

void EditorWindow::offerDrafts()
{
    for (const drafts::Draft& d : drafts::all()) {
        const QString name = QFileInfo(d.exerciseFolder).fileName();
        if (!QFileInfo(d.exerciseFolder).isDir()
            || !prompts_.confirm(this, QStringLiteral("Texto sin guardar"),
                                 QStringLiteral("Quedó sin guardar el texto %1 del ejercicio «%2». ¿Recuperarlo?")
                                     .arg(d.number)
                                     .arg(name))) {
            drafts::drop(d.exerciseFolder, d.number);
            continue;
        }
        fillExercises(d.exerciseFolder);
        if (exerciseFolder_ != d.exerciseFolder || readOnly_)
            continue;
        const bool sameItem = drafts::changesItsItem(d);
        if (sameItem) {
            fillItems(d.number);
        } else {
            // A new item never saved, or an item changed since the draft
            // began: the draft takes the number a new item takes now, and
            // never replaces a text written meanwhile.
            newItem();
            drafts::drop(d.exerciseFolder, d.number);
        }
        if (number_ <= 0)
            continue;
        EditedItem restored;
        restored.setText(d.text);
        for (auto it = d.misspellings.cbegin(); it != d.misspellings.cend(); ++it)
            restored.setMisspelling(it.key(), it.value());
        item_ = restored;
        showing_ = true;
        correct_->setPlainText(item_.text());
        showing_ = false;
        changed();
        status_->setText(sameItem || d.fresh
                             ? QStringLiteral("Texto recuperado: guárdelo para no perderlo.")
                             : QStringLiteral("Texto recuperado como texto nuevo, porque el texto %1 ha cambiado "
                                              "desde entonces: guárdelo para no perderlo.")
                                   .arg(d.number));
        return;
    }
}

void EditorWindow::closeEvent(QCloseEvent* event)
{
    if (settleUnsaved())
        event->accept();
    else
        event->ignore();
}

void EditorWindow::showResults()
{
    auto* view = findChild<ResultsView*>(QStringLiteral("VistaResultados"));
    if (!view) {
        view = new ResultsView(this);
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
