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
    // The settings and the results rows of every test go to a folder of its
    // own, never to the home folder, and no machine-wide settings are read.
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
