// SPDX-License-Identifier: GPL-3.0-or-later
// miravellon-editor: the teacher's exercise editor, in a window.
//
// Shows the teacher's exercises ($XDG_DATA_HOME/miravellon/Ejercicios) and
// the program's own (beside this program, read-only), and writes items with
// the same library code as miravellon-crear.

#include "editor/editorwindow.h"
#include "editor/prompts.h"

#include "library/acceptedwords.h"
#include "library/catalogue.h"
#include "library/commandline.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

QString usage()
{
    return QStringLiteral(
        "Uso: miravellon-editor\n"
        "Abre el editor de ejercicios de Miravellon: sus ejercicios, en su carpeta de datos, y los del\n"
        "programa, que se pueden copiar para cambiarlos.\n"
        "  --help, --version\n");
}

}  // namespace

int main(int argc, char* argv[])
{
    // The command line is read before the window system is opened: --help
    // answers without a display.
    commandline::quietLogging();
    const QString program = QStringLiteral("miravellon-editor");
    QCommandLineParser parser;
    commandline::addStandardOptions(parser, true);
    if (const std::optional<int> done = commandline::handle(parser, commandline::arguments(argc, argv), program, usage(), 2))
        return *done;
    if (!parser.positionalArguments().isEmpty()) {
        commandline::printUsageError(program, QStringLiteral("sobra «%1»").arg(parser.positionalArguments().first()));
        return 2;
    }

    QApplication app(argc, argv);
    // Qt's own words (file dialogs, OK and Cancel) in Spanish.
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_es"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    QApplication::setApplicationName(QStringLiteral("miravellon-editor"));
    QApplication::setApplicationDisplayName(QStringLiteral("Editor de ejercicios de Miravellon"));
    QApplication::setDesktopFileName(QStringLiteral("es.miravellon.Editor"));
    QIcon icon;
    for (const char* size : {"32x32", "64x64", "128x128"})
        icon.addFile(QStringLiteral(":/editor/%1/apps/es.miravellon.Miravellon.png").arg(QLatin1String(size)));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("es.miravellon.Miravellon"), icon));

    // Her accepted words and homophones, ready for the checker and for her.
    if (!catalogue::dataRoots().isEmpty())
        acceptedwords::makeFiles(catalogue::dataRoots().first());

    editor::DialogPrompts prompts;
    // The teacher's root is the first of the data roots: the one in her own
    // data folder, where she may write.
    editor::EditorWindow window(QCoreApplication::applicationDirPath(), catalogue::dataRoots().value(0), prompts);
    window.show();
    window.offerDrafts();
    return app.exec();
}
