#pragma once

#include <QList>
#include <QString>

class QTextStream;

// The findings of one check of a content tree, printed one per line in the
// order they were found.
class Report {
public:
    enum class Kind {
        Error,    // the program misbehaves or refuses the file
        Warning,  // works, but the teacher should have a look
        Note      // information only; not counted as a problem
    };

    // `place` is a path relative to the content tree (or empty for the tree as
    // a whole); `line` counts from 1, 0 when the finding has no line.
    void add(Kind kind, const QString& place, int line, const QString& text);
    void error(const QString& place, const QString& text) { add(Kind::Error, place, 0, text); }
    void warning(const QString& place, const QString& text) { add(Kind::Warning, place, 0, text); }
    void note(const QString& place, const QString& text) { add(Kind::Note, place, 0, text); }

    int errors() const { return errors_; }
    int warnings() const { return warnings_; }

    // Every finding, then the summary line "N errores, M avisos".
    void print(QTextStream& out) const;

private:
    struct Finding {
        Kind kind;
        QString place;
        int line;
        QString text;
    };
    QList<Finding> findings_;
    int errors_ = 0;
    int warnings_ = 0;
};
