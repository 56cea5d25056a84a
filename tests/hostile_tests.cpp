// SPDX-License-Identifier: GPL-3.0-or-later
// Content trees as teachers pass them around: empty, huge, binary or badly
// encoded texts, folders and links where files should be, odd exercise names,
// and pictures, animations and sounds that are not what their names promise.
// Whatever the tree holds, the program keeps running, says in Spanish when an
// item cannot be used, and the good exercise beside the bad one still loads
// and can be worked.

#include "tests/hostilecontent.h"
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
using namespace hostile;

namespace {

// --- The window and the good exercise -----------------------------------

class HostileContent : public MainWindowTest {
protected:
    HostileContent() { tree.writeItem(Good, 1, {"Mi pero come"}, {"Mi perro come"}); }

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
        const QString word = form().faultyWords().entry(k);
        harness->clickText(start + int(word.size()) / 2);
        EXPECT_EQ(form().pickedWord(), word) << "word " << k;
        EXPECT_EQ(form().faultyWords().count() - form().wordCounter(), k) << "word " << k;
        EXPECT_EQ(correction()->text(), word) << "word " << k;
    }

    // Empties the correction box and types `word` there, key by key.
    void retype(const QString& word)
    {
        while (!correction()->text().isEmpty())
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
        EXPECT_EQ(correction()->text(), QStringLiteral("pero"));
        harness->type(QStringLiteral("\bro"));
        EXPECT_EQ(text()->text(), QStringLiteral("Mi perro come \n"));
        EXPECT_EQ(colourAt(text(), 3), vbcolor::Blue);
        EXPECT_EQ(form().faultyWords().words(), QStringList({"Mi", "perro", "come"}));
        EXPECT_TRUE(cues().contains(QStringLiteral("acierto")));
        EXPECT_EQ(cues().last(), QStringLiteral("muybien"));
        EXPECT_FALSE(corrected()->findItems(QStringLiteral("perro"), Qt::MatchExactly).isEmpty());
        EXPECT_EQ(harness->messages, messagesBefore);
    }
};

// --- Items that cannot be used ------------------------------------------

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
    EXPECT_EQ(form().correctWords().words(), QStringList({"Mi", "perro", "come"}));
    EXPECT_EQ(form().faultyWords().words(), QStringList({"Mi", "perro", "come"}));
}

INSTANTIATE_TEST_SUITE_P(, RefusedItem, ::testing::ValuesIn(RefusedCases),
                         [](const ::testing::TestParamInfo<RefusedCase>& info) { return info.param.name; });

// --- Odd texts that are still texts -------------------------------------

TEST_F(HostileContent, LinesWithNothingOnThemAreEmptyWords)
{
    acceptedText("LinesWithNothingOnThem").write(tree);
    start();

    choose(Bad);

    EXPECT_TRUE(harness->messages.isEmpty());
    EXPECT_EQ(text()->text(), QStringLiteral(" \n \n"));
    EXPECT_EQ(form().faultyWords().words(), QStringList({"", ""}));
    harness->clickText(0);
    EXPECT_EQ(form().pickedWord(), QString());
    expectGoodExerciseWorks();
}

TEST_F(HostileContent, CrLfAndCrLfMixedEachEndALine)
{
    acceptedText("CrLfAndCrLfMixed").write(tree);
    start();

    choose(Bad);

    EXPECT_TRUE(harness->messages.isEmpty());
    EXPECT_EQ(text()->text(), QStringLiteral("Uno pero \nDos \nTres \n \nCuatro \n \nCinco \n"));
    EXPECT_EQ(form().correctWords().words(), QStringList({"Uno", "perro", "Dos", "Tres", "", "Cuatro", "", "Cinco"}));
    pickWord(1);
    harness->type(QStringLiteral("\bro"));
    EXPECT_EQ(colourAt(text(), 5), vbcolor::Blue);
    pickWord(7);
    EXPECT_EQ(form().pickedWord(), QStringLiteral("Cinco"));
    expectGoodExerciseWorks();
}

// Every byte value but NUL, CR, LF, the space and the control characters,
// each inside a word: every byte is one character of the text, and each word
// is picked at its own position and can be corrected.
TEST_F(HostileContent, StrayBytesOfEveryValueStayInTheirWords)
{
    const QStringList correct = writeStrayBytes(tree);
    const QByteArray faulty = tree.read(BadFaulty);
    start();

    choose(Bad);

    ASSERT_TRUE(harness->messages.isEmpty()) << harness->messages.join(u'|').toStdString();
    const textfile::Version expected = textfile::build(textfile::splitLines(textfile::decodeWindows1252(faulty)));
    EXPECT_EQ(text()->text(), expected.shown);
    ASSERT_EQ(form().faultyWords().words(), expected.words);
    ASSERT_EQ(form().faultyWords().count(), 218);
    for (int word = 0; word < form().faultyWords().count(); ++word)
        pickWord(word);

    // A few of them put right: a tab, a quote, the euro sign, a non-breaking
    // space, a soft hyphen and ÿ.
    for (const int b : {0x09, 0x22, 0x80, 0xA0, 0xAD, 0xFF}) {
        const int word = int(correct.indexOf(QStringLiteral("w%1").arg(b)));
        pickWord(word);
        retype(correct.at(word));
        EXPECT_EQ(form().faultyWords().entry(word), correct.at(word));
        EXPECT_EQ(colourAt(text(), offsetOfWord(text()->text(), word)), vbcolor::Blue) << "byte " << b;
    }
    expectGoodExerciseWorks();
}

// A non-breaking space (0xA0 in Windows-1252) is no word separator: it stays
// inside its word, on screen and in the word lists alike.
TEST_F(HostileContent, ANonBreakingSpaceStaysInsideItsWord)
{
    acceptedText("ANonBreakingSpace").write(tree);
    start();
    choose(Bad);
    ASSERT_EQ(form().correctWords().words(), QStringList({"Vale", u"5\u00A0euros"_s, "y", u"3\u00A0céntimos"_s}));
    EXPECT_EQ(text()->text(), u"Vale 5\u00A0euros y 3\u00A0centimos \n"_s);

    pickWord(1);
    harness->type(QStringLiteral("\b"));
    EXPECT_EQ(form().faultyWords().words(), QStringList({"Vale", u"5\u00A0euro"_s, "y", u"3\u00A0centimos"_s}));

    pickWord(3);
    harness->type(QStringLiteral("\b\b\b\b\b\b\b"));
    harness->type(u"éntimos"_s);
    EXPECT_EQ(form().faultyWords().entry(3), u"3\u00A0céntimos"_s);
    EXPECT_EQ(colourAt(text(), offsetOfWord(text()->text(), 3)), vbcolor::Blue);
    expectGoodExerciseWorks();
}

TEST_F(HostileContent, InvalidUtf8IsReadAsWindows1252)
{
    // A valid ñ, then a byte that is no UTF-8: the whole file is Windows-1252.
    acceptedText("InvalidUtf8").write(tree);
    start();
    choose(Bad);

    EXPECT_EQ(form().faultyWords().words(), QStringList({"El", u"niÃ±o"_s, "come", u"ÿ"_s}));
    EXPECT_EQ(form().correctWords().words(), QStringList({"El", u"niño"_s, "come", "ya"}));
    pickWord(1);
    retype(u"niño"_s);
    EXPECT_EQ(colourAt(text(), 3), vbcolor::Blue);
    expectGoodExerciseWorks();
}

// UTF-8 can hold characters the text box takes as paragraph breaks of its
// own; they end a line, so that the box and the word lists agree.
TEST_F(HostileContent, ParagraphBreaksInUtf8EndALine)
{
    acceptedText("ParagraphBreaksInUtf8").write(tree);
    start();
    choose(Bad);

    ASSERT_TRUE(harness->messages.isEmpty());
    EXPECT_EQ(text()->text(), u"Uno pero \nDos \nTres \nCuatro\u2028cinco \uFEFFseis \n"_s);
    for (int word = 0; word < form().faultyWords().count(); ++word)
        pickWord(word);
    pickWord(1);
    harness->type(QStringLiteral("\bro"));
    EXPECT_EQ(colourAt(text(), 4), vbcolor::Blue);
    expectGoodExerciseWorks();
}

TEST_F(HostileContent, TheLongestWordAllowedIsShownPickedAndReplaced)
{
    const QString longWord(textfile::MaxWordLength, u'a');
    acceptedText("TheLongestWordAllowed").write(tree);
    start();
    choose(Bad);
    ASSERT_TRUE(harness->messages.isEmpty());
    // The whole text can be laid out and drawn.
    QTextDocument* document = text()->document();
    EXPECT_GT(document->documentLayout()->blockBoundingRect(document->lastBlock()).height(), 0);
    EXPECT_FALSE(form().grab().isNull());

    harness->clickText(int(longWord.size()) / 2);
    EXPECT_EQ(form().pickedWord(), longWord);
    EXPECT_EQ(correction()->text(), longWord);
    // The pupil selects the whole correction and types over it.
    QTest::keyClick(correction(), Qt::Key_A, Qt::ControlModifier);
    harness->type(QStringLiteral("palabra"));
    EXPECT_EQ(form().faultyWords().words(), QStringList({"Una", "palabra", "larga"}));
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

class HostileCatalogue : public MainWindowTest {};

TEST_F(HostileCatalogue, ACatalogueFolderLinkedToItselfListsNothing)
{
    symlink(tree, "Ejercicios", "Ejercicios");
    start();
    EXPECT_EQ(exercises()->count(), 0);
    EXPECT_TRUE(harness->messages.isEmpty());
    click("Command3_0");
    ASSERT_FALSE(harness->messages.isEmpty());
    for (const QString& message : harness->messages)
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
    ASSERT_GE(form().itemNumbers().size(), Count + 1);

    for (const int i : {Count, 150, 72, 71, 1}) {
        choose(name(i));
        EXPECT_EQ(text()->text(), name(i) + " pero \n");
        click("Command3_0");
        EXPECT_EQ(text()->text(), name(i) + " baca \n");
    }
    choose(name(299));
    EXPECT_EQ(itemBox()->text(), "1");
    choose(name(Count));
    EXPECT_EQ(itemBox()->text(), "2");
    EXPECT_EQ(text()->text(), name(Count) + " baca \n");
    EXPECT_EQ(form().selectedExercise(), exercises()->count() - 1);
    EXPECT_TRUE(harness->messages.isEmpty());
    expectGoodExerciseWorks();
}

// --- Pictures, animations, the background tile -------------------------

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

    Zarandel* const figure = runner();
    Zarandel* const prize = reward();
    EXPECT_TRUE(figure->gifFile().endsWith(QStringLiteral("/gifs/corre.gif")));
    // Whatever plays holds at most a bounded amount of pictures.
    for (Zarandel* animation : {figure, prize}) {
        if (QMovie* movie = animation->movie()) {
            const QSize frame = movie->currentPixmap().size();
            EXPECT_LE(qint64(frame.width()) * frame.height() * std::max(1, movie->frameCount()) * 4,
                      64LL * 1024 * 1024);
        }
    }
    // The reward hides itself when it has nothing (more) to show.
    EXPECT_TRUE(QTest::qWaitFor([prize] { return prize->isHidden(); }, 20000));
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
        EXPECT_TRUE(form().background().isNull());
    }
    EXPECT_LE(qint64(form().background().width()) * form().background().height(), 128LL * 1024 * 1024 / 4);
    expectGoodExerciseWorks();
}

INSTANTIATE_TEST_SUITE_P(, HostilePicture, ::testing::ValuesIn(PictureCases),
                         [](const ::testing::TestParamInfo<PictureCase>& info) { return info.param.name; });

// --- Sound cues, with the real player ------------------------------------

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
    RecordingPrompts prompts;
    const QStringList& messages = prompts.informed;
    Form1::Services services;
    services.appFolder = tree.path();
    services.cues = &player;
    services.prompts = &prompts;
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
