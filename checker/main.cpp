// SPDX-License-Identifier: GPL-3.0-or-later
// miravellon-comprobar: checks content before it is given to pupils.
//
//     miravellon-comprobar [carpeta] [--todo]
//
// The folder may be a content root (the program's folder, or a teacher's
// copy of it), an "Ejercicios" catalogue or a single exercise folder; which
// one it is is told from what it holds. Without a folder, the teacher's and
// the school's exercise folders are checked, then the program's own.
// Prints the findings folder by folder and exercise by exercise, then a
// summary. Exit status: 0 without errors (warnings allowed), 1 with errors,
// 2 when the command line is wrong or the folder does not exist.

#include "checker/exercises.h"
#include "checker/media.h"
#include "checker/report.h"
#include "checker/spelling.h"
#include "library/catalogue.h"
#include "library/commandline.h"
#include "library/contentrules.h"

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
        "Uso: miravellon-comprobar [carpeta] [--todo]\n"
        "Comprueba los ejercicios, sonidos, animaciones y dibujos de Miravellon y escribe una línea por\n"
        "cada problema, ejercicio por ejercicio:\n"
        "  ERROR  el programa no podrá usar el archivo o lo mostrará mal\n"
        "  AVISO  funciona, pero conviene revisarlo\n"
        "  INFO   solo información (solo con --todo)\n"
        "La carpeta puede ser una carpeta de contenidos entera, una carpeta Ejercicios o la carpeta de un\n"
        "solo ejercicio. Sin carpeta, comprueba sus ejercicios (~/.local/share/miravellon), los del centro\n"
        "(/usr/local/share/miravellon, /usr/share/miravellon) y los del propio programa.\n"
        "Junto a una carpeta Ejercicios, palabras-aceptadas.txt (una palabra por línea, # para comentarios)\n"
        "calla el aviso de que una palabra no está en el diccionario, y homofonos.txt (una pareja\n"
        "«correcto falta» por línea) el de que una falta también es una palabra, solo para esa pareja.\n"
        "  --todo         escribe también las líneas INFO\n"
        "  --help, --version\n"
        "Termina con 0 si no hay errores, 1 si los hay y 2 si la carpeta no existe.\n");
}

// What a folder checked holds, and so what is checked in it.
enum class Scope {
    Root,       // a whole content tree: cues, animations, background, exercises, pictures
    DataRoot,   // a teacher's or a school's folder: exercises and pictures only
    Catalogue,  // an "Ejercicios" folder
    Exercise    // one exercise
};

struct Target {
    QString folder;
    Scope scope;
    QString heading;
};

QString parentOf(const QString& folder)
{
    return QFileInfo(folder).path();
}

void check(const Target& target, Report& report)
{
    report.beginSection(target.heading);
    checker::TextWords words;
    switch (target.scope) {
    case Scope::Root:
        checker::checkCues(target.folder, report);
        checker::checkAnimations(target.folder, report);
        words = checker::checkExercises(target.folder, report);
        checker::checkPictures(target.folder, words, report);
        break;
    case Scope::DataRoot:
        words = checker::checkExercises(target.folder, report);
        checker::checkPictures(target.folder, words, report);
        break;
    case Scope::Catalogue:
        words = checker::checkCatalogue(target.folder, parentOf(target.folder), report);
        break;
    case Scope::Exercise:
        words = checker::checkExercise(target.folder, parentOf(target.folder), report);
        break;
    }
    // The accepted words and pairs beside the catalogue checked.
    QString root = target.folder;
    if (target.scope == Scope::Catalogue)
        root = parentOf(target.folder);
    else if (target.scope == Scope::Exercise)
        root = parentOf(parentOf(target.folder));
    checker::checkSpelling(words, report, acceptedwords::read(root));
}

// The folder named on the command line, as what it holds says.
Target givenFolder(const QString& folder)
{
    if (checker::isExerciseFolder(folder))
        return {folder, Scope::Exercise, QStringLiteral("Ejercicio %1:").arg(folder)};
    if (checker::isCatalogueFolder(folder))
        return {folder, Scope::Catalogue, QStringLiteral("Ejercicios de %1:").arg(folder)};
    // A folder with none of the program's own media is a teacher's or a
    // school's: the program takes its sounds and animations from its own.
    const bool media = !catalogue::storedName(folder, content::CuesFolder.toString(), true).isEmpty()
        || !catalogue::storedName(folder, content::AnimationsFolder.toString(), true).isEmpty()
        || QFileInfo::exists(content::backgroundPath(folder));
    return {folder, media ? Scope::Root : Scope::DataRoot, QStringLiteral("Contenidos de %1:").arg(folder)};
}

// The teacher's own folder, then the school's, then the program's.
QList<Target> installedFolders(const QString& programFolder)
{
    const QStringList dataRoots = catalogue::dataRoots();
    const QStringList roots = catalogue::contentRoots(programFolder, dataRoots);
    QList<Target> targets;
    for (const QString& root : roots.mid(1)) {
        const bool teachers = !dataRoots.isEmpty() && root == dataRoots.first();
        targets.append({root, Scope::DataRoot,
                        (teachers ? QStringLiteral("Sus ejercicios, en %1:") : QStringLiteral("Ejercicios del centro, en %1:"))
                            .arg(root)});
    }
    targets.append({programFolder, Scope::Root, QStringLiteral("Contenidos del programa, en %1:").arg(programFolder)});
    return targets;
}

}  // namespace

int main(int argc, char* argv[])
{
    commandline::quietLogging();
    const QString program = QStringLiteral("miravellon-comprobar");
    QCommandLineParser parser;
    commandline::addStandardOptions(parser);
    parser.addOption({QStringLiteral("todo"), QString()});
    if (const std::optional<int> done
        = commandline::handle(parser, commandline::arguments(argc, argv), program, usage(), ExitUsage))
        return *done;
    const QStringList arguments = parser.positionalArguments();
    if (arguments.size() > 1) {
        commandline::printUsageError(program, QStringLiteral("sobra «%1»").arg(arguments[1]));
        return ExitUsage;
    }
    const bool everything = parser.isSet(QStringLiteral("todo"));

    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QList<Target> targets;
    if (arguments.isEmpty()) {
        targets = installedFolders(QDir::cleanPath(app.applicationDirPath()));
    } else {
        const QFileInfo info(arguments.first());
        if (!info.isDir()) {
            err << QStringLiteral("miravellon-comprobar: no existe la carpeta «%1»\n").arg(arguments.first());
            return ExitUsage;
        }
        targets.append(givenFolder(QDir::cleanPath(info.absoluteFilePath())));
    }

    Report report;
    report.setShowNotes(everything);
    for (const Target& target : targets)
        check(target, report);

    report.print(out);
    return report.errors() > 0 ? ExitErrors : 0;
}
