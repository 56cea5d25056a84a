// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QMap>
#include <QString>

// Drafts: the item being written, kept in the user's data folder
// ($XDG_DATA_HOME/miravellon/borradores) after every change and removed once
// it is saved or dropped, so that a text survives a crash and is offered back
// the next time the editor starts.
namespace editor::drafts {

struct Draft {
    QString exerciseFolder;
    int number = 0;
    QString text;                          // the correct text
    QMap<qsizetype, QString> misspellings; // by word position
    bool fresh = false;                    // an item never saved
    QString base;                          // stamp() of the saved item it changes
    bool operator==(const Draft&) const = default;
};

// What item `number` of an exercise folder holds, both versions, as a short
// hash: a draft of an item changes that item only if it still holds what the
// draft started from. Empty when the item has no correct version.
QString stamp(const QString& exerciseFolder, int number);

// Whether restoring `draft` would write over the item it was made from: only
// when that item was saved once and still holds what the draft started from.
// Otherwise the draft becomes a new item, under the next free number.
bool changesItsItem(const Draft& draft);

// The drafts folder.
QString folder();

// Keeps `draft` (written whole or not at all); false when it cannot.
bool keep(const Draft& draft);
// Drops the draft of that item, if any.
void drop(const QString& exerciseFolder, int number);
// Every draft kept, oldest first; unreadable files, and drafts whose item
// number is no item number, are left out.
QList<Draft> all();

}  // namespace editor::drafts
