// The rows the pupil's program appends to the results file as a pupil works:
// a finished text, an abandoned one, one finished out of time, one with help;
// quitting; the folder from the settings; an unwritable folder; the name
// question; two main windows writing to one folder.

#include "tests/support.h"

#include "library/results.h"
#include "presentation/richtextbox.h"
#include "windows/form4.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QSysInfo>

#include <QListWidget>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QByteArray Bom = "\xEF\xBB\xBF";
const QByteArray HeaderLine =
    "fecha;hora;alumno;ejercicio;texto;terminado;en_plazo;segundos;palabras_corregidas;palabras_con_fallo;ayuda;fallos\r\n";
const QDateTime Loaded(QDate(2026, 3, 9), QTime(10, 0, 0));

// "Mi pero come \nEs mio \n": pero at offsets 3 to 6, mio at 18 to 20.
constexpr int Pero = 4;
constexpr int Mio = 19;

class Recording : public ::testing::Test {
protected:
    Recording()
    {
        tree.writeItem("01 Animales", 1, {"Mi pero come", "Es mio"}, {"Mi perro come", "Es mío"});
        tree.writeItem("01 Animales", 2, {"El gato"}, {"El gato"});
        tree.writeItem("02 B; V \"y\" H", 1, {"Una baca"}, {"Una vaca"});
        configFile = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
            + u"/miravellon/miravellon.conf"_s;
    }
    ~Recording() override { QFile::remove(configFile); }

    void configure(const QString& key, const QString& value)
    {
        QSettings settings(QSettings::NativeFormat, QSettings::UserScope, u"miravellon"_s, u"miravellon"_s);
        settings.setValue(key, value);
        settings.sync();
    }
    void start(const QString& name = QString())
    {
        harness = std::make_unique<MainWindowHarness>(tree.path(), true, name);
        harness->clock = [this] { return Loaded.addSecs(seconds); };
    }
    Form1& form() { return harness->form(); }
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
    void runOutOfTime()
    {
        for (int i = 0; i < 100000 && !harness->state.TimeUp; ++i)
            form().Timer1_Timer();
        ASSERT_TRUE(harness->state.TimeUp);
    }
    QString file(const QString& pupil) const
    {
        return QDir(folder.path()).filePath(results::fileName(Loaded.date(), pupil, QSysInfo::machineHostName()));
    }
    QByteArray rowsOf(const QString& pupil) const
    {
        QFile f(file(pupil));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QByteArray row(const QString& fields) const
    {
        return (u"2026-03-09;10:"_s + fields + u"\r\n"_s).toUtf8();
    }

    TempTree tree;
    QTemporaryDir folder;
    QString configFile;
    std::unique_ptr<MainWindowHarness> harness;
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
    EXPECT_EQ(rowsOf(me), Bom + HeaderLine + row(u"00:42;%1;01 Animales;1;sí;sí;42;2;0;no;"_s.arg(me)));
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
    EXPECT_EQ(rowsOf(me), Bom + HeaderLine + row(u"00:07;%1;01 Animales;1;no;no;7;0;1;no;perro"_s.arg(me)));
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
    EXPECT_EQ(rowsOf(me), Bom + HeaderLine + row(u"00:00;%1;01 Animales;1;no;no;0;1;0;no;"_s.arg(me)));
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
    EXPECT_EQ(rowsOf(me), Bom + HeaderLine + row(u"02:10;%1;01 Animales;1;sí;no;130;2;0;no;"_s.arg(me)));
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
    harness->find<QPushButton>("Command1")->click();  // the help view, with "peroo" red
    harness->find<QPushButton>("Command1")->click();  // back
    harness->clickText(Pero);
    harness->type(u"\b\b\brro"_s);
    correctMio();
    EXPECT_EQ(rowsOf(me), Bom + HeaderLine + row(u"00:00;%1;01 Animales;1;sí;no;0;2;1;sí;perro"_s.arg(me)));
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
              Bom + HeaderLine + row(u"00:00;%1;\"02 B; V \"\"y\"\" H\";1;no;no;0;0;1;no;vaca"_s.arg(me)));
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
    const QString path = QDir(form().resultsFolder())
                             .filePath(results::fileName(Loaded.date(), me, QSysInfo::machineHostName()));
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
    ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
    conf.write("[resultados]\ncarpeta=" + QFile::encodeName(folder.path()) + "\n");
    conf.close();
    start();
    QFile::remove(machineWide);
    EXPECT_EQ(form().resultsFolder(), folder.path());
    harness->chooseExercise(0);
    correctPero();
    form().Command4_Click();
    EXPECT_EQ(rowsOf(me), Bom + HeaderLine + row(u"00:00;%1;01 Animales;1;no;no;0;1;0;no;"_s.arg(me)));
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

TEST_F(Recording, AnUnwritableFolderIsToldOnceAndThePupilGoesOn)
{
    // A file where the folder should be: not even root can write there.
    const QString blocked = tree.file(u"../bloqueado"_s);
    QFile f(blocked);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    configure(u"resultados/carpeta"_s, blocked);
    start();
    harness->chooseExercise(0);
    correctPero();
    correctMio();
    EXPECT_EQ(harness->messages, QStringList{u"No puedo guardar los resultados en "_s + QDir::cleanPath(blocked)});
    // The log still has the text, and the next text is worked and left.
    EXPECT_TRUE(form().form4()->RichTextBox1()->text().contains(u"Mi perro come"_s));
    form().Command3_Click(0);
    harness->clickText(1);
    form().Command3_Click(1);
    EXPECT_EQ(harness->messages.size(), 1);
    QFile::remove(blocked);
}

TEST_F(Recording, TheNameQuestionWhenConfigured)
{
    configure(u"resultados/carpeta"_s, folder.path());
    configure(u"alumno/preguntar"_s, u"true"_s);
    start(u"  Lucía / 3.º B "_s);
    EXPECT_EQ(harness->questions, QStringList{u"¿Cómo te llamas?"_s});
    EXPECT_EQ(form().pupilName(), u"Lucía / 3.º B"_s);
    harness->chooseExercise(0);
    correctPero();
    correctMio();
    harness->chooseExercise(0);
    correctPero();
    form().Command4_Click();
    EXPECT_EQ(harness->questions.size(), 1) << "asked once a session";
    const QString expected = QDir(folder.path()).filePath(
        u"2026-03-09_Lucía-3-º-B_"_s + results::safeName(QSysInfo::machineHostName(), u"equipo"_s) + u".csv"_s);
    QFile rows(expected);
    ASSERT_TRUE(rows.open(QIODevice::ReadOnly)) << expected.toStdString();
    const QByteArray bytes = rows.readAll();
    EXPECT_EQ(bytes.count(u";Lucía / 3.º B;01 Animales;1;"_s.toUtf8()), 2);
}

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
    EXPECT_EQ(harness->text()->text(), u"Mi pero come \nEs mio \n"_s);
    EXPECT_EQ(harness->find<QListWidget>("List1")->currentItem()->text(), u"21 Huerto"_s);
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
    correctMio();
    second.clickText(5);
    second.type(u"\b\b\b\bvaca"_s);
    EXPECT_EQ(rowsOf(me), Bom + HeaderLine + row(u"00:05;%1;01 Animales;1;no;no;0;0;1;no;perro"_s.arg(me))
                              + row(u"00:00;%1;01 Animales;1;sí;sí;0;2;0;no;"_s.arg(me))
                              + row(u"00:05;%1;\"02 B; V \"\"y\"\" H\";1;sí;sí;0;1;0;no;"_s.arg(me)));
}

}  // namespace
