// SPDX-License-Identifier: GPL-3.0-or-later
// miravellon-resultados: the teacher's view of the pupils' results.
//
//     miravellon-resultados [carpeta]
//     miravellon-resultados --informe informe.pdf [--desde D] [--hasta D] [--ejercicio E] [carpeta]
//
// Without a folder it opens the one the pupil's program writes to on this
// account (the setting resultados/carpeta, or $XDG_DATA_HOME/miravellon/resultados).
// With --informe it writes the report as a PDF and ends, with no window.

#include "library/classlist.h"
#include "library/commandline.h"
#include "library/results.h"
#include "results/report.h"
#include "results/resultsview.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLoggingCategory>
#include <QStyleFactory>
#include <QTimer>
#include <QTranslator>

#include <cstdio>

Q_LOGGING_CATEGORY(lcResultsView, "miravellon.resultsview")

namespace {

QString usage()
{
    return QStringLiteral(
        "Uso: miravellon-resultados [CARPETA]\n"
        "     miravellon-resultados --informe INFORME.pdf [--desde AAAA-MM-DD] [--hasta AAAA-MM-DD]\n"
        "                           [--ejercicio NOMBRE] [CARPETA]\n"
        "Muestra los resultados de los alumnos: la tabla de la clase, las palabras más falladas y sus\n"
        "familias, y cada alumno a lo largo del tiempo. Sin CARPETA, abre la carpeta de resultados que\n"
        "usa Miravellon en esta cuenta.\n"
        "  --informe INFORME.pdf  escribe el informe (texto, no una imagen) y termina, sin ventana\n"
        "  --desde, --hasta       solo las filas de esos días\n"
        "  --ejercicio NOMBRE     solo las filas de ese ejercicio\n"
        "  --help, --version\n");
}

int fail(const QString& message)
{
    std::fprintf(stderr, "miravellon-resultados: %s\n", qPrintable(message));
    return 1;
}

std::optional<QDate> dateOption(const QCommandLineParser& parser, const QString& name, QString& error)
{
    if (!parser.isSet(name))
        return QDate();
    const QDate date = QDate::fromString(parser.value(name), Qt::ISODate);
    if (!date.isValid()) {
        error = QStringLiteral("la fecha de --%1 no es AAAA-MM-DD: %2").arg(name, parser.value(name));
        return std::nullopt;
    }
    return date;
}

}  // namespace

int main(int argc, char* argv[])
{
    // The command line is read before the window system is opened: --help
    // and a report answer without a display.
    commandline::quietLogging();
    const QString program = QStringLiteral("miravellon-resultados");
    QCommandLineParser parser;
    commandline::addStandardOptions(parser, true);
    parser.addOption({QStringLiteral("informe"), QStringLiteral("Escribe el informe en PDF y termina."),
                      QStringLiteral("informe.pdf")});
    parser.addOption({QStringLiteral("desde"), QStringLiteral("Solo las filas desde ese día."),
                      QStringLiteral("AAAA-MM-DD")});
    parser.addOption({QStringLiteral("hasta"), QStringLiteral("Solo las filas hasta ese día."),
                      QStringLiteral("AAAA-MM-DD")});
    parser.addOption({QStringLiteral("ejercicio"), QStringLiteral("Solo las filas de ese ejercicio."),
                      QStringLiteral("nombre")});
    if (const std::optional<int> done = commandline::handle(parser, commandline::arguments(argc, argv), program, usage(), 2))
        return *done;
    if (parser.positionalArguments().size() > 1) {
        commandline::printUsageError(program, QStringLiteral("sobra «%1»").arg(parser.positionalArguments()[1]));
        return 2;
    }
    const bool reportOnly = parser.isSet(QStringLiteral("informe"));
    if (reportOnly && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

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

    if (reportOnly) {
        QString error;
        const std::optional<QDate> from = dateOption(parser, QStringLiteral("desde"), error);
        const std::optional<QDate> to = dateOption(parser, QStringLiteral("hasta"), error);
        if (!from || !to)
            return fail(error);
        if (!QFileInfo(folder).isDir())
            return fail(QStringLiteral("no encuentro la carpeta %1").arg(QDir::toNativeSeparators(folder)));
        const results::Folder contents = results::readFolder(folder);
        const QString path = parser.value(QStringLiteral("informe"));
        const report::Input input{folder, &contents.rows,
                                  results::Filter{*from, *to, parser.value(QStringLiteral("ejercicio"))},
                                  classlist::read(folder)};
        if (!report::writePdf(input, path))
            return fail(QStringLiteral("no puedo escribir el informe en %1").arg(QDir::toNativeSeparators(path)));
        const QString skipped = results::skippedNote(contents);
        if (!skipped.isEmpty())
            std::fprintf(stderr, "miravellon-resultados: %s\n", qPrintable(skipped));
        return 0;
    }

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
