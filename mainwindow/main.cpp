// SPDX-License-Identifier: GPL-3.0-or-later
// Miravellon: Spanish spelling practice for children.

#include "library/commandline.h"
#include "mainwindow/program.h"
#include "presentation/prompts.h"

#include <QApplication>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QTimer>

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

// The real dialogs, but for the messages, which are logged.
class LoggedMessages : public DialogPrompts {
public:
    void inform(QWidget*, const QString&, const QString& text, Icon) override
    {
        qCWarning(lcMain) << "message:" << text;
    }
};

QString usage()
{
    return QStringLiteral(
        "Uso: miravellon [--probar CARPETA_DEL_EJERCICIO N]\n"
        "Practica la ortografía: los alumnos corrigen las faltas de los textos de los ejercicios.\n"
        "  --probar CARPETA N   empieza en el texto N de ese ejercicio, como lo verá un alumno, sin\n"
        "                       preguntar el nombre ni guardar resultados (para el profesor)\n"
        "  --help, --version\n");
}

}  // namespace

int main(int argc, char* argv[])
{
    // The command line is read before the window system is opened: --help
    // answers without a display.
    const QString name = QStringLiteral("miravellon");
    QCommandLineParser parser;
    commandline::addStandardOptions(parser, true);
    parser.addOption({QStringLiteral("probar"), QString(), QStringLiteral("CARPETA")});
    if (const std::optional<int> done = commandline::handle(parser, commandline::arguments(argc, argv), name, usage(), 2))
        return *done;
    QString trialFolder;
    int trialItem = 0;
    if (parser.isSet(QStringLiteral("probar"))) {
        trialFolder = parser.value(QStringLiteral("probar"));
        bool ok = false;
        trialItem = parser.positionalArguments().value(0).toInt(&ok);
        if (!ok || trialItem < 1 || parser.positionalArguments().size() != 1 || !QFileInfo(trialFolder).isDir()) {
            commandline::printUsageError(name, QStringLiteral("--probar necesita la carpeta de un ejercicio y el "
                                                              "número de un texto"));
            return 2;
        }
    } else if (!parser.positionalArguments().isEmpty()) {
        commandline::printUsageError(name, QStringLiteral("sobra «%1»").arg(parser.positionalArguments().first()));
        return 2;
    }

    QApplication app(argc, argv);
    setUpApplication();

    const bool check = startupCheckRequested();
    LoggedMessages loggedMessages;
    Program program(QApplication::applicationDirPath(), check ? &loggedMessages : nullptr);
    if (!trialFolder.isEmpty()) {
        // The splash is passed by: the teacher goes straight to her text.
        program.tryText(trialFolder, trialItem);
        program.splash().Picture1_Click();
    } else {
        program.splash().show();
    }
    if (check) {
        QTimer::singleShot(0, &program.splash(), [&program] {
            program.splash().Picture1_Click();
            Form1* form1 = program.mainWindow();
            form1->LoadExerciseItem();
            const int exercises = int(form1->exerciseFolders().size());
            const int words = form1->correctWords().count();
            qCInfo(lcMain).noquote() << "startup check:" << exercises << "exercises in" << form1->appFolder() << "and"
                                     << words << "words in the first text";
            QApplication::exit(exercises > 0 && words > 0 ? 0 : 1);
        });
    }
    return app.exec();
}
