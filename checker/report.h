// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QString>

class QTextStream;

// The findings of a check of one or more content folders, printed grouped:
// folder by folder (a section, under a heading), in each first what belongs
// to the folder as a whole, then exercise by exercise, each under a line that
// sums it up ("02 B y V: bien", "12 Mi ejercicio: 1 error, 2 avisos"); last
// the summary of the whole check.
class Report {
public:
    enum class Kind {
        Error,    // the program misbehaves or refuses the file
        Warning,  // works, but the teacher should have a look
        Note      // information only; not counted as a problem
    };

    // Starts the findings of another folder, printed under `heading` (none
    // when empty). Places are relative to that folder from here on.
    void beginSection(const QString& heading);
    // An exercise of the current section: the findings whose place is
    // `place` or lies under it are printed under its summary line, which
    // starts with `title`. Exercises are printed in the order they are added.
    void addExercise(const QString& title, const QString& place);

    // `place` is a path relative to the folder checked (or empty for the check
    // as a whole: such a finding is given once, however many folders say
    // it); `line` counts from 1, 0 when the finding has no line; `where`
    // says where in the line, when it helps.
    void add(Kind kind, const QString& place, int line, const QString& text, const QString& where = QString());
    void error(const QString& place, const QString& text) { add(Kind::Error, place, 0, text); }
    void warning(const QString& place, const QString& text) { add(Kind::Warning, place, 0, text); }
    void note(const QString& place, const QString& text) { add(Kind::Note, place, 0, text); }

    // Whether information lines (INFO) are printed; they never count.
    void setShowNotes(bool show) { showNotes_ = show; }

    int errors() const { return errors_; }
    int warnings() const { return warnings_; }

    // Every section with its findings, then the summary line
    // "N errores, M avisos".
    void print(QTextStream& out) const;

private:
    struct Finding {
        Kind kind;
        QString place;
        int line;
        QString where;
        QString text;
    };
    struct Exercise {
        QString title;
        QString place;
        QList<Finding> findings;
    };
    struct Section {
        QString heading;
        QList<Finding> findings;  // those of no exercise
        QList<Exercise> exercises;
    };
    Section& current();
    void printFinding(QTextStream& out, const Finding& f) const;

    QList<Section> sections_;
    bool showNotes_ = false;
    int errors_ = 0;
    int warnings_ = 0;
};
