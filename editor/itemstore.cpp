// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/itemstore.h"

#include "editor/exercisefolders.h"

#include "library/catalogue.h"
#include "library/contentrules.h"
#include "library/itemwriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>
#include <set>

namespace editor::items {

namespace {

const QString JournalName = QStringLiteral(".miravellon-renumerando");
const QString JournalHeader = QStringLiteral("miravellon-renumerando 1");

QString journalPath(const QString& folder)
{
    return folder + u'/' + JournalName;
}

bool writeJournal(const QString& folder, const Plan& plan)
{
    QSaveFile file(journalPath(folder));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(journalBytes(plan));
    return file.commit();
}

// The version folders as stored, each relative to the exercise folder.
QStringList versionFolders(const QString& folder)
{
    QStringList out;
    for (const QStringView v : {content::CorrectVersion, content::FaultyVersion}) {
        const QString stored = catalogue::storedName(folder, v.toString(), true);
        if (!stored.isEmpty())
            out.append(stored);
    }
    return out;
}

// See stepsProblem().
QString problemOf(const QString& folder, const QList<Step>& steps)
{
    static const QRegularExpression item(QStringLiteral("^[1-9][0-9]{0,8}\\.txt$"),
                                         QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression own(
        QStringLiteral("^\\.miravellon-(?:borrado-[1-9][0-9]{0,8}|moviendo)\\.txt$"));
    const QStringList versions = versionFolders(folder);
    for (const QString& version : versions) {
        if (!itemwriter::resolvesInside(folder, folder + u'/' + version))
            return QStringLiteral("la carpeta «%1» lleva fuera del ejercicio; no se ha renumerado ni tocado nada")
                .arg(version);
    }
    const auto named = [&](const QString& relative, const QString& version) {
        if (!relative.startsWith(version + u'/'))
            return false;
        const QString name = relative.sliced(version.size() + 1);
        return !name.contains(u'/')
            && (item.match(name).hasMatch() || own.match(name).hasMatch())
            && itemwriter::resolvesInside(folder, folder + u'/' + relative);
    };
    for (const Step& s : steps) {
        const auto version = std::find_if(versions.cbegin(), versions.cend(), [&](const QString& v) {
            return s.from.size() > v.size() && s.from.startsWith(v + u'/');
        });
        const bool fromOk = version != versions.cend() && named(s.from, *version);
        const bool toOk = s.to.isEmpty() || (version != versions.cend() && named(s.to, *version));
        if (!fromOk || !toOk)
            return QStringLiteral("el registro de una renumeración interrumpida («%1») nombra «%2», que no es un texto "
                                  "de este ejercicio; no se ha tocado nada. Si no lo dejó el editor, bórrelo")
                .arg(journalPath(folder), fromOk ? s.to : s.from);
    }
    return {};
}

const QString& damaged()
{
    static const QString text = QStringLiteral("el registro de una renumeración interrumpida está dañado: revise "
                                               "«%1»; no se ha tocado nada");
    return text;
}

struct ReadPlan {
    Plan plan;
    QString problem;  // empty when the plan may be carried out
};

ReadPlan readJournal(const QString& folder)
{
    ReadPlan out;
    const QString path = journalPath(folder);
    // Rewritten after every step: it must be the editor's own file, not a
    // link to one elsewhere.
    const QFileInfo info(path);
    QFile file(path);
    if (info.isSymLink() || !info.isFile() || info.size() > MaxJournalBytes || !file.open(QIODevice::ReadOnly)) {
        out.problem = damaged().arg(path);
        return out;
    }
    const std::optional<Plan> plan = parseJournal(file.read(MaxJournalBytes + 1));
    if (!plan) {
        out.problem = damaged().arg(path);
        return out;
    }
    out.plan = *plan;
    out.problem = problemOf(folder, out.plan.steps);
    return out;
}

const QString& stopped()
{
    static const QString text = QStringLiteral("no se ha podido terminar de renumerar los textos; se terminará al "
                                               "volver a abrir el ejercicio");
    return text;
}

// Carries the plan out from step `done` on, bringing the journal up to date
// after each step.
QString run(const QString& folder, Plan plan, const Renamer& rename)
{
    for (; plan.done < plan.steps.size(); ++plan.done) {
        const Step& s = plan.steps[plan.done];
        const QString from = folder + u'/' + s.from;
        const bool sourceThere = QFileInfo::exists(from) || QFileInfo(from).isSymLink();
        if (s.to.isEmpty()) {
            if (sourceThere && !exercises::trash(from) && !QFile::remove(from))
                return stopped();
        } else {
            const QString to = folder + u'/' + s.to;
            const bool targetThere = QFileInfo::exists(to) || QFileInfo(to).isSymLink();
            if (sourceThere && targetThere)
                return QStringLiteral("no se puede renumerar: «%1» ya existe").arg(s.to);
            // A source gone and its target there: the step was done before an
            // interruption. Neither there: the item never had that version.
            if (sourceThere && !rename(from, to))
                return stopped();
        }
        Plan next = plan;
        next.done = plan.done + 1;
        if (!writeJournal(folder, next))
            return stopped();
    }
    if (!QFile::remove(journalPath(folder)))
        return stopped();
    return {};
}

// The item file of `number` in a version folder, relative to the exercise
// folder; empty when there is none.
QString itemFile(const QString& folder, const QString& version, int number)
{
    const QString stored = catalogue::storedName(folder + u'/' + version, QString::number(number) + ".txt", false);
    return stored.isEmpty() ? QString() : version + u'/' + stored;
}

QString start(const QString& folder, const Plan& plan, const Renamer& rename)
{
    if (interrupted(folder)) {
        const QString error = recover(folder, rename);
        if (!error.isEmpty())
            return error;
    }
    if (const QString problem = problemOf(folder, plan.steps); !problem.isEmpty())
        return problem;
    if (!writeJournal(folder, plan))
        return QStringLiteral("no se puede escribir en la carpeta del ejercicio");
    return run(folder, plan, rename);
}

}  // namespace

std::optional<Plan> parseJournal(const QByteArray& bytes)
{
    if (bytes.size() > MaxJournalBytes)
        return std::nullopt;
    const QStringList lines = QString::fromUtf8(bytes).split(u'\n', Qt::SkipEmptyParts);
    if (lines.size() < 2 || lines[0] != JournalHeader || lines.size() - 2 > MaxSteps)
        return std::nullopt;
    Plan plan;
    bool ok = false;
    plan.done = lines[1].toInt(&ok);
    // The count of steps done is one of 0..the number of steps.
    if (!ok || plan.done < 0 || plan.done > lines.size() - 2)
        return std::nullopt;
    for (qsizetype i = 2; i < lines.size(); ++i) {
        const QStringList parts = lines[i].split(u'\t');
        if (parts.size() != 2 || parts[0].isEmpty())
            return std::nullopt;
        plan.steps.append({parts[0], parts[1]});
    }
    return plan;
}

QByteArray journalBytes(const Plan& plan)
{
    QString text = JournalHeader + u'\n' + QString::number(plan.done) + u'\n';
    for (const Step& s : plan.steps)
        text += s.from + u'\t' + s.to + u'\n';
    return text.toUtf8();
}

QString stepsProblem(const QString& exerciseFolder, const QList<Step>& steps)
{
    return problemOf(exerciseFolder, steps);
}

Renamer fileRenamer()
{
    return [](const QString& from, const QString& to) { return QFile::rename(from, to); };
}

QList<int> numbers(const QString& exerciseFolder)
{
    static const QRegularExpression name(QStringLiteral("^[1-9][0-9]{0,8}\\.txt$"),
                                         QRegularExpression::CaseInsensitiveOption);
    std::set<int> found;
    for (const QString& version : versionFolders(exerciseFolder)) {
        for (const QString& file : QDir(exerciseFolder + u'/' + version).entryList(QDir::Files)) {
            if (name.match(file).hasMatch())
                found.insert(file.chopped(4).toInt());
        }
    }
    return {found.begin(), found.end()};
}

bool interrupted(const QString& exerciseFolder)
{
    const QFileInfo journal(journalPath(exerciseFolder));
    return journal.exists() || journal.isSymLink();
}

QString remove(const QString& exerciseFolder, int number, const Renamer& rename)
{
    Plan plan;
    const QStringList versions = versionFolders(exerciseFolder);
    QStringList kept;
    for (const QString& v : versions) {
        const QString file = itemFile(exerciseFolder, v, number);
        if (file.isEmpty())
            continue;
        const QString hidden = v + QStringLiteral("/.miravellon-borrado-%1.txt").arg(number);
        plan.steps.append({file, hidden});
        kept.append(hidden);
    }
    const QList<int> all = numbers(exerciseFolder);
    for (const int n : all) {
        if (n <= number)
            continue;
        for (const QString& v : versions) {
            const QString file = itemFile(exerciseFolder, v, n);
            if (!file.isEmpty())
                plan.steps.append({file, v + u'/' + QString::number(n - 1) + QStringLiteral(".txt")});
        }
    }
    for (const QString& hidden : kept)
        plan.steps.append({hidden, {}});
    return start(exerciseFolder, plan, rename);
}

QString swapWithNext(const QString& exerciseFolder, int number, const Renamer& rename)
{
    Plan plan;
    for (const QString& v : versionFolders(exerciseFolder)) {
        const QString a = itemFile(exerciseFolder, v, number);
        const QString b = itemFile(exerciseFolder, v, number + 1);
        const QString aName = v + u'/' + QString::number(number) + QStringLiteral(".txt");
        const QString bName = v + u'/' + QString::number(number + 1) + QStringLiteral(".txt");
        const QString spare = v + QStringLiteral("/.miravellon-moviendo.txt");
        if (!a.isEmpty())
            plan.steps.append({a, spare});
        if (!b.isEmpty())
            plan.steps.append({b, aName});
        if (!a.isEmpty())
            plan.steps.append({spare, bName});
    }
    return start(exerciseFolder, plan, rename);
}

QString recover(const QString& exerciseFolder, const Renamer& rename)
{
    if (!interrupted(exerciseFolder))
        return {};
    const ReadPlan read = readJournal(exerciseFolder);
    if (!read.problem.isEmpty())
        return read.problem;
    return run(exerciseFolder, read.plan, rename);
}

}  // namespace editor::items
