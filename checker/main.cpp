// miravellon-comprobar: checks a content tree before it is given to pupils.
//
//     miravellon-comprobar [carpeta]
//
// Prints one line per problem found in the tree (by default the folder that
// holds this program, where the program's own content lies), then a summary.
// Exit status: 0 without errors (warnings allowed), 1 with errors, 2 when the
// command line is wrong or the folder does not exist.

#include "checker/exercises.h"
#include "checker/media.h"
#include "checker/report.h"
#include "checker/spelling.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace {

constexpr int ExitErrors = 1;
constexpr int ExitUsage = 2;

QString usage()
{
    return QStringLiteral(
        "Uso: miravellon-comprobar [carpeta]\n"
        "Comprueba los ejercicios, sonidos, animaciones y dibujos de Miravellon que hay en la carpeta\n"
        "(sin carpeta, la del propio programa) y escribe una línea por cada problema:\n"
        "  ERROR  el programa no podrá usar el archivo o lo mostrará mal\n"
        "  AVISO  funciona, pero conviene revisarlo\n"
        "  INFO   solo información\n"
        "Termina con 0 si no hay errores, 1 si los hay y 2 si la carpeta no existe.\n");
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    const QStringList arguments = app.arguments().mid(1);
    if (arguments == QStringList{QStringLiteral("-h")} || arguments == QStringList{QStringLiteral("--help")}) {
        out << usage();
        return 0;
    }
    if (arguments.size() > 1 || (arguments.size() == 1 && arguments.first().startsWith(u'-'))) {
        err << usage();
        return ExitUsage;
    }
    const QString folder = arguments.isEmpty() ? app.applicationDirPath() : arguments.first();
    const QFileInfo info(folder);
    if (!info.isDir()) {
        err << QStringLiteral("miravellon-comprobar: no existe la carpeta «%1»\n").arg(folder);
        return ExitUsage;
    }
    const QString tree = QDir::cleanPath(info.absoluteFilePath());

    Report report;
    checker::checkCues(tree, report);
    checker::checkAnimations(tree, report);
    const checker::TextWords words = checker::checkExercises(tree, report);
    checker::checkPictures(tree, words, report);
    checker::checkSpelling(words, report);

    report.print(out);
    return report.errors() > 0 ? ExitErrors : 0;
}
