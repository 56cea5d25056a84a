// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Every setting the programs read, in one table: its key in miravellon.conf,
// its default and what it means. The files are the ones QSettings reads on
// Linux: the account's $XDG_CONFIG_HOME/miravellon/miravellon.conf first, then
// the machine's (/etc/xdg/miravellon/miravellon.conf, or any folder of
// $XDG_CONFIG_DIRS), so a school sets a whole lab with one file and a pupil's
// own file overrides it. Keys are in Spanish, as the files a school edits.

#include <QList>
#include <QString>
#include <QVariant>

namespace settings {

struct Key {
    const char* name;     // "grupo/clave", as in the file
    QVariant fallback;    // the value when no file sets it
    const char* meaning;  // for the table in the README and for whoever reads the code
    const char* former;   // an older key still read when `name` is not set, or nullptr
};

// The results folder: an absolute path outside the program's content; empty
// for the default, $XDG_DATA_HOME/miravellon/resultados.
extern const Key ResultsFolder;    // resultados/carpeta
// Ask «¿Cómo te llamas?» at start-up (shared accounts).
extern const Key AskName;          // alumno/preguntar
// The normal size of the exercise text, in points, as the pupil last chose it.
extern const Key TextSize;         // texto/tamano (formerly exerciseText/normalSize)
// The pupil's review of her own failed words.
extern const Key Review;           // repaso/activo
// The editor's last folder in its file dialogs, and the family «Poner faltas…» used last.
extern const Key EditorFolder;     // editor/carpeta
extern const Key EditorFamily;     // editor/familia

// Every key above, in that order.
const QList<const Key*>& all();

// The value of `key`: the account's file, then the machine's, then the key's
// former name in the same order, then its fallback. Each call reads the files
// anew, so a file changed meanwhile is seen.
QVariant value(const Key& key);
// Writes `key` to the account's file and drops its former name there.
void setValue(const Key& key, const QVariant& value);

}  // namespace settings
