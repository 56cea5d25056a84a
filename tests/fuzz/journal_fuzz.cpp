// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the bytes of a renumbering journal, read as the editor reads
// one it finds in an exercise folder. Nothing is carried out: the plan read
// is written back and read again, and its steps are judged against an
// exercise folder, which must stay as it was.

#include "tests/fuzz/fuzztargets.h"

#include "editor/itemstore.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <memory>
#include <string>

namespace fuzz {

namespace {

void require(bool holds, const char* property)
{
    if (!holds)
        throw PropertyFailure(std::string("journal: ") + property);
}

// An exercise of two items, made once.
const QString& exercise()
{
    static const std::unique_ptr<QTemporaryDir> dir = [] {
        auto d = std::make_unique<QTemporaryDir>();
        for (const char* version : {"correcto", "incorrecto"}) {
            QDir().mkpath(d->filePath(QString::fromLatin1(version)));
            for (const char* item : {"1.txt", "2.txt"}) {
                QFile file(d->filePath(QString::fromLatin1(version) + u'/' + QString::fromLatin1(item)));
                if (file.open(QIODevice::WriteOnly))
                    file.write("una vaca\r\n");
            }
        }
        return d;
    }();
    static const QString path = dir->path();
    return path;
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
        + QDir(folder + QStringLiteral("/correcto")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
        + QDir(folder + QStringLiteral("/incorrecto")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

}  // namespace

void renumberingJournal(const std::uint8_t* data, std::size_t size)
{
    namespace items = editor::items;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<items::Plan> plan = items::parseJournal(bytes);
    if (!plan)
        return;
    require(plan->done >= 0 && plan->done <= plan->steps.size(), "the count of steps done is one of the steps");
    require(plan->steps.size() <= items::MaxSteps, "the steps are bounded");
    for (const items::Step& s : plan->steps) {
        require(!s.from.isEmpty(), "every step names what it moves");
        for (const QString* name : {&s.from, &s.to})
            require(!name->contains(u'\n') && !name->contains(u'\t'), "a step's names hold no separator");
    }
    require(items::parseJournal(items::journalBytes(*plan)) == plan, "a plan written back reads the same");

    const QString folder = exercise();
    const QStringList before = entries(folder);
    const QString problem = items::stepsProblem(folder, plan->steps);
    require(entries(folder) == before, "judging the steps touches nothing");
    if (!problem.isEmpty())
        return;
    static const QRegularExpression own(QStringLiteral(
        "^(?:correcto|incorrecto)/(?:[1-9][0-9]{0,8}\\.[tT][xX][tT]|\\.miravellon-(?:borrado-[1-9][0-9]{0,8}|moviendo)\\.txt)$"));
    for (const items::Step& s : plan->steps) {
        require(own.match(s.from).hasMatch(), "an accepted step moves only an item or the editor's own file");
        require(s.to.isEmpty() || (own.match(s.to).hasMatch() && s.to.section(u'/', 0, 0) == s.from.section(u'/', 0, 0)),
                "an accepted step stays in its version folder");
    }
}

}  // namespace fuzz
