// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTextEdit;
class QWidget;

namespace editor {

// The three panes of the editor's window, each built with its controls named
// and described for the teacher (name, accessible name, tooltip) and nothing
// connected: the window gives them their behaviour.

// Left: the exercises, the teacher's and then the program's.
struct ExercisesPane {
    QWidget* pane = nullptr;
    QListWidget* exercises = nullptr;
    QPushButton* newExercise = nullptr;
    QPushButton* renameExercise = nullptr;
    QPushButton* deleteExercise = nullptr;
    QPushButton* copyExercise = nullptr;
    QPushButton* results = nullptr;
};
ExercisesPane buildExercisesPane(QWidget* parent);

// Middle: the items of the chosen exercise.
struct ItemsPane {
    QWidget* pane = nullptr;
    QListWidget* items = nullptr;
    QPushButton* newItem = nullptr;
    QPushButton* deleteItem = nullptr;
    QPushButton* upItem = nullptr;
    QPushButton* downItem = nullptr;
};
ItemsPane buildItemsPane(QWidget* parent);

// Right: the item, its two versions side by side, what can be done with it,
// the checker's findings and the status line.
struct ItemPane {
    QWidget* pane = nullptr;
    QPlainTextEdit* correct = nullptr;
    QTextEdit* faulty = nullptr;
    QPushButton* putMisspellings = nullptr;
    QPushButton* importText = nullptr;
    QPushButton* picture = nullptr;
    QPushButton* save = nullptr;
    QPushButton* tryText = nullptr;
    QListWidget* findings = nullptr;
    QPushButton* accept = nullptr;
    QLabel* status = nullptr;
};
ItemPane buildItemPane(QWidget* parent);

}  // namespace editor
