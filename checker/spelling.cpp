#include "checker/spelling.h"

#include "checker/exercises.h"
#include "checker/report.h"

#include <QHash>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>

#include <optional>

namespace checker {

namespace {

const QString Dictionary = QStringLiteral("es_ES");
constexpr int HunspellTimeoutMs = 120000;

// Punctuation that sticks to words in the texts but is no part of their
// spelling.
bool isPunctuation(QChar c)
{
    static const QString marks = QStringLiteral("¿¡!?.,;:\"«»()[]—–-…“”‘’'");
    return marks.contains(c);
}

// The word as the dictionary knows it: without the punctuation around it.
// Empty for words the dictionary cannot judge: empty ones, ones with digits,
// and ones with control characters (reported as errors already).
QString bareWord(const QString& word)
{
    qsizetype from = 0;
    qsizetype to = word.size();
    while (from < to && isPunctuation(word[from]))
        ++from;
    while (to > from && isPunctuation(word[to - 1]))
        --to;
    const QString bare = word.sliced(from, to - from);
    for (QChar c : bare) {
        if (c.isDigit() || c.category() == QChar::Other_Control)
            return {};
    }
    return bare;
}

// The words Hunspell does not know, out of `candidates`; nothing when it
// cannot run. One word a line in, and "-L" gives back whole lines, so every
// answer is one of the words asked about.
std::optional<QSet<QString>> unknownWords(const QStringList& candidates)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("hunspell"));
    if (program.isEmpty())
        return std::nullopt;
    QProcess hunspell;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    hunspell.setProcessEnvironment(environment);
    hunspell.start(program, {QStringLiteral("-d"), Dictionary, QStringLiteral("-i"), QStringLiteral("UTF-8"),
                             QStringLiteral("-L")});
    if (!hunspell.waitForStarted())
        return std::nullopt;
    hunspell.write(candidates.join(u'\n').toUtf8() + '\n');
    hunspell.closeWriteChannel();
    if (!hunspell.waitForFinished(HunspellTimeoutMs)) {
        hunspell.kill();
        hunspell.waitForFinished();
        return std::nullopt;
    }
    if (hunspell.exitStatus() != QProcess::NormalExit || hunspell.exitCode() != 0)
        return std::nullopt;
    QSet<QString> unknown;
    const QStringList lines = QString::fromUtf8(hunspell.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    for (const QString& line : lines)
        unknown.insert(line);
    return unknown;
}

// Unknown words of the correct versions, once per file and word, at the
// first line they appear on.
void reportUnknownWords(const QList<WordUse>& uses, const QSet<QString>& unknown, Report& report)
{
    struct Found {
        QString place;
        QString word;
        QList<int> lines;
    };
    QList<Found> found;
    QHash<QString, qsizetype> index;  // place + word -> entry of `found`
    for (const WordUse& use : uses) {
        const QString bare = bareWord(use.word);
        if (bare.isEmpty() || !unknown.contains(bare))
            continue;
        const QString key = use.place + u'\n' + bare;
        const auto it = index.constFind(key);
        if (it == index.cend()) {
            index.insert(key, found.size());
            found.append({use.place, bare, {use.line}});
        } else if (found[*it].lines.last() != use.line) {
            found[*it].lines.append(use.line);
        }
    }
    for (const Found& f : found) {
        QString text = QStringLiteral("«%1» no está en el diccionario: compruebe cómo se escribe").arg(f.word);
        if (f.lines.size() > 1) {
            QStringList others;
            for (qsizetype i = 1; i < f.lines.size(); ++i)
                others.append(QString::number(f.lines[i]));
            text += (others.size() == 1 ? QStringLiteral(" (también en la línea %1)")
                                        : QStringLiteral(" (también en las líneas %1)"))
                        .arg(others.join(QStringLiteral(", ")));
        }
        report.add(Report::Kind::Warning, f.place, f.lines.first(), text);
    }
}

// A faulty form the dictionary knows: a homophone such as "baca" for "vaca".
// Errors of letter case or of punctuation alone are not spelling, and are
// left out.
void reportRealFaultyWords(const QList<Correction>& corrections, const QSet<QString>& unknown, Report& report)
{
    for (const Correction& c : corrections) {
        const QString faulty = bareWord(c.faulty.word);
        const QString correct = bareWord(c.correct.word);
        if (faulty.isEmpty() || unknown.contains(faulty) || faulty.toLower() == correct.toLower())
            continue;
        report.add(Report::Kind::Warning, c.faulty.place, c.faulty.line,
                   QStringLiteral("la forma con falta «%1» (por «%2») también es una palabra del diccionario: "
                                  "compruebe que la falta se entiende")
                       .arg(faulty, correct));
    }
}

}  // namespace

void checkSpelling(const TextWords& words, Report& report)
{
    QStringList candidates;
    QSet<QString> asked;
    const auto ask = [&](const QString& word) {
        const QString bare = bareWord(word);
        if (!bare.isEmpty() && !asked.contains(bare)) {
            asked.insert(bare);
            candidates.append(bare);
        }
    };
    for (const WordUse& use : words.correctWords)
        ask(use.word);
    for (const Correction& c : words.corrections)
        ask(c.faulty.word);
    if (candidates.isEmpty())
        return;

    const std::optional<QSet<QString>> unknown = unknownWords(candidates);
    if (!unknown) {
        report.warning(QString(), QStringLiteral("no se ha comprobado la ortografía: hacen falta el programa "
                                                 "hunspell y su diccionario español (paquetes hunspell y "
                                                 "hunspell-es)"));
        return;
    }
    reportUnknownWords(words.correctWords, *unknown, report);
    reportRealFaultyWords(words.corrections, *unknown, report);
}

}  // namespace checker
