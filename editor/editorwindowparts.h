// SPDX-License-Identifier: GPL-3.0-or-later
// What the files of the editor's window share.

#pragma once

#include <QLoggingCategory>
#include <QString>
#include <QVariant>

class QListWidget;

Q_DECLARE_LOGGING_CATEGORY(lcEditor)

namespace editor::window {

// The window's title, and that of its messages.
inline const QString Title = QStringLiteral("Editor de ejercicios de Miravellon");

// What a row of the exercises holds: the exercise's folder, and whether it is
// one of the program's (read-only).
constexpr int PathRole = Qt::UserRole;
constexpr int ReadOnlyRole = Qt::UserRole + 1;
// What a row of the items holds: the item's number.
constexpr int NumberRole = Qt::UserRole;

// The last row of `list` whose `role` holds `value`; -1 when none does.
int rowHolding(const QListWidget* list, int role, const QVariant& value);
// Makes that row the current one again, telling no one: the choice of
// another row was refused.
void backTo(QListWidget* list, int role, const QVariant& value);

}  // namespace editor::window
