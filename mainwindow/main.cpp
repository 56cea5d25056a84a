// Miravellon: Spanish spelling practice for children.

#include "mainwindow/form1.h"
#include "presentation/cueplayer.h"
#include "windows/form2.h"
#include "windows/programstate.h"
#include "windows/resources.h"

#include <QApplication>
#include <QStyleFactory>

#include <memory>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Miravellon"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    // The splash closes before the main window appears; the program ends with
    // the main window, not with its last window.
    QApplication::setQuitOnLastWindowClosed(false);
    initFormResources();

    ProgramState state;
    SoundEffectCuePlayer cues;
    std::unique_ptr<Form1> form1;

    Form2 splash;
    splash.showMainWindow = [&] {
        if (!form1) {
            Form1::Services services;
            services.appFolder = QApplication::applicationDirPath();
            services.cues = &cues;
            services.splash = &splash;
            services.quit = [] { QApplication::exit(0); };
            form1 = std::make_unique<Form1>(state, services);
            form1->Form_Load();
        }
        form1->showMaximized();
        form1->raise();
        form1->activateWindow();
    };
    splash.show();
    return app.exec();
}
