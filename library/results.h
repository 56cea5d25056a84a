#pragma once

// The lasting record of the texts a pupil works: one CSV row per text, the
// rules that count what the pupil did in it, the files the rows go to, and
// reading a folder of such files back into a summary for the teacher. No
// widgets: the main window feeds the tracker and appends the rows, the
// teacher's view reads them back.

#include "library/exerciseitem.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTime>

#include <optional>

class QSettings;

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

// The attempt at one text, fed with what happens in it. A word counts as
// failed when it is red at a moment the pupil leaves it: another word picked,
// the help view opened, the text left. Red states it passes through while the
// pupil retypes it, and leaves black or blue, are no failure.
class Attempt {
public:
    // A new text is loaded: `correctWords` is its correct version, word by
    // word; everything counted before is forgotten.
    void start(const QString& exercise, qint64 item, const QStringList& correctWords, const QDateTime& now);
    bool active() const { return active_; }
    // A word has been picked in this text, so leaving it yields a row.
    bool picked() const { return picked_; }

    // The word at `position` (0-based, in text order) is picked.
    void pick(int position);
    // The typed form of the word at `position` is judged.
    void judge(int position, Judgement judgement);
    void openHelp();

    // Ends the attempt and gives its row (date, time and seconds from `now`;
    // `pupil` names it). Nothing when no attempt is active.
    std::optional<Row> finish(bool finished, bool inTime, const QString& pupil, const QDateTime& now);
    // Words turned blue and words failed so far, for the tests and the row.
    int corrected() const { return int(blue_.size()); }
    int failed() const { return int(failed_.size()); }

private:
    // Every word red now counts as failed.
    void leaveRed();

    bool active_ = false;
    bool picked_ = false;
    bool help_ = false;
    QString exercise_;
    qint64 item_ = 0;
    QStringList correct_;
    QDateTime loaded_;
    int current_ = -1;
    QMap<int, Judgement> state_;  // the last judgement of each word judged
    QSet<int> blue_;
    QSet<int> failed_;
};

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

// A folder of results files read back, for the teacher.
struct Filter {
    QDate from;        // null: no lower bound
    QDate to;          // null: no upper bound
    QString exercise;  // empty: every exercise
};

struct PupilSummary {
    QString pupil;
    int days = 0;
    int started = 0;
    int finished = 0;
    int inTime = 0;
    int corrected = 0;
    int failed = 0;
    bool operator==(const PupilSummary&) const = default;
};

struct FailedWord {
    QString word;
    int count = 0;
    bool operator==(const FailedWord&) const = default;
};

struct Folder {
    QList<Row> rows;          // every row read, in file-name and line order
    int skippedLines = 0;     // lines that are not rows: cut, damaged, foreign
    QStringList damagedFiles; // the files those lines came from
};

// Reads every *.csv of `folder`. Never fails: what cannot be read is counted.
Folder readFolder(const QString& folder);
// Reads the bytes of one file into `into`.
void readFile(const QString& name, const QByteArray& bytes, Folder& into);

bool matches(const Row& row, const Filter& filter);
// One summary per pupil, by name; only the rows the filter lets through.
QList<PupilSummary> summarize(const QList<Row>& rows, const Filter& filter);
// The failed words of the rows the filter lets through, most often failed
// first (ties alphabetical, letter case aside), at most `limit`. A word is counted without the
// punctuation around it.
QList<FailedWord> mostFailed(const QList<Row>& rows, const Filter& filter, int limit);
// The exercises the rows name, sorted.
QStringList exercises(const QList<Row>& rows);
// The summary table as a CSV file (byte-order mark, ';', CR LF).
QByteArray summaryCsv(const QList<PupilSummary>& summaries);

// The spelling families a correct word belongs to, told from the letters it
// holds (the faulty form is not kept). A word may be in several families:
//   "b/v"        a b or a v
//   "h"          an h not after c (ch is a letter of its own)
//   "g/j"        a j, or a g before e or i
//   "ll/y"       ll or y
//   "c/z/s"      a z, or a c before e or i
//   "r/rr"       rr, or an r that starts the word
//   "m antes de p/b"  mp or mb
//   "tilde"      á, é, í, ó or ú
//   "mayúscula"  it starts with a capital letter
QStringList spellingFamilies(const QString& word);

}  // namespace results
