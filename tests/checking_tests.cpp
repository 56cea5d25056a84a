// SPDX-License-Identifier: GPL-3.0-or-later
// Typing the correction of a picked word: its colour after every key release,
// the reward for a right word, the list of corrected words, and the block the
// results log gains when the whole text is right.

#include "tests/support.h"

#include "presentation/richtextbox.h"
#include "presentation/twips.h"
#include "presentation/zarandel.h"
#include "windows/form4.h"

#include <QApplication>
#include <QClipboard>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <sstream>

namespace {

// Exercise rows, in the order the catalogue lists them.
constexpr int Animales = 0;  // two errors: pero (offsets 3 to 6) and mio (17 to 19)
constexpr int Cortos = 1;    // one line, one error: pero
constexpr int Plantas = 2;   // one line, one error: pero
constexpr int Poemas = 3;    // sixty lines, one error: pero, at the start

QStringList poem(const QString& firstLine)
{
    QStringList lines{firstLine};
    for (int i = 1; i < 60; ++i)
        lines.append(QStringLiteral("La casa del verso %1 es grande y blanca").arg(i));
    return lines;
}

const QString AnimalesShown = QStringLiteral("Mi pero come \nEs mio \n");
const QStringList AnimalesFaultyWords{"Mi", "pero", "come", "Es", "mio"};
const QString InTime = QStringLiteral("** Terminado en el plazo de tiempo previsto **");
const QString OutOfTime = QStringLiteral("** Tiempo agotado **");

QString block(int number, const QString& correctText, const QString& status)
{
    return QStringLiteral("TEXTO %1\n\n").arg(number) + correctText + u'\n' + status + QStringLiteral("\n\n");
}

class Checking : public MainWindowTest {
protected:
    Checking()
    {
        tree.writeItem("Animales", 1, {"Mi pero come", "Es mio"}, {"Mi perro come", "Es mío"});
        tree.writeItem("Cortos", 1, {"Mi pero come"}, {"Mi perro come"});
        tree.writeItem("Plantas", 1, {"El pero ladra"}, {"El perro ladra"});
        tree.writeItem("Poemas", 1, poem("El pero ladra"), poem("El perro ladra"));
        copyShippedGifs(tree);
        start();
    }

    void expectColour(int start, int length, std::uint32_t colour)
    {
        for (int i = start; i < start + length; ++i)
            EXPECT_EQ(colourAt(text(), i), colour) << "offset " << i;
    }
    // Picks pero at offset 4 and types perro.
    void correctPero()
    {
        harness->clickText(4);
        harness->type(QStringLiteral("\bro"));
    }
    // Types into the correction box; an arrow moves the caret one character left.
    void typeKeys(const QString& keys)
    {
        for (QChar c : keys) {
            if (c == u'←')
                harness->pressKey(correction(), Qt::Key_Left);
            else
                harness->type(QString(c));
        }
    }
};

struct Judgement {
    const char* name;
    int caret;
    QString keys;
    QString word;  // what the word has become in the text
    std::uint32_t colour;
};

void PrintTo(const Judgement& row, std::ostream* os)
{
    *os << row.name;
}

class Judging : public Checking, public ::testing::WithParamInterface<Judgement> {};

TEST_P(Judging, ColoursTheWordAsTyped)
{
    const Judgement& row = GetParam();
    harness->chooseExercise(Animales);
    harness->clickText(row.caret);
    const int start = form().pickedWordStart();
    const int position = form().faultyWords().count() - form().wordCounter();
    QString expectedText = AnimalesShown;
    expectedText.replace(start, form().pickedWordLength(), row.word);
    cues().clear();

    typeKeys(row.keys);

    EXPECT_EQ(correction()->text(), row.word);
    EXPECT_EQ(text()->text(), expectedText);
    expectColour(start, int(row.word.size()), row.colour);
    EXPECT_EQ(form().faultyWords().entry(position), row.word);
    const bool right = row.colour == vbcolor::Blue;
    EXPECT_EQ(cues().contains("acierto"), right);
    EXPECT_EQ(reward()->isVisible(), right);
    EXPECT_EQ(correctedWords(), right ? QStringList{row.word} : QStringList());
    // One error is left either way: the text is not finished.
    EXPECT_EQ(log()->text(), "");
    EXPECT_EQ(state().TextCounter, 1);
}

INSTANTIATE_TEST_SUITE_P(
    , Judging,
    ::testing::Values(Judgement{"PickedWordTypedBack", 4, "s\b", "pero", vbcolor::Black},
                      Judgement{"RightWordLeftAsItWas", 0, "x\b", "Mi", vbcolor::Black},
                      Judgement{"LastLetterRetyped", 4, "\bo", "pero", vbcolor::Black},
                      Judgement{"HalfTyped", 4, "\br", "perr", vbcolor::Red},
                      Judgement{"LetterCaseDiffers", 4, "\b\b\b\bPerro", "Perro", vbcolor::Red},
                      Judgement{"AccentDiffers", 18, "\bó", "mió", vbcolor::Red},
                      Judgement{"TrailingCharacter", 4, ".←←r", "perro.", vbcolor::Red},
                      Judgement{"RightWord", 4, "\bro", "perro", vbcolor::Blue},
                      Judgement{"RightAccentedWord", 18, "\b\bío", "mío", vbcolor::Blue}),
    [](const ::testing::TestParamInfo<Judgement>& info) { return info.param.name; });

TEST_F(Checking, ARightWordIsRewardedAndListedOnce)
{
    harness->chooseExercise(Animales);
    cues().clear();

    correctPero();

    EXPECT_EQ(cues(), QStringList({"acierto"}));
    EXPECT_TRUE(reward()->isVisible());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("/gifs/[123]\\.gif$")).match(reward()->gifFile()).hasMatch())
        << reward()->gifFile().toStdString();
    EXPECT_TRUE(reward()->isPlaying());
    EXPECT_EQ(correctedWords(), QStringList({"perro"}));

    // Keys that change nothing judge the word again.
    harness->pressKey(correction(), Qt::Key_Shift);
    harness->pressKey(correction(), Qt::Key_Right);
    EXPECT_EQ(cues(), QStringList({"acierto", "acierto", "acierto"}));
    EXPECT_EQ(correctedWords(), QStringList({"perro"}));
    expectColour(3, 5, vbcolor::Blue);
}

TEST_F(Checking, AWordCorrectedInTwoExercisesIsListedOnce)
{
    harness->chooseExercise(Animales);
    correctPero();
    harness->chooseExercise(Plantas);
    correctPero();

    EXPECT_EQ(correctedWords(), QStringList({"perro"}));
    EXPECT_EQ(cues().count("acierto"), 2);

    harness->chooseExercise(Animales);
    harness->clickText(18);
    harness->type(QStringLiteral("\b\bío"));
    EXPECT_EQ(correctedWords(), QStringList({"perro", "mío"}));
}

TEST_F(Checking, TheRewardAnimationsFollowTheSameSequenceEveryRun)
{
    const auto animations = [this] {
        startOn(Animales);
        correctPero();
        QStringList shown{reward()->gifFile().section(u'/', -1)};
        for (int i = 0; i < 8; ++i) {
            harness->pressKey(correction(), Qt::Key_Shift);
            shown.append(reward()->gifFile().section(u'/', -1));
        }
        return shown;
    };

    const QStringList first = animations();
    const QStringList second = animations();

    EXPECT_EQ(first, second);
    for (const QString& name : first)
        EXPECT_TRUE(name == "1.gif" || name == "2.gif" || name == "3.gif") << name.toStdString();
}

TEST_F(Checking, AfterTheCorrectionBoxIsEmptiedTypingGoesInAtTheWordsPlace)
{
    harness->chooseExercise(Animales);
    harness->clickText(4);

    harness->type(QStringLiteral("\b\b\b\b"));
    EXPECT_EQ(correction()->text(), "");
    EXPECT_EQ(text()->text(), "Mi  come \nEs mio \n");

    harness->type(QStringLiteral("perro"));
    EXPECT_EQ(text()->text(), "Mi perro come \nEs mio \n");
    expectColour(3, 5, vbcolor::Blue);
    EXPECT_EQ(form().faultyWords().words(), QStringList({"Mi", "perro", "come", "Es", "mio"}));
}

TEST_F(Checking, TheWholeTextSelectedByTheFontChoiceIsNotOverwritten)
{
    harness->chooseExercise(Animales);
    harness->clickText(4);
    form().Combo1_Click();
    ASSERT_EQ(text()->selLength(), text()->textLength());

    harness->type(QStringLiteral("\bro"));

    EXPECT_EQ(text()->text(), "Mi perro come \nEs mio \n");
    expectColour(3, 5, vbcolor::Blue);
}

TEST_F(Checking, SpacesAndLineBreaksNeverEnterACorrection)
{
    harness->chooseExercise(Animales);
    harness->clickText(4);

    harness->type(QStringLiteral(" "));
    harness->pressKey(correction(), Qt::Key_Return, QStringLiteral("\r"));
    harness->pressKey(correction(), Qt::Key_Tab, QStringLiteral("\t"));
    EXPECT_EQ(correction()->text(), "pero");
    EXPECT_EQ(text()->text(), AnimalesShown);
    expectColour(3, 4, vbcolor::Black);

    harness->type(QStringLiteral("\br o"));
    EXPECT_EQ(correction()->text(), "perro");
    EXPECT_EQ(text()->text(), "Mi perro come \nEs mio \n");
    expectColour(3, 5, vbcolor::Blue);

    harness->clickText(19);  // mio, one further on since perro grew
    harness->type(QStringLiteral("\b\b\b"));
    QGuiApplication::clipboard()->setText(QStringLiteral("m í\no"));
    QTest::keyClick(correction(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(correction()->text(), "mío");
    EXPECT_EQ(text()->text(), "Mi perro come \nEs mío \n");
    expectColour(18, 3, vbcolor::Blue);
    EXPECT_EQ(form().faultyWords().words(), QStringList({"Mi", "perro", "come", "Es", "mío"}));
}

TEST_F(Checking, TypingBeforeAWordOfTheTextIsPickedChangesNothing)
{
    harness->chooseExercise(Animales);
    cues().clear();

    harness->type(QStringLiteral("perro"));

    EXPECT_EQ(text()->text(), AnimalesShown);
    EXPECT_EQ(form().faultyWords().words(), AnimalesFaultyWords);
    EXPECT_TRUE(cues().isEmpty());

    // A word picked in the text shown before does not count either.
    harness->clickText(4);
    click("Command3_1");
    cues().clear();
    harness->type(QStringLiteral("x"));
    EXPECT_EQ(text()->text(), AnimalesShown);
    EXPECT_EQ(form().faultyWords().words(), AnimalesFaultyWords);
    EXPECT_TRUE(cues().isEmpty());
}

TEST_F(Checking, FinishingInTimeLogsTheTextAndStopsTheRunner)
{
    harness->chooseExercise(Cortos);
    cues().clear();

    correctPero();

    EXPECT_EQ(log()->text(), "TEXTO 1\n\nMi perro come \n\n** Terminado en el plazo de tiempo previsto **\n\n");
    EXPECT_EQ(cues(), QStringList({"acierto", "muybien"}));
    EXPECT_EQ(state().TextCounter, 2);
    EXPECT_FALSE(runner()->isVisible());
    EXPECT_FALSE(timer()->isActive());
    EXPECT_TRUE(reward()->isVisible());
    // The finished text stays as it is.
    EXPECT_EQ(text()->text(), "Mi perro come \n");
    EXPECT_EQ(correction()->text(), "perro");
}

TEST_F(Checking, FinishingAfterTheTimeRanOutSaysSo)
{
    harness->chooseExercise(Cortos);
    runOutOfTime();
    cues().clear();

    correctPero();

    EXPECT_EQ(log()->text(), block(1, "Mi perro come \n", OutOfTime));
    EXPECT_EQ(cues(), QStringList({"acierto", "bien"}));
    EXPECT_EQ(state().TextCounter, 2);
    EXPECT_TRUE(helpButton()->isEnabled());
}

TEST_F(Checking, AFinishedTextIsLoggedOnceUntilItIsLoadedAgain)
{
    harness->chooseExercise(Cortos);
    correctPero();
    const QString once = block(1, "Mi perro come \n", InTime);
    ASSERT_EQ(log()->text(), once);
    cues().clear();

    harness->pressKey(correction(), Qt::Key_Shift);
    harness->pressKey(correction(), Qt::Key_Return, QStringLiteral("\r"));
    harness->type(QStringLiteral("\bo"));

    EXPECT_EQ(log()->text(), once);
    EXPECT_EQ(cues(), QStringList({"acierto", "acierto", "acierto"}));
    EXPECT_EQ(state().TextCounter, 2);

    click("Command3_1");  // item 1 again
    correctPero();
    EXPECT_EQ(log()->text(), once + block(2, "Mi perro come \n", InTime));
    EXPECT_EQ(cues().count("muybien"), 1);
    EXPECT_EQ(state().TextCounter, 3);
}

TEST_F(Checking, TheTextCounterRunsOnAcrossExercises)
{
    harness->chooseExercise(Cortos);
    correctPero();
    harness->chooseExercise(Plantas);
    runOutOfTime();
    correctPero();

    EXPECT_EQ(log()->text(), block(1, "Mi perro come \n", InTime) + block(2, "El perro ladra \n", OutOfTime));
    EXPECT_EQ(state().TextCounter, 3);
}

TEST_F(Checking, TheResultsButtonShowsTheLog)
{
    harness->chooseExercise(Cortos);
    correctPero();
    form().form4()->hide();
    cues().clear();

    click("Command6");

    EXPECT_EQ(cues(), QStringList({"resultados"}));
    EXPECT_TRUE(form().form4()->isVisible());
    EXPECT_EQ(log()->text(), block(1, "Mi perro come \n", InTime));
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), form().form4());
}

TEST_F(Checking, AClickOrAKeyInTheLogBringsTheExerciseBack)
{
    harness->chooseExercise(Cortos);
    correctPero();
    const QString logged = log()->text();

    click("Command6");
    QCoreApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), form().form4());
    QTest::mouseClick(log()->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), &form());
    EXPECT_EQ(log()->text(), logged);

    click("Command6");
    QCoreApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), form().form4());
    harness->pressKey(log(), Qt::Key_A, QStringLiteral("a"));
    harness->pressKey(log(), Qt::Key_Delete);
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), &form());
    EXPECT_EQ(log()->text(), logged);
}

// A text finished while the exercise window is in front is written to the
// log behind it; the log is laid out when it can be seen again, whichever way
// it comes forward, and then looks exactly as a log given its text at once.
enum class Forward { ResultsButton, LogActivated, ExerciseMinimized, ExerciseMoved };

void PrintTo(Forward way, std::ostream* os)
{
    const char* names[] = {"ResultsButton", "LogActivated", "ExerciseMinimized", "ExerciseMoved"};
    *os << names[int(way)];
}

class LogBehind : public Checking, public ::testing::WithParamInterface<Forward> {
protected:
    // The log's view at its top and scrolled to its end.
    std::pair<QImage, QImage> views()
    {
        for (int i = 0; i < 50; ++i)
            QCoreApplication::processEvents();
        QScrollBar* bar = log()->verticalScrollBar();
        bar->setValue(0);
        const QImage top = log()->viewport()->grab().toImage();
        bar->setValue(bar->maximum());
        const QImage end = log()->viewport()->grab().toImage();
        bar->setValue(0);
        return {top, end};
    }
};

TEST_P(LogBehind, IsLaidOutWhenItComesForward)
{
    form().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
    harness->chooseExercise(Poemas);
    correctPero();
    const QString written = block(1, poem("El perro ladra").join(QStringLiteral(" \n")) + QStringLiteral(" \n"), InTime);
    ASSERT_EQ(log()->text(), written);
    ASSERT_TRUE(log()->layoutHeld()) << "the exercise window was not in front of the log";

    switch (GetParam()) {
    case Forward::ResultsButton: click("Command6"); break;
    case Forward::LogActivated: form().form4()->activateWindow(); break;
    case Forward::ExerciseMinimized: form().showMinimized(); break;
    case Forward::ExerciseMoved: form().move(form().pos() + QPoint(300, 300)); break;  // uncovers the log
    }

    const auto [top, end] = views();

    EXPECT_EQ(log()->text(), written);
    EXPECT_GT(log()->verticalScrollBar()->maximum(), 0);
    log()->setText(written);
    const auto [freshTop, freshEnd] = views();
    EXPECT_TRUE(top == freshTop) << "the top of the log is not drawn as its text";
    EXPECT_TRUE(end == freshEnd) << "the end of the log is not drawn as its text";
    EXPECT_FALSE(top == end);
}

INSTANTIATE_TEST_SUITE_P(Ways, LogBehind,
    ::testing::Values(Forward::ResultsButton, Forward::LogActivated, Forward::ExerciseMinimized, Forward::ExerciseMoved),
    [](const ::testing::TestParamInfo<Forward>& info) {
        std::ostringstream name;
        PrintTo(info.param, &name);
        return name.str();
    });

}  // namespace
