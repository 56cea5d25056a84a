// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// One results row: a text worked by one pupil, and its form as a line of a
// CSV file (';' between fields, UTF-8).

#include "library/wordlist.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTime>

#include <optional>

namespace results {

// The first line of every results file (after the UTF-8 byte-order mark).
inline constexpr char Header[] =
    "fecha;hora;alumno;ejercicio;texto;terminado;en_plazo;segundos;palabras_corregidas;palabras_con_fallo;ayuda;fallos;"
    "escrito;familias;acertadas";
// Rows are written with every field; rows of the first, shorter format (the
// twelve fields up to fallos) are still read.
inline constexpr int FieldCount = 15;
inline constexpr int ShortFieldCount = 12;
// Whether `line` is the first line of a results file of either format.
bool isHeader(QStringView line);

// One row: one text worked by one pupil. Its members are ordered for size:
// a school year holds hundreds of thousands of rows.
struct Row {
    QDate date;            // when the row was written (local)
    QString pupil;
    QString exercise;      // the name shown in the exercise list
    qint64 item = 0;       // the item number
    qint64 seconds = 0;    // from the load to the row
    QTime time;
    int corrected = 0;     // words turned blue
    int failed = 0;        // words left red at least once
    bool finished = false;
    bool inTime = false;   // finished before the countdown ran out
    bool help = false;     // the help view was opened
    // The word lists, in one block. All but the first are read and written
    // only in rows of the longer format (the columns escrito, familias and
    // acertadas), and empty in rows of the first twelve columns.
    // The correct form of each failed word, in text order.
    WordList failures() const { return words_.get(RowWords::Failures); }
    // Per failure, its last red form ("-" when emptied).
    WordList written() const { return words_.get(RowWords::Written); }
    // Per failure, its family tokens ("b/v", "h+mayúscula"...).
    WordList families() const { return words_.get(RowWords::Families); }
    // The words corrected without ever being left red.
    WordList rightFirstTime() const { return words_.get(RowWords::RightFirstTime); }
    void setFailures(const WordList& words) { words_.set(RowWords::Failures, words); }
    void setWritten(const WordList& words) { words_.set(RowWords::Written, words); }
    void setFamilies(const WordList& words) { words_.set(RowWords::Families, words); }
    void setRightFirstTime(const WordList& words) { words_.set(RowWords::RightFirstTime, words); }
    // Whether one of the four lists holds more than `count` words.
    bool holdsListLongerThan(qsizetype count) const { return words_.holdsListLongerThan(count); }
    // The four lists from the fields of a row of a results file: valid UTF-8,
    // words in their normal form, one space between two.
    void setNormalUtf8Words(const QByteArrayView (&lists)[4]) { words_.setNormalUtf8(lists); }
    // The four at once.
    void setWords(const WordList& failures, const WordList& written, const WordList& families,
                  const WordList& rightFirstTime)
    {
        words_.setAll(failures, written, families, rightFirstTime);
    }
    bool operator==(const Row&) const = default;

private:
    RowWords words_;
};

// The normal form of a row, the one rule for what a row can hold. It is what
// writing a row and reading it back give, so a written row reads back exactly
// as its normal form:
// - text fields (alumno, ejercicio): every control character, line or
//   paragraph separator becomes a space (a row is always one line); the
//   pupil's name is also cleaned as cleanName() does (see pupilfile.h), and
//   neither begins with a character a spreadsheet takes for a formula
//   ('=', '+', '-', '@') or with spaces;
// - words of the word lists (fallos, escrito, familias, acertadas): control
//   characters, separators and spaces are removed inside a word, so a word
//   stays one word; a word of fallos left empty is dropped with its escrito
//   and familias; an empty word of escrito is "-", one of familias "otra";
// - escrito and familias have one entry per word of fallos, or none at all
//   (a row of the short format, or a row without failures);
// - a text not finished was not finished in time.
Row normalised(const Row& row);
// A word of a word list in its normal form (see normalised()).
QString normalWord(const QString& word);
// A text field in its normal form: control characters become spaces, and
// no formula character nor space begins it.
QString normalText(const QString& text);
// A name as the rows hold it: in composed form (NFC), control characters and
// surrounding spaces gone, inner runs of spaces one space, no leading '=',
// '+', '-' or '@' (which a spreadsheet would take for a formula), at most 100
// UTF-16 units, cut between two characters as a reader sees them.
QString cleanName(const QString& name);

// A field as the file holds it: line breaks and other control characters
// become spaces (a row is always one line); a field holding ';' or '"' is
// quoted, with '"' doubled.
QString csvField(const QString& value);
// The row's normal form as one line of every field, ending in CR LF, in UTF-8.
QByteArray encodeRow(const Row& row);
// The fields of `row` in the file's order, each text field (names and word
// lists) passed through `text` (csvField for the pupils' files, a
// spreadsheet-safe form for exports).
QStringList rowFields(const Row& row, QString (*text)(const QString&));
// The start of the row's line that tells it from every other row of its
// file: date, time, pupil, exercise and item (a file is one machine's), with
// the ';' after them.
QByteArray rowKey(const Row& row);
// The fields of one line (without its line end); nothing when a quoted field
// is not closed or a quote stands inside an unquoted field.
std::optional<QStringList> splitLine(QStringView line);
// A row, in its normal form, from one line of either format; nothing when it
// is not a complete row.
std::optional<Row> parseRow(QStringView line);

}  // namespace results

// Rows move in memory as plain bytes: a list of a school year's rows grows in
// place instead of being copied row by row into a second block.
Q_DECLARE_TYPEINFO(results::Row, Q_RELOCATABLE_TYPE);
