// SPDX-License-Identifier: GPL-3.0-or-later
// The content tree is only read. A whole session on a read-only copy of the
// shipped content, with the sound player the program uses, leaves every file,
// folder and link of it as it was: nothing created, changed or deleted.

#include "tests/support.h"

#include "presentation/clickablelabel.h"
#include "presentation/richtextbox.h"
#include "presentation/twips.h"
#include "windows/form3.h"
#include "windows/form4.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <map>

namespace {

// What the file system says of one entry, without following links.
struct Entry {
    mode_t mode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    qint64 changedNs = 0;  // any change of content, name, links or permissions
    QByteArray content;    // SHA-256 of a file, the target of a link
    bool operator==(const Entry&) const = default;
};

void PrintTo(const Entry& e, std::ostream* os)
{
    *os << "mode " << std::oct << e.mode << std::dec << ", " << e.size << " bytes, modified " << e.modifiedNs
        << ", changed " << e.changedNs << ", " << e.content.toHex().left(16).toStdString();
}

// Every entry under `root` (the root included), by its path relative to it.
std::map<QString, Entry> snapshot(const QString& root)
{
    std::map<QString, Entry> entries;
    auto add = [&](const QString& path) {
        struct stat st {};
        if (::lstat(QFile::encodeName(path).constData(), &st) != 0) {
            ADD_FAILURE() << "cannot stat " << path.toStdString();
            return;
        }
        Entry e;
        e.mode = st.st_mode;
        e.size = st.st_size;
        e.modifiedNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
        e.changedNs = qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
        if (S_ISREG(st.st_mode)) {
            QFile file(path);
            EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
            QCryptographicHash hash(QCryptographicHash::Sha256);
            hash.addData(&file);
            e.content = hash.result();
        } else if (S_ISLNK(st.st_mode)) {
            e.content = QFile::encodeName(QFileInfo(path).symLinkTarget());
        }
        entries[QDir(root).relativeFilePath(path)] = e;
    };
    add(root);
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        add(it.next());
    return entries;
}

void copyTree(const QString& from, const QString& to)
{
    QDirIterator it(from, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + u'/' + QDir(from).relativeFilePath(source);
        if (it.fileInfo().isDir())
            ASSERT_TRUE(QDir().mkpath(target)) << target.toStdString();
        else
            ASSERT_TRUE(QFile::copy(source, target)) << target.toStdString();
    }
}

// Read-only for everybody, or writable again by its owner.
void setWritable(const QString& root, bool writable)
{
    const auto apply = [writable](const QString& path, bool folder) {
        QFileDevice::Permissions p = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
        if (folder)
            p |= QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;
        if (writable)
            p |= QFileDevice::WriteOwner;
        QFile::setPermissions(path, p);
    };
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        apply(path, it.fileInfo().isDir());
    }
    apply(root, true);
}

class ReadOnlyContent : public ::testing::Test {
protected:
    ReadOnlyContent()
        : app(dir.path() + QStringLiteral("/miravellon"))
    {
    }
    ~ReadOnlyContent() override
    {
        // Let the temporary folder go.
        if (QFileInfo(app).isDir())
            setWritable(app, true);
    }

    QTemporaryDir dir;
    const QString app;
};

// A pupil's hands on the main window.
class Pupil {
public:
    explicit Pupil(Form1& window)
        : window_(window)
    {
    }

    template<typename T>
    T* find(const char* name) const
    {
        T* widget = window_.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    RichTextBox* text() const { return find<RichTextBox>("RichTextBox1"); }
    RichTextBox* correction() const { return find<RichTextBox>("RichTextBox3"); }

    void click(const char* button) const { QTest::mouseClick(find<QPushButton>(button), Qt::LeftButton); }
    void chooseExercise(int row) const
    {
        auto* list = find<QListWidget>("List1");
        list->scrollToItem(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    }
    void clickListedWord(int row) const
    {
        auto* list = find<QListWidget>("List4");
        list->scrollToItem(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    }
    void key(QWidget* target, Qt::Key key, const QString& characters = {}) const
    {
        QTest::sendKeyEvent(QTest::Press, target, key, characters, {});
        QTest::sendKeyEvent(QTest::Release, target, key, characters, {});
    }
    void type(QWidget* target, const QString& characters) const
    {
        for (const QChar c : characters)
            key(target, Qt::Key_unknown, QString(c));
    }
    // Clicks into word position `k` of the exercise text.
    void pickWord(int k) const
    {
        const QString shown = text()->text();
        int offset = 0;
        for (int i = 0; i < k; ++i) {
            offset = int(shown.indexOf(u' ', offset)) + 1;
            if (shown.at(offset) == u'\n')
                ++offset;
        }
        QTextCursor cursor(text()->document());
        cursor.setPosition(offset);
        text()->ensureCursorVisible();
        QTest::mouseClick(text()->viewport(), Qt::LeftButton, {}, text()->cursorRect(cursor).center());
    }
    // Empties the correction box and types `word` there.
    void retype(const QString& word) const
    {
        while (!correction()->text().isEmpty())
            key(correction(), Qt::Key_Backspace);
        type(correction(), word);
    }
    // Puts every wrong word of the loaded text right, after one wrong try.
    void correctEveryWord() const
    {
        for (int k = 0; k < window_.correctWords().count(); ++k) {
            if (window_.faultyWords().entry(k) == window_.correctWords().entry(k))
                continue;
            pickWord(k);
            type(correction(), QStringLiteral("x"));
            retype(window_.correctWords().entry(k));
        }
    }
    void chooseFont(const QString& family) const { ::chooseFont(find<QComboBox>("Combo1"), family); }

private:
    Form1& window_;
};

TEST_F(ReadOnlyContent, AWholeSessionLeavesEveryFileAsItWas)
{
    const QString shipped = QStringLiteral(ASSETS_PATH);
    ASSERT_TRUE(QFileInfo(shipped + QStringLiteral("/Ejercicios")).isDir());
    copyTree(shipped, app);
    setWritable(app, false);
    const std::map<QString, Entry> before = snapshot(app);
    ASSERT_GT(before.size(), 100u);
    // The player takes every shipped cue: the session plays them, not beeps.
    const QStringList cues = QDir(app + QStringLiteral("/sonidos")).entryList({QStringLiteral("*.wav")}, QDir::Files);
    EXPECT_EQ(cues.size(), 8);
    for (const QString& cue : cues)
        EXPECT_TRUE(looksLikeWav(app + QStringLiteral("/sonidos/") + cue)) << cue.toStdString();

    {
        SoundEffectCuePlayer player;
        ProgramState state;
        RecordingPrompts prompts;
        const QStringList& messages = prompts.informed;
        int quits = 0;
        Form1::Services services;
        services.appFolder = app;
        services.cues = &player;
        services.prompts = &prompts;
        services.quit = [&quits] { ++quits; };
        Form1 window(state, services);
        window.Form_Load();
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        const Pupil pupil(window);
        const int exercises = pupil.find<QListWidget>("List1")->count();
        ASSERT_GE(exercises, 2);

        // Item 1 of the first exercise, put right word by word in time.
        pupil.chooseExercise(0);
        ASSERT_FALSE(pupil.text()->text().isEmpty());
        pupil.correctEveryWord();
        EXPECT_EQ(window.faultyWords().words(), window.correctWords().words());
        EXPECT_TRUE(window.form4()->RichTextBox1()->text().contains(QStringLiteral("TEXTO 1")));

        // The results, and back.
        pupil.click("Command6");
        QTest::mouseClick(window.form4()->RichTextBox1()->viewport(), Qt::LeftButton);

        // The pictures of the corrected words, and back from each.
        const int listed = pupil.find<QListWidget>("List4")->count();
        for (int row = 0; row < listed; ++row) {
            pupil.clickListedWord(row);
            if (Form3* viewer = window.form3())
                QTest::mouseClick(viewer->Picture1(), Qt::LeftButton, {}, QPoint(3, 3));
        }
        EXPECT_NE(window.form3(), nullptr) << "no corrected word of the first text has a picture";

        // Another font, the next item by its arrow, a pace, and time running
        // out before the help is asked for twice.
        auto* fonts = pupil.find<QComboBox>("Combo1");
        pupil.chooseFont(fonts->itemText(fonts->count() - 1));
        pupil.click("Command3_0");
        pupil.click("Command5_3");
        for (int tick = 0; tick < 100000 && !state.TimeUp; ++tick)
            window.Timer1_Timer();
        EXPECT_TRUE(state.TimeUp);
        pupil.click("Command1");
        pupil.click("Command1");
        pupil.correctEveryWord();

        // A typed item number, one that does not exist, the previous arrow.
        auto* item = pupil.find<QLineEdit>("Text1");
        pupil.key(item, Qt::Key_Backspace);
        pupil.type(item, QStringLiteral("3"));
        pupil.type(item, QStringLiteral("99"));
        EXPECT_FALSE(messages.isEmpty());
        pupil.click("Command3_1");

        // Every other exercise: its first item, one word tried wrong.
        for (int row = 1; row < exercises; ++row) {
            pupil.chooseExercise(row);
            for (int k = 0; k < window.correctWords().count(); ++k) {
                if (window.faultyWords().entry(k) != window.correctWords().entry(k)) {
                    pupil.pickWord(k);
                    pupil.type(pupil.correction(), QStringLiteral("x"));
                    break;
                }
            }
        }
        pupil.click("Command4");
        EXPECT_EQ(quits, 1);
        QCoreApplication::processEvents();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    const std::map<QString, Entry> after = snapshot(app);
    for (const auto& [path, entry] : before) {
        const auto found = after.find(path);
        if (found == after.end())
            ADD_FAILURE() << "deleted: " << path.toStdString();
        else
            EXPECT_EQ(found->second, entry) << "changed: " << path.toStdString();
    }
    for (const auto& [path, entry] : after) {
        if (!before.contains(path))
            ADD_FAILURE() << "created: " << path.toStdString();
    }
}

}  // namespace
