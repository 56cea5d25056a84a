// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: an item made of arbitrary bytes, loaded into the real main
// window, and a pupil's picks, typing and reloads on it.
//
// Input: faulty version, 0x1E, correct version, 0x1E, actions. Without a
// second 0x1E the actions are "c\x05\x00r"; without any, the correct version
// is the faulty one too. Item 1 is (faulty, correct); item 2 is (correct,
// correct), so that moving between the items changes the text under an old
// pick. Actions, one byte each and their arguments:
//   c lo hi  put the caret at (lo + 256 hi) modulo (length + 1) and click
//   k n ...  type the next n % 16 bytes (Latin-1; 0x08 is Backspace)
//   r        put the right word into the correction box and release a key
//   n, p     the next-item and previous-item arrows
//   e        choose the exercise again
// Any other byte does nothing.

#include "tests/fuzz/fuzztargets.h"

#include "library/textfile.h"
#include "presentation/richtextbox.h"
#include "presentation/twips.h"
#include "tests/support.h"

#include <QPushButton>
#include <QTest>

#include <string>

namespace fuzz {

namespace {

constexpr char Separator = '\x1e';
constexpr int MaxActions = 48;

void require(bool holds, const char* property)
{
    if (!holds)
        throw PropertyFailure(std::string("pick and judge: ") + property);
}

// What the window must show: the loaded item's line structure with the
// faulty list's words as they stand now.
struct Loaded {
    bool present = false;
    QList<bool> startsLine;  // word position k is the first word of a line
    QStringList correct;
    bool picked = false;
    int position = -1;       // word position of the pick
    bool completed = false;
};

Loaded expectedLoad(const TempTree& tree, int item)
{
    Loaded loaded;
    const auto faulty = textfile::read(tree.file(QStringLiteral("Ejercicios/Fuzz/incorrecto/%1.txt").arg(item)));
    const auto correct = textfile::read(tree.file(QStringLiteral("Ejercicios/Fuzz/correcto/%1.txt").arg(item)));
    if (faulty.status != textfile::ReadStatus::Ok || correct.status != textfile::ReadStatus::Ok
        || faulty.version.words.size() != correct.version.words.size())
        return loaded;
    loaded.present = true;
    loaded.correct = correct.version.words;
    // Line starts follow from the shown text: a word follows a line feed.
    const QStringList pieces = faulty.version.shown.split(u' ');
    for (qsizetype k = 0; k < faulty.version.words.size(); ++k)
        loaded.startsLine.append(k == 0 || pieces.at(k).startsWith(u'\n'));
    return loaded;
}

QString rebuild(const QStringList& words, const QList<bool>& startsLine)
{
    QString text;
    for (qsizetype k = 0; k < words.size(); ++k) {
        if (k > 0 && startsLine.at(k))
            text += u'\n';
        text += words.at(k);
        text += u' ';
    }
    if (!words.isEmpty())
        text += u'\n';
    return text;
}

// Offset of word position k in a text rebuilt as above.
int offsetOf(const QStringList& words, const QList<bool>& startsLine, int k)
{
    int offset = 0;
    for (int i = 0; i < k; ++i)
        offset += int(words.at(i).size()) + 1 + (startsLine.at(i + 1) ? 1 : 0);
    return offset;
}

void checkShown(MainWindowHarness& harness, const Loaded& loaded)
{
    Form1& form = harness.form();
    if (!loaded.present) {
        require(harness.text()->text().isEmpty(), "a refused item leaves the text empty");
        return;
    }
    require(form.faultyWords().count() == loaded.startsLine.size() && form.correctWords().count() == loaded.startsLine.size(),
            "the two word lists keep the item's number of words");
    require(form.correctWords().words() == loaded.correct, "the correct words never change");
    require(harness.text()->text() == rebuild(form.faultyWords().words(), loaded.startsLine),
            "the shown text is the faulty list's words, one space after each, lines kept");
}

struct Session {
    TempTree& tree;
    MainWindowHarness& harness;
    Loaded loaded;
    QString log;

    Form1& form() { return harness.form(); }

    void afterLoad()
    {
        const int item = form().itemNumbers().value(form().selectedExercise());
        loaded = item == 1 || item == 2 ? expectedLoad(tree, item) : Loaded{};
        checkShown(harness, loaded);
    }

    void click(int caret)
    {
        RichTextBox* text = harness.text();
        const int length = int(text->text().size());
        text->setSelStart(caret % (length + 1));
        form().RichTextBox1_Click();
        if (length < 2)
            return;
        require(loaded.present, "only a loaded text has words to pick");
        const int position = form().faultyWords().count() - form().wordCounter();
        require(position >= 0 && position < form().faultyWords().count(), "a pick names a word position of the text");
        require(form().pickedWord() == form().faultyWords().entry(position), "the picked word is the word at its position");
        require(form().pickedWordStart() == offsetOf(form().faultyWords().words(), loaded.startsLine, position),
                "the pick starts where its word position starts");
        require(form().pickedWordLength() == form().pickedWord().size(), "the pick is as long as its word");
        require(harness.correction()->text() == form().pickedWord(), "the picked word is copied for correcting");
        loaded.picked = true;
        loaded.position = position;
        checkShown(harness, loaded);
    }

    void judged()
    {
        if (!loaded.present || !loaded.picked) {
            checkShown(harness, loaded);
            return;
        }
        const QString typed = harness.correction()->text();
        require(!typed.contains(u' ') && !typed.contains(u'\n'), "a typed word holds no space or line feed");
        require(form().faultyWords().entry(loaded.position) == typed, "the typed word replaces its word position");
        checkShown(harness, loaded);
        if (!typed.isEmpty()) {
            const std::uint32_t colour = colourAt(harness.text(), form().pickedWordStart());
            const bool right = typed == loaded.correct.at(loaded.position);
            const std::uint32_t expected = typed == form().pickedWord() ? vbcolor::Black
                : right                                              ? vbcolor::Blue
                                                                     : vbcolor::Red;
            require(colour == expected, "the word takes the colour of its judgement");
        }
        const QString now = form().form4() ? form().form4()->RichTextBox1()->text() : QString();
        // An empty word is a word too: putting one right can finish a text.
        const bool completes = !loaded.completed && typed != form().pickedWord()
            && typed == loaded.correct.at(loaded.position) && form().faultyWords().words() == form().correctWords().words();
        require((now.size() > log.size()) == completes, "a text is logged once, when its last word is put right");
        if (completes)
            loaded.completed = true;
        log = now;
    }
};

}  // namespace

void pickAndJudge(const std::uint8_t* data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const QList<QByteArray> parts = input.split(Separator);
    const QByteArray faulty = parts.at(0);
    const QByteArray correct = parts.size() > 1 ? parts.at(1) : faulty;
    QByteArray actions = parts.size() > 2 ? parts.mid(2).join(Separator) : QByteArray("c\x05\x00r", 4);

    TempTree tree;
    tree.write(QStringLiteral("Ejercicios/Fuzz/incorrecto/1.txt"), faulty);
    tree.write(QStringLiteral("Ejercicios/Fuzz/correcto/1.txt"), correct);
    tree.write(QStringLiteral("Ejercicios/Fuzz/incorrecto/2.txt"), correct);
    tree.write(QStringLiteral("Ejercicios/Fuzz/correcto/2.txt"), correct);

    MainWindowHarness harness(tree.path());
    Session session{tree, harness, {}, {}};
    harness.chooseExercise(0);
    session.afterLoad();

    int done = 0;
    for (qsizetype i = 0; i < actions.size() && done < MaxActions; ++i, ++done) {
        auto byteAt = [&](qsizetype at) { return at < actions.size() ? static_cast<unsigned char>(actions.at(at)) : 0; };
        switch (actions.at(i)) {
        case 'c':
            session.click(byteAt(i + 1) | byteAt(i + 2) << 8);
            i += 2;
            break;
        case 'k': {
            const int n = byteAt(i + 1) % 16;
            // Every key release judges the word: check after each one.
            for (QChar key : QString::fromLatin1(actions.mid(i + 2, n))) {
                harness.type(QString(key));
                session.judged();
            }
            i += 1 + n;
            break;
        }
        case 'r':
            if (session.loaded.picked)
                harness.correction()->setText(session.loaded.correct.at(session.loaded.position));
            harness.pressKey(harness.correction(), Qt::Key_Shift);
            session.judged();
            break;
        case 'n':
        case 'p':
            QTest::mouseClick(harness.find<QPushButton>(actions.at(i) == 'n' ? "Command3_0" : "Command3_1"),
                              Qt::LeftButton);
            session.afterLoad();
            break;
        case 'e':
            harness.chooseExercise(0);
            session.afterLoad();
            break;
        default:
            break;
        }
    }
}

}  // namespace fuzz
