// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's window: the item's two versions shown, the correct one
// edited or imported, and the checker's findings on them.

#include "editor/editorwindow.h"

#include "editor/drafts.h"
#include "editor/editorwindowparts.h"
#include "editor/findings.h"

#include "library/textfile.h"

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTimer>

namespace editor {

using namespace window;

namespace {

// `places` of `document` shown in `format`.
QList<QTextEdit::ExtraSelection> marks(QTextDocument* document, const QList<WordSlot>& places,
                                       const QTextCharFormat& format)
{
    QList<QTextEdit::ExtraSelection> selections;
    for (const WordSlot& s : places) {
        QTextEdit::ExtraSelection selection;
        selection.cursor = QTextCursor(document);
        selection.cursor.setPosition(int(s.start));
        selection.cursor.setPosition(int(s.start + s.length), QTextCursor::KeepAnchor);
        selection.format = format;
        selections.append(selection);
    }
    return selections;
}

}  // namespace

void EditorWindow::showItem()
{
    showing_ = true;
    itemPane_.correct->setPlainText(item_.text());
    showing_ = false;
    showFaulty();
    setEditable();
    refreshFindings();
}

void EditorWindow::showFaulty()
{
    itemPane_.faulty->setPlainText(item_.faultyText());
    QTextCharFormat marked;
    marked.setBackground(QColor(0xFF, 0xE0, 0x66));
    marked.setForeground(QColor(0xB0, 0x00, 0x00));
    marked.setFontWeight(QFont::Bold);
    itemPane_.faulty->setExtraSelections(marks(itemPane_.faulty->document(), item_.faultyPlaces(), marked));

    // The words of the correct text that have a misspelling, underlined.
    QTextCharFormat underlined;
    underlined.setUnderlineStyle(QTextCharFormat::SingleUnderline);
    underlined.setUnderlineColor(QColor(0xB0, 0x00, 0x00));
    QList<WordSlot> misspelt;
    for (const qsizetype position : item_.misspellings().keys())
        misspelt.append(item_.places()[position]);
    itemPane_.correct->setExtraSelections(marks(itemPane_.correct->document(), misspelt, underlined));
}

void EditorWindow::textEdited()
{
    if (showing_)
        return;
    item_.setText(itemPane_.correct->toPlainText());
    changed();
}

void EditorWindow::changed()
{
    dirty_ = true;
    // What the status line said (a text saved, a picture chosen) no longer holds.
    itemPane_.status->clear();
    showFaulty();
    if (!readOnly_ && number_ > 0 &&
        !drafts::keep({exerciseFolder_, number_, item_.text(), item_.misspellings(), unsavedNew_, loadedStamp_}))
        qCWarning(lcEditor) << "cannot keep a draft in" << drafts::folder();
    findingsTimer_->start();
}

void EditorWindow::refreshFindings()
{
    findingsTimer_->stop();
    itemPane_.findings->clear();
    if (number_ <= 0 || item_.words().isEmpty())
        return;
    const QStringList lines = findings(item_.draft(), number_, acceptedLists());
    for (const QString& line : lines)
        itemPane_.findings->addItem(line);
    if (lines.isEmpty())
        itemPane_.findings->addItem(QStringLiteral("Sin errores ni avisos."));
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
    itemPane_.correct->setPlainText(item_.text());
    showing_ = false;
    changed();
}

}  // namespace editor
