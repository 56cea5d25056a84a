// SPDX-License-Identifier: GPL-3.0-or-later
// A randomized pupil: thousands of seeded random actions on the main window
// (clicks on every control and anywhere in the text, typing, pasting, pace,
// help, results, items, fonts, countdown ticks), with the window's promises
// checked after every single action. A broken promise is shrunk to a short
// sequence of actions that still breaks it, printed with the seed.
//
// MIRAVELLON_MONKEY_SEED and MIRAVELLON_MONKEY_ACTIONS override the seed and
// the number of actions.

#include "tests/support.h"

#include "presentation/richtextbox.h"
#include "presentation/twips.h"
#include "presentation/zarandel.h"
#include "presentation/clickablelabel.h"
#include "windows/form3.h"
#include "windows/form4.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QRegularExpression>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <array>
#include <cmath>
#include <cstdio>
#include <optional>
#include <random>
#include <vector>

namespace {

// Everything a pupil can do to the main window. The two numbers of a step
// choose among the possibilities the window offers when the step is taken,
// so a step can be replayed in any sequence.
enum class Action : std::uint8_t {
    ChooseExercise,    // click an entry of the exercise list
    ExerciseListKey,   // an arrow key in the exercise list
    NextItem,          // the next-item arrow
    PreviousItem,      // the previous-item arrow
    TypeItemNumber,    // empty the item-number box and type a number
    ItemNumberKeys,    // a few keys of any kind in the item-number box
    ClickTextOffset,   // click the exercise text at a character offset
    ClickTextPoint,    // click anywhere in the exercise text's viewport
    ClickWrongWord,    // click a word that is still wrong
    DoubleClickText,   // double-click the exercise text at a character offset
    DragText,          // drag across the exercise text from one offset to another
    TypeCharacters,    // type letters, accents, punctuation, spaces
    TypeCorrectForm,   // retype the correction box with the right word
    Backspace,         // a few Backspaces in the correction box
    Enter,             // Enter in the correction box
    EditingKey,        // arrows, Home, End, Delete, Shift, undo, cut in the correction box
    Paste,             // paste text with spaces and line breaks
    ClickCorrection,   // click in the correction box
    KeyInText,         // a key pressed in the exercise text
    KeyToFocus,        // a key to whatever control has the focus
    Pace,              // a pace button
    Help,              // the help button
    Results,           // the results button
    ClickLog,          // click in the results window
    ClickCorrectedWord,// click an entry of the corrected words
    ClickPicture,      // click the picture window
    Font,              // choose another font with the keyboard
    Tick,              // one countdown tick
    TickBurst,         // many countdown ticks
    AnimationEnds,     // the reward animation reaches its end
    Pause,             // the pupil pauses: pending window events are delivered
    Exit,              // the exit button
};

constexpr std::array<std::pair<Action, int>, 32> Weights{{
    {Action::ChooseExercise, 12},  {Action::ExerciseListKey, 3},   {Action::NextItem, 10},
    {Action::PreviousItem, 6},     {Action::TypeItemNumber, 6},    {Action::ItemNumberKeys, 4},
    {Action::ClickTextOffset, 40}, {Action::ClickTextPoint, 8},    {Action::ClickWrongWord, 60},
    {Action::DoubleClickText, 5},  {Action::DragText, 5},
    {Action::TypeCharacters, 30},  {Action::TypeCorrectForm, 70},  {Action::Backspace, 12},
    {Action::Enter, 8},            {Action::EditingKey, 10},       {Action::Paste, 8},
    {Action::ClickCorrection, 5},  {Action::KeyInText, 4},         {Action::KeyToFocus, 6},
    {Action::Pace, 8},             {Action::Help, 12},             {Action::Results, 5},
    {Action::ClickLog, 4},         {Action::ClickCorrectedWord, 5}, {Action::ClickPicture, 3},
    {Action::Font, 5},             {Action::Tick, 30},             {Action::TickBurst, 12},
    {Action::AnimationEnds, 8},    {Action::Pause, 6},             {Action::Exit, 1},
}};

struct Step {
    Action action;
    std::uint32_t a;
    std::uint32_t b;
};

std::vector<Step> generate(std::uint32_t seed, int count)
{
    std::mt19937 random(seed);
    int total = 0;
    for (const auto& [action, weight] : Weights)
        total += weight;
    std::vector<Step> steps;
    steps.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i) {
        // The draw is done by hand: std::discrete_distribution may differ
        // between standard libraries, and a seed must mean the same actions.
        int draw = int(random() % std::uint32_t(total));
        Action chosen = Weights.front().first;
        for (const auto& [action, weight] : Weights) {
            if (draw < weight) {
                chosen = action;
                break;
            }
            draw -= weight;
        }
        const std::uint32_t a = random();
        const std::uint32_t b = random();
        steps.push_back({chosen, a, b});
    }
    return steps;
}

const QString InTime = QStringLiteral("** Terminado en el plazo de tiempo previsto **");
const QString OutOfTime = QStringLiteral("** Tiempo agotado **");

// Characters a pupil may type: letters with and without accents, capitals,
// punctuation, digits and the space.
const QString Typable = QStringLiteral("aeiourslnbvhgjcyzqkmpdtfñáéíóúüÁÉÍÓÚÑAEMST.,;:!?¡¿«»-'\"0123456789   ");

// The copy of the shipped content the pupil works on, with a short exercise
// added whose items finish quickly and cover the unusual shapes of a text.
class Content {
public:
    Content()
    {
        const QDir assets(QStringLiteral(ASSETS_PATH));
        for (const QString& exercise : {QStringLiteral("01 A y a"), QStringLiteral("16 Tildes")})
            copyTree(assets.filePath(QStringLiteral("Ejercicios/") + exercise),
                     tree.file(QStringLiteral("Ejercicios/") + exercise));
        copyTree(assets.filePath(QStringLiteral("Graficos")), tree.file(QStringLiteral("Graficos")));
        copyTree(assets.filePath(QStringLiteral("gifs")), tree.file(QStringLiteral("gifs")));
        QFile background(assets.filePath(QStringLiteral("fondo.gif")));
        if (background.open(QIODevice::ReadOnly))
            tree.write(QStringLiteral("fondo.gif"), background.readAll());

        const QString shortOnes = QStringLiteral("00 Cortos");
        tree.writeItem(shortOnes, 1, {"La baca come yerba."}, {"La vaca come hierba."});
        tree.writeItem(shortOnes, 2, {"Hoy es lunes."}, {"Hoy es lunes."});  // nothing to correct
        tree.writeItem(shortOnes, 3, {"Ola"}, {"Hola"});
        // Two neighbouring spaces and an empty line: empty words.
        tree.writeItem(shortOnes, 4, {"Mi  ermano", "", "es halto."}, {"Mi  hermano", "", "es alto."});
        tree.writeItem(shortOnes, 5, {"vaca baca baca"}, {"vaca vaca vaca"});
        // Item 6 is missing; item 7 has versions of different lengths; item
        // 8 has no correct version.
        tree.writeItem(shortOnes, 7, {"La casa es grande"}, {"La casa es"});
        tree.writeLines(QStringLiteral("Ejercicios/00 Cortos/incorrecto/8.txt"), {"Sin pareja"});
    }

    QString path() const { return tree.path(); }

private:
    // Copies by reading and writing: QFile::copy syncs every file to disk,
    // which makes hundreds of pictures slow to copy.
    void copyTree(const QString& from, const QString& to) const
    {
        QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString source = it.next();
            QFile in(source);
            ASSERT_TRUE(in.open(QIODevice::ReadOnly)) << source.toStdString();
            tree.write(QDir(tree.path()).relativeFilePath(to + u'/' + QDir(from).relativeFilePath(source)), in.readAll());
        }
    }

    TempTree tree;
};

// The words a shown text holds: every word is closed by one space, every line
// by a space and a line feed. Nothing when the text breaks that shape.
std::optional<QStringList> shownWords(const QString& text)
{
    QStringList pieces = text.split(u' ');
    if (pieces.size() < 2 || pieces.last() != QLatin1String("\n"))
        return std::nullopt;
    pieces.removeLast();
    for (QString& piece : pieces) {
        if (piece.startsWith(u'\n'))
            piece.remove(0, 1);
        if (piece.contains(u'\n'))
            return std::nullopt;
    }
    return pieces;
}

// Offset of the first character of word position `k` in a shown text.
int wordStart(const QString& text, int k)
{
    qsizetype start = 0;
    for (int i = 0; i < k; ++i) {
        const qsizetype space = text.indexOf(u' ', start);
        if (space < 0)
            return -1;
        start = space + 1;
        if (start < text.size() && text.at(start) == u'\n')
            ++start;
    }
    return int(start);
}

// The colour (0x00BBGGRR) of every character of a box, read fragment by
// fragment: much cheaper than asking character by character.
std::vector<std::uint32_t> coloursOf(const RichTextBox& box)
{
    std::vector<std::uint32_t> colours(std::size_t(box.document()->characterCount()), vbcolor::Black);
    const std::uint32_t plain = vbcolor::fromQColor(box.palette().color(QPalette::Text));
    for (QTextBlock block = box.document()->begin(); block.isValid(); block = block.next()) {
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            const std::uint32_t colour = format.hasProperty(QTextFormat::ForegroundBrush)
                ? vbcolor::fromQColor(format.foreground().color())
                : plain;
            for (int i = fragment.position(); i < fragment.position() + fragment.length(); ++i)
                colours.at(std::size_t(i)) = colour;
        }
    }
    return colours;
}

QString quoted(const QString& word)
{
    return u'"' + word + u'"';
}

// Countdown states, as the pupil sees them.
enum class Countdown { Idle, Running, Expired, Stopped };

const char* nameOf(Countdown state)
{
    switch (state) {
    case Countdown::Idle: return "idle";
    case Countdown::Running: return "running";
    case Countdown::Expired: return "expired";
    case Countdown::Stopped: return "stopped";
    }
    return "?";
}

struct Violation {
    QString invariant;  // which promise was broken; shrinking keeps to it
    QString detail;
};

// A further promise a test may ask the monkey to check after every action.
using Promise = std::function<std::optional<Violation>(const MainWindowHarness&)>;

struct Outcome {
    int actions = 0;                // actions performed
    std::optional<int> failedAt;    // index of the action after which a promise broke
    Violation violation;
    QStringList descriptions;       // what each action did, as performed
    int completions = 0;
    int expiries = 0;
    int loads = 0;
    int refusals = 0;
    int corrections = 0;
    QString fingerprint;            // what the window shows at the end
};

// One main window driven by a sequence of steps, with a model of what the
// pupil should see after each.
class Monkey {
public:
    Monkey(const QString& appFolder, Promise extra)
        : harness(appFolder)
        , extraPromise(std::move(extra))
    {
        form4 = form().form4();
        if (form4)
            logLength = form4->RichTextBox1()->document()->characterCount();
        corrected = List4Words();
    }

    Outcome run(const std::vector<Step>& steps, bool describe)
    {
        Outcome outcome;
        for (const Step& step : steps) {
            before();
            const QString description = perform(step);
            if (describe)
                outcome.descriptions.append(description);
            ++outcome.actions;
            std::optional<Violation> broken = check();
            if (!broken && extraPromise)
                broken = extraPromise(harness);
            if (broken) {
                outcome.failedAt = outcome.actions - 1;
                outcome.violation = *broken;
                break;
            }
        }
        outcome.completions = completions;
        outcome.expiries = expiries;
        outcome.loads = loads;
        outcome.refusals = refusals;
        outcome.corrections = corrections;
        outcome.fingerprint = form().faultyWords().words().join(u'|') + u'#' + List4Words().join(u'|') + u'#'
            + QString::number(harness.state.TextCounter) + u'#' + harness.cues.cues.join(u',') + u'#'
            + harness.messages.join(u',') + u'#' + harness.text()->text();
        return outcome;
    }

private:
    Form1& form() { return harness.form(); }
    template<typename T>
    T* find(const char* name) { return harness.find<T>(name); }
    RichTextBox* text() { return harness.text(); }
    RichTextBox* correction() { return harness.correction(); }
    RichTextBox* help() { return find<RichTextBox>("RichTextBox2"); }
    QListWidget* exercises() { return find<QListWidget>("List1"); }
    QListWidget* correctedList() { return find<QListWidget>("List4"); }
    QLineEdit* itemNumber() { return find<QLineEdit>("Text1"); }
    QPushButton* button(const char* name) { return find<QPushButton>(name); }

    QStringList List4Words()
    {
        QStringList words;
        for (int i = 0; i < correctedList()->count(); ++i)
            words.append(correctedList()->item(i)->text());
        return words;
    }

    void press(QWidget* target, Qt::Key key, const QString& characters = QString(),
               Qt::KeyboardModifiers modifiers = {})
    {
        QTest::sendKeyEvent(QTest::Press, target, key, characters, modifiers);
        QTest::sendKeyEvent(QTest::Release, target, key, characters, modifiers);
    }
    void typeCharacter(QWidget* target, QChar c)
    {
        if (c == u' ')
            press(target, Qt::Key_Space, QStringLiteral(" "));
        else
            press(target, Qt::Key_unknown, QString(c));
    }
    static QString someCharacters(std::uint32_t seed, int most)
    {
        std::mt19937 random(seed);
        const int count = 1 + int(random() % std::uint32_t(most));
        QString characters;
        for (int i = 0; i < count; ++i)
            characters += Typable.at(qsizetype(random() % std::uint32_t(Typable.size())));
        return characters;
    }
    void clickAt(QWidget* target, QPoint point) { QTest::mouseClick(target, Qt::LeftButton, {}, point); }
    QPoint pointIn(const QWidget* target, const Step& step)
    {
        return {int(step.a % std::uint32_t(std::max(1, target->width()))),
                int(step.b % std::uint32_t(std::max(1, target->height())))};
    }

    // The box the pupil sees where the exercise text lies: the help view
    // hides the text and shows the correct version in its place.
    RichTextBox* textArea() { return text()->isHidden() ? help() : text(); }

    // Where the caret lands for `offset` in the box the pupil sees.
    QPoint pointOf(int offset)
    {
        RichTextBox* box = textArea();
        QTextCursor cursor(box->document());
        cursor.setPosition(std::clamp(offset, 0, box->textLength()));
        box->ensureCursorVisible();
        return box->cursorRect(cursor).center();
    }

    // Clicks the exercise text at `offset`, or anywhere when it is empty.
    QString clickText(int offset, const Step& step)
    {
        const QString shown = text()->text();
        if (text()->isHidden()) {
            clickAt(help()->viewport(), pointOf(offset));
            return QStringLiteral("click the help view at offset %1").arg(offset);
        }
        if (shown.isEmpty()) {
            const QPoint point = pointIn(text()->viewport(), step);
            clickAt(text()->viewport(), point);
            return QStringLiteral("click the empty exercise text at (%1, %2)").arg(point.x()).arg(point.y());
        }
        harness.clickText(offset);
        return QStringLiteral("click the exercise text at offset %1 (picks %2)").arg(offset).arg(quoted(form().pickedWord()));
    }

    QString perform(const Step& step)
    {
        ticked = 0;
        switch (step.action) {
        case Action::ChooseExercise: {
            const int row = int(step.a % std::uint32_t(exercises()->count()));
            harness.chooseExercise(row);
            return QStringLiteral("choose exercise %1").arg(quoted(exercises()->item(row)->text()));
        }
        case Action::ExerciseListKey: {
            exercises()->setFocus();
            const bool down = step.a % 2 == 0;
            press(exercises(), down ? Qt::Key_Down : Qt::Key_Up);
            return QStringLiteral("press %1 in the exercise list").arg(down ? "Down" : "Up");
        }
        case Action::NextItem:
            QTest::mouseClick(button("Command3_0"), Qt::LeftButton);
            return QStringLiteral("click the next-item arrow (item box shows %1)").arg(quoted(itemNumber()->text()));
        case Action::PreviousItem:
            QTest::mouseClick(button("Command3_1"), Qt::LeftButton);
            return QStringLiteral("click the previous-item arrow (item box shows %1)").arg(quoted(itemNumber()->text()));
        case Action::TypeItemNumber: {
            // Mostly items that exist, sometimes ones beyond the last.
            const QString number = QString::number(step.a % 15);
            press(itemNumber(), Qt::Key_End);
            for (qsizetype i = itemNumber()->text().size(); i > 0; --i)
                press(itemNumber(), Qt::Key_Backspace, QStringLiteral("\b"));
            for (QChar c : number)
                typeCharacter(itemNumber(), c);
            return QStringLiteral("retype the item number as %1").arg(number);
        }
        case Action::ItemNumberKeys: {
            std::mt19937 random(step.a);
            const int count = 1 + int(random() % 4);
            QStringList names;
            for (int i = 0; i < count; ++i) {
                switch (random() % 6) {
                case 0: press(itemNumber(), Qt::Key_Backspace, QStringLiteral("\b")); names << "Backspace"; break;
                case 1: press(itemNumber(), Qt::Key_Left); names << "Left"; break;
                case 2: press(itemNumber(), Qt::Key_Delete); names << "Delete"; break;
                case 3: {
                    const QChar c = Typable.at(qsizetype(random() % std::uint32_t(Typable.size())));
                    typeCharacter(itemNumber(), c);
                    names << quoted(c);
                    break;
                }
                default: {
                    const QChar digit(u'0' + char16_t(random() % 10));
                    typeCharacter(itemNumber(), digit);
                    names << quoted(digit);
                }
                }
            }
            return QStringLiteral("press %1 in the item-number box (it shows %2)")
                .arg(names.join(u' '), quoted(itemNumber()->text()));
        }
        case Action::ClickTextOffset:
            return clickText(int(step.a % std::uint32_t(text()->text().size() + 1)), step);
        case Action::ClickTextPoint: {
            const QPoint point = pointIn(textArea()->viewport(), step);
            clickAt(textArea()->viewport(), point);
            return QStringLiteral("click the exercise text at (%1, %2) (picked %3)")
                .arg(point.x())
                .arg(point.y())
                .arg(quoted(form().pickedWord()));
        }
        case Action::ClickWrongWord: {
            const QString shown = text()->text();
            QList<int> wrong;
            for (int k = 0; k < form().correctWords().count(); ++k) {
                if (form().correctWords().entry(k) != form().faultyWords().entry(k))
                    wrong.append(k);
            }
            const int count = int(shownWords(shown).value_or(QStringList()).size());
            if (count == 0)
                return clickText(0, step);
            const int k = wrong.isEmpty() ? int(step.a % std::uint32_t(count))
                                          : wrong.at(qsizetype(step.a % std::uint32_t(wrong.size())));
            const int start = wordStart(shown, k);
            const int length = int(form().faultyWords().entry(k).size());
            return clickText(start + int(step.b % std::uint32_t(length + 1)), step);
        }
        case Action::DoubleClickText: {
            const int offset = int(step.a % std::uint32_t(textArea()->textLength() + 1));
            QTest::mouseDClick(textArea()->viewport(), Qt::LeftButton, {}, pointOf(offset));
            return QStringLiteral("double-click the %1 at offset %2 (picked %3)")
                .arg(text()->isHidden() ? "help view" : "exercise text")
                .arg(offset)
                .arg(quoted(form().pickedWord()));
        }
        case Action::DragText: {
            const int length = textArea()->textLength() + 1;
            const int from = int(step.a % std::uint32_t(length));
            const int to = int(step.b % std::uint32_t(length));
            QWidget* viewport = textArea()->viewport();
            QTest::mousePress(viewport, Qt::LeftButton, {}, pointOf(from));
            QMouseEvent move(QEvent::MouseMove, pointOf(to), viewport->mapToGlobal(pointOf(to)), Qt::NoButton,
                             Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(viewport, &move);
            QTest::mouseRelease(viewport, Qt::LeftButton, {}, pointOf(to));
            return QStringLiteral("drag across the %1 from offset %2 to %3 (picked %4)")
                .arg(text()->isHidden() ? "help view" : "exercise text")
                .arg(from)
                .arg(to)
                .arg(quoted(form().pickedWord()));
        }
        case Action::TypeCharacters: {
            const QString characters = someCharacters(step.a, 6);
            for (QChar c : characters)
                typeCharacter(correction(), c);
            return QStringLiteral("type %1 in the correction box").arg(quoted(characters));
        }
        case Action::TypeCorrectForm: {
            const QString word = form().correctWords().entry(form().correctWords().count() - form().wordCounter());
            // Emptied either at once or letter by letter; every key release
            // is judged on the way.
            if (step.a % 2 == 0) {
                QTest::keyClick(correction(), Qt::Key_A, Qt::ControlModifier);
                if (word.isEmpty())
                    press(correction(), Qt::Key_Delete);
            } else {
                press(correction(), Qt::Key_End);
                for (qsizetype i = correction()->text().size(); i > 0; --i)
                    press(correction(), Qt::Key_Backspace, QStringLiteral("\b"));
            }
            for (QChar c : word)
                typeCharacter(correction(), c);
            return QStringLiteral("retype the correction box as %1").arg(quoted(word));
        }
        case Action::Backspace: {
            const int count = 1 + int(step.a % 3);
            for (int i = 0; i < count; ++i)
                press(correction(), Qt::Key_Backspace, QStringLiteral("\b"));
            return QStringLiteral("press Backspace %1 times in the correction box").arg(count);
        }
        case Action::Enter:
            press(correction(), Qt::Key_Return, QStringLiteral("\r"));
            return QStringLiteral("press Enter in the correction box");
        case Action::EditingKey: {
            struct Key {
                Qt::Key key;
                Qt::KeyboardModifiers modifiers;
                const char* name;
            };
            static const std::array<Key, 11> keys{{{Qt::Key_Left, {}, "Left"},
                                                   {Qt::Key_Right, {}, "Right"},
                                                   {Qt::Key_Home, {}, "Home"},
                                                   {Qt::Key_End, {}, "End"},
                                                   {Qt::Key_Delete, {}, "Delete"},
                                                   {Qt::Key_Shift, {}, "Shift"},
                                                   {Qt::Key_Left, Qt::ShiftModifier, "Shift+Left"},
                                                   {Qt::Key_Home, Qt::ShiftModifier, "Shift+Home"},
                                                   {Qt::Key_Z, Qt::ControlModifier, "Ctrl+Z"},
                                                   {Qt::Key_Y, Qt::ControlModifier, "Ctrl+Y"},
                                                   {Qt::Key_X, Qt::ControlModifier, "Ctrl+X"}}};
            const Key& key = keys.at(step.a % keys.size());
            QTest::keyClick(correction(), key.key, key.modifiers);
            return QStringLiteral("press %1 in the correction box").arg(key.name);
        }
        case Action::Paste: {
            QString pasted = someCharacters(step.a, 8);
            if (step.b % 3 == 0)
                pasted.insert(qsizetype(step.b % std::uint32_t(pasted.size() + 1)), QStringLiteral("\n\t "));
            QGuiApplication::clipboard()->setText(pasted);
            QTest::keyClick(correction(), Qt::Key_V, Qt::ControlModifier);
            return QStringLiteral("paste %1 into the correction box")
                .arg(quoted(QString(pasted).replace(u'\n', QStringLiteral("\\n")).replace(u'\t', QStringLiteral("\\t"))));
        }
        case Action::ClickCorrection: {
            const QPoint point = pointIn(correction()->viewport(), step);
            clickAt(correction()->viewport(), point);
            return QStringLiteral("click the correction box at (%1, %2)").arg(point.x()).arg(point.y());
        }
        case Action::KeyInText: {
            const bool letter = step.a % 2 == 0;
            if (letter)
                press(textArea(), Qt::Key_X, QStringLiteral("x"));
            else
                press(textArea(), Qt::Key_Delete);
            return QStringLiteral("press %1 in the exercise text").arg(letter ? "x" : "Delete");
        }
        case Action::KeyToFocus: {
            QWidget* focus = form().focusWidget();
            if (!focus)
                return QStringLiteral("press a key with nothing focused (nothing happens)");
            const QChar c = step.a % 4 == 0 ? QChar(u'\b') : Typable.at(qsizetype(step.a % std::uint32_t(Typable.size())));
            if (c == u'\b')
                press(focus, Qt::Key_Backspace, QStringLiteral("\b"));
            else
                typeCharacter(focus, c);
            return QStringLiteral("press %1 in the focused %2")
                .arg(c == u'\b' ? QStringLiteral("Backspace") : quoted(c), focus->objectName());
        }
        case Action::Pace: {
            const int pace = int(step.a % 4);
            QTest::mouseClick(button(QStringLiteral("Command5_%1").arg(pace).toLatin1().constData()), Qt::LeftButton);
            return QStringLiteral("click pace %1").arg(pace + 1);
        }
        case Action::Help: {
            const bool enabled = button("Command1")->isEnabled();
            QTest::mouseClick(button("Command1"), Qt::LeftButton);
            return enabled ? QStringLiteral("click help") : QStringLiteral("click help (locked)");
        }
        case Action::Results:
            QTest::mouseClick(button("Command6"), Qt::LeftButton);
            return QStringLiteral("click results");
        case Action::ClickLog: {
            if (!form4 || form4->isHidden())
                return QStringLiteral("(the results window is not shown)");
            clickAt(form4->RichTextBox1()->viewport(), pointIn(form4->RichTextBox1()->viewport(), step));
            return QStringLiteral("click the results window");
        }
        case Action::ClickCorrectedWord: {
            QListWidget* list = correctedList();
            if (list->count() == 0)
                return QStringLiteral("(no corrected word to click)");
            QListWidgetItem* item = list->item(int(step.a % std::uint32_t(list->count())));
            list->scrollToItem(item);
            clickAt(list->viewport(), list->visualItemRect(item).center());
            return QStringLiteral("click the corrected word %1").arg(quoted(item->text()));
        }
        case Action::ClickPicture: {
            Form3* pictures = form().form3();
            if (!pictures || pictures->isHidden())
                return QStringLiteral("(the picture window is not shown)");
            clickAt(pictures->Picture1(), QPoint(1, 1));
            return QStringLiteral("click the picture window");
        }
        case Action::Font: {
            auto* fonts = find<QComboBox>("Combo1");
            const bool down = step.a % 2 == 0;
            press(fonts, down ? Qt::Key_Down : Qt::Key_Up);
            return QStringLiteral("press %1 in the font chooser (it shows %2)")
                .arg(down ? "Down" : "Up", quoted(fonts->currentText()));
        }
        case Action::Tick:
            if (!find<QTimer>("Timer1")->isActive())
                return QStringLiteral("(no tick: the countdown is stopped)");
            form().Timer1_Timer();
            ticked = 1;
            return QStringLiteral("one countdown tick");
        case Action::TickBurst: {
            const int most = 1 + int(step.a % 300);
            while (ticked < most && find<QTimer>("Timer1")->isActive()) {
                form().Timer1_Timer();
                ++ticked;
            }
            return QStringLiteral("%1 countdown ticks").arg(ticked);
        }
        case Action::AnimationEnds:
            // Not tied to the animation being shown: a pause may already have
            // let a short animation end by the clock.
            form().Zarandel2_GifEnd();
            return QStringLiteral("the reward animation ends");
        case Action::Pause: {
            // Pending window events (activation, focus, layout, painting) are
            // delivered; the countdown's ticks are not, since only the monkey
            // ticks it, so that a replay sees the same window.
            const QSignalBlocker noTicks(find<QTimer>("Timer1"));
            QCoreApplication::processEvents();
            // What a running event loop deletes later (the animations a new
            // one replaced) is deleted now, as QTest::qWait does.
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            return QStringLiteral("pause");
        }
        case Action::Exit:
            QTest::mouseClick(button("Command4"), Qt::LeftButton);
            return QStringLiteral("click exit");
        }
        return {};
    }

    // What the checks compare with: the window as it was before the action.
    void before()
    {
        timeUpBefore = harness.state.TimeUp;
        textCounterBefore = harness.state.TextCounter;
        cuesBefore = int(harness.cues.cues.size());
        correctTextBefore = help()->text();
    }

    std::optional<Violation> check()
    {
        Form1& f = form();
        const auto broken = [](const char* invariant, const QString& detail) {
            return std::optional<Violation>(Violation{QString::fromLatin1(invariant), detail});
        };

        // The two word lists describe the same item.
        if (f.correctWords().count() != f.faultyWords().count())
            return broken("word lists differ in length",
                          QStringLiteral("List2 has %1 words, List3 %2").arg(f.correctWords().count()).arg(f.faultyWords().count()));

        // The exercise text mirrors the faulty word list, one space per word
        // position; the hidden correct text mirrors the correct list.
        const QString shown = text()->text();
        if (!shown.isEmpty()) {
            if (shown.count(u' ') != f.faultyWords().count())
                return broken("one space per word position",
                              QStringLiteral("the text %1 holds %2 spaces for %3 words")
                                  .arg(quoted(shown))
                                  .arg(shown.count(u' '))
                                  .arg(f.faultyWords().count()));
            const std::optional<QStringList> words = shownWords(shown);
            if (!words || *words != f.faultyWords().words())
                return broken("the text mirrors List3", QStringLiteral("the text %1 against List3 %2")
                                                             .arg(quoted(shown), quoted(f.faultyWords().words().join(u'|'))));
            // Each word is drawn in one colour; blue says it is right, red
            // that it is wrong.
            const std::vector<std::uint32_t> colours = coloursOf(*text());
            for (int k = 0, start = 0; k < f.faultyWords().count(); ++k) {
                const QString& word = f.faultyWords().entry(k);
                for (int i = start; i < start + int(word.size()); ++i) {
                    if (colours.at(std::size_t(i)) != colours.at(std::size_t(start)))
                        return broken("a word has one colour", QStringLiteral("word %1 %2 at offset %3")
                                                                    .arg(k)
                                                                    .arg(quoted(word))
                                                                    .arg(start));
                }
                const bool right = word == f.correctWords().entry(k);
                if (!word.isEmpty() && ((colours.at(std::size_t(start)) == vbcolor::Blue && !right)
                                        || (colours.at(std::size_t(start)) == vbcolor::Red && right)))
                    return broken("blue words are right, red words wrong",
                                  QStringLiteral("word %1 %2 (correct %3) is %4")
                                      .arg(k)
                                      .arg(quoted(word), quoted(f.correctWords().entry(k)),
                                           colours.at(std::size_t(start)) == vbcolor::Blue ? "blue" : "red"));
                start += int(word.size()) + 1;
                if (start < shown.size() && shown.at(start) == u'\n')
                    ++start;
            }
        }
        const QString correctText = help()->text();
        if (!correctText.isEmpty() && shownWords(correctText) != std::optional<QStringList>(f.correctWords().words()))
            return broken("the correct text mirrors List2", QStringLiteral("the correct text %1 against List2 %2")
                                                                  .arg(quoted(correctText), quoted(f.correctWords().words().join(u'|'))));
        if (correction()->text().contains(QRegularExpression(QStringLiteral("\\s"))))
            return broken("the correction holds one word", quoted(correction()->text()));

        // Exactly one of the exercise text and the help view is shown.
        if (text()->isHidden() == help()->isHidden())
            return broken("one of text and help is shown", QStringLiteral("text hidden %1, help hidden %2")
                                                                .arg(text()->isHidden())
                                                                .arg(help()->isHidden()));

        // The corrected words only grow, each word once, each a correct word.
        const QStringList now = List4Words();
        if (now.size() < corrected.size() || now.mid(0, corrected.size()) != corrected)
            return broken("List4 only grows", QStringLiteral("%1 became %2").arg(corrected.join(u'|'), now.join(u'|')));
        for (qsizetype i = corrected.size(); i < now.size(); ++i) {
            if (now.at(i).isEmpty() || now.indexOf(now.at(i)) != i || !f.correctWords().words().contains(now.at(i)))
                return broken("List4 holds each corrected word once", QStringLiteral("added %1 to %2")
                                                                          .arg(quoted(now.at(i)), now.join(u'|')));
        }
        corrected = now;

        // The cues of the action move the countdown between its states.
        const QStringList& cues = harness.cues.cues;
        int finished = 0;
        bool rewarded = false;
        for (qsizetype i = cuesBefore; i < cues.size(); ++i) {
            const QString& cue = cues.at(i);
            if (cue == QLatin1String("cambia")) {
                countdown = Countdown::Running;
                expectedLeft = qint32(std::lround(twips::left(exercises())));
                completedThisItem = false;
                ++loads;
            } else if (cue == QLatin1String("no")) {
                // A refused item resets time-up and locks help, and leaves the
                // countdown otherwise as it was.
                if (countdown == Countdown::Expired)
                    countdown = Countdown::Stopped;
                ++refusals;
            } else if (cue == QLatin1String("muybien") || cue == QLatin1String("bien")) {
                const bool expected = (cue == QLatin1String("bien")) == timeUpBefore;
                if (!expected)
                    return broken("the closing cue matches time-up",
                                  QStringLiteral("cue %1 with TimeUp %2").arg(cue).arg(timeUpBefore));
                if (countdown != Countdown::Running && countdown != Countdown::Expired)
                    return broken("one log block per completed item",
                                  QStringLiteral("a completion while the countdown is %1").arg(nameOf(countdown)));
                if (completedThisItem)
                    return broken("one log block per completed item", QStringLiteral("the item was completed again"));
                countdown = Countdown::Stopped;
                completedThisItem = true;
                ++finished;
            } else if (cue == QLatin1String("acierto")) {
                rewarded = true;
                ++corrections;
            }
        }
        for (int i = 0; i < ticked && countdown == Countdown::Running; ++i) {
            expectedLeft += 25;
            const float rightEdge = float(twips::left(text())) + float(twips::width(text()));
            if (rightEdge < float(expectedLeft)) {
                countdown = Countdown::Expired;
                ++expiries;
            }
        }
        completions += finished;

        // The log only grows, by one block per completed item.
        if (!form4)
            form4 = f.form4();
        const int length = form4 ? form4->RichTextBox1()->document()->characterCount() : 0;
        if (finished > 0 || length != logLength) {
            const QString log = form4 ? form4->RichTextBox1()->text() : QString();
            if (!log.startsWith(logText))
                return broken("the log only grows", QStringLiteral("the log no longer starts with what it held"));
            QString added = log.mid(logText.size());
            QString expectedBlock;
            if (finished == 1) {
                expectedBlock = QStringLiteral("TEXTO %1\n\n").arg(textCounterBefore) + correctTextBefore + u'\n'
                    + (timeUpBefore ? OutOfTime : InTime) + QStringLiteral("\n\n");
            }
            if (added != expectedBlock)
                return broken("one log block per completed item",
                              QStringLiteral("%1 completions, the log gained %2").arg(finished).arg(quoted(added)));
            logText = log;
            logLength = length;
        }
        if (harness.state.TextCounter != textCounterBefore + finished)
            return broken("TextCounter counts the blocks", QStringLiteral("TextCounter went from %1 to %2 with %3 blocks")
                                                               .arg(textCounterBefore)
                                                               .arg(harness.state.TextCounter)
                                                               .arg(finished));
        // A right word that leaves every word right finishes the item, once.
        if (rewarded && finished == 0 && !completedThisItem && !shown.isEmpty() && f.correctWords().words() == f.faultyWords().words())
            return broken("a right text is logged", QStringLiteral("every word is right but nothing was logged"));

        // Timer, runner, time-up and help agree with the countdown's state.
        const bool timer = find<QTimer>("Timer1")->isActive();
        const bool runner = !find<Zarandel>("Zarandel1")->isHidden();
        const bool timeUp = harness.state.TimeUp;
        const bool helpEnabled = button("Command1")->isEnabled();
        bool agrees = false;
        switch (countdown) {
        case Countdown::Idle: agrees = !timer && !timeUp && !helpEnabled; break;
        case Countdown::Running: agrees = timer && runner && !timeUp && !helpEnabled; break;
        case Countdown::Expired: agrees = !timer && !runner && timeUp && helpEnabled; break;
        case Countdown::Stopped: agrees = !timer && !runner && timeUp == helpEnabled; break;
        }
        if (!agrees)
            return broken("countdown states table", QStringLiteral("%1: Timer1 %2, runner %3, TimeUp %4, help %5")
                                                        .arg(QLatin1String(nameOf(countdown)),
                                                             timer ? "enabled" : "disabled", runner ? "shown" : "hidden",
                                                             timeUp ? "True" : "False",
                                                             helpEnabled ? "enabled" : "disabled"));
        if (countdown == Countdown::Running && f.countdownLeft() != expectedLeft)
            return broken("the runner steps 25 twips a tick",
                          QStringLiteral("CountdownLeft %1, expected %2").arg(f.countdownLeft()).arg(expectedLeft));
        return std::nullopt;
    }

    MainWindowHarness harness;
    Promise extraPromise;
    QPointer<Form4> form4;

    // The model.
    Countdown countdown = Countdown::Idle;
    qint32 expectedLeft = 0;
    bool completedThisItem = false;
    QStringList corrected;
    QString logText;
    int logLength = 0;

    // Taken before each action.
    bool timeUpBefore = false;
    int textCounterBefore = 1;
    int cuesBefore = 0;
    QString correctTextBefore;
    int ticked = 0;

    // Counts for the summary.
    int completions = 0;
    int expiries = 0;
    int loads = 0;
    int refusals = 0;
    int corrections = 0;
};

Outcome replay(const QString& appFolder, const std::vector<Step>& steps, bool describe = false,
               const Promise& extra = {})
{
    Monkey monkey(appFolder, extra);
    return monkey.run(steps, describe);
}

// Delta debugging: drops chunks of the sequence as long as the same promise
// still breaks, down to a sequence from which no single action can be left
// out. Each try starts a fresh window.
struct Shrunk {
    std::vector<Step> steps;
    bool minimal = true;
    int replays = 0;
};

Shrunk shrink(const QString& appFolder, std::vector<Step> steps, const Outcome& failure, const Promise& extra = {})
{
    Shrunk result;
    steps.resize(std::size_t(*failure.failedAt) + 1);
    QElapsedTimer clock;
    clock.start();
    constexpr qint64 Budget = 300'000;  // ms; a huge sequence stops shrinking early
    std::size_t parts = 2;
    while (steps.size() > 1) {
        const std::size_t chunk = (steps.size() + parts - 1) / parts;
        bool reduced = false;
        for (std::size_t start = 0; start < steps.size() && !reduced; start += chunk) {
            if (clock.elapsed() > Budget) {
                result.minimal = false;
                result.steps = steps;
                return result;
            }
            std::vector<Step> candidate(steps.begin(), steps.begin() + std::ptrdiff_t(start));
            candidate.insert(candidate.end(), steps.begin() + std::ptrdiff_t(std::min(steps.size(), start + chunk)),
                             steps.end());
            const Outcome outcome = replay(appFolder, candidate, false, extra);
            ++result.replays;
            if (outcome.failedAt && outcome.violation.invariant == failure.violation.invariant) {
                candidate.resize(std::size_t(*outcome.failedAt) + 1);
                steps = std::move(candidate);
                parts = std::max<std::size_t>(parts - 1, 2);
                reduced = true;
            }
        }
        if (!reduced) {
            if (parts >= steps.size())
                break;
            parts = std::min(parts * 2, steps.size());
        }
    }
    result.steps = steps;
    return result;
}

// Shrinks a failed run and tells how to see the failure again: the seed, the
// broken promise and the shortest sequence of actions found that breaks it.
QString shrunkReport(const QString& appFolder, std::uint32_t seed, const std::vector<Step>& steps,
                     const Outcome& failure, const Promise& extra = {})
{
    const Shrunk shrunk = shrink(appFolder, steps, failure, extra);
    const Outcome minimal = replay(appFolder, shrunk.steps, true, extra);
    QString report = QStringLiteral("seed %1: after action %2 of %3 the promise \"%4\" broke: %5\n")
                         .arg(seed)
                         .arg(*failure.failedAt + 1)
                         .arg(steps.size())
                         .arg(failure.violation.invariant, failure.violation.detail);
    report += QStringLiteral("%1 (%2 actions, %3 replays), from a fresh window:\n")
                  .arg(shrunk.minimal ? QStringLiteral("Shortest sequence found")
                                      : QStringLiteral("Shortened sequence (shrinking ran out of time)"))
                  .arg(minimal.descriptions.size())
                  .arg(shrunk.replays);
    for (qsizetype i = 0; i < minimal.descriptions.size(); ++i)
        report += QStringLiteral("  %1. %2\n").arg(i + 1).arg(minimal.descriptions.at(i));
    report += QStringLiteral("which breaks \"%1\": %2\n").arg(minimal.violation.invariant, minimal.violation.detail);
    report += QStringLiteral("Rerun with MIRAVELLON_MONKEY_SEED=%1 MIRAVELLON_MONKEY_ACTIONS=%2").arg(seed).arg(steps.size());
    return report;
}

std::uint32_t configured(const char* name, std::uint32_t fallback)
{
    bool ok = false;
    const std::uint32_t value = qEnvironmentVariable(name).toUInt(&ok);
    return ok ? value : fallback;
}

constexpr std::uint32_t DefaultSeed = 20261207;
constexpr std::uint32_t DefaultActions = 20000;

TEST(Monkey, RandomPupilActionsKeepEveryPromiseOfTheMainWindow)
{
    const std::uint32_t seed = configured("MIRAVELLON_MONKEY_SEED", DefaultSeed);
    const int count = int(configured("MIRAVELLON_MONKEY_ACTIONS", DefaultActions));
    Content content;
    const std::vector<Step> steps = generate(seed, count);

    QElapsedTimer clock;
    clock.start();
    std::optional<Outcome> outcome;
    outcome = replay(content.path(), steps);
    const qint64 elapsed = clock.elapsed();
    std::printf("[ monkey   ] seed %u: %d actions in %lld ms; %d loads, %d refused, %d right words, %d texts "
                "completed, %d countdowns expired\n",
                seed, outcome->actions, static_cast<long long>(elapsed), outcome->loads, outcome->refusals,
                outcome->corrections, outcome->completions, outcome->expiries);

    if (outcome->failedAt) {
        ADD_FAILURE() << shrunkReport(content.path(), seed, steps, *outcome).toStdString();
        return;
    }

    // The pupil really got around: items loaded and refused, texts finished
    // in time and out of time.
    if (count >= 5000) {
        EXPECT_GT(outcome->loads, count / 50);
        EXPECT_GT(outcome->refusals, 0);
        EXPECT_GT(outcome->corrections, count / 50);
        EXPECT_GT(outcome->completions, 10);
        EXPECT_GT(outcome->expiries, 0);
    }
}

TEST(Monkey, AFailureIsShrunkToAShortSequenceThatReproducesIt)
{
    // A promise the window is bound to break: no text is ever finished. The
    // first completion takes many random actions; the report must boil them
    // down to choosing an item and correcting its words.
    Content content;
    const Promise neverFinished = [](const MainWindowHarness& harness) -> std::optional<Violation> {
        if (harness.state.TextCounter == 1)
            return std::nullopt;
        return Violation{QStringLiteral("no text is finished"), QStringLiteral("a text was finished")};
    };
    const std::vector<Step> steps = generate(DefaultSeed, 3000);
    const Outcome failure = replay(content.path(), steps, false, neverFinished);
    ASSERT_TRUE(failure.failedAt);
    ASSERT_GT(*failure.failedAt, 10);

    const QString report = shrunkReport(content.path(), DefaultSeed, steps, failure, neverFinished);

    EXPECT_TRUE(report.startsWith(QStringLiteral("seed %1: after action %2 of 3000").arg(DefaultSeed).arg(*failure.failedAt + 1)))
        << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("Shortest sequence found"))) << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("which breaks \"no text is finished\""))) << report.toStdString();
    const qsizetype listed = report.count(QRegularExpression(QStringLiteral("\n  \\d+\\. ")));
    EXPECT_GE(listed, 3) << report.toStdString();  // at least: choose, pick, type
    EXPECT_LE(listed, 12) << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("MIRAVELLON_MONKEY_SEED=%1 MIRAVELLON_MONKEY_ACTIONS=3000").arg(DefaultSeed)));
}

TEST(Monkey, ASequenceReplaysToTheSameWindow)
{
    // Shrinking relies on a sequence of steps always doing the same thing.
    Content content;
    const std::vector<Step> steps = generate(7, 600);
    const Outcome first = replay(content.path(), steps, true);
    const Outcome second = replay(content.path(), steps, true);
    EXPECT_EQ(first.descriptions, second.descriptions);
    EXPECT_EQ(first.fingerprint, second.fingerprint);
}

}  // namespace
