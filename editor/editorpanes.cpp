// SPDX-License-Identifier: GPL-3.0-or-later
// The panes of the editor's window. Controls are made in the order the Tab
// key goes through them.

#include "editor/editorpanes.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

#include <initializer_list>

namespace editor {

namespace {

template <typename W>
W* named(W* widget, const char* name, const QString& accessibleName, const QString& tip)
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setAccessibleName(accessibleName);
    widget->setToolTip(tip);
    return widget;
}

// A button whose accessible name is its text without the mnemonic and the
// ellipsis.
QPushButton* button(QWidget* parent, const char* name, const QString& text, const QString& tip)
{
    return named(new QPushButton(text, parent), name, QString(text).remove(u'&').remove(QStringLiteral("…")), tip);
}

// A button of a row or column: where it goes, its name, text and tooltip.
struct ButtonText {
    QPushButton** button;
    const char* name;
    QString text;
    QString tip;
};

// The buttons, made in this order and laid out one after another.
void addButtons(QWidget* pane, QBoxLayout* layout, std::initializer_list<ButtonText> buttons)
{
    for (const ButtonText& b : buttons) {
        *b.button = button(pane, b.name, b.text, b.tip);
        layout->addWidget(*b.button);
    }
}

// A control made under a label that names it (and leads to it by its
// mnemonic), the label first.
template <typename W>
W* labelled(QWidget* pane, QBoxLayout* layout, const QString& label, const char* name, const QString& accessibleName,
            const QString& tip, int stretch = 0)
{
    auto* title = new QLabel(label, pane);
    auto* widget = named(new W(pane), name, accessibleName, tip);
    title->setBuddy(widget);
    layout->addWidget(title);
    layout->addWidget(widget, stretch);
    return widget;
}

}  // namespace

ExercisesPane buildExercisesPane(QWidget* parent)
{
    ExercisesPane p;
    p.pane = new QWidget(parent);
    auto* layout = new QVBoxLayout(p.pane);
    p.exercises = labelled<QListWidget>(
        p.pane, layout, QStringLiteral("&Ejercicios"), "ListaEjercicios", QStringLiteral("Ejercicios"),
        QStringLiteral("Sus ejercicios y, debajo, los que trae el programa (solo para leer)"));
    addButtons(p.pane, layout,
               {{&p.newExercise, "NuevoEjercicio", QStringLiteral("&Nuevo ejercicio…"),
                 QStringLiteral("Crea un ejercicio nuevo en su carpeta de ejercicios")},
                {&p.renameExercise, "CambiarNombre", QStringLiteral("Cambiar el nombre…"),
                 QStringLiteral("Cambia el nombre del ejercicio elegido")},
                {&p.deleteExercise, "BorrarEjercicio", QStringLiteral("Borrar ejercicio…"),
                 QStringLiteral("Lleva el ejercicio elegido a la papelera")},
                {&p.copyExercise, "CopiarEjercicio", QStringLiteral("&Copiar a mis ejercicios"),
                 QStringLiteral("Copia el ejercicio del programa a su carpeta, para cambiarlo")},
                {&p.results, "Resultados", QStringLiteral("&Resultados…"),
                 QStringLiteral("Lo que ha hecho cada alumno y las palabras que más falla la clase")}});
    return p;
}

ItemsPane buildItemsPane(QWidget* parent)
{
    ItemsPane p;
    p.pane = new QWidget(parent);
    auto* layout = new QVBoxLayout(p.pane);
    p.items = labelled<QListWidget>(p.pane, layout, QStringLiteral("&Textos"), "ListaTextos",
                                    QStringLiteral("Textos del ejercicio"),
                                    QStringLiteral("Los textos del ejercicio, por su número"));
    addButtons(p.pane, layout,
               {{&p.newItem, "NuevoTexto", QStringLiteral("N&uevo texto"),
                 QStringLiteral("Añade un texto al final del ejercicio (Ctrl+N)")},
                {&p.deleteItem, "BorrarTexto", QStringLiteral("&Borrar texto…"),
                 QStringLiteral("Borra el texto elegido; los siguientes se renumeran")},
                {&p.upItem, "SubirTexto", QStringLiteral("&Subir"), QStringLiteral("Adelanta el texto un puesto")},
                {&p.downItem, "BajarTexto", QStringLiteral("B&ajar"), QStringLiteral("Retrasa el texto un puesto")}});
    return p;
}

ItemPane buildItemPane(QWidget* parent)
{
    ItemPane p;
    p.pane = new QWidget(parent);
    auto* layout = new QVBoxLayout(p.pane);

    // The two versions side by side.
    auto* texts = new QHBoxLayout;
    auto* correctColumn = new QVBoxLayout;
    p.correct = labelled<QPlainTextEdit>(
        p.pane, correctColumn, QStringLiteral("Te&xto bien escrito"), "TextoCorrecto",
        QStringLiteral("Texto bien escrito"),
        QStringLiteral("Escriba o pegue aquí el texto bien escrito. Con el botón derecho (o Ctrl+M) sobre una "
                       "palabra se elige su falta"));
    p.correct->setTabChangesFocus(true);
    p.correct->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* faultyColumn = new QVBoxLayout;
    p.faulty = labelled<QTextEdit>(
        p.pane, faultyColumn, QStringLiteral("Texto con faltas (lo que ve el alumno)"), "TextoConFaltas",
        QStringLiteral("Texto con faltas"),
        QStringLiteral("Las faltas van resaltadas; un clic en una palabra permite cambiar su falta"));
    p.faulty->setReadOnly(true);
    p.faulty->setTabChangesFocus(true);
    texts->addLayout(correctColumn);
    texts->addLayout(faultyColumn);

    auto* actions = new QHBoxLayout;
    addButtons(p.pane, actions,
               {{&p.putMisspellings, "PonerFaltas", QStringLiteral("&Poner faltas…"),
                 QStringLiteral("Elige palabras del texto y les pone faltas de una familia")},
                {&p.importText, "ImportarTexto", QStringLiteral("&Importar texto…"),
                 QStringLiteral("Lee un archivo .txt como texto bien escrito")},
                {&p.picture, "Dibujo", QStringLiteral("&Dibujo…"),
                 QStringLiteral("Elige el dibujo de la palabra corregida donde está el cursor")},
                {&p.save, "Guardar", QStringLiteral("&Guardar"), QStringLiteral("Guarda las dos versiones (Ctrl+S)")},
                {&p.tryText, "Probar", QStringLiteral("Pro&bar"),
                 QStringLiteral("Abre Miravellon en este texto, como lo verá un alumno (sin guardar resultados)")}});
    layout->addLayout(texts, 3);
    layout->addLayout(actions);

    p.findings =
        labelled<QListWidget>(p.pane, layout, QStringLiteral("&Lo que dice el comprobador"), "Hallazgos",
                              QStringLiteral("Lo que dice el comprobador"),
                              QStringLiteral("Los errores y avisos de miravellon-comprobar sobre este texto"), 1);
    p.findings->setWordWrap(true);
    p.accept = button(p.pane, "AceptarPalabra", QStringLiteral("&Aceptar lo señalado"),
                      QStringLiteral("La palabra señalada es correcta, o la falta señalada se quiere así: el "
                                     "comprobador no volverá a avisar de ella"));
    p.accept->setEnabled(false);
    layout->addWidget(p.accept, 0, Qt::AlignLeft);
    p.status = new QLabel(p.pane);
    p.status->setObjectName(QStringLiteral("Estado"));
    p.status->setAccessibleName(QStringLiteral("Estado"));
    p.status->setWordWrap(true);
    layout->addWidget(p.status);
    return p;
}

}  // namespace editor
