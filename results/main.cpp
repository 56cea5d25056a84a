// miravellon-resultados: the teacher's view of the pupils' results.
//
//     miravellon-resultados [carpeta]
//
// Without a folder it opens the one the pupil's program writes to on this
// account (the setting resultados/carpeta, or $XDG_DATA_HOME/miravellon/resultados).

#include "library/commandline.h"
#include "library/results.h"
#include "results/resultsview.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLoggingCategory>
#include <QStyleFactory>
#include <QTimer>
#include <QTranslator>


Q_LOGGING_CATEGORY(lcResultsView, "miravellon.resultsview")

namespace {

QString usage()
{
    return QStringLiteral(
        "Uso: miravellon-resultados [CARPETA]\n"
        "Muestra los resultados de los alumnos: la tabla de la clase, las palabras más falladas y sus\n"
        "familias. Sin CARPETA, abre la carpeta de resultados que usa Miravellon en esta cuenta.\n"
        "  --help, --version\n");
}

}  // namespace

int main(int argc, char* argv[])
{
    // The command line is read before the window system is opened: --help
    // answers without a display.
    commandline::quietLogging();
    const QString program = QStringLiteral("miravellon-resultados");
    QCommandLineParser parser;
    commandline::addStandardOptions(parser, true);
    if (const std::optional<int> done = commandline::handle(parser, commandline::arguments(argc, argv), program, usage(), 2))
        return *done;
    if (parser.positionalArguments().size() > 1) {
        commandline::printUsageError(program, QStringLiteral("sobra «%1»").arg(parser.positionalArguments()[1]));
        return 2;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Miravellon Resultados"));
    QGuiApplication::setDesktopFileName(QStringLiteral("es.miravellon.Resultados"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    // Qt's own words (dialog buttons) in Spanish.
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_es"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);

    const QStringList args = parser.positionalArguments();
    const QString folder = !args.isEmpty() ? args.at(0) : results::resolveFolder(results::configuredFolder(), {});

    ResultsView view;
    view.resize(1000, 700);
    view.openFolder(folder);
    view.show();
    // MIRAVELLON_STARTUP_CHECK=1: reports what it read and ends, for checking
    // an installation without anyone at the keyboard.
    if (qEnvironmentVariableIntValue("MIRAVELLON_STARTUP_CHECK") == 1) {
        QTimer::singleShot(0, &app, [&view] {
            qCInfo(lcResultsView).noquote() << "startup check:" << view.contents().rows.size() << "rows and"
                                            << view.contents().skippedLines << "skipped lines in" << view.folder();
            QApplication::exit(0);
        });
    }
    return app.exec();
}
