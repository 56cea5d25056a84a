#include "editor/findings.h"

#include "checker/exercises.h"
#include "checker/report.h"
#include "checker/spelling.h"

#include <QTemporaryDir>
#include <QTextStream>

namespace editor {

QStringList findings(const itemwriter::Draft& draft, int number)
{
    QStringList out;
    const QString refusal = itemwriter::checkLimits(draft);
    if (!refusal.isEmpty())
        out.append(QStringLiteral("ERROR no se puede guardar: ") + refusal);
    QTemporaryDir tree;
    if (!tree.isValid())
        return out;
    const QString exercise = QStringLiteral("Ejercicios/texto");
    if (itemwriter::write(tree.path() + u'/' + exercise, number, draft, false).status
        != itemwriter::WriteStatus::Written)
        return out;

    Report report;
    const checker::TextWords words = checker::checkExercises(tree.path(), report);
    checker::checkSpelling(words, report);
    QString printed;
    QTextStream stream(&printed);
    report.print(stream);
    stream.flush();
    QStringList lines = printed.split(u'\n', Qt::SkipEmptyParts);
    if (!lines.isEmpty())
        lines.removeLast();  // the summary
    const QString prefix = exercise + u'/';
    for (QString line : std::as_const(lines)) {
        // The exercise as a whole holds only this item here: its numbering
        // says nothing about the teacher's exercise.
        if (line.startsWith(QStringLiteral("INFO")) || line.contains(u' ' + exercise + u':'))
            continue;
        out.append(line.replace(prefix, QString()));
    }
    return out;
}

}  // namespace editor
