// SPDX-License-Identifier: GPL-3.0-or-later
// Runs every test headless, with the application the widgets need.

#include "tests/support.h"
#include "windows/resources.h"

#include <QApplication>
#include <QStyleFactory>

#include <gtest/gtest.h>

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The settings (the text size, the results folder), the results rows and
    // the exercise folders of the machine running the tests
    // (~/.config/miravellon, ~/.local/share/miravellon, /etc/xdg,
    // /usr/share/miravellon...) stay out of them: every XDG location is an
    // empty folder of its own, which the programs the tests start inherit
    // too. A test that wants such a folder points these variables at one of
    // its own.
    const std::unique_ptr<QTemporaryDir> home = isolateXdgFolders();
    if (!home)
        return 1;
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setQuitOnLastWindowClosed(false);
    initFormResources();
    return RUN_ALL_TESTS();
}
