// Content trees as teachers pass them around: empty, huge, binary or badly
// encoded texts, folders and links where files should be, odd exercise names,
// and pictures, animations and sounds that are not what their names promise.
// Whatever the tree holds, the program keeps running, says in Spanish when an
// item cannot be used, and the good exercise beside the bad one still loads
// and can be worked.

#include "tests/support.h"

#include "library/textfile.h"
#include "presentation/clickablelabel.h"
#include "presentation/cueplayer.h"
#include "presentation/richtextbox.h"
#include "presentation/twips.h"
#include "presentation/zarandel.h"
#include "windows/form3.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QtEndian>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <functional>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

const QString Good = QStringLiteral("Bueno");
const QString Bad = QStringLiteral("Malo");
const QString BadFaulty = QStringLiteral("Ejercicios/Malo/incorrecto/1.txt");
const QString BadCorrect = QStringLiteral("Ejercicios/Malo/correcto/1.txt");
const QString Missing = QStringLiteral("No encuentro el archivo");

// --- Making hostile files ------------------------------------------------

// A file of `bytes` bytes that takes no room on disk: it is refused by its size
// before anything is read from it.
void writeSparse(const TempTree& tree, const QString& relative, qint64 bytes, const QByteArray& head = {})
{
    tree.write(relative, head);
    QFile file(tree.file(relative));
    ASSERT_TRUE(file.resize(bytes));
}

void symlink(const TempTree& tree, const QString& target, const QString& relative)
{
    QDir().mkpath(QFileInfo(tree.file(relative)).path());
    ASSERT_TRUE(QFile::link(target, tree.file(relative))) << relative.toStdString();
}

void makePipe(const TempTree& tree, const QString& relative)
{
    QDir().mkpath(QFileInfo(tree.file(relative)).path());
    ASSERT_EQ(::mkfifo(QFile::encodeName(tree.file(relative)).constData(), 0644), 0);
}

void replaceWithFolder(const TempTree& tree, const QString& relative)
{
    QFile::remove(tree.file(relative));
    tree.mkdir(relative);
}

QByteArray pngBytes(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkMagenta);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray jpegBytes(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkYellow);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    return bytes;
}

QByteArray le16(int value)
{
    QByteArray bytes(2, '\0');
    qToLittleEndian<quint16>(quint16(value), bytes.data());
    return bytes;
}

// A GIF whose logical screen is `width` by `height` and which holds `frames`
// frames covering it. Each frame's image data is a few bytes that decode to
// very little: the file stays tiny whatever it claims.
QByteArray gifClaiming(int width, int height, int frames = 1)
{
    QByteArray gif = "GIF89a" + le16(width) + le16(height) + QByteArray("\x80\x00\x00", 3)
        + QByteArray("\x00\x00\x00\xff\xff\xff", 6);
    gif += QByteArray("!\xff\x0bNETSCAPE2.0\x03\x01\x00\x00\x00", 19);
    for (int i = 0; i < frames; ++i) {
        gif += QByteArray("!\xf9\x04\x00\x0a\x00\x00\x00", 8);
        gif += ',' + le16(0) + le16(0) + le16(width) + le16(height) + QByteArray("\x00", 1);
        gif += QByteArray("\x02\x02\x4c\x01\x00", 5);
    }
    return gif + ';';
}

// A PNG header that claims a picture of `width` by `height` pixels.
QByteArray pngClaiming(quint32 width, quint32 height)
{
    QByteArray png = pngBytes(8, 8);
    // The width and height follow the signature, the chunk length and "IHDR".
    qToBigEndian<quint32>(width, png.data() + 16);
    qToBigEndian<quint32>(height, png.data() + 20);
    return png;  // the header's checksum no longer agrees either
}

// A JPEG whose frame header claims `width` by `height` pixels.
QByteArray jpegClaiming(int width, int height)
{
    QByteArray jpeg = jpegBytes(8, 8);
    const qsizetype frame = jpeg.indexOf("\xff\xc0");
    if (frame >= 0) {
        qToBigEndian<quint16>(quint16(height), jpeg.data() + frame + 5);
        qToBigEndian<quint16>(quint16(width), jpeg.data() + frame + 7);
    }
    return jpeg;
}

QByteArray everyByte()
{
    QByteArray bytes;
    for (int i = 0; i < 256; ++i)
        bytes += char(i);
    return bytes.repeated(8);
}

// A WAV file: 16-bit mono PCM, with the header's claims given outright.
QByteArray wav(const QByteArray& samples, int channels = 1, quint32 rate = 22050, int bits = 16,
               std::optional<quint32> dataSize = std::nullopt)
{
    auto le32 = [](quint32 value) {
        QByteArray bytes(4, '\0');
        qToLittleEndian<quint32>(value, bytes.data());
        return bytes;
    };
    const auto blockAlign = quint32(qint64(channels) * bits / 8);
    QByteArray body = "WAVEfmt " + le32(16) + le16(1) + le16(channels) + le32(rate) + le32(rate * blockAlign)
        + le16(int(blockAlign & 0xffff)) + le16(bits);
    body += "data" + le32(dataSize.value_or(quint32(samples.size()))) + samples;
    return "RIFF" + le32(quint32(body.size())) + body;
}

const QByteArray Silence = QByteArray(4000, '\0');

// --- The window and the good exercise -----------------------------------

class HostileContent : public ::testing::Test {
protected:
    HostileContent() { tree.writeItem(Good, 1, {"Mi pero come"}, {"Mi perro come"}); }

    MainWindowHarness& start()
    {
        harness = std::make_unique<MainWindowHarness>(tree.path());
        return *harness;
    }

    Form1& form() { return harness->form(); }
    RichTextBox* text() { return harness->text(); }
    QListWidget* exercises() { return harness->find<QListWidget>("List1"); }
    QListWidget* corrected() { return harness->find<QListWidget>("List4"); }
    QStringList& cues() { return harness->cues.cues; }

    QStringList listed()
    {
        QStringList names;
        for (int i = 0; i < exercises()->count(); ++i)
            names.append(exercises()->item(i)->text());
        return names;
    }

    // Clicks the exercise called `name` in the catalogue.
    void choose(const QString& name)
    {
        const QList<QListWidgetItem*> found = exercises()->findItems(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        exercises()->scrollToItem(found.first());
        harness->chooseExercise(exercises()->row(found.first()));
    }

    // Offset in the shown text where word position `k` starts.
    static int offsetOfWord(const QString& shown, int k)
    {
        int offset = 0;
        for (int i = 0; i < k; ++i) {
            offset = int(shown.indexOf(u' ', offset)) + 1;
            if (shown.at(offset) == u'\n')
                ++offset;
        }
        return offset;
    }

    // Clicks inside word position `k` of the exercise text and checks that the
    // word picked is the one at that position.
    void pickWord(int k)
    {
        const int start = offsetOfWord(text()->text(), k);
        const QString word = form().List3.entry(k);
        harness->clickText(start + int(word.size()) / 2);
        EXPECT_EQ(form().PickedWord, word) << "word " << k;
        EXPECT_EQ(form().List3.count() - form().WordCounter, k) << "word " << k;
        EXPECT_EQ(harness->correction()->text(), word) << "word " << k;
    }

    // Empties the correction box and types `word` there, key by key.
    void retype(const QString& word)
    {
        while (!harness->correction()->text().isEmpty())
            harness->type(QStringLiteral("\b"));
        harness->type(word);
    }

    // The good exercise loads, and a pupil can pick its wrong word and type
    // the right one: it turns blue and the text is finished.
    void expectGoodExerciseWorks()
    {
        const QStringList messagesBefore = harness->messages;
        cues().clear();
        choose(Good);
        ASSERT_EQ(text()->text(), QStringLiteral("Mi pero come \n"));
        harness->clickText(4);
        EXPECT_EQ(harness->correction()->text(), QStringLiteral("pero"));
        harness->type(QStringLiteral("\bro"));
        EXPECT_EQ(text()->text(), QStringLiteral("Mi perro come \n"));
        EXPECT_EQ(colourAt(text(), 3), vbcolor::Blue);
        EXPECT_EQ(form().List3.words(), QStringList({"Mi", "perro", "come"}));
        EXPECT_TRUE(cues().contains(QStringLiteral("acierto")));
        EXPECT_EQ(cues().last(), QStringLiteral("muybien"));
        EXPECT_FALSE(corrected()->findItems(QStringLiteral("perro"), Qt::MatchExactly).isEmpty());
        EXPECT_EQ(harness->messages, messagesBefore);
    }

    TempTree tree;
    std::unique_ptr<MainWindowHarness> harness;
};

// --- Items that cannot be used ------------------------------------------

// An item of the exercise "Malo" spoilt one way, and the first line of the
// message that refuses it.
struct RefusedCase {
    const char* name;
    std::function<void(const TempTree&)> spoil;
    QString message;
    // A file or folder the case makes unreadable: when it can still be read
    // (the tests run as a user who reads everything), the case is skipped.
    QString unreadable = {};
};

void PrintTo(const RefusedCase& c, std::ostream* os)
{
    *os << c.name;
}

const RefusedCase RefusedCases[] = {
    {"OnlyAByteOrderMark", [](const TempTree& t) { t.write(BadFaulty, "\xEF\xBB\xBF"); }, "El archivo está vacío"},
    {"FiftyMegabytes", [](const TempTree& t) { writeSparse(t, BadCorrect, 50LL * 1024 * 1024, "Mi perro come "); },
     "El archivo es demasiado grande"},
    {"APictureInPlaceOfTheText", [](const TempTree& t) { t.write(BadFaulty, pngBytes(40, 30)); },
     "El archivo no es un texto"},
    {"ANulByteInTheText", [](const TempTree& t) { t.write(BadCorrect, QByteArray("Mi perro\0 come\r\n", 16)); },
     "El archivo no es un texto"},
    {"EveryByteValue", [](const TempTree& t) { t.write(BadFaulty, everyByte()); }, "El archivo no es un texto"},
    {"HundredThousandWords",
     [](const TempTree& t) {
         const QByteArray words = QByteArray("palabra ").repeated(100000);
         t.write(BadFaulty, words);
         t.write(BadCorrect, words);
     },
     "El texto tiene demasiadas palabras"},
    {"TenThousandCharacterWord",
     [](const TempTree& t) { t.writeLines(BadFaulty, {"Mi " + QString(10000, u'p') + " come"}); },
     "El texto tiene una palabra demasiado larga"},
    {"AWordOneCharacterTooLong",
     [](const TempTree& t) { t.writeLines(BadCorrect, {"Mi " + QString(textfile::MaxWordLength + 1, u'r') + " come"}); },
     "El texto tiene una palabra demasiado larga"},
    {"UnequalWordPositions", [](const TempTree& t) { t.writeLines(BadCorrect, {"Mi perro", "come hoy"}); },
     "Las dos versiones del texto no tienen el mismo número de palabras"},
    {"MissingCorrectVersion", [](const TempTree& t) { QFile::remove(t.file(BadCorrect)); }, Missing},
    {"FolderInPlaceOfTheFaultyVersion", [](const TempTree& t) { replaceWithFolder(t, BadFaulty); }, Missing},
    {"FolderInPlaceOfTheCorrectVersion", [](const TempTree& t) { replaceWithFolder(t, BadCorrect); }, Missing},
    {"FileInPlaceOfTheVersionFolder",
     [](const TempTree& t) {
         QDir(t.file("Ejercicios/Malo/correcto")).removeRecursively();
         t.write("Ejercicios/Malo/correcto", "Mi perro come\r\n");
     },
     Missing},
    {"LinkLoopInPlaceOfTheFaultyVersion",
     [](const TempTree& t) {
         QFile::remove(t.file(BadFaulty));
         symlink(t, "1.txt", BadFaulty);
     },
     Missing},
    {"LinkLoopInPlaceOfTheVersionFolder",
     [](const TempTree& t) {
         QDir(t.file("Ejercicios/Malo/incorrecto")).removeRecursively();
         symlink(t, "incorrecto", "Ejercicios/Malo/incorrecto");
     },
     Missing},
    {"PipeInPlaceOfTheCorrectVersion",
     [](const TempTree& t) {
         QFile::remove(t.file(BadCorrect));
         makePipe(t, BadCorrect);
     },
     Missing},
    {"UnreadableCorrectVersion",
     [](const TempTree& t) { QFile::setPermissions(t.file(BadCorrect), QFileDevice::Permissions()); },
     "No puedo leer el archivo", BadCorrect},
    {"UnreadableVersionFolder",
     [](const TempTree& t) {
         QFile::setPermissions(t.file("Ejercicios/Malo/incorrecto"), QFileDevice::Permissions());
     },
     Missing, BadFaulty},
};

class RefusedItem : public HostileContent, public ::testing::WithParamInterface<RefusedCase> {
protected:
    ~RefusedItem() override
    {
        // Let the temporary tree be removed.
        QFile::setPermissions(tree.file("Ejercicios/Malo/incorrecto"),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
};

TEST_P(RefusedItem, IsRefusedInSpanishAndTheGoodExerciseStillWorks)
{
    const RefusedCase& c = GetParam();
    tree.writeItem(Bad, 1, {"Mi pero come"}, {"Mi perro come"});
    c.spoil(tree);
    if (!c.unreadable.isEmpty()) {
        QFile probe(tree.file(c.unreadable));
        if (probe.open(QIODevice::ReadOnly))
            GTEST_SKIP() << "this user reads files whatever their permissions";
    }
    start();

    choose(Bad);

    ASSERT_EQ(harness->messages.size(), 1);
    EXPECT_TRUE(harness->messages.first().startsWith(c.message)) << harness->messages.first().toStdString();
    EXPECT_EQ(cues(), QStringList({"no"}));
    EXPECT_EQ(text()->text(), QString());

    expectGoodExerciseWorks();

    // Back to the bad exercise: refused again, and the good text's words are
    // kept, not mixed with anything of the bad item.
    harness->messages.clear();
    choose(Bad);
    ASSERT_EQ(harness->messages.size(), 1);
    EXPECT_TRUE(harness->messages.first().startsWith(c.message));
    EXPECT_EQ(form().List2.words(), QStringList({"Mi", "perro", "come"}));
    EXPECT_EQ(form().List3.words(), QStringList({"Mi", "perro", "come"}));
}

INSTANTIATE_TEST_SUITE_P(, RefusedItem, ::testing::ValuesIn(RefusedCases),
                         [](const ::testing::TestParamInfo<RefusedCase>& info) { return info.param.name; });

// --- Odd texts that are still texts -------------------------------------

TEST_F(HostileContent, LinesWithNothingOnThemAreEmptyWords)
{
    tree.write(BadFaulty, "\r\n\r\n");
    tree.write(BadCorrect, "\n\n");
    start();

    choose(Bad);

    EXPECT_TRUE(harness->messages.isEmpty());
    EXPECT_EQ(text()->text(), QStringLiteral(" \n \n"));
    EXPECT_EQ(form().List3.words(), QStringList({"", ""}));
    harness->clickText(0);
    EXPECT_EQ(form().PickedWord, QString());
    expectGoodExerciseWorks();
}

TEST_F(HostileContent, CrLfAndCrLfMixedEachEndALine)
{
    tree.write(BadFaulty, "Uno pero\rDos\r\nTres\n\rCuatro\r\r\nCinco");
    tree.write(BadCorrect, "Uno perro\nDos\rTres\r\n\nCuatro\n\rCinco\r\n");
    start();

    choose(Bad);

    EXPECT_TRUE(harness->messages.isEmpty());
    EXPECT_EQ(text()->text(), QStringLiteral("Uno pero \nDos \nTres \n \nCuatro \n \nCinco \n"));
    EXPECT_EQ(form().List2.words(), QStringList({"Uno", "perro", "Dos", "Tres", "", "Cuatro", "", "Cinco"}));
    pickWord(1);
    harness->type(QStringLiteral("\bro"));
    EXPECT_EQ(colourAt(text(), 5), vbcolor::Blue);
    pickWord(7);
    EXPECT_EQ(form().PickedWord, QStringLiteral("Cinco"));
    expectGoodExerciseWorks();
}

// Every byte value but NUL, CR, LF and the space, each inside a word: every
// byte is one character of the text, and each word is picked at its own
// position and can be corrected.
TEST_F(HostileContent, StrayBytesOfEveryValueStayInTheirWords)
{
    QList<QByteArray> faultyWords;
    QStringList correct;
    for (int b = 1; b < 256; ++b) {
        if (b == '\r' || b == '\n' || b == ' ')
            continue;
        faultyWords.append(QByteArray("a") + char(b) + 'z');
        correct.append(QStringLiteral("w%1").arg(b));
    }
    // Sixteen words a line.
    QByteArray faulty;
    QStringList correctLines;
    for (int i = 0; i < correct.size(); i += 16) {
        faulty += faultyWords.mid(i, 16).join(' ') + "\r\n";
        correctLines.append(correct.mid(i, 16).join(u' '));
    }
    tree.write(BadFaulty, faulty);
    tree.writeLines(BadCorrect, correctLines);
    start();

    choose(Bad);

    ASSERT_TRUE(harness->messages.isEmpty()) << harness->messages.join(u'|').toStdString();
    const textfile::Version expected = textfile::build(textfile::splitLines(textfile::decodeWindows1252(faulty)));
    EXPECT_EQ(text()->text(), expected.shown);
    ASSERT_EQ(form().List3.words(), expected.words);
    ASSERT_EQ(form().List3.count(), 252);
    for (int word = 0; word < form().List3.count(); ++word)
        pickWord(word);

    // A few of them put right: a tab, a control character, the euro sign, a
    // non-breaking space, a soft hyphen and ÿ.
    for (const int b : {0x09, 0x1F, 0x80, 0xA0, 0xAD, 0xFF}) {
        const int word = int(correct.indexOf(QStringLiteral("w%1").arg(b)));
        pickWord(word);
        retype(correct.at(word));
        EXPECT_EQ(form().List3.entry(word), correct.at(word));
        EXPECT_EQ(colourAt(text(), offsetOfWord(text()->text(), word)), vbcolor::Blue) << "byte " << b;
    }
    expectGoodExerciseWorks();
}

// A non-breaking space (0xA0 in Windows-1252) is no word separator: it stays
// inside its word, on screen and in the word lists alike.
TEST_F(HostileContent, ANonBreakingSpaceStaysInsideItsWord)
{
    tree.write(BadFaulty, "Vale 5\xA0" "euros y 3\xA0" "centimos\r\n");
    tree.write(BadCorrect, "Vale 5\xA0" "euros y 3\xA0" "c\xE9ntimos\r\n");
    start();
    choose(Bad);
    ASSERT_EQ(form().List2.words(), QStringList({"Vale", u"5\u00A0euros"_s, "y", u"3\u00A0céntimos"_s}));
    EXPECT_EQ(text()->text(), u"Vale 5\u00A0euros y 3\u00A0centimos \n"_s);

    pickWord(1);
    harness->type(QStringLiteral("\b"));
    EXPECT_EQ(form().List3.words(), QStringList({"Vale", u"5\u00A0euro"_s, "y", u"3\u00A0centimos"_s}));

    pickWord(3);
    harness->type(QStringLiteral("\b\b\b\b\b\b\b"));
    harness->type(u"éntimos"_s);
    EXPECT_EQ(form().List3.entry(3), u"3\u00A0céntimos"_s);
    EXPECT_EQ(colourAt(text(), offsetOfWord(text()->text(), 3)), vbcolor::Blue);
    expectGoodExerciseWorks();
}

TEST_F(HostileContent, InvalidUtf8IsReadAsWindows1252)
{
    // A valid ñ, then a byte that is no UTF-8: the whole file is Windows-1252.
    tree.write(BadFaulty, "El ni\xC3\xB1o come \xFF" "\r\n");
    tree.write(BadCorrect, "El ni\xC3\xB1o come ya\r\n");
    start();
    choose(Bad);

    EXPECT_EQ(form().List3.words(), QStringList({"El", u"niÃ±o"_s, "come", u"ÿ"_s}));
    EXPECT_EQ(form().List2.words(), QStringList({"El", u"niño"_s, "come", "ya"}));
    pickWord(1);
    retype(u"niño"_s);
    EXPECT_EQ(colourAt(text(), 3), vbcolor::Blue);
    expectGoodExerciseWorks();
}

// UTF-8 can hold characters the text box takes as paragraph breaks of its
// own; they end a line, so that the box and the word lists agree.
TEST_F(HostileContent, ParagraphBreaksInUtf8EndALine)
{
    tree.write(BadFaulty, u"Uno pero\u2029Dos\uFDD0Tres\uFDD1Cuatro\u2028cinco \uFEFFseis"_s.toUtf8());
    tree.write(BadCorrect, u"Uno perro\nDos\nTres\nCuatro\u2028cinco \uFEFFseis"_s.toUtf8());
    start();
    choose(Bad);

    ASSERT_TRUE(harness->messages.isEmpty());
    EXPECT_EQ(text()->text(), u"Uno pero \nDos \nTres \nCuatro\u2028cinco \uFEFFseis \n"_s);
    for (int word = 0; word < form().List3.count(); ++word)
        pickWord(word);
    pickWord(1);
    harness->type(QStringLiteral("\bro"));
    EXPECT_EQ(colourAt(text(), 4), vbcolor::Blue);
    expectGoodExerciseWorks();
}

TEST_F(HostileContent, TheLongestWordAllowedIsShownPickedAndReplaced)
{
    const QString longWord(textfile::MaxWordLength, u'a');
    tree.writeLines(BadFaulty, {"Una " + longWord + " larga"});
    tree.writeLines(BadCorrect, {"Una palabra larga"});
    start();
    choose(Bad);
    ASSERT_TRUE(harness->messages.isEmpty());
    // The whole text can be laid out and drawn.
    QTextDocument* document = text()->document();
    EXPECT_GT(document->documentLayout()->blockBoundingRect(document->lastBlock()).height(), 0);
    EXPECT_FALSE(form().grab().isNull());

    harness->clickText(int(longWord.size()) / 2);
    EXPECT_EQ(form().PickedWord, longWord);
    EXPECT_EQ(harness->correction()->text(), longWord);
    // The pupil selects the whole correction and types over it.
    QTest::keyClick(harness->correction(), Qt::Key_A, Qt::ControlModifier);
    harness->type(QStringLiteral("palabra"));
    EXPECT_EQ(form().List3.words(), QStringList({"Una", "palabra", "larga"}));
    EXPECT_EQ(colourAt(text(), 4), vbcolor::Blue);

    pickWord(2);
    expectGoodExerciseWorks();
}

// --- The catalogue ---------------------------------------------------------

TEST_F(HostileContent, ExerciseNamesWithAccentsSpacesQuotesAndGreatLength)
{
    const QString composed = u"Ñandú ágil"_s;
    const QStringList names{
        composed,
        composed.normalized(QString::NormalizationForm_D),
        u"  con   espacios  "_s,
        u"comillas \"dobles\" y 'simples'"_s,
        u"barra\\invertida y ¿signos? ¡raros! *"_s,
        u"una\nlínea nueva"_s,
        QString(150, u'a') + u' ' + QString(50, u'ñ'),  // 201 characters, 251 bytes
        QString(255, u'z'),
    };
    for (int i = 0; i < names.size(); ++i)
        tree.writeItem(names.at(i), 1, {QStringLiteral("Texto%1 pero").arg(i)}, {QStringLiteral("Texto%1 perro").arg(i)});
    // Folders whose name starts with a dot are hidden and not exercises.
    tree.writeItem(".oculto", 1, {"pero"}, {"perro"});
    tree.writeItem("..dos puntos", 1, {"pero"}, {"perro"});
    start();

    // Every name as stored, in whatever order the catalogue sorts them.
    QStringList expected = names;
    expected.append(Good);
    expected.sort();
    QStringList shown = listed();
    shown.sort();
    EXPECT_EQ(shown, expected);

    for (int i = 0; i < names.size(); ++i) {
        SCOPED_TRACE(i);
        choose(names.at(i));
        EXPECT_TRUE(harness->messages.isEmpty());
        EXPECT_EQ(text()->text(), QStringLiteral("Texto%1 pero \n").arg(i));
        pickWord(1);
        harness->type(QStringLiteral("\bro"));
        EXPECT_EQ(colourAt(text(), offsetOfWord(text()->text(), 1)), vbcolor::Blue);
    }
    expectGoodExerciseWorks();
}

TEST_F(HostileContent, LinkLoopsInTheCatalogueAreListedWithoutHanging)
{
    symlink(tree, ".", "Ejercicios/Bucle");
    symlink(tree, "..", "Ejercicios/Arriba");
    symlink(tree, "Ida", "Ejercicios/Vuelta");
    symlink(tree, "Vuelta", "Ejercicios/Ida");
    symlink(tree, "ninguna/parte", "Ejercicios/Roto");
    symlink(tree, Good, "Ejercicios/Enlace");
    symlink(tree, "..", "Ejercicios/Bueno/incorrecto/arriba");
    start();

    // Links to folders are exercises; links that lead nowhere are not.
    EXPECT_EQ(listed(), QStringList({"Arriba", "Bucle", "Bueno", "Enlace"}));

    for (const QString& name : {QStringLiteral("Bucle"), QStringLiteral("Arriba")}) {
        harness->messages.clear();
        choose(name);
        EXPECT_EQ(harness->messages, QStringList({Missing}));
    }
    harness->messages.clear();
    choose("Enlace");
    EXPECT_TRUE(harness->messages.isEmpty());
    EXPECT_EQ(text()->text(), QStringLiteral("Mi pero come \n"));
    expectGoodExerciseWorks();
}

TEST(HostileCatalogue, ACatalogueFolderLinkedToItselfListsNothing)
{
    TempTree tree;
    symlink(tree, "Ejercicios", "Ejercicios");
    MainWindowHarness harness(tree.path());
    EXPECT_EQ(harness.find<QListWidget>("List1")->count(), 0);
    EXPECT_TRUE(harness.messages.isEmpty());
    QTest::mouseClick(harness.find<QPushButton>("Command3_0"), Qt::LeftButton);
    ASSERT_FALSE(harness.messages.isEmpty());
    for (const QString& message : harness.messages)
        EXPECT_EQ(message, Missing);
}

TEST_F(HostileContent, ThreeHundredExercisesEachKeepTheirOwnItem)
{
    constexpr int Count = 300;
    const auto name = [](int i) { return QStringLiteral("E%1").arg(i, 3, 10, QLatin1Char('0')); };
    for (int i = 1; i <= Count; ++i)
        tree.mkdir("Ejercicios/" + name(i));
    for (const int i : {Count, 299, 150, 72, 71, 1}) {
        tree.writeItem(name(i), 1, {name(i) + " pero"}, {name(i) + " perro"});
        tree.writeItem(name(i), 2, {name(i) + " baca"}, {name(i) + " vaca"});
    }
    start();
    ASSERT_EQ(exercises()->count(), Count + 1);
    ASSERT_GE(form().ItemNumber.size(), Count + 1);

    for (const int i : {Count, 150, 72, 71, 1}) {
        choose(name(i));
        EXPECT_EQ(text()->text(), name(i) + " pero \n");
        QTest::mouseClick(harness->find<QPushButton>("Command3_0"), Qt::LeftButton);
        EXPECT_EQ(text()->text(), name(i) + " baca \n");
    }
    choose(name(299));
    EXPECT_EQ(harness->find<QLineEdit>("Text1")->text(), "1");
    choose(name(Count));
    EXPECT_EQ(harness->find<QLineEdit>("Text1")->text(), "2");
    EXPECT_EQ(text()->text(), name(Count) + " baca \n");
    EXPECT_EQ(form().SelectedExercise, exercises()->count() - 1);
    EXPECT_TRUE(harness->messages.isEmpty());
    expectGoodExerciseWorks();
}

// --- Pictures, animations, the background tile -------------------------

// A picture file spoilt one way.
struct PictureCase {
    const char* name;
    std::function<void(const TempTree&, const QString&)> make;
    bool readable;  // a picture (part of one, perhaps) can still be shown
};

void PrintTo(const PictureCase& c, std::ostream* os)
{
    *os << c.name;
}

const PictureCase PictureCases[] = {
    {"Empty", [](const TempTree& t, const QString& f) { t.write(f, {}); }, false},
    {"Garbage", [](const TempTree& t, const QString& f) { t.write(f, everyByte()); }, false},
    {"HeaderOnly", [](const TempTree& t, const QString& f) { t.write(f, gifClaiming(40, 30).left(13)); }, false},
    {"TruncatedPng", [](const TempTree& t, const QString& f) { t.write(f, pngBytes(64, 48).left(60)); }, false},
    {"TruncatedJpeg", [](const TempTree& t, const QString& f) { t.write(f, jpegBytes(64, 48).chopped(200)); }, true},
    {"ZeroByZero", [](const TempTree& t, const QString& f) { t.write(f, gifClaiming(0, 0)); }, false},
    {"EnormousGif", [](const TempTree& t, const QString& f) { t.write(f, gifClaiming(65535, 65535)); }, false},
    {"EnormousPng", [](const TempTree& t, const QString& f) { t.write(f, pngClaiming(100000, 100000)); }, false},
    {"EnormousJpeg", [](const TempTree& t, const QString& f) { t.write(f, jpegClaiming(65500, 65500)); }, false},
    {"ManyLargeFrames", [](const TempTree& t, const QString& f) { t.write(f, gifClaiming(5000, 5000, 200)); }, true},
    {"Pipe", [](const TempTree& t, const QString& f) { makePipe(t, f); }, false},
    {"Folder", [](const TempTree& t, const QString& f) { t.mkdir(f); }, false},
    {"LinkLoop", [](const TempTree& t, const QString& f) { symlink(t, QFileInfo(f).fileName(), f); }, false},
};

class HostilePicture : public HostileContent, public ::testing::WithParamInterface<PictureCase> {};

// The word picture of "perro" is spoilt; "gato" has a good one.
TEST_P(HostilePicture, AsAWordPictureLeavesThePictureShownBefore)
{
    tree.writePicture("Graficos/gato.gif", 40, 30);
    GetParam().make(tree, "Graficos/perro.gif");
    start();
    expectGoodExerciseWorks();  // perro is now a corrected word
    corrected()->addItem(QStringLiteral("gato"));
    auto clickWord = [this](const QString& word) {
        QListWidgetItem* item = corrected()->findItems(word, Qt::MatchExactly).value(0);
        ASSERT_NE(item, nullptr);
        QTest::mouseClick(corrected()->viewport(), Qt::LeftButton, {}, corrected()->visualItemRect(item).center());
    };
    clickWord("gato");
    ASSERT_NE(form().form3(), nullptr);
    Form3& viewer = *form().form3();
    ASSERT_EQ(viewer.Picture1()->pixmap().size(), QSize(40, 30));
    QTest::mouseClick(viewer.Picture1(), Qt::LeftButton, {}, QPoint(3, 3));

    clickWord("perro");
    QCoreApplication::processEvents();

    if (!GetParam().readable) {
        EXPECT_EQ(viewer.Picture1()->pixmap().size(), QSize(40, 30));
    }
    // Nothing larger than the reader allows is ever made.
    EXPECT_LE(qint64(viewer.width()) * viewer.height(), 128LL * 1024 * 1024 / 4);
    QTest::mouseClick(viewer.Picture1(), Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_TRUE(form().isVisible());
    expectGoodExerciseWorks();
}

// Every animation is spoilt: the runner and the three rewards.
TEST_P(HostilePicture, AsAnimationsShowsNothingAndTheRewardStillEnds)
{
    for (const char* gif : {"gifs/corre.gif", "gifs/1.gif", "gifs/2.gif", "gifs/3.gif"})
        GetParam().make(tree, QString::fromLatin1(gif));
    start();

    expectGoodExerciseWorks();

    auto* runner = harness->find<Zarandel>("Zarandel1");
    auto* reward = harness->find<Zarandel>("Zarandel2");
    EXPECT_TRUE(runner->gifFile().endsWith(QStringLiteral("/gifs/corre.gif")));
    // Whatever plays holds at most a bounded amount of pictures.
    for (Zarandel* animation : {runner, reward}) {
        if (QMovie* movie = animation->movie()) {
            const QSize frame = movie->currentPixmap().size();
            EXPECT_LE(qint64(frame.width()) * frame.height() * std::max(1, movie->frameCount()) * 4,
                      64LL * 1024 * 1024);
        }
    }
    // The reward hides itself when it has nothing (more) to show.
    EXPECT_TRUE(QTest::qWaitFor([reward] { return reward->isHidden(); }, 20000));
    for (int tick = 0; tick < 20; ++tick)
        form().Timer1_Timer();
    expectGoodExerciseWorks();
}

TEST_P(HostilePicture, AsTheBackgroundTileLeavesThePlainBackground)
{
    GetParam().make(tree, "fondo.gif");
    start();
    EXPECT_TRUE(form().isVisible());
    if (!GetParam().readable) {
        EXPECT_TRUE(form().Picture1.isNull());
    }
    EXPECT_LE(qint64(form().Picture1.width()) * form().Picture1.height(), 128LL * 1024 * 1024 / 4);
    expectGoodExerciseWorks();
}

INSTANTIATE_TEST_SUITE_P(, HostilePicture, ::testing::ValuesIn(PictureCases),
                         [](const ::testing::TestParamInfo<PictureCase>& info) { return info.param.name; });

// --- Sound cues, with the real player ------------------------------------

struct SoundCase {
    const char* name;
    std::function<void(const TempTree&, const QString&)> make;
    bool loaded;  // handed to the platform's sound effect, which must cope
};

void PrintTo(const SoundCase& c, std::ostream* os)
{
    *os << c.name;
}

const SoundCase SoundCases[] = {
    {"Empty", [](const TempTree& t, const QString& f) { t.write(f, {}); }, false},
    {"HeaderOnly", [](const TempTree& t, const QString& f) { t.write(f, QByteArray("RIFF\0\0\0\0WAVE", 12)); }, false},
    {"Truncated", [](const TempTree& t, const QString& f) { t.write(f, wav(Silence, 1, 22050, 16, 10000000).left(100)); }, false},
    {"NoChannelsNoRate", [](const TempTree& t, const QString& f) { t.write(f, wav(Silence, 0, 0, 0)); }, true},
    {"EnormousClaims",
     [](const TempTree& t, const QString& f) { t.write(f, wav(Silence, 65535, 0xFFFFFFFF, 65535, 0xFFFFFFFF)); }, false},
    {"Garbage", [](const TempTree& t, const QString& f) { t.write(f, "RIFF\xff\xff\xff\xffWAVE" + everyByte()); }, false},
    {"NotAWave", [](const TempTree& t, const QString& f) { t.write(f, pngBytes(8, 8)); }, false},
    {"OneGigabyte",
     [](const TempTree& t, const QString& f) { writeSparse(t, f, 1LL << 30, wav({}, 1, 22050, 16, 0x3FFFFFF0)); }, false},
    {"Pipe", [](const TempTree& t, const QString& f) { makePipe(t, f); }, false},
    {"Folder", [](const TempTree& t, const QString& f) { t.mkdir(f); }, false},
    {"LinkLoop", [](const TempTree& t, const QString& f) { symlink(t, QFileInfo(f).fileName(), f); }, false},
};

class HostileSound : public ::testing::TestWithParam<SoundCase> {};

// Every cue is spoilt the same way; a whole session runs with the player the
// program uses.
TEST_P(HostileSound, TheRealPlayerNeitherCrashesNorHangs)
{
    TempTree tree;
    tree.writeItem(Good, 1, {"Mi pero come"}, {"Mi perro come"});
    const QStringList names{"acierto", "ayuda", "bien", "cambia", "muybien", "no", "rapido", "resultados"};
    for (const QString& cue : names)
        GetParam().make(tree, "sonidos/" + cue + ".wav");
    for (const QString& cue : names)
        EXPECT_EQ(looksLikeWav(tree.file("sonidos/" + cue + ".wav")), GetParam().loaded) << cue.toStdString();

    SoundEffectCuePlayer player;
    ProgramState state;
    QStringList messages;
    Form1::Services services;
    services.appFolder = tree.path();
    services.cues = &player;
    services.messageBox = [&messages](const QString& text) { messages.append(text); };
    auto window = std::make_unique<Form1>(state, services);
    window->Form_Load();
    window->show();
    auto* list = window->findChild<QListWidget*>("List1");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    auto* text = window->findChild<RichTextBox*>("RichTextBox1");
    ASSERT_EQ(text->text(), QStringLiteral("Mi pero come \n"));

    QTextCursor cursor(text->document());
    cursor.setPosition(4);
    QTest::mouseClick(text->viewport(), Qt::LeftButton, {}, text->cursorRect(cursor).center());
    auto* correction = window->findChild<RichTextBox*>("RichTextBox3");
    QTest::sendKeyEvent(QTest::Click, correction, Qt::Key_Backspace, QString(), {});
    for (const QChar c : QStringLiteral("ro"))
        QTest::sendKeyEvent(QTest::Click, correction, Qt::Key_unknown, QString(c), {});
    EXPECT_EQ(colourAt(text, 3), vbcolor::Blue);  // acierto, muybien
    QTest::mouseClick(window->findChild<QPushButton*>("Command6"), Qt::LeftButton);    // resultados
    QTest::mouseClick(window->findChild<QPushButton*>("Command5_2"), Qt::LeftButton);  // rapido
    QTest::mouseClick(window->findChild<QPushButton*>("Command3_0"), Qt::LeftButton);  // item 2: no
    EXPECT_EQ(messages.value(0), Missing);
    QTest::mouseClick(window->findChild<QPushButton*>("Command3_1"), Qt::LeftButton);  // cambia
    while (!state.TimeUp)
        window->Timer1_Timer();
    QTest::mouseClick(window->findChild<QPushButton*>("Command1"), Qt::LeftButton);  // ayuda
    QTest::mouseClick(window->findChild<QPushButton*>("Command1"), Qt::LeftButton);  // ayuda, back
    cursor.setPosition(4);
    QTest::mouseClick(text->viewport(), Qt::LeftButton, {}, text->cursorRect(cursor).center());
    QTest::sendKeyEvent(QTest::Click, correction, Qt::Key_Backspace, QString(), {});
    for (const QChar c : QStringLiteral("ro"))
        QTest::sendKeyEvent(QTest::Click, correction, Qt::Key_unknown, QString(c), {});
    EXPECT_EQ(colourAt(text, 3), vbcolor::Blue);  // acierto, bien
    QCoreApplication::processEvents();
    window.reset();
}

INSTANTIATE_TEST_SUITE_P(, HostileSound, ::testing::ValuesIn(SoundCases),
                         [](const ::testing::TestParamInfo<SoundCase>& info) { return info.param.name; });

TEST(HostileSoundFiles, AGoodWaveIsStillPlayed)
{
    TempTree tree;
    tree.write("sonidos/acierto.wav", wav(Silence));
    EXPECT_TRUE(looksLikeWav(tree.file("sonidos/acierto.wav")));
}

}  // namespace
