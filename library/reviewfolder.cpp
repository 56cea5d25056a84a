// SPDX-License-Identifier: GPL-3.0-or-later
// The pupil's review on disk: the sentences read from the exercises, the
// setting that turns the review off, and the exercise written whole.

#include "library/contentrules.h"
#include "library/settings.h"
#include "library/pupilfile.h"
#include "library/resultsfolder.h"
#include "library/review.h"
#include "library/textfile.h"

#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUuid>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>

Q_LOGGING_CATEGORY(lcReview, "miravellon.review")

namespace review {

namespace {

// Hidden names inside the catalogue folder, never listed: a review being
// written, and one being taken away.
const QString Incoming = QStringLiteral(".repaso-nuevo-");
const QString Outgoing = QStringLiteral(".repaso-viejo-");

bool renameNow(const QString& from, const QString& to)
{
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

// Puts `incoming` in the place of `target` (an existing folder) in one step,
// and removes the folder it replaced. Where the file system cannot swap two
// folders, the old one is moved aside first.
bool replaceFolder(const QString& incoming, const QString& target, const QString& outgoing)
{
    const QByteArray from = QFile::encodeName(incoming);
    const QByteArray to = QFile::encodeName(target);
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_EXCHANGE) == 0) {
        QDir(incoming).removeRecursively();
        return true;
    }
    qCInfo(lcReview) << "cannot swap folders:" << ::strerror(errno);
    if (!renameNow(target, outgoing))
        return false;
    if (!renameNow(incoming, target)) {
        renameNow(outgoing, target);
        return false;
    }
    QDir(outgoing).removeRecursively();
    return true;
}

}  // namespace

bool enabled()
{
    return settings::value(settings::Review).toBool();
}

QString rootFor(const QString& pupil)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/miravellon/repaso/") + results::safeName(pupil, QStringLiteral("alumno"));
}

Corpus readCorpus(const QList<catalogue::ListedExercise>& exercises)
{
    static const QRegularExpression itemName(QStringLiteral("^([1-9][0-9]{0,8})\\.txt$"),
                                             QRegularExpression::CaseInsensitiveOption);
    Corpus corpus;
    for (const catalogue::ListedExercise& exercise : exercises) {
        const QString folder = catalogue::resolve(exercise.folder, content::CorrectVersion.toString());
        const QStringList names = QDir(folder).entryList(QDir::Files, QDir::Name);
        for (const QString& name : names) {
            const QRegularExpressionMatch match = itemName.match(name);
            if (!match.hasMatch())
                continue;
            const textfile::ReadResult text = textfile::read(folder + u'/' + name);
            if (text.status == textfile::ReadStatus::Ok)
                addText(corpus, exercise.name, match.captured(1).toLongLong(), text.lines);
        }
    }
    return corpus;
}

bool writeExercise(const QString& root, const QList<itemwriter::Draft>& texts)
{
    const QString catalogueFolder = root + u'/' + content::ExercisesFolder.toString();
    if (texts.isEmpty() || !QDir().mkpath(catalogueFolder))
        return false;
    // What a session that ended while writing left behind.
    const QFileInfoList leftovers = QDir(catalogueFolder).entryInfoList(
        {Incoming + u'*', Outgoing + u'*'}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QFileInfo& leftover : leftovers) {
        if (leftover.lastModified().secsTo(QDateTime::currentDateTime()) > 3600)
            QDir(leftover.filePath()).removeRecursively();
    }
    const QString tag = QUuid::createUuid().toString(QUuid::Id128).left(12);
    const QString incoming = catalogueFolder + u'/' + Incoming + tag;
    for (qsizetype i = 0; i < texts.size(); ++i) {
        const itemwriter::WriteResult written = itemwriter::write(incoming, int(i + 1), texts[i], false);
        if (written.status != itemwriter::WriteStatus::Written) {
            qCWarning(lcReview) << "cannot write the review:" << written.error;
            QDir(incoming).removeRecursively();
            return false;
        }
    }
    const QString target = catalogueFolder + u'/' + ExerciseName.toString();
    const bool replaced = QFileInfo(target).isDir()
        ? replaceFolder(incoming, target, catalogueFolder + u'/' + Outgoing + tag)
        : renameNow(incoming, target);
    if (!replaced) {
        qCWarning(lcReview) << "cannot put the review in place:" << target << ::strerror(errno);
        QDir(incoming).removeRecursively();
    }
    return replaced;
}

std::optional<catalogue::ListedExercise> build(const Request& request)
{
    if (!QFileInfo(request.resultsFolder).isDir())
        return std::nullopt;
    results::Folder folder = results::readFolder(request.resultsFolder);
    folder.rows += request.rows;
    const QList<Word> words = wordsUnderReview(folder.rows, request.pupil);
    qCInfo(lcReview) << words.size() << "words under review for" << request.pupil;
    if (words.isEmpty())
        return std::nullopt;
    QHash<QString, Word> failed;
    for (const results::Row& row : folder.rows) {
        if (!samePupil(row.pupil, request.pupil))
            continue;
        const QStringList failures = row.failures();
        const QStringList families = row.families();
        for (qsizetype i = 0; i < failures.size(); ++i) {
            const QString k = key(failures[i]);
            if (k.isEmpty())
                continue;
            Word& w = failed[k];
            w.word = families::split(failures[i]).core;
            if (!families.value(i).isEmpty())
                w.families = families[i];
        }
    }
    QList<catalogue::ListedExercise> sources;
    for (const catalogue::ListedExercise& exercise : request.exercises) {
        if (exercise.root != request.root)
            sources.append(exercise);
    }
    const Corpus corpus = readCorpus(sources);
    const QList<itemwriter::Draft> texts
        = compose(words, failed, corpus, usualLength(folder.rows, request.pupil, corpus), request.seed);
    qCInfo(lcReview) << texts.size() << "review texts";
    if (texts.isEmpty() || !writeExercise(request.root, texts))
        return std::nullopt;
    const QString catalogueFolder = catalogue::exercisesFolder(request.root);
    return catalogue::ListedExercise{ExerciseName.toString(), catalogueFolder + u'/' + ExerciseName.toString(),
                                     request.root};
}

}  // namespace review
