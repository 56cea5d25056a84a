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
#include <random>
#include <utility>

namespace Ui {
class Form1;
}
class CuePlayer;
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

// The main exercise window: the exercise list, the text with misspelt words,
// the correction box, the countdown runner, the list of corrected words.
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
        std::function<void(const QString&)> messageBox;      // modal message with one OK button
        QWidget* splash = nullptr;                           // closed by the start-up
        std::function<void()> quit;                          // ends the program
        // Asks the pupil's name when the settings say so; replaced by the
        // tests. Empty answers keep the account's name.
        std::function<QString(const QString& question)> askName;
        // The time the results rows are stamped with; the clock when unset.
        std::function<QDateTime()> clock;
    };

    Form1(ProgramState& state, Services services, QWidget* parent = nullptr);
    ~Form1() override;

    // State of the running exercise.
    QString AppFolder;
    QString ExerciseFolder;
    QString ExerciseRoot;  // the content root ExerciseFolder lies in
    QVector<qint32> ItemNumber;  // current item of each exercise, by its place in List1
    int SelectedExercise = 0;
    // The middle of the two sizes of a picked word, in whole points (24 at
    // the design's normal size).
    int TextFontSize = 0;
    qint32 CountdownLeft = 0;
    int PickedWordStart = 0;
    int PickedWordLength = 0;
    QString PickedWord;
    int WordCounter = 0;

    // Hidden holders of data.
    WordList& List2 = item_.correctWords();  // correct words of the current item
    WordList& List3 = item_.faultyWords();   // faulty words, overwritten by the pupil's corrections
    QStringList Dir1;    // the exercise folders found at start-up
    QList<catalogue::ListedExercise> ExerciseList;  // where each exercise of Dir1 lies, in the same order
    QPixmap Picture1;    // the background tile
    QTimer* Timer1 = nullptr;

    ProgramState& state() const { return state_; }
    // The name the results rows carry, and the folder they go to.
    const QString& pupilName() const { return pupil_; }
    const QString& resultsFolder() const { return resultsFolder_; }
    // Waits at most `timeoutMs` for the rows under way to be written to the
    // results folder; true when none is.
    bool waitForResults(int timeoutMs);
    // The picture and results windows, null until first shown.
    Form3* form3() const { return form3_.get(); }
    Form4* form4() const { return form4_.get(); }

    // Start-up and layout.
    void Form_Load();
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

private:
    void connectHandlers();
    // The picture and results windows, made when first needed.
    Form3& pictureWindow();
    Form4& resultsWindow();
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
    // The pupil has been told once that the rows cannot be written.
    bool resultsRefusalShown_ = false;

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
