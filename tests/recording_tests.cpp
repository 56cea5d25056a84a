// SPDX-License-Identifier: GPL-3.0-or-later
// The rows the pupil's program appends to the results file as a pupil works:
// a finished text, an abandoned one, one finished out of time, one with help;
// quitting; the folder from the settings; an unwritable folder; the name
// question; two main windows writing to one folder.

#include "tests/support.h"

#include "library/results.h"
#include "library/rowqueue.h"
#include "presentation/richtextbox.h"
#include "windows/form4.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QWindow>

#include <QListWidget>

#include <gtest/gtest.h>

#include <ostream>

#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QByteArray Bom = "\xEF\xBB\xBF";
const QByteArray HeaderLine = "fecha;hora;alumno;ejercicio;texto;terminado;en_plazo;segundos;palabras_corregidas;"
                              "palabras_con_fallo;ayuda;fallos;escrito;familias;acertadas\r\n";
const QDateTime Loaded(QDate(2026, 3, 9), QTime(10, 0, 0));

// "Mi pero come \nEs mio \n": pero at offsets 3 to 6, mio at 18 to 20.
constexpr int Pero = 4;
constexpr int Mio = 19;

class Recording : public MainWindowTest {
protected:
    // A file where the results folder should be, which not even root can
    // write into; outside the content tree, in a folder of the test's own
    // (tests run at once). Set as the results folder.
    QString blockResultsFolder()
    {
        const QString blocked = outside.filePath(QStringLiteral("bloqueado"));
        QFile f(blocked);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        configure(QStringLiteral("resultados/carpeta"), blocked);
        return blocked;
    }
    QTemporaryDir outside;
    Recording()
    {
        tree.writeItem("01 Animales", 1, {"Mi pero come", "Es mio"}, {"Mi perro come", "Es mío"});
        tree.writeItem("01 Animales", 2, {"El gato"}, {"El gato"});
        tree.writeItem("02 B; V \"y\" H", 1, {"Una baca"}, {"Una vaca"});
    }
    ~Recording() override
    {
        harness.reset();
        // What a test left waiting is not written by the next one.
        QDir(results::RowQueue::defaultFolder()).removeRecursively();
    }

    void start(const QString& name = QString())
    {
        MainWindowTest::start(name);
        harness->clock = [this] { return Loaded.addSecs(seconds); };
    }
    void correctPero()
    {
        harness->clickText(Pero);
        harness->type(u"\b\brro"_s);  // red while retyping: "pe", "per", "perr"
    }
    void correctMio()
    {
        harness->clickText(Mio);
        harness->type(u"\b\bío"_s);
    }
    QString file(const QString& pupil) const
    {
        return QDir(folder.path()).filePath(results::fileName(Loaded.date(), pupil, results::thisMachine()));
    }
    QByteArray rowsOf(const QString& pupil) const
    {
        if (harness) {
            EXPECT_TRUE(form().waitForResults(10000));
        }
        QFile f(file(pupil));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QByteArray row(const QString& fields) const
    {
        return (u"2026-03-09;10:"_s + fields + u"\r\n"_s).toUtf8();
    }

    QTemporaryDir folder;
    qint64 seconds = 0;
    const QString me = results::accountName();
};

TEST_F(Recording, AFinishedText)
{
    configure(u"resultados/carpeta"_s, folder.path());
    start();
    harness->chooseExercise(0);
    seconds = 42;
    correctPero();
    correctMio();
    EXPECT_EQ(rowsOf(me), Bom + HeaderLine + row(u"00:42;%1;01 Animales;1;sí;sí;42;2;0;no;;;;perro mío"_s.arg(me)));
    // Leaving the finished text adds nothing.
    harness->chooseExercise(1);
    form().Command4_Click();
    EXPECT_EQ(rowsOf(me).count('\n'), 2);
    EXPECT_TRUE(harness->messages.isEmpty());
}

TEST_F(Recording, AnAbandonedTextWithAWordLeftRed)
{
    configure(u"resultados/carpeta"_s, folder.path());
    start();
    harness->chooseExercise(0);
    seconds = 7;
    harness->clickText(Pero);
    harness->type(u"v"_s);  // "perov": red
    harness->chooseExercise(1);
    EXPECT_EQ(rowsOf(me),
              Bom + HeaderLine + row(u"00:07;%1;01 Animales;1;no;no;7;0;1;no;perro;perov;r/rr;"_s.arg(me)));
}

TEST_F(Recording, ATextLeftWithoutAPickLeavesNoRow)
{
    configure(u"resultados/carpeta"_s, folder.path());
    start();
    harness->chooseExercise(0);
    harness->chooseExercise(1);
    form().Command3_Click(0);
    form().Command4_Click();
    EXPECT_FALSE(QFile::exists(file(me)));
}

TEST_F(Recording, AnotherItemLeavesTheText)
{
    configure(u"resultados/carpeta"_s, folder.path());
    start();
    harness->chooseExercise(0);
    correctPero();
    form().Command3_Click(0);  // the next item
    EXPECT_EQ(rowsOf(me), Bom + HeaderLine + row(u"00:00;%1;01 Animales;1;no;no;0;1;0;no;;;;perro"_s.arg(me)));
}

TEST_F(Recording, ATextFinishedOutOfTime)
{
    configure(u"resultados/carpeta"_s, folder.path());
    start();
    harness->chooseExercise(0);
    correctPero();
    runOutOfTime();
    seconds = 130;
    correctMio();
    EXPECT_EQ(rowsOf(me), Bom + HeaderLine + row(u"02:10;%1;01 Animales;1;sí;no;130;2;0;no;;;;perro mío"_s.arg(me)));
}

TEST_F(Recording, ATextWithHelpUsed)
{
    configure(u"resultados/carpeta"_s, folder.path());
    start();
    harness->chooseExercise(0);
    harness->clickText(Mio);
    harness->type(u"\bo"_s);  // "mio" again after "mi": black, no failure
    harness->clickText(Pero);
    harness->type(u"o"_s);  // "peroo": red
    runOutOfTime();
    helpButton()->click();  // the help view, with "peroo" red
    helpButton()->click();  // back
    harness->clickText(Pero);
    harness->type(u"\b\b\brro"_s);
    correctMio();
    EXPECT_EQ(rowsOf(me), Bom + HeaderLine + row(u"00:00;%1;01 Animales;1;sí;no;0;2;1;sí;perro;peroo;r/rr;mío"_s.arg(me)));
}

TEST_F(Recording, QuittingLeavesTheText)
{
    configure(u"resultados/carpeta"_s, folder.path());
    start();
    harness->chooseExercise(1);
    harness->clickText(5);
    harness->type(u"\b\b\b\bv"_s);  // "v": red
    form().Command4_Click();
    EXPECT_EQ(harness->quits, 1);
    EXPECT_EQ(rowsOf(me),
              Bom + HeaderLine + row(u"00:00;%1;\"02 B; V \"\"y\"\" H\";1;no;no;0;0;1;no;vaca;v;b/v;"_s.arg(me)));
}

TEST_F(Recording, ClosingTheWindowLeavesTheText)
{
    configure(u"resultados/carpeta"_s, folder.path());
    start();
    harness->chooseExercise(0);
    correctPero();
    form().close();
    EXPECT_EQ(rowsOf(me).count('\n'), 2);
}

TEST_F(Recording, WithoutSettingsTheRowsGoToTheDefaultFolder)
{
    start();
    EXPECT_EQ(form().resultsFolder(), qEnvironmentVariable("XDG_DATA_HOME") + u"/miravellon/resultados"_s);
    harness->chooseExercise(0);
    correctPero();
    correctMio();
    form().waitForResults(10000);
    const QString path =
        QDir(form().resultsFolder()).filePath(results::fileName(Loaded.date(), me, results::thisMachine()));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    EXPECT_TRUE(f.readAll().startsWith(Bom + HeaderLine));
    f.remove();
}

TEST_F(Recording, TheMachineWideSettingsNameASharedFolder)
{
    // As /etc/xdg/miravellon/miravellon.conf does on every machine of a
    // classroom.
    const QString machineWide = qEnvironmentVariable("XDG_CONFIG_DIRS") + u"/miravellon/miravellon.conf"_s;
    QDir().mkpath(QFileInfo(machineWide).path());
    QFile conf(machineWide);
    // The machine's file the tests run with is put back afterwards.
    const QByteArray before = conf.open(QIODevice::ReadOnly) ? conf.readAll() : QByteArray();
    conf.close();
    ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
    conf.write(before + "[resultados]\ncarpeta=" + QFile::encodeName(folder.path()) + "\n");
    conf.close();
    start();
    ASSERT_TRUE(conf.open(QIODevice::WriteOnly | QIODevice::Truncate));
    conf.write(before);
    conf.close();
    EXPECT_EQ(form().resultsFolder(), folder.path());
    harness->chooseExercise(0);
    correctPero();
    form().Command4_Click();
    EXPECT_EQ(rowsOf(me), Bom + HeaderLine + row(u"00:00;%1;01 Animales;1;no;no;0;1;0;no;;;;perro"_s.arg(me)));
}

TEST_F(Recording, AFolderInsideTheContentTreeIsNotUsed)
{
    configure(u"resultados/carpeta"_s, tree.file(u"Ejercicios/resultados"_s));
    start();
    EXPECT_EQ(form().resultsFolder(), results::defaultFolder());
}

TEST_F(Recording, AFolderAmongTheTeachersExercisesIsNotUsed)
{
    const QString teachers = qEnvironmentVariable("XDG_DATA_HOME") + u"/miravellon/Ejercicios"_s;
    QDir().mkpath(teachers);
    configure(u"resultados/carpeta"_s, teachers + u"/01 Resultados"_s);
    start();
    QDir(teachers).removeRecursively();
    EXPECT_EQ(form().resultsFolder(), results::defaultFolder());
}

// The notices given, once the first has come from the writing thread.
QList<RecordingPrompts::Prompt> resultsNotices(const RecordingPrompts& prompts)
{
    for (int i = 0; i < 400 && prompts.notices.isEmpty(); ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(5);
    }
    QList<RecordingPrompts::Prompt> notices;
    for (const RecordingPrompts::Prompt& prompt : prompts.prompts) {
        if (prompt.kind == u"notify"_s)
            notices.append(prompt);
    }
    return notices;
}

int waitingRows()
{
    return int(QDir(results::RowQueue::defaultFolder()).entryList({u"fila_*"_s}, QDir::Files).size());
}

TEST_F(Recording, AnUnwritableFolderIsToldOnceWithoutBlockingAndTheRowsWait)
{
    const QString blocked = blockResultsFolder();
    start();
    harness->chooseExercise(0);
    correctPero();
    correctMio();
    // A notice the pupil may close or leave (one that blocks nothing), no
    // modal box, no path.
    const RecordingPrompts::Prompt told{u"notify"_s, u"MIRAVELLON"_s,
        u"Ahora no puedo guardar tus resultados. Puedes seguir trabajando: los guardaré más tarde."_s};
    EXPECT_EQ(resultsNotices(harness->prompts), QList<RecordingPrompts::Prompt>{told});
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(harness->messages.isEmpty());
    // The log still has the text, and the next text is worked and left.
    EXPECT_TRUE(log()->text().contains(u"Mi perro come"_s));
    form().Command3_Click(0);
    seconds = 10;
    harness->clickText(1);
    form().Command3_Click(1);
    ASSERT_TRUE(form().waitForResults(10000));
    QCoreApplication::processEvents();
    EXPECT_EQ(resultsNotices(harness->prompts), QList<RecordingPrompts::Prompt>{told}) << "told once";
    EXPECT_EQ(waitingRows(), 2);
    // The folder can be written again: the next row takes the waiting ones
    // with it, each once.
    QFile::remove(blocked);
    seconds = 20;
    harness->clickText(1);
    form().Command4_Click();
    ASSERT_TRUE(form().waitForResults(10000));
    EXPECT_EQ(waitingRows(), 0);
    QFile rows(QDir(blocked).filePath(results::fileName(Loaded.date(), me, results::thisMachine())));
    ASSERT_TRUE(rows.open(QIODevice::ReadOnly));
    EXPECT_EQ(rows.readAll().count('\n'), 4);
    QDir(blocked).removeRecursively();
}

TEST_F(Recording, TheExitButtonEndsAtOnceWithAnUnwritableFolder)
{
    const QString blocked = blockResultsFolder();
    start();
    harness->chooseExercise(0);
    harness->clickText(Pero);
    harness->type(u"v"_s);
    form().Command4_Click();
    EXPECT_EQ(harness->quits, 1);
    EXPECT_TRUE(harness->messages.isEmpty());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    harness.reset();
    EXPECT_EQ(waitingRows(), 1) << "the row is not lost";
    QFile::remove(blocked);
}

TEST_F(Recording, APlantedLinkAtThePupilsFileIsNotFollowed)
{
    configure(u"resultados/carpeta"_s, folder.path());
    QTemporaryDir other;
    const QString victim = other.filePath(u"privado.txt"_s);
    QFile v(victim);
    ASSERT_TRUE(v.open(QIODevice::WriteOnly));
    v.write("privado\n");
    v.close();
    ASSERT_TRUE(QFile::link(victim, file(me)));
    start();
    harness->chooseExercise(0);
    correctPero();
    correctMio();
    ASSERT_TRUE(form().waitForResults(10000));
    ASSERT_TRUE(v.open(QIODevice::ReadOnly));
    EXPECT_EQ(v.readAll(), "privado\n");
    QFile sibling(file(me).chopped(4) + u"_2.csv"_s);
    ASSERT_TRUE(sibling.open(QIODevice::ReadOnly));
    EXPECT_EQ(sibling.readAll(), Bom + HeaderLine + row(u"00:00;%1;01 Animales;1;sí;sí;0;2;0;no;;;;perro mío"_s.arg(me)));
}

TEST_F(Recording, AHeldLockNeverHoldsThePupilUp)
{
    configure(u"resultados/carpeta"_s, folder.path());
    start();
    harness->chooseExercise(0);
    correctPero();
    form().Command3_Click(0);
    const QByteArray first = rowsOf(me);
    ASSERT_EQ(first.count('\n'), 2);
    // Another pupil holds the lock of the file from now on.
    const int holder = ::open(QFile::encodeName(file(me)).constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    seconds = 10;
    harness->clickText(1);
    harness->type(u"x"_s);
    form().Command3_Click(0);
    ASSERT_TRUE(form().waitForResults(10000));
    EXPECT_EQ(rowsOf(me), first);
    EXPECT_EQ(waitingRows(), 1);
    ::close(holder);
    // Leaving tries the queue again.
    form().Command4_Click();
    EXPECT_EQ(rowsOf(me).count('\n'), 3) << rowsOf(me).toStdString();
    EXPECT_EQ(waitingRows(), 0) << QDir(results::RowQueue::defaultFolder()).entryList(QDir::Files).join(u' ').toStdString();
}

TEST_F(Recording, TheEndOfTheSessionRecordsTheTextUnderWay)
{
    for (const int signal : {SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        configure(u"resultados/carpeta"_s, folder.path());
        start();
        seconds = signal;
        harness->chooseExercise(0);
        harness->clickText(Pero);
        harness->type(u"v"_s);
        ::raise(signal);
        for (int i = 0; i < 400 && harness->quits == 0; ++i) {
            QCoreApplication::processEvents();
            QThread::msleep(5);
        }
        EXPECT_EQ(harness->quits, 1);
        EXPECT_TRUE(rowsOf(me).endsWith(
            row(u"00:%1;%2;01 Animales;1;no;no;0;0;1;no;perro;perov;r/rr;"_s.arg(QString::number(signal).rightJustified(2, u'0'), me))))
            << rowsOf(me).toStdString();
    }
    EXPECT_EQ(rowsOf(me).count('\n'), 3);
}

TEST_F(Recording, TheTextUnderWayOfASessionCutShortIsWrittenAtTheNextStart)
{
    // At logout the display may go first, and the program end without a
    // signal: the text under way is in the queue all the same.
    configure(u"resultados/carpeta"_s, folder.path());
    start();
    harness->chooseExercise(0);
    correctPero();
    harness->clickText(Mio);
    harness->type(u"x"_s);
    harness->clickText(Pero);  // "miox" left red
    ASSERT_TRUE(form().waitForResults(10000));
    harness.reset();  // no close, no row
    EXPECT_FALSE(QFile::exists(file(me)));
    start();
    EXPECT_EQ(rowsOf(me),
              Bom + HeaderLine + row(u"00:00;%1;01 Animales;1;no;no;0;1;1;no;mío;miox;tilde;perro"_s.arg(me)));
    harness.reset();
    start();
    EXPECT_EQ(rowsOf(me).count('\n'), 2) << "never twice";
}

TEST_F(Recording, TheNameQuestionWhenConfigured)
{
    configure(u"resultados/carpeta"_s, folder.path());
    configure(u"alumno/preguntar"_s, u"true"_s);
    start(u"  Lucía / 3.º B "_s);
    EXPECT_EQ(harness->questions, QStringList{u"¿Cómo te llamas?"_s});
    EXPECT_EQ(harness->prompts.prompts.value(0),
              (RecordingPrompts::Prompt{u"askName"_s, u"MIRAVELLON"_s, u"¿Cómo te llamas?"_s}));
    EXPECT_EQ(form().pupilName(), u"Lucía / 3.º B"_s);
    harness->chooseExercise(0);
    correctPero();
    correctMio();
    harness->chooseExercise(0);
    seconds = 30;
    correctPero();
    form().Command4_Click();
    EXPECT_EQ(harness->questions.size(), 1) << "asked once a session";
    const QString expected = QDir(folder.path()).filePath(
        u"2026-03_Lucía-3-º-B_"_s + results::thisMachine() + u".csv"_s);
    form().waitForResults(10000);
    QFile rows(expected);
    ASSERT_TRUE(rows.open(QIODevice::ReadOnly)) << expected.toStdString();
    const QByteArray bytes = rows.readAll();
    EXPECT_EQ(bytes.count(u";Lucía / 3.º B;01 Animales;1;"_s.toUtf8()), 2);
}

// The name question as the pupil meets it: over the main window, once that
// is on the screen, with the log out of sight; a list to choose from when the
// results folder holds a class list.
struct NameQuestionRow {
    const char* name;
    QByteArray classList;  // alumnos.txt; none when empty
    QStringList offered;
    QString typed;
    QStringList left;  // the names left once it is typed
    int downs;         // then Down pressed so many times, and Enter
    QString pupil;
};

void PrintTo(const NameQuestionRow& row, std::ostream* out)
{
    *out << row.name;
}

class NameQuestion : public Recording, public ::testing::WithParamInterface<NameQuestionRow> {};

TEST_P(NameQuestion, IsAskedOverTheShownMainWindow)
{
    const NameQuestionRow& row = GetParam();
    configure(u"resultados/carpeta"_s, folder.path());
    configure(u"alumno/preguntar"_s, u"true"_s);
    if (!row.classList.isEmpty()) {
        QFile list(QDir(folder.path()).filePath(u"alumnos.txt"_s));
        ASSERT_TRUE(list.open(QIODevice::WriteOnly));
        list.write(row.classList);
    }
    ProgramState state;
    Form1::Services services;
    services.appFolder = tree.path();
    Form1 form(state, services);
    form.Form_Load();
    EXPECT_EQ(visibleWindows(), QList<QWidget*>{}) << "nothing shown before the main window";

    bool asked = false;
    QTimer answer;
    answer.setInterval(5);
    QObject::connect(&answer, &QTimer::timeout, &answer, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog)
            return;
        answer.stop();
        asked = true;
        EXPECT_EQ(dialog->objectName(), u"NameQuestion"_s);
        EXPECT_EQ(dialog->parentWidget(), &form);
        auto* label = dialog->findChild<QLabel*>();
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), u"¿Cómo te llamas?"_s);
        EXPECT_TRUE(form.isVisible());
        EXPECT_TRUE(form.windowHandle()->isExposed());
        const QList<QWidget*> shown = visibleWindows();
        EXPECT_TRUE(shown.size() == 2 && shown.contains(&form) && shown.contains(dialog)) << "the log shows by itself";
        auto* list = dialog->findChild<QListWidget*>();
        auto* line = dialog->findChild<QLineEdit*>();
        ASSERT_NE(list, nullptr);
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(list->isVisible(), !row.offered.isEmpty());
        QStringList items;
        for (int i = 0; i < list->count(); ++i)
            items << list->item(i)->text();
        EXPECT_EQ(items, row.offered);
        EXPECT_EQ(list->currentItem(), nullptr) << "a name chosen beforehand";
        QTest::keyClicks(line, row.typed);
        QStringList left;
        for (int i = 0; i < list->count(); ++i) {
            if (!list->item(i)->isHidden())
                left << list->item(i)->text();
        }
        EXPECT_EQ(left, row.left);
        for (int i = 0; i < row.downs; ++i)
            QTest::keyClick(line, Qt::Key_Down);
        QTest::keyClick(line, Qt::Key_Return);
    });
    answer.start();
    form.show();
    for (int i = 0; i < 400 && form.nameQuestionPending(); ++i)
        QTest::qWait(5);
    EXPECT_TRUE(asked);
    EXPECT_EQ(form.pupilName(), row.pupil);
}

INSTANTIATE_TEST_SUITE_P(
    Recording, NameQuestion,
    ::testing::Values(
        NameQuestionRow{"free_text", {}, {}, u"Marta"_s, {}, 0, u"Marta"_s},
        NameQuestionRow{"typed_without_accents", "# 3.\xC2\xBA B\r\nLuc\xC3\xAD" "a P\xC3\xA9rez\r\nIv\xC3\xA1n\r\nLucas\r\n",
                        {u"Lucía Pérez"_s, u"Iván"_s, u"Lucas"_s}, u"lucia"_s, {u"Lucía Pérez"_s}, 0, u"Lucía Pérez"_s},
        NameQuestionRow{"chosen_with_the_arrows", "Luc\xED" "a P\xE9rez\r\nIv\xE1n\r\nLucas\r\n", {u"Lucía Pérez"_s, u"Iván"_s, u"Lucas"_s},
                        u"luc"_s, {u"Lucía Pérez"_s, u"Lucas"_s}, 1, u"Lucas"_s},
        NameQuestionRow{"not_on_the_list", "Luc\xED" "a\r\n", {u"Lucía"_s}, u"Pablo"_s, {}, 0, u"Pablo"_s}),
    [](const ::testing::TestParamInfo<NameQuestionRow>& info) { return std::string(info.param.name); });


TEST_F(Recording, ATeacherTryingATextIsAskedNothingAndLeavesNoRow)
{
    configure(u"resultados/carpeta"_s, folder.path());
    configure(u"alumno/preguntar"_s, u"true"_s);
    // Her exercise, outside the folders the program lists.
    TempTree hers;
    hers.writeItem(u"21 Huerto"_s, 1, {u"Una baca"_s}, {u"Una vaca"_s});
    hers.writeItem(u"21 Huerto"_s, 2, {u"Mi pero come"_s, u"Es mio"_s}, {u"Mi perro come"_s, u"Es mío"_s});
    harness = std::make_unique<MainWindowHarness>(tree.path(), true, u"Lucía"_s,
                                                  hers.file(u"Ejercicios/21 Huerto"_s), 2);
    harness->clock = [this] { return Loaded.addSecs(seconds); };
    EXPECT_TRUE(harness->questions.isEmpty());
    EXPECT_EQ(text()->text(), u"Mi pero come \nEs mio \n"_s);
    EXPECT_EQ(exercises()->currentItem()->text(), u"21 Huerto"_s);
    correctPero();
    correctMio();
    form().Command4_Click();
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(harness->messages.isEmpty()) << harness->messages.join(u'\n').toStdString();
}

TEST_F(Recording, NoQuestionWithoutTheSetting)
{
    start(u"Lucía"_s);
    EXPECT_TRUE(harness->questions.isEmpty());
    EXPECT_EQ(form().pupilName(), me);
}

TEST_F(Recording, AnEmptyAnswerKeepsTheAccountName)
{
    configure(u"alumno/preguntar"_s, u"true"_s);
    start(u"   "_s);
    EXPECT_EQ(harness->questions.size(), 1);
    EXPECT_EQ(form().pupilName(), me);
}

TEST_F(Recording, TwoWindowsOnOneFolder)
{
    configure(u"resultados/carpeta"_s, folder.path());
    start();
    MainWindowHarness second(tree.path());
    second.clock = [] { return Loaded.addSecs(5); };
    harness->chooseExercise(0);
    second.chooseExercise(0);
    correctPero();
    second.clickText(Pero);
    second.type(u"x"_s);
    second.chooseExercise(1);
    EXPECT_TRUE(second.form().waitForResults(10000));
    correctMio();
    EXPECT_TRUE(form().waitForResults(10000));
    second.clickText(5);
    second.type(u"\b\b\b\bvaca"_s);
    EXPECT_TRUE(second.form().waitForResults(10000));
    EXPECT_EQ(rowsOf(me), Bom + HeaderLine + row(u"00:05;%1;01 Animales;1;no;no;0;0;1;no;perro;perox;r/rr;"_s.arg(me))
                              + row(u"00:00;%1;01 Animales;1;sí;sí;0;2;0;no;;;;perro mío"_s.arg(me))
                              + row(u"00:05;%1;\"02 B; V \"\"y\"\" H\";1;sí;sí;0;1;0;no;;;;vaca"_s.arg(me)));
}

}  // namespace
