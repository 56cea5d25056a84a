// SPDX-License-Identifier: GPL-3.0-or-later
// The picture of a corrected word: a click on a word of the corrected-words
// list looks for its picture in "Graficos" and shows it in the borderless
// picture window, sized to the picture and centred on the screen; a click on
// the picture brings the main window back.

#include "tests/support.h"

#include "presentation/clickablelabel.h"
#include "presentation/richtextbox.h"
#include "presentation/twips.h"
#include "windows/form3.h"
#include "windows/form4.h"

#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <ostream>
#include <sstream>
#include <vector>

namespace {

struct PictureFile {
    const char* relative;  // under the content tree
    int width;
    int height;
};

// Where a top-level window of `size` pixels sits on a screen of `screen`
// twips: half the difference in twips, rounded toward minus infinity.
QPoint centredOn(QSize screen, QSize size)
{
    const double left = std::floor((screen.width() - twips::fromPixels(size.width())) / 2);
    const double top = std::floor((screen.height() - twips::fromPixels(size.height())) / 2);
    return {twips::toPixels(left), twips::toPixels(top)};
}

class WordPictureTest : public MainWindowTest {
protected:
    // The window, started when first needed.
    MainWindowHarness& window() { return harness ? *harness : start(); }
    QListWidget* list4() { return window().find<QListWidget>("List4"); }
    Form3* viewer() { return window().form().form3(); }

    // Clicks `word` in the corrected-words list, adding it there first when
    // it is not listed yet.
    void clickWord(const QString& word)
    {
        QListWidget* list = list4();
        const QList<QListWidgetItem*> found = list->findItems(word, Qt::MatchExactly | Qt::MatchCaseSensitive);
        QListWidgetItem* item = nullptr;
        if (found.isEmpty()) {
            list->addItem(word);
            item = list->item(list->count() - 1);
        } else {
            item = found.first();
        }
        list->scrollToItem(item);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
    }

    // Clicks a word that has a picture and waits for the viewer to come up.
    void openPicture(const QString& word)
    {
        clickWord(word);
        ASSERT_NE(viewer(), nullptr);
        EXPECT_TRUE(QTest::qWaitForWindowActive(viewer()));
    }

    // The pupil returns to the main window by clicking the picture.
    void clickPicture()
    {
        ASSERT_NE(viewer(), nullptr);
        QTest::mouseClick(viewer()->Picture1(), Qt::LeftButton, {}, QPoint(3, 3));
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window().form()));
    }

    // The viewer shows a picture of `size` pixels in its 2-pixel frame, and
    // the window is exactly that big, centred on the screen.
    void expectShowing(QSize size)
    {
        ASSERT_NE(viewer(), nullptr);
        const Form3& form3 = *viewer();
        EXPECT_TRUE(form3.isVisible());
        EXPECT_EQ(form3.Picture1()->pixmap().size(), size);
        const QSize framed = size + QSize(4, 4);
        EXPECT_EQ(form3.Picture1()->geometry(), QRect(QPoint(0, 0), framed));
        EXPECT_EQ(form3.size(), framed);
        EXPECT_EQ(form3.pos(), centredOn(twips::screenSize(), framed));
    }
};

// Which file the lookup finds for a word, given the files of the tree.
struct LookupCase {
    const char* name;
    std::vector<PictureFile> files;
    std::vector<const char*> folders;
    const char* word;
    const char* shownFile;  // under the tree, as stored on disk; nullptr: no picture
    QSize size;
};

class WordPictureLookup : public WordPictureTest, public ::testing::WithParamInterface<LookupCase> {};

TEST_P(WordPictureLookup, ShowsTheFileNamedAfterTheWord)
{
    const LookupCase& c = GetParam();
    for (const PictureFile& f : c.files)
        tree.writePicture(QString::fromUtf8(f.relative), f.width, f.height);
    for (const char* folder : c.folders)
        tree.mkdir(QString::fromUtf8(folder));
    const QString before = tree.file(QStringLiteral("Graficos/anterior.gif"));
    window().state.WordPicturePath = before;

    clickWord(QString::fromUtf8(c.word));

    if (c.shownFile) {
        EXPECT_EQ(window().state.WordPicturePath, tree.file(QString::fromUtf8(c.shownFile)));
        expectShowing(c.size);
    } else {
        EXPECT_EQ(window().state.WordPicturePath, before);
        EXPECT_EQ(viewer(), nullptr);
    }
    // Looking a picture up is silent, found or not.
    EXPECT_TRUE(window().cues.cues.isEmpty());
    EXPECT_TRUE(window().messages.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Files, WordPictureLookup,
    ::testing::Values(
        LookupCase{"gif_before_jpg",
                   {{"Graficos/perro.gif", 40, 30}, {"Graficos/perro.jpg", 50, 20}},
                   {},
                   "perro",
                   "Graficos/perro.gif",
                   {40, 30}},
        LookupCase{"only_jpg", {{"Graficos/perro.jpg", 50, 20}}, {}, "perro", "Graficos/perro.jpg", {50, 20}},
        LookupCase{"stored_in_capitals", {{"Graficos/Perro.GIF", 40, 30}}, {}, "perro", "Graficos/Perro.GIF", {40, 30}},
        LookupCase{"word_in_capitals", {{"Graficos/perro.gif", 40, 30}}, {}, "Perro", "Graficos/perro.gif", {40, 30}},
        LookupCase{"accented_capitals", {{"Graficos/ÑANDÚ.JPG", 36, 24}}, {}, "ñandú", "Graficos/ÑANDÚ.JPG", {36, 24}},
        LookupCase{"folder_in_other_case", {{"GRAFICOS/perro.gif", 40, 30}}, {}, "perro", "GRAFICOS/perro.gif", {40, 30}},
        LookupCase{"punctuation_kept",
                   {{"Graficos/perro.gif", 40, 30}, {"Graficos/perro,.gif", 44, 22}},
                   {},
                   "perro,",
                   "Graficos/perro,.gif",
                   {44, 22}},
        LookupCase{"punctuation_not_dropped", {{"Graficos/perro.gif", 40, 30}}, {}, "perro.", nullptr, {}},
        LookupCase{"a_folder_is_no_picture",
                   {{"Graficos/perro.jpg", 50, 20}},
                   {"Graficos/perro.gif"},
                   "perro",
                   "Graficos/perro.jpg",
                   {50, 20}},
        LookupCase{"no_picture", {{"Graficos/gato.gif", 40, 30}}, {}, "perro", nullptr, {}},
        LookupCase{"no_pictures_folder", {}, {}, "perro", nullptr, {}},
        LookupCase{"other_extension", {{"Graficos/perro.png", 40, 30}}, {}, "perro", nullptr, {}},
        LookupCase{"parent_folder", {{"secreto.gif", 40, 30}}, {"Graficos"}, "../secreto", nullptr, {}},
        LookupCase{"parent_then_down",
                   {{"Ejercicios/secreto.gif", 40, 30}},
                   {"Graficos"},
                   "../Ejercicios/secreto",
                   nullptr,
                   {}},
        // A backslash separates folders where the content tree was made.
        LookupCase{"backslash", {{"Graficos/..\\secreto.gif", 40, 30}}, {}, "..\\secreto", nullptr, {}}),
    [](const ::testing::TestParamInfo<LookupCase>& info) { return std::string(info.param.name); });

TEST_F(WordPictureTest, WordCorrectedWithItsCommaShowsThePictureNamedWithTheComma)
{
    tree.writeItem(QStringLiteral("Animales"), 1, {QStringLiteral("Mi pero, come")},
                   {QStringLiteral("Mi perro, come")});
    tree.writePicture(QStringLiteral("Graficos/perro.gif"), 40, 30);
    tree.writePicture(QStringLiteral("Graficos/perro,.jpg"), 48, 26);
    window().chooseExercise(0);
    window().clickText(4);
    window().type(QStringLiteral("\b\b\brro,"));
    ASSERT_EQ(list4()->count(), 1);
    ASSERT_EQ(list4()->item(0)->text(), QStringLiteral("perro,"));

    openPicture(QStringLiteral("perro,"));

    EXPECT_EQ(window().state.WordPicturePath, tree.file(QStringLiteral("Graficos/perro,.jpg")));
    expectShowing({48, 26});
}

TEST_F(WordPictureTest, ClickOnThePictureBringsTheMainWindowBack)
{
    tree.writePicture(QStringLiteral("Graficos/perro.gif"), 40, 30);
    openPicture(QStringLiteral("perro"));
    EXPECT_EQ(QApplication::activeWindow(), viewer());

    clickPicture();

    EXPECT_EQ(QApplication::activeWindow(), &window().form());
    EXPECT_TRUE(window().form().isVisible());
    // The viewer stays loaded, hidden behind the main window.
    EXPECT_FALSE(viewer()->isVisible());
    EXPECT_TRUE(window().state.Form3Loaded);
    openPicture(QStringLiteral("perro"));
    expectShowing({40, 30});
}

// The ways back from the log or the picture to the exercise.
enum class Back { ClickInIt, KeyInIt, MainWindowActivated };

void PrintTo(Back way, std::ostream* out)
{
    const char* names[] = {"ClickInIt", "KeyInIt", "MainWindowActivated"};
    *out << names[int(way)];
}

class OneWindow : public WordPictureTest, public ::testing::WithParamInterface<Back> {
protected:
    void goBack(QWidget* from, QWidget* clickable)
    {
        switch (GetParam()) {
        case Back::ClickInIt: QTest::mouseClick(clickable, Qt::LeftButton, {}, QPoint(3, 3)); break;
        case Back::KeyInIt: QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : from, Qt::Key_Escape); break;
        case Back::MainWindowActivated: window().form().activateWindow(); break;  // the task bar, Alt+Tab
        }
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window().form()));
    }
};

TEST_P(OneWindow, WhileThePupilWorksOnlyTheMainWindowIsShown)
{
    tree.writePicture(QStringLiteral("Graficos/perro.gif"), 40, 30);
    MainWindowHarness& h = window();
    QWidget* main = &h.form();
    EXPECT_EQ(visibleWindows(), QList<QWidget*>{main});

    for (int round = 0; round < 2; ++round) {
        QTest::mouseClick(h.find<QPushButton>("Command6"), Qt::LeftButton);
        Form4* log = h.form().form4();
        ASSERT_TRUE(QTest::qWaitForWindowActive(log));
        EXPECT_TRUE(log->isVisible());
        goBack(log, log->RichTextBox1()->viewport());
        EXPECT_EQ(visibleWindows(), QList<QWidget*>{main}) << "after the log, round " << round;

        openPicture(QStringLiteral("perro"));
        EXPECT_TRUE(viewer()->isVisible());
        goBack(viewer(), viewer()->Picture1());
        EXPECT_EQ(visibleWindows(), QList<QWidget*>{main}) << "after the picture, round " << round;
    }
}

INSTANTIATE_TEST_SUITE_P(WordPicture, OneWindow,
                         ::testing::Values(Back::ClickInIt, Back::KeyInIt, Back::MainWindowActivated),
                         [](const ::testing::TestParamInfo<Back>& info) {
                             std::ostringstream name;
                             PrintTo(info.param, &name);
                             return name.str();
                         });

TEST_F(WordPictureTest, EachShowingLoadsTheWordNowChosen)
{
    tree.writePicture(QStringLiteral("Graficos/perro.gif"), 40, 30);
    tree.writePicture(QStringLiteral("Graficos/gato.jpg"), 60, 50);
    openPicture(QStringLiteral("perro"));
    clickPicture();

    openPicture(QStringLiteral("gato"));

    EXPECT_EQ(window().state.WordPicturePath, tree.file(QStringLiteral("Graficos/gato.jpg")));
    expectShowing({60, 50});
}

TEST_F(WordPictureTest, ShowingAgainWhileActiveDoesNotReload)
{
    tree.writePicture(QStringLiteral("Graficos/perro.gif"), 40, 30);
    openPicture(QStringLiteral("perro"));
    tree.writePicture(QStringLiteral("Graficos/perro.gif"), 70, 60);

    clickWord(QStringLiteral("perro"));
    QCoreApplication::processEvents();

    EXPECT_EQ(QApplication::activeWindow(), viewer());
    expectShowing({40, 30});
}

TEST_F(WordPictureTest, WordWithoutPictureLeavesTheLastOneAlone)
{
    tree.writePicture(QStringLiteral("Graficos/perro.gif"), 40, 30);
    openPicture(QStringLiteral("perro"));
    clickPicture();

    clickWord(QStringLiteral("gato"));
    QCoreApplication::processEvents();

    EXPECT_EQ(window().state.WordPicturePath, tree.file(QStringLiteral("Graficos/perro.gif")));
    EXPECT_EQ(QApplication::activeWindow(), &window().form());
    EXPECT_FALSE(viewer()->isVisible());
    EXPECT_EQ(viewer()->Picture1()->pixmap().size(), QSize(40, 30));
}

TEST_F(WordPictureTest, UnreadablePictureKeepsThePreviousOneAndCentresIt)
{
    tree.writePicture(QStringLiteral("Graficos/perro.gif"), 40, 30);
    tree.write(QStringLiteral("Graficos/gato.gif"), QByteArray("GIF89a, but not really a picture"));
    openPicture(QStringLiteral("perro"));
    clickPicture();
    // A smaller screen shows that the window is placed again all the same.
    twips::overrideScreenSize(QSize(6000, 4500));

    openPicture(QStringLiteral("gato"));

    EXPECT_EQ(window().state.WordPicturePath, tree.file(QStringLiteral("Graficos/gato.gif")));
    expectShowing({40, 30});
    EXPECT_EQ(viewer()->pos(), QPoint(178, 133));
    EXPECT_TRUE(window().messages.isEmpty());
}

TEST_F(WordPictureTest, UnreadablePictureFirstShownLeavesTheEmptyBoxOfItsDefinition)
{
    tree.write(QStringLiteral("Graficos/gato.jpg"), QByteArray(64, 'x'));

    openPicture(QStringLiteral("gato"));

    const Form3& form3 = *viewer();
    EXPECT_TRUE(form3.isVisible());
    EXPECT_TRUE(form3.Picture1()->pixmap().isNull());
    // 4455 x 2535 twips.
    EXPECT_EQ(form3.Picture1()->geometry(), QRect(0, 0, 297, 169));
    EXPECT_EQ(form3.size(), QSize(297, 169));
    EXPECT_EQ(form3.pos(), centredOn(twips::screenSize(), {297, 169}));
}

TEST_F(WordPictureTest, PictureLargerThanTheScreenOverhangsCentredRoundingDown)
{
    // The framed picture is 104 x 84 px, 1560 x 1260 twips; the screen is 105
    // twips smaller each way: half of -105 is -52.5, rounded down to -53
    // twips, which is -4 px (rounding toward zero would give -52, -3 px).
    tree.writePicture(QStringLiteral("Graficos/ballena.jpg"), 100, 80);
    twips::overrideScreenSize(QSize(1455, 1155));

    openPicture(QStringLiteral("ballena"));

    expectShowing({100, 80});
    EXPECT_EQ(viewer()->geometry(), QRect(-4, -4, 104, 84));
}

// --- Pictures of the teacher's exercises ---------------------------------------
//
// The program's tree holds "Programa" and the teacher's folder "Mío", both
// with the text "Mi pero come"; the pupil corrects "perro" in one of them.

struct OwnRootCase {
    const char* name;
    int exercise;                  // 0: the program's, 1: the teacher's
    const char* programPicture;    // under the program's folder, or null
    const char* teacherPicture;    // under the teacher's folder, or null
    const char* shown;             // "programa/..." or "maestra/...", or null for none
};

void PrintTo(const OwnRootCase& c, std::ostream* out)
{
    *out << c.name;
}

class OwnRootPicture : public WordPictureTest, public ::testing::WithParamInterface<OwnRootCase> {};

TEST_P(OwnRootPicture, IsLookedForInTheExercisesOwnFolderFirst)
{
    const OwnRootCase& c = GetParam();
    DataFolders data(1);
    const QString teacher = data.teacherRoot();
    tree.writeItem(QStringLiteral("Programa"), 1, {QStringLiteral("Mi pero come")}, {QStringLiteral("Mi perro come")});
    data.tree().writeLines(QStringLiteral("home/miravellon/Ejercicios/Mío/incorrecto/1.txt"), {QStringLiteral("Mi pero come")});
    data.tree().writeLines(QStringLiteral("home/miravellon/Ejercicios/Mío/correcto/1.txt"), {QStringLiteral("Mi perro come")});
    if (c.programPicture)
        tree.writePicture(QString::fromUtf8(c.programPicture), 40, 30);
    if (c.teacherPicture)
        data.tree().writePicture(QStringLiteral("home/miravellon/") + QString::fromUtf8(c.teacherPicture), 50, 20);

    window().chooseExercise(c.exercise);
    window().clickText(4);
    window().type(QStringLiteral("\b\brro"));
    ASSERT_EQ(list4()->count(), 1);
    clickWord(QStringLiteral("perro"));

    const QString shown = QString::fromUtf8(c.shown ? c.shown : "");
    if (shown.startsWith(QStringLiteral("programa/"))) {
        EXPECT_EQ(window().state.WordPicturePath, tree.file(shown.mid(9)));
    } else if (shown.startsWith(QStringLiteral("maestra/"))) {
        EXPECT_EQ(window().state.WordPicturePath, teacher + u'/' + shown.mid(8));
    } else {
        EXPECT_TRUE(window().state.WordPicturePath.isEmpty()) << window().state.WordPicturePath.toStdString();
        EXPECT_EQ(viewer(), nullptr);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Roots, OwnRootPicture,
    ::testing::Values(
        OwnRootCase{"TeachersOwnBeforeTheProgramsOne", 1, "Graficos/perro.gif", "Graficos/perro.gif",
                    "maestra/Graficos/perro.gif"},
        OwnRootCase{"TeachersJpgBeforeTheProgramsGif", 1, "Graficos/perro.gif", "graficos/Perro.JPG",
                    "maestra/graficos/Perro.JPG"},
        OwnRootCase{"TheProgramsOneWhenTheTeacherHasNone", 1, "Graficos/perro.gif", nullptr,
                    "programa/Graficos/perro.gif"},
        OwnRootCase{"TheProgramsExerciseNeverUsesTheTeachersPictures", 0, nullptr, "Graficos/perro.gif", nullptr},
        OwnRootCase{"TheProgramsExerciseUsesItsOwn", 0, "Graficos/perro.gif", "Graficos/perro.gif",
                    "programa/Graficos/perro.gif"},
        OwnRootCase{"NoneAnywhere", 1, nullptr, nullptr, nullptr}),
    [](const ::testing::TestParamInfo<OwnRootCase>& info) { return std::string(info.param.name); });

TEST_F(WordPictureTest, AWordCorrectedInTheTeachersExerciseKeepsItsPictureInAnotherExercise)
{
    DataFolders data(1);
    tree.writeItem(QStringLiteral("Programa"), 1, {QStringLiteral("Su gato")}, {QStringLiteral("Su gato")});
    data.tree().writeLines(QStringLiteral("home/miravellon/Ejercicios/Mío/incorrecto/1.txt"), {QStringLiteral("Mi pero come")});
    data.tree().writeLines(QStringLiteral("home/miravellon/Ejercicios/Mío/correcto/1.txt"), {QStringLiteral("Mi perro come")});
    data.tree().writePicture(QStringLiteral("home/miravellon/Graficos/perro.gif"), 50, 20);
    window().chooseExercise(1);
    window().clickText(4);
    window().type(QStringLiteral("\b\brro"));
    window().chooseExercise(0);

    openPicture(QStringLiteral("perro"));
    EXPECT_EQ(window().state.WordPicturePath, data.teacherRoot() + QStringLiteral("/Graficos/perro.gif"));
}

TEST(PictureFiles, WrittenInFormatsTheViewerReadsByContent)
{
    TempTree tree;
    tree.writePicture(QStringLiteral("a.gif"), 5, 4);
    tree.writePicture(QStringLiteral("a.jpg"), 5, 4);
    QFile gif(tree.file(QStringLiteral("a.gif")));
    QFile jpg(tree.file(QStringLiteral("a.jpg")));
    ASSERT_TRUE(gif.open(QIODevice::ReadOnly));
    ASSERT_TRUE(jpg.open(QIODevice::ReadOnly));
    EXPECT_TRUE(gif.read(8).startsWith("\x89PNG"));
    EXPECT_TRUE(jpg.read(3).startsWith("\xFF\xD8\xFF"));
}

}  // namespace
