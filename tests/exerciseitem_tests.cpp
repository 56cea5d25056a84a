// SPDX-License-Identifier: GPL-3.0-or-later
// The rules of one item, without a window: the word a caret picks, the
// judgement of a typed form, completion and the errors left for the help view.

#include "library/exerciseitem.h"

#include <gtest/gtest.h>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

// Offsets: M 0, i 1, space 2, p 3, e 4, r 5, r 6, o 7, space 8, c 9, o 10,
// m 11, e 12, space 13, line feed 14, E 15, s 16, space 17, m 18, í 19, o 20,
// space 21, line feed 22; 23 characters, five words.
const QString MiPerroCome = u"Mi perro come \nEs mío \n"_s;

struct CaretCase {
    const char* name;
    QString shown;
    int caret;
    std::optional<WordSpan> span;  // start, length, words from it to the end
};

class WordAtCaret : public ::testing::TestWithParam<CaretCase> {};

TEST_P(WordAtCaret, IsTheWholeWordAroundIt)
{
    EXPECT_EQ(ExerciseItem::wordAt(GetParam().shown, GetParam().caret), GetParam().span);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WordAtCaret,
    ::testing::Values(CaretCase{"InsideAWord", MiPerroCome, 5, WordSpan{3, 5, 4}},
                      CaretCase{"JustAfterTheSpaceBeforeIt", MiPerroCome, 3, WordSpan{3, 5, 4}},
                      CaretCase{"JustBeforeTheSpaceAfterIt", MiPerroCome, 8, WordSpan{3, 5, 4}},
                      CaretCase{"AtTheStart", MiPerroCome, 0, WordSpan{0, 2, 5}},
                      CaretCase{"AfterALineFeed", MiPerroCome, 16, WordSpan{15, 2, 2}},
                      CaretCase{"AtTheStartOfALine", MiPerroCome, 15, WordSpan{15, 2, 2}},
                      CaretCase{"BetweenALinesClosingSpaceAndItsLineFeed", MiPerroCome, 14, WordSpan{15, 2, 2}},
                      CaretCase{"AfterTheLastSpace", MiPerroCome, 22, WordSpan{18, 3, 1}},
                      CaretCase{"AtTheVeryEnd", MiPerroCome, 23, WordSpan{18, 3, 1}},
                      CaretCase{"PastTheEnd", MiPerroCome, 400, WordSpan{18, 3, 1}},
                      CaretCase{"BeforeTheStart", MiPerroCome, -3, WordSpan{0, 2, 5}},
                      CaretCase{"BetweenTwoNeighbouringSpaces", u"Ella  canta \n"_s, 5, WordSpan{5, 0, 2}},
                      CaretCase{"PunctuationBelongsToTheWord", u"—¿Dónde? «Aquí», dijo. \n"_s, 4,
                                WordSpan{0, 8, 3}},
                      CaretCase{"InsideQuotes", u"—¿Dónde? «Aquí», dijo. \n"_s, 12, WordSpan{9, 7, 2}},
                      CaretCase{"EmptyText", u""_s, 0, std::nullopt},
                      CaretCase{"OneCharacter", u"\n"_s, 0, std::nullopt}),
    [](const ::testing::TestParamInfo<CaretCase>& info) { return std::string(info.param.name); });

ExerciseItem miPeroCome()
{
    return ExerciseItem({{"Mi", "pero", "come", "Es", "mio"}, u"Mi pero come \nEs mio \n"_s},
                        {{"Mi", "perro", "come", "Es", "mío"}, u"Mi perro come \nEs mío \n"_s});
}

struct TypedCase {
    const char* name;
    int wordCounter;  // 4 names "pero", 1 names "mio"
    QString picked;
    QString typed;
    Judgement judgement;
};

class TypedForm : public ::testing::TestWithParam<TypedCase> {};

TEST_P(TypedForm, IsJudgedAndTakesTheWordsPlace)
{
    ExerciseItem item = miPeroCome();
    const TypedCase& c = GetParam();

    EXPECT_EQ(item.correct(c.wordCounter, c.picked, c.typed), c.judgement);

    const int position = item.positionOf(c.wordCounter);
    if (position >= 0 && position < item.faultyWords().count()) {
        EXPECT_EQ(item.faultyWords().entry(position), c.typed);
    }
    EXPECT_EQ(item.faultyWords().count(), 5);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TypedForm,
    ::testing::Values(TypedCase{"Right", 4, "pero", "perro", Judgement::Right},
                      TypedCase{"Unchanged", 4, "pero", "pero", Judgement::Unchanged},
                      TypedCase{"Wrong", 4, "pero", "perrro", Judgement::Wrong},
                      TypedCase{"Erased", 4, "pero", "", Judgement::Wrong},
                      TypedCase{"LetterCaseCounts", 4, "pero", "Perro", Judgement::Wrong},
                      TypedCase{"AccentsCount", 1, "mio", "mio", Judgement::Unchanged},
                      TypedCase{"AccentedRight", 1, "mio", "mío", Judgement::Right},
                      TypedCase{"AWordAlreadyRightPickedAgain", 1, "mío", "mío", Judgement::Unchanged},
                      TypedCase{"BeyondTheLastWord", 0, "", "x", Judgement::Wrong},
                      TypedCase{"BeforeTheFirstWord", 9, "", "Mi", Judgement::Wrong}),
    [](const ::testing::TestParamInfo<TypedCase>& info) { return std::string(info.param.name); });

TEST(ExerciseItem, IsCompleteOnceEveryWordIsRightAndTheErrorsLeftShrink)
{
    ExerciseItem item = miPeroCome();
    using Ranges = QList<std::pair<int, int>>;
    // perro at 3..8 and mío at 18..21 of the correct text.
    EXPECT_EQ(item.remainingErrors(), Ranges({{3, 8}, {18, 21}}));
    EXPECT_FALSE(item.complete());

    item.correct(4, u"pero"_s, u"perro"_s);
    EXPECT_EQ(item.remainingErrors(), Ranges({{18, 21}}));
    EXPECT_FALSE(item.complete());

    // A right word made wrong again is an error again.
    item.correct(3, u"come"_s, u"comer"_s);
    EXPECT_EQ(item.remainingErrors(), Ranges({{9, 13}, {18, 21}}));
    item.correct(3, u"comer"_s, u"come"_s);

    item.correct(1, u"mio"_s, u"mío"_s);
    EXPECT_TRUE(item.remainingErrors().isEmpty());
    EXPECT_TRUE(item.complete());
}

TEST(ExerciseItem, AnEmptyCorrectWordIsNeverMarked)
{
    const ExerciseItem item({{"Ella", "x", "canta"}, u"Ella x canta \n"_s}, {{"Ella", "", "canta"}, u"Ella  canta \n"_s});
    EXPECT_TRUE(item.remainingErrors().isEmpty());
    EXPECT_FALSE(item.complete());
}

struct MendCase {
    QString typed;
    QString mended;
};

TEST(ExerciseItem, ATypedFormLosesSpacesTabsAndLineBreaksOnly)
{
    const MendCase cases[] = {
        {u"perro"_s, u"perro"_s},
        {u"pe rro"_s, u"perro"_s},
        {u" perro\t"_s, u"perro"_s},
        {u"pe\nrro"_s, u"perro"_s},
        {u"¿qué?"_s, u"¿qué?"_s},
        // A non-breaking space alone is kept as typed: the box's filter keeps
        // it out of typing and pasting.
        {u"pe\u00A0rro"_s, u"pe\u00A0rro"_s},
        {u"pe\u00A0 rro"_s, u"perro"_s},
    };
    for (const MendCase& c : cases)
        EXPECT_EQ(ExerciseItem::mended(c.typed), c.mended) << c.typed.toStdString();
    EXPECT_EQ(ExerciseItem::withoutBreaks(u"a\u2029b\u2028c\u00A0d e"_s), u"abcde"_s);
}

}  // namespace
