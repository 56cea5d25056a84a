// SPDX-License-Identifier: GPL-3.0-or-later
// What the files of the editor's window share.

#pragma once

#include <QLoggingCategory>
#include <QString>

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

}  // namespace editor::window
