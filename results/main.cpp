// miravellon-resultados: the teacher's view of the pupils' results.
//
//     miravellon-resultados [carpeta]
//
// Without a folder it opens the one the pupil's program writes to on this
// account (the setting resultados/carpeta, or $XDG_DATA_HOME/miravellon/resultados).

#include "library/results.h"
#include "results/resultsview.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLoggingCategory>
#include <QStyleFactory>
#include <QTimer>
#include <QTranslator>


Q_LOGGING_CATEGORY(lcResultsView, "miravellon.resultsview")

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Miravellon Resultados"));
    QGuiApplication::setDesktopFileName(QStringLiteral("es.miravellon.Resultados"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    // Qt's own words (dialog buttons) in Spanish.
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_es"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);

    const QStringList args = QCoreApplication::arguments();
    const QString folder = args.size() > 1 ? args.at(1) : results::resolveFolder(results::configuredFolder(), {});

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
