// SPDX-License-Identifier: GPL-3.0-or-later
// The size of the exercise text: the steps and the sizes that follow the
// normal one (library/textsize.h, from tables), and the window drawn at the
// size the pupil chooses with the keys or the wheel, remembered for the next
// start.

#include "tests/support.h"

#include "library/textsize.h"
#include "presentation/richtextbox.h"
#include "presentation/twips.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QFontMetricsF>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// ---- The rules, without a window ----

struct StepCase {
    const char* name;
    double from;
    int steps;
    double to;
};

class TextSizeSteps : public ::testing::TestWithParam<StepCase> {};

TEST_P(TextSizeSteps, GoFromStepToStepAndStopAtTheLimits)
{
    const StepCase& c = GetParam();
    EXPECT_EQ(textsize::stepped(c.from, c.steps), c.to);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TextSizeSteps,
    ::testing::Values(StepCase{"design_larger", 18, 1, 20}, StepCase{"design_smaller", 18, -1, 16},
                      StepCase{"design_unchanged", 18, 0, 18}, StepCase{"two_points_up_to_24", 22, 1, 24},
                      StepCase{"four_points_beyond_24", 24, 1, 28}, StepCase{"back_below_24", 28, -1, 24},
                      StepCase{"three_at_once", 18, 3, 24}, StepCase{"largest_stays", 48, 1, 48},
                      StepCase{"far_past_the_largest", 44, 10, 48}, StepCase{"smallest_stays", 12, -1, 12},
                      StepCase{"far_past_the_smallest", 14, -10, 12}, StepCase{"whole_range_up", 12, 12, 48},
                      StepCase{"whole_range_down", 48, -12, 12}),
    [](const ::testing::TestParamInfo<StepCase>& info) { return std::string(info.param.name); });

TEST(TextSizeSteps, RunFromTwelveToFortyEightInOrder)
{
    EXPECT_EQ(textsize::Smallest, 12);
    EXPECT_EQ(textsize::Largest, 48);
    EXPECT_TRUE(std::find(textsize::Steps.begin(), textsize::Steps.end(), textsize::DesignNormal)
                != textsize::Steps.end());
    EXPECT_TRUE(std::is_sorted(textsize::Steps.begin(), textsize::Steps.end()));
    // Each step up is undone by a step down.
    for (double step : textsize::Steps) {
        if (step < textsize::Largest) {
            EXPECT_EQ(textsize::smaller(textsize::larger(step)), step) << step;
        }
        if (step > textsize::Smallest) {
            EXPECT_EQ(textsize::larger(textsize::smaller(step)), step) << step;
        }
    }
}

struct StoredCase {
    const char* name;
    double stored;
    double usable;
};

class TextSizeStored : public ::testing::TestWithParam<StoredCase> {};

TEST_P(TextSizeStored, BecomesTheNearestStep)
{
    EXPECT_EQ(textsize::usable(GetParam().stored), GetParam().usable);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TextSizeStored,
    ::testing::Values(StoredCase{"a_step", 32, 32}, StoredCase{"between_steps", 29, 28},
                      StoredCase{"just_below_a_step", 31.5, 32}, StoredCase{"too_small", 3, 12},
                      StoredCase{"zero", 0, 12}, StoredCase{"negative", -20, 12}, StoredCase{"too_large", 400, 48},
                      StoredCase{"not_a_number", std::numeric_limits<double>::quiet_NaN(), 18},
                      StoredCase{"infinite", std::numeric_limits<double>::infinity(), 18}),
    [](const ::testing::TestParamInfo<StoredCase>& info) { return std::string(info.param.name); });

struct SizesCase {
    const char* name;
    double normal;
    textsize::Sizes sizes;
};

class TextSizeProportions : public ::testing::TestWithParam<SizesCase> {};

TEST_P(TextSizeProportions, KeepTheDesignsDifferencesInProportion)
{
    const SizesCase& c = GetParam();
    const textsize::Sizes sizes = textsize::sizesFor(c.normal);
    EXPECT_DOUBLE_EQ(sizes.normal, c.sizes.normal);
    EXPECT_DOUBLE_EQ(sizes.previouslyPicked, c.sizes.previouslyPicked);
    EXPECT_DOUBLE_EQ(sizes.picked, c.sizes.picked);
}

INSTANTIATE_TEST_SUITE_P(Table, TextSizeProportions,
                         ::testing::Values(SizesCase{"design", 18, {18, 20, 28}}, SizesCase{"double", 36, {36, 40, 56}},
                                           SizesCase{"largest", 48, {48, 160.0 / 3, 224.0 / 3}},
                                           SizesCase{"smallest", 12, {12, 40.0 / 3, 56.0 / 3}},
                                           SizesCase{"twenty_four", 24, {24, 80.0 / 3, 112.0 / 3}}),
                         [](const ::testing::TestParamInfo<SizesCase>& info) { return std::string(info.param.name); });

TEST(TextSizeProportions, DesignSizesAreTheOnesTheTextWasAlwaysDrawnIn)
{
    EXPECT_EQ(textsize::sizesFor(textsize::DesignNormal),
              (textsize::Sizes{textsize::DesignNormal, textsize::DesignPreviouslyPicked, textsize::DesignPicked}));
    EXPECT_EQ(textsize::DesignNormal, 18);
    EXPECT_EQ(textsize::DesignPreviouslyPicked, 20);
    EXPECT_EQ(textsize::DesignPicked, 28);
}

struct CorrectionCase {
    const char* name;
    double normal;
    double room;  // the largest size the box's height holds
    double size;
};

class CorrectionSize : public ::testing::TestWithParam<CorrectionCase> {};

TEST_P(CorrectionSize, FollowsTheTextAsFarAsTheBoxHoldsIt)
{
    const CorrectionCase& c = GetParam();
    EXPECT_DOUBLE_EQ(textsize::correctionSize(c.normal, c.room), c.size);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CorrectionSize,
    ::testing::Values(CorrectionCase{"design", 18, 40, 36}, CorrectionCase{"smaller", 12, 40, 24},
                      CorrectionCase{"larger_within_room", 20, 41, 40}, CorrectionCase{"larger_than_room", 28, 41, 41},
                      CorrectionCase{"design_even_without_room", 18, 30, 36},
                      CorrectionCase{"no_room_stays_at_design", 48, 30, 36},
                      CorrectionCase{"smaller_without_room", 14, 30, 28}),
    [](const ::testing::TestParamInfo<CorrectionCase>& info) { return std::string(info.param.name); });

struct CounterpartCase {
    const char* name;
    double points;
    double from;
    double to;
    double expected;
};

class TextSizeCounterpart : public ::testing::TestWithParam<CounterpartCase> {};

TEST_P(TextSizeCounterpart, KeepsWhatEachSizeMeans)
{
    const CounterpartCase& c = GetParam();
    EXPECT_DOUBLE_EQ(textsize::counterpart(c.points, textsize::sizesFor(c.from), textsize::sizesFor(c.to)),
                     c.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, TextSizeCounterpart,
                         ::testing::Values(CounterpartCase{"normal", 18, 18, 36, 36},
                                           CounterpartCase{"previously_picked", 20, 18, 36, 40},
                                           CounterpartCase{"picked", 28, 18, 36, 56},
                                           CounterpartCase{"back_to_design", 56, 36, 18, 28},
                                           CounterpartCase{"smallest_picked", 56.0 / 3, 12, 18, 28},
                                           CounterpartCase{"smallest_previously", 40.0 / 3, 12, 48, 160.0 / 3},
                                           CounterpartCase{"unchanged", 20, 18, 18, 20}),
                         [](const ::testing::TestParamInfo<CounterpartCase>& info) {
                             return std::string(info.param.name);
                         });

// ---- The window ----

class TextSizeWindow : public MainWindowTest {
protected:
    void startInFront()
    {
        tree.writeItem(QStringLiteral("Lecturas"), 1,
                       {QStringLiteral("«Mi pero come pam», dijo Ana."), QStringLiteral("Es mio, ¿verdad?")},
                       {QStringLiteral("«Mi perro come pan», dijo Ana."), QStringLiteral("Es mío, ¿verdad?")});
        tree.writeItem(QStringLiteral("Lecturas"), 2, {QStringLiteral("Un gato")}, {QStringLiteral("Un gato")});
        startOn(0);
        ASSERT_EQ(text()->text(), QStringLiteral("«Mi pero come pam», dijo Ana. \nEs mio, ¿verdad? \n"));
        activate();
    }

    // Every character's size, the line ends left out.
    std::vector<double> sizes(const RichTextBox& box) const
    {
        std::vector<double> result;
        for (const Look& look : looksOf(box))
            result.push_back(look.size);
        return result;
    }

    void control(Qt::Key key, const QString& text, Qt::KeyboardModifiers more = {})
    {
        harness->keyboard(key, text, Qt::ControlModifier | more);
    }

    void wheel(QWidget* over, int angle, Qt::KeyboardModifiers modifiers)
    {
        const QPointF at(over->width() / 2.0, over->height() / 2.0);
        QWheelEvent event(at, over->mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(over, &event);
    }

    // "pero" picked at 18, then "pam»," picked: "pero" was picked before.
    void pickTwoWords()
    {
        harness->clickText(5);
        harness->clickText(15);
        ASSERT_EQ(form().pickedWord(), QStringLiteral("pam»,"));
    }

    // The size each character should have for the normal size `normal`
    // after pickTwoWords.
    std::vector<double> expectedAfterTwoPicks(double normal) const
    {
        const textsize::Sizes s = textsize::sizesFor(normal);
        std::vector<double> expected;
        const QString shown = text()->text();
        for (int i = 0; i < shown.size(); ++i) {
            if (shown.at(i) == u'\n')
                continue;
            if (i >= 4 && i < 9)  // "pero" and the space after it
                expected.push_back(s.previouslyPicked);
            else if (i >= 14 && i < 19)  // "pam»,"
                expected.push_back(s.picked);
            else
                expected.push_back(s.normal);
        }
        return expected;
    }
};

TEST_F(TextSizeWindow, StartsAtTheDesignsSizesAndWritesNothingUntilAsked)
{
    startInFront();
    pickTwoWords();
    EXPECT_EQ(sizes(*text()), expectedAfterTwoPicks(18));
    EXPECT_EQ(correction()->font().pointSizeF(), 36);
    EXPECT_EQ(helpText()->font().pointSizeF(), 18);
    EXPECT_EQ(form().textFontSize(), 24);
    EXPECT_FALSE(QFile::exists(settingsFile()));
}

TEST_F(TextSizeWindow, ControlPlusAndMinusChangeEverySizeInProportionKeepingColours)
{
    startInFront();
    pickTwoWords();
    harness->type(QStringLiteral("x"));  // "pam»,x": red
    RichTextBox& box = *text();
    std::vector<Look> before = looksOf(box);
    const QString shown = box.text();
    const int selStart = box.selStart();
    const int selLength = box.selLength();

    control(Qt::Key_Plus, QStringLiteral("+"));
    control(Qt::Key_Plus, QStringLiteral("+"));

    EXPECT_EQ(form().textSizes().normal, 22);
    std::vector<Look> after = looksOf(box);
    ASSERT_EQ(after.size(), before.size());
    const textsize::Sizes from = textsize::sizesFor(18);
    const textsize::Sizes to = textsize::sizesFor(22);
    for (std::size_t i = 0; i < after.size(); ++i) {
        EXPECT_EQ(after[i].character, before[i].character) << i;
        EXPECT_EQ(after[i].colour, before[i].colour) << i;
        EXPECT_EQ(after[i].family, before[i].family) << i;
        EXPECT_DOUBLE_EQ(after[i].size, textsize::counterpart(before[i].size, from, to)) << i;
    }
    EXPECT_EQ(lookAt(box, 14).colour, vbcolor::Red);
    EXPECT_DOUBLE_EQ(lookAt(box, 14).size, to.picked);
    EXPECT_EQ(box.text(), shown);
    EXPECT_EQ(box.selStart(), selStart);
    EXPECT_EQ(box.selLength(), selLength);
    EXPECT_EQ(helpText()->font().pointSizeF(), 22);
    // Larger, as far as the box's height holds it.
    EXPECT_GT(correction()->font().pointSizeF(), 36);
    EXPECT_LE(correction()->font().pointSizeF(), 44);

    control(Qt::Key_Minus, QStringLiteral("-"));
    control(Qt::Key_Minus, QStringLiteral("-"));
    control(Qt::Key_Minus, QStringLiteral("-"));

    EXPECT_EQ(form().textSizes().normal, 16);
    after = looksOf(box);
    for (std::size_t i = 0; i < after.size(); ++i)
        EXPECT_DOUBLE_EQ(after[i].size, textsize::counterpart(before[i].size, from, textsize::sizesFor(16))) << i;
    EXPECT_EQ(helpText()->font().pointSizeF(), 16);
    EXPECT_DOUBLE_EQ(correction()->font().pointSizeF(), 32);
    // The pupil goes on typing where she was.
    EXPECT_EQ(correction()->text(), QStringLiteral("pam»,x"));
}

TEST_F(TextSizeWindow, ControlZeroGoesBackToTheDesignsSizesExactly)
{
    startInFront();
    pickTwoWords();
    // Out of the correction box, whose key releases judge the word.
    harness->keyboard(Qt::Key_Escape);
    const std::vector<Look> design = looksOf(*text());
    for (int i = 0; i < 20; ++i)
        control(Qt::Key_Minus, QStringLiteral("-"));
    ASSERT_EQ(form().textSizes().normal, 12);
    control(Qt::Key_Plus, QStringLiteral("+"));
    control(Qt::Key_Plus, QStringLiteral("+"));

    control(Qt::Key_0, QStringLiteral("0"));

    EXPECT_EQ(looksOf(*text()), design);
    EXPECT_EQ(correction()->font().pointSizeF(), 36);
    EXPECT_EQ(helpText()->font().pointSizeF(), 18);
    EXPECT_EQ(form().textFontSize(), 24);
}

TEST_F(TextSizeWindow, StopsAtTwelveAndFortyEight)
{
    startInFront();
    for (int i = 0; i < 20; ++i)
        control(Qt::Key_Plus, QStringLiteral("+"));
    EXPECT_EQ(form().textSizes().normal, 48);
    EXPECT_EQ(pointSizeAt(text(), 0), 48);
    for (int i = 0; i < 30; ++i)
        control(Qt::Key_Minus, QStringLiteral("-"));
    EXPECT_EQ(form().textSizes().normal, 12);
    EXPECT_EQ(pointSizeAt(text(), 0), 12);
}

TEST_F(TextSizeWindow, KeysWorkFromEveryControlOfTheWindowAndTheKeypad)
{
    startInFront();
    harness->clickText(5);
    ASSERT_TRUE(correction()->hasFocus());
    control(Qt::Key_Plus, QStringLiteral("+"));  // in the correction box
    EXPECT_EQ(form().textSizes().normal, 20);
    EXPECT_EQ(correction()->text(), QStringLiteral("pero"));

    exercises()->setFocus();
    control(Qt::Key_Plus, QStringLiteral("+"), Qt::KeypadModifier);
    EXPECT_EQ(form().textSizes().normal, 22);
    // Where the plus sign needs Shift, Control and its key.
    control(Qt::Key_Equal, QStringLiteral("="));
    EXPECT_EQ(form().textSizes().normal, 24);
    helpButton()->setFocus();
    control(Qt::Key_Minus, QStringLiteral("-"), Qt::KeypadModifier);
    EXPECT_EQ(form().textSizes().normal, 22);
    // The exercise chosen is still the one shown.
    EXPECT_EQ(exercises()->currentRow(), 0);
}

TEST_F(TextSizeWindow, ControlWheelOverTheTextStepsOnePerNotch)
{
    startInFront();
    QWidget* view = text()->viewport();
    const int scrolled = text()->verticalScrollBar()->value();

    wheel(view, 120, Qt::ControlModifier);
    EXPECT_EQ(form().textSizes().normal, 20);
    wheel(view, 240, Qt::ControlModifier);
    EXPECT_EQ(form().textSizes().normal, 24);
    // A finer wheel: half a notch does nothing yet, the other half a step.
    wheel(view, -60, Qt::ControlModifier);
    EXPECT_EQ(form().textSizes().normal, 24);
    wheel(view, -60, Qt::ControlModifier);
    EXPECT_EQ(form().textSizes().normal, 22);
    EXPECT_EQ(pointSizeAt(text(), 0), 22);
    EXPECT_EQ(text()->verticalScrollBar()->value(), scrolled);

    // Without Control the wheel only scrolls.
    wheel(view, -120, Qt::NoModifier);
    EXPECT_EQ(form().textSizes().normal, 22);
}

TEST_F(TextSizeWindow, ControlWheelOverTheHelpViewToo)
{
    startInFront();
    state().TimeUp = true;
    helpButton()->setEnabled(true);
    form().Command1_Click();
    ASSERT_TRUE(helpText()->isVisible());

    wheel(helpText()->viewport(), 120, Qt::ControlModifier);

    EXPECT_EQ(form().textSizes().normal, 20);
    EXPECT_EQ(helpText()->font().pointSizeF(), 20);
    EXPECT_EQ(pointSizeAt(helpText(), 0), 20);
}

TEST_F(TextSizeWindow, LayoutOfTheWindowDoesNotChange)
{
    startInFront();
    std::vector<std::pair<QString, QRect>> before;
    for (const QWidget* w : form().findChildren<QWidget*>())
        if (!w->objectName().isEmpty() && w->parentWidget() == &form())
            before.emplace_back(w->objectName(), w->geometry());
    ASSERT_GT(before.size(), 10u);

    for (int i = 0; i < 20; ++i)
        control(Qt::Key_Plus, QStringLiteral("+"));

    for (const auto& [name, geometry] : before)
        EXPECT_EQ(form().findChild<QWidget*>(name)->geometry(), geometry) << name.toStdString();
    // The correction box's word still fits its height.
    const RichTextBox& correction = *harness->correction();
    EXPECT_LE(QFontMetricsF(correction.font(), &correction).height(),
              correction.height() - 2 * correction.frameWidth() - 2 * correction.document()->documentMargin());
}

TEST_F(TextSizeWindow, NextTextAndNextPicksUseTheChosenSize)
{
    startInFront();
    control(Qt::Key_Plus, QStringLiteral("+"));
    control(Qt::Key_Plus, QStringLiteral("+"));
    control(Qt::Key_Plus, QStringLiteral("+"));  // 24
    pickTwoWords();
    EXPECT_EQ(sizes(*text()), expectedAfterTwoPicks(24));

    click("Command3_0");
    ASSERT_EQ(text()->text(), QStringLiteral("Un gato \n"));
    for (const Look& look : looksOf(*text()))
        EXPECT_EQ(look.size, 24);
}

TEST_F(TextSizeWindow, ChoiceIsRememberedForTheNextStart)
{
    startInFront();
    control(Qt::Key_Plus, QStringLiteral("+"));
    control(Qt::Key_Plus, QStringLiteral("+"));
    control(Qt::Key_Plus, QStringLiteral("+"));
    control(Qt::Key_Plus, QStringLiteral("+"));  // 28
    harness.reset();
    ASSERT_TRUE(QFile::exists(settingsFile()));
    EXPECT_EQ(Form1::rememberedTextSize(), 28);

    start();
    EXPECT_EQ(form().textSizes().normal, 28);
    EXPECT_DOUBLE_EQ(helpText()->font().pointSizeF(), 28);
    harness->chooseExercise(0);
    EXPECT_EQ(pointSizeAt(text(), 0), 28);
    harness->clickText(5);
    EXPECT_DOUBLE_EQ(pointSizeAt(text(), 5), textsize::sizesFor(28).picked);
    EXPECT_EQ(form().pickedWord(), QStringLiteral("pero"));
}

TEST_F(TextSizeWindow, ControlZeroIsRememberedToo)
{
    startInFront();
    control(Qt::Key_Minus, QStringLiteral("-"));
    control(Qt::Key_0, QStringLiteral("0"));
    EXPECT_EQ(Form1::rememberedTextSize(), 18);
}

struct EditedSetting {
    const char* name;
    const char* line;
    double normal;
};

class TextSizeSetting : public TextSizeWindow, public ::testing::WithParamInterface<EditedSetting> {};

// A settings file a person edited by hand never stops the program: the size
// is the nearest step, or the design's.
TEST_P(TextSizeSetting, EditedByHandGivesAUsableSize)
{
    QDir().mkpath(QFileInfo(settingsFile()).path());
    QFile file(settingsFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("[exerciseText]\n") + GetParam().line + "\n");
    file.close();

    startInFront();

    EXPECT_EQ(form().textSizes().normal, GetParam().normal);
    EXPECT_EQ(pointSizeAt(text(), 0), GetParam().normal);
}

INSTANTIATE_TEST_SUITE_P(Table, TextSizeSetting,
                         ::testing::Values(EditedSetting{"step", "normalSize=36", 36},
                                           EditedSetting{"between_steps", "normalSize=30", 28},
                                           EditedSetting{"huge", "normalSize=1000", 48},
                                           EditedSetting{"negative", "normalSize=-5", 12},
                                           EditedSetting{"words", "normalSize=grande", 18},
                                           EditedSetting{"empty", "normalSize=", 18},
                                           EditedSetting{"other_key", "size=40", 18}),
                         [](const ::testing::TestParamInfo<EditedSetting>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(TextSizeWindow, LongTextKeepsItsPicksAndColoursAcrossSizes)
{
    QStringList faulty;
    QStringList correct;
    for (int i = 0; i < 300; ++i) {
        faulty << QStringLiteral("Línea %1: «la baca» dijo, ¿vale? ¡Sí!").arg(i);
        correct << QStringLiteral("Línea %1: «la vaca» dijo, ¿vale? ¡Sí!").arg(i);
    }
    tree.writeItem(QStringLiteral("Largo"), 1, faulty, correct);
    startOn(0);
    activate();
    const int line = int(text()->text().indexOf(QStringLiteral("Línea 150:")));
    harness->clickText(line + 15);  // "baca»"
    harness->type(QStringLiteral("\b\b\b\b\bvaca»"));
    ASSERT_EQ(lookAt(*text(), line + 15).colour, vbcolor::Blue);
    harness->clickText(line + 30);  // "¿vale?"
    harness->keyboard(Qt::Key_Escape);
    const std::vector<Look> design = looksOf(*text());

    control(Qt::Key_Plus, QStringLiteral("+"));
    control(Qt::Key_0, QStringLiteral("0"));

    EXPECT_EQ(looksOf(*text()), design);
}

}  // namespace
