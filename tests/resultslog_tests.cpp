// SPDX-License-Identifier: GPL-3.0-or-later
// The results window can be kept: its context menu and shortcuts copy the
// whole log, save it as plain UTF-8 text and print it (here to a PDF file).
// The tests answer the file and printer choices, but for the last ones, which
// meet the real dialogs.

#include "tests/support.h"

#include "presentation/richtextbox.h"
#include "windows/form4.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString Log = u"TEXTO 1\n\nMi perro come \nEs mío \n\n** Terminado en el plazo de tiempo previsto **\n\n"
                    u"TEXTO 2\n\n—¿Vienes? —preguntó «el abuelo» a Óscar; \"sí\".\n\n** Tiempo agotado **\n\n"_s;

class ResultsLog : public ::testing::Test {
protected:
    ResultsLog()
        : window(&exerciseText, [this] { ++mainWindowShown; })
    {
        exerciseText.resize(800, 600);
        window.RichTextBox1()->appendText(Log);
        window.setPrompts(prompts);
        window.showModeless();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    RichTextBox* log() { return window.RichTextBox1(); }
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
    {
        QTest::keyClick(log(), key, modifiers);
    }

    QTextEdit exerciseText;
    int mainWindowShown = 0;
    Form4 window;
    RecordingPrompts prompts;
    QStringList& messages = prompts.informed;
    QTemporaryDir dir;
};

TEST_F(ResultsLog, TheMenuOffersCopySaveAndPrint)
{
    QStringList texts;
    QStringList shortcuts;
    for (QAction* action : window.logMenu()->actions()) {
        texts.append(action->text());
        shortcuts.append(action->shortcut().toString());
    }
    EXPECT_EQ(texts, (QStringList{u"Copiar todo"_s, u"Guardar como…"_s, u"Imprimir…"_s}));
    EXPECT_EQ(shortcuts, (QStringList{u"Ctrl+C"_s, u"Ctrl+S"_s, u"Ctrl+P"_s}));
}

TEST_F(ResultsLog, ARightClickOpensTheMenu)
{
    const QPoint at(20, 20);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, log()->viewport()->mapToGlobal(at));
    QApplication::sendEvent(log()->viewport(), &event);
    EXPECT_TRUE(window.logMenu()->isVisible());
    window.logMenu()->close();
    EXPECT_EQ(mainWindowShown, 0);
}

TEST_F(ResultsLog, TheMenuKeyOpensTheMenu)
{
    press(Qt::Key_Menu, {});
    EXPECT_TRUE(window.logMenu()->isVisible());
    window.logMenu()->close();
    EXPECT_EQ(mainWindowShown, 0);
}

TEST_F(ResultsLog, CtrlCCopiesTheWholeLog)
{
    QApplication::clipboard()->clear();
    press(Qt::Key_C);
    EXPECT_EQ(QApplication::clipboard()->text(), Log);
    EXPECT_EQ(mainWindowShown, 0);
}

TEST_F(ResultsLog, CopyAllFromTheMenu)
{
    QApplication::clipboard()->clear();
    window.logMenu()->actions().at(0)->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), Log);
}

TEST_F(ResultsLog, SaveAsWritesTheExactTextInUtf8)
{
    const QString path = dir.filePath(u"resultados de 3.º B.txt"_s);
    prompts.files = {path};
    press(Qt::Key_S);
    EXPECT_EQ(prompts.prompts, (QList<RecordingPrompts::Prompt>{
                                   {u"saveFile"_s, u"Guardar los resultados"_s, u"Texto (*.txt)"_s}}));
    EXPECT_EQ(prompts.suggested, QStringList{u"resultados.txt"_s});
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), Log.toUtf8());
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(mainWindowShown, 0);
}

TEST_F(ResultsLog, SaveAsCancelledWritesNothing)
{
    window.logMenu()->actions().at(1)->trigger();
    EXPECT_EQ(prompts.prompts.size(), 1);
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(ResultsLog, SaveAsWhereItCannotWriteSaysSo)
{
    const QString path = dir.filePath(u"no/existe/resultados.txt"_s);
    prompts.files = {path};
    EXPECT_FALSE(window.saveAs());
    EXPECT_EQ(messages, QStringList{u"No puedo guardar los resultados en "_s + path});
    EXPECT_EQ(prompts.prompts.value(1).title, u"MIRAVE~1"_s);
    EXPECT_EQ(prompts.icons, QList<Prompts::Icon>{Prompts::Icon::None});
}

TEST_F(ResultsLog, PrintsToAPdf)
{
    const QString path = dir.filePath(u"resultados.pdf"_s);
    prompts.printTo = path;
    press(Qt::Key_P);
    EXPECT_EQ(prompts.prompts.value(0).title, u"Imprimir los resultados"_s);
    QFile pdf(path);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF-"));
    EXPECT_GT(bytes.size(), 1000);
    EXPECT_TRUE(bytes.contains("/Title (\xfe\xff") || bytes.contains("Resultados")) << "named after the log";
}

TEST_F(ResultsLog, PrintingCancelledPrintsNothing)
{
    EXPECT_FALSE(window.printLog());
    EXPECT_EQ(prompts.prompts.value(0).kind, u"choosePrinter"_s);
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST_F(ResultsLog, AnyOtherKeyStillBringsTheMainWindowBack)
{
    press(Qt::Key_A, {});
    press(Qt::Key_Space, {});
    press(Qt::Key_X);
    EXPECT_EQ(mainWindowShown, 3);
    EXPECT_EQ(log()->text(), Log);
}

// The log's own dialogs, when no other prompts are given: Ctrl+S opens the
// file dialog under its caption, offering resultados.txt in the home folder,
// and writes the file chosen in it.
TEST(ResultsLogDialogs, SaveAsOpensTheFileDialog)
{
    QTextEdit exerciseText;
    exerciseText.resize(800, 600);
    Form4 window(&exerciseText, [] {});
    window.RichTextBox1()->appendText(Log);
    window.showModeless();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTemporaryDir dir;
    const QString path = dir.filePath(u"resultados de 3.º B.txt"_s);
    QString title;
    QString offered;
    QTimer answer;
    answer.setInterval(5);
    QObject::connect(&answer, &QTimer::timeout, &answer, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        answer.stop();
        title = dialog->windowTitle();
        offered = dialog->selectedFiles().value(0);
        dialog->selectFile(path);
        static_cast<QDialog*>(dialog)->accept();
    });
    answer.start();
    QTest::keyClick(window.RichTextBox1(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(title, u"Guardar los resultados"_s);
    EXPECT_EQ(offered, QDir::home().filePath(u"resultados.txt"_s));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), Log.toUtf8());
}

// The real messages as a person meets them: the caption, the text and the
// icon given, one OK button; only the notice leaves the window free.
struct MessageCase {
    const char* name;
    bool notice;
    Prompts::Icon icon;
    QMessageBox::Icon shown;
};

void PrintTo(const MessageCase& c, std::ostream* out)
{
    *out << c.name;
}

class RealMessages : public ::testing::TestWithParam<MessageCase> {};

TEST_P(RealMessages, ShowWhatTheyAreGiven)
{
    const MessageCase& c = GetParam();
    QWidget window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    bool seen = false;
    const auto look = [&] {
        auto* box = window.findChild<QMessageBox*>();
        if (!box || !box->isVisible())
            return false;
        seen = true;
        EXPECT_EQ(box->windowTitle(), u"MIRAVE~1"_s);
        EXPECT_EQ(box->text(), u"No encuentro el archivo"_s);
        EXPECT_EQ(box->icon(), c.shown);
        EXPECT_EQ(box->buttons().size(), 1);
        EXPECT_NE(box->button(QMessageBox::Ok), nullptr);
        EXPECT_EQ(QApplication::activeModalWidget() == box, !c.notice);
        box->button(QMessageBox::Ok)->click();
        return true;
    };
    if (c.notice) {
        dialogPrompts().notify(&window, u"MIRAVE~1"_s, u"No encuentro el archivo"_s);
        EXPECT_TRUE(look());
        QTest::qWait(10);
        EXPECT_EQ(window.findChild<QMessageBox*>(), nullptr) << "gone once closed";
    } else {
        QTimer answer;
        answer.setInterval(5);
        QObject::connect(&answer, &QTimer::timeout, &answer, [&] {
            if (look())
                answer.stop();
        });
        answer.start();
        dialogPrompts().inform(&window, u"MIRAVE~1"_s, u"No encuentro el archivo"_s, c.icon);
    }
    EXPECT_TRUE(seen);
}

INSTANTIATE_TEST_SUITE_P(
    ResultsLogDialogs, RealMessages,
    ::testing::Values(MessageCase{"plain", false, Prompts::Icon::None, QMessageBox::NoIcon},
                      MessageCase{"information", false, Prompts::Icon::Information, QMessageBox::Information},
                      MessageCase{"warning", false, Prompts::Icon::Warning, QMessageBox::Warning},
                      MessageCase{"notice", true, Prompts::Icon::Information, QMessageBox::Information}),
    [](const ::testing::TestParamInfo<MessageCase>& info) { return std::string(info.param.name); });

}  // namespace
