// Miravellon: Spanish spelling practice for children.

#include "mainwindow/program.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QTimer>

#include <functional>

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
    setUpApplication();

    const bool check = startupCheckRequested();
    std::function<void(const QString&)> messageBox;
    if (check)
        messageBox = [](const QString& text) { qCWarning(lcMain) << "message:" << text; };
    Program program(QApplication::applicationDirPath(), messageBox);
    program.splash().show();
    if (check) {
        QTimer::singleShot(0, &program.splash(), [&program] {
            program.splash().Picture1_Click();
            Form1* form1 = program.mainWindow();
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
