// SPDX-License-Identifier: GPL-3.0-or-later
// The help view: once time is up, the help button shows the correct text in
// white in place of the exercise text, with every word still wrong marked in
// yellow at its own place; a second press returns to the exercise text.

#include "tests/support.h"

#include "presentation/richtextbox.h"
#include "presentation/twips.h"
#include "windows/form4.h"

#include <QAbstractTextDocumentLayout>
#include <QClipboard>
#include <QGuiApplication>
#include <QCoreApplication>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// The yellow runs of the help text as "offset:text"; every other character
// (line feeds aside) must be white.
QStringList yellowMarks(const RichTextBox& box)
{
    QStringList marks;
    const QString text = box.text();
    int runStart = -1;
    for (int i = 0; i <= text.size(); ++i) {
        const bool yellow = i < text.size() && text.at(i) != u'\n' && lookAt(box, i).colour == vbcolor::Yellow;
        if (i < text.size() && text.at(i) != u'\n' && !yellow) {
            EXPECT_EQ(lookAt(box, i).colour, vbcolor::White) << "offset " << i;
        }
        if (yellow && runStart < 0)
            runStart = i;
        if (!yellow && runStart >= 0) {
            marks << QStringLiteral("%1:%2").arg(runStart).arg(text.mid(runStart, i - runStart));
            runStart = -1;
        }
    }
    return marks;
}

class HelpTest : public MainWindowTest {
protected:
    // Exercise "Lecturas" with the given items, its first item loaded.
    void startWith(const std::vector<std::pair<QStringList, QStringList>>& items)
    {
        for (std::size_t i = 0; i < items.size(); ++i)
            tree.writeItem(QStringLiteral("Lecturas"), int(i) + 1, items[i].first, items[i].second);
        startOn(0);
        ASSERT_TRUE(harness->messages.isEmpty()) << harness->messages.join(u'|').toStdString();
    }

    void runOutOfTime()
    {
        MainWindowTest::runOutOfTime();
        ASSERT_TRUE(helpButton()->isEnabled());
    }

    void pressHelp() { click("Command1"); }
};

struct MarkCase {
    const char* name;
    QStringList faulty;
    QStringList correct;
    QStringList marks;  // "offset:text" in the shown correct text
};

class HelpMarks : public HelpTest, public ::testing::WithParamInterface<MarkCase> {};

TEST_P(HelpMarks, MarkEachRemainingErrorAtItsOwnPlace)
{
    const MarkCase& c = GetParam();
    startWith({{c.faulty, c.correct}});
    runOutOfTime();
    cues().clear();

    pressHelp();

    EXPECT_EQ(cues(), QStringList{QStringLiteral("ayuda")});
    EXPECT_TRUE(text()->isHidden());
    EXPECT_TRUE(helpText()->isVisible());
    EXPECT_EQ(helpText()->geometry(), text()->geometry());
    EXPECT_EQ(helpText()->text(), c.correct.join(QStringLiteral(" \n")) + QStringLiteral(" \n"));
    EXPECT_EQ(helpText()->palette().color(QPalette::Base), vbcolor::toQColor(vbcolor::ActiveTitleBar));
    EXPECT_EQ(yellowMarks(*helpText()), c.marks);
}

INSTANTIATE_TEST_SUITE_P(
    Items, HelpMarks,
    ::testing::Values(
        MarkCase{"every_error", {"Mi pero come pam"}, {"Mi perro come pan"}, {"3:perro", "14:pan"}},
        MarkCase{"letter_case_counts", {"mi perro"}, {"Mi perro"}, {"0:Mi"}},
        MarkCase{"word_also_earlier", {"la casa de lla abuela"}, {"la casa de la abuela"}, {"11:la"}},
        MarkCase{"earlier_in_other_case", {"Casa y kasa"}, {"Casa y casa"}, {"7:casa"}},
        MarkCase{"one_letter_a", {"Mamá va ha casa"}, {"Mamá va a casa"}, {"8:a"}},
        MarkCase{"inside_a_longer_word", {"Un girasol mira al zol"}, {"Un girasol mira al sol"}, {"19:sol"}},
        MarkCase{"later_lines", {"Es mio", "el pero ladra"}, {"Es mío", "el perro ladra"}, {"3:mío", "11:perro"}},
        MarkCase{"empty_word_between_two_spaces", {"Mi  pero"}, {"Mi  perro"}, {"4:perro"}},
        MarkCase{"empty_line", {"", "Es mio"}, {"", "Es mío"}, {"5:mío"}},
        MarkCase{"punctuation_part_of_the_word", {"Si, vamos."}, {"Sí, vamos."}, {"0:Sí,"}},
        MarkCase{"equal_versions", {"Mi perro come", "Es mío"}, {"Mi perro come", "Es mío"}, {}}),
    [](const ::testing::TestParamInfo<MarkCase>& info) { return std::string(info.param.name); });

TEST_F(HelpTest, LockedWhileTheCountdownRuns)
{
    startWith({{{"Mi pero"}, {"Mi perro"}}});
    cues().clear();

    pressHelp();

    EXPECT_FALSE(helpButton()->isEnabled());
    EXPECT_TRUE(cues().isEmpty());
    EXPECT_TRUE(text()->isVisible());
    EXPECT_TRUE(helpText()->isHidden());
}

TEST_F(HelpTest, WordCorrectedBeforeThePressIsNotMarked)
{
    startWith({{{"Mi pero come pam"}, {"Mi perro come pan"}}});
    harness->clickText(4);
    harness->type(QStringLiteral("\b\brro"));
    ASSERT_EQ(text()->text(), QStringLiteral("Mi perro come pam \n"));
    runOutOfTime();

    pressHelp();

    EXPECT_EQ(yellowMarks(*helpText()), QStringList{QStringLiteral("14:pan")});
}

TEST_F(HelpTest, WordCorrectedBetweenTwoPressesLosesItsMark)
{
    startWith({{{"Mi pero come pam"}, {"Mi perro come pan"}}});
    runOutOfTime();
    pressHelp();
    ASSERT_EQ(yellowMarks(*helpText()), (QStringList{QStringLiteral("3:perro"), QStringLiteral("14:pan")}));
    pressHelp();

    harness->clickText(4);
    harness->type(QStringLiteral("\b\brro"));
    pressHelp();

    EXPECT_EQ(yellowMarks(*helpText()), QStringList{QStringLiteral("14:pan")});
}

TEST_F(HelpTest, WrongCorrectionStaysMarked)
{
    startWith({{{"Mi pero come pam"}, {"Mi perro come pan"}}});
    harness->clickText(4);
    harness->type(QStringLiteral("\b\bro"));
    runOutOfTime();

    pressHelp();

    EXPECT_EQ(yellowMarks(*helpText()), (QStringList{QStringLiteral("3:perro"), QStringLiteral("14:pan")}));
}

TEST_F(HelpTest, SecondPressRestoresTheExerciseTextUntouched)
{
    startWith({{{"Mi pero come pam", "Es mio"}, {"Mi perro come pan", "Es mío"}}});
    harness->clickText(4);
    harness->type(QStringLiteral("\b\brro"));  // blue
    harness->clickText(15);
    harness->type(QStringLiteral("x"));  // pamx, red
    harness->clickText(24);              // mio, green and large
    runOutOfTime();
    const QString shown = text()->text();
    const std::vector<Look> looks = looksOf(*text());
    ASSERT_EQ(lookAt(*text(), 3).colour, vbcolor::Blue);
    ASSERT_EQ(lookAt(*text(), 14).colour, vbcolor::Red);
    ASSERT_EQ(lookAt(*text(), 23).colour, vbcolor::Green);
    ASSERT_EQ(lookAt(*text(), 23).size, 28);
    cues().clear();

    pressHelp();
    pressHelp();

    EXPECT_EQ(cues(), (QStringList{QStringLiteral("ayuda"), QStringLiteral("ayuda")}));
    EXPECT_TRUE(text()->isVisible());
    EXPECT_TRUE(helpText()->isHidden());
    EXPECT_EQ(text()->text(), shown);
    EXPECT_EQ(looksOf(*text()), looks);

    // And the view switches again on the next press.
    pressHelp();
    EXPECT_TRUE(text()->isHidden());
    EXPECT_TRUE(helpText()->isVisible());
}

TEST_F(HelpTest, LoadingAnItemReturnsToTheExerciseText)
{
    startWith({{{"Mi pero"}, {"Mi perro"}}, {{"Es mio"}, {"Es mío"}}});
    runOutOfTime();
    pressHelp();
    ASSERT_TRUE(helpText()->isVisible());

    click("Command3_0");

    EXPECT_EQ(text()->text(), QStringLiteral("Es mio \n"));
    EXPECT_TRUE(text()->isVisible());
    EXPECT_TRUE(helpText()->isHidden());
    EXPECT_FALSE(helpButton()->isEnabled());
    EXPECT_EQ(helpText()->text(), QStringLiteral("Es mío \n"));
    EXPECT_TRUE(yellowMarks(*helpText()).isEmpty());
}

// The help view is laid out at its own width whenever it comes up, also when
// a load left it a resize still to come: its text is there to be read.
TEST_F(HelpTest, TheHelpViewIsLaidOutAtItsWidthEachTimeItComesUp)
{
    startWith({{{"Mi pero come"}, {"Mi perro come"}}, {{"Es mio"}, {"Es mío"}}, {{"Ay"}, {"Hay"}}});
    for (int round = 0; round < 2; ++round) {
        runOutOfTime();
        pressHelp();
        QCoreApplication::processEvents();
        ASSERT_TRUE(helpText()->isVisible());
        QTextDocument* document = helpText()->document();
        EXPECT_EQ(int(document->pageSize().width()), helpText()->viewport()->width()) << "round " << round;
        const QRectF first = document->documentLayout()->blockBoundingRect(document->firstBlock());
        EXPECT_GT(first.height(), 0) << "round " << round;
        EXPECT_GT(first.width(), 0) << "round " << round;
        pressHelp();
        click("Command3_0");
        ASSERT_TRUE(harness->messages.isEmpty());
    }
}

TEST_F(HelpTest, TheHelpViewCannotBeEdited)
{
    // The correct text shown by help is what the log records for a finished
    // text; keys, cuts and pastes in the help view must leave it as it is.
    startWith({{{"Mi pero"}, {"Mi perro"}}});
    runOutOfTime();
    pressHelp();
    RichTextBox* help = helpText();
    QTextCursor caret(help->document());
    caret.setPosition(3);
    QTest::mouseClick(help->viewport(), Qt::LeftButton, {}, help->cursorRect(caret).center());

    harness->pressKey(help, Qt::Key_Delete);
    harness->pressKey(help, Qt::Key_Backspace, QStringLiteral("\b"));
    harness->pressKey(help, Qt::Key_unknown, QStringLiteral("x"));
    QTest::keyClick(help, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(help, Qt::Key_X, Qt::ControlModifier);
    QGuiApplication::clipboard()->setText(QStringLiteral("gato"));
    QTest::keyClick(help, Qt::Key_V, Qt::ControlModifier);

    EXPECT_EQ(help->text(), QStringLiteral("Mi perro \n"));
    pressHelp();
    harness->clickText(4);
    harness->type(QStringLiteral("\b\brro"));
    ASSERT_EQ(state().TextCounter, 2);
    EXPECT_EQ(log()->text(),
              QStringLiteral("TEXTO 1\n\nMi perro \n\n** Tiempo agotado **\n\n"));
}

TEST_F(HelpTest, ReloadingTheSameItemClearsTheMarks)
{
    startWith({{{"Mi pero"}, {"Mi perro"}}});
    runOutOfTime();
    pressHelp();
    ASSERT_EQ(yellowMarks(*helpText()), QStringList{QStringLiteral("3:perro")});

    harness->chooseExercise(0);

    EXPECT_TRUE(text()->isVisible());
    EXPECT_TRUE(helpText()->isHidden());
    EXPECT_TRUE(yellowMarks(*helpText()).isEmpty());
}

// A text of thousands of words with most of them still wrong: far more marks
// than the help view makes at once. The first screenful is marked at once,
// the rest between other events.
class LongHelpTest : public HelpTest {
protected:
    static constexpr int Words = 4000;
    static constexpr int PerLine = 10;

    // Every word "perro"; the pupil's version writes "pero" but for every
    // tenth word, already right.
    void startLong()
    {
        QStringList faulty;
        QStringList correct;
        for (int line = 0; line < Words / PerLine; ++line) {
            QStringList faultyWords;
            QStringList correctWords;
            for (int k = line * PerLine; k < (line + 1) * PerLine; ++k) {
                faultyWords << (k % 10 == 0 ? QStringLiteral("perro") : QStringLiteral("pero"));
                correctWords << QStringLiteral("perro");
            }
            faulty << faultyWords.join(u' ');
            correct << correctWords.join(u' ');
        }
        startWith({{faulty, correct}, {{"Es mio"}, {"Es mío"}}});
        runOutOfTime();
    }

    // Offset of word k in the shown correct text: 61 characters a line.
    static int helpOffset(int k) { return k / PerLine * 61 + k % PerLine * 6; }

    // Offset of word k in the exercise text, with the words corrected so far.
    int exerciseOffset(int k) const
    {
        int offset = 0;
        for (int i = 0; i < k; ++i) {
            const bool right = i % 10 == 0 || std::find(putRight.begin(), putRight.end(), i) != putRight.end();
            offset += (right ? 5 : 4) + 1 + (i % PerLine == PerLine - 1 ? 1 : 0);
        }
        return offset;
    }

    // The marks every word still wrong should have, "offset:perro", for the
    // words before `end` (all of them by default), but the ones in `right`.
    static QStringList expectedMarks(const std::vector<int>& right = {}, int end = Words)
    {
        QStringList marks;
        for (int k = 0; k < end; ++k) {
            if (k % 10 != 0 && std::find(right.begin(), right.end(), k) == right.end())
                marks << QStringLiteral("%1:perro").arg(helpOffset(k));
        }
        return marks;
    }

    // The yellow runs of the help text, read fragment by fragment (a long
    // text is too long to read a character at a time), and whether every
    // other character is white.
    static QStringList yellowRuns(const RichTextBox& box, bool* restWhite)
    {
        QStringList marks;
        *restWhite = true;
        int runStart = -1;
        QString run;
        auto closeRun = [&] {
            if (runStart >= 0)
                marks << QStringLiteral("%1:%2").arg(runStart).arg(run);
            runStart = -1;
            run.clear();
        };
        for (QTextBlock block = box.document()->begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                const std::uint32_t colour = vbcolor::fromQColor(fragment.charFormat().foreground().color());
                if (colour != vbcolor::Yellow) {
                    closeRun();
                    if (colour != vbcolor::White)
                        *restWhite = false;
                    continue;
                }
                if (runStart < 0 || runStart + run.size() != fragment.position()) {
                    closeRun();
                    runStart = fragment.position();
                }
                run += fragment.text();
            }
            closeRun();
        }
        return marks;
    }

    QStringList helpMarks()
    {
        bool restWhite = false;
        const QStringList marks = yellowRuns(*helpText(), &restWhite);
        EXPECT_TRUE(restWhite);
        return marks;
    }

    // Lets the program run until nothing is left for later; a marking in
    // slices takes a few turns of the event loop.
    static void untilIdle()
    {
        for (int turn = 0; turn < 100; ++turn)
            QCoreApplication::processEvents();
    }

    // Scrolls the exercise text to word k, then corrects it to "perro".
    void correctWord(int k)
    {
        RichTextBox* box = text();
        QTextCursor at(box->document());
        at.setPosition(exerciseOffset(k) + 1);
        QScrollBar* bar = box->verticalScrollBar();
        bar->setValue(bar->value() + box->cursorRect(at).top() - 10);
        harness->clickText(exerciseOffset(k) + 2);
        harness->type(QStringLiteral("\b\brro"));
        putRight.push_back(k);
        ASSERT_EQ(box->text().mid(exerciseOffset(k), 6), QStringLiteral("perro "));
    }

    std::vector<int> putRight;  // words corrected in the exercise text
};

TEST_F(LongHelpTest, EveryRemainingErrorIsMarkedTheViewFirst)
{
    startLong();

    pressHelp();

    // What is in view is marked at once.
    RichTextBox* help = helpText();
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->verticalScrollBar()->value(), 0);
    const int lastInView = help->cursorForPosition(help->viewport()->rect().bottomRight()).position();
    ASSERT_GT(lastInView, helpOffset(2 * PerLine));
    int wordsInView = 0;
    while (helpOffset(wordsInView) <= lastInView)
        ++wordsInView;
    const QStringList marks = helpMarks();
    EXPECT_EQ(marks.mid(0, expectedMarks({}, wordsInView).size()), expectedMarks({}, wordsInView));

    untilIdle();
    EXPECT_EQ(helpMarks(), expectedMarks());

    // Back and in again with nothing changed: the same marks.
    pressHelp();
    untilIdle();
    pressHelp();
    untilIdle();
    EXPECT_EQ(helpMarks(), expectedMarks());
}

TEST_F(LongHelpTest, TheViewStaysWhereThePupilScrollsItWhileTheMarksAreMade)
{
    startLong();
    pressHelp();
    RichTextBox* help = helpText();
    QScrollBar* bar = help->verticalScrollBar();
    ASSERT_NE(helpMarks(), expectedMarks()) << "no marks were left for later";
    ASSERT_GT(bar->maximum(), 0);
    bar->setValue(bar->maximum() / 2);
    const int topInView = help->cursorForPosition(QPoint(0, 0)).position();
    ASSERT_GT(topInView, helpOffset(4 * PerLine));

    untilIdle();

    EXPECT_EQ(help->cursorForPosition(QPoint(0, 0)).position(), topInView);
    EXPECT_EQ(helpMarks(), expectedMarks());
}

TEST_F(LongHelpTest, GoingBackAtOnceThenCorrectingLeavesNoStaleMark)
{
    startLong();
    const QString shown = text()->text();
    const std::vector<Look> looks = looksOf(*text());

    // Into help and straight back, before the marks can all be made.
    pressHelp();
    pressHelp();
    untilIdle();
    EXPECT_TRUE(text()->isVisible());
    EXPECT_TRUE(helpText()->isHidden());
    EXPECT_EQ(text()->text(), shown);
    EXPECT_EQ(looksOf(*text()), looks);

    // A word far down corrected, then help again: it alone is not marked.
    correctWord(Words - 3);
    correctWord(Words / 2 + 1);
    pressHelp();
    untilIdle();
    EXPECT_EQ(helpMarks(), expectedMarks({Words / 2 + 1, Words - 3}));

    // Corrected once the marks are all made: its mark goes at the next press.
    pressHelp();
    correctWord(Words - 2);
    pressHelp();
    untilIdle();
    EXPECT_EQ(helpMarks(), expectedMarks({Words / 2 + 1, Words - 3, Words - 2}));
}

TEST_F(LongHelpTest, LoadingAnItemWhileMarkingLeavesTheNewTextClean)
{
    startLong();
    pressHelp();

    // The next item, then back to the long one, then that one reloaded.
    click("Command3_0");
    untilIdle();
    EXPECT_EQ(helpText()->text(), QStringLiteral("Es mío \n"));
    EXPECT_TRUE(helpMarks().isEmpty());
    EXPECT_TRUE(text()->isVisible());

    click("Command3_1");
    untilIdle();
    EXPECT_TRUE(helpMarks().isEmpty());
    runOutOfTime();
    pressHelp();
    harness->chooseExercise(0);
    untilIdle();
    EXPECT_TRUE(helpText()->isHidden());
    EXPECT_TRUE(helpMarks().isEmpty());

    // And help on the reloaded text marks it whole.
    runOutOfTime();
    pressHelp();
    untilIdle();
    EXPECT_EQ(helpMarks(), expectedMarks());
}

}  // namespace
