// SPDX-License-Identifier: GPL-3.0-or-later
// Choosing an exercise and an item: the list, the two arrows, the typed item
// number, and what the pupil sees when an item is missing or broken.

#include "tests/support.h"

#include "library/results.h"
#include "library/review.h"

#include "presentation/cueplayer.h"
#include "presentation/richtextbox.h"
#include "presentation/twips.h"
#include "presentation/zarandel.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

namespace {

const QString ItemOneShown = QStringLiteral("Mi pero come \nEs mio \n");
const QString ItemOneCorrectShown = QStringLiteral("Mi perro come \nEs mío \n");
const QStringList ItemOneFaultyWords{"Mi", "pero", "come", "Es", "mio"};
const QStringList ItemOneCorrectWords{"Mi", "perro", "come", "Es", "mío"};
const QString ItemTwoShown = QStringLiteral("La baca muge \n");
const QString Missing = QStringLiteral("No encuentro el archivo");

class Loading : public MainWindowTest {
protected:
    Loading()
    {
        tree.writeItem("Animales", 1, {"Mi pero come", "Es mio"}, {"Mi perro come", "Es mío"});
        tree.writeItem("Animales", 2, {"La baca muge"}, {"La vaca muge"});
        tree.writeItem("Plantas", 1, {"El arbol crece"}, {"El árbol crece"});
    }

    void typeInItemBox(QChar c)
    {
        if (c == u'\b')
            harness->pressKey(itemBox(), Qt::Key_Backspace);
        else
            harness->pressKey(itemBox(), Qt::Key_unknown, QString(c));
    }
    void typeInItemBox(const QString& keys)
    {
        for (QChar c : keys)
            typeInItemBox(c);
    }
    void emptyItemBox()
    {
        while (!itemBox()->text().isEmpty())
            typeInItemBox(u'\b');
    }
    double list1Left() { return twips::left(exercises()); }
    // Every character of the exercise text is black at `points`.
    void expectPlainText(double points)
    {
        for (int i = 0; i < text()->textLength(); ++i) {
            EXPECT_EQ(colourAt(text(), i), vbcolor::Black) << "offset " << i;
            EXPECT_EQ(pointSizeAt(text(), i), points) << "offset " << i;
        }
    }
};

TEST_F(Loading, ChoosingAnExerciseShowsItsCurrentItemAndStartsTheRunner)
{
    startOn(0);

    EXPECT_EQ(itemBox()->text(), "1");
    EXPECT_EQ(text()->text(), ItemOneShown);
    expectPlainText(18);
    EXPECT_TRUE(text()->isVisible());
    EXPECT_EQ(form().focusWidget(), text());
    EXPECT_FALSE(helpText()->isVisible());
    EXPECT_EQ(helpText()->text(), ItemOneCorrectShown);
    EXPECT_EQ(form().faultyWords().words(), ItemOneFaultyWords);
    EXPECT_EQ(form().correctWords().words(), ItemOneCorrectWords);
    EXPECT_EQ(form().wordCounter(), 5);

    EXPECT_TRUE(timer()->isActive());
    EXPECT_TRUE(runner()->isVisible());
    EXPECT_EQ(twips::left(runner()), list1Left());
    EXPECT_EQ(form().countdownLeft(), std::lround(list1Left()));
    EXPECT_TRUE(runner()->gifFile().endsWith("/gifs/corre.gif"));
    EXPECT_FALSE(state().TimeUp);
    EXPECT_FALSE(helpButton()->isEnabled());

    EXPECT_EQ(cues().last(), "cambia");
    EXPECT_TRUE(cues().filter("no").isEmpty());
    EXPECT_TRUE(harness->messages.isEmpty());
}

TEST_F(Loading, ChoosingAnotherExerciseLoadsFromItsOwnFolder)
{
    startOn(0);
    harness->chooseExercise(1);

    EXPECT_EQ(itemBox()->text(), "1");
    EXPECT_EQ(text()->text(), "El arbol crece \n");
    EXPECT_EQ(helpText()->text(), "El árbol crece \n");
    EXPECT_EQ(form().correctWords().words(), QStringList({"El", "árbol", "crece"}));
}

TEST_F(Loading, NextAndPreviousArrowsStepTheItem)
{
    startOn(0);
    cues().clear();

    click("Command3_0");
    EXPECT_EQ(itemBox()->text(), "2");
    EXPECT_EQ(form().itemNumbers()[0], 2);
    EXPECT_EQ(text()->text(), ItemTwoShown);
    EXPECT_EQ(form().faultyWords().words(), QStringList({"La", "baca", "muge"}));
    EXPECT_EQ(form().correctWords().words(), QStringList({"La", "vaca", "muge"}));
    expectPlainText(18);
    // The changed number loads once through the box and once more directly.
    EXPECT_EQ(cues(), QStringList({"cambia", "cambia"}));

    cues().clear();
    click("Command3_1");
    EXPECT_EQ(itemBox()->text(), "1");
    EXPECT_EQ(form().itemNumbers()[0], 1);
    EXPECT_EQ(text()->text(), ItemOneShown);
    EXPECT_EQ(form().correctWords().words(), ItemOneCorrectWords);
    EXPECT_EQ(cues(), QStringList({"cambia", "cambia"}));
}

TEST_F(Loading, PreviousArrowAtItemOneReloadsItemOne)
{
    startOn(0);
    harness->clickText(5);  // a picked word grows and turns green
    form().Timer1_Timer();
    form().Timer1_Timer();
    cues().clear();

    click("Command3_1");

    EXPECT_EQ(itemBox()->text(), "1");
    EXPECT_EQ(form().itemNumbers()[0], 1);
    EXPECT_EQ(text()->text(), ItemOneShown);
    expectPlainText(18);
    EXPECT_EQ(form().countdownLeft(), std::lround(list1Left()));
    EXPECT_EQ(twips::left(runner()), list1Left());
    EXPECT_TRUE(timer()->isActive());
    EXPECT_EQ(cues(), QStringList({"cambia"}));
}

TEST_F(Loading, TypedDigitsLoadTheItemAfterEachKey)
{
    tree.writeItem("Animales", 12, {"Doce ubas"}, {"Doce uvas"});
    startOn(0);

    emptyItemBox();
    cues().clear();
    typeInItemBox(u'1');
    EXPECT_EQ(form().itemNumbers()[0], 1);
    EXPECT_EQ(text()->text(), ItemOneShown);
    EXPECT_EQ(cues(), QStringList({"cambia"}));

    typeInItemBox(u'2');
    EXPECT_EQ(itemBox()->text(), "12");
    EXPECT_EQ(form().itemNumbers()[0], 12);
    EXPECT_EQ(text()->text(), "Doce ubas \n");
    EXPECT_EQ(form().correctWords().words(), QStringList({"Doce", "uvas"}));
    EXPECT_EQ(cues(), QStringList({"cambia", "cambia"}));
    EXPECT_TRUE(harness->messages.isEmpty());
}

// Keys go where the keyboard focus is, as a pupil's keys do.
TEST_F(Loading, TwoDigitsTypedOneAfterTheOtherReachTheItemBoxBoth)
{
    tree.writeItem("Animales", 12, {"Doce ubas"}, {"Doce uvas"});
    startOn(0);
    ASSERT_EQ(form().focusWidget(), text());
    itemBox()->setFocus(Qt::MouseFocusReason);
    itemBox()->selectAll();
    const auto typeAtFocus = [this](Qt::Key key, const QString& digit) {
        harness->pressKey(QApplication::focusWidget(), key, digit);
    };

    typeAtFocus(Qt::Key_1, QStringLiteral("1"));
    EXPECT_EQ(text()->text(), ItemOneShown);
    EXPECT_EQ(QApplication::focusWidget(), itemBox());
    typeAtFocus(Qt::Key_2, QStringLiteral("2"));
    EXPECT_EQ(itemBox()->text(), "12");
    EXPECT_EQ(text()->text(), "Doce ubas \n");
    EXPECT_EQ(QApplication::focusWidget(), itemBox());
    EXPECT_EQ(itemBox()->cursorPosition(), 2);

    // Backspace keeps working there too.
    typeAtFocus(Qt::Key_Backspace, QString());
    EXPECT_EQ(itemBox()->text(), "1");
    EXPECT_EQ(text()->text(), ItemOneShown);
    EXPECT_EQ(QApplication::focusWidget(), itemBox());

    // A load the program starts still hands the focus to the text.
    click("Command3_0");
    EXPECT_EQ(text()->text(), ItemTwoShown);
    EXPECT_EQ(QApplication::focusWidget(), text());
    harness->chooseExercise(1);
    EXPECT_EQ(QApplication::focusWidget(), text());
}

struct ItemBoxRoute {
    const char* name;
    std::function<void(QLineEdit*)> put;  // tries to put "Mi" into the box
};

void PrintTo(const ItemBoxRoute& route, std::ostream* os)
{
    *os << route.name;
}

class LettersInTheItemBox : public Loading, public ::testing::WithParamInterface<ItemBoxRoute> {};

TEST_P(LettersInTheItemBox, NeverGetInByAnyRoute)
{
    startOn(0);
    itemBox()->setFocus();
    itemBox()->end(false);
    QApplication::clipboard()->setText(QStringLiteral("Mi"));
    cues().clear();

    GetParam().put(itemBox());
    itemBox()->redo();

    EXPECT_EQ(itemBox()->text(), "1");
    EXPECT_EQ(text()->text(), ItemOneShown);
    EXPECT_TRUE(harness->messages.isEmpty());
    EXPECT_TRUE(cues().isEmpty());

    // Digits still come in by the same route.
    QApplication::clipboard()->setText(QStringLiteral("2"));
    itemBox()->clear();
    GetParam().put(itemBox());
    EXPECT_EQ(itemBox()->text(), "2");
    EXPECT_EQ(text()->text(), ItemTwoShown);
}

INSTANTIATE_TEST_SUITE_P(
    Routes, LettersInTheItemBox,
    ::testing::Values(
        // The keyboard sends Ctrl+V with the control character as its text.
        ItemBoxRoute{"CtrlV",
                     [](QLineEdit* box) {
                         QTest::sendKeyEvent(QTest::Click, box, Qt::Key_V, QString(QChar(0x16)), Qt::ControlModifier);
                     }},
        ItemBoxRoute{"ShiftInsert",
                     [](QLineEdit* box) {
                         QTest::sendKeyEvent(QTest::Click, box, Qt::Key_Insert, QString(), Qt::ShiftModifier);
                     }},
        ItemBoxRoute{"ContextMenuPaste", [](QLineEdit* box) { box->paste(); }},
        ItemBoxRoute{"Drop",
                     [](QLineEdit* box) {
                         QMimeData mime;
                         mime.setText(QApplication::clipboard()->text());
                         const QPoint at = box->rect().center();
                         QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, {});
                         QApplication::sendEvent(box, &enter);
                         QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, {});
                         QApplication::sendEvent(box, &drop);
                     }},
        ItemBoxRoute{"InputMethod",
                     [](QLineEdit* box) {
                         QInputMethodEvent event;
                         event.setCommitString(QApplication::clipboard()->text());
                         QApplication::sendEvent(box, &event);
                     }}),
    [](const ::testing::TestParamInfo<ItemBoxRoute>& info) { return std::string(info.param.name); });

struct ListKey {
    const char* name;
    Qt::Key key;
    QString text;
    int chosen;  // the row loaded, -1 for none
};

void PrintTo(const ListKey& key, std::ostream* os)
{
    *os << key.name;
}

class ExerciseListKeys : public Loading, public ::testing::WithParamInterface<ListKey> {};

TEST_P(ExerciseListKeys, FocusAloneChoosesNothingAndAMoveChooses)
{
    tree.writeItem("Ríos", 1, {"El rio corre"}, {"El río corre"});
    start();
    auto* list = exercises();
    for (Qt::FocusReason reason : {Qt::TabFocusReason, Qt::ActiveWindowFocusReason, Qt::BacktabFocusReason}) {
        find<QWidget>("Combo1")->setFocus();
        list->setFocus(reason);
        ASSERT_TRUE(list->hasFocus());
        EXPECT_TRUE(cues().isEmpty()) << "focus reason " << reason;
        EXPECT_EQ(text()->text(), "");
    }

    harness->pressKey(list, GetParam().key, GetParam().text);

    if (GetParam().chosen < 0) {
        EXPECT_TRUE(cues().isEmpty());
        EXPECT_EQ(text()->text(), "");
    } else {
        EXPECT_EQ(cues(), QStringList({"cambia"}));
        EXPECT_EQ(form().selectedExercise(), GetParam().chosen);
        EXPECT_EQ(form().correctWords().words().first(), QStringList({"Mi", "El", "El"}).at(GetParam().chosen));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ExerciseListKeys,
    ::testing::Values(ListKey{"Down", Qt::Key_Down, {}, 1}, ListKey{"End", Qt::Key_End, {}, 2},
                      ListKey{"PageDown", Qt::Key_PageDown, {}, 2}, ListKey{"Letter", Qt::Key_R, "r", 2},
                      ListKey{"UpAtTheTop", Qt::Key_Up, {}, -1}, ListKey{"Home", Qt::Key_Home, {}, -1}),
    [](const ::testing::TestParamInfo<ListKey>& info) { return std::string(info.param.name); });

TEST_F(Loading, TypingTheNumberOfAMissingItemReportsIt)
{
    startOn(0);
    emptyItemBox();
    typeInItemBox(u'1');
    cues().clear();

    typeInItemBox(u'2');

    EXPECT_EQ(form().itemNumbers()[0], 12);
    EXPECT_EQ(cues(), QStringList({"no"}));
    EXPECT_EQ(harness->messages, QStringList({Missing}));
    EXPECT_EQ(text()->text(), "");
}

TEST_F(Loading, OnlyDigitsAndBackspaceReachTheItemBox)
{
    startOn(0);
    cues().clear();

    typeInItemBox(QStringLiteral("a -.ñ"));

    EXPECT_EQ(itemBox()->text(), "1");
    EXPECT_EQ(text()->text(), ItemOneShown);
    EXPECT_TRUE(cues().isEmpty());

    typeInItemBox(QStringLiteral("\bx2"));
    EXPECT_EQ(itemBox()->text(), "2");
    EXPECT_EQ(text()->text(), ItemTwoShown);
}

TEST_F(Loading, EmptyingTheItemBoxLoadsNothing)
{
    startOn(0);
    cues().clear();

    emptyItemBox();

    EXPECT_EQ(form().itemNumbers()[0], 0);
    EXPECT_EQ(text()->text(), "");
    EXPECT_TRUE(cues().isEmpty());
    EXPECT_TRUE(harness->messages.isEmpty());

    // From item 0 the previous arrow stays there and finds nothing; the next
    // one goes to item 1.
    click("Command3_1");
    EXPECT_EQ(form().itemNumbers()[0], 0);
    EXPECT_EQ(cues(), QStringList({"no"}));
    EXPECT_EQ(harness->messages, QStringList({Missing}));

    click("Command3_0");
    EXPECT_EQ(form().itemNumbers()[0], 1);
    EXPECT_EQ(itemBox()->text(), "1");
    EXPECT_EQ(text()->text(), ItemOneShown);
}

TEST_F(Loading, ANumberWithALeadingZeroIsReportedMissing)
{
    tree.writeItem("Animales", 12, {"Doce ubas"}, {"Doce uvas"});
    startOn(0);
    emptyItemBox();
    typeInItemBox(QStringLiteral("01"));
    cues().clear();
    harness->messages.clear();

    typeInItemBox(u'2');

    EXPECT_EQ(itemBox()->text(), "012");
    EXPECT_EQ(form().itemNumbers()[0], 12);
    EXPECT_EQ(cues(), QStringList({"no"}));
    EXPECT_EQ(harness->messages, QStringList({Missing}));
    EXPECT_EQ(text()->text(), "");
}

TEST_F(Loading, EachExerciseKeepsItsOwnItemNumber)
{
    startOn(0);
    click("Command3_0");
    ASSERT_EQ(text()->text(), ItemTwoShown);

    harness->chooseExercise(1);
    EXPECT_EQ(itemBox()->text(), "1");
    EXPECT_EQ(form().itemNumbers()[1], 1);
    EXPECT_EQ(text()->text(), "El arbol crece \n");

    harness->chooseExercise(0);
    EXPECT_EQ(itemBox()->text(), "2");
    EXPECT_EQ(form().itemNumbers()[0], 2);
    EXPECT_EQ(text()->text(), ItemTwoShown);
}

// Cues and messages in the one order the pupil meets them.
class JournalCuePlayer : public CuePlayer {
public:
    explicit JournalCuePlayer(QStringList& journal)
        : journal_(journal)
    {
    }
    void play(const QString& path) override { journal_.append("cue " + QFileInfo(path).completeBaseName()); }

private:
    QStringList& journal_;
};

class JournalPrompts : public RecordingPrompts {
public:
    explicit JournalPrompts(QStringList& journal)
        : journal_(journal)
    {
    }
    void inform(QWidget* parent, const QString& title, const QString& text, Icon icon) override
    {
        RecordingPrompts::inform(parent, title, text, icon);
        journal_.append("message " + text);
    }

private:
    QStringList& journal_;
};

TEST_F(Loading, AMissingItemSoundsTheNoCueBeforeItsMessage)
{
    QStringList journal;
    JournalCuePlayer player(journal);
    JournalPrompts prompts(journal);
    ProgramState state;
    Form1::Services services;
    services.appFolder = tree.path();
    services.cues = &player;
    services.prompts = &prompts;
    Form1 window(state, services);
    window.Form_Load();
    window.show();
    auto* itemBox = window.findChild<QLineEdit*>("Text1");
    ASSERT_EQ(itemBox->text(), "1");

    QTest::sendKeyEvent(QTest::Press, itemBox, Qt::Key_9, QStringLiteral("9"), {});
    QTest::sendKeyEvent(QTest::Release, itemBox, Qt::Key_9, QStringLiteral("9"), {});

    EXPECT_EQ(journal, QStringList({"cue no", "message " + Missing}));
    // A box without icon, under the program's old short name.
    EXPECT_EQ(prompts.prompts.value(0).title, "MIRAVE~1");
    EXPECT_EQ(prompts.icons, QList<Prompts::Icon>{Prompts::Icon::None});
}

TEST_F(Loading, AMissingItemLeavesARunningCountdownGoing)
{
    startOn(0);
    form().Timer1_Timer();
    form().Timer1_Timer();
    const qint32 runnerAt = form().countdownLeft();
    const double runnerShownAt = twips::left(runner());
    helpButton()->setEnabled(true);
    state().TimeUp = true;

    typeInItemBox(u'7');  // item 17 does not exist

    EXPECT_EQ(harness->messages, QStringList({Missing}));
    EXPECT_TRUE(timer()->isActive());
    EXPECT_EQ(form().countdownLeft(), runnerAt);
    EXPECT_EQ(twips::left(runner()), runnerShownAt);
    EXPECT_TRUE(runner()->isVisible());
    // The load got as far as locking the help and resetting the time.
    EXPECT_FALSE(helpButton()->isEnabled());
    EXPECT_FALSE(state().TimeUp);
    EXPECT_EQ(form().faultyWords().words(), ItemOneFaultyWords);
    EXPECT_EQ(form().correctWords().words(), ItemOneCorrectWords);
    EXPECT_EQ(helpText()->text(), ItemOneCorrectShown);
}

// An item that is there but cannot be worked: how it is spoilt, and the first
// line of the message that says so.
struct BrokenItem {
    const char* name;
    std::function<void(const TempTree&)> spoil;
    QString message;
};

void PrintTo(const BrokenItem& item, std::ostream* os)
{
    *os << item.name;
}

const QString FaultyOne = QStringLiteral("Ejercicios/Animales/incorrecto/1.txt");
const QString CorrectOne = QStringLiteral("Ejercicios/Animales/correcto/1.txt");

const BrokenItem BrokenItems[] = {
    {"CorrectVersionMissing", [](const TempTree& t) { QFile::remove(t.file(CorrectOne)); }, Missing},
    {"FaultyVersionEmpty", [](const TempTree& t) { t.write(FaultyOne, {}); }, "El archivo está vacío"},
    {"CorrectVersionEmpty", [](const TempTree& t) { t.write(CorrectOne, {}); }, "El archivo está vacío"},
    {"CorrectVersionHasAWordMore",
     [](const TempTree& t) { t.writeLines(CorrectOne, {"Mi perro come", "Es mío", "hoy"}); },
     "Las dos versiones del texto no tienen el mismo número de palabras"},
    {"FaultyVersionSplitsAWord",
     [](const TempTree& t) { t.writeLines(FaultyOne, {"Mi pe ro come", "Es mio"}); },
     "Las dos versiones del texto no tienen el mismo número de palabras"},
    {"FaultyVersionTooLarge",
     [](const TempTree& t) { t.write(FaultyOne, QByteArray(4 * 1024 * 1024 + 1, 'a')); },
     "El archivo es demasiado grande"},
    {"FaultyVersionUnreadable",
     [](const TempTree& t) {
         QFile::setPermissions(t.file(FaultyOne), QFileDevice::Permissions());
     },
     "No puedo leer el archivo"},
};

class BrokenItemLoading : public Loading, public ::testing::WithParamInterface<BrokenItem> {};

TEST_P(BrokenItemLoading, IsRefusedAndLeavesTheItemBeforeItUntouched)
{
    startOn(0);
    harness->clickText(5);
    form().Timer1_Timer();
    const qint32 runnerAt = form().countdownLeft();
    cues().clear();

    GetParam().spoil(tree);
    QFile probe(tree.file(FaultyOne));
    if (GetParam().message == "No puedo leer el archivo" && probe.open(QIODevice::ReadOnly))
        GTEST_SKIP() << "this user reads files whatever their permissions";

    click("Command3_1");  // reloads item 1 without touching the item box

    ASSERT_EQ(harness->messages.size(), 1);
    EXPECT_TRUE(harness->messages.first().startsWith(GetParam().message)) << harness->messages.first().toStdString();
    EXPECT_EQ(cues(), QStringList({"no"}));
    EXPECT_EQ(text()->text(), ItemOneShown);
    EXPECT_EQ(colourAt(text(), 3), vbcolor::Green);
    EXPECT_EQ(helpText()->text(), ItemOneCorrectShown);
    EXPECT_EQ(form().faultyWords().words(), ItemOneFaultyWords);
    EXPECT_EQ(form().correctWords().words(), ItemOneCorrectWords);
    EXPECT_TRUE(timer()->isActive());
    EXPECT_EQ(form().countdownLeft(), runnerAt);
}

INSTANTIATE_TEST_SUITE_P(, BrokenItemLoading, ::testing::ValuesIn(BrokenItems),
                         [](const ::testing::TestParamInfo<BrokenItem>& info) { return info.param.name; });

TEST_F(Loading, AnItemWithoutItsCorrectVersionIsNeverPairedWithAnotherItem)
{
    QFile::remove(tree.file("Ejercicios/Animales/correcto/2.txt"));
    startOn(0);
    cues().clear();

    click("Command3_0");

    EXPECT_EQ(cues(), QStringList({"no", "no"}));
    ASSERT_EQ(harness->messages.size(), 2);
    EXPECT_TRUE(harness->messages.first().startsWith(Missing));
    // The faulty text of item 2 is not shown against the words of item 1.
    EXPECT_EQ(text()->text(), "");
    EXPECT_EQ(form().faultyWords().words(), ItemOneFaultyWords);
    EXPECT_EQ(form().correctWords().words(), ItemOneCorrectWords);
    EXPECT_EQ(helpText()->text(), ItemOneCorrectShown);
}

TEST_F(Loading, ATypedNumberBeyondTheLargestItemStopsThere)
{
    startOn(0);
    emptyItemBox();

    typeInItemBox(QStringLiteral("9999999999"));

    EXPECT_EQ(form().itemNumbers()[0], std::numeric_limits<qint32>::max());
    EXPECT_EQ(harness->messages.last(), Missing);
}

TEST_F(Loading, TheNextArrowStopsAtTheLargestItem)
{
    startOn(0);
    emptyItemBox();
    typeInItemBox(QStringLiteral("2147483647"));
    ASSERT_EQ(form().itemNumbers()[0], std::numeric_limits<qint32>::max());
    harness->messages.clear();

    click("Command3_0");

    EXPECT_EQ(form().itemNumbers()[0], std::numeric_limits<qint32>::max());
    EXPECT_EQ(itemBox()->text(), "2147483647");
    EXPECT_FALSE(harness->messages.isEmpty());
    for (const QString& message : harness->messages)
        EXPECT_EQ(message, Missing);
}

}  // namespace

// --- Mi repaso --------------------------------------------------------------

namespace {

// Ana failed «vaca» and «hierba» yesterday; her rows are in the class's folder.
class Review : public MainWindowTest {
protected:
    Review()
    {
        tree.writeItem("06 B y V", 1, {"En la granja hay una baca blanca", "y un burro muy viejo."},
                       {"En la granja hay una vaca blanca", "y un burro muy viejo."});
        tree.writeItem("06 B y V", 2, {"La vaca come ierba fresca."}, {"La vaca come hierba fresca."});
        tree.writeItem("08 La H", 1, {"La ierba está mojada.", "Hoy hace sol."},
                       {"La hierba está mojada.", "Hoy hace sol."});
        results::Row row;
        row.date = Today.date().addDays(-1);
        row.time = QTime(10, 0);
        row.pupil = QStringLiteral("Ana");
        row.exercise = QStringLiteral("06 B y V");
        row.item = 1;
        row.setFailures(QStringList{"vaca", "hierba"});
        row.failed = 2;
        EXPECT_TRUE(results::appendRow(folder.filePath("2026-03-09_Ana_aula.csv"), row));
        configure("alumno/preguntar", true);
        configure("resultados/carpeta", folder.path());
        configure("repaso/activo", true);
    }
    ~Review() override
    {
        harness.reset();
        QDir(review::rootFor(QStringLiteral("Ana"))).removeRecursively();
    }
    // Starts the program as Ana; the review is built before it goes on when
    // `wait`.
    void start(bool show = true, bool wait = true)
    {
        MainWindowTest::start(QStringLiteral("Ana"), show);
        harness->clock = [this] { return today; };
        if (wait)
            waitForReview();
    }
    void waitForReview() { ASSERT_TRUE(QTest::qWaitFor([this] { return !form().reviewPending(); }, 10000)); }
    // Corrects every misspelt word of the text, as the pupil does.
    void correctEverything()
    {
        for (int k = 0; k < form().correctWords().count(); ++k) {
            const QString right = form().correctWords().entry(k);
            if (form().faultyWords().entry(k) == right)
                continue;
            const QString shown = text()->text();
            int offset = 0;
            for (int spaces = 0; spaces < k; ++offset) {
                if (shown.at(offset) == u' ')
                    ++spaces;
            }
            if (shown.at(offset) == u'\n')
                ++offset;
            harness->clickText(offset + 1);
            harness->type(QString(form().pickedWord().size(), u'\b') + right);
        }
    }

    static inline const QDateTime Today{QDate(2026, 3, 10), QTime(9, 0)};
    QDateTime today = Today;
    QTemporaryDir folder;
};

TEST_F(Review, AnaFindsHerWordsMisspeltInLinesOfTheExercisesFirstInTheList)
{
    start();
    EXPECT_EQ(listed(), (QStringList{"00 Mi repaso", "06 B y V", "08 La H"}));
    harness->chooseExercise(0);
    EXPECT_TRUE(form().correctWords().words().contains("vaca"));
    EXPECT_TRUE(form().correctWords().words().contains("hierba"));
    EXPECT_FALSE(form().faultyWords().words().contains("vaca"));
    EXPECT_FALSE(form().faultyWords().words().contains("hierba"));
    EXPECT_TRUE(harness->messages.isEmpty());

    correctEverything();
    ASSERT_TRUE(form().faultyWords().words() == form().correctWords().words());
    // Her row names the review; the review is made again from it.
    EXPECT_TRUE(form().reviewPending());
    ASSERT_TRUE(form().waitForResults(10000));
    QByteArray rows;
    for (const QFileInfo& file : QDir(folder.path()).entryInfoList({"*.csv"}, QDir::Files)) {
        QFile f(file.filePath());
        if (f.open(QIODevice::ReadOnly))
            rows += f.readAll();
    }
    EXPECT_TRUE(rows.contains(";Ana;00 Mi repaso;1;sí;"));
    waitForReview();
    EXPECT_EQ(listed(), (QStringList{"00 Mi repaso", "06 B y V", "08 La H"})) << "listed once";
}

TEST_F(Review, HerWordsLeaveAfterASecondDayOfRightAnswers)
{
    for (int day = 0; day < 2; ++day) {
        today = Today.addDays(day);
        start();
        ASSERT_EQ(listed().first(), "00 Mi repaso") << "day " << day;
        harness->chooseExercise(0);
        correctEverything();
        ASSERT_TRUE(form().waitForResults(10000));
        waitForReview();
        harness.reset();
    }
    today = Today.addDays(2);
    start();
    EXPECT_EQ(listed(), (QStringList{"06 B y V", "08 La H"}));
}

TEST_F(Review, ListedLaterShiftsNoExercisesItemNumber)
{
    start(true, false);
    // Before the review is listed: item 2 of the first exercise.
    form().Command3_Click(0);
    ASSERT_EQ(form().correctWords().words().first(), "La");
    waitForReview();
    ASSERT_EQ(listed().first(), "00 Mi repaso");
    EXPECT_EQ(form().itemNumbers()[1], 2);
    EXPECT_EQ(form().itemNumbers()[0], 1);
    form().Command3_Click(1);
    EXPECT_EQ(form().itemNumbers()[1], 1) << "the arrows still step the exercise being worked";
    EXPECT_EQ(form().correctWords().words().first(), "En");
}

struct ReviewOffCase {
    const char* name;
    std::function<void(const QTemporaryDir& results)> arrange;
};

class ReviewOff : public Review, public ::testing::WithParamInterface<ReviewOffCase> {};

TEST_P(ReviewOff, ListsNothingAndSaysNothing)
{
    GetParam().arrange(folder);
    start();
    EXPECT_EQ(listed(), (QStringList{"06 B y V", "08 La H"}));
    EXPECT_TRUE(harness->messages.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Review, ReviewOff,
    ::testing::Values(
        ReviewOffCase{"TurnedOff", [](const QTemporaryDir&) { configure("repaso/activo", false); }},
        ReviewOffCase{"ResultsFolderUnreadable",
                      [](const QTemporaryDir& results) {
                          QFile::remove(results.filePath("2026-03-09_Ana_aula.csv"));
                          QFile file(results.filePath("no-es-carpeta"));
                          ASSERT_TRUE(file.open(QIODevice::WriteOnly));
                          configure("resultados/carpeta", file.fileName());
                      }},
        ReviewOffCase{"NothingToReview",
                      [](const QTemporaryDir& results) { QFile::remove(results.filePath("2026-03-09_Ana_aula.csv")); }},
        ReviewOffCase{"NoLineHoldsHerWords",
                      [](const QTemporaryDir& results) {
                          results::Row row;
                          row.date = QDate(2026, 3, 9);
                          row.time = QTime(11, 0);
                          row.pupil = "Ana";
                          row.exercise = "06 B y V";
                          row.setFailures(QStringList{"murciélago"});
                          QFile::remove(results.filePath("2026-03-09_Ana_aula.csv"));
                          ASSERT_TRUE(results::appendRow(results.filePath("b.csv"), row));
                      }}),
    [](const ::testing::TestParamInfo<ReviewOffCase>& info) { return std::string(info.param.name); });

}  // namespace
