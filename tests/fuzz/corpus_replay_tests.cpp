// Every file of the committed fuzz corpus goes through its fuzz target once,
// so that the normal build checks the corpus without clang or libFuzzer.

#include "tests/fuzz/fuzztargets.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

using Target = void (*)(const std::uint8_t*, std::size_t);

void replay(const QString& name, Target target)
{
    const QDir corpus(QStringLiteral(FUZZ_CORPUS_DIR "/") + name);
    const QStringList files = corpus.entryList(QDir::Files, QDir::Name);
    ASSERT_FALSE(files.isEmpty()) << corpus.path().toStdString();
    for (const QString& file : files) {
        QFile in(corpus.filePath(file));
        ASSERT_TRUE(in.open(QIODevice::ReadOnly)) << file.toStdString();
        const QByteArray bytes = in.readAll();
        try {
            target(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
        } catch (const fuzz::PropertyFailure& failure) {
            ADD_FAILURE() << name.toStdString() << '/' << file.toStdString() << ": " << failure.what();
        }
    }
}

TEST(FuzzCorpus, EveryExerciseFileKeepsItsWordsAndShownText)
{
    replay(QStringLiteral("textfile"), fuzz::readSplitBuild);
}

TEST(FuzzCorpus, EveryItemPicksAndJudgesTheWordsItShows)
{
    replay(QStringLiteral("pickjudge"), fuzz::pickAndJudge);
}

TEST(FuzzCorpus, EveryNotationGivesTwoVersionsOfEqualWordsOrAMessage)
{
    replay(QStringLiteral("notation"), fuzz::notationAndFamilies);
}

TEST(FuzzCorpus, EveryJournalReadsBackAndNamesOnlyTheEditorsFiles)
{
    replay(QStringLiteral("journal"), fuzz::renumberingJournal);
}

TEST(FuzzCorpus, EveryResultsFileReadsCleanAndEveryRowReadsBackNormal)
{
    replay(QStringLiteral("resultsrows"), fuzz::readAndWriteRows);
}

}  // namespace
