// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's window: saving the item, settling unsaved changes, and the
// drafts a crash left behind offered back.

#include "editor/editorwindow.h"

#include "editor/drafts.h"
#include "editor/editorwindowparts.h"

#include "library/itemwriter.h"

#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>

namespace editor {

using namespace window;

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
    itemPane_.status->setText(before == number_
                                  ? QStringLiteral("Texto %1 guardado.").arg(number_)
                                  : QStringLiteral("Texto %1 guardado: el número %2 lo tomó otro texto mientras "
                                                   "tanto.")
                                        .arg(number_)
                                        .arg(before));
    const QSignalBlocker block(itemsPane_.items);
    for (int i = 0; i < itemsPane_.items->count(); ++i) {
        if (itemsPane_.items->item(i)->data(NumberRole).toInt() == before) {
            itemsPane_.items->item(i)->setData(NumberRole, number_);
            itemsPane_.items->item(i)->setText(QStringLiteral("Texto %1").arg(number_));
        }
    }
    setEditable();
    return true;
}

void EditorWindow::offerDrafts()
{
    for (const drafts::Draft& d : drafts::all()) {
        const QString name = QFileInfo(d.exerciseFolder).fileName();
        if (!QFileInfo(d.exerciseFolder).isDir() ||
            !prompts_.confirm(this, QStringLiteral("Texto sin guardar"),
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
        itemPane_.correct->setPlainText(item_.text());
        showing_ = false;
        changed();
        itemPane_.status->setText(
            sameItem || d.fresh ? QStringLiteral("Texto recuperado: guárdelo para no perderlo.")
                                : QStringLiteral("Texto recuperado como texto nuevo, porque el texto %1 ha cambiado "
                                                 "desde entonces: guárdelo para no perderlo.")
                                      .arg(d.number));
        return;
    }
}

}  // namespace editor
