// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDateTime>
#include <QPixmap>
#include <QStringList>
#include <QVector>
#include <QWidget>

#include "library/catalogue.h"
#include "library/exerciseitem.h"
#include "library/results.h"
#include "library/rowqueue.h"
#include "library/textsize.h"
#include "windows/form3.h"
#include "windows/form4.h"

#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <utility>

namespace Ui {
class Form1;
}
class CuePlayer;
class Prompts;
class QThread;
class QTimer;
class RangeMarks;
class RichTextBox;
struct ProgramState;

// The fixed numbers of the main window's design.
namespace design {
// Exercises that have an item number of their own, at the least.
inline constexpr int ItemSlots = 71;
// Timer1's interval at the slowest pace; each faster pace ticks this much
// sooner (pace buttons 1 to 4: 200, 150, 100 and 50 ms).
inline constexpr int SlowestPaceMs = 200;
inline constexpr int PaceStepMs = 50;
// How far the runner moves each tick, in twips.
inline constexpr int RunnerStepTwips = 25;
}  // namespace design

// The codes the key handlers receive and set: a handler that consumes a key
// sets its code to None.
namespace keycode {
inline constexpr int None = 0;
inline constexpr int Backspace = 8;
inline constexpr int Enter = 13;
inline constexpr int Escape = 27;
}  // namespace keycode

// The main exercise window: the exercise list, the text with misspelt words,
// the correction box, the countdown runner, the list of corrected words.
//
// Its controls keep the names of the design (forms/form1.ui), which are their
// objectNames too:
//   List1          the exercise list, on the left
//   Text1          the item number, between the arrows
//   Command3_0     the next-item arrow;  Command3_1  the previous-item arrow
//   RichTextBox1   the exercise text, with the misspelt words
//   RichTextBox2   the correct text, shown in its place by the help
//   RichTextBox3   the correction box, below the text
//   List4          the corrected words, on the right; a click opens a picture (Form3)
//   Command1       help;  Command6  the results log (Form4);  Command4  exit
//   Command5_0..3  the four paces of the countdown, slowest first;  Timer1  its tick
//   Zarandel1      the running figure that crosses the screen as the countdown
//   Zarandel2      the reward animation after a right answer
//   Combo1         the font of the exercise text
//   Label2         the program's name and address;  Label4_0  «Nivel», over the paces
class Form1 : public QWidget {
    Q_OBJECT

    // The item being worked, with the rules of picking and judging; its word
    // lists are List2 and List3 below.
    ExerciseItem item_;

public:
    // What the window needs from the world outside it.
    struct Services {
        QString appFolder;                                   // holds the program and its content
        CuePlayer* cues = nullptr;                           // plays the sound cues
        // Every message to the pupil and the name question (asked when the
        // settings say so; an empty answer keeps the account's name), here and
        // in the results log; the real dialogs when null.
        Prompts* prompts = nullptr;
        QWidget* splash = nullptr;                           // closed by the start-up
        std::function<void()> quit;                          // ends the program
        // The time the results rows are stamped with; the clock when unset.
        std::function<QDateTime()> clock;
        // A teacher trying a text: the program starts on item `trialItem` of
        // the exercise at `trialFolder`, asks no name and records nothing.
        QString trialFolder;
        int trialItem = 0;
    };

    Form1(ProgramState& state, Services services, QWidget* parent = nullptr);
    ~Form1() override;

    // The faulty words, overwritten by the pupil's corrections; the
    // benchmarks set them to leave a long text one word from complete.
    WordList& List3 = item_.faultyWords();

    ProgramState& state() const { return state_; }
    // The state of the running exercise as the window's own handlers leave
    // it (the fields of the same names below).
    const QString& appFolder() const { return AppFolder; }
    const QString& exerciseFolder() const { return ExerciseFolder; }
    const QString& exerciseRoot() const { return ExerciseRoot; }
    const QVector<qint32>& itemNumbers() const { return ItemNumber; }
    int selectedExercise() const { return SelectedExercise; }
    int textFontSize() const { return TextFontSize; }
    qint32 countdownLeft() const { return CountdownLeft; }
    int pickedWordStart() const { return PickedWordStart; }
    int pickedWordLength() const { return PickedWordLength; }
    const QString& pickedWord() const { return PickedWord; }
    int wordCounter() const { return WordCounter; }
    const WordList& correctWords() const { return List2; }
    const WordList& faultyWords() const { return List3; }
    const QStringList& exerciseFolders() const { return Dir1; }
    const QList<catalogue::ListedExercise>& exerciseList() const { return ExerciseList; }
    const QPixmap& background() const { return Picture1; }
    // The name the results rows carry, and the folder they go to.
    const QString& pupilName() const { return pupil_; }
    const QString& resultsFolder() const { return resultsFolder_; }
    // The name question is still to come: the settings ask for it and the
    // window has not been shown long enough to ask it over itself.
    bool nameQuestionPending() const { return nameWanted_ && !nameAsked_; }
    // Waits at most `timeoutMs` for the rows under way to be written to the
    // results folder; true when none is.
    bool waitForResults(int timeoutMs);
    // The picture and results windows, null until first shown.
    Form3* form3() const { return form3_.get(); }
    Form4* form4() const { return form4_.get(); }

    // Start-up and layout.
    void Form_Load();
    // The pupil is known: her review («00 Mi repaso») is built away from the
    // window's thread and, when she has words to review, listed first for
    // the rest of the session. Called once.
    void startReview();
    // A review is being built.
    bool reviewPending() const { return reviewThread_ != nullptr; }
    void ArrangeControls();

    // Sound cues: `name` is the cue's file name without extension.
    void PlayCue(const QString& name);

    // Choosing and loading an item.
    void List1_Click();
    void Command3_Click(int index);
    void Text1_Change();
    void Text1_Keypress(int& keyAscii);
    void LoadExerciseItem();

    // Picking a word, judging the correction, finishing a text.
    void RichTextBox1_Click();
    void richtextbox3_KeyUp(int keyCode, Qt::KeyboardModifiers shift);
    void CompleteItem();
    void Command6_Click();

    // Pace and countdown.
    void Command5_Click(int index);
    void Timer1_Timer();
    void Zarandel2_GifEnd();

    // Help, pictures, font and the small handlers.
    void Command1_Click();
    void ShowWordPicture();
    void List4_Click();
    void Combo1_Click();
    void Command4_Click();
    void RichTextBox1_KeyDown(int& keyCode, Qt::KeyboardModifiers shift);
    void RichTextBox3_KeyDown(int& keyCode, Qt::KeyboardModifiers shift);

    // Text size: the normal size of the exercise text, in points, which the
    // pupil chooses from textsize::Steps; the picked words, the correction box
    // and the help view follow it. The choice is kept in the user's settings
    // and read again at start-up.
    const textsize::Sizes& textSizes() const { return textSizes_; }
    // `steps` steps larger (positive) or smaller (negative), or back to the
    // design's size (0), as the pupil asks with the keys or the wheel; the
    // new size is remembered.
    void changeTextSize(int steps);
    // The size kept in the user's settings; the design's when there is none.
    static double rememberedTextSize();

    // Brings this window to the front (from the picture and log windows).
    void showAndActivate();

    // The seed of the reward animations' generator; never taken from the clock.
    std::minstd_rand& random() { return random_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // State of the running exercise.
    QString AppFolder;
    QString ExerciseFolder;
    QString ExerciseRoot;  // the content root ExerciseFolder lies in
    QVector<qint32> ItemNumber;  // current item of each exercise, by its place in List1
    int SelectedExercise = 0;
    // The middle of the two sizes of a picked word, in whole points (24 at
    // the design's normal size).
    int TextFontSize = 0;
    qint32 CountdownLeft = 0;  // the runner's left edge, in twips
    int PickedWordStart = 0;
    int PickedWordLength = 0;
    QString PickedWord;
    int WordCounter = 0;

    // Hidden holders of data.
    WordList& List2 = item_.correctWords();  // correct words of the current item
    QStringList Dir1;    // the exercise folders found at start-up
    QList<catalogue::ListedExercise> ExerciseList;  // where each exercise of Dir1 lies, in the same order
    QPixmap Picture1;    // the background tile
    QTimer* Timer1 = nullptr;  // the countdown's tick, found by its name too

    void connectHandlers();
    // The picture and log windows, while this window covers them, are hidden
    // rather than covered: the pupil cannot reach them by themselves (from
    // the task bar, say). They come back when asked for.
    void hideCoveredWindows();
    // The picture and results windows, made when first needed.
    Form3& pictureWindow();
    Form4& resultsWindow();
    Prompts& prompts() const;
    void showMessage(const QString& text);
    void refuseItem(const QString& message);
    qint32& currentItemNumber();
    // Draws the exercise text, the help view and the correction box with the
    // sizes of the normal size `normal`.
    void applyTextSize(double normal);
    // Gives every character of the exercise text the size that corresponds,
    // among textSizes_, to the one it has among `from`.
    void resizeExerciseText(const textsize::Sizes& from);
    // The largest size of the correction box's font that its height holds.
    double correctionBoxRoom() const;
    // The keys that pick a word, show a picture or change the text size.
    bool keyboardEvent(QObject* watched, QEvent* event);

    // The lasting results (recording.cpp): the pupil and folder are settled
    // at start-up; a row is appended when a text is finished, or left after
    // a word of it was picked.
    void startRecording();
    // Asks the pupil's name once the window is on the screen, in a dialog of
    // its own, so that the name question never stands alone.
    void askPupilName();
    void settleResultsFolder();
    // The row of the exercise tried, added to the list when it is not in it;
    // -1 when no text is being tried.
    int trialExercise();
    void startAttempt();
    void recordPick(int position);
    void recordJudgement(int position, Judgement judgement, const QString& typed);
    // Keeps the row of the text under way in the queue, as not finished.
    void keepTextUnderWay();
    void leaveText();
    void recordRow(bool finished);
    // Tells the pupil, once and without blocking, that the rows wait.
    void showResultsNotice();
    // SIGTERM or SIGHUP: the text under way is recorded, then the program ends.
    void endSession();
    // Gives the rows being written a fraction of a second; what is not
    // written by then stays in the queue.
    void syncResults();
    QDateTime now() const;
    results::RowQueue& rowQueue();
    std::unique_ptr<results::RowQueue> rows_;
    results::Attempt attempt_;
    QString pupil_;
    QString resultsFolder_;
    bool nameWanted_ = false;
    bool nameAsked_ = false;
    int nameWaits_ = 0;
    // The pupil has been told once that the rows cannot be written.
    bool resultsRefusalShown_ = false;

    // Her review (review.cpp): built again when she finishes one of its texts.
    void buildReview();
    void reviewBuilt(const std::optional<catalogue::ListedExercise>& exercise);
    QThread* reviewThread_ = nullptr;
    QList<results::Row> sessionRows_;  // the rows of this session's texts
    QString reviewRoot_;
    bool reviewListed_ = false;
    bool reviewAgain_ = false;  // another build is asked for while one runs

    std::unique_ptr<Ui::Form1> ui;
    ProgramState& state_;
    Services services_;
    std::unique_ptr<Form3> form3_;
    std::unique_ptr<Form4> form4_;
    std::minstd_rand random_;

    // A word of the text now shown has been picked, so typing may change it.
    bool pickValid_ = false;
    // Length the picked word has now in the exercise text (it follows the
    // typing); it starts at PickedWordStart.
    int spanLength_ = 0;
    // The change of Text1 under way is the pupil's own edit.
    bool itemNumberTyped_ = false;
    // The item under way is loaded from digits the pupil typed: Text1 keeps
    // the focus, so that the next digit goes there too.
    bool loadFromItemBox_ = false;
    // The loaded item has not been logged as finished yet.
    bool completionArmed_ = false;
    // The sizes the exercise text is drawn in now.
    textsize::Sizes textSizes_;
    // Turns of the wheel (in eighths of a degree) with Control held, not yet
    // a whole step.
    int wheelTurn_ = 0;
    // The key (Enter or Space) pressed in the exercise text whose release
    // picks the word at the caret; 0 when none.
    int pickKey_ = 0;
    // The remaining errors marked in the help view.
    RangeMarks* helpMarks_ = nullptr;
};
