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
    bool operator==(const Draft&) const = default;
};

// The drafts folder.
QString folder();

// Keeps `draft` (written whole or not at all); false when it cannot.
bool keep(const Draft& draft);
// Drops the draft of that item, if any.
void drop(const QString& exerciseFolder, int number);
// Every draft kept, oldest first; unreadable files are left out.
QList<Draft> all();

}  // namespace editor::drafts
