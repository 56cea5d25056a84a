// SPDX-License-Identifier: GPL-3.0-or-later

#include "checker/exercises.h"

#include "library/catalogue.h"
#include "library/contentrules.h"
#include "library/exerciseitem.h"
#include "checker/report.h"
#include "checker/versionfile.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace checker {

namespace {

const QString FaultyFolder = content::FaultyVersion.toString();
const QString CorrectFolder = content::CorrectVersion.toString();

// The item files of one version folder of an exercise.
struct VersionFolder {
    QString path;               // as found on disk; empty when the folder is missing
    QMap<qint64, QString> items;  // item number -> full path of the file the program reads
};

VersionFolder scanVersionFolder(const QString& tree, const QString& exerciseFolder, const QString& version,
                                Report& report)
{
    VersionFolder folder;
    const QString stored = catalogue::storedName(exerciseFolder, version, true);
    if (stored.isEmpty())
        return folder;
    folder.path = exerciseFolder + u'/' + stored;
    const QDir dir(folder.path);

    static const QRegularExpression itemName(QStringLiteral("^([0-9]+)\\.txt$"),
                                             QRegularExpression::CaseInsensitiveOption);
    const QStringList entries = dir.entryList(QDir::Files, QDir::Name);
    for (const QString& entry : entries) {
        const QString place = QDir(tree).relativeFilePath(folder.path + u'/' + entry);
        const QRegularExpressionMatch match = itemName.match(entry);
        if (!match.hasMatch()) {
            report.warning(place, QStringLiteral("el programa no usa este archivo: los textos se llaman 1.txt, "
                                                 "2.txt, 3.txt..."));
            continue;
        }
        const QString digits = match.captured(1);
        bool inRange = false;
        const qint64 number = digits.toLongLong(&inRange);
        if (digits.startsWith(u'0')) {
            if (number == 0) {
                report.warning(place, QStringLiteral("el programa nunca abre este archivo: los textos se "
                                                     "numeran desde el 1"));
            } else {
                report.warning(place, QStringLiteral("el programa nunca encuentra este archivo porque el número "
                                                     "lleva ceros delante: llámelo %1.txt")
                                          .arg(number));
            }
            continue;
        }
        if (!inRange || number > std::numeric_limits<qint32>::max()) {
            report.warning(place, QStringLiteral("el número es demasiado grande: el programa no llega a este "
                                                 "texto"));
            continue;
        }
        if (folder.items.contains(number)) {
            // Two names that differ only in letter case: the program reads
            // the one it finds first and never the other.
            const QString read
                = catalogue::storedName(folder.path, QString::number(number) + QStringLiteral(".txt"), false);
            const QString earlier = QFileInfo(folder.items[number]).fileName();
            const QString unread = read == entry ? earlier : entry;
            report.warning(QDir(tree).relativeFilePath(folder.path + u'/' + unread),
                           QStringLiteral("el programa nunca lee este archivo: lee %1, que tiene el mismo nombre "
                                          "con otras mayúsculas")
                               .arg(read));
            folder.items[number] = folder.path + u'/' + read;
            continue;
        }
        folder.items.insert(number, folder.path + u'/' + entry);
    }
    return folder;
}

QString numberRange(qint64 from, qint64 to)
{
    if (from == to)
        return QStringLiteral("falta el texto %1").arg(from);
    return QStringLiteral("faltan los textos del %1 al %2").arg(from).arg(to);
}

// Gaps in the numbering: the pupil steps through the numbers one by one and
// meets the missing ones as "No encuentro el archivo".
void checkNumbering(const QList<qint64>& numbers, const QString& place, Report& report)
{
    qint64 expected = 1;
    for (qint64 number : numbers) {
        if (number > expected) {
            QString text = numberRange(expected, number - 1);
            text += expected == 1 ? QStringLiteral(": el ejercicio empieza por el texto 1 y el programa dirá «No "
                                                   "encuentro el archivo» nada más elegirlo")
                                  : QStringLiteral(": al llegar a ese número el programa dirá «No encuentro el "
                                                   "archivo»");
            report.warning(place, text);
        }
        expected = number + 1;
    }
}

QString wordNumberWhere(const VersionText& v, qsizetype k, const QString& which)
{
    if (k >= v.words.size())
        return QStringLiteral("la versión %1 ya ha terminado").arg(which);
    return QStringLiteral("en la versión %1 está en la línea %2").arg(which).arg(v.lineOfWord[k]);
}

// Word positions pair up across the two versions. Since any word may be
// misspelt, the words themselves cannot show where a space was added or
// lost; the number of words on each line can, as both versions break their
// lines at the same places.
QString wordCount(int n)
{
    return n == 1 ? QStringLiteral("1 palabra") : QStringLiteral("%1 palabras").arg(n);
}

// The lines of a version but its empty lines at the end.
QList<int> linesOfText(const VersionText& v)
{
    return v.wordsPerLine.first(v.wordsPerLine.size() - v.trailingEmptyLines);
}

// Whether the versions differ only in empty lines at their ends, each of
// which the program takes for an empty word; if so, says so.
bool differOnlyInEmptyLastLines(const VersionText& faulty, const VersionText& correct, const QString& faultyPlace,
                                const QString& correctPlace, Report& report)
{
    if (faulty.trailingEmptyLines == correct.trailingEmptyLines || linesOfText(faulty) != linesOfText(correct))
        return false;
    const bool onFaulty = faulty.trailingEmptyLines > correct.trailingEmptyLines;
    const VersionText& longer = onFaulty ? faulty : correct;
    const int extra = std::abs(faulty.trailingEmptyLines - correct.trailingEmptyLines);
    const int firstExtra = int(longer.wordsPerLine.size()) - extra + 1;
    const QString which = onFaulty ? QStringLiteral("con faltas") : QStringLiteral("correcta");
    const QString other = onFaulty ? QStringLiteral("correcta") : QStringLiteral("con faltas");
    const QString text = extra == 1
        ? QStringLiteral("la versión %1 termina con una línea vacía que la versión %2 no tiene; el programa cuenta "
                         "esa línea vacía como una palabra, así que las dos versiones no tienen el mismo número de "
                         "palabras y no abre el texto: borre la línea vacía del final")
        : QStringLiteral("la versión %1 termina con %3 líneas vacías que la versión %2 no tiene; el programa cuenta "
                         "cada línea vacía como una palabra, así que las dos versiones no tienen el mismo número de "
                         "palabras y no abre el texto: borre las líneas vacías del final");
    report.add(Report::Kind::Error, onFaulty ? faultyPlace : correctPlace, firstExtra,
               extra == 1 ? text.arg(which, other) : text.arg(which, other, QString::number(extra)));
    return true;
}

bool checkPairing(const VersionText& faulty, const VersionText& correct, const QString& faultyPlace,
                  const QString& correctPlace, Report& report)
{
    if (differOnlyInEmptyLastLines(faulty, correct, faultyPlace, correctPlace, report))
        return false;
    const qsizetype lineCount = std::max(faulty.wordsPerLine.size(), correct.wordsPerLine.size());
    qsizetype line = 0;
    qsizetype start = 0;  // word position of the first word of `line`
    for (; line < lineCount; ++line) {
        const int a = line < faulty.wordsPerLine.size() ? faulty.wordsPerLine[line] : -1;
        const int b = line < correct.wordsPerLine.size() ? correct.wordsPerLine[line] : -1;
        if (a != b)
            break;
        start += a;
    }
    if (line == lineCount)
        return true;

    const int a = line < faulty.wordsPerLine.size() ? faulty.wordsPerLine[line] : 0;
    const int b = line < correct.wordsPerLine.size() ? correct.wordsPerLine[line] : 0;
    const qsizetype k = start + std::min(a, b);  // the first word that lies on different lines
    const QString counts = QStringLiteral("la línea %1 tiene %2 en la versión con faltas y %3 en %4")
                               .arg(line + 1)
                               .arg(wordCount(a))
                               .arg(b)
                               .arg(correctPlace);
    const QString breakAt = QStringLiteral("desde la palabra %1 ya no se emparejan (%2 y %3)")
                                .arg(k + 1)
                                .arg(wordNumberWhere(faulty, k, QStringLiteral("con faltas")),
                                     wordNumberWhere(correct, k, QStringLiteral("correcta")));
    // Report on the faulty version, unless it has already ended there.
    const bool onFaulty = line < faulty.wordsPerLine.size();
    const QString place = onFaulty ? faultyPlace : correctPlace;

    if (!ExerciseItem::pairs(faulty.words, correct.words)) {
        report.add(Report::Kind::Error, place, int(line + 1),
                   QStringLiteral("las dos versiones no tienen el mismo número de palabras (%1 con faltas, %2 "
                                  "correctas), y el programa no abre el texto: %3; %4")
                       .arg(faulty.words.size())
                       .arg(correct.words.size())
                       .arg(counts, breakAt));
        return false;
    }
    report.add(Report::Kind::Warning, place, int(line + 1),
               QStringLiteral("las dos versiones tienen %1 palabras, pero %2; compruebe que cada palabra se "
                              "empareja con su forma correcta")
                   .arg(faulty.words.size())
                   .arg(counts));
    return true;
}

// Either path may be empty when that version is missing (reported already):
// the other one is still read, as its own flaws are worth fixing.
void checkItem(const QString& faultyPath, const QString& correctPath, const QString& tree, Report& report,
               TextWords& words)
{
    const QDir root(tree);
    const QString faultyPlace = faultyPath.isEmpty() ? QString() : root.relativeFilePath(faultyPath);
    const QString correctPlace = correctPath.isEmpty() ? QString() : root.relativeFilePath(correctPath);
    const VersionText faulty = faultyPath.isEmpty() ? VersionText() : inspectVersion(faultyPath, faultyPlace, report);
    const VersionText correct
        = correctPath.isEmpty() ? VersionText() : inspectVersion(correctPath, correctPlace, report);

    if (!correct.usable)
        return;
    QList<WordUse> correctWords;
    for (qsizetype k = 0; k < correct.words.size(); ++k)
        correctWords.append({correct.words[k], correctPlace, correct.lineOfWord[k]});
    words.correctWords += correctWords;
    if (!faulty.usable || !checkPairing(faulty, correct, faultyPlace, correctPlace, report)) {
        words.uncertainWords += correctWords;
        return;
    }

    int errors = 0;
    for (qsizetype k = 0; k < faulty.words.size(); ++k) {
        if (faulty.words[k] == correct.words[k])
            continue;
        ++errors;
        words.corrections.append(Correction{{faulty.words[k], faultyPlace, faulty.lineOfWord[k]},
                                            {correct.words[k], correctPlace, correct.lineOfWord[k]}});
    }
    if (errors == 0) {
        report.warning(faultyPlace, QStringLiteral("las dos versiones son iguales: el texto no tiene ninguna falta "
                                                   "que corregir"));
    }
}

void checkExerciseFolder(const QString& tree, const QString& folder, Report& report, TextWords& words)
{
    const QDir root(tree);
    const QString place = root.relativeFilePath(folder);
    report.addExercise(QFileInfo(folder).fileName(), place);

    const VersionFolder faulty = scanVersionFolder(tree, folder, FaultyFolder, report);
    const VersionFolder correct = scanVersionFolder(tree, folder, CorrectFolder, report);

    QList<qint64> numbers = faulty.items.keys() + correct.items.keys();
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    if (numbers.isEmpty()) {
        report.error(place, QStringLiteral("el ejercicio no tiene ningún texto: ponga 1.txt, 2.txt... en sus "
                                           "carpetas %1 y %2")
                                .arg(FaultyFolder, CorrectFolder));
        return;
    }
    if (faulty.path.isEmpty())
        report.error(place + u'/' + FaultyFolder, QStringLiteral("falta la carpeta de las versiones con faltas"));
    if (correct.path.isEmpty())
        report.error(place + u'/' + CorrectFolder, QStringLiteral("falta la carpeta de las versiones correctas"));
    checkNumbering(numbers, place, report);

    for (qint64 number : numbers) {
        const QString fileName = QString::number(number) + QStringLiteral(".txt");
        const QString faultyPath = faulty.items.value(number);
        const QString correctPath = correct.items.value(number);
        if (faultyPath.isEmpty() && !faulty.path.isEmpty()) {
            report.error(root.relativeFilePath(faulty.path + u'/' + fileName),
                         QStringLiteral("falta la versión con faltas"));
        }
        if (correctPath.isEmpty() && !correct.path.isEmpty()) {
            report.error(root.relativeFilePath(correct.path + u'/' + fileName),
                         QStringLiteral("falta la versión correcta"));
        }
        checkItem(faultyPath, correctPath, tree, report, words);
    }
}

}  // namespace

TextWords checkExercises(const QString& tree, Report& report)
{
    return checkCatalogue(catalogue::exercisesFolder(tree), tree, report);
}

TextWords checkCatalogue(const QString& folder, const QString& tree, Report& report)
{
    TextWords words;
    const QString place = QDir(tree).relativeFilePath(folder);
    if (!QFileInfo(folder).isDir()) {
        report.error(place, QStringLiteral("falta la carpeta de los ejercicios"));
        return words;
    }
    const QStringList loose = QDir(folder).entryList(QDir::Files, QDir::Name);
    for (const QString& file : loose) {
        report.warning(place + u'/' + file, QStringLiteral("no es un ejercicio: el programa solo muestra las "
                                                           "carpetas"));
    }
    const QStringList exercises = catalogue::exercisesIn(folder);
    if (exercises.isEmpty()) {
        report.error(place, QStringLiteral("no hay ningún ejercicio: cada ejercicio es una carpeta dentro de "
                                           "esta"));
        return words;
    }
    for (const QString& name : exercises)
        checkExerciseFolder(tree, folder + u'/' + name, report, words);
    return words;
}

TextWords checkExercise(const QString& folder, const QString& tree, Report& report)
{
    TextWords words;
    checkExerciseFolder(tree, folder, report, words);
    return words;
}

bool isExerciseFolder(const QString& folder)
{
    return !catalogue::storedName(folder, FaultyFolder, true).isEmpty()
        || !catalogue::storedName(folder, CorrectFolder, true).isEmpty();
}

bool isCatalogueFolder(const QString& folder)
{
    if (QFileInfo(folder).fileName().compare(content::ExercisesFolder, Qt::CaseInsensitive) == 0)
        return true;
    const QStringList subfolders = QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    return std::any_of(subfolders.begin(), subfolders.end(),
                       [&folder](const QString& name) { return isExerciseFolder(folder + u'/' + name); });
}

}  // namespace checker
