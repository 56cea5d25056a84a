// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's window: the list of the exercise's items, opening one, and
// adding, deleting and moving items.

#include "editor/editorwindow.h"

#include "editor/drafts.h"
#include "editor/editorwindowparts.h"
#include "editor/itemstore.h"

#include "library/itemwriter.h"

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>

namespace editor {

using namespace window;

void EditorWindow::fillItems(int select)
{
    {
        const QSignalBlocker block(itemsPane_.items);
        itemsPane_.items->clear();
        const QList<int> numbers = exerciseFolder_.isEmpty() ? QList<int>() : items::numbers(exerciseFolder_);
        for (const int n : numbers) {
            auto* row = new QListWidgetItem(QStringLiteral("Texto %1").arg(n));
            row->setData(NumberRole, n);
            itemsPane_.items->addItem(row);
            if (n == select)
                itemsPane_.items->setCurrentItem(row);
        }
    }
    number_ = 0;
    dirty_ = false;
    openItem();
}

void EditorWindow::openItem()
{
    QListWidgetItem* row = itemsPane_.items->currentItem();
    const int number = row ? row->data(NumberRole).toInt() : 0;
    if (number == number_ && number != 0)
        return;
    if (!settleUnsaved()) {
        // Back to the item being edited.
        backTo(itemsPane_.items, NumberRole, number_);
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
            itemPane_.status->setText(warning);
        else
            itemPane_.status->clear();
    }
    dirty_ = false;
    showItem();
}

void EditorWindow::newItem()
{
    if (readOnly_ || exerciseFolder_.isEmpty() || !settleUnsaved())
        return;
    const int number = itemwriter::nextNumber(exerciseFolder_);
    {
        const QSignalBlocker block(itemsPane_.items);
        auto* row = new QListWidgetItem(QStringLiteral("Texto %1 (nuevo)").arg(number));
        row->setData(NumberRole, number);
        itemsPane_.items->addItem(row);
        itemsPane_.items->setCurrentItem(row);
    }
    number_ = number;
    unsavedNew_ = true;
    item_ = EditedItem();
    dirty_ = false;
    itemPane_.status->setText(QStringLiteral("Escriba o pegue el texto bien escrito y póngale faltas."));
    showItem();
    itemPane_.correct->setFocus();
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

}  // namespace editor
