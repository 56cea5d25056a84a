// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "editor/editeditem.h"
#include "editor/editorpanes.h"
#include "editor/prompts.h"
#include "library/acceptedwords.h"

#include <QMainWindow>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QListWidgetItem;
class QMenu;
class QTimer;

namespace editor {

// The editor's window: the exercises on the left (the teacher's, then the
// shipped ones, read-only), the items of the chosen exercise in the middle,
// and the item on the right: its correct text, the version with misspellings
// beside it, and the checker's findings below (the panes of editorpanes.h).
// The rules live in EditedItem, items::, exercises:: and drafts::; this class
// shows them and forwards, one file per concern: the window, the exercises,
// the items, the versions, the misspellings, saving, trying and findings.
class EditorWindow : public QMainWindow {
    Q_OBJECT
public:
    // `shippedRoot`: the program's own content tree (read-only here);
    // `teacherRoot`: the teacher's content root, whose "Ejercicios" folder
    // holds her exercises (made when the first one is).
    EditorWindow(const QString& shippedRoot, const QString& teacherRoot, Prompts& prompts,
                 QWidget* parent = nullptr);
    ~EditorWindow() override;

    // Offers back the drafts a crash left behind.
    void offerDrafts();

    // The menu of the word at `position` of the correct text: the
    // misspellings the families propose, "Escribir otra…" and "Quitar la
    // falta". Owned by the caller.
    std::unique_ptr<QMenu> wordMenu(qsizetype position);
    // Runs the checker's rules now rather than after the pause in typing.
    void refreshFindings();

    // Starts a program detached; replaced by the tests. True when started.
    std::function<bool(const QString& program, const QStringList& arguments)> startProgram;

    const EditedItem& item() const { return item_; }
    bool isDirty() const { return dirty_; }
    QString exerciseFolder() const { return exerciseFolder_; }
    int itemNumber() const { return number_; }

    void newExercise();
    void renameExercise();
    void deleteExercise();
    void copyExercise();
    void newItem();
    void deleteItem();
    void moveItemUp();
    void moveItemDown();
    void putMisspellings();
    void importText();
    void choosePicture();
    // Opens the pupils' results (the folder the program writes them to) in a
    // window of their own.
    void showResults();
    // "Probar": the pupil's program on the text being edited, saved first.
    void tryText();
    // Adds the word, or the pair, of the finding chosen to the teacher's
    // accepted words or homophones.
    void acceptFinding();
    // Whether the finding is none that acceptFinding() takes.
    bool readOnlyFinding(const QListWidgetItem* finding) const;
    // The accepted words and pairs of the teacher's folder and the program's.
    acceptedwords::Lists acceptedLists() const;
    bool save();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void connectControls();
    void fillExercises(const QString& select = {});
    void fillItems(int select);
    void openExercise();
    void openItem();
    bool settleUnsaved();
    void textEdited();
    void showItem();
    void showFaulty();
    void changed();
    // The menu of `word` (a word position, if any) at `globalPos`.
    void showWordMenu(std::optional<qsizetype> word, const QPoint& globalPos);
    void moveItem(int from);
    void setEditable();

    QString shippedRoot_;
    QString teacherRoot_;
    QString teacherCatalogue_;
    Prompts& prompts_;

    ExercisesPane exercisesPane_;
    ItemsPane itemsPane_;
    ItemPane itemPane_;
    QTimer* findingsTimer_ = nullptr;

    EditedItem item_;
    QString exerciseFolder_;
    bool readOnly_ = true;
    int number_ = 0;
    bool unsavedNew_ = false;  // not saved yet: its number was free when it was made
    QString loadedStamp_;      // drafts::stamp() of the item as it was read or saved
    bool dirty_ = false;
    bool showing_ = false;  // the text is being set by the window, not typed
};

}  // namespace editor
