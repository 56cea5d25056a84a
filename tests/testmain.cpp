// Runs every test headless, with the application the widgets need.

#include "windows/resources.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStyleFactory>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The teacher's and the school's exercise folders of the machine running
    // the tests (~/.local/share/miravellon, /usr/share/miravellon...) stay
    // out of them: both data locations are empty folders of their own, which
    // the programs the tests start inherit too. A test that wants such a
    // folder points these variables at one of its own. The user's settings
    // (the text size) start empty too, apart from the person's own.
    const QTemporaryDir dataFolders;
    if (!dataFolders.isValid() || !QDir(dataFolders.path()).mkpath(QStringLiteral("home"))
        || !QDir(dataFolders.path()).mkpath(QStringLiteral("dirs"))
        || !QDir(dataFolders.path()).mkpath(QStringLiteral("config")))
        return 1;
    // The machine's Spanish dictionaries stay in view, through a link in the
    // school's data folder.
    QFile::link(QStringLiteral("/usr/share/hunspell"), dataFolders.filePath(QStringLiteral("dirs/hunspell")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataFolders.filePath(QStringLiteral("home"))));
    qputenv("XDG_DATA_DIRS", QFile::encodeName(dataFolders.filePath(QStringLiteral("dirs"))));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dataFolders.filePath(QStringLiteral("config"))));
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setQuitOnLastWindowClosed(false);
    initFormResources();
    return RUN_ALL_TESTS();
}
