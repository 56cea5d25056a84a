// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's window: the misspellings of the words, chosen from a word's
// menu or put by a family, and the pictures of misspelt words.

#include "editor/editorwindow.h"

#include "editor/editorwindowparts.h"
#include "editor/picture.h"

#include "library/families.h"
#include "library/spelling.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRandomGenerator>

namespace editor {

using namespace window;

namespace {

bool isWord(const QString& word)
{
    return spelling::Dictionary::spanish().knows(spelling::bareWord(word));
}

}  // namespace

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
        const std::optional<QString> typed = prompts_.askChecked(this, QStringLiteral("Escribir otra falta"),
                                                                 QStringLiteral("Falta para «%1»:").arg(word),
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

void EditorWindow::showWordMenu(std::optional<qsizetype> word, const QPoint& globalPos)
{
    if (!word || readOnly_)
        return;
    std::unique_ptr<QMenu> menu = wordMenu(*word);
    menu->exec(globalPos);
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

void EditorWindow::choosePicture()
{
    if (readOnly_ || number_ <= 0)
        return;
    const std::optional<qsizetype> position = item_.wordAt(itemPane_.correct->textCursor().position());
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
    itemPane_.status->setText(
        QStringLiteral("Dibujo de «%1» guardado en %2.").arg(word, QDir::toNativeSeparators(result.path)));
}

}  // namespace editor
