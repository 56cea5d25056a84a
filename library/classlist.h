// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The class list: an optional file in the results folder naming the pupils of
// a class, one a line, from which a pupil chooses her name when the program
// asks it, so that one pupil's rows all carry one spelling of her name.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace classlist {

// The list's name in the results folder.
QString fileName();

// A class is some dozens of lines; a larger file is read no further than
// this, whole lines only, so that a planted file or a slow share costs little.
inline constexpr qint64 MaxFileBytes = 64 * 1024;

// The names that the bytes of a list hold, in their order. UTF-8 or UTF-16
// with a byte-order mark, UTF-8, or else Windows-1252; lines end in LF, CR LF
// or CR. Blank lines and lines whose first character (after spaces) is '#'
// are skipped; each name is cleaned as the rows hold names; a name that
// differs from an earlier one only in letter case and accents is left out.
// `complete` is false when the bytes are the start of a longer file: their
// last line, which may be cut, is left out.
QStringList parse(const QByteArray& bytes, bool complete = true);

// The names of the list in `folder`; none when it has no list or the list
// cannot be read.
QStringList read(const QString& folder);

// What two spellings of one name have in common: letter case and accents
// (but not the tilde of ñ) left out.
QString key(const QString& name);

// Whether `name` holds what the pupil typed so far, capitals and accents
// aside (any name holds nothing typed).
bool holds(const QString& name, const QString& typed);

// The name the pupil gave, cleaned; the list's own spelling when it is a name
// of `names` but for letter case and accents.
QString chosen(const QStringList& names, const QString& typed);

}  // namespace classlist
