#pragma once

// Where a pupil's rows go: the folder from the settings, the pupil's and the
// machine's names, the file of a pupil, and appending a row to it safely.

#include "library/resultsrow.h"

#include <QStringList>

namespace results {

// A name made safe for a file name: letters and digits kept, every run of
// other characters (spaces, '/', '_', dots, quotes...) one '-', at most 60
// characters; `fallback` when nothing is left.
QString safeName(const QString& name, const QString& fallback);
// A name as the rows hold it: control characters and surrounding spaces gone,
// inner runs of spaces one space, and no leading '=', '+', '-' or '@' (which
// a spreadsheet would take for a formula).
QString cleanName(const QString& name);
// The account's full name (the first field of its GECOS entry), or its login
// name when it has none.
QString accountName();
// The file of one pupil, day and machine: AAAA-MM-DD_<alumno>_<máquina>.csv.
QString fileName(const QDate& date, const QString& pupil, const QString& machine);

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

// Appends `row` to `path`: the file is created with the byte-order mark and
// the header; a last line left without its line end (the machine went off
// while writing) is closed first, so the row starts on a line of its own.
// Everything is one write, under an exclusive lock, handed to the system at
// once. False when the file cannot be written.
bool appendRow(const QString& path, const Row& row);
// Waits until what was written to `path` is on the disk itself: some
// milliseconds, so the program does it when the pupil is not waiting.
bool syncToDisk(const QString& path);

}  // namespace results
