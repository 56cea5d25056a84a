// Miravellon: Spanish spelling practice for children.

#include "mainwindow/form1.h"
#include "presentation/cueplayer.h"
#include "windows/form2.h"
#include "windows/programstate.h"
#include "windows/resources.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QStyleFactory>
#include <QTimer>

#include <memory>

Q_LOGGING_CATEGORY(lcMain, "miravellon.main")

namespace {

// MIRAVELLON_STARTUP_CHECK=1 is for checking an installation without anyone at
// the keyboard: the program goes past its splash by itself, starts the main
// window on its content, loads the first text of the first exercise, logs what
// it found and ends; exit status 0 when it listed exercises and read a text.
// Messages meant for the pupil go to the log instead of a dialog.
bool startupCheckRequested()
{
    return qEnvironmentVariableIntValue("MIRAVELLON_STARTUP_CHECK") == 1;
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Miravellon"));
    // Names the installed .desktop file, so that desktops show the program's
    // own name and icon for its windows.
    QGuiApplication::setDesktopFileName(QStringLiteral("es.miravellon.Miravellon"));
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
            if (startupCheckRequested())
                services.messageBox = [](const QString& text) { qCWarning(lcMain) << "message:" << text; };
            form1 = std::make_unique<Form1>(state, services);
            form1->Form_Load();
        }
        form1->showMaximized();
        form1->raise();
        form1->activateWindow();
    };
    splash.show();
    if (startupCheckRequested()) {
        QTimer::singleShot(0, &splash, [&] {
            splash.Picture1_Click();
            form1->LoadExerciseItem();
            const int exercises = int(form1->Dir1.size());
            const int words = form1->List2.count();
            qCInfo(lcMain).noquote() << "startup check:" << exercises << "exercises in" << form1->AppFolder << "and"
                                     << words << "words in the first text";
            QApplication::exit(exercises > 0 && words > 0 ? 0 : 1);
        });
    }
    return app.exec();
}
