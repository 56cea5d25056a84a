// SPDX-License-Identifier: GPL-3.0-or-later
// The rich-text box on the text word picking is hardest on: offsets, the
// selection, its colour and font, replacing it, clicks on a locked box, keys
// cancelled by the key filter and pasted text passing the input filter.

#include "presentation/richtextbox.h"
#include "presentation/twips.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

// Two lines of the shown text: "Mi perro come " and "Es mío ", each with its
// line feed. 23 characters; "perro" is at offset 3, the line feeds at 14 and 22.
const QString Sample = u"Mi perro come \nEs m\u00EDo \n"_s;

// The format of the character at `offset`, read from the document itself.
QTextCharFormat formatOf(const RichTextBox& box, int offset)
{
    QTextCursor c(box.document());
    c.setPosition(offset);
    c.setPosition(offset + 1, QTextCursor::KeepAnchor);
    return c.charFormat();
}

std::optional<QColor> colourOf(const RichTextBox& box, int offset)
{
    const QTextCharFormat f = formatOf(box, offset);
    if (!f.hasProperty(QTextFormat::ForegroundBrush))
        return std::nullopt;
    return f.foreground().color();
}

class RichTextBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        box.resize(500, 300);
        box.setText(Sample);
    }

    void select(int start, int length)
    {
        box.setSelStart(start);
        box.setSelLength(length);
    }

    void showBox()
    {
        box.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    }

    RichTextBox box;
};

TEST_F(RichTextBoxTest, TextRoundTripsWithOneCharacterPerLineFeed)
{
    EXPECT_EQ(box.text(), Sample);
    EXPECT_EQ(box.textLength(), 23);
    EXPECT_EQ(box.text().size(), 23);
}

TEST_F(RichTextBoxTest, EveryOffsetSelectsTheCharacterOfTheTextAtThatOffset)
{
    for (int i = 0; i < Sample.size(); ++i) {
        SCOPED_TRACE(i);
        select(i, 1);
        EXPECT_EQ(box.selStart(), i);
        EXPECT_EQ(box.selLength(), 1);
        EXPECT_EQ(box.selText(), Sample.mid(i, 1));
    }
}

TEST_F(RichTextBoxTest, SelectedTextOfAWord)
{
    select(3, 5);
    EXPECT_EQ(box.selText(), u"perro"_s);
    select(15, 6);
    EXPECT_EQ(box.selText(), u"Es m\u00EDo"_s);
}

TEST_F(RichTextBoxTest, SelectedTextAcrossALineFeedGivesALineFeed)
{
    select(12, 4);
    EXPECT_EQ(box.selText(), u"e \nE"_s);
    EXPECT_FALSE(box.selText().contains(QChar::ParagraphSeparator));
    select(0, 23);
    EXPECT_EQ(box.selText(), Sample);
}

TEST_F(RichTextBoxTest, SelectionIsClampedToTheText)
{
    select(20, 10);
    EXPECT_EQ(box.selStart(), 20);
    EXPECT_EQ(box.selLength(), 3);
    EXPECT_EQ(box.selText(), u"o \n"_s);

    select(100, 1);
    EXPECT_EQ(box.selStart(), 23);
    EXPECT_EQ(box.selLength(), 0);

    select(3, -4);
    EXPECT_EQ(box.selStart(), 3);
    EXPECT_EQ(box.selLength(), 0);
}

struct ColourRow {
    const char* name;
    std::uint32_t value;  // 0x00BBGGRR
    QColor shown;
};

class SelectionColour : public RichTextBoxTest, public ::testing::WithParamInterface<ColourRow> {};

TEST_P(SelectionColour, IsSetAndReadAsBgrValues)
{
    const ColourRow& row = GetParam();
    select(3, 5);
    box.setSelColor(row.value);

    EXPECT_EQ(box.selColor(), row.value);
    for (int i = 3; i < 8; ++i)
        EXPECT_EQ(colourOf(box, i), row.shown) << "offset " << i;
    // The neighbours and the text itself are untouched.
    EXPECT_EQ(colourOf(box, 2), std::nullopt);
    EXPECT_EQ(colourOf(box, 8), std::nullopt);
    EXPECT_EQ(box.text(), Sample);
}

INSTANTIATE_TEST_SUITE_P(RichTextBox, SelectionColour,
                         ::testing::Values(ColourRow{"black", vbcolor::Black, QColor(0, 0, 0)},
                                           ColourRow{"green", vbcolor::Green, QColor(0, 255, 0)},
                                           ColourRow{"blue", vbcolor::Blue, QColor(0, 0, 255)},
                                           ColourRow{"red", vbcolor::Red, QColor(255, 0, 0)},
                                           ColourRow{"yellow", vbcolor::Yellow, QColor(255, 255, 0)},
                                           ColourRow{"white", vbcolor::White, QColor(255, 255, 255)},
                                           ColourRow{"mixed", 0x123456, QColor(0x56, 0x34, 0x12)}),
                         [](const ::testing::TestParamInfo<ColourRow>& info) { return std::string(info.param.name); });

TEST_F(RichTextBoxTest, SelectionColourIsThatOfItsFirstCharacter)
{
    select(0, 2);
    box.setSelColor(vbcolor::Red);
    select(3, 5);
    box.setSelColor(vbcolor::Blue);

    select(3, 10);
    EXPECT_EQ(box.selColor(), vbcolor::Blue);
    select(1, 4);
    EXPECT_EQ(box.selColor(), vbcolor::Red);
}

TEST_F(RichTextBoxTest, FontSizeChangeKeepsTheColour)
{
    select(3, 5);
    box.setSelColor(vbcolor::Green);
    box.setSelFontSize(28);

    EXPECT_EQ(box.selColor(), vbcolor::Green);
    EXPECT_EQ(box.selFontSize(), 28);
    for (int i = 3; i < 8; ++i) {
        EXPECT_EQ(colourOf(box, i), QColor(0, 255, 0)) << "offset " << i;
        EXPECT_EQ(formatOf(box, i).fontPointSize(), 28) << "offset " << i;
    }
    EXPECT_FALSE(formatOf(box, 2).hasProperty(QTextFormat::FontPointSize));
    EXPECT_EQ(box.text(), Sample);
}

TEST_F(RichTextBoxTest, RangesColouredAnewKeepTheRestOfTheirFormat)
{
    select(0, 23);
    box.setSelColor(vbcolor::White);
    box.setSelFontSize(18);

    {
        const RichTextBox::LayoutAnew later(box);
        box.setRangesColor({{3, 8}, {15, 17}}, vbcolor::Yellow);
    }

    for (int i = 0; i < 23; ++i) {
        if (Sample.at(i) == u'\n')
            continue;
        const bool marked = (i >= 3 && i < 8) || (i >= 15 && i < 17);
        EXPECT_EQ(colourOf(box, i), marked ? QColor(255, 255, 0) : QColor(255, 255, 255)) << "offset " << i;
        EXPECT_EQ(formatOf(box, i).fontPointSize(), 18) << "offset " << i;
    }
    box.setRangesColor({{15, 17}}, vbcolor::White);
    EXPECT_EQ(colourOf(box, 15), QColor(255, 255, 255));
    EXPECT_EQ(colourOf(box, 3), QColor(255, 255, 0));
    EXPECT_EQ(box.text(), Sample);
}

// Long and short additions alike end with the text added, the caret at the
// start and the box laying its text out to the end.
TEST_F(RichTextBoxTest, AddedTextIsKeptAndLaidOut)
{
    showBox();
    QString expected = Sample;
    for (const QString& more : {u"TEXTO 1\n\n"_s, QString(u"Mi perro come \n"_s).repeated(400)}) {
        box.appendText(more);
        expected += more;
        EXPECT_EQ(box.text(), expected);
        EXPECT_EQ(box.selStart(), 0);
        EXPECT_EQ(box.selLength(), 0);
        EXPECT_FALSE(box.document()->pageSize().isNull());
        const QTextBlock last = box.document()->lastBlock();
        EXPECT_TRUE(box.document()->documentLayout()->blockBoundingRect(last).isValid());
        EXPECT_GT(last.layout()->lineCount(), 0);
    }
}

TEST_F(RichTextBoxTest, FontNameChangeKeepsColoursAndSizes)
{
    select(3, 5);
    box.setSelColor(vbcolor::Green);
    box.setSelFontSize(28);
    select(9, 4);
    box.setSelColor(vbcolor::Blue);
    box.setSelFontSize(14);

    select(0, 23);
    box.setSelFontName(u"Liberation Serif"_s);

    for (int i = 0; i < 23; ++i)
        EXPECT_EQ(formatOf(box, i).fontFamilies().toStringList(), QStringList{u"Liberation Serif"_s}) << "offset " << i;
    for (int i = 3; i < 8; ++i) {
        EXPECT_EQ(colourOf(box, i), QColor(0, 255, 0)) << "offset " << i;
        EXPECT_EQ(formatOf(box, i).fontPointSize(), 28) << "offset " << i;
    }
    for (int i = 9; i < 13; ++i) {
        EXPECT_EQ(colourOf(box, i), QColor(0, 0, 255)) << "offset " << i;
        EXPECT_EQ(formatOf(box, i).fontPointSize(), 14) << "offset " << i;
    }
    EXPECT_EQ(colourOf(box, 0), std::nullopt);
    EXPECT_EQ(box.text(), Sample);
}

struct ReplaceRow {
    const char* name;
    int anchor;    // where the selection starts being dragged from
    int position;  // where it ends
    const char* replacement;
    QString text;      // the whole text afterwards
    QColor colour;     // of every replacing character
    double pointSize;  // of every replacing character
};

class ReplaceSelection : public RichTextBoxTest, public ::testing::WithParamInterface<ReplaceRow> {};

TEST_P(ReplaceSelection, TakesTheFormatOfTheFirstReplacedCharacter)
{
    const ReplaceRow& row = GetParam();
    // "Mi" red at 12 points, "perro" blue at 28.
    select(0, 2);
    box.setSelColor(vbcolor::Red);
    box.setSelFontSize(12);
    select(3, 5);
    box.setSelColor(vbcolor::Blue);
    box.setSelFontSize(28);

    QTextCursor c(box.document());
    c.setPosition(row.anchor);
    c.setPosition(row.position, QTextCursor::KeepAnchor);
    box.setTextCursor(c);
    const QString replacement = QString::fromUtf8(row.replacement);
    box.setSelText(replacement);

    EXPECT_EQ(box.text(), row.text);
    const int start = std::min(row.anchor, row.position);
    for (int i = start; i < start + replacement.size(); ++i) {
        EXPECT_EQ(colourOf(box, i), row.colour) << "offset " << i;
        EXPECT_EQ(formatOf(box, i).fontPointSize(), row.pointSize) << "offset " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    RichTextBox, ReplaceSelection,
    ::testing::Values(
        ReplaceRow{"forward_word", 3, 8, "gato", u"Mi gato come \nEs m\u00EDo \n"_s, QColor(0, 0, 255), 28},
        ReplaceRow{"backward_word", 8, 3, "gato", u"Mi gato come \nEs m\u00EDo \n"_s, QColor(0, 0, 255), 28},
        ReplaceRow{"longer_word", 3, 8, "perrito", u"Mi perrito come \nEs m\u00EDo \n"_s, QColor(0, 0, 255), 28},
        ReplaceRow{"across_two_formats", 0, 8, "Tu gato", u"Tu gato come \nEs m\u00EDo \n"_s, QColor(255, 0, 0), 12},
        ReplaceRow{"backward_across_two_formats", 8, 0, "Tu gato", u"Tu gato come \nEs m\u00EDo \n"_s,
                   QColor(255, 0, 0), 12}),
    [](const ::testing::TestParamInfo<ReplaceRow>& info) { return std::string(info.param.name); });

TEST_F(RichTextBoxTest, ReplacingLeavesTheOtherCharactersAlone)
{
    select(3, 5);
    box.setSelColor(vbcolor::Blue);
    select(3, 5);
    box.setSelText(u"gato"_s);

    EXPECT_EQ(colourOf(box, 2), std::nullopt);
    EXPECT_EQ(colourOf(box, 7), std::nullopt);  // the space after "gato"
    EXPECT_EQ(box.textLength(), 22);
}

TEST_F(RichTextBoxTest, LockedBoxMovesItsCaretWhereItIsClicked)
{
    box.setLocked(true);
    showBox();
    QSignalSpy clicks(&box, &RichTextBox::clicked);

    for (int offset : {3, 9, 15, 18, 0}) {
        SCOPED_TRACE(offset);
        QTextCursor c(box.document());
        c.setPosition(offset);
        QTest::mouseClick(box.viewport(), Qt::LeftButton, {}, box.cursorRect(c).center());
        EXPECT_EQ(box.selStart(), offset);
        EXPECT_EQ(box.selLength(), 0);
    }
    EXPECT_EQ(clicks.count(), 5);
}

TEST_F(RichTextBoxTest, LockedBoxIgnoresTyping)
{
    box.setLocked(true);
    showBox();
    box.setFocus();
    select(3, 0);
    QTest::keyClick(&box, Qt::Key_A);
    QTest::keyClick(&box, Qt::Key_Backspace);
    QTest::keyClick(&box, Qt::Key_Return);
    EXPECT_EQ(box.text(), Sample);
}

struct KeyRow {
    const char* name;
    Qt::Key key;
    int keyCode;         // what the filter is given
    const char* result;  // the box's text afterwards
};

class KeyFilter : public RichTextBoxTest, public ::testing::WithParamInterface<KeyRow> {};

TEST_P(KeyFilter, CancelsAKeyWhenItSetsTheCodeToZero)
{
    const KeyRow& row = GetParam();
    QList<int> seen;
    // The correction box's rule: Enter is cancelled, everything else goes on.
    box.onKeyDown = [&seen](int& keyCode, Qt::KeyboardModifiers) {
        seen.append(keyCode);
        if (keyCode == 13)
            keyCode = 0;
    };
    box.setText(u"sol"_s);
    showBox();
    box.setFocus();
    box.setSelStart(3);

    QTest::keyClick(&box, row.key, Qt::NoModifier);
    EXPECT_EQ(seen, QList<int>{row.keyCode});
    EXPECT_EQ(box.text(), QString::fromUtf8(row.result));
}

INSTANTIATE_TEST_SUITE_P(RichTextBox, KeyFilter,
                         ::testing::Values(KeyRow{"enter", Qt::Key_Enter, 13, "sol"},
                                           KeyRow{"return", Qt::Key_Return, 13, "sol"},
                                           KeyRow{"letter", Qt::Key_A, Qt::Key_A, "sola"},
                                           KeyRow{"backspace", Qt::Key_Backspace, 8, "so"}),
                         [](const ::testing::TestParamInfo<KeyRow>& info) { return std::string(info.param.name); });

TEST_F(RichTextBoxTest, FilterCancellingEveryKeyLeavesTheTextAlone)
{
    box.onKeyDown = [](int& keyCode, Qt::KeyboardModifiers) { keyCode = 0; };
    showBox();
    box.setFocus();
    select(3, 5);
    QTest::keyClicks(&box, "gato");
    QTest::keyClick(&box, Qt::Key_Delete);
    QTest::keyClick(&box, Qt::Key_Backspace);
    EXPECT_EQ(box.text(), Sample);
}

// The correction box's input filter: a word never holds a space or a line break.
QString withoutSpaces(const QString& text)
{
    QString kept;
    for (QChar c : text) {
        if (!c.isSpace())
            kept += c;
    }
    return kept;
}

TEST_F(RichTextBoxTest, PastedTextPassesTheInputFilter)
{
    box.inputFilter = withoutSpaces;
    box.setText(QString());
    showBox();
    QApplication::clipboard()->setText(u"pe rro\n gato\t"_s);
    box.paste();
    EXPECT_EQ(box.text(), u"perrogato"_s);
}

TEST_F(RichTextBoxTest, TypedSpacesPassTheInputFilter)
{
    box.inputFilter = withoutSpaces;
    box.setText(QString());
    showBox();
    box.setFocus();
    QTest::keyClicks(&box, "ni no");
    EXPECT_EQ(box.text(), u"nino"_s);
}

TEST_F(RichTextBoxTest, LockedBoxRefusesAPaste)
{
    box.setLocked(true);
    showBox();
    QApplication::clipboard()->setText(u"gato"_s);
    box.paste();
    EXPECT_EQ(box.text(), Sample);
}

TEST_F(RichTextBoxTest, CentredBoxCentresItsTextAndWhatIsTypedLater)
{
    box.setText(u"casa"_s);
    box.setCentred();
    EXPECT_TRUE(box.document()->firstBlock().blockFormat().alignment() & Qt::AlignHCenter);

    box.setText(QString());
    box.setCentred();
    showBox();
    box.setFocus();
    QTest::keyClicks(&box, "sol");
    EXPECT_EQ(box.text(), u"sol"_s);
    EXPECT_TRUE(box.document()->firstBlock().blockFormat().alignment() & Qt::AlignHCenter);
}

}  // namespace

// A teacher's file or a pupil's keyboard may write an accent as a letter and a
// combining mark: the box must draw it as the accented letter, however the
// text arrives. Compared with the same word written with one character.
class CombiningAccent : public ::testing::Test {
protected:
    static QImage look(RichTextBox& shown)
    {
        shown.resize(400, 120);
        shown.setLocked(true);
        return shown.viewport()->grab().toImage();
    }
    // The box holding `text`, as the reference box does with `reference`.
    void expectSameLook(RichTextBox& shown, RichTextBox& reference)
    {
        EXPECT_TRUE(look(shown) == look(reference)) << shown.text().toStdString();
    }
    const QString composed = u"La canci\u00F3n de \u00C9l \n"_s;
    const QString decomposed = u"La cancio\u0301n de E\u0301l \n"_s;
};

TEST_F(CombiningAccent, IsDrawnAsTheAccentedLetterHoweverTheTextArrives)
{
    RichTextBox reference;
    reference.setText(composed);
    {
        SCOPED_TRACE("set as the text");
        RichTextBox box;
        box.setText(decomposed);
        expectSameLook(box, reference);
    }
    {
        SCOPED_TRACE("set after a plain text");
        RichTextBox box;  // a plain text first, then the accented one
        box.setText(u"Mi perro come \n"_s);
        box.setText(decomposed);
        expectSameLook(box, reference);
    }
    {
        SCOPED_TRACE("added to an empty box");
        RichTextBox box;
        box.appendText(decomposed);
        expectSameLook(box, reference);
    }
    {
        SCOPED_TRACE("added to a log holding a plain text");
        RichTextBox box;  // added to a log that held a plain text
        RichTextBox logReference;
        box.appendText(u"TEXTO 1\n\n"_s);
        box.appendText(decomposed);
        logReference.appendText(u"TEXTO 1\n\n"_s + decomposed);
        expectSameLook(box, logReference);
    }
    {
        SCOPED_TRACE("replacing a plain word");
        RichTextBox box;  // a plain word replaced by the accented one
        box.setText(u"La cancion de \u00C9l \n"_s);
        box.setSelStart(3);
        box.setSelLength(7);
        box.setSelText(u"cancio\u0301n"_s);
        box.setSelStart(0);
        expectSameLook(box, reference);
    }
}
