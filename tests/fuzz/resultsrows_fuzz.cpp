// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the bytes as a results file read back for the teacher, and as
// the fields of a row that is written and read again.

#include "tests/fuzz/fuzztargets.h"

#include "library/resultsfolder.h"
#include "library/resultsrow.h"

#include <string>

namespace fuzz {

namespace {

void require(bool holds, const char* property)
{
    if (!holds)
        throw PropertyFailure(std::string("resultsrows: ") + property);
}

bool clean(const QString& field)
{
    for (QChar c : field) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            return false;
    }
    return true;
}

bool cleanWords(const QStringList& words)
{
    for (const QString& word : words) {
        if (word.isEmpty() || word.contains(u' ') || !clean(word))
            return false;
    }
    return true;
}

// What every row read holds: no control character in any field, no empty
// word, and nothing that writing it again would change.
void checkRead(const results::Row& row)
{
    require(clean(row.pupil) && clean(row.exercise), "no control character in a text field read");
    require(cleanWords(row.failures()) && cleanWords(row.written()) && cleanWords(row.families())
                && cleanWords(row.rightFirstTime()),
            "words read are whole words without control characters");
    require(row.written().isEmpty() || row.written().size() == row.failures().size(), "one written form per failed word");
    require(row.families().isEmpty() || row.families().size() == row.failures().size(), "one family per failed word");
    require(!row.inTime || row.finished, "not in time unless finished");
    require(results::normalised(row) == row, "a row read is in its normal form");
    QString line = QString::fromUtf8(results::encodeRow(row));
    line.chop(2);
    require(results::parseRow(line) == row, "a row read, written again, reads back the same");
}

// A row built from the bytes: each piece between \x1e separators is a field.
results::Row rowFrom(const QByteArray& bytes)
{
    const QList<QByteArray> pieces = bytes.split('\x1e');
    auto piece = [&pieces](qsizetype i) { return i < pieces.size() ? QString::fromUtf8(pieces.at(i)) : QString(); };
    auto number = [&bytes](qsizetype i) { return i < bytes.size() ? static_cast<unsigned char>(bytes.at(i)) : 0; };
    results::Row row;
    row.date = QDate(1000 + number(0) * 35, 1 + number(1) % 12, 1 + number(2) % 28);
    row.time = QTime(number(3) % 24, number(4) % 60, number(5) % 60, number(6));
    row.pupil = piece(1);
    row.exercise = piece(2);
    row.item = qint64(number(7)) * 1'000'000'000'000'000LL - 5;
    row.finished = number(8) & 1;
    row.inTime = number(8) & 2;
    row.seconds = number(9) - 100;
    row.corrected = number(10);
    row.failed = number(11) - 3;
    row.help = number(8) & 4;
    row.setFailures(piece(3).split(u' '));
    row.setWritten(piece(4).split(u' ', Qt::SkipEmptyParts));
    row.setFamilies(piece(5).split(u' ', Qt::SkipEmptyParts));
    row.setRightFirstTime(piece(6).split(u'\t'));
    return row;
}

}  // namespace

void readAndWriteRows(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));

    // A whole file's bytes, as the teacher's view reads them.
    results::Folder folder;
    results::readFile(QStringLiteral("f.csv"), bytes, folder);
    require(folder.skippedLines >= 0, "a count of lines skipped");
    for (const results::Row& row : folder.rows)
        checkRead(row);

    // The bytes as a row written by the pupil's program: it reads back as its
    // normal form, alone and in a file.
    const results::Row row = rowFrom(bytes);
    const results::Row normal = results::normalised(row);
    require(results::normalised(normal) == normal, "the normal form is its own normal form");
    const QByteArray encoded = results::encodeRow(row);
    require(encoded.endsWith("\r\n") && encoded.count('\n') == 1, "a row is one line");
    QString line = QString::fromUtf8(encoded);
    line.chop(2);
    const std::optional<results::Row> parsed = results::parseRow(line);
    require(parsed.has_value(), "a written row reads back");
    require(*parsed == normal, "a written row reads back as its normal form");
    checkRead(*parsed);
    results::Folder file;
    results::readFile(QStringLiteral("f.csv"),
                      QByteArray("\xEF\xBB\xBF") + results::Header + "\r\n" + encoded + encoded, file);
    require(file.skippedLines == 0 && file.rows == QList<results::Row>{normal, normal},
            "a file of written rows reads back as their normal forms");
}

}  // namespace fuzz
