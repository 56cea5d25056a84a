// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Where a pupil's rows go: the folder from the settings, the pupil's and the
// machine's names, the file of a pupil, and appending a row to it safely.

#include "library/resultsrow.h"

#include <QStringList>

namespace results {

// A name made safe for a file name: in composed form (NFC), letters and
// digits kept, every run of other characters (spaces, '/', '_', dots,
// quotes...) one '-', at most 60 characters; `fallback` when nothing is left.
QString safeName(const QString& name, const QString& fallback);
// The account's full name (the first field of its GECOS entry), or its login
// name when it has none.
QString accountName();
// The machine's part of a file name: its host name, kept readable, and a
// short stable hash of its machine id, so that two machines cloned from one
// image with one host name still write different files. Cloned machines
// that share the id as well are told apart by their host names only.
QString machinePart(const QString& hostName, const QByteArray& machineId);
// This machine's part (its host name and /etc/machine-id).
QString thisMachine();
// The file of one pupil, month and machine: AAAA-MM_<alumno>_<equipo>.csv;
// a `sibling` above 1 names the file used when that one cannot be:
// AAAA-MM_<alumno>_<equipo>_<sibling>.csv.
QString fileName(const QDate& date, const QString& pupil, const QString& machine, int sibling = 1);

// The folder the rows go to: `configured` (the setting resultados/carpeta)
// when it is an absolute path outside every folder of `contentFolders` (the
// program's content tree, the exercise and picture folders of the teacher's
// and the school's), otherwise the default, $XDG_DATA_HOME/miravellon/resultados.
QString defaultFolder();
QString resolveFolder(const QString& configured, const QStringList& contentFolders);
// The program's settings: $XDG_CONFIG_HOME/miravellon/miravellon.conf, then
// the machine-wide ones under $XDG_CONFIG_DIRS.
QString configuredFolder();
bool askForName();

// What became of a row appended to a file.
enum class Appended {
    Written,      // the row is in the file now
    AlreadyThere, // a row of the same date, time, pupil, exercise and item was
    Busy,         // another program held the file's lock past the bound
    Unusable,     // not a file this account may write: a link, a folder, a
                  // pipe, another account's file, unreadable, too large
    Failed,       // the folder or the disk refused the write
};
struct AppendOutcome {
    Appended result = Appended::Failed;
    QString path;    // the file tried last
    QString reason;  // why it was not written, for the diagnostic log
};

// Appends `row` to `path`, a file of the shared results folder, which other
// accounts may have planted things in. The file is opened without following
// a link and used only when it is a regular file this account can append to
// and, where the filesystem keeps real owners, this account's own (on CIFS
// mounts, and NFS mounts that squash every account to one, each file shows
// the mount's owner and is used). The lock is polled for at most about
// 100 ms. A new file gets the byte-order mark and the header; a last line
// left without its line end (the machine went off while writing) is closed
// first, so the row starts on a line of its own; a row already in the file
// is not written again. The bytes are one write, undone when the disk
// refuses part of it, and flushed to the disk itself before this returns.
// May block for as long as the filesystem does: never call it on the
// window's thread.
AppendOutcome appendToFile(const QString& path, const Row& row);
// Appends `row` to the pupil's file of its month in `folder` (created when
// missing), or to the first sibling of it that can be used.
AppendOutcome appendToPupilFile(const QString& folder, const QString& machine, const Row& row);
// appendToFile() after making the file's folder; true when the row is in
// the file.
bool appendRow(const QString& path, const Row& row);

}  // namespace results
