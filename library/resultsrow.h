#pragma once

// One results row: a text worked by one pupil, and its form as a line of a
// CSV file (';' between fields, UTF-8).

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTime>

#include <optional>

namespace results {

// The first line of every results file (after the UTF-8 byte-order mark).
inline constexpr char Header[] =
    "fecha;hora;alumno;ejercicio;texto;terminado;en_plazo;segundos;palabras_corregidas;palabras_con_fallo;ayuda;fallos";
inline constexpr int FieldCount = 12;

// One row: one text worked by one pupil.
struct Row {
    QDate date;            // when the row was written (local)
    QTime time;
    QString pupil;
    QString exercise;      // the name shown in the exercise list
    qint64 item = 0;       // the item number
    bool finished = false;
    bool inTime = false;   // finished before the countdown ran out
    qint64 seconds = 0;    // from the load to the row
    int corrected = 0;     // words turned blue
    int failed = 0;        // words left red at least once
    bool help = false;     // the help view was opened
    QStringList failures;  // the correct form of each failed word, in text order
    // Read and written only in rows of the longer format (the columns escrito,
    // familias and acertadas); empty in rows of the first twelve columns.
    QStringList written;         // per failure, its last red form ("-" when emptied)
    QStringList families;        // per failure, its family tokens ("b/v", "h+mayúscula"...)
    QStringList rightFirstTime;  // the words corrected without ever being left red
    bool operator==(const Row&) const = default;
};

// A field as the file holds it: line breaks and other control characters
// become spaces (a row is always one line); a field holding ';' or '"' is
// quoted, with '"' doubled.
QString csvField(const QString& value);
// The row as one line, ending in CR LF, in UTF-8.
QByteArray encodeRow(const Row& row);
// The fields of one line (without its line end); nothing when a quoted field
// is not closed or a quote stands inside an unquoted field.
std::optional<QStringList> splitLine(QStringView line);
// A row from one line; nothing when it is not a complete row of the format.
std::optional<Row> parseRow(QStringView line);

}  // namespace results

// Rows move in memory as plain bytes: a list of a school year's rows grows in
// place instead of being copied row by row into a second block.
Q_DECLARE_TYPEINFO(results::Row, Q_RELOCATABLE_TYPE);
