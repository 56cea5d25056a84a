// The help view: once time is up, the help button shows the correct text in
// white in place of the exercise text, with every word still wrong marked in
// yellow at its own place; a second press returns to the exercise text.

#include "tests/support.h"

#include "presentation/richtextbox.h"
#include "presentation/twips.h"
#include "windows/form4.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPushButton>
#include <QTest>
#include <QTextCursor>

#include <gtest/gtest.h>

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

class HelpTest : public ::testing::Test {
protected:
    // Exercise "Lecturas" with the given items, its first item loaded.
    void start(const std::vector<std::pair<QStringList, QStringList>>& items)
    {
        for (std::size_t i = 0; i < items.size(); ++i)
            tree.writeItem(QStringLiteral("Lecturas"), int(i) + 1, items[i].first, items[i].second);
        harness = std::make_unique<MainWindowHarness>(tree.path());
        harness->chooseExercise(0);
        ASSERT_TRUE(harness->messages.isEmpty()) << harness->messages.join(u'|').toStdString();
    }

    void runOutOfTime()
    {
        for (int tick = 0; tick < 100000 && !harness->state.TimeUp; ++tick)
            harness->form().Timer1_Timer();
        ASSERT_TRUE(harness->state.TimeUp);
        ASSERT_TRUE(helpButton()->isEnabled());
    }

    void pressHelp() { QTest::mouseClick(helpButton(), Qt::LeftButton); }

    QPushButton* helpButton() const { return harness->find<QPushButton>("Command1"); }
    RichTextBox* exerciseText() const { return harness->text(); }
    RichTextBox* helpText() const { return harness->find<RichTextBox>("RichTextBox2"); }

    TempTree tree;
    std::unique_ptr<MainWindowHarness> harness;
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
    start({{c.faulty, c.correct}});
    runOutOfTime();
    harness->cues.cues.clear();

    pressHelp();

    EXPECT_EQ(harness->cues.cues, QStringList{QStringLiteral("ayuda")});
    EXPECT_TRUE(exerciseText()->isHidden());
    EXPECT_TRUE(helpText()->isVisible());
    EXPECT_EQ(helpText()->geometry(), exerciseText()->geometry());
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
    start({{{"Mi pero"}, {"Mi perro"}}});
    harness->cues.cues.clear();

    pressHelp();

    EXPECT_FALSE(helpButton()->isEnabled());
    EXPECT_TRUE(harness->cues.cues.isEmpty());
    EXPECT_TRUE(exerciseText()->isVisible());
    EXPECT_TRUE(helpText()->isHidden());
}

TEST_F(HelpTest, WordCorrectedBeforeThePressIsNotMarked)
{
    start({{{"Mi pero come pam"}, {"Mi perro come pan"}}});
    harness->clickText(4);
    harness->type(QStringLiteral("\b\brro"));
    ASSERT_EQ(harness->text()->text(), QStringLiteral("Mi perro come pam \n"));
    runOutOfTime();

    pressHelp();

    EXPECT_EQ(yellowMarks(*helpText()), QStringList{QStringLiteral("14:pan")});
}

TEST_F(HelpTest, WordCorrectedBetweenTwoPressesLosesItsMark)
{
    start({{{"Mi pero come pam"}, {"Mi perro come pan"}}});
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
    start({{{"Mi pero come pam"}, {"Mi perro come pan"}}});
    harness->clickText(4);
    harness->type(QStringLiteral("\b\bro"));
    runOutOfTime();

    pressHelp();

    EXPECT_EQ(yellowMarks(*helpText()), (QStringList{QStringLiteral("3:perro"), QStringLiteral("14:pan")}));
}

TEST_F(HelpTest, SecondPressRestoresTheExerciseTextUntouched)
{
    start({{{"Mi pero come pam", "Es mio"}, {"Mi perro come pan", "Es mío"}}});
    harness->clickText(4);
    harness->type(QStringLiteral("\b\brro"));  // blue
    harness->clickText(15);
    harness->type(QStringLiteral("x"));  // pamx, red
    harness->clickText(24);              // mio, green and large
    runOutOfTime();
    const QString text = exerciseText()->text();
    const std::vector<Look> looks = looksOf(*exerciseText());
    ASSERT_EQ(lookAt(*exerciseText(), 3).colour, vbcolor::Blue);
    ASSERT_EQ(lookAt(*exerciseText(), 14).colour, vbcolor::Red);
    ASSERT_EQ(lookAt(*exerciseText(), 23).colour, vbcolor::Green);
    ASSERT_EQ(lookAt(*exerciseText(), 23).size, 28);
    harness->cues.cues.clear();

    pressHelp();
    pressHelp();

    EXPECT_EQ(harness->cues.cues, (QStringList{QStringLiteral("ayuda"), QStringLiteral("ayuda")}));
    EXPECT_TRUE(exerciseText()->isVisible());
    EXPECT_TRUE(helpText()->isHidden());
    EXPECT_EQ(exerciseText()->text(), text);
    EXPECT_EQ(looksOf(*exerciseText()), looks);

    // And the view switches again on the next press.
    pressHelp();
    EXPECT_TRUE(exerciseText()->isHidden());
    EXPECT_TRUE(helpText()->isVisible());
}

TEST_F(HelpTest, LoadingAnItemReturnsToTheExerciseText)
{
    start({{{"Mi pero"}, {"Mi perro"}}, {{"Es mio"}, {"Es mío"}}});
    runOutOfTime();
    pressHelp();
    ASSERT_TRUE(helpText()->isVisible());

    QTest::mouseClick(harness->find<QPushButton>("Command3_0"), Qt::LeftButton);

    EXPECT_EQ(harness->text()->text(), QStringLiteral("Es mio \n"));
    EXPECT_TRUE(exerciseText()->isVisible());
    EXPECT_TRUE(helpText()->isHidden());
    EXPECT_FALSE(helpButton()->isEnabled());
    EXPECT_EQ(helpText()->text(), QStringLiteral("Es mío \n"));
    EXPECT_TRUE(yellowMarks(*helpText()).isEmpty());
}

TEST_F(HelpTest, TheHelpViewCannotBeEdited)
{
    // The correct text shown by help is what the log records for a finished
    // text; keys, cuts and pastes in the help view must leave it as it is.
    start({{{"Mi pero"}, {"Mi perro"}}});
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
    ASSERT_EQ(harness->state.TextCounter, 2);
    EXPECT_EQ(harness->form().form4()->RichTextBox1()->text(),
              QStringLiteral("TEXTO 1\n\nMi perro \n\n** Tiempo agotado **\n\n"));
}

TEST_F(HelpTest, ReloadingTheSameItemClearsTheMarks)
{
    start({{{"Mi pero"}, {"Mi perro"}}});
    runOutOfTime();
    pressHelp();
    ASSERT_EQ(yellowMarks(*helpText()), QStringList{QStringLiteral("3:perro")});

    harness->chooseExercise(0);

    EXPECT_TRUE(exerciseText()->isVisible());
    EXPECT_TRUE(helpText()->isHidden());
    EXPECT_TRUE(yellowMarks(*helpText()).isEmpty());
}

}  // namespace
