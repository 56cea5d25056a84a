// SPDX-License-Identifier: GPL-3.0-or-later
// The pace buttons, the runner that crosses the screen while an item is
// worked, the moment time runs out, and the reward animation hiding itself.

#include "tests/support.h"

#include "presentation/richtextbox.h"
#include "presentation/twips.h"
#include "presentation/zarandel.h"

#include <QCoreApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace {

class Countdown : public MainWindowTest {
protected:
    Countdown()
    {
        tree.writeItem("Animales", 1, {"Mi pero come", "Es mio"}, {"Mi perro come", "Es mío"});
        tree.writeItem("Animales", 2, {"La baca muge"}, {"La vaca muge"});
    }

    double list1Left() { return twips::left(exercises()); }
    // The right edge of the exercise text, which the runner must pass.
    double textRightEdge() { return twips::left(text()) + twips::width(text()); }
    void expectRunning()
    {
        EXPECT_TRUE(timer()->isActive());
        EXPECT_TRUE(runner()->isVisible());
        EXPECT_FALSE(state().TimeUp);
        EXPECT_FALSE(helpButton()->isEnabled());
    }
    void expectExpired()
    {
        EXPECT_FALSE(timer()->isActive());
        EXPECT_FALSE(runner()->isVisible());
        EXPECT_TRUE(state().TimeUp);
        EXPECT_TRUE(helpButton()->isEnabled());
    }
};

const std::array<const char*, 4> PaceButtons{"Command5_0", "Command5_1", "Command5_2", "Command5_3"};

class Pace : public Countdown, public ::testing::WithParamInterface<int> {};

TEST_P(Pace, SetsTheIntervalAndLightsItsButton)
{
    const int pace = GetParam();
    start();
    cues().clear();

    click(PaceButtons[pace]);

    EXPECT_EQ(cues(), QStringList({"rapido"}));
    EXPECT_EQ(timer()->interval(), 200 - 50 * pace);
    for (int i = 0; i < int(PaceButtons.size()); ++i)
        EXPECT_EQ(vbcolor::background(button(PaceButtons[i])), i == pace ? vbcolor::Green : vbcolor::Yellow)
            << PaceButtons[i];
    // No text is loaded: the countdown stays stopped with the new pace kept.
    EXPECT_FALSE(timer()->isActive());

    harness->chooseExercise(0);
    EXPECT_TRUE(timer()->isActive());
    EXPECT_EQ(timer()->interval(), 200 - 50 * pace);
}

INSTANTIATE_TEST_SUITE_P(, Pace, ::testing::Range(0, 4),
                         [](const ::testing::TestParamInfo<int>& info) { return "Button" + std::to_string(info.param); });

TEST_F(Countdown, StartsAtTheSlowestPace)
{
    start();
    EXPECT_EQ(timer()->interval(), 200);
    EXPECT_EQ(vbcolor::background(button("Command5_0")), vbcolor::Green);
    EXPECT_FALSE(timer()->isActive());
}

TEST_F(Countdown, AChangeOfPaceLetsTheRunnerGoOnFromWhereItStands)
{
    startOn(0);
    form().Timer1_Timer();
    const qint32 runnerAt = form().countdownLeft();

    click("Command5_2");
    click("Command5_2");  // the lit button again: its cue, nothing more

    EXPECT_EQ(cues().mid(cues().size() - 2), QStringList({"rapido", "rapido"}));
    EXPECT_EQ(timer()->interval(), 100);
    EXPECT_EQ(vbcolor::background(button("Command5_2")), vbcolor::Green);
    EXPECT_EQ(vbcolor::background(button("Command5_0")), vbcolor::Yellow);
    EXPECT_EQ(form().countdownLeft(), runnerAt);
    expectRunning();

    form().Timer1_Timer();
    EXPECT_EQ(form().countdownLeft(), runnerAt + 25);
}

TEST_F(Countdown, EachTickMovesTheRunner25Twips)
{
    startOn(0);
    const double top = twips::top(runner());
    ASSERT_EQ(form().countdownLeft(), std::lround(list1Left()));

    for (int tick = 1; tick <= 6; ++tick) {
        form().Timer1_Timer();
        EXPECT_EQ(form().countdownLeft(), std::lround(list1Left()) + 25 * tick);
    }
    // 150 twips are ten pixels exactly.
    EXPECT_EQ(twips::left(runner()), list1Left() + 150);
    EXPECT_EQ(twips::top(runner()), top);
    expectRunning();
}

TEST_F(Countdown, ATickLandingOnTheEdgeLeavesTimeTheNextOneEndsIt)
{
    // A screen on which the text's edge lies a whole number of steps from
    // where the runner sets off.
    for (int width = 12000; width < 12000 + 15 * 40; width += 15) {
        twips::overrideScreenSize(QSize(width, 9000));
        startOn(0);
        if ((std::lround(textRightEdge()) - form().countdownLeft()) % 25 == 0)
            break;
    }
    const double edge = textRightEdge();
    ASSERT_EQ((std::lround(edge) - form().countdownLeft()) % 25, 0) << "no screen tried puts the edge on a step";
    while (form().countdownLeft() + 25 < edge)
        form().Timer1_Timer();

    form().Timer1_Timer();
    EXPECT_EQ(form().countdownLeft(), edge);
    expectRunning();

    form().Timer1_Timer();
    expectExpired();
    EXPECT_TRUE(cues().filter("no").isEmpty());
    EXPECT_TRUE(harness->messages.isEmpty());
}

TEST_F(Countdown, TheRunnerPassesTheTextOnTheTickItsWalkPredicts)
{
    startOn(0);
    const int expected = int(std::floor((textRightEdge() - list1Left()) / 25)) + 1;

    int ticks = 0;
    while (!state().TimeUp && ticks < 100000) {
        form().Timer1_Timer();
        ++ticks;
    }

    EXPECT_EQ(ticks, expected);
    expectExpired();
}

TEST_F(Countdown, LoadingAfterTimeRanOutStartsAgain)
{
    startOn(0);
    runOutOfTime();

    click("Command3_0");

    expectRunning();
    EXPECT_EQ(form().countdownLeft(), std::lround(list1Left()));
    EXPECT_EQ(twips::left(runner()), list1Left());
    EXPECT_EQ(text()->text(), "La baca muge \n");
}

TEST_F(Countdown, TheRunnerIsARealAnimationThatKeepsPlaying)
{
    if (!copyShippedGifs(tree))
        GTEST_SKIP() << "the program's GIFs are not at hand";
    startOn(0);

    ASSERT_NE(runner()->movie(), nullptr);
    EXPECT_TRUE(runner()->movie()->isValid());
    EXPECT_GT(runner()->movie()->frameCount(), 1);
    EXPECT_TRUE(runner()->isPlaying());
    EXPECT_FALSE(runner()->movie()->currentPixmap().isNull());

    form().Timer1_Timer();
    EXPECT_TRUE(runner()->isPlaying());

    runOutOfTime();
    EXPECT_FALSE(runner()->isVisible());
    EXPECT_FALSE(runner()->isPlaying());
}

TEST_F(Countdown, TheRewardHidesItselfWhenItEnds)
{
    copyShippedGifs(tree);
    startOn(0);
    harness->clickText(4);
    harness->type(QStringLiteral("\bro"));
    ASSERT_TRUE(reward()->isVisible());

    QWidget* listArea = corrected()->viewport();
    int paints = 0;
    struct PaintCounter : QObject {
        int& count;
        explicit PaintCounter(int& c)
            : count(c)
        {
        }
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::Paint)
                ++count;
            return false;
        }
    } counter(paints);
    QCoreApplication::processEvents();
    listArea->installEventFilter(&counter);
    paints = 0;

    form().Zarandel2_GifEnd();
    QCoreApplication::processEvents();

    EXPECT_FALSE(reward()->isVisible());
    EXPECT_GT(paints, 0);
    listArea->removeEventFilter(&counter);
}

TEST_F(Countdown, ARewardWithoutItsFileEndsAtOnce)
{
    startOn(0);
    harness->clickText(4);
    harness->type(QStringLiteral("\bro"));
    ASSERT_TRUE(reward()->isVisible());

    QCoreApplication::processEvents();

    EXPECT_FALSE(reward()->isVisible());
}

}  // namespace
