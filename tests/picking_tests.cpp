// SPDX-License-Identifier: GPL-3.0-or-later
// Clicking a word of the exercise text picks it: it grows, turns green and is
// copied into the correction box.

#include "tests/support.h"

#include "presentation/richtextbox.h"
#include "presentation/twips.h"

#include <QLineEdit>
#include <QTest>
#include <QTextBlock>

#include <gtest/gtest.h>

namespace {

// Offsets of the shown text: M 0, i 1, space 2, p 3, e 4, r 5, r 6, o 7,
// space 8, c 9, o 10, m 11, e 12, space 13, line feed 14, E 15, s 16, space 17,
// m 18, í 19, o 20, space 21, line feed 22; 23 characters, five words.
const QString Shown = QStringLiteral("Mi perro come \nEs mío \n");

class Picking : public MainWindowTest {
protected:
    Picking()
    {
        tree.writeItem("Animales", 1, {"Mi perro come", "Es mío"}, {"Mi perro corre", "Es mío"});
        startOn(0);
    }

    void expectLook(int start, int length, std::uint32_t colour, double points)
    {
        for (int i = start; i < start + length; ++i) {
            EXPECT_EQ(colourAt(text(), i), colour) << "offset " << i;
            EXPECT_EQ(pointSizeAt(text(), i), points) << "offset " << i;
        }
    }
};

struct Pick {
    int caret;
    QString word;
    int start;
    int wordCounter;
    int position;
};

void PrintTo(const Pick& pick, std::ostream* os)
{
    *os << "caret " << pick.caret << " picks " << pick.word.toStdString();
}

class PickingAt : public Picking, public ::testing::WithParamInterface<Pick> {};

TEST_P(PickingAt, PicksTheWholeWordAroundTheCaret)
{
    ASSERT_EQ(text()->text(), Shown);
    const Pick& pick = GetParam();

    harness->clickText(pick.caret);

    EXPECT_EQ(form().pickedWord(), pick.word);
    EXPECT_EQ(form().pickedWordStart(), pick.start);
    EXPECT_EQ(form().pickedWordLength(), pick.word.size());
    EXPECT_EQ(form().wordCounter(), pick.wordCounter);
    EXPECT_EQ(form().faultyWords().count() - form().wordCounter(), pick.position);
    EXPECT_EQ(text()->selStart(), pick.start);
    EXPECT_EQ(text()->selText(), pick.word);
    expectLook(pick.start, int(pick.word.size()), vbcolor::Green, 28);
    // The space after the word keeps the look of the text around it.
    EXPECT_EQ(colourAt(text(), pick.start + int(pick.word.size())), vbcolor::Black);
    EXPECT_EQ(pointSizeAt(text(), pick.start + int(pick.word.size())), 18);

    EXPECT_EQ(correction()->text(), pick.word);
    EXPECT_EQ(correction()->document()->firstBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignHCenter);
    EXPECT_EQ(form().focusWidget(), correction());
    EXPECT_EQ(text()->text(), Shown);
}

INSTANTIATE_TEST_SUITE_P(
    MiPerroCome, PickingAt,
    ::testing::Values(Pick{5, "perro", 3, 4, 1},   // inside the word
                      Pick{3, "perro", 3, 4, 1},   // just after the space before it
                      Pick{8, "perro", 3, 4, 1},   // just before the space after it
                      Pick{0, "Mi", 0, 5, 0},      // at the start of the text
                      Pick{2, "Mi", 0, 5, 0},      // at the end of the first word
                      Pick{13, "come", 9, 3, 2},   // at the end of a line's last word
                      Pick{16, "Es", 15, 2, 3},    // after a line feed
                      Pick{15, "Es", 15, 2, 3},    // at the start of a line
                      Pick{14, "Es", 15, 2, 3},    // between a line's closing space and its line feed
                      Pick{19, "mío", 18, 1, 4},   // inside an accented word
                      Pick{22, "mío", 18, 1, 4},   // after the last space
                      Pick{23, "mío", 18, 1, 4}),  // at the very end
    [](const ::testing::TestParamInfo<Pick>& info) { return "Caret" + std::to_string(info.param.caret); });

TEST_F(Picking, TheWordPickedBeforeShrinksAndKeepsItsColour)
{
    harness->clickText(5);
    harness->clickText(16);

    expectLook(3, 5, vbcolor::Green, 20);
    expectLook(8, 1, vbcolor::Black, 20);  // the space after perro shrinks with it
    expectLook(15, 2, vbcolor::Green, 28);
    EXPECT_EQ(form().pickedWord(), "Es");
}

TEST_F(Picking, ABlueWordClickedAgainStaysBlueAndKeepsTheFocus)
{
    harness->clickText(11);
    harness->type(QStringLiteral("\b\brre"));  // come -> corre
    ASSERT_EQ(colourAt(text(), 9), vbcolor::Blue);
    harness->clickText(0);
    ASSERT_EQ(form().focusWidget(), correction());

    harness->clickText(11);

    EXPECT_EQ(form().pickedWord(), "corre");
    EXPECT_EQ(form().pickedWordStart(), 9);
    EXPECT_EQ(correction()->text(), "corre");
    expectLook(9, 5, vbcolor::Blue, 28);
    EXPECT_EQ(form().focusWidget(), text());
}

TEST_F(Picking, ARedWordClickedAgainStaysRedAndTakesTheFocusToTheCorrection)
{
    harness->clickText(5);
    harness->type(QStringLiteral("s"));  // perro -> perros
    ASSERT_EQ(colourAt(text(), 3), vbcolor::Red);
    harness->clickText(0);

    harness->clickText(5);

    EXPECT_EQ(form().pickedWord(), "perros");
    EXPECT_EQ(correction()->text(), "perros");
    expectLook(3, 6, vbcolor::Red, 28);
    EXPECT_EQ(form().focusWidget(), correction());
}

// Only the picked word, and the word picked before it in the same text,
// change size: a pupil takes a bigger letter as a hint.
TEST_F(Picking, NoLetterGrowsButThePickedWordsOfTheTextShown)
{
    tree.writeItem("Animales", 2, {"Un gato come", "Es mío"}, {"Un gato come", "Es mío"});
    const auto expectOnlyPicked = [this](int start, int length) {
        for (int i = 0; i < text()->textLength(); ++i) {
            if (text()->text().at(i) == u'\n')
                continue;
            const bool picked = i >= start && i < start + length;
            EXPECT_EQ(pointSizeAt(text(), i), picked ? 28 : 18) << "offset " << i;
        }
    };

    // The first pick of a freshly started program.
    harness->clickText(16);
    expectOnlyPicked(15, 2);

    // A pick in another text, where the last one was made elsewhere.
    harness->clickText(5);
    click("Command3_0");
    ASSERT_EQ(text()->text(), "Un gato come \nEs mío \n");
    harness->clickText(10);
    expectOnlyPicked(8, 4);

    // The same text again, loaded anew.
    harness->chooseExercise(0);
    harness->clickText(15);
    expectOnlyPicked(14, 2);
}

TEST_F(Picking, BetweenTwoNeighbouringSpacesTheEmptyWordIsPicked)
{
    tree.writeItem("Animales", 2, {"Ella  canta"}, {"Ella se canta"});
    click("Command3_0");
    ASSERT_EQ(text()->text(), "Ella  canta \n");

    harness->clickText(5);

    EXPECT_EQ(form().pickedWord(), "");
    EXPECT_EQ(form().pickedWordStart(), 5);
    EXPECT_EQ(form().pickedWordLength(), 0);
    EXPECT_EQ(form().faultyWords().count() - form().wordCounter(), 1);
    EXPECT_EQ(correction()->text(), "");
}

TEST_F(Picking, AClickInAnEmptyTextDoesNothing)
{
    harness->clickText(5);
    // A missing item leaves the text empty.
    harness->pressKey(itemBox(), Qt::Key_9, QStringLiteral("9"));
    ASSERT_EQ(harness->messages.size(), 1);
    ASSERT_EQ(text()->text(), "");

    harness->clickText(0);

    EXPECT_EQ(text()->text(), "");
    EXPECT_EQ(form().pickedWord(), "perro");
    EXPECT_EQ(form().pickedWordStart(), 3);
    EXPECT_EQ(form().wordCounter(), 4);
    EXPECT_EQ(correction()->text(), "perro");
}

}  // namespace
