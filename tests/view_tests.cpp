// SPDX-License-Identifier: GPL-3.0-or-later
// A text longer than its box: the view stays where the pupil scrolled it,
// whatever happens meanwhile, and a click picks the word under the pointer.

#include "tests/support.h"

#include "presentation/richtextbox.h"
#include "presentation/twips.h"

#include <QComboBox>
#include <QScrollBar>
#include <QTest>
#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <utility>

namespace {

// A page of a story, with dialogue, quotes and the punctuation of real texts:
// far more lines than the exercise box shows at its largest.
QStringList storyLines()
{
    const QStringList paragraphs{
        QStringLiteral("—¿Dónde está el burro? —preguntó Inés, asomada a la ventana del establo."),
        QStringLiteral("Su abuelo, que cortaba leña junto al pozo, levantó la vista y sonrió: «Se fue al río»."),
        QStringLiteral("La vaca, el caballo y las cabras miraban el camino; nadie sabía nada del burro."),
        QStringLiteral("¡Qué día tan largo! Inés buscó detrás del granero, bajo el árbol y entre las viñas."),
        QStringLiteral("Al final lo encontró dormido (¡roncaba!) a la sombra de un olivo viejo."),
    };
    QStringList lines;
    for (int i = 0; i < 60; ++i)
        lines.append(paragraphs.at(i % paragraphs.size()));
    return lines;
}

class LongText : public MainWindowTest {
public:
    using MainWindowTest::form;

    LongText()
    {
        const QStringList correct = storyLines();
        QStringList faulty = correct;
        // A misspelling on every line: "burro" written "vurro", "vaca" "baca".
        for (QString& line : faulty) {
            line.replace(QStringLiteral("burro"), QStringLiteral("vurro"));
            line.replace(QStringLiteral("vaca"), QStringLiteral("baca"));
        }
        tree.writeItem("Cuento", 1, faulty, correct);
        start();
        form().activateWindow();
        harness->chooseExercise(0);
    }

    QScrollBar* bar() { return text()->verticalScrollBar(); }

    // The word of the exercise text at `offset`: its first offset and the word.
    std::pair<int, QString> wordAt(int offset)
    {
        const QString shown = text()->text();
        int start = offset;
        while (start > 0 && shown.at(start - 1) != u' ' && shown.at(start - 1) != u'\n')
            --start;
        const qsizetype end = shown.indexOf(u' ', start);
        return {start, shown.mid(start, end - start)};
    }

    // Clicks the word drawn at height `y` of the view, as the view is now,
    // and checks that exactly that word was picked and the view did not move.
    void pickWordAtHeight(int y, const char* where)
    {
        SCOPED_TRACE(where);
        const auto [topCharacter, topLine] = topOfView();
        const QPoint point(text()->viewport()->width() / 3, y);
        int offset = text()->cursorForPosition(point).position();
        // Past the end of a short line: its last word.
        if (text()->text().at(offset) == u'\n')
            offset -= 2;
        const auto [start, word] = wordAt(offset);
        ASSERT_FALSE(word.isEmpty());
        QTextCursor inside(text()->document());
        inside.setPosition(start + 1);
        const QRect rect = text()->cursorRect(inside);
        ASSERT_TRUE(text()->viewport()->rect().contains(rect.center()));

        QTest::mouseClick(text()->viewport(), Qt::LeftButton, {}, rect.center());

        EXPECT_EQ(form().pickedWordStart(), start);
        EXPECT_EQ(form().pickedWord(), word);
        EXPECT_EQ(topOfView(), std::make_pair(topCharacter, topLine));
    }

    // The character at the top left of the view, and how far below the
    // view's top its line starts (negative: partly above it).
    std::pair<int, int> topOfView()
    {
        const int position = text()->cursorForPosition(QPoint(0, 0)).position();
        const QTextBlock block = text()->document()->findBlock(position);
        const QTextLine line = block.layout()->lineForTextPosition(position - block.position());
        const qreal top = text()->document()->documentLayout()->blockBoundingRect(block).top() + line.y();
        return {position, int(std::lround(top)) - bar()->value()};
    }

    // Picks the first word of the text and types `typed` over it.
    void correctFirstMisspelling(const QString& typed)
    {
        const int at = int(text()->text().indexOf(QStringLiteral("vurro")));
        bar()->setValue(0);
        QTextCursor inside(text()->document());
        inside.setPosition(at + 1);
        QTest::mouseClick(text()->viewport(), Qt::LeftButton, {}, text()->cursorRect(inside).center());
        ASSERT_EQ(form().pickedWord(), "vurro?");
        harness->type(QString(6, u'\b') + typed);
        ASSERT_EQ(form().focusWidget(), correction());
    }

    void scrollTo(int value)
    {
        ASSERT_GT(bar()->maximum(), 0) << "the text fits its box";
        bar()->setValue(value);
        ASSERT_EQ(bar()->value(), value);
    }

    // Top, middle and bottom lines of the view.
    void pickAtTopMiddleAndBottom()
    {
        const int height = text()->viewport()->height();
        const int line = QFontMetrics(text()->font()).height();
        pickWordAtHeight(line, "first line in view");
        pickWordAtHeight(height / 2, "middle of the view");
        pickWordAtHeight(height - 2 * line, "last line in view");
    }
};

struct Before {
    const char* name;
    std::function<void(LongText&)> act;
};

class LongTextAfter : public LongText, public ::testing::WithParamInterface<Before> {};

TEST_P(LongTextAfter, AClickPicksTheWordUnderThePointerAndTheViewStays)
{
    GetParam().act(*this);
    scrollTo(bar()->maximum() / 2);
    pickAtTopMiddleAndBottom();
    scrollTo(bar()->maximum());
    pickAtTopMiddleAndBottom();
}

INSTANTIATE_TEST_SUITE_P(
    Ways, LongTextAfter,
    ::testing::Values(
        Before{"NothingYet", [](LongText&) {}},
        Before{"ARightAnswer", [](LongText& t) { t.correctFirstMisspelling(QStringLiteral("burro?")); }},
        Before{"AWrongAnswer", [](LongText& t) { t.correctFirstMisspelling(QStringLiteral("buro?")); }},
        Before{"HelpAndBack",
               [](LongText& t) {
                   t.correctFirstMisspelling(QStringLiteral("buro?"));
                   t.form().Command1_Click();
                   t.form().Command1_Click();
               }}),
    [](const ::testing::TestParamInfo<Before>& info) { return std::string(info.param.name); });

TEST_F(LongText, FocusComingAndGoingNeverMovesTheView)
{
    correctFirstMisspelling(QStringLiteral("buro?"));
    scrollTo(bar()->maximum() * 2 / 3);
    const int kept = bar()->value();

    // Tab from the font chooser into the exercise text, and out again.
    auto* fonts = find<QComboBox>("Combo1");
    fonts->setFocus(Qt::TabFocusReason);
    text()->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(bar()->value(), kept);
    correction()->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(bar()->value(), kept);
    // The window losing and regaining the focus, as with Alt+Tab.
    text()->setFocus(Qt::ActiveWindowFocusReason);
    EXPECT_EQ(bar()->value(), kept);

    // A key released in the correction box rewrites the picked word, far
    // above the view.
    correction()->setFocus();
    harness->type(QStringLiteral("o"));
    EXPECT_EQ(bar()->value(), kept);

    // The reward animation and the results window.
    harness->type(QStringLiteral("\b\b\b\b\b\bburro?"));
    ASSERT_EQ(colourAt(text(), form().pickedWordStart()), vbcolor::Blue);
    EXPECT_EQ(bar()->value(), kept);
    form().Command6_Click();
    form().showAndActivate();
    EXPECT_EQ(bar()->value(), kept);
}

TEST_F(LongText, TheHelpViewKeepsItsViewWhenClicked)
{
    correctFirstMisspelling(QStringLiteral("buro?"));
    form().Command1_Click();
    RichTextBox* help = helpText();
    ASSERT_TRUE(help->isVisible());
    for (int turn = 0; turn < 20; ++turn)
        QCoreApplication::processEvents();
    QScrollBar* helpBar = help->verticalScrollBar();
    ASSERT_GT(helpBar->maximum(), 0);
    helpBar->setValue(helpBar->maximum());
    const int kept = helpBar->value();

    QTest::mouseClick(help->viewport(), Qt::LeftButton, {}, help->viewport()->rect().center());

    EXPECT_EQ(helpBar->value(), kept);
    // Back to the exercise and into help again: the exercise text kept its
    // view meanwhile.
    scrollTo(0);
    form().Command1_Click();
    EXPECT_EQ(bar()->value(), 0);
}

TEST_F(LongText, AnItemLoadedAgainIsShownFromItsStart)
{
    correctFirstMisspelling(QStringLiteral("buro?"));
    scrollTo(bar()->maximum());

    harness->chooseExercise(0);

    EXPECT_EQ(bar()->value(), 0);
}

}  // namespace
