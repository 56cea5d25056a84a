// SPDX-License-Identifier: GPL-3.0-or-later
// The font chooser, the exit button and the key filters of the exercise text
// and of the correction box.

#include "tests/support.h"

#include "presentation/richtextbox.h"
#include "presentation/twips.h"
#include "windows/form3.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QGuiApplication>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextCursor>
#include <QTimer>

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace {

class SmallHandlersTest : public MainWindowTest {
protected:
    void start(bool loadItem = true)
    {
        tree.writeItem(QStringLiteral("Lecturas"), 1, {QStringLiteral("Mi pero come pam"), QStringLiteral("Es mio")},
                       {QStringLiteral("Mi perro come pan"), QStringLiteral("Es mío")});
        MainWindowTest::start();
        if (loadItem) {
            harness->chooseExercise(0);
            ASSERT_EQ(text()->text(), QStringLiteral("Mi pero come pam \nEs mio \n"));
        }
    }

    QComboBox* fonts() const { return find<QComboBox>("Combo1"); }

    // A family of the font chooser other than those given.
    QString otherFamily(const QStringList& not_) const
    {
        for (int i = 0; i < fonts()->count(); ++i) {
            const QString family = fonts()->itemText(i);
            if (!not_.contains(family))
                return family;
        }
        ADD_FAILURE() << "the font chooser offers too few families";
        return {};
    }

    // Opens the font chooser and clicks `family` in its list.
    void chooseFont(const QString& family)
    {
        QComboBox* combo = fonts();
        ::chooseFont(combo, family);
        EXPECT_FALSE(combo->view()->isVisible());
        EXPECT_EQ(combo->currentText(), family);
    }
};

TEST_F(SmallHandlersTest, FontChosenWithNoTextChangesNothing)
{
    start(false);
    RichTextBox& text = *harness->text();
    const QFont font = text.font();

    chooseFont(otherFamily({text.font().family()}));

    EXPECT_TRUE(text.text().isEmpty());
    EXPECT_EQ(text.selStart(), 0);
    EXPECT_EQ(text.selLength(), 0);
    EXPECT_EQ(text.font(), font);
    EXPECT_TRUE(cues().isEmpty());
}

TEST_F(SmallHandlersTest, FontChangeKeepsColoursAndSizes)
{
    start();
    harness->clickText(4);
    harness->type(QStringLiteral("\b\brro"));  // perro, blue
    harness->clickText(15);
    harness->type(QStringLiteral("x"));  // pamx, red
    harness->clickText(24);              // mio, green and large
    RichTextBox& text = *harness->text();
    const std::vector<Look> before = looksOf(text);
    ASSERT_EQ(lookAt(text, 3).colour, vbcolor::Blue);
    ASSERT_EQ(lookAt(text, 14).colour, vbcolor::Red);
    ASSERT_EQ(lookAt(text, 23).colour, vbcolor::Green);
    const QString first = otherFamily({before.front().family});
    const QString second = otherFamily({before.front().family, first});

    for (const QString& family : {first, second}) {
        chooseFont(family);

        const std::vector<Look> after = looksOf(text);
        ASSERT_EQ(after.size(), before.size());
        for (std::size_t i = 0; i < after.size(); ++i) {
            EXPECT_EQ(after[i].family, family) << "character " << i;
            EXPECT_EQ(after[i].character, before[i].character) << "character " << i;
            EXPECT_EQ(after[i].colour, before[i].colour) << "character " << i;
            EXPECT_EQ(after[i].size, before[i].size) << "character " << i;
        }
        // The whole text stays selected.
        EXPECT_EQ(text.selStart(), 0);
        EXPECT_EQ(text.selLength(), text.textLength());
    }
}

class SmallHandlersLongText : public MainWindowTest {};

TEST_F(SmallHandlersLongText, FontChangeKeepsTheViewWhereThePupilLeftIt)
{
    QStringList lines;
    for (int i = 0; i < 200; ++i)
        lines << QStringLiteral("Linea %1 del cuento").arg(i);
    tree.writeItem(QStringLiteral("Largo"), 1, lines, lines);
    startOn(0);
    QScrollBar* scroll = text()->verticalScrollBar();
    ASSERT_GT(scroll->maximum(), 0);
    scroll->setValue(scroll->maximum() / 2);
    const int before = scroll->value();
    find<QComboBox>("Combo1")->setFocus();

    form().Combo1_Click();

    EXPECT_EQ(scroll->value(), before);
    EXPECT_EQ(text()->selLength(), text()->textLength());
}

TEST_F(SmallHandlersTest, FontChangeLeavesTheOtherBoxesAlone)
{
    start();
    harness->clickText(4);
    RichTextBox& help = *helpText();
    RichTextBox& correction = *harness->correction();
    const std::vector<Look> helpLooks = looksOf(help);
    const std::vector<Look> correctionLooks = looksOf(correction);
    const QFont helpFont = help.font();
    const QFont correctionFont = correction.font();

    chooseFont(otherFamily({text()->font().family(), helpFont.family(), correctionFont.family()}));

    EXPECT_EQ(looksOf(help), helpLooks);
    EXPECT_EQ(looksOf(correction), correctionLooks);
    EXPECT_EQ(help.font(), helpFont);
    EXPECT_EQ(correction.font(), correctionFont);
}

TEST_F(SmallHandlersTest, FontChoiceIsNotGivenToTheNextText)
{
    tree.writeItem(QStringLiteral("Lecturas"), 2, {QStringLiteral("Es mio")}, {QStringLiteral("Es mío")});
    start();
    RichTextBox& text = *harness->text();
    const QString family = otherFamily({text.font().family()});
    chooseFont(family);
    ASSERT_EQ(lookAt(text, 0).family, family);

    click("Command3_0");

    ASSERT_EQ(text.text(), QStringLiteral("Es mio \n"));
    for (const Look& look : looksOf(text))
        EXPECT_EQ(look.family, text.font().family());
}

struct KeyCase {
    const char* name;
    Qt::Key key;
    const char* text;
    Qt::KeyboardModifiers modifiers;
};

class ExerciseTextKeys : public SmallHandlersTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(ExerciseTextKeys, NeverEditOrMoveThroughTheText)
{
    const KeyCase& c = GetParam();
    start();
    harness->clickText(4);
    RichTextBox& text = *harness->text();
    const QString shown = text.text();
    const std::vector<Look> looks = looksOf(text);
    const int selStart = text.selStart();
    const int selLength = text.selLength();
    cues().clear();
    QGuiApplication::clipboard()->setText(QStringLiteral("gato"));
    text.setFocus();

    QTest::sendKeyEvent(QTest::Press, &text, c.key, QString::fromUtf8(c.text), c.modifiers);
    QTest::sendKeyEvent(QTest::Release, &text, c.key, QString::fromUtf8(c.text), c.modifiers);

    EXPECT_EQ(text.text(), shown);
    EXPECT_EQ(looksOf(text), looks);
    EXPECT_EQ(text.selStart(), selStart);
    EXPECT_EQ(text.selLength(), selLength);
    EXPECT_EQ(form().pickedWord(), QStringLiteral("pero"));
    EXPECT_EQ(correction()->text(), QStringLiteral("pero"));
    EXPECT_EQ(form().faultyWords().words(),
              (QStringList{QStringLiteral("Mi"), QStringLiteral("pero"), QStringLiteral("come"), QStringLiteral("pam"),
                           QStringLiteral("Es"), QStringLiteral("mio")}));
    EXPECT_TRUE(cues().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ExerciseTextKeys,
    ::testing::Values(KeyCase{"letter", Qt::Key_X, "x", {}}, KeyCase{"capital", Qt::Key_X, "X", Qt::ShiftModifier},
                      KeyCase{"accented", Qt::Key_unknown, "é", {}},
                      KeyCase{"shift_right", Qt::Key_Right, "", Qt::ShiftModifier},
                      KeyCase{"shift_home", Qt::Key_Home, "", Qt::ShiftModifier},
                      KeyCase{"shift_space", Qt::Key_Space, " ", Qt::ShiftModifier},
                      KeyCase{"control_enter", Qt::Key_Return, "\r", Qt::ControlModifier},
                      KeyCase{"delete", Qt::Key_Delete, "", {}}, KeyCase{"backspace", Qt::Key_Backspace, "\b", {}},
                      KeyCase{"tab", Qt::Key_Tab, "\t", {}},
                      KeyCase{"cut", Qt::Key_X, "\x18", Qt::ControlModifier},
                      KeyCase{"paste", Qt::Key_V, "\x16", Qt::ControlModifier},
                      KeyCase{"select_all", Qt::Key_A, "\x01", Qt::ControlModifier}),
    [](const ::testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

struct MoveCase {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int caret;  // where the caret is after the key, from the start of "pero"
};

void PrintTo(const MoveCase& c, std::ostream* out)
{
    *out << c.name;
}

class ExerciseTextMoves : public SmallHandlersTest, public ::testing::WithParamInterface<MoveCase> {};

// The keys that move the caret move it and change nothing else: the caret is
// where Enter or Space will pick a word.
TEST_P(ExerciseTextMoves, MoveTheCaretAndEditNothing)
{
    const MoveCase& c = GetParam();
    start();
    harness->clickText(4);
    RichTextBox& text = *harness->text();
    const QString shown = text.text();
    const std::vector<Look> looks = looksOf(text);
    cues().clear();
    // Escape in the correction box brings the caret to the picked word.
    ASSERT_TRUE(correction()->hasFocus());
    harness->keyboard(Qt::Key_Escape);
    ASSERT_TRUE(text.hasFocus());
    ASSERT_EQ(text.selStart(), 3);
    ASSERT_EQ(text.selLength(), 0);

    QTest::sendKeyEvent(QTest::Press, &text, c.key, QString(), c.modifiers);
    QTest::sendKeyEvent(QTest::Release, &text, c.key, QString(), c.modifiers);

    EXPECT_EQ(text.selStart(), c.caret);
    EXPECT_EQ(text.selLength(), 0);
    EXPECT_EQ(text.text(), shown);
    EXPECT_EQ(looksOf(text), looks);
    EXPECT_EQ(form().pickedWord(), QStringLiteral("pero"));
    EXPECT_EQ(correction()->text(), QStringLiteral("pero"));
    EXPECT_EQ(form().faultyWords().words(),
              (QStringList{QStringLiteral("Mi"), QStringLiteral("pero"), QStringLiteral("come"), QStringLiteral("pam"),
                           QStringLiteral("Es"), QStringLiteral("mio")}));
    EXPECT_TRUE(cues().isEmpty());
    EXPECT_TRUE(text.hasFocus());
}

// "Mi pero come pam \nEs mio \n", the caret at 3, before "pero".
INSTANTIATE_TEST_SUITE_P(
    Keys, ExerciseTextMoves,
    ::testing::Values(MoveCase{"left", Qt::Key_Left, {}, 2}, MoveCase{"right", Qt::Key_Right, {}, 4},
                      MoveCase{"down", Qt::Key_Down, {}, 21}, MoveCase{"home", Qt::Key_Home, {}, 0},
                      MoveCase{"end", Qt::Key_End, {}, 17}, MoveCase{"keypad_left", Qt::Key_Left, Qt::KeypadModifier, 2},
                      MoveCase{"word_right", Qt::Key_Right, Qt::ControlModifier, 8},
                      MoveCase{"word_left", Qt::Key_Left, Qt::ControlModifier, 0},
                      MoveCase{"text_end", Qt::Key_End, Qt::ControlModifier, 26},
                      MoveCase{"page_down", Qt::Key_PageDown, {}, 26}),
    [](const ::testing::TestParamInfo<MoveCase>& info) { return std::string(info.param.name); });

class CorrectionBoxEnter : public SmallHandlersTest, public ::testing::WithParamInterface<Qt::Key> {};

TEST_P(CorrectionBoxEnter, InsertsNothingButItsReleaseIsJudged)
{
    start();
    harness->clickText(4);
    harness->type(QStringLiteral("\b\brro"));
    ASSERT_EQ(cues().last(), QStringLiteral("acierto"));
    cues().clear();

    RichTextBox& correction = *harness->correction();

    QTest::sendKeyEvent(QTest::Press, &correction, GetParam(), QStringLiteral("\r"), {});
    EXPECT_EQ(correction.text(), QStringLiteral("perro"));
    EXPECT_EQ(correction.document()->blockCount(), 1);
    QTest::sendKeyEvent(QTest::Release, &correction, GetParam(), QStringLiteral("\r"), {});

    EXPECT_EQ(correction.text(), QStringLiteral("perro"));
    EXPECT_EQ(text()->text(), QStringLiteral("Mi perro come pam \nEs mio \n"));
    EXPECT_EQ(lookAt(*text(), 3).colour, vbcolor::Blue);
    EXPECT_EQ(cues(), QStringList{QStringLiteral("acierto")});
    EXPECT_EQ(corrected()->count(), 1);
}

INSTANTIATE_TEST_SUITE_P(Keys, CorrectionBoxEnter, ::testing::Values(Qt::Key_Return, Qt::Key_Enter),
                         [](const ::testing::TestParamInfo<Qt::Key>& info) {
                             return std::string(info.param == Qt::Key_Return ? "return" : "keypad_enter");
                         });

TEST_F(SmallHandlersTest, EnterInTheMiddleOfAWordSplitsNothing)
{
    start();
    harness->clickText(4);
    correction()->moveCursor(QTextCursor::Start);
    correction()->moveCursor(QTextCursor::NextCharacter);

    RichTextBox& correction = *harness->correction();

    QTest::sendKeyEvent(QTest::Press, &correction, Qt::Key_Return, QStringLiteral("\r"), {});
    EXPECT_EQ(correction.document()->blockCount(), 1);
    EXPECT_EQ(correction.text(), QStringLiteral("pero"));
    QTest::sendKeyEvent(QTest::Release, &correction, Qt::Key_Return, QStringLiteral("\r"), {});

    EXPECT_EQ(correction.text(), QStringLiteral("pero"));
    EXPECT_EQ(text()->text(), QStringLiteral("Mi pero come pam \nEs mio \n"));
    // The release was judged: the word typed back as it was turns black.
    EXPECT_EQ(lookAt(*text(), 3).colour, vbcolor::Black);
}

TEST_F(SmallHandlersTest, ExitButtonEndsTheProgramAtOnce)
{
    start();
    tree.writePicture(QStringLiteral("Graficos/perro.gif"), 30, 20);
    auto* list4 = corrected();
    list4->addItem(QStringLiteral("perro"));
    QTest::mouseClick(list4->viewport(), Qt::LeftButton, {}, list4->visualItemRect(list4->item(0)).center());
    ASSERT_NE(form().form3(), nullptr);
    ASSERT_TRUE(form().form3()->isVisible());
    ASSERT_TRUE(timer()->isActive());
    cues().clear();

    click("Command4");

    EXPECT_EQ(harness->quits, 1);
    EXPECT_TRUE(cues().isEmpty());
    EXPECT_TRUE(harness->messages.isEmpty());
}

}  // namespace
