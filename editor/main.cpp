// miravellon-editor: the teacher's exercise editor, in a window.
//
// Shows the teacher's exercises ($XDG_DATA_HOME/miravellon/Ejercicios) and
// the program's own (beside this program, read-only), and writes items with
// the same library code as miravellon-crear.

#include "editor/editorwindow.h"
#include "editor/prompts.h"

#include "library/catalogue.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("miravellon-editor"));
    QApplication::setApplicationDisplayName(QStringLiteral("Editor de ejercicios de Miravellon"));
    QApplication::setDesktopFileName(QStringLiteral("es.miravellon.Editor"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("es.miravellon.Miravellon")));

    editor::DialogPrompts prompts;
    // The teacher's root is the first of the data roots: the one in her own
    // data folder, where she may write.
    editor::EditorWindow window(QCoreApplication::applicationDirPath(), catalogue::dataRoots().value(0), prompts);
    window.show();
    window.offerDrafts();
    return app.exec();
}
