// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Reading results rows from the bytes of a file, at the pace a school's
// folder asks for (hundreds of thousands of rows).

#include "library/resultsrow.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>

#include <optional>

namespace results {

// Whether `bytes` are valid UTF-8 (no overlong form, surrogate or code point
// past U+10FFFF).
bool isUtf8(QByteArrayView bytes);

// Reads rows from lines of bytes, each exactly as parseRow() reads the line
// decoded as the program decodes texts (UTF-8 when it is valid UTF-8,
// Windows-1252 otherwise). A line as the program writes it (UTF-8, no quoted
// field, every word list in its normal form) is read straight from its
// bytes; any other goes through parseRow(). Names and exercises read are
// kept once each and shared between the rows.
class RowReader {
public:
    std::optional<Row> read(QByteArrayView line);
    // The row of a line in the program's own form; nothing for any other
    // line, which read() then gives to parseRow().
    std::optional<Row> readPlain(QByteArrayView line);

private:
    const QString& shared(QHash<QByteArray, QString>& known, QByteArrayView field, QString (*normal)(const QString&));
    void share(QString& text);

    QHash<QByteArray, QString> pupils_;     // by the field's bytes: the name's normal form
    QHash<QByteArray, QString> exercises_;  // likewise
    QHash<QString, QString> texts_;         // names of rows read through parseRow()
};

}  // namespace results
