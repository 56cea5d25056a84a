// SPDX-License-Identifier: GPL-3.0-or-later

#include "mainwindow/program.h"

#include "windows/resources.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLoggingCategory>
#include <QTranslator>
#include <QStyleFactory>

Q_LOGGING_CATEGORY(lcProgram, "miravellon.program")

QTranslator* loadQtTranslations()
{
    // Qt's own words (the buttons of a message box, the menus of a text box)
    // in Spanish, whatever the desktop's language.
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral("qtbase_es"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        qCInfo(lcProgram) << "no Spanish translation of Qt in" << QLibraryInfo::path(QLibraryInfo::TranslationsPath);
        delete translator;
        return nullptr;
    }
    QCoreApplication::installTranslator(translator);
    return translator;
}

void setUpApplication()
{
    loadQtTranslations();
    QApplication::setApplicationName(QStringLiteral("Miravellon"));
    // Names the installed .desktop file, so that desktops show the program's
    // own name and icon for its windows.
    QGuiApplication::setDesktopFileName(QStringLiteral("es.miravellon.Miravellon"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setQuitOnLastWindowClosed(false);
    initFormResources();
}

Program::Program(const QString& appFolder, Prompts* prompts)
    : appFolder_(appFolder)
    , prompts_(prompts)
{
    splash_.showMainWindow = [this] { showMainWindow(); };
}

void Program::showMainWindow()
{
    if (!form1_) {
        Form1::Services services;
        services.appFolder = appFolder_;
        services.cues = &cues_;
        services.splash = &splash_;
        services.quit = [] { QApplication::exit(0); };
        services.prompts = prompts_;
        services.trialFolder = trialFolder_;
        services.trialItem = trialItem_;
        form1_ = std::make_unique<Form1>(state_, services);
        form1_->Form_Load();
    }
    form1_->showMaximized();
    form1_->raise();
    form1_->activateWindow();
}
