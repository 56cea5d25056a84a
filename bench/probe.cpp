// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench/probe.h"

#include "bench/content.h"
#include "bench/window.h"
#include "mainwindow/program.h"
#include "presentation/richtextbox.h"

#include <QApplication>
#include <QDateTime>
#include <QLineEdit>
#include <QListWidget>
#include <QLoggingCategory>
#include <QTest>

#include <cstdio>

namespace probe {

namespace {

void print(const char* name, double value)
{
    std::printf("%s %.1f\n", name, value);
}

double millisecondsSinceLaunch()
{
    bool ok = false;
    const qint64 launch = qEnvironmentVariable("MIRAVELLON_LAUNCH_US").toLongLong(&ok);
    if (!ok)
        return -1;
    return double(QDateTime::currentDateTimeUtc().toMSecsSinceEpoch() * 1000 - launch) / 1000.0;
}

}  // namespace

int run(int& argc, char** argv, const QString& appFolder, const QElapsedTimer& sinceMain)
{
    // The same steps as the program's own main().
    QApplication app(argc, argv);
    setUpApplication();
    QLoggingCategory::setFilterRules(QStringLiteral("miravellon.*.info=false"));

    Program program(appFolder);
    Form2& splash = program.splash();
    splash.show();
    if (!QTest::qWaitForWindowExposed(&splash))
        return 1;
    print("splash_shown_ms_since_main", double(sinceMain.nsecsElapsed()) / 1e6);

    // The pupil clicks the splash at once.
    const qint64 clicked = sinceMain.nsecsElapsed();
    splash.Picture1_Click();
    Form1* form1 = program.mainWindow();
    if (!form1 || !QTest::qWaitForWindowExposed(form1))
        return 1;
    window::settle();
    const double sinceLaunch = millisecondsSinceLaunch();
    const qint64 laidOut = sinceMain.nsecsElapsed();
    print("main_window_ms_since_click", double(laidOut - clicked) / 1e6);
    print("main_window_ms_since_main", double(laidOut) / 1e6);
    if (sinceLaunch >= 0)
        print("main_window_ms_since_launch", sinceLaunch);
    print("exercises_listed", form1->findChild<QListWidget*>(QStringLiteral("List1"))->count());
    print("peak_kib_after_start", double(window::peakMemoryKiB()));

    // The largest item: chosen, typed in, laid out in full and painted.
    auto* list = form1->findChild<QListWidget*>(QStringLiteral("List1"));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    const int largest = content::Sizes.back();
    const qint64 loading = sinceMain.nsecsElapsed();
    form1->findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(QString::number(content::itemFor(largest)));
    auto* text = form1->findChild<RichTextBox*>(QStringLiteral("RichTextBox1"));
    window::layOutFully(text);
    window::layOutFully(form1->findChild<RichTextBox*>(QStringLiteral("RichTextBox2")));
    window::settle();
    print("load_largest_ms", double(sinceMain.nsecsElapsed() - loading) / 1e6);
    print("words_loaded", form1->correctWords().count());
    print("peak_kib_after_load", double(window::peakMemoryKiB()));

    // A pick at the end, a typed form, help and back.
    text->setSelStart(text->textLength());
    window::settle();
    const QString shown = text->text();
    const int lastWord = int(shown.lastIndexOf(u' ', shown.size() - 3)) + 1;
    QTextCursor caret(text->document());
    caret.setPosition(lastWord + 1);
    QTest::mouseClick(text->viewport(), Qt::LeftButton, {}, text->cursorRect(caret).center());
    window::settle();
    auto* correction = form1->findChild<RichTextBox*>(QStringLiteral("RichTextBox3"));
    correction->setText(form1->correctWords().entry(form1->correctWords().count() - 1));
    form1->richtextbox3_KeyUp(0, {});
    window::settle();
    form1->Command1_Click();
    window::settle();
    form1->Command1_Click();
    window::settle();
    print("peak_kib_after_actions", double(window::peakMemoryKiB()));
    print("rss_kib_at_end", double(window::currentMemoryKiB()));
    std::fflush(stdout);
    program.closeMainWindow();
    return 0;
}

}  // namespace probe
