// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's window: the list of exercises, opening one, and making,
// renaming, deleting and copying exercises.

#include "editor/editorwindow.h"

#include "editor/drafts.h"
#include "editor/editorwindowparts.h"
#include "editor/exercisefolders.h"
#include "editor/itemstore.h"

#include "library/catalogue.h"

#include <QDir>
#include <QFileInfo>
#include <QListWidget>

namespace editor {

using namespace window;

void EditorWindow::fillExercises(const QString& select)
{
    const QSignalBlocker block(exercisesPane_.exercises);
    exercisesPane_.exercises->clear();
    const auto add = [&](const QString& root, bool readOnly) {
        for (const QString& name : catalogue::listExercises(root)) {
            auto* row = new QListWidgetItem(readOnly ? QStringLiteral("%1 (del programa)").arg(name) : name);
            row->setData(PathRole, catalogue::exerciseFolder(root, name));
            row->setData(ReadOnlyRole, readOnly);
            if (readOnly)
                row->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
            exercisesPane_.exercises->addItem(row);
        }
    };
    add(teacherRoot_, false);
    add(shippedRoot_, true);
    int row = rowHolding(exercisesPane_.exercises, PathRole, select);
    if (row < 0 && select.isEmpty() && exercisesPane_.exercises->count() > 0)
        row = 0;
    exercisesPane_.exercises->setCurrentRow(row);
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
    QListWidgetItem* row = exercisesPane_.exercises->currentItem();
    const QString folder = row ? row->data(PathRole).toString() : QString();
    if (folder == exerciseFolder_)
        return;
    if (!settleUnsaved()) {
        // Back to the exercise being edited.
        backTo(exercisesPane_.exercises, PathRole, exerciseFolder_);
        return;
    }
    exerciseFolder_ = folder;
    readOnly_ = !row || row->data(ReadOnlyRole).toBool();
    if (!readOnly_ && items::interrupted(folder)) {
        const QString error = items::recover(folder);
        if (!error.isEmpty())
            prompts_.inform(this, Title,
                            QStringLiteral("No se puede terminar de renumerar los textos: %1.").arg(error));
    }
    const QList<int> numbers = items::numbers(folder);
    fillItems(numbers.isEmpty() ? 0 : numbers.first());
}

void EditorWindow::newExercise()
{
    if (!settleUnsaved())
        return;
    const QString proposed = exercises::proposedName({teacherCatalogue_, catalogue::exercisesFolder(shippedRoot_)});
    const std::optional<QString> name =
        prompts_.askText(this, QStringLiteral("Nuevo ejercicio"), QStringLiteral("Nombre del ejercicio:"), proposed);
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

}  // namespace editor
