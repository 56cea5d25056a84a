#include "mainwindow/program.h"

#include "windows/resources.h"

#include <QApplication>
#include <QStyleFactory>

void setUpApplication()
{
    QApplication::setApplicationName(QStringLiteral("Miravellon"));
    // Names the installed .desktop file, so that desktops show the program's
    // own name and icon for its windows.
    QGuiApplication::setDesktopFileName(QStringLiteral("es.miravellon.Miravellon"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setQuitOnLastWindowClosed(false);
    initFormResources();
}

Program::Program(const QString& appFolder, std::function<void(const QString&)> messageBox)
    : appFolder_(appFolder)
    , messageBox_(std::move(messageBox))
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
        services.messageBox = messageBox_;
        form1_ = std::make_unique<Form1>(state_, services);
        form1_->Form_Load();
    }
    form1_->showMaximized();
    form1_->raise();
    form1_->activateWindow();
}
