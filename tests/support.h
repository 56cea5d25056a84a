// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Helpers shared by the tests: temporary content trees, a cue recorder, a
// main window on such a tree, a pupil's clicks and keys, and the fixture
// the main window's tests share.

#include "mainwindow/form1.h"
#include "presentation/cueplayer.h"
#include "presentation/prompts.h"
#include "presentation/richtextbox.h"
#include "presentation/zarandel.h"
#include "windows/programstate.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <QVariant>

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <iosfwd>
#include <functional>
#include <memory>
#include <vector>

class QComboBox;
class QWidget;

// A content tree in a temporary folder.
class TempTree {
public:
    TempTree();
    QString path() const { return dir_.path(); }
    QString file(const QString& relative) const { return path() + u'/' + relative; }

    // Writes raw bytes, making the folders on the way.
    void write(const QString& relative, const QByteArray& bytes) const;
    // The bytes of a file; empty when it cannot be read.
    QByteArray read(const QString& relative) const;
    void mkdir(const QString& relative) const;
    // Writes lines in Windows-1252 with CR LF line ends.
    void writeLines(const QString& relative, const QStringList& lines) const;
    // Both versions of item `item` of exercise `exercise`.
    void writeItem(const QString& exercise, int item, const QStringList& faulty, const QStringList& correct) const;
    // A small picture in a format Qt reads, chosen by the extension.
    void writePicture(const QString& relative, int width, int height) const;

private:
    QTemporaryDir dir_;
};

QByteArray windows1252(const QString& text);

// The teacher's and the school's data folders for as long as it lives:
// XDG_DATA_HOME names home() and XDG_DATA_DIRS the school folders, all in a
// temporary folder; the variables are put back afterwards. Their content
// roots ("<folder>/miravellon") are made only when written to.
class DataFolders {
public:
    explicit DataFolders(int schools = 1);
    ~DataFolders();
    DataFolders(const DataFolders&) = delete;
    DataFolders& operator=(const DataFolders&) = delete;

    QString home() const { return tree_.file(QStringLiteral("home")); }
    QString school(int n) const { return tree_.file(QStringLiteral("escuela%1").arg(n)); }
    // The content roots: "<home>/miravellon" and "<school n>/miravellon".
    QString teacherRoot() const { return home() + QStringLiteral("/miravellon"); }
    QString schoolRoot(int n = 0) const { return school(n) + QStringLiteral("/miravellon"); }
    // The same folders as trees relative to the temporary folder, for writing.
    const TempTree& tree() const { return tree_; }

private:
    TempTree tree_;
    QByteArray savedHome_;
    QByteArray savedDirs_;
};

// Records the cues played, by file name without extension.
class RecordingCuePlayer : public CuePlayer {
public:
    void play(const QString& path) override;
    QStringList cues;
};

// Answers every question in a person's stead, from queues or by default, and
// records each question and message with its title and text. A window given
// it opens no dialog.
class RecordingPrompts : public virtual Prompts {
public:
    struct Prompt {
        QString kind;  // the member asked: "inform", "saveFile", "askName"...
        QString title;
        QString text;  // the message, question or label; a file's filter
        bool operator==(const Prompt&) const = default;
    };

    void inform(QWidget* parent, const QString& title, const QString& text, Icon icon = Icon::Information) override;
    void notify(QWidget* parent, const QString& title, const QString& text) override;
    // The next of `confirms`; yes when none is left.
    bool confirm(QWidget* parent, const QString& title, const QString& text) override;
    // The next of `texts`; the initial text when none is left.
    std::optional<QString> askText(QWidget* parent, const QString& title, const QString& label,
                                   const QString& initial) override;
    // The files and the folder: the next of `files`; none when none is left.
    QString openFile(QWidget* parent, const QString& title, const QString& filter) override;
    QString saveFile(QWidget* parent, const QString& title, const QString& suggested, const QString& filter) override;
    QString chooseFolder(QWidget* parent, const QString& title, const QString& start) override;
    // Prints into the PDF file `printTo`; cancelled when it is empty.
    bool choosePrinter(QWidget* parent, const QString& title, QPrinter& printer) override;
    // `name`, every time.
    QString askName(QWidget* parent, const QString& title, const QString& question, const QStringList& names) override;

    // The answers.
    std::deque<bool> confirms;
    std::deque<std::optional<QString>> texts;
    std::deque<QString> files;
    QString printTo;
    QString name;

    // What was asked and told, in order.
    QList<Prompt> prompts;
    QStringList informed;      // the texts of the messages (inform)
    QStringList notices;       // the texts of the messages that block nothing
    QStringList asked;         // the questions: confirm's texts, askText's labels, askName's questions
    QStringList offered;       // the initial texts askText offered
    QStringList suggested;     // the file names saveFile suggested
    QStringList offeredNames;  // the class list offered with the last name question
    QList<Icon> icons;         // the icons of the messages (inform)
};
// How GoogleTest prints a prompt in a failure.
void PrintTo(const RecordingPrompts::Prompt& prompt, std::ostream* out);

// A main window started on a content tree, shown offscreen.
class MainWindowHarness {
public:
    // `name` answers the name question, when the settings make the program
    // ask it.
    // With `trialFolder`, the window starts as `miravellon --probar
    // trialFolder trialItem` starts it.
    explicit MainWindowHarness(const QString& appFolder, bool show = true, const QString& name = QString(),
                               const QString& trialFolder = QString(), int trialItem = 0);
    ~MainWindowHarness();

    Form1& form() { return *form1; }
    template<typename T>
    T* find(const char* name) const
    {
        return form1->findChild<T*>(QString::fromLatin1(name));
    }
    RichTextBox* text() const;        // the exercise text
    RichTextBox* correction() const;  // the correction box

    // Chooses exercise `row` in the exercise list as a pupil's click does.
    void chooseExercise(int row);
    // Clicks the exercise text so that the caret lands at `offset`.
    void clickText(int offset);
    // Types characters into the correction box, each pressed and released.
    void type(const QString& characters);
    void pressKey(QWidget* target, Qt::Key key, const QString& text = QString());
    // Presses and releases a key as the keyboard does: each event goes to
    // the widget that has the focus when it comes, so a key that moves the
    // focus is released where the focus went. A window with no widget to
    // hold the focus takes them itself.
    void keyboard(Qt::Key key, const QString& text = QString(), Qt::KeyboardModifiers modifiers = {});

    ProgramState state;
    RecordingCuePlayer cues;
    // Answers the name question with the `name` given; records every
    // message.
    RecordingPrompts prompts;
    QStringList& messages = prompts.informed;
    QStringList& questions = prompts.asked;  // the name questions asked
    QStringList& offeredNames = prompts.offeredNames;  // the class list offered with the last one
    int quits = 0;
    // The time the results rows are stamped with; the clock when unset.
    std::function<QDateTime()> clock;
    std::unique_ptr<Form1> form1;
};

// The windows a pupil can reach by themselves: the visible top-level ones
// (menus and tooltips aside).
QList<QWidget*> visibleWindows();

// How one character of a rich-text box is drawn: its colour as 0x00BBGGRR and
// its point size.
std::uint32_t colourAt(const RichTextBox* box, int offset);
double pointSizeAt(const RichTextBox* box, int offset);

// How one character of a box looks: the character, its colour, size and
// font family.
struct Look {
    QChar character;
    std::uint32_t colour;
    double size;
    QString family;
    bool operator==(const Look&) const = default;
};
Look lookAt(const RichTextBox& box, int offset);
// How GoogleTest prints a look in a failure.
void PrintTo(const Look& look, std::ostream* out);
// The looks of every character but the line feeds.
std::vector<Look> looksOf(const RichTextBox& box);

// Points XDG_CONFIG_HOME, XDG_CONFIG_DIRS, XDG_DATA_HOME and XDG_DATA_DIRS at
// empty folders of a new temporary folder, so that the program's settings
// and exercise folders are not read from the machine and its results rows are
// not written into the home folder; only the machine's hunspell dictionaries
// stay in view. The pupil's review is turned off in the machine-wide
// settings. Call
// before the application object is made; keep the folder for the whole run.
// Null when no temporary folder can be made.
std::unique_ptr<QTemporaryDir> isolateXdgFolders();

// Copies the program's own animated GIFs (from the source tree) into the
// tree's "gifs" folder, for tests that need real animations. False when the
// source tree's GIFs cannot be found.
bool copyShippedGifs(const TempTree& tree);

// Opens the font chooser `combo` and clicks `family` in its list, as a pupil
// does.
void chooseFont(QComboBox* combo, const QString& family);

// Sets `key` in the account's settings, which the programs read when they
// start.
void configure(const QString& key, const QVariant& value);
// The account's settings file.
QString settingsFile();

// The fixture of the main window's tests: a content tree of the test's own,
// which it fills before starting the window on it, and the window's controls
// found by their names (the legend in mainwindow/form1.h). The dialogs are
// answered by the harness (harness->messages and the like). The account's
// settings file is removed before and after each test, and the screen size
// a test pretends is forgotten after it.
class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest();
    ~MainWindowTest() override;

    // Starts the window on the tree, in place of one started before; `name`
    // answers the name question; `show` false leaves it unshown.
    MainWindowHarness& start(const QString& name = QString(), bool show = true);
    // Starts the window and chooses exercise `row`, as a pupil's click does.
    MainWindowHarness& startOn(int row);
    // Brings the window to the front and waits until it is active.
    void activate();

    Form1& form() const { return harness->form(); }
    ProgramState& state() const { return harness->state; }
    QStringList& cues() const { return harness->cues.cues; }
    template<typename T>
    T* find(const char* name) const
    {
        return harness->find<T>(name);
    }
    // The controls of the legend in form1.h: text() is the exercise text,
    // helpText() the correct text the help shows in its place.
    QListWidget* exercises() const { return find<QListWidget>("List1"); }
    QLineEdit* itemBox() const { return find<QLineEdit>("Text1"); }
    RichTextBox* text() const { return harness->text(); }
    RichTextBox* helpText() const { return find<RichTextBox>("RichTextBox2"); }
    RichTextBox* correction() const { return harness->correction(); }
    QListWidget* corrected() const { return find<QListWidget>("List4"); }
    QPushButton* button(const char* name) const { return find<QPushButton>(name); }
    QPushButton* helpButton() const { return button("Command1"); }
    Zarandel* runner() const { return find<Zarandel>("Zarandel1"); }
    Zarandel* reward() const { return find<Zarandel>("Zarandel2"); }
    QTimer* timer() const { return find<QTimer>("Timer1"); }
    // The results log's text (Form4), once the log has been made.
    RichTextBox* log() const;

    // The names List1 lists and the words List4 lists, in their order.
    QStringList listed() const;
    QStringList correctedWords() const;
    // Clicks button `name` with the mouse.
    void click(const char* name) const;
    // Ticks the countdown until time is up.
    void runOutOfTime() const;

    TempTree tree;
    std::unique_ptr<MainWindowHarness> harness;
};
