// SPDX-License-Identifier: GPL-3.0-or-later
// Making an item from a text: the spelling families on real sentences, the
// seeded choice, the {correcto|falta} notation, the encodings, the numbering
// and the writing of items (library/families.h, library/itemwriter.h); the
// command miravellon-crear and its refusals, where nothing may be written; and
// one item made by the command, passed by the checker and worked to the end in
// the main window.

#include "tests/support.h"

#include "library/families.h"
#include "library/itemwriter.h"
#include "library/spelling.h"
#include "library/textfile.h"
#include "presentation/richtextbox.h"
#include "windows/form4.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <latch>
#include <thread>

using namespace Qt::StringLiterals;
using families::Family;

// GoogleTest prints strings in its messages as text.
void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

// A page of a story, with the punctuation, quotes and dialogue of real texts.
const QStringList Story{
    u"—¿Dónde está el burro? —preguntó la abuela desde la ventana."_s,
    u"«Se ha escapado otra vez», pensó Javier, y salió corriendo hacia el río."_s,
    u"Allí, junto a la orilla, el burro bebía agua tranquilamente; a su lado,"_s,
    u"una gallina roja buscaba gusanos entre las hierbas húmedas del camino."_s,
    u"¡Qué susto! Ayer también se perdió, y lo encontramos en el huerto de"_s,
    u"los vecinos, comiéndose las zanahorias y las lechugas más jóvenes."_s,
    u"El invierno empieza en diciembre, cuando hace frío y los árboles están tristes."_s,
    u"Lucía gira la cabeza, coge la jarra y bebe un vaso de zumo de naranja."_s,
};

QStringList storyWords()
{
    return Story.join(u' ').split(u' ');
}

// --- Families -------------------------------------------------------------

struct FamilyCase {
    const char* name;
    Family family;
    QString word;
    QStringList expected;  // every misspelling proposed, in order
};

void PrintTo(const FamilyCase& c, std::ostream* out)
{
    *out << c.name;
}

class FamilyMisspellings : public ::testing::TestWithParam<FamilyCase> {};

TEST_P(FamilyMisspellings, AreTheChildsMistakesOfTheFamily)
{
    const FamilyCase& c = GetParam();
    EXPECT_EQ(families::misspellings(c.word, c.family), c.expected);
}

const FamilyCase familyCases[] = {
    {"BForVAndVForB", Family::BV, u"bebía"_s, {u"vebía"_s, u"bevía"_s}},
    {"BVKeepsTheCommaAndTheCapital", Family::BV, u"Valencia,"_s, {u"Balencia,"_s}},
    {"HDropped", Family::H, u"hierbas"_s, {u"ierbas"_s}},
    {"HDroppedCapitalPasses", Family::H, u"¡Hola!"_s, {u"¡Ola!"_s}},
    {"HOfChIsNoSilentH", Family::H, u"leche"_s, {}},
    {"HInside", Family::H, u"zanahorias"_s, {u"zanaorias"_s}},
    {"GBeforeEAndI", Family::GJ, u"gira"_s, {u"jira"_s}},
    {"GBeforeAIsNoMistake", Family::GJ, u"gallina"_s, {}},
    {"JBeforeEAndIOnly", Family::GJ, u"jirafa,"_s, {u"girafa,"_s}},
    {"JBeforeAStays", Family::GJ, u"jarra"_s, {}},
    {"LlAndY", Family::LLY, u"lleva"_s, {u"yeva"_s}},
    {"YBeforeAVowel", Family::LLY, u"Ayer"_s, {u"Aller"_s}},
    {"YAloneStays", Family::LLY, u"hoy"_s, {}},
    {"CZAndS", Family::CZS, u"zanahorias"_s, {u"sanahorias"_s}},
    {"SBeforeAOAndU", Family::CZS, u"sopa"_s, {u"zopa"_s}},
    {"SBeforeEAndI", Family::CZS, u"siempre"_s, {u"ciempre"_s}},
    {"CBeforeA", Family::CZS, u"casa"_s, {u"caza"_s}},
    {"RrAndR", Family::RR, u"burro?"_s, {u"buro?"_s}},
    {"StrongRAtTheStart", Family::RR, u"río."_s, {u"rrío."_s}},
    {"StrongRAfterN", Family::RR, u"Enrique"_s, {u"Enrrique"_s}},
    {"SoftRStays", Family::RR, u"pero"_s, {}},
    {"MBeforePAndB", Family::MB, u"empieza"_s, {u"enpieza"_s}},
    {"MBeforeB", Family::MB, u"también"_s, {u"tanbién"_s}},
    {"AccentLeftOutOrMoved", Family::Tildes, u"camión"_s, {u"camion"_s, u"camíon"_s}},
    {"AccentMovedBothWays", Family::Tildes, u"árboles"_s, {u"arboles"_s, u"arbóles"_s}},
    {"AccentOnTheFirstLetterOfAQuestion", Family::Tildes, u"—¿Dónde"_s, {u"—¿Donde"_s, u"—¿Dondé"_s}},
    {"NoAccentNoMistake", Family::Tildes, u"casa"_s, {}},
    {"CapitalWrittenSmall", Family::Mayusculas, u"Javier,"_s, {u"javier,"_s}},
    {"CommonWordWithACapital", Family::Mayusculas, u"diciembre,"_s, {u"Diciembre,"_s}},
    {"AcronymStays", Family::Mayusculas, u"ONU"_s, {}},
    {"DiaeresisLeftOut", Family::GU, u"pingüino"_s, {u"pinguino"_s}},
    {"UOfGueLeftOut", Family::GU, u"guerra"_s, {u"gerra"_s}},
    {"KForQuAndC", Family::CQK, u"Quico"_s, {u"Kico"_s, u"Quiko"_s}},
    {"CorQuForK", Family::CQK, u"kilo"_s, {u"quilo"_s}},
    {"FinalDAndZ", Family::DZ, u"verdad."_s, {u"verdaz."_s}},
    {"FinalZAndD", Family::DZ, u"lápiz"_s, {u"lápid"_s}},
    {"ShortWordKeepsItsFinalD", Family::DZ, u"red"_s, {}},
    {"XAndS", Family::XS, u"explica"_s, {u"esplica"_s}},
    {"SBeforeConsonantAndX", Family::XS, u"espera"_s, {u"expera"_s}},
    {"CcAndSc", Family::CCSC, u"acción"_s, {u"ación"_s}},
    {"ScBeforeI", Family::CCSC, u"piscina"_s, {u"picina"_s, u"pisina"_s}},
    {"OneLetterWordStays", Family::BV, u"y"_s, {}},
    {"DigitsStay", Family::BV, u"b2b"_s, {}},
};

INSTANTIATE_TEST_SUITE_P(Families, FamilyMisspellings, ::testing::ValuesIn(familyCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The letters a misspelling may change in each family, in lower case: what
// the correct word has there and what the faulty one has instead.
QString letters(Family family)
{
    switch (family) {
    case Family::BV: return u"bv"_s;
    case Family::H: return u"h"_s;
    case Family::GJ: return u"gj"_s;
    case Family::LLY: return u"ly"_s;
    case Family::CZS: return u"czs"_s;
    case Family::RR: return u"r"_s;
    case Family::MB: return u"mn"_s;
    case Family::Tildes: return u"aeiouáéíóú"_s;
    case Family::GU: return u"uü"_s;
    case Family::CQK: return u"cqku"_s;
    case Family::DZ: return u"dz"_s;
    case Family::XS: return u"xs"_s;
    case Family::CCSC: return u"cs"_s;
    case Family::Mayusculas: break;
    }
    return {};
}

TEST(Families, EveryMisspellingOfARealPageKeepsItsPunctuationAndChangesOnlyTheFamilysLetters)
{
    int seen = 0;
    for (Family family : families::named(u"todas"_s)) {
        for (const QString& word : storyWords()) {
            for (const QString& faulty : families::misspellings(word, family)) {
                ++seen;
                SCOPED_TRACE((word + u" → "_s + faulty).toStdString());
                EXPECT_NE(faulty, word);
                EXPECT_FALSE(faulty.contains(u' '));
                const families::Parts c = families::split(word);
                const families::Parts f = families::split(faulty);
                EXPECT_EQ(f.lead, c.lead);
                EXPECT_EQ(f.trail, c.trail);
                if (family == Family::Mayusculas) {
                    EXPECT_EQ(f.core.toLower(), c.core.toLower());
                    continue;
                }
                // Outside the family's letters both words read the same.
                const auto rest = [&](const QString& core) {
                    QString out;
                    for (QChar ch : core.toLower()) {
                        if (!letters(family).contains(ch))
                            out += ch;
                    }
                    return out;
                };
                if (family == Family::Tildes)
                    EXPECT_EQ(f.core.size(), c.core.size());
                else
                    EXPECT_EQ(rest(f.core), rest(c.core));
                EXPECT_EQ(f.core[0].isUpper(), c.core[0].isUpper());
            }
        }
    }
    EXPECT_GT(seen, 60);
}

// The cost of a word is bounded: a word full of one family's letters gives
// a few misspellings, not one copy of itself per letter, and a word longer
// than the program shows gives none.
TEST(Families, AWordFullOfAFamilysLettersGivesAFewMisspellings)
{
    const QString word = u"ab"_s.repeated(textfile::MaxWordLength / 2);
    const QStringList forms = families::misspellings(word, Family::BV);
    EXPECT_EQ(forms.size(), 8);
    for (const QString& form : forms)
        EXPECT_EQ(form.size(), word.size());
    EXPECT_TRUE(families::misspellings(word + u'b', Family::BV).isEmpty());
    // Still chosen in a text of such words.
    QRandomGenerator random(5);
    const QList<families::Chosen> chosen =
        families::choose(QStringList(400, word), {}, {Family::BV}, 3, random, {});
    EXPECT_EQ(chosen.size(), 3);
}

TEST(Families, NamesAreTheTeachersAndTodasHasEveryFamily)
{
    EXPECT_EQ(families::names(),
              QStringList({u"bv"_s, u"h"_s, u"gj"_s, u"gu"_s, u"lly"_s, u"czs"_s, u"cqk"_s, u"dz"_s, u"rr"_s,
                           u"mb"_s, u"xs"_s, u"ccsc"_s, u"tildes"_s, u"mayusculas"_s, u"todas"_s}));
    EXPECT_EQ(families::named(u"todas"_s).size(), families::table().size());
    EXPECT_EQ(families::named(u"Todas"_s).size(), families::table().size());
    EXPECT_EQ(families::named(u"rr"_s), QList<Family>{Family::RR});
    EXPECT_TRUE(families::named(u"b-v"_s).isEmpty());
    for (const families::FamilyInfo& f : families::table()) {
        for (const QString& text : {f.code, f.name, f.token}) {
            EXPECT_EQ(families::parse(text), f.family) << text.toStdString();
            EXPECT_EQ(families::parse(text.toUpper()), f.family) << text.toStdString();
        }
        EXPECT_EQ(families::token(f.family), f.token);
        EXPECT_EQ(families::displayName(f.family), f.name);
        EXPECT_EQ(families::fromTokens(f.token), QList<Family>{f.family});
    }
}

struct ParseCase {
    QString text;
    std::optional<Family> family;
};

class FamilyParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(FamilyParse, ReadsCodesAndNamesWithOrWithoutAccentsAndCapitals)
{
    EXPECT_EQ(families::parse(GetParam().text), GetParam().family) << GetParam().text.toStdString();
}

const ParseCase parseCases[] = {
    {u"mayúsculas"_s, Family::Mayusculas}, {u"Mayusculas"_s, Family::Mayusculas},
    {u"MAYÚSCULAS"_s, Family::Mayusculas}, {u"mayúscula"_s, Family::Mayusculas},
    {u"bv"_s, Family::BV},                 {u"B/V"_s, Family::BV},
    {u"m antes de p y b"_s, Family::MB},   {u"M antes de P y B"_s, Family::MB},
    {u"mp/mb"_s, Family::MB},              {u"tilde"_s, Family::Tildes},
    {u"Tildes"_s, Family::Tildes},         {u" ll/y "_s, Family::LLY},
    {u"gu/gü"_s, Family::GU},              {u"gu/gu"_s, Family::GU},
    {u"D/Z finales"_s, Family::DZ},        {u"c/qu/k"_s, Family::CQK},
    {u"todas"_s, std::nullopt},            {u"otra"_s, std::nullopt},
    {u"b-v"_s, std::nullopt},              {u""_s, std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(Families, FamilyParse, ::testing::ValuesIn(parseCases));

struct PairCase {
    QString correct;
    QString faulty;
    QString tokens;
};

void PrintTo(const PairCase& c, std::ostream* out)
{
    *out << c.correct.toStdString() << " → " << c.faulty.toStdString();
}

class FamilyPairs : public ::testing::TestWithParam<PairCase> {};

TEST_P(FamilyPairs, NameExactlyWhatDiffers)
{
    const PairCase& c = GetParam();
    EXPECT_EQ(families::pairTokens(c.correct, c.faulty), c.tokens);
}

const PairCase pairCases[] = {
    {u"hombre"_s, u"ombre"_s, u"h"_s},
    {u"Hombre"_s, u"ombre"_s, u"h+mayúscula"_s},
    {u"Hombre"_s, u"Ombre"_s, u"h"_s},
    {u"hombre"_s, u"honbre"_s, u"mp/mb"_s},
    {u"hombre"_s, u"hombrre"_s, u"r/rr"_s},
    {u"honra"_s, u"onra"_s, u"h"_s},
    {u"honra"_s, u"honrra"_s, u"r/rr"_s},
    {u"hoy"_s, u"oy"_s, u"h"_s},
    {u"hoy"_s, u"hoi"_s, u"otra"_s},
    {u"jamón"_s, u"jamon"_s, u"tilde"_s},
    {u"jamón"_s, u"gamón"_s, u"g/j"_s},
    {u"jamón"_s, u"jamón"_s, u""_s},
    {u"vaca,"_s, u"baca"_s, u"b/v"_s},
    {u"«Había"_s, u"«avía»"_s, u"b/v+h+mayúscula"_s},
    {u"lleva"_s, u"yeva"_s, u"ll/y"_s},
    {u"calló"_s, u"cayó"_s, u"ll/y"_s},
    {u"zapato"_s, u"sapato"_s, u"c/z/s"_s},
    {u"cena"_s, u"sena"_s, u"c/z/s"_s},
    {u"lápiz"_s, u"lápis"_s, u"c/z/s"_s},
    {u"lápiz"_s, u"lápid"_s, u"d/z"_s},
    {u"verdad"_s, u"verdaz"_s, u"d/z"_s},
    {u"perro"_s, u"pero"_s, u"r/rr"_s},
    {u"campo"_s, u"canpo"_s, u"mp/mb"_s},
    {u"árbol"_s, u"arból"_s, u"tilde"_s},
    {u"Madrid"_s, u"madrid"_s, u"mayúscula"_s},
    {u"lunes"_s, u"Lunes"_s, u"mayúscula"_s},
    {u"ONU"_s, u"Onu"_s, u"mayúscula"_s},
    {u"pingüino"_s, u"pinguino"_s, u"gu/gü"_s},
    {u"guerra"_s, u"gerra"_s, u"gu/gü"_s},
    {u"queso"_s, u"keso"_s, u"c/qu/k"_s},
    {u"casa"_s, u"kasa"_s, u"c/qu/k"_s},
    {u"cuando"_s, u"quando"_s, u"c/qu/k"_s},
    {u"extraño"_s, u"estraño"_s, u"x/s"_s},
    {u"acción"_s, u"ación"_s, u"cc/sc"_s},
    {u"acción"_s, u"acsión"_s, u"cc/sc"_s},
    {u"piscina"_s, u"picina"_s, u"cc/sc"_s},
    {u"hueso"_s, u"güeso"_s, u"h"_s},
    {u"gente"_s, u"jente"_s, u"g/j"_s},
    {u"hombre"_s, u"ombrx"_s, u"h+otra"_s},
    {u"gato"_s, u"perro"_s, u"otra"_s},
    {u"gato"_s, u"-"_s, u"otra"_s},
};

INSTANTIATE_TEST_SUITE_P(Families, FamilyPairs, ::testing::ValuesIn(pairCases));

TEST(Families, EveryMisspellingMadeIsNamedByItsOwnFamily)
{
    const QStringList extra{u"pingüino"_s, u"guerra"_s, u"queso"_s, u"kilo"_s, u"verdad"_s, u"lápiz"_s,
                            u"extraño"_s, u"espera"_s, u"acción"_s, u"piscina"_s, u"Hombre"_s};
    int seen = 0;
    for (Family family : families::named(u"todas"_s)) {
        for (const QString& word : storyWords() + extra) {
            for (const QString& faulty : families::misspellings(word, family)) {
                ++seen;
                EXPECT_EQ(families::pairTokens(word, faulty), families::token(family))
                    << word.toStdString() << " → " << faulty.toStdString();
            }
        }
    }
    EXPECT_GT(seen, 80);
}

TEST(Families, TokensGiveTheirFamiliesInTableOrder)
{
    EXPECT_EQ(families::fromTokens(u"h+mayúscula"_s), (QList<Family>{Family::H, Family::Mayusculas}));
    EXPECT_EQ(families::fromTokens(u"mayúscula+b/v"_s), (QList<Family>{Family::BV, Family::Mayusculas}));
    EXPECT_TRUE(families::fromTokens(u"otra"_s).isEmpty());
    EXPECT_TRUE(families::fromTokens(u""_s).isEmpty());
}

// --- Choosing -------------------------------------------------------------

QStringList chosenForms(const QList<families::Chosen>& chosen)
{
    QStringList out;
    for (const families::Chosen& c : chosen)
        out.append(QString::number(c.word) + u':' + c.faulty);
    return out;
}

TEST(Choosing, TheSameSeedChoosesTheSameAndOtherSeedsOthers)
{
    const QStringList words = storyWords();
    const QList<Family> all = families::named(u"todas"_s);
    QSet<QString> differentChoices;
    for (quint32 seed = 0; seed < 20; ++seed) {
        QRandomGenerator first(seed);
        QRandomGenerator second(seed);
        const QStringList a = chosenForms(families::choose(words, {}, all, 6, first, {}));
        const QStringList b = chosenForms(families::choose(words, {}, all, 6, second, {}));
        ASSERT_EQ(a, b) << seed;
        ASSERT_EQ(a.size(), 6);
        differentChoices.insert(a.join(u' '));
    }
    EXPECT_GT(differentChoices.size(), 10);
}

TEST(Choosing, PrefersMisspellingsThatAreNoWords)
{
    // "baca" and "vote" are Spanish words; "bino" is none.
    const QStringList words{u"La"_s, u"vaca"_s, u"bote"_s, u"vino."_s};
    const auto isWord = [](const QString& w) { return w == u"baca"_s || w == u"vote"_s; };
    for (quint32 seed = 0; seed < 30; ++seed) {
        QRandomGenerator random(seed);
        EXPECT_EQ(chosenForms(families::choose(words, {}, {Family::BV}, 1, random, isWord)),
                  QStringList{u"3:bino."_s});
    }
    // Asked for more, it takes real words rather than fail.
    QRandomGenerator random(1);
    EXPECT_EQ(families::choose(words, {}, {Family::BV}, 3, random, isWord).size(), 3);
}

TEST(Choosing, PrefersWordsThatStandOnceAndLeavesExcludedOnes)
{
    // "vaca" twice: marking one would show the answer in the other.
    const QStringList words{u"vaca"_s, u"bebe"_s, u"vaca."_s, u"vino"_s};
    for (quint32 seed = 0; seed < 30; ++seed) {
        QRandomGenerator random(seed);
        const QList<families::Chosen> chosen = families::choose(words, {1}, {Family::BV}, 1, random, {});
        ASSERT_EQ(chosen.size(), 1);
        EXPECT_EQ(chosen.first().word, 3);
    }
}

TEST(Choosing, AmongAllFamiliesCapitalsComeLast)
{
    QRandomGenerator random(5);
    const QStringList words = storyWords();
    for (const families::Chosen& c : families::choose(words, {}, families::named(u"todas"_s), 12, random, {}))
        EXPECT_NE(c.family, Family::Mayusculas) << c.faulty.toStdString();
}

TEST(Choosing, TheSpanishDictionaryKnowsNoneOfTheChosenMisspellings)
{
    const spelling::Dictionary& dictionary = spelling::Dictionary::spanish();
    if (!dictionary.isAvailable())
        GTEST_SKIP() << "no Spanish dictionary is installed";
    EXPECT_TRUE(dictionary.knows(u"vaca"_s));
    EXPECT_TRUE(dictionary.knows(u"baca"_s));
    EXPECT_FALSE(dictionary.knows(u"vurro"_s));
    const auto isWord = [&](const QString& w) { return dictionary.knows(w); };
    const QStringList words = storyWords();
    for (Family family : families::named(u"todas"_s)) {
        if (family == Family::Mayusculas)
            continue;
        for (quint32 seed = 0; seed < 10; ++seed) {
            QRandomGenerator random(seed);
            for (const families::Chosen& c : families::choose(words, {}, {family}, 1, random, isWord))
                EXPECT_FALSE(dictionary.knows(families::split(c.faulty).core)) << c.faulty.toStdString();
        }
    }
}

TEST(Spelling, WithoutADictionaryNothingIsAWord)
{
    const QTemporaryDir empty;
    const spelling::Dictionary none({empty.path()});
    EXPECT_FALSE(none.isAvailable());
    EXPECT_FALSE(none.knows(u"vaca"_s));
}

// --- The notation ---------------------------------------------------------

struct NotationCase {
    const char* name;
    QStringList text;
    QStringList correct;
    QStringList faulty;
    QString error;  // a part of the refusal, or empty
};

void PrintTo(const NotationCase& c, std::ostream* out)
{
    *out << c.name;
}

class Notation : public ::testing::TestWithParam<NotationCase> {};

TEST_P(Notation, GivesBothVersionsOrARefusal)
{
    const NotationCase& c = GetParam();
    const itemwriter::DraftResult result = itemwriter::parse(c.text);
    if (!c.error.isEmpty()) {
        EXPECT_TRUE(result.error.contains(c.error)) << result.error.toStdString();
        return;
    }
    ASSERT_EQ(result.error, QString());
    EXPECT_EQ(result.draft.correctLines, c.correct);
    EXPECT_EQ(result.draft.faultyLines, c.faulty);
    for (qsizetype l = 0; l < c.correct.size(); ++l)
        EXPECT_EQ(c.correct[l].count(u' '), c.faulty[l].count(u' '));
}

const NotationCase notationCases[] = {
    {"WholeWord", {u"Una {vaca|baca} come."_s}, {u"Una vaca come."_s}, {u"Una baca come."_s}, {}},
    {"PunctuationOutside", {u"«{Hola|Ola}», dijo {Ana|ana}."_s}, {u"«Hola», dijo Ana."_s}, {u"«Ola», dijo ana."_s}, {}},
    {"PartOfAWord", {u"{h|}ormiga"_s}, {u"hormiga"_s}, {u"ormiga"_s}, {}},
    {"LinesKeptAsGiven", {u"—¿{Vienes|Bienes}?"_s, u""_s, u"—Sí."_s}, {u"—¿Vienes?"_s, u""_s, u"—Sí."_s},
     {u"—¿Bienes?"_s, u""_s, u"—Sí."_s}, {}},
    {"NoMarks", {u"Mi perro come."_s}, {u"Mi perro come."_s}, {u"Mi perro come."_s}, {}},
    {"SpaceInAMark", {u"{a ver|haber}"_s}, {}, {}, u"línea 1: la falta {a ver|haber} tiene un espacio"_s},
    {"SameForms", {u"{vaca|vaca}"_s}, {}, {}, u"deja la palabra igual"_s},
    {"TwoMarksInAWord", {u"uno {b|v}e{b|v}e"_s}, {}, {}, u"dos faltas en la palabra «bebe»"_s},
    {"Unclosed", {u"bien"_s, u"una {vaca|baca"_s}, {}, {}, u"línea 2: falta sin cerrar"_s},
    {"StrayBar", {u"una | vaca"_s}, {}, {}, u"«|» fuera de una falta"_s},
    {"StrayBrace", {u"una vaca}"_s}, {}, {}, u"«}» fuera de una falta"_s},
    {"NestedMark", {u"{va{ca|ba}|x}"_s}, {}, {}, u"falta sin cerrar o mal escrita"_s},
    {"EmptyWord", {u"una {y|} dos"_s}, {}, {}, u"deja una palabra vacía"_s},
    // A byte-order mark is no part of a text: a reader drops it.
    {"ByteOrderMarkMakesNoMisspelling", {u"Una {\uFEFFvaca|vaca}."_s}, {}, {}, u"deja la palabra igual"_s},
    {"ByteOrderMarksAtTheStartAndInside", {u"\uFEFF\uFEFFUna {vaca|ba\uFEFFca}."_s, u"\uFEFFfin"_s},
     {u"Una vaca."_s, u"fin"_s}, {u"Una baca."_s, u"fin"_s}, {}},
};

INSTANTIATE_TEST_SUITE_P(Crear, Notation, ::testing::ValuesIn(notationCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Drafts, AddedMisspellingsGoInTheFaultyVersionOnlyAndLeaveWrittenOnes)
{
    QStringList text = Story;
    text[0].replace(u"burro?"_s, u"{burro|vurro}?"_s);
    itemwriter::Draft draft = itemwriter::parse(text).draft;
    QRandomGenerator random(3);
    ASSERT_EQ(itemwriter::addMisspellings(draft, {Family::BV}, 4, random, {}), QString());
    EXPECT_EQ(draft.correctLines, Story);
    ASSERT_EQ(draft.misspellings.size(), 5);
    EXPECT_EQ(draft.misspellings.first().faulty, u"vurro?"_s);
    EXPECT_EQ(draft.misspellings.first().line, 1);
    for (const itemwriter::Misspelling& m : draft.misspellings) {
        const QStringList c = draft.correctLines[m.line - 1].split(u' ');
        const QStringList f = draft.faultyLines[m.line - 1].split(u' ');
        ASSERT_EQ(c.size(), f.size());
        EXPECT_TRUE(c.contains(m.correct) && f.contains(m.faulty)) << m.faulty.toStdString();
        EXPECT_TRUE(families::misspellings(m.correct, Family::BV).contains(m.faulty)) << m.faulty.toStdString();
    }
}

TEST(Drafts, TooFewWordsOfTheFamilyLeaveTheDraftAsItWas)
{
    itemwriter::Draft draft = itemwriter::parse({u"Mi perro come pan."_s}).draft;
    const itemwriter::Draft before = draft;
    QRandomGenerator random(1);
    EXPECT_EQ(itemwriter::addMisspellings(draft, {Family::GJ}, 2, random, {}),
              u"se piden 2 faltas más, pero solo 0 palabras del texto admiten una de la familia gj"_s);
    EXPECT_EQ(draft.faultyLines, before.faultyLines);
    EXPECT_TRUE(draft.misspellings.isEmpty());
}

// --- Encodings and limits ---------------------------------------------------

struct EncodingCase {
    const char* name;
    QStringList lines;
    QByteArray bytes;
};

void PrintTo(const EncodingCase& c, std::ostream* out)
{
    *out << c.name;
}

class Encoding : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(Encoding, Windows1252WhenEveryCharacterFitsElseUtf8WithAMark)
{
    const EncodingCase& c = GetParam();
    EXPECT_EQ(itemwriter::encode(c.lines), c.bytes);
    EXPECT_EQ(textfile::splitLines(textfile::decode(c.bytes)), c.lines);
}

const EncodingCase encodingCases[] = {
    {"Ascii", {u"Mi perro"_s, u"come."_s}, "Mi perro\r\ncome.\r\n"},
    {"SpanishLetters", {u"¿Qué año?"_s}, "\xBFQu\xE9 a\xF1o?\r\n"},
    {"CurlyQuotesAndDash", {u"“Sí” —dijo…"_s}, "\x93S\xED\x94 \x97" "dijo\x85\r\n"},
    {"EuroSign", {u"5 €"_s}, "5 \x80\r\n"},
    {"GreekLetterNeedsUtf8", {u"π es pi"_s}, "\xEF\xBB\xBF\xCF\x80 es pi\r\n"},
    {"EmptyLineKept", {u"a"_s, u""_s, u"b"_s}, "a\r\n\r\nb\r\n"},
    // Windows-1252 bytes that would read back as UTF-8 ("Ã©").
    {"LooksLikeUtf8", {u"Ã©"_s}, "\xEF\xBB\xBF\xC3\x83\xC2\xA9\r\n"},
};

INSTANTIATE_TEST_SUITE_P(Crear, Encoding, ::testing::ValuesIn(encodingCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Limits, RefusesWhatTheProgramWouldRefuse)
{
    const auto limits = [](const QStringList& lines) { return itemwriter::checkLimits(itemwriter::parse(lines).draft); };
    EXPECT_EQ(limits({u"Una {vaca|baca}."_s}), QString());
    EXPECT_TRUE(limits({u"Una vaca."_s}).contains(u"no tiene ninguna falta"_s));
    EXPECT_TRUE(limits({}).contains(u"vacío"_s));
    const QString longWord(textfile::MaxWordLength + 1, u'a');
    EXPECT_TRUE(limits({u"{vaca|baca}"_s, u"x "_s + longWord})
                    .startsWith(u"línea 2: la versión correcta: una palabra es demasiado larga: 1001 caracteres"_s));
    EXPECT_TRUE(limits({u"{vaca|baca}"_s + u" y"_s.repeated(textfile::MaxWords)})
                    .contains(u"demasiadas palabras: 32768, y el programa admite como mucho 32767"_s));
    EXPECT_TRUE(limits({u"{vaca|baca}\u0007"_s}).contains(u"carácter de control (código 0x07)"_s));
}

// Drafts as the editor hands them over (not through the notation), and what
// the limits say of the bytes that would be written.
struct WrittenCase {
    const char* name;
    itemwriter::Draft draft;
    QString refusal;  // a part of it; empty when the draft is written
};

void PrintTo(const WrittenCase& c, std::ostream* out)
{
    *out << c.name;
}

class WhatIsWritten : public ::testing::TestWithParam<WrittenCase> {};

TEST_P(WhatIsWritten, IsWhatWasMeantWithinTheLimitsOfItsBytes)
{
    const WrittenCase& c = GetParam();
    const QString refusal = itemwriter::checkLimits(c.draft);
    if (c.refusal.isEmpty()) {
        EXPECT_EQ(refusal, QString());
        return;
    }
    EXPECT_TRUE(refusal.contains(c.refusal)) << refusal.toStdString();
}

itemwriter::Draft oneMisspelling(const QStringList& correct, const QStringList& faulty)
{
    itemwriter::Draft d{correct, faulty, {}};
    const QStringList c = textfile::build(correct).words;
    const QStringList f = textfile::build(faulty).words;
    for (qsizetype k = 0; k < c.size() && k < f.size(); ++k) {
        if (c[k] != f[k])
            d.misspellings.append({1, k, c[k], f[k]});
    }
    return d;
}

// 30000 lines of 138 letters: 4 170 000 bytes with line feeds, 4 200 000
// with the CR LF every written version has, past the 4 MiB the program reads.
QStringList nearTheLimit(const QString& first)
{
    QStringList lines(30000, QString(138, u'a'));
    lines[0] = first + QString(138 - first.size(), u'a');
    return lines;
}

const WrittenCase writtenCases[] = {
    {"Plain", oneMisspelling({u"Una vaca."_s}, {u"Una baca."_s}), {}},
    {"ByteOrderMarkTyped", oneMisspelling({u"\uFEFFvaca"_s}, {u"vaca"_s}), u"marca de orden de bytes (U+FEFF)"_s},
    {"ByteOrderMarkInTheFaultyVersion", oneMisspelling({u"una vaca"_s}, {u"una \uFEFFbaca"_s}),
     u"línea 1: la versión con faltas tiene una marca de orden de bytes"_s},
    {"LineFeedsUnderTheLimitCrLfOver", oneMisspelling(nearTheLimit(u"vaca "_s), nearTheLimit(u"baca "_s)),
     u"la versión correcta ocuparía 4200000 bytes con sus finales de línea"_s},
    {"ACarriageReturnInsideALine", oneMisspelling({u"una vaca\rsola"_s}, {u"una baca\rsola"_s}),
     u"no se leería tal como se ha escrito"_s},
    {"MisspellingsNotThoseOfTheVersions",
     itemwriter::Draft{{u"una vaca"_s}, {u"una baca"_s}, {{1, 0, u"una"_s, u"huna"_s}}},
     u"no se leerían con las faltas que se han puesto"_s},
};

INSTANTIATE_TEST_SUITE_P(Crear, WhatIsWritten, ::testing::ValuesIn(writtenCases),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Numbering and writing ---------------------------------------------------

struct NumberingCase {
    const char* name;
    QStringList files;  // relative to the exercise folder
    int next;
};

void PrintTo(const NumberingCase& c, std::ostream* out)
{
    *out << c.name;
}

class Numbering : public ::testing::TestWithParam<NumberingCase> {};

TEST_P(Numbering, TheNextItemFollowsTheLastOne)
{
    const TempTree tree;
    for (const QString& file : GetParam().files)
        tree.write(file, "x\r\n");
    EXPECT_EQ(itemwriter::nextNumber(tree.path()), GetParam().next);
}

const NumberingCase numberingCases[] = {
    {"NewExercise", {}, 1},
    {"AfterTheLast", {u"correcto/1.txt"_s, u"correcto/2.txt"_s, u"incorrecto/1.txt"_s, u"incorrecto/2.txt"_s}, 3},
    {"AfterAGap", {u"correcto/1.txt"_s, u"correcto/7.txt"_s}, 8},
    {"EitherVersionCounts", {u"incorrecto/4.txt"_s}, 5},
    {"LetterCaseIgnored", {u"Correcto/3.TXT"_s, u"INCORRECTO/2.txt"_s}, 4},
    {"LeadingZerosAndOtherFilesAreNoItems", {u"correcto/09.txt"_s, u"correcto/notas.txt"_s, u"correcto/5.txt.bak"_s}, 1},
};

INSTANTIATE_TEST_SUITE_P(Crear, Numbering, ::testing::ValuesIn(numberingCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Every entry under `folder`, with its bytes, to see that nothing changed.
QMap<QString, QByteArray> snapshot(const QString& folder)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        entries.insert(path, it.fileInfo().isFile() && file.open(QIODevice::ReadOnly) ? file.readAll() : "<folder>");
    }
    return entries;
}

TEST(Writing, WritesBothVersionsIntoTheFoldersAsStored)
{
    const TempTree tree;
    tree.write(u"Mi ejercicio/Correcto/1.txt"_s, "a\r\n");
    const itemwriter::Draft draft = itemwriter::parse({u"Una {vaca|baca} ñu."_s}).draft;
    const itemwriter::WriteResult result = itemwriter::write(tree.file(u"Mi ejercicio"_s), 2, draft, false);
    ASSERT_EQ(result.status, itemwriter::WriteStatus::Written) << result.error.toStdString();
    EXPECT_EQ(result.correctPath, tree.file(u"Mi ejercicio/Correcto/2.txt"_s));
    EXPECT_EQ(result.faultyPath, tree.file(u"Mi ejercicio/incorrecto/2.txt"_s));
    EXPECT_EQ(tree.read(u"Mi ejercicio/Correcto/2.txt"_s), "Una vaca \xF1u.\r\n");
    EXPECT_EQ(tree.read(u"Mi ejercicio/incorrecto/2.txt"_s), "Una baca \xF1u.\r\n");
    // No temporary file is left behind.
    EXPECT_EQ(snapshot(tree.path()).size(), 6);
}

TEST(Writing, NeverOverwritesUnlessAskedAndThenReplacesTheStoredName)
{
    const TempTree tree;
    tree.write(u"E/correcto/1.TXT"_s, "viejo\r\n");
    const itemwriter::Draft draft = itemwriter::parse({u"Una {vaca|baca}."_s}).draft;
    const auto before = snapshot(tree.path());
    const itemwriter::WriteResult refused = itemwriter::write(tree.file(u"E"_s), 1, draft, false);
    EXPECT_EQ(refused.status, itemwriter::WriteStatus::Exists);
    EXPECT_EQ(refused.error, u"el texto 1 ya existe («"_s + tree.file(u"E/correcto/1.TXT"_s) + u"»)"_s);
    EXPECT_EQ(snapshot(tree.path()), before);

    const itemwriter::WriteResult replaced = itemwriter::write(tree.file(u"E"_s), 1, draft, true);
    ASSERT_EQ(replaced.status, itemwriter::WriteStatus::Written);
    EXPECT_EQ(tree.read(u"E/correcto/1.TXT"_s), "Una vaca.\r\n");
    EXPECT_EQ(QDir(tree.file(u"E/correcto"_s)).entryList(QDir::Files), QStringList{u"1.TXT"_s});
    EXPECT_EQ(tree.read(u"E/incorrecto/1.txt"_s), "Una baca.\r\n");
}

TEST(Writing, AFolderInAnItemsPlaceIsRefusedAndNothingWritten)
{
    const TempTree tree;
    tree.mkdir(u"E/incorrecto/1.txt"_s);
    const auto before = snapshot(tree.path());
    const itemwriter::WriteResult result =
        itemwriter::write(tree.file(u"E"_s), 1, itemwriter::parse({u"{vaca|baca}"_s}).draft, true);
    EXPECT_EQ(result.status, itemwriter::WriteStatus::NotAFile);
    EXPECT_EQ(snapshot(tree.path()), before);
}

TEST(Writing, AFolderThatCannotBeMadeLeavesNothing)
{
    const TempTree tree;
    tree.write(u"E"_s, "un archivo donde iría la carpeta");
    const auto before = snapshot(tree.path());
    const itemwriter::WriteResult result =
        itemwriter::write(tree.file(u"E/sub"_s), 1, itemwriter::parse({u"{vaca|baca}"_s}).draft, false);
    EXPECT_EQ(result.status, itemwriter::WriteStatus::CannotWrite);
    EXPECT_TRUE(result.error.startsWith(u"no se puede escribir en la carpeta"_s));
    EXPECT_EQ(snapshot(tree.path()), before);
}

// --- Links out of the exercise ------------------------------------------------

// An exercise folder whose version folders or items lead elsewhere: nothing
// is written through them, replacing or not.
struct LinkedCase {
    const char* name;
    std::function<void(const TempTree&)> link;
    bool written;  // the link stays inside the exercise: written through
};

void PrintTo(const LinkedCase& c, std::ostream* out)
{
    *out << c.name;
}

void linkIn(const TempTree& tree, const QString& target, const QString& relative)
{
    ASSERT_TRUE(QFile::link(target, tree.file(relative))) << relative.toStdString();
}

const LinkedCase linkedCases[] = {
    {"CorrectoLinkedOut", [](const TempTree& t) { linkIn(t, t.file(u"casa"_s), u"E/correcto"_s); }, false},
    {"IncorrectoLinkedOut", [](const TempTree& t) { linkIn(t, t.file(u"casa"_s), u"E/Incorrecto"_s); }, false},
    {"ItemLinkedOut", [](const TempTree& t) {
         t.mkdir(u"E/correcto"_s);
         linkIn(t, t.file(u"casa/1.txt"_s), u"E/correcto/1.txt"_s);
     }, false},
    {"ItemLinkedToAFolderOut", [](const TempTree& t) {
         t.mkdir(u"E/incorrecto"_s);
         linkIn(t, t.file(u"casa"_s), u"E/incorrecto/1.txt"_s);
     }, false},
    {"DanglingVersionFolder", [](const TempTree& t) { linkIn(t, t.file(u"no-existe"_s), u"E/correcto"_s); }, false},
    {"LinkedInsideTheExercise", [](const TempTree& t) {
         t.mkdir(u"E/versiones/bien"_s);
         linkIn(t, t.file(u"E/versiones/bien"_s), u"E/correcto"_s);
     }, true},
};

class LinkedVersions : public ::testing::TestWithParam<LinkedCase> {};

TEST_P(LinkedVersions, AreNotWrittenThrough)
{
    const TempTree tree;
    tree.write(u"casa/1.txt"_s, "la lista de la compra\r\n");
    tree.mkdir(u"E"_s);
    GetParam().link(tree);
    const auto before = snapshot(tree.file(u"casa"_s));
    const auto exercise = snapshot(tree.file(u"E"_s));
    const itemwriter::Draft draft = itemwriter::parse({u"Una {vaca|baca}."_s}).draft;
    for (const bool replace : {false, true}) {
        const itemwriter::WriteResult result = itemwriter::write(tree.file(u"E"_s), 1, draft, replace);
        EXPECT_EQ(snapshot(tree.file(u"casa"_s)), before);
        if (GetParam().written) {
            EXPECT_EQ(result.status, itemwriter::WriteStatus::Written) << replace;
            EXPECT_EQ(tree.read(u"E/versiones/bien/1.txt"_s), "Una vaca.\r\n");
            QFile::remove(tree.file(u"E/versiones/bien/1.txt"_s));
            QFile::remove(tree.file(u"E/incorrecto/1.txt"_s));
            continue;
        }
        EXPECT_EQ(result.status, itemwriter::WriteStatus::Outside) << replace;
        EXPECT_TRUE(result.error.contains(u"lleva fuera de la carpeta del ejercicio"_s)) << result.error.toStdString();
        EXPECT_EQ(snapshot(tree.file(u"E"_s)), exercise);
    }
}

INSTANTIATE_TEST_SUITE_P(Crear, LinkedVersions, ::testing::ValuesIn(linkedCases),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Two writers, one number ---------------------------------------------------

// Writers racing for numbers, each way of claiming a name; every writer
// writes `each` items whose versions say who wrote them.
struct Race {
    const char* name;
    itemwriter::ClaimMethod method;
    int writers;
    int each;
    bool sameNumber;  // every writer asks for item 1 (else the next free one)
};

void PrintTo(const Race& r, std::ostream* out)
{
    *out << r.name;
}

class Races : public ::testing::TestWithParam<Race> {
protected:
    void TearDown() override { itemwriter::setClaimMethod(itemwriter::ClaimMethod::Rename); }
};

TEST_P(Races, NoTextIsLostAndNoItemIsMixed)
{
    const Race& race = GetParam();
    itemwriter::setClaimMethod(race.method);
    const TempTree tree;
    const QString folder = tree.file(u"E"_s);
    std::latch ready(race.writers);
    std::vector<QList<itemwriter::WriteResult>> results(std::size_t(race.writers));
    std::vector<std::thread> threads;
    for (int w = 0; w < race.writers; ++w) {
        threads.emplace_back([&, w] {
            ready.arrive_and_wait();
            for (int i = 0; i < race.each; ++i) {
                const itemwriter::Draft draft = itemwriter::parse({u"texto %1-%2 {vaca|baca}"_s.arg(w).arg(i)}).draft;
                results[std::size_t(w)].append(race.sameNumber ? itemwriter::write(folder, 1, draft, false)
                                                               : itemwriter::writeNew(folder, draft));
            }
        });
    }
    for (std::thread& t : threads)
        t.join();

    QSet<int> numbers;
    int written = 0;
    for (int w = 0; w < race.writers; ++w) {
        for (int i = 0; i < race.each; ++i) {
            const itemwriter::WriteResult& r = results[std::size_t(w)][i];
            if (r.status != itemwriter::WriteStatus::Written) {
                EXPECT_TRUE(race.sameNumber) << r.error.toStdString();
                EXPECT_EQ(r.status, itemwriter::WriteStatus::Exists);
                continue;
            }
            ++written;
            EXPECT_FALSE(numbers.contains(r.number)) << r.number;
            numbers.insert(r.number);
            // The item holds both versions of this writer's text.
            EXPECT_EQ(tree.read(u"E/correcto/%1.txt"_s.arg(r.number)), u"texto %1-%2 vaca\r\n"_s.arg(w).arg(i).toLatin1());
            EXPECT_EQ(tree.read(u"E/incorrecto/%1.txt"_s.arg(r.number)), u"texto %1-%2 baca\r\n"_s.arg(w).arg(i).toLatin1());
        }
    }
    EXPECT_EQ(written, race.sameNumber ? 1 : race.writers * race.each);
    // Nothing else is left: no temporary file, no lock.
    EXPECT_EQ(QDir(tree.file(u"E/correcto"_s)).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(),
              written);
    EXPECT_EQ(QDir(tree.file(u"E/incorrecto"_s)).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(),
              written);
}

const Race races[] = {
    {"RenameNoReplace_NextFree", itemwriter::ClaimMethod::Rename, 8, 6, false},
    {"RenameNoReplace_SameNumber", itemwriter::ClaimMethod::Rename, 8, 1, true},
    {"HardLink_NextFree", itemwriter::ClaimMethod::Link, 8, 6, false},
    {"HardLink_SameNumber", itemwriter::ClaimMethod::Link, 8, 1, true},
    {"LockFile_NextFree", itemwriter::ClaimMethod::Lock, 8, 6, false},
    {"LockFile_SameNumber", itemwriter::ClaimMethod::Lock, 8, 1, true},
};

INSTANTIATE_TEST_SUITE_P(Crear, Races, ::testing::ValuesIn(races),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
