// SPDX-License-Identifier: GPL-3.0-or-later

#include "tests/support.h"

#include "presentation/richtextbox.h"
#include "presentation/twips.h"
#include "windows/form4.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>
#include <QTextCursor>

#include <gtest/gtest.h>

#include <ostream>

QByteArray windows1252(const QString& text)
{
    // The characters the tests use are Latin-1; the rest of Windows-1252 is
    // exercised by the decoder's own tests.
    return text.toLatin1();
}

TempTree::TempTree()
{
    EXPECT_TRUE(dir_.isValid());
}

DataFolders::DataFolders(int schools)
    : savedHome_(qgetenv("XDG_DATA_HOME"))
    , savedDirs_(qgetenv("XDG_DATA_DIRS"))
{
    tree_.mkdir(QStringLiteral("home"));
    QStringList dirs;
    for (int n = 0; n < schools; ++n) {
        tree_.mkdir(QStringLiteral("escuela%1").arg(n));
        dirs.append(school(n));
    }
    // An empty XDG_DATA_DIRS would mean /usr/local/share and /usr/share.
    if (dirs.isEmpty())
        dirs.append(tree_.file(QStringLiteral("ninguna")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home()));
    qputenv("XDG_DATA_DIRS", QFile::encodeName(dirs.join(u':')));
}

DataFolders::~DataFolders()
{
    qputenv("XDG_DATA_HOME", savedHome_);
    qputenv("XDG_DATA_DIRS", savedDirs_);
}

QByteArray TempTree::read(const QString& relative) const
{
    QFile f(file(relative));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void TempTree::mkdir(const QString& relative) const
{
    QDir().mkpath(file(relative));
}

void TempTree::write(const QString& relative, const QByteArray& bytes) const
{
    const QString target = file(relative);
    QDir().mkpath(QFileInfo(target).path());
    QFile out(target);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate)) << target.toStdString();
    out.write(bytes);
}

void TempTree::writeLines(const QString& relative, const QStringList& lines) const
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += windows1252(line) + "\r\n";
    write(relative, bytes);
}

void TempTree::writeItem(const QString& exercise, int item, const QStringList& faulty,
                         const QStringList& correct) const
{
    writeLines(QStringLiteral("Ejercicios/%1/incorrecto/%2.txt").arg(exercise).arg(item), faulty);
    writeLines(QStringLiteral("Ejercicios/%1/correcto/%2.txt").arg(exercise).arg(item), correct);
}

void TempTree::writePicture(const QString& relative, int width, int height) const
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    const QString target = file(relative);
    QDir().mkpath(QFileInfo(target).path());
    const QString suffix = QFileInfo(target).suffix().toLower();
    const char* format = suffix == QLatin1String("jpg") ? "JPEG" : suffix == QLatin1String("gif") ? "PNG" : nullptr;
    // Qt writes no GIF; a PNG under a .gif name is still read, by content.
    ASSERT_TRUE(image.save(target, format));
}

void RecordingCuePlayer::play(const QString& path)
{
    cues.append(QFileInfo(path).completeBaseName());
}

void RecordingPrompts::inform(QWidget*, const QString& title, const QString& text, Icon icon)
{
    prompts.append({QStringLiteral("inform"), title, text});
    informed.append(text);
    icons.append(icon);
}

void RecordingPrompts::notify(QWidget*, const QString& title, const QString& text)
{
    prompts.append({QStringLiteral("notify"), title, text});
    notices.append(text);
}

bool RecordingPrompts::confirm(QWidget*, const QString& title, const QString& text)
{
    prompts.append({QStringLiteral("confirm"), title, text});
    asked.append(text);
    if (confirms.empty())
        return true;
    const bool answer = confirms.front();
    confirms.pop_front();
    return answer;
}

std::optional<QString> RecordingPrompts::askText(QWidget*, const QString& title, const QString& label,
                                                 const QString& initial)
{
    prompts.append({QStringLiteral("askText"), title, label});
    asked.append(label);
    offered.append(initial);
    if (texts.empty())
        return initial;
    const std::optional<QString> answer = texts.front();
    texts.pop_front();
    return answer;
}

namespace {

QString nextFile(std::deque<QString>& files)
{
    if (files.empty())
        return {};
    const QString file = files.front();
    files.pop_front();
    return file;
}

}  // namespace

QString RecordingPrompts::openFile(QWidget*, const QString& title, const QString& filter)
{
    prompts.append({QStringLiteral("openFile"), title, filter});
    return nextFile(files);
}

QString RecordingPrompts::saveFile(QWidget*, const QString& title, const QString& suggestedName, const QString& filter)
{
    prompts.append({QStringLiteral("saveFile"), title, filter});
    suggested.append(suggestedName);
    return nextFile(files);
}

QString RecordingPrompts::chooseFolder(QWidget*, const QString& title, const QString&)
{
    prompts.append({QStringLiteral("chooseFolder"), title, QString()});
    return nextFile(files);
}

bool RecordingPrompts::choosePrinter(QWidget*, const QString& title, QPrinter& printer)
{
    prompts.append({QStringLiteral("choosePrinter"), title, QString()});
    if (printTo.isEmpty())
        return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(printTo);
    return true;
}

QString RecordingPrompts::askName(QWidget*, const QString& title, const QString& question, const QStringList& names)
{
    prompts.append({QStringLiteral("askName"), title, question});
    asked.append(question);
    offeredNames = names;
    return name;
}

void PrintTo(const RecordingPrompts::Prompt& prompt, std::ostream* out)
{
    *out << prompt.kind.toStdString() << " «" << prompt.title.toStdString() << "» «" << prompt.text.toStdString()
         << "»";
}

MainWindowHarness::MainWindowHarness(const QString& appFolder, bool show, const QString& name,
                                     const QString& trialFolder, int trialItem)
{
    Form1::Services services;
    services.appFolder = appFolder;
    services.cues = &cues;
    prompts.name = name;
    services.prompts = &prompts;
    services.quit = [this] { ++quits; };
    services.clock = [this] { return clock ? clock() : QDateTime::currentDateTime(); };
    services.trialFolder = trialFolder;
    services.trialItem = trialItem;
    form1 = std::make_unique<Form1>(state, services);
    form1->Form_Load();
    if (show) {
        form1->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form1.get()));
        for (int i = 0; i < 200 && form1->nameQuestionPending(); ++i)
            QTest::qWait(5);
    }
}

MainWindowHarness::~MainWindowHarness() = default;

QList<QWidget*> visibleWindows()
{
    QList<QWidget*> shown;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        const Qt::WindowType type = widget->windowType();
        if (widget->isVisible() && type != Qt::Popup && type != Qt::ToolTip)
            shown.append(widget);
    }
    return shown;
}

RichTextBox* MainWindowHarness::text() const
{
    return find<RichTextBox>("RichTextBox1");
}

RichTextBox* MainWindowHarness::correction() const
{
    return find<RichTextBox>("RichTextBox3");
}

void MainWindowHarness::chooseExercise(int row)
{
    auto* list = find<QListWidget>("List1");
    QListWidgetItem* item = list->item(row);
    ASSERT_NE(item, nullptr);
    const QRect rect = list->visualItemRect(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

void MainWindowHarness::clickText(int offset)
{
    RichTextBox* box = text();
    QTextCursor cursor(box->document());
    cursor.setPosition(offset);
    box->ensureCursorVisible();
    const QRect rect = box->cursorRect(cursor);
    QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, rect.center());
}

void MainWindowHarness::pressKey(QWidget* target, Qt::Key key, const QString& text)
{
    QTest::sendKeyEvent(QTest::Press, target, key, text, {});
    QTest::sendKeyEvent(QTest::Release, target, key, text, {});
}

void MainWindowHarness::keyboard(Qt::Key key, const QString& text, Qt::KeyboardModifiers modifiers)
{
    // A window with no widget to hold the focus takes the keys itself.
    const auto receiver = [] {
        QWidget* focus = QApplication::focusWidget();
        return focus ? focus : QApplication::activeWindow();
    };
    QWidget* target = receiver();
    ASSERT_NE(target, nullptr) << "no window is active";
    QTest::sendKeyEvent(QTest::Press, target, key, text, modifiers);
    target = receiver();
    ASSERT_NE(target, nullptr) << "no window is active";
    QTest::sendKeyEvent(QTest::Release, target, key, text, modifiers);
}

void MainWindowHarness::type(const QString& characters)
{
    for (QChar c : characters) {
        if (c == u'\b')
            pressKey(correction(), Qt::Key_Backspace);
        else
            pressKey(correction(), Qt::Key_unknown, QString(c));
    }
}

namespace {

QTextCharFormat formatOfCharacter(const RichTextBox* box, int offset)
{
    // A cursor's format describes the character before it.
    QTextCursor cursor(box->document());
    cursor.setPosition(offset + 1);
    return cursor.charFormat();
}

}  // namespace

std::uint32_t colourAt(const RichTextBox* box, int offset)
{
    const QTextCharFormat format = formatOfCharacter(box, offset);
    if (!format.hasProperty(QTextFormat::ForegroundBrush))
        return vbcolor::fromQColor(box->palette().color(QPalette::Text));
    return vbcolor::fromQColor(format.foreground().color());
}

double pointSizeAt(const RichTextBox* box, int offset)
{
    const QTextCharFormat format = formatOfCharacter(box, offset);
    return format.hasProperty(QTextFormat::FontPointSize) ? format.fontPointSize() : box->font().pointSizeF();
}

Look lookAt(const RichTextBox& box, int offset)
{
    const QTextCharFormat format = formatOfCharacter(&box, offset);
    const QStringList families = format.fontFamilies().toStringList();
    return {box.text().at(offset), colourAt(&box, offset), pointSizeAt(&box, offset),
            families.isEmpty() ? box.font().family() : families.first()};
}

void PrintTo(const Look& look, std::ostream* out)
{
    *out << '\'' << QString(look.character).toStdString() << "' colour " << look.colour << " size " << look.size
         << ' ' << look.family.toStdString();
}

std::vector<Look> looksOf(const RichTextBox& box)
{
    std::vector<Look> looks;
    const QString text = box.text();
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i) != u'\n')
            looks.push_back(lookAt(box, i));
    }
    return looks;
}

std::unique_ptr<QTemporaryDir> isolateXdgFolders()
{
    auto home = std::make_unique<QTemporaryDir>();
    if (!home->isValid())
        return nullptr;
    const std::pair<const char*, const char*> folders[] = {
        {"XDG_CONFIG_HOME", "config"}, {"XDG_CONFIG_DIRS", "etc"}, {"XDG_DATA_HOME", "home"}, {"XDG_DATA_DIRS", "dirs"}};
    for (const auto& [variable, name] : folders) {
        const QString path = home->filePath(QString::fromLatin1(name));
        QDir().mkpath(path);
        qputenv(variable, QFile::encodeName(path));
    }
    // The pupil's review is off machine-wide: results rows one test leaves
    // behind would otherwise give the next one a review listed first. The
    // tests of the review turn it on for the account.
    QFile machine(home->filePath(QStringLiteral("etc/miravellon/miravellon.conf")));
    if (!QDir().mkpath(home->filePath(QStringLiteral("etc/miravellon"))) || !machine.open(QIODevice::WriteOnly)
        || machine.write("[repaso]\nactivo=false\n") < 0)
        return nullptr;
    machine.close();
    // The machine's Spanish dictionaries stay in view, through a link in the
    // school's data folder.
    QFile::link(QStringLiteral("/usr/share/hunspell"), home->filePath(QStringLiteral("dirs/hunspell")));
    return home;
}

bool copyShippedGifs(const TempTree& tree)
{
    const QDir shipped(QStringLiteral(MIRAVELLON_SOURCE_ASSETS "/gifs"));
    const QStringList names = shipped.entryList({QStringLiteral("*.gif")}, QDir::Files);
    if (names.isEmpty())
        return false;
    tree.mkdir(QStringLiteral("gifs"));
    for (const QString& name : names) {
        if (!QFile::copy(shipped.filePath(name), tree.file(QStringLiteral("gifs/") + name)))
            return false;
    }
    return true;
}

void chooseFont(QComboBox* combo, const QString& family)
{
    const int row = combo->findText(family, Qt::MatchExactly);
    ASSERT_GE(row, 0) << family.toStdString();
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window()));
    const QModelIndex index = combo->model()->index(row, 0);
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
}

MainWindowTest::MainWindowTest()
{
    QFile::remove(settingsFile());
}

MainWindowTest::~MainWindowTest()
{
    harness.reset();
    QFile::remove(settingsFile());
    twips::overrideScreenSize(std::nullopt);
}

MainWindowHarness& MainWindowTest::start(const QString& name, bool show)
{
    harness.reset();
    harness = std::make_unique<MainWindowHarness>(tree.path(), show, name);
    return *harness;
}

MainWindowHarness& MainWindowTest::startOn(int row)
{
    start();
    harness->chooseExercise(row);
    return *harness;
}

void MainWindowTest::activate()
{
    form().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
}

void configure(const QString& key, const QVariant& value)
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("miravellon"),
                       QStringLiteral("miravellon"));
    settings.setValue(key, value);
    settings.sync();
}

QString settingsFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/miravellon/miravellon.conf");
}

RichTextBox* MainWindowTest::log() const
{
    Form4* results = form().form4();
    return results ? results->RichTextBox1() : nullptr;
}

namespace {

QStringList entriesOf(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts.append(list->item(i)->text());
    return texts;
}

}  // namespace

QStringList MainWindowTest::listed() const
{
    return entriesOf(exercises());
}

QStringList MainWindowTest::correctedWords() const
{
    return entriesOf(corrected());
}

void MainWindowTest::click(const char* name) const
{
    QPushButton* target = button(name);
    ASSERT_NE(target, nullptr) << name;
    QTest::mouseClick(target, Qt::LeftButton);
}

void MainWindowTest::runOutOfTime() const
{
    for (int tick = 0; tick < 100000 && !state().TimeUp; ++tick)
        form().Timer1_Timer();
    ASSERT_TRUE(state().TimeUp);
}
