// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of the main window on temporary content trees, the stretching of
// its controls over the screen, the tiled background, the splash window and
// the results window laid over the exercise text.

#include "mainwindow/program.h"
#include "presentation/clickablelabel.h"
#include "presentation/richtextbox.h"
#include "presentation/tilebitmap.h"
#include "presentation/twips.h"
#include "presentation/zarandel.h"
#include "tests/support.h"
#include "windows/form2.h"
#include "windows/form4.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <QTranslator>

#include <gtest/gtest.h>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// One pixel: what converting a twip value to whole pixels may cost.
constexpr double OnePixel = twips::PerPixel;

// Pretends the screen has another size for as long as it lives.
class ScreenOverride {
public:
    explicit ScreenOverride(QSize twipsSize) { twips::overrideScreenSize(twipsSize); }
    ~ScreenOverride() { twips::overrideScreenSize(std::nullopt); }
    ScreenOverride(const ScreenOverride&) = delete;
    ScreenOverride& operator=(const ScreenOverride&) = delete;
};

QColor pixelOf(QWidget* window, QPoint at)
{
    return window->grab().toImage().pixelColor(at);
}

// A point of the window's background that no control covers.
QPoint bareCorner(const QWidget* window)
{
    return {window->width() - 2, window->height() - 2};
}

// The screen of the layout's worked example, 800 x 600 pixels (the offscreen
// platform's own screen may be another size).
const QSize ExampleScreen(12000, 9000);

// A content tree with two exercises, A and b, and a loose file beside them.
class StartupTest : public MainWindowTest {
protected:
    StartupTest()
    {
        tree.writeItem(u"A"_s, 1, {u"Mi perro come"_s}, {u"Mi perro come"_s});
        tree.writeItem(u"b"_s, 1, {u"Es m\u00EDo"_s}, {u"Es m\u00EDo"_s});
        tree.write(u"Ejercicios/leeme.txt"_s, "no es un ejercicio\r\n");
    }
};

// A content tree each test fills itself.
class Startup : public MainWindowTest {};

TEST_F(StartupTest, FreshStartState)
{
    start();
    Form1& f = form();

    EXPECT_EQ(f.itemNumbers().size(), 71);
    EXPECT_TRUE(std::all_of(f.itemNumbers().cbegin(), f.itemNumbers().cend(), [](qint32 n) { return n == 1; }));
    EXPECT_EQ(f.selectedExercise(), 0);
    EXPECT_EQ(f.textFontSize(), 24);
    EXPECT_EQ(f.appFolder(), tree.path());
    EXPECT_EQ(state().TextCounter, 1);
    EXPECT_FALSE(state().TimeUp);
    EXPECT_FALSE(timer()->isActive());
    EXPECT_EQ(timer()->interval(), 200);

    EXPECT_EQ(vbcolor::background(find<QPushButton>("Command5_0")), vbcolor::Green);
    for (const char* pace : {"Command5_1", "Command5_2", "Command5_3"})
        EXPECT_EQ(vbcolor::background(find<QPushButton>(pace)), vbcolor::Yellow) << pace;

    EXPECT_FALSE(helpButton()->isEnabled());
    EXPECT_TRUE(text()->isReadOnly());
    EXPECT_TRUE(text()->text().isEmpty());
    EXPECT_EQ(itemBox()->text(), u"1"_s);

    // Nothing is reported and nothing is heard while starting.
    EXPECT_TRUE(harness->messages.isEmpty());
    EXPECT_TRUE(cues().isEmpty());
}

TEST_F(StartupTest, ListsTheExerciseFoldersOnly)
{
    start();
    EXPECT_EQ(listed(), (QStringList{u"A"_s, u"b"_s}));
    EXPECT_EQ(form().exerciseFolders(), (QStringList{u"A"_s, u"b"_s}));
    EXPECT_TRUE(form().exerciseFolder().endsWith(u"/Ejercicios/A"_s)) << form().exerciseFolder().toStdString();
}

TEST_F(StartupTest, ItemCommandsBeforeAnyCatalogueClickWorkOnTheFirstExercise)
{
    start();
    form().LoadExerciseItem();
    EXPECT_EQ(text()->text(), u"Mi perro come \n"_s);
    EXPECT_EQ(cues(), QStringList{u"cambia"_s});
    EXPECT_TRUE(harness->messages.isEmpty());
}

TEST_F(Startup, LowerCaseCatalogueFolderIsListed)
{
    tree.writeItem(u"Verbos"_s, 1, {u"uno"_s}, {u"uno"_s});
    tree.mkdir(u"Ejercicios/acentos"_s);
    QDir(tree.path()).rename(u"Ejercicios"_s, u"ejercicios"_s);

    start();
    EXPECT_EQ(listed(), (QStringList{u"acentos"_s, u"Verbos"_s}));
    harness->chooseExercise(1);
    EXPECT_EQ(text()->text(), u"uno \n"_s);
    EXPECT_TRUE(harness->messages.isEmpty());
}

TEST_F(Startup, MissingCatalogueFolderListsNothingAndReportsNothing)
{
    tree.mkdir(u"sonidos"_s);
    tree.mkdir(u"gifs"_s);

    start();
    EXPECT_EQ(exercises()->count(), 0);
    EXPECT_TRUE(form().exerciseFolders().isEmpty());
    EXPECT_TRUE(harness->messages.isEmpty());
    EXPECT_TRUE(form().isVisible());
    // The log is made, hidden behind the main window.
    ASSERT_NE(form().form4(), nullptr);
    EXPECT_FALSE(form().form4()->isVisible());
}

TEST_F(StartupTest, FontChooserIsShownWithArialAndTheInstalledFamilies)
{
    start();
    auto* combo = find<QComboBox>("Combo1");
    ASSERT_NE(combo, nullptr);
    EXPECT_TRUE(combo->isVisible());
    EXPECT_EQ(combo->currentText(), u"Arial"_s);

    const QStringList families = QFontDatabase::families();
    EXPECT_EQ(combo->count(), families.size());
    for (const QString& family : families)
        EXPECT_GE(combo->findText(family), 0) << family.toStdString();
    // Showing the name changes no font of the text.
    EXPECT_EQ(text()->font().family(), u"Arial"_s);
}

TEST_F(StartupTest, MissingBackgroundTileStillOpensOnThePlainBackground)
{
    start();
    EXPECT_TRUE(form().isVisible());
    EXPECT_TRUE(form().background().isNull());
    EXPECT_TRUE(form().palette().brush(QPalette::Window).texture().isNull());
    EXPECT_EQ(pixelOf(&form(), bareCorner(&form())), QColor(192, 192, 192));
    EXPECT_TRUE(harness->messages.isEmpty());
}

TEST_F(StartupTest, BackgroundTileCoversTheWindowBehindTheControls)
{
    tree.writePicture(u"fondo.gif"_s, 32, 24);
    start();

    EXPECT_EQ(form().background().size(), QSize(32, 24));
    const QPixmap background = form().palette().brush(QPalette::Window).texture();
    ASSERT_FALSE(background.isNull());
    EXPECT_EQ(background.size(), form().size());

    EXPECT_EQ(pixelOf(&form(), bareCorner(&form())), QColor(Qt::darkCyan));
    // The exercise list stays drawn above the tiles.
    auto* list = exercises();
    const QPoint inList = list->geometry().bottomLeft() + QPoint(list->width() / 2, -5);
    EXPECT_NE(pixelOf(&form(), inList), QColor(Qt::darkCyan));
}

// The background tile is found whatever the letter case of its name, like
// every other content path.
class BackgroundTileName : public MainWindowTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(BackgroundTileName, IsFoundIgnoringLetterCase)
{
    tree.writePicture(QString::fromLatin1(GetParam()), 32, 24);
    start();
    EXPECT_EQ(form().background().size(), QSize(32, 24));
    EXPECT_FALSE(form().palette().brush(QPalette::Window).texture().isNull());
}

INSTANTIATE_TEST_SUITE_P(StartupTest, BackgroundTileName,
                         ::testing::Values("fondo.gif", "Fondo.GIF", "FONDO.GIF", "fondo.Gif"));

TEST_F(StartupTest, RewardAnimationIsHiddenAtTheTopOfTheCorrectedWords)
{
    start();
    EXPECT_TRUE(reward()->isHidden());
    EXPECT_EQ(twips::top(reward()), twips::top(text()));
    EXPECT_NEAR(twips::left(reward()), twips::left(text()) + twips::width(text()) + 50, OnePixel);
    EXPECT_EQ(twips::left(reward()), twips::left(corrected()));
}

TEST_F(StartupTest, ResultsWindowLiesExactlyOverTheExerciseText)
{
    start();
    Form4* log = form().form4();
    ASSERT_NE(log, nullptr);
    EXPECT_FALSE(log->isVisible()) << "the main window covers it from the first moment";
    EXPECT_EQ(twips::left(log), twips::left(text()));
    EXPECT_EQ(twips::top(log), twips::top(text()));
    EXPECT_EQ(twips::width(log), twips::width(text()));
    EXPECT_EQ(twips::height(log), twips::height(text()));

    EXPECT_NEAR(twips::left(log->RichTextBox1()), 120, OnePixel);
    EXPECT_NEAR(twips::top(log->RichTextBox1()), 120, OnePixel);
    EXPECT_NEAR(twips::width(log->RichTextBox1()), twips::width(log) - 350, OnePixel);
    EXPECT_NEAR(twips::height(log->RichTextBox1()), twips::height(log) - 350, OnePixel);
    EXPECT_TRUE(log->RichTextBox1()->text().isEmpty());
}

// --- More exercises than the original table had room for ---------------

class ManyExercises : public MainWindowTest, public ::testing::WithParamInterface<int> {};

TEST_P(ManyExercises, EveryListedExerciseKeepsItsOwnItemNumber)
{
    const int count = GetParam();
    const auto name = [](int i) { return u"E%1"_s.arg(i + 1, 3, 10, QLatin1Char('0')); };
    for (int i = 0; i < count - 1; ++i)
        tree.mkdir(u"Ejercicios/"_s + name(i));
    const QString last = name(count - 1);
    tree.writeItem(last, 1, {u"primero"_s}, {u"primero"_s});
    tree.writeItem(last, 2, {u"segundo"_s}, {u"segundo"_s});

    start();
    auto* list = exercises();
    ASSERT_EQ(list->count(), count);
    ASSERT_GE(form().itemNumbers().size(), count);

    list->scrollToItem(list->item(count - 1));
    harness->chooseExercise(count - 1);
    EXPECT_EQ(form().selectedExercise(), count - 1);
    EXPECT_TRUE(form().exerciseFolder().endsWith(u"/Ejercicios/"_s + last));
    EXPECT_EQ(text()->text(), u"primero \n"_s);
    EXPECT_TRUE(harness->messages.isEmpty());

    find<QPushButton>("Command3_0")->click();
    EXPECT_EQ(text()->text(), u"segundo \n"_s);
    EXPECT_EQ(form().itemNumbers()[count - 1], 2);
    EXPECT_EQ(form().itemNumbers()[count - 2], 1);
    EXPECT_EQ(form().itemNumbers()[0], 1);

    // Another exercise starts at its own item 1; coming back finds item 2.
    list->scrollToItem(list->item(0));
    harness->chooseExercise(0);
    EXPECT_EQ(itemBox()->text(), u"1"_s);
    list->scrollToItem(list->item(count - 1));
    harness->chooseExercise(count - 1);
    EXPECT_EQ(itemBox()->text(), u"2"_s);
    EXPECT_EQ(text()->text(), u"segundo \n"_s);
}

INSTANTIATE_TEST_SUITE_P(Startup, ManyExercises, ::testing::Values(71, 72));

// --- Stretching the controls over the screen ---------------------------

enum class Side { Left, Top, Width, Height };

struct GeometryRow {
    const char* control;
    Side side;
    double twips;
};

double measure(const QWidget* w, Side side)
{
    switch (side) {
    case Side::Left: return twips::left(w);
    case Side::Top: return twips::top(w);
    case Side::Width: return twips::width(w);
    case Side::Height: return twips::height(w);
    }
    return 0;
}

void expectGeometry(Form1& form, const std::vector<GeometryRow>& rows)
{
    for (const GeometryRow& row : rows) {
        const auto* w = form.findChild<QWidget*>(QString::fromLatin1(row.control));
        ASSERT_NE(w, nullptr) << row.control;
        EXPECT_NEAR(measure(w, row.side), row.twips, OnePixel) << row.control << " side " << int(row.side);
    }
}

TEST_F(StartupTest, ControlsAreStretchedOverTheWholeScreenAsInTheWorkedExample)
{
    ScreenOverride screen(ExampleScreen);
    start();
    expectGeometry(form(), {
                                 {"List1", Side::Height, 5550},
                                 {"RichTextBox1", Side::Height, 5550},
                                 {"List4", Side::Height, 5550},
                                 {"RichTextBox2", Side::Height, 5550},
                                 {"RichTextBox3", Side::Top, 6610},
                                 {"Zarandel1", Side::Top, 7635},
                                 {"RichTextBox1", Side::Width, 8165},
                                 {"RichTextBox2", Side::Width, 8165},
                                 {"List4", Side::Left, 10015},
                                 {"RichTextBox3", Side::Left, 2995},
                                 // Kept from the definition.
                                 {"RichTextBox1", Side::Left, 1800},
                                 {"RichTextBox1", Side::Top, 960},
                                 {"List1", Side::Left, 120},
                                 {"List1", Side::Width, 1575},
                                 {"List4", Side::Width, 1935},
                                 {"RichTextBox3", Side::Width, 5775},
                                 {"RichTextBox3", Side::Height, 975},
                                 {"Zarandel1", Side::Height, 1215},
                                 {"Zarandel1", Side::Left, 1560},
                             });
    // The text boxes and the corrected words take the height the list really has.
    const double listHeight = twips::height(exercises());
    EXPECT_EQ(twips::height(text()), listHeight);
    EXPECT_EQ(twips::height(corrected()), listHeight);
    EXPECT_EQ(twips::height(helpText()), listHeight);
    EXPECT_EQ(twips::width(&form()), 12000);
    EXPECT_EQ(twips::height(&form()), 9000);
}

// The "Nivel" heading sits wholly above the exercise list, which is drawn over
// anything below its top edge: the heading's letters are never cut.
TEST_F(StartupTest, LevelHeadingIsWhollyAboveTheExerciseList)
{
    ScreenOverride screen(ExampleScreen);
    start();
    const auto* heading = find<QLabel>("Label4_0");
    const auto* list = exercises();
    ASSERT_EQ(heading->text(), QStringLiteral("Nivel"));
    const QFontMetrics metrics(heading->font());
    // Where the label draws its line of text.
    const QRect line = QStyle::alignedRect(heading->layoutDirection(), heading->alignment(),
                                           QSize(metrics.horizontalAdvance(heading->text()), metrics.height()),
                                           heading->contentsRect())
                           .translated(heading->pos());
    EXPECT_GE(line.top(), heading->y());
    EXPECT_LE(line.bottom(), list->geometry().top() - 1);
}

TEST_F(StartupTest, TinyScreenStopsTheLayoutAtItsFirstStep)
{
    ScreenOverride screen(QSize(3000, 3000));
    start();
    // Every control keeps the geometry of its definition.
    expectGeometry(form(), {
                                 {"List1", Side::Height, 4110},
                                 {"RichTextBox1", Side::Height, 4215},
                                 {"RichTextBox1", Side::Width, 6615},
                                 {"RichTextBox2", Side::Height, 4215},
                                 {"RichTextBox2", Side::Width, 6615},
                                 {"List4", Side::Height, 3840},
                                 {"List4", Side::Left, 8880},
                                 {"RichTextBox3", Side::Top, 5280},
                                 {"RichTextBox3", Side::Left, 2640},
                                 {"Zarandel1", Side::Top, 6240},
                             });
    EXPECT_TRUE(harness->messages.isEmpty());
    // The steps after the layout still ran.
    EXPECT_TRUE(reward()->isHidden());
    EXPECT_EQ(twips::width(form().form4()), twips::width(text()));
}

TEST_F(StartupTest, CorrectionBoxWiderThanTheTextStaysCentredUnderIt)
{
    // Room for an exercise text 3000 twips wide, narrower than the 5775 of
    // the correction box.
    ScreenOverride screen(QSize(1800 + 3000 + 1935 + 100, 9000));
    start();
    EXPECT_NEAR(twips::width(text()), 3000, OnePixel);
    EXPECT_LT(twips::left(correction()), twips::left(text()));
    EXPECT_NEAR(twips::left(correction()), 1800 - 1387, OnePixel);
    EXPECT_NEAR(twips::left(correction()) + twips::width(correction()) / 2, twips::left(text()) + twips::width(text()) / 2,
                OnePixel);
}

struct CentreRow {
    double outer;
    double inner;
    long offset;
};

class CentreOffset : public ::testing::TestWithParam<CentreRow> {};

TEST_P(CentreOffset, RoundsTheDifferenceThenHalvesTowardZero)
{
    EXPECT_EQ(twips::centreOffset(GetParam().outer, GetParam().inner), GetParam().offset);
}

INSTANTIATE_TEST_SUITE_P(Layout, CentreOffset,
                         ::testing::Values(CentreRow{8166, 5775, 1195},     // odd difference 2391
                                           CentreRow{8165.5, 5775, 1195},   // 2390.5 rounds to even 2390
                                           CentreRow{8167.5, 5775, 1196},   // 2392.5 rounds to even 2392
                                           CentreRow{8166.5, 5775, 1196},   // 2391.5 rounds to 2392
                                           CentreRow{8165, 5775, 1195},     // the worked example
                                           CentreRow{5775, 5775, 0},
                                           CentreRow{3000, 5775, -1387}));  // -2775 halves toward zero

// --- The tiled background -----------------------------------------------

struct TileRow {
    const char* name;
    QSize window;
    QSize tile;
    int tiles;
};

class Tiling : public ::testing::TestWithParam<TileRow> {};

TEST_P(Tiling, DrawsOneTilePerPlaceFromTheTopLeftCorner)
{
    const TileRow& row = GetParam();
    QWidget window;
    window.resize(row.window);
    QPixmap tile(row.tile);
    if (!tile.isNull())
        tile.fill(Qt::darkCyan);

    EXPECT_EQ(TileBitmap(&window, tile), row.tiles);
}

INSTANTIATE_TEST_SUITE_P(
    TileBitmap, Tiling,
    ::testing::Values(TileRow{"partial_tiles", {100, 50}, {30, 20}, (100 / 30 + 1) * (50 / 20 + 1)},
                      // An exact multiple still gets the column at x == width
                      // and the row at y == height, drawn wholly outside.
                      TileRow{"exact_multiple", {90, 40}, {30, 20}, 4 * 3},
                      TileRow{"tile_larger_than_window", {20, 10}, {30, 20}, 1},
                      TileRow{"empty_tile", {100, 50}, {0, 0}, 0},
                      TileRow{"tile_without_height", {100, 50}, {30, 0}, 0}),
    [](const ::testing::TestParamInfo<TileRow>& info) { return std::string(info.param.name); });

TEST(TileBitmap, TilesAreLaidEdgeToEdgeAndCutAtTheEdges)
{
    QWidget window;
    window.resize(100, 50);
    // A tile whose top-left pixel is red, everything else blue.
    QPixmap tile(30, 20);
    tile.fill(Qt::blue);
    {
        QPainter p(&tile);
        p.fillRect(0, 0, 1, 1, Qt::red);
    }
    TileBitmap(&window, tile);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    const QImage seen = window.grab().toImage();
    for (const QPoint corner : {QPoint(0, 0), QPoint(30, 0), QPoint(90, 40), QPoint(60, 20)})
        EXPECT_EQ(seen.pixelColor(corner), QColor(Qt::red)) << corner.x() << "," << corner.y();
    for (const QPoint inside : {QPoint(1, 1), QPoint(29, 19), QPoint(99, 49), QPoint(95, 45)})
        EXPECT_EQ(seen.pixelColor(inside), QColor(Qt::blue)) << inside.x() << "," << inside.y();
}

TEST(TileBitmap, EmptyTileLeavesTheBackgroundAsItWas)
{
    QWidget window;
    window.resize(100, 50);
    QPalette grey = window.palette();
    grey.setColor(QPalette::Window, QColor(192, 192, 192));
    window.setPalette(grey);
    window.setAutoFillBackground(true);

    EXPECT_EQ(TileBitmap(&window, QPixmap()), 0);
    EXPECT_TRUE(window.palette().brush(QPalette::Window).texture().isNull());
    EXPECT_EQ(window.palette().color(QPalette::Window), QColor(192, 192, 192));
}

// --- The results window over a text box too small for its margin -------

struct LogBoxRow {
    const char* name;
    QRect textBox;  // pixels
    QSize logBox;   // pixels
};

class SmallExerciseText : public ::testing::TestWithParam<LogBoxRow> {};

TEST_P(SmallExerciseText, NeverGivesTheLogANegativeSize)
{
    const LogBoxRow& row = GetParam();
    QWidget text;
    text.setGeometry(row.textBox);
    Form4 log(&text, {});

    EXPECT_EQ(log.geometry(), row.textBox);
    EXPECT_EQ(log.RichTextBox1()->size(), row.logBox);
}

INSTANTIATE_TEST_SUITE_P(
    Form4, SmallExerciseText,
    ::testing::Values(LogBoxRow{"both_sides_too_small", {10, 10, 20, 10}, {0, 0}},
                      LogBoxRow{"too_low", {10, 10, 400, 20}, {377, 0}},
                      LogBoxRow{"too_narrow", {0, 0, 23, 300}, {0, 277}},
                      LogBoxRow{"just_the_margin", {0, 0, 350 / 15 + 1, 350 / 15 + 1}, {1, 1}}),
    [](const ::testing::TestParamInfo<LogBoxRow>& info) { return std::string(info.param.name); });

// --- The splash window -------------------------------------------------

TEST(Splash, IsSizedToItsFramedPictureAndCentred)
{
    ScreenOverride screen(ExampleScreen);
    Form2 splash;
    const QSize picture = splash.Picture1()->pixmap().size();
    EXPECT_EQ(picture, QSize(663, 510));
    EXPECT_EQ(splash.size(), picture + QSize(4, 4));
    EXPECT_EQ(twips::width(&splash), 10005);
    EXPECT_EQ(twips::height(&splash), 7710);

    // (12000 - 10005) / 2 and (9000 - 7710) / 2.
    EXPECT_NEAR(twips::left(&splash), 997, OnePixel);
    EXPECT_NEAR(twips::top(&splash), 645, OnePixel);
}

TEST(Splash, ScreenSmallerThanThePictureOverhangsEveryEdgeEqually)
{
    const QSize screen(10005 - 2 * 1500, 7710 - 2 * 1200);
    ScreenOverride override(screen);
    Form2 splash;

    EXPECT_EQ(twips::left(&splash), -1500);
    EXPECT_EQ(twips::top(&splash), -1200);
    const double rightOverhang = twips::left(&splash) + twips::width(&splash) - screen.width();
    const double bottomOverhang = twips::top(&splash) + twips::height(&splash) - screen.height();
    EXPECT_EQ(-twips::left(&splash), rightOverhang);
    EXPECT_EQ(-twips::top(&splash), bottomOverhang);
}

TEST(Splash, ClickOnThePictureShowsTheMainWindowAndClosesTheSplash)
{
    TempTree tree;
    tree.mkdir(u"Ejercicios/A"_s);
    ProgramState state;
    RecordingCuePlayer cues;
    RecordingPrompts prompts;
    std::unique_ptr<Form1> main;

    Form2 splash;
    int shown = 0;
    splash.showMainWindow = [&] {
        ++shown;
        Form1::Services services;
        services.appFolder = tree.path();
        services.cues = &cues;
        services.prompts = &prompts;
        services.splash = &splash;
        main = std::make_unique<Form1>(state, services);
        main->Form_Load();
        main->show();
    };
    splash.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&splash));

    QTest::mouseClick(splash.Picture1(), Qt::LeftButton, {}, splash.Picture1()->rect().center());
    EXPECT_EQ(shown, 1);
    EXPECT_FALSE(splash.isVisible());
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(main->isVisible());
    EXPECT_EQ(main->findChild<QListWidget*>(u"List1"_s)->count(), 1);
}

TEST(Splash, KeysDoNothing)
{
    Form2 splash;
    int shown = 0;
    splash.showMainWindow = [&] { ++shown; };
    splash.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&splash));

    QTest::keyClick(&splash, Qt::Key_Return);
    QTest::keyClick(&splash, Qt::Key_Space);
    QTest::keyClick(&splash, Qt::Key_Escape);
    EXPECT_EQ(shown, 0);
    EXPECT_TRUE(splash.isVisible());
}

// Qt's own words (standard buttons, the text boxes' menus) come in Spanish,
// whatever the desktop's language.
TEST_F(Startup, QtSpeaksSpanish)
{
    QLocale::setDefault(QLocale(QLocale::English));
    QTranslator* translator = loadQtTranslations();
    ASSERT_NE(translator, nullptr) << "Qt's Spanish translation is not installed";

    QMessageBox box;
    box.setStandardButtons(QMessageBox::Ok);
    EXPECT_EQ(box.button(QMessageBox::Ok)->text().remove(u'&'), "Aceptar");

    QLineEdit line;
    line.setText(QStringLiteral("1"));
    const std::unique_ptr<QMenu> menu(line.createStandardContextMenu());
    QStringList entries;
    for (const QAction* action : menu->actions()) {
        if (!action->isSeparator())
            entries.append(action->text().section(u'\t', 0, 0).remove(u'&'));
    }
    EXPECT_TRUE(entries.contains("Deshacer")) << entries.join(", ").toStdString();
    EXPECT_TRUE(entries.contains("Copiar"));
    EXPECT_TRUE(entries.contains("Pegar"));

    delete translator;
    QLocale::setDefault(QLocale::system());
}

// --- The teacher's and the school's exercises --------------------------------

// Both versions of an item of an exercise in the content root `root` of `t`.
void writeItemIn(const TempTree& t, const QString& root, const QString& exercise, int item,
                 const QStringList& faulty, const QStringList& correct)
{
    const QString folder = root + u"/Ejercicios/"_s + exercise;
    t.writeLines(folder + u"/incorrecto/%1.txt"_s.arg(item), faulty);
    t.writeLines(folder + u"/correcto/%1.txt"_s.arg(item), correct);
}

TEST_F(StartupTest, TheTeachersAndTheSchoolsExercisesComeAfterTheProgramsOwn)
{
    DataFolders data(1);
    writeItemIn(data.tree(), u"home/miravellon"_s, u"Z Mío"_s, 1, {u"Tu gato"_s}, {u"Tu gato"_s});
    writeItemIn(data.tree(), u"home/miravellon"_s, u"01 B y V"_s, 1, {u"Tu gato"_s}, {u"Tu gato"_s});
    writeItemIn(data.tree(), u"escuela0/miravellon"_s, u"Del colegio"_s, 1, {u"Tu gato"_s}, {u"Tu gato"_s});
    start();

    const QStringList expected{u"A"_s, u"b"_s, u"01 B y V"_s, u"Z Mío"_s, u"Del colegio"_s};
    EXPECT_EQ(listed(), expected);
    EXPECT_EQ(form().exerciseFolders(), expected);
    ASSERT_EQ(form().exerciseList().size(), 5);
    EXPECT_EQ(form().exerciseList()[3].folder, data.teacherRoot() + u"/Ejercicios/Z Mío"_s);
    EXPECT_EQ(form().exerciseList()[4].root, data.schoolRoot(0));
    // The first exercise is still the program's own.
    EXPECT_EQ(form().exerciseFolder(), tree.file(u"Ejercicios/A"_s));
    EXPECT_TRUE(harness->messages.isEmpty());
}

TEST_F(StartupTest, DataFoldersWithoutExercisesChangeNothing)
{
    DataFolders data(2);
    data.tree().writePicture(u"home/miravellon/Graficos/perro.gif"_s, 4, 4);
    data.tree().mkdir(u"escuela1/miravellon/sonidos"_s);
    start();

    EXPECT_EQ(form().exerciseFolders(), (QStringList{u"A"_s, u"b"_s}));
    EXPECT_EQ(listed(), (QStringList{u"A"_s, u"b"_s}));
    EXPECT_EQ(form().itemNumbers().size(), 71);
    EXPECT_EQ(form().exerciseRoot(), tree.path());
}

TEST_F(StartupTest, TwoExercisesOfTheSameNameEachLoadTheirOwnText)
{
    DataFolders data(1);
    writeItemIn(data.tree(), u"home/miravellon"_s, u"A"_s, 1, {u"Tu gato veve"_s}, {u"Tu gato bebe"_s});
    writeItemIn(data.tree(), u"home/miravellon"_s, u"A"_s, 2, {u"Su vaca"_s}, {u"Su vaca"_s});
    start();
    ASSERT_EQ(form().exerciseFolders(), (QStringList{u"A"_s, u"b"_s, u"A"_s}));

    harness->chooseExercise(2);
    EXPECT_TRUE(text()->text().startsWith(u"Tu gato veve"_s)) << text()->text().toStdString();
    // The next text of the teacher's "A" is its own 2.txt; the program's "A"
    // has none and keeps its own number.
    form().Command3_Click(0);
    EXPECT_TRUE(text()->text().startsWith(u"Su vaca"_s)) << text()->text().toStdString();
    harness->chooseExercise(0);
    EXPECT_TRUE(text()->text().startsWith(u"Mi perro come"_s)) << text()->text().toStdString();
    EXPECT_EQ(itemBox()->text(), u"1"_s);
    EXPECT_EQ(form().itemNumbers()[2], 2);
    EXPECT_TRUE(harness->messages.isEmpty());
}

TEST_F(StartupTest, ARefusedTextOfTheTeachersIsNamedFromHerFolder)
{
    DataFolders data(1);
    data.tree().writeLines(u"home/miravellon/Ejercicios/Mío/incorrecto/1.txt"_s, {u"Tu gato"_s});
    start();

    harness->chooseExercise(2);
    EXPECT_EQ(harness->messages, QStringList{u"No encuentro el archivo\nEjercicios/Mío/correcto/1.txt"_s});
}

TEST_F(StartupTest, EveryListedExerciseKeepsItsOwnNumberBeyondSeventyOne)
{
    DataFolders data(1);
    for (int n = 1; n <= 70; ++n)
        writeItemIn(data.tree(), u"escuela0/miravellon"_s, u"E%1"_s.arg(n, 2, 10, QChar(u'0')), 1, {u"Tu gato"_s},
                    {u"Tu gato"_s});
    start(QString(), false);
    ASSERT_EQ(form().exerciseFolders().size(), 72);
    EXPECT_EQ(form().itemNumbers().size(), 72);
    EXPECT_EQ(form().exerciseFolders().last(), u"E70"_s);
}

}  // namespace
