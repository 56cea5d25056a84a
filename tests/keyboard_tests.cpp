// SPDX-License-Identifier: GPL-3.0-or-later
// Everything a pupil does, done from the keyboard: the caret moved with the
// arrows and a word picked with Enter or Space exactly as a click picks it,
// Escape back from the correction box, the picture of a corrected word, the
// results log, and a whole text worked without the mouse.

#include "tests/support.h"

#include "presentation/clickablelabel.h"
#include "presentation/richtextbox.h"
#include "presentation/twips.h"
#include "windows/form3.h"
#include "windows/form4.h"

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>

#include <gtest/gtest.h>

#include <ostream>
#include <utility>

namespace {

// Moves the caret of the exercise text to `offset` with the arrows: down to
// its line, then along it.
void moveCaretTo(MainWindowHarness& h, int offset)
{
    RichTextBox& text = *h.text();
    ASSERT_TRUE(text.hasFocus());
    const int line = text.document()->findBlock(offset).blockNumber();
    for (int i = 0; i < 50 && text.document()->findBlock(text.selStart()).blockNumber() < line; ++i)
        h.keyboard(Qt::Key_Down);
    for (int i = 0; i < 500 && text.selStart() < offset; ++i)
        h.keyboard(Qt::Key_Right);
    for (int i = 0; i < 500 && text.selStart() > offset; ++i)
        h.keyboard(Qt::Key_Left);
    ASSERT_EQ(text.selStart(), offset);
}

// Presses Tab, or Shift and Tab, until `target` has the focus.
void tabTo(MainWindowHarness& h, QWidget* target, bool backwards = false)
{
    for (int i = 0; i < 30 && !target->hasFocus(); ++i)
        h.keyboard(backwards ? Qt::Key_Backtab : Qt::Key_Tab, QString(),
                   backwards ? Qt::ShiftModifier : Qt::NoModifier);
    ASSERT_TRUE(target->hasFocus()) << target->objectName().toStdString();
}

// "Mi pero come pam \nEs mio \n": p 3, c 8, p 13, E 18, m 21.
class KeyboardTest : public MainWindowTest {
protected:
    KeyboardTest()
    {
        tree.writeItem(QStringLiteral("Lecturas"), 1, {QStringLiteral("Mi pero come pam"), QStringLiteral("Es mio")},
                       {QStringLiteral("Mi perro come pan"), QStringLiteral("Es mío")});
    }

    // The window, with the text loaded, in front.
    void startInFront()
    {
        startOn(0);
        activate();
    }
    // Another window on the same tree, likewise.
    std::unique_ptr<MainWindowHarness> another()
    {
        auto other = std::make_unique<MainWindowHarness>(tree.path());
        other->chooseExercise(0);
        other->form().activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&other->form()));
        return other;
    }
};

struct PickKey {
    const char* name;
    Qt::Key key;
    const char* text;
    Qt::KeyboardModifiers modifiers;
};

void PrintTo(const PickKey& key, std::ostream* out)
{
    *out << key.name;
}

class PickFromTheKeyboard : public KeyboardTest, public ::testing::WithParamInterface<PickKey> {};

TEST_P(PickFromTheKeyboard, PicksTheWordAtTheCaretExactlyAsAClick)
{
    const PickKey& key = GetParam();
    auto clicked = another();
    startInFront();
    // A word, then another, so that the first shrinks back as picked before.
    for (int offset : {5, 21, 13}) {
        clicked->clickText(offset);
        if (!text()->hasFocus())
            harness->keyboard(Qt::Key_Escape);
        moveCaretTo(*harness, offset);
        harness->keyboard(key.key, QString::fromUtf8(key.text), key.modifiers);

        EXPECT_EQ(looksOf(*text()), looksOf(*clicked->text())) << offset;
        EXPECT_EQ(form().pickedWord(), clicked->form().pickedWord()) << offset;
        EXPECT_EQ(form().pickedWordStart(), clicked->form().pickedWordStart()) << offset;
        EXPECT_EQ(form().wordCounter(), clicked->form().wordCounter()) << offset;
        EXPECT_EQ(correction()->text(), clicked->correction()->text()) << offset;
        EXPECT_EQ(text()->selStart(), clicked->text()->selStart()) << offset;
        EXPECT_EQ(text()->selLength(), clicked->text()->selLength()) << offset;
        EXPECT_TRUE(correction()->hasFocus()) << offset;
        EXPECT_EQ(cues(), clicked->cues.cues) << offset;
    }
    // The key's release, in the correction box by then, judged nothing: the
    // word is still green, waiting for the pupil's typing.
    EXPECT_EQ(lookAt(*text(), 13).colour, vbcolor::Green);
    EXPECT_EQ(form().pickedWord(), QStringLiteral("pam"));
}

INSTANTIATE_TEST_SUITE_P(Keys, PickFromTheKeyboard,
                         ::testing::Values(PickKey{"return", Qt::Key_Return, "\r", {}},
                                           PickKey{"keypad_enter", Qt::Key_Enter, "\r", Qt::KeypadModifier},
                                           PickKey{"space", Qt::Key_Space, " ", {}}),
                         [](const ::testing::TestParamInfo<PickKey>& info) { return std::string(info.param.name); });

TEST_F(KeyboardTest, EnterOnTheSpaceAfterAWordPicksWhatAClickThereDoes)
{
    auto clicked = another();
    startInFront();
    clicked->clickText(17);  // the line's last space
    moveCaretTo(*harness, 17);
    harness->keyboard(Qt::Key_Return, QStringLiteral("\r"));

    EXPECT_EQ(form().pickedWord(), clicked->form().pickedWord());
    EXPECT_EQ(looksOf(*text()), looksOf(*clicked->text()));
}

TEST_F(KeyboardTest, AKeyPressedBeforeTheFocusLeftPicksNothingWhenReleasedLater)
{
    startInFront();
    moveCaretTo(*harness, 5);
    QTest::sendKeyEvent(QTest::Press, text(), Qt::Key_Return, QStringLiteral("\r"), {});
    corrected()->setFocus();
    text()->setFocus();
    QTest::sendKeyEvent(QTest::Release, text(), Qt::Key_Return, QStringLiteral("\r"), {});

    EXPECT_TRUE(form().pickedWord().isEmpty());
    EXPECT_TRUE(text()->hasFocus());
}

TEST_F(KeyboardTest, EnterWithNoTextPicksNothing)
{
    start();
    text()->setFocus();
    harness->keyboard(Qt::Key_Return, QStringLiteral("\r"));
    harness->keyboard(Qt::Key_Space, QStringLiteral(" "));
    EXPECT_TRUE(form().pickedWord().isEmpty());
    EXPECT_TRUE(correction()->text().isEmpty());
    EXPECT_TRUE(cues().isEmpty());
}

TEST_F(KeyboardTest, EscapeAfterTypingKeepsTheCorrectionAndGoesBackToTheWord)
{
    startInFront();
    harness->clickText(15);  // "pam"
    harness->type(QStringLiteral("\bn"));
    ASSERT_EQ(lookAt(*text(), 13).colour, vbcolor::Blue);

    harness->keyboard(Qt::Key_Escape);

    EXPECT_TRUE(text()->hasFocus());
    EXPECT_EQ(text()->selStart(), 13);
    EXPECT_EQ(text()->selLength(), 0);
    EXPECT_EQ(text()->text(), QStringLiteral("Mi pero come pan \nEs mio \n"));
    EXPECT_EQ(lookAt(*text(), 13).colour, vbcolor::Blue);
    EXPECT_EQ(correction()->text(), QStringLiteral("pan"));
}

TEST_F(KeyboardTest, EscapeBeforeAnyPickOnlyGoesToTheText)
{
    startInFront();
    correction()->setFocus();
    const std::vector<Look> looks = looksOf(*text());

    harness->keyboard(Qt::Key_Escape);

    EXPECT_TRUE(text()->hasFocus());
    EXPECT_EQ(looksOf(*text()), looks);
    EXPECT_TRUE(form().pickedWord().isEmpty());
}

class PictureKeys : public KeyboardTest, public ::testing::WithParamInterface<PickKey> {};

TEST_P(PictureKeys, OnACorrectedWordShowTheRightPictureAndEscapeOrEnterGoBack)
{
    tree.writePicture(QStringLiteral("Graficos/perro.gif"), 30, 20);
    tree.writePicture(QStringLiteral("Graficos/pan.gif"), 40, 25);
    startInFront();
    harness->clickText(5);
    harness->type(QStringLiteral("\b\brro"));
    harness->clickText(15);
    harness->type(QStringLiteral("\bn"));
    auto* list4 = corrected();
    ASSERT_EQ(list4->count(), 2);
    list4->setFocus();
    harness->keyboard(Qt::Key_Home);
    harness->keyboard(Qt::Key_Down);
    ASSERT_EQ(list4->currentItem()->text(), QStringLiteral("pan"));

    harness->keyboard(GetParam().key, QString::fromUtf8(GetParam().text), GetParam().modifiers);

    Form3* viewer = form().form3();
    ASSERT_NE(viewer, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowActive(viewer));
    EXPECT_EQ(viewer->Picture1()->pixmap().size(), QSize(40, 25));

    harness->keyboard(Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&form()));
    EXPECT_TRUE(list4->hasFocus());

    // Again, and back with Enter this time.
    harness->keyboard(GetParam().key, QString::fromUtf8(GetParam().text), GetParam().modifiers);
    ASSERT_TRUE(QTest::qWaitForWindowActive(viewer));
    harness->keyboard(Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_TRUE(QTest::qWaitForWindowActive(&form()));
}

INSTANTIATE_TEST_SUITE_P(Keys, PictureKeys,
                         ::testing::Values(PickKey{"return", Qt::Key_Return, "\r", {}},
                                           PickKey{"keypad_enter", Qt::Key_Enter, "\r", Qt::KeypadModifier},
                                           PickKey{"space", Qt::Key_Space, " ", {}}),
                         [](const ::testing::TestParamInfo<PickKey>& info) { return std::string(info.param.name); });

TEST_F(KeyboardTest, OtherKeysInThePictureViewerDoNothing)
{
    tree.writePicture(QStringLiteral("Graficos/perro.gif"), 30, 20);
    startInFront();
    harness->clickText(5);
    harness->type(QStringLiteral("\b\brro"));
    auto* list4 = corrected();
    list4->setFocus();
    harness->keyboard(Qt::Key_Home);
    harness->keyboard(Qt::Key_Space, QStringLiteral(" "));
    Form3* viewer = form().form3();
    ASSERT_NE(viewer, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowActive(viewer));

    harness->keyboard(Qt::Key_A, QStringLiteral("a"));
    harness->keyboard(Qt::Key_Space, QStringLiteral(" "));
    QCoreApplication::processEvents();

    EXPECT_EQ(QApplication::activeWindow(), viewer);
}

TEST_F(KeyboardTest, EscapeOrEnterInTheResultsWindowGoesBack)
{
    startInFront();
    for (const auto& [key, text] : {std::pair{Qt::Key_Escape, QString()}, std::pair{Qt::Key_Return, QStringLiteral("\r")}}) {
        find<QPushButton>("Command6")->setFocus();
        harness->keyboard(Qt::Key_Space, QStringLiteral(" "));
        ASSERT_TRUE(QTest::qWaitForWindowActive(form().form4()));

        harness->keyboard(key, text);

        EXPECT_TRUE(QTest::qWaitForWindowActive(&form()));
        EXPECT_TRUE(find<QPushButton>("Command6")->hasFocus());
    }
}

// A key held in the correction box: pressed once, then pairs of repeated
// release and press (the first pair while the box holds the right word), then
// released. Only the real release is judged.
struct HeldKey {
    const char* name;
    bool marked;  // the repeats are marked as such by the window system
    Qt::Key key;
    const char* shown;               // the picked word, one letter too many
    QTextCursor::MoveOperation caret;  // where the caret is when the key goes down
    const char* left;                // the box when the key comes up
    const char* rest;                // typed then, to make the word right
};

void PrintTo(const HeldKey& key, std::ostream* out)
{
    *out << key.name;
}

class HeldKeyTest : public MainWindowTest, public ::testing::WithParamInterface<HeldKey> {};

TEST_P(HeldKeyTest, IsJudgedOnlyWhenItComesUp)
{
    const HeldKey& held = GetParam();
    tree.writeItem(QStringLiteral("Lecturas"), 1, {QStringLiteral("Mi %1 come").arg(QString::fromUtf8(held.shown))},
                   {QStringLiteral("Mi perro come")});
    startOn(0);
    harness->clickText(4);
    RichTextBox& box = *correction();
    ASSERT_EQ(box.text(), QString::fromUtf8(held.shown));
    box.moveCursor(held.caret);
    // The time stamps of the events: the first repeat half a second after the
    // press, the next ones every 40 ms.
    quint64 time = 1000;
    const auto send = [&box, &held, &time](QEvent::Type type, bool repeated) {
        QKeyEvent event(type, held.key, Qt::NoModifier, QString(), repeated && held.marked);
        event.setTimestamp(time);
        QApplication::sendEvent(&box, &event);
    };
    auto* list4 = corrected();
    const RichTextBox& log = *this->log();

    send(QEvent::KeyPress, false);
    ASSERT_EQ(box.text(), QStringLiteral("perro"));
    time += 500;
    for (int i = 0; i < 3; ++i, time += 40) {
        send(QEvent::KeyRelease, true);
        send(QEvent::KeyPress, true);
    }
    EXPECT_EQ(lookAt(*text(), 3).colour, vbcolor::Green) << "judged before the key came up";
    send(QEvent::KeyRelease, false);
    QTRY_COMPARE(lookAt(*text(), 3).colour, vbcolor::Red);

    EXPECT_EQ(box.text(), QString::fromUtf8(held.left));
    EXPECT_EQ(text()->text(), QStringLiteral("Mi %1 come \n").arg(QString::fromUtf8(held.left)));
    EXPECT_EQ(lookAt(*text(), 3).colour, vbcolor::Red);
    EXPECT_FALSE(cues().contains(QStringLiteral("acierto")));
    EXPECT_EQ(list4->count(), 0);
    EXPECT_TRUE(log.text().isEmpty());
    EXPECT_EQ(state().TextCounter, 1);

    // The text finished for real is logged.
    harness->type(QString::fromUtf8(held.rest));
    EXPECT_EQ(cues().count(QStringLiteral("acierto")), 1);
    EXPECT_EQ(list4->count(), 1);
    EXPECT_TRUE(log.text().contains(QStringLiteral("Terminado"))) << log.text().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Keys, HeldKeyTest,
                         ::testing::Values(HeldKey{"backspace", true, Qt::Key_Backspace, "perros", QTextCursor::End, "pe", "rro"},
                                           HeldKey{"delete", true, Qt::Key_Delete, "xperro", QTextCursor::Start, "ro", "per"},
                                           HeldKey{"backspace_unmarked", false, Qt::Key_Backspace, "perros", QTextCursor::End, "pe", "rro"},
                                           HeldKey{"delete_unmarked", false, Qt::Key_Delete, "xperro", QTextCursor::Start, "ro", "per"}),
                         [](const ::testing::TestParamInfo<HeldKey>& info) { return std::string(info.param.name); });

// A real text of several lines, with quotes, question and exclamation marks,
// accents and capitals, worked to the end with the keyboard alone.
class KeyboardWalk : public MainWindowTest {};

TEST_F(KeyboardWalk, AWholeTextWithoutTheMouse)
{
    tree.writeItem(QStringLiteral("01 Cuentos"), 1, {QStringLiteral("Había una vez")}, {QStringLiteral("Había una vez")});
    tree.writeItem(QStringLiteral("02 Julia"), 1,
                   {QStringLiteral("«¿Quién ha visto mi baca?», preguntó Julia."),
                    QStringLiteral("El burro y las cavras no la vieron; nadie sabe"),
                    QStringLiteral("donde está. ¡Qué pena tan grande, julia!")},
                   {QStringLiteral("«¿Quién ha visto mi vaca?», preguntó Julia."),
                    QStringLiteral("El burro y las cabras no la vieron; nadie sabe"),
                    QStringLiteral("dónde está. ¡Qué pena tan grande, Julia!")});
    tree.writePicture(QStringLiteral("Graficos/cabras.gif"), 50, 30);
    start();
    activate();
    MainWindowHarness& h = *harness;
    auto* list1 = exercises();
    auto* list4 = corrected();
    RichTextBox& text = *h.text();
    RichTextBox& correction = *h.correction();

    // The second exercise, from the exercise list.
    tabTo(h, list1);
    if (::testing::Test::HasFatalFailure())
        return;
    h.keyboard(Qt::Key_End);
    ASSERT_EQ(list1->currentRow(), 1);
    const QString shown = QStringLiteral("«¿Quién ha visto mi baca?», preguntó Julia. \n"
                                         "El burro y las cavras no la vieron; nadie sabe \n"
                                         "donde está. ¡Qué pena tan grande, julia! \n");
    ASSERT_EQ(text.text(), shown);
    ASSERT_TRUE(text.hasFocus());
    ASSERT_EQ(text.selStart(), 0);

    struct Key {
        Qt::Key key;
        QString text;
        Qt::KeyboardModifiers modifiers;
    };
    struct Fix {
        QString faulty;
        Key pick;                 // the key that picks it
        QList<Key> keys;          // what the pupil types in the correction box
        QString right;
    };
    const Key home{Qt::Key_Home, {}, {}};
    const Key del{Qt::Key_Delete, {}, {}};
    const QList<Fix> fixes{
        {QStringLiteral("baca?»,"), {Qt::Key_Return, QStringLiteral("\r"), {}},
         {home, del, {Qt::Key_V, QStringLiteral("v"), {}}}, QStringLiteral("vaca?»,")},
        {QStringLiteral("cavras"), {Qt::Key_Space, QStringLiteral(" "), {}},
         {{Qt::Key_Left, {}, {}}, {Qt::Key_Left, {}, {}}, {Qt::Key_Left, {}, {}},
          {Qt::Key_Backspace, QStringLiteral("\b"), {}}, {Qt::Key_B, QStringLiteral("b"), {}}},
         QStringLiteral("cabras")},
        {QStringLiteral("donde"), {Qt::Key_Enter, QStringLiteral("\r"), Qt::KeypadModifier},
         {home, {Qt::Key_Right, {}, {}}, del, {Qt::Key_unknown, QStringLiteral("ó"), {}}}, QStringLiteral("dónde")},
        {QStringLiteral("julia!"), {Qt::Key_Return, QStringLiteral("\r"), {}},
         {home, del, {Qt::Key_J, QStringLiteral("J"), Qt::ShiftModifier}}, QStringLiteral("Julia!")},
    };

    int fixed = 0;
    for (const Fix& fix : fixes) {
        SCOPED_TRACE(fix.faulty.toStdString());
        const int at = int(text.text().indexOf(fix.faulty));
        ASSERT_GE(at, 0);
        // From the start of the text, or from the word picked before.
        moveCaretTo(h, at);
        if (::testing::Test::HasFatalFailure())
            return;

        h.keyboard(fix.pick.key, fix.pick.text, fix.pick.modifiers);
        ASSERT_EQ(h.form().pickedWord(), fix.faulty);
        ASSERT_TRUE(correction.hasFocus());
        EXPECT_EQ(lookAt(text, at).colour, vbcolor::Green);

        cues().clear();
        for (const Key& key : fix.keys)
            h.keyboard(key.key, key.text, key.modifiers);
        EXPECT_EQ(correction.text(), fix.right);
        EXPECT_EQ(text.text().mid(at, fix.right.size()), fix.right);
        EXPECT_EQ(lookAt(text, at).colour, vbcolor::Blue);
        EXPECT_TRUE(cues().contains(QStringLiteral("acierto")));
        EXPECT_EQ(list4->count(), ++fixed);

        h.keyboard(Qt::Key_Escape);
        ASSERT_TRUE(text.hasFocus());
        EXPECT_EQ(text.selStart(), at);
    }

    // Finished in time: logged, with its cue.
    EXPECT_TRUE(cues().contains(QStringLiteral("muybien")));
    EXPECT_EQ(text.text(), QStringLiteral("«¿Quién ha visto mi vaca?», preguntó Julia. \n"
                                          "El burro y las cabras no la vieron; nadie sabe \n"
                                          "dónde está. ¡Qué pena tan grande, Julia! \n"));
    RichTextBox& log = *this->log();
    EXPECT_TRUE(log.text().startsWith(QStringLiteral("TEXTO 1\n\n«¿Quién ha visto mi vaca?»")));

    // The results, and back.
    auto* results = h.find<QPushButton>("Command6");
    tabTo(h, results, true);
    if (::testing::Test::HasFatalFailure())
        return;
    h.keyboard(Qt::Key_Space, QStringLiteral(" "));
    ASSERT_TRUE(QTest::qWaitForWindowActive(h.form().form4()));
    h.keyboard(Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&h.form()));

    // The picture of "cabras", and back.
    tabTo(h, list4, true);
    if (::testing::Test::HasFatalFailure())
        return;
    h.keyboard(Qt::Key_Home);
    h.keyboard(Qt::Key_Down);
    ASSERT_EQ(list4->currentItem()->text(), QStringLiteral("cabras"));
    h.keyboard(Qt::Key_Return, QStringLiteral("\r"));
    ASSERT_NE(h.form().form3(), nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowActive(h.form().form3()));
    EXPECT_EQ(h.form().form3()->Picture1()->pixmap().size(), QSize(50, 30));
    h.keyboard(Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&h.form()));
    EXPECT_TRUE(list4->hasFocus());
    EXPECT_EQ(h.quits, 0);
    EXPECT_TRUE(h.messages.isEmpty());
}

}  // namespace
