// SPDX-License-Identifier: GPL-3.0-or-later
// The content rules the program and the checker share, one table per rule:
// the limits, where each file is found whatever its letter case, what makes a
// cue a WAV file the program plays, and what makes a text one it reads.

#include "library/catalogue.h"
#include "library/contentrules.h"
#include "library/exercisenames.h"
#include "library/textfile.h"
#include "tests/hostilecontent.h"
#include "tests/support.h"

#include <QDir>
#include <QFile>
#include <QtEndian>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

using namespace Qt::StringLiterals;

namespace {

// --- Limits ------------------------------------------------------------------

// A file at a limit, or just past it, and whether the rule accepts it.
struct LimitRow {
    const char* name;
    std::function<bool(const TempTree&)> accepted;  // writes the file and asks the rule
    bool expected;
};

void PrintTo(const LimitRow& row, std::ostream* os)
{
    *os << row.name;
}

// A text of `size` bytes: lines of 998 letters and CR LF, the last one shorter.
QByteArray textOfSize(qsizetype size)
{
    const QByteArray line = QByteArray(998, 'a') + "\r\n";
    QByteArray text = line.repeated(size / line.size());
    return text + QByteArray(size - text.size(), 'a');
}

bool textAccepted(const TempTree& t, const QByteArray& bytes)
{
    t.write(u"1.txt"_s, bytes);
    return textfile::read(t.file(u"1.txt"_s)).status == textfile::ReadStatus::Ok;
}

bool cueAccepted(const TempTree& t, qsizetype bytes)
{
    // A WAV file whose sound fills the file up to `bytes` bytes.
    const QByteArray head = hostile::wav({});
    QByteArray cue = head + QByteArray(bytes - head.size(), '\0');
    qToLittleEndian<quint32>(quint32(bytes - head.size()), cue.data() + head.size() - 4);
    t.write(u"bien.wav"_s, cue);
    return content::checkCue(t.file(u"bien.wav"_s)).status == content::CueStatus::Ok;
}

bool animationAccepted(const TempTree& t, int width, int height, int frames)
{
    t.write(u"1.gif"_s, hostile::gifClaiming(width, height, frames));
    return content::animationRefusal(t.file(u"1.gif"_s)).status == content::ImageStatus::Ok;
}

bool pictureSizeAccepted(const TempTree& t, int width, int height)
{
    t.write(u"vaca.gif"_s, hostile::gifClaiming(width, height));
    return content::pictureRefusal(t.file(u"vaca.gif"_s)).status == content::ImageStatus::Ok;
}

const LimitRow LimitRows[] = {
    // 4 MiB of text.
    {"TextOfMaxFileBytes", [](const TempTree& t) { return textAccepted(t, textOfSize(textfile::MaxFileBytes)); },
     true},
    {"TextOneByteLarger",
     [](const TempTree& t) { return textAccepted(t, textOfSize(textfile::MaxFileBytes + 1)); }, false},
    // 32767 word positions: 32766 spaces on one line.
    {"TextOfMaxWords",
     [](const TempTree& t) { return textAccepted(t, QByteArray("a ").repeated(textfile::MaxWords - 1) + "a"); },
     true},
    {"TextOfOneWordMore",
     [](const TempTree& t) { return textAccepted(t, QByteArray("a ").repeated(textfile::MaxWords) + "a"); }, false},
    {"WordOfMaxWordLength",
     [](const TempTree& t) { return textAccepted(t, "Una " + QByteArray(textfile::MaxWordLength, 'a')); }, true},
    {"WordOneCharacterLonger",
     [](const TempTree& t) { return textAccepted(t, "Una " + QByteArray(textfile::MaxWordLength + 1, 'a')); }, false},
    // 8 MiB of cue.
    {"CueOfMaxCueBytes", [](const TempTree& t) { return cueAccepted(t, content::MaxCueBytes); }, true},
    {"CueOneByteLarger", [](const TempTree& t) { return cueAccepted(t, content::MaxCueBytes + 1); }, false},
    // 4096 x 4096 x 4 bytes is exactly 64 MiB; one row more is past it, and
    // so is a second frame.
    {"AnimationOfMaxAnimationBytes", [](const TempTree& t) { return animationAccepted(t, 4096, 4096, 1); }, true},
    {"AnimationOneRowLarger", [](const TempTree& t) { return animationAccepted(t, 4096, 4097, 1); }, false},
    {"AnimationWithASecondFrame", [](const TempTree& t) { return animationAccepted(t, 4096, 4096, 2); }, false},
    {"AnimationOfManySmallFrames", [](const TempTree& t) { return animationAccepted(t, 100, 100, 1000); }, true},
    // 8192 x 4096 x 4 bytes is exactly 128 MiB.
    {"PictureOfMaxPictureBytes", [](const TempTree& t) { return pictureSizeAccepted(t, 8192, 4096); }, true},
    {"PictureOneRowLarger", [](const TempTree& t) { return pictureSizeAccepted(t, 8192, 4097); }, false},
};

class Limit : public ::testing::TestWithParam<LimitRow> {};

TEST_P(Limit, IsAcceptedUpToItsValueAndRefusedPastIt)
{
    TempTree tree;
    EXPECT_EQ(GetParam().accepted(tree), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(ContentRules, Limit, ::testing::ValuesIn(LimitRows),
                         [](const ::testing::TestParamInfo<LimitRow>& info) { return info.param.name; });

// --- Where things are, whatever their letter case ----------------------------

struct NameRow {
    const char* stored;  // the file as it lies on disk
    std::function<QString(const QString&)> find;  // the rule, given the tree
    const char* expected;  // the path it gives, under the tree; "" for none
};

void PrintTo(const NameRow& row, std::ostream* os)
{
    *os << row.stored;
}

const NameRow NameRows[] = {
    {"sonidos/acierto.wav", [](const QString& t) { return content::cuePath(t, u"acierto"_s); }, "sonidos/acierto.wav"},
    {"SONIDOS/Acierto.WAV", [](const QString& t) { return content::cuePath(t, u"acierto"_s); }, "SONIDOS/Acierto.WAV"},
    {"Gifs/CORRE.gif", [](const QString& t) { return content::runnerAnimationPath(t); }, "Gifs/CORRE.gif"},
    {"gifs/2.GIF", [](const QString& t) { return content::rewardAnimationPath(t, 2); }, "gifs/2.GIF"},
    {"fondo.gif", [](const QString& t) { return content::backgroundPath(t); }, "fondo.gif"},
    {"Fondo.GIF", [](const QString& t) { return content::backgroundPath(t); }, "Fondo.GIF"},
    {"graficos/Vaca.JPG", [](const QString& t) { return content::wordPicturePath(t, u"vaca"_s); }, "graficos/Vaca.JPG"},
    {"Graficos/árbol.gif", [](const QString& t) { return content::wordPicturePath(t, u"Árbol"_s); },
     "Graficos/árbol.gif"},
    {"Graficos/España..gif", [](const QString& t) { return content::wordPicturePath(t, u"España."_s); },
     "Graficos/España..gif"},
    // The lookup never leaves the pictures folder.
    {"vaca.gif", [](const QString& t) { return content::wordPicturePath(t, u"../vaca"_s); }, ""},
    {"Graficos/vaca.png", [](const QString& t) { return content::wordPicturePath(t, u"vaca"_s); }, ""},
    {"Ejercicios/01/CORRECTO/1.TXT",
     [](const QString& t) { return catalogue::versionPath(t + u"/Ejercicios/01"_s, content::CorrectVersion.toString(), u"1"_s); },
     "Ejercicios/01/CORRECTO/1.TXT"},
};

class NameResolution : public ::testing::TestWithParam<NameRow> {};

TEST_P(NameResolution, FindsTheFileAsStored)
{
    TempTree tree;
    tree.write(QString::fromUtf8(GetParam().stored), "x");
    const QString expected = QString::fromUtf8(GetParam().expected);
    const QString found = GetParam().find(tree.path());
    if (expected.isEmpty())
        EXPECT_TRUE(found.isEmpty()) << found.toStdString();
    else
        EXPECT_EQ(found, tree.file(expected));
}

INSTANTIATE_TEST_SUITE_P(ContentRules, NameResolution, ::testing::ValuesIn(NameRows),
                         [](const ::testing::TestParamInfo<NameRow>& info) {
                             return "Row" + std::to_string(info.index);
                         });

TEST(NameResolution, AGifPictureIsFoundBeforeAJpeg)
{
    TempTree tree;
    tree.write(u"Graficos/vaca.jpg"_s, "x");
    tree.write(u"Graficos/Vaca.GIF"_s, "x");
    EXPECT_EQ(content::wordPicturePath(tree.path(), u"vaca"_s), tree.file(u"Graficos/Vaca.GIF"_s));
}

// --- WAV files ---------------------------------------------------------------

struct WavRow {
    const char* name;
    QByteArray bytes;
    content::CueStatus expected;
};

void PrintTo(const WavRow& row, std::ostream* os)
{
    *os << row.name;
}

// The WAV file of wav() with the bytes at `offset` replaced.
QByteArray patched(QByteArray bytes, qsizetype offset, const QByteArray& with)
{
    bytes.replace(offset, with.size(), with);
    return bytes;
}

using content::CueStatus;
const QByteArray Good = hostile::wav(QByteArray(8, '\0'));
// In wav(): "RIFF" size "WAVE", then "fmt " at 12 (its format tag at 20,
// channels at 22, rate at 24, bits at 34), then "data" at 36 with its size at 40.
const WavRow WavRows[] = {
    {"SixteenBitMonoPcm", Good, CueStatus::Ok},
    {"FloatingPoint", patched(Good, 20, QByteArray("\x03\x00", 2)), CueStatus::Ok},
    {"Extensible", patched(Good, 20, QByteArray("\xFE\xFF", 2)), CueStatus::Ok},
    {"EightBitStereo", hostile::wav(QByteArray(8, '\0'), 2, 8000, 8), CueStatus::Ok},
    {"AnOddSizedNoteBeforeTheSound",
     Good.first(36) + QByteArray("LIST\x03\x00\x00\x00" "abc\0", 12) + Good.sliced(36), CueStatus::Ok},
    {"Empty", QByteArray(), CueStatus::NotWav},
    {"RiffButNotWave", patched(Good, 8, "AVI "), CueStatus::NotWav},
    {"APicture", hostile::pngBytes(4, 4), CueStatus::NotWav},
    {"FormatChunkCutShort", Good.first(24), CueStatus::FormatCut},
    {"FormatChunkTooSmall", patched(Good, 16, QByteArray("\x0E\x00\x00\x00", 4)), CueStatus::FormatCut},
    {"Mp3InsideWav", patched(Good, 20, QByteArray("\x55\x00", 2)), CueStatus::Compressed},
    {"AdpcmInsideWav", patched(Good, 20, QByteArray("\x02\x00", 2)), CueStatus::Compressed},
    {"NoChannels", patched(Good, 22, QByteArray("\x00\x00", 2)), CueStatus::NoChannels},
    {"NoRate", patched(Good, 24, QByteArray(4, '\0')), CueStatus::NoChannels},
    {"NoBits", patched(Good, 34, QByteArray(2, '\0')), CueStatus::NoChannels},
    {"NoFormatChunk", patched(Good, 12, "junk"), CueStatus::NoFormat},
    {"NoDataChunk", Good.first(36), CueStatus::NoData},
    {"SoundCutShort", Good.chopped(2), CueStatus::DataCut},
    {"SoundClaimingFourGigabytes", patched(Good, 40, QByteArray(4, '\xFF')), CueStatus::DataCut},
};

class WavFile : public ::testing::TestWithParam<WavRow> {};

TEST_P(WavFile, IsJudgedByItsChunks)
{
    EXPECT_EQ(int(content::checkWav(GetParam().bytes).status), int(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(ContentRules, WavFile, ::testing::ValuesIn(WavRows),
                         [](const ::testing::TestParamInfo<WavRow>& info) { return info.param.name; });

TEST(CueFile, OnlyAnOrdinaryFileIsACue)
{
    TempTree tree;
    tree.mkdir(u"sonidos/bien.wav"_s);
    EXPECT_EQ(content::checkCue(tree.file(u"sonidos/bien.wav"_s)).status, CueStatus::Missing);
    hostile::makePipe(tree, u"sonidos/no.wav"_s);
    EXPECT_EQ(content::checkCue(tree.file(u"sonidos/no.wav"_s)).status, CueStatus::Missing);
    EXPECT_EQ(content::checkCue(tree.file(u"sonidos/ayuda.wav"_s)).status, CueStatus::Missing);
}

// --- Texts -------------------------------------------------------------------

struct TextRow {
    const char* name;
    QByteArray bytes;
    textfile::ReadStatus expected;
    int line;  // the line the finding names; 0 for none
};

void PrintTo(const TextRow& row, std::ostream* os)
{
    *os << row.name;
}

QByteArray utf16le(const QString& text, bool mark)
{
    return (mark ? QByteArray("\xFF\xFE", 2) : QByteArray())
        + QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

QByteArray utf16be(const QString& text, bool mark)
{
    QByteArray bytes = mark ? QByteArray("\xFE\xFF", 2) : QByteArray();
    for (const QChar c : text)
        bytes += char(c.unicode() >> 8) + QByteArray(1, char(c.unicode() & 0xFF));
    return bytes;
}

using textfile::ReadStatus;
const TextRow TextRows[] = {
    {"CrLfLineEnds", "Mi perro\r\ncome\r\n", ReadStatus::Ok, 0},
    {"BareLineFeeds", "Mi perro\ncome\n", ReadStatus::Ok, 0},
    {"BareCarriageReturns", "Mi perro\rcome\r", ReadStatus::Ok, 0},
    {"ATab", "Mi\tperro\r\n", ReadStatus::Ok, 0},
    {"Windows1252Accents", "El ni\xF1o cami\xF3n\r\n", ReadStatus::Ok, 0},
    {"Utf8Accents", "El ni\xC3\xB1o\r\n", ReadStatus::Ok, 0},
    {"Utf8WithAByteOrderMark", "\xEF\xBB\xBF" "El ni\xC3\xB1o\r\n", ReadStatus::Ok, 0},
    {"OnlyEmptyLines", "\r\n\r\n", ReadStatus::Ok, 0},
    {"Empty", "", ReadStatus::Empty, 0},
    {"OnlyAByteOrderMark", "\xEF\xBB\xBF", ReadStatus::Empty, 0},
    {"ANulByteOnLineTwo", QByteArray("Mi perro\r\nco\0me\r\n", 17), ReadStatus::NotText, 2},
    {"AnEscapeOnLineThree", "Uno\r\nDos\r\nTr\x1b" "es\r\n", ReadStatus::ControlCharacter, 3},
    {"ADeleteCharacter", "Mi perro\x7F\r\n", ReadStatus::ControlCharacter, 1},
    {"AFormFeed", "Mi perro\r\n\x0C\r\n", ReadStatus::ControlCharacter, 2},
    {"AVerticalTab", "Mi\x0Bperro\r\n", ReadStatus::ControlCharacter, 1},
    {"AByteWindows1252LeavesUndefined", "Mi perro\x81\r\n", ReadStatus::ControlCharacter, 1},
    {"AC1ControlInUtf8", "Mi ni\xC3\xB1o\xC2\x85\r\n", ReadStatus::ControlCharacter, 1},
    {"Utf16LittleEndianWithAMark", utf16le(u"Mi perro\r\n"_s, true), ReadStatus::Utf16, 0},
    {"Utf16BigEndianWithAMark", utf16be(u"Mi perro\r\n"_s, true), ReadStatus::Utf16, 0},
    {"Utf16LittleEndianWithoutAMark", utf16le(u"El niño come\r\n"_s, false), ReadStatus::Utf16, 0},
    {"Utf16BigEndianWithoutAMark", utf16be(u"El niño come\r\n"_s, false), ReadStatus::Utf16, 0},
    {"OneWordTooLongOnLineTwo", "Uno\r\n" + QByteArray(textfile::MaxWordLength + 1, 'a') + "\r\n",
     ReadStatus::WordTooLong, 2},
};

class TextValidation : public ::testing::TestWithParam<TextRow> {};

TEST_P(TextValidation, GivesTheStatusAndTheLine)
{
    const textfile::ReadResult result = textfile::check(GetParam().bytes);
    EXPECT_EQ(int(result.status), int(GetParam().expected));
    EXPECT_EQ(result.finding.line, GetParam().line);
    EXPECT_EQ(result.version.words.isEmpty(), GetParam().expected != ReadStatus::Ok);
}

INSTANTIATE_TEST_SUITE_P(ContentRules, TextValidation, ::testing::ValuesIn(TextRows),
                         [](const ::testing::TestParamInfo<TextRow>& info) { return info.param.name; });

TEST(TextValidation, CountsTheControlCharactersAfterTheFirst)
{
    const textfile::ReadResult result = textfile::check("a\x01 b\x02\r\nc\x03\r\n");
    EXPECT_EQ(result.status, ReadStatus::ControlCharacter);
    EXPECT_EQ(result.finding.value, 0x01);
    EXPECT_EQ(result.finding.more, 2);
}

}  // namespace

// Results rows that name a shipped exercise by its former name count as the
// exercise it is now; every other name is kept as written.
struct RenameRow {
    const char* label;
    QString recorded;
    QString current;
};

const RenameRow RenameRows[] = {
    {"FirstYearsCapitals", u"01 Mayúsculas (1.º y 2.º)"_s, u"01 A y a"_s},
    {"Signs", u"02 Signos ¿ y ¡ (1.º y 2.º)"_s, u"02 ¿ y ¡"_s},
    {"ThirdYearsMovedOnFour", u"06 B y V (3.º y 4.º)"_s, u"10 B y V"_s},
    {"Review", u"14 Repaso (3.º y 4.º)"_s, u"18 Repaso"_s},
    {"FifthYearsMovedOnFive", u"15 Tildes diacríticas (5.º y 6.º)"_s, u"20 Tú y tu"_s},
    {"LastOne", u"20 Repaso final (5.º y 6.º)"_s, u"25 Repaso"_s},
    {"OtherLetterCase", u"06 b y v (3.º Y 4.º)"_s, u"10 B y V"_s},
    {"SpacesAround", u" 12 Tildes (3.º y 4.º) "_s, u"16 Tildes"_s},
    {"DecomposedLetter", u"07 G, J y GU\u0308 (3.º y 4.º)"_s, u"11 G, J, GÜ"_s},
    {"AlreadyNew", u"10 B y V"_s, u"10 B y V"_s},
    {"TeachersOwn", u"12 Mi ejercicio"_s, u"12 Mi ejercicio"_s},
    {"OldNumberOtherName", u"06 B y V"_s, u"06 B y V"_s},
    {"Empty", QString(), QString()},
};

class ExerciseRename : public ::testing::TestWithParam<RenameRow> {};

TEST_P(ExerciseRename, GivesTheNameShippedToday)
{
    EXPECT_EQ(content::currentExerciseName(GetParam().recorded), GetParam().current);
}

INSTANTIATE_TEST_SUITE_P(ContentRules, ExerciseRename, ::testing::ValuesIn(RenameRows),
                         [](const auto& info) { return std::string(info.param.label); });

// The table agrees with the shipped content: every new name is a shipped
// folder, no old one is, and every shipped folder's number tells its school
// years.
TEST(ExerciseRename, TableMatchesTheShippedFolders)
{
    const QDir shipped(QStringLiteral(ASSETS_PATH "/Ejercicios"));
    const QStringList folders = shipped.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_FALSE(folders.isEmpty());
    for (const content::RenamedExercise& r : content::renamedExercises()) {
        EXPECT_TRUE(folders.contains(r.newName)) << r.newName.toStdString();
        EXPECT_FALSE(folders.contains(r.oldName)) << r.oldName.toStdString();
    }
    for (const QString& folder : folders)
        EXPECT_FALSE(content::schoolYears(folder.left(2).toInt()).isEmpty()) << folder.toStdString();
    EXPECT_EQ(content::schoolYears(9), u"1.º y 2.º"_s);
    EXPECT_EQ(content::schoolYears(10), u"3.º y 4.º"_s);
    EXPECT_EQ(content::schoolYears(29), u"5.º y 6.º"_s);
    EXPECT_TRUE(content::schoolYears(30).isEmpty());
    EXPECT_TRUE(content::schoolYears(0).isEmpty());
}
