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
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("es.miravellon.Editor")));

    editor::DialogPrompts prompts;
    editor::EditorWindow window(QCoreApplication::applicationDirPath(), catalogue::teacherExercisesFolder(), prompts);
    window.show();
    window.offerDrafts();
    return app.exec();
}
