// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/findings.h"

#include "checker/exercises.h"
#include "checker/report.h"
#include "checker/spelling.h"

#include <QTemporaryDir>
#include <QTextStream>

namespace editor {

QStringList findings(const itemwriter::Draft& draft, int number, const acceptedwords::Lists& accepted)
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
    checker::checkSpelling(words, report, accepted);
    QString printed;
    QTextStream stream(&printed);
    report.print(stream);
    stream.flush();
    // Only the findings: not the exercise's heading nor the summary lines.
    // The exercise as a whole holds only this item here, so what is said of
    // its numbering says nothing about the teacher's exercise.
    const QString prefix = exercise + u'/';
    for (QString line : printed.split(u'\n', Qt::SkipEmptyParts)) {
        const bool finding = line.startsWith(QStringLiteral("ERROR ")) || line.startsWith(QStringLiteral("AVISO "));
        if (!finding || line.contains(u' ' + exercise + u':'))
            continue;
        out.append(line.replace(prefix, QString()));
    }
    return out;
}

}  // namespace editor
