// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader can say about the four windows: every button that
// shows only a picture has a Spanish tooltip and name, and every list, box and
// picture has a name.

#include "tests/support.h"

#include "presentation/clickablelabel.h"
#include "presentation/richtextbox.h"
#include "windows/form2.h"
#include "windows/form3.h"
#include "windows/form4.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// The name a screen reader speaks for the widget.
QString spokenName(QWidget* widget)
{
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible ? accessible->text(QAccessible::Name) : QString();
}

QString describe(const QWidget* widget)
{
    return widget->window()->objectName() + u'.' + widget->objectName() + u" ("_s
        + QString::fromLatin1(widget->metaObject()->className()) + u')';
}

// Parts of a combo box (its line edit, its popup list) are spoken through the
// combo box itself.
bool insideComboBox(const QWidget* widget)
{
    for (const QWidget* w = widget->parentWidget(); w; w = w->parentWidget())
        if (qobject_cast<const QComboBox*>(w))
            return true;
    return false;
}

class AccessibilityTest : public MainWindowTest {
protected:
    AccessibilityTest()
    {
        tree.writeItem(u"Lecturas"_s, 1, {u"Mi pero come"_s}, {u"Mi perro come"_s});
        start();
        form3 = std::make_unique<Form3>(state(), [] {});
    }

    // Every window of the program: the main window, the results log shown by
    // its start-up, the splash and the picture viewer.
    std::vector<QWidget*> windows()
    {
        return {&form(), form().form4(), &splash, form3.get()};
    }

    std::vector<QWidget*> allWidgets()
    {
        std::vector<QWidget*> widgets;
        for (QWidget* window : windows())
            for (QWidget* w : window->findChildren<QWidget*>())
                widgets.push_back(w);
        return widgets;
    }

    Form2 splash;
    std::unique_ptr<Form3> form3;
};

TEST_F(AccessibilityTest, PictureButtonsOfTheMainWindowHaveSpanishTooltipsAndNames)
{
    const std::vector<std::pair<const char*, QString>> expected = {
        {"Command3_0", u"Siguiente"_s}, {"Command3_1", u"Anterior"_s}, {"Command1", u"Ayuda"_s},
        {"Command6", u"Resultados"_s},  {"Command4", u"Salir"_s},
    };
    for (const auto& [name, label] : expected) {
        auto* button = find<QPushButton>(name);
        ASSERT_NE(button, nullptr) << name;
        // The button still shows only its picture.
        EXPECT_TRUE(button->text().isEmpty()) << name;
        EXPECT_FALSE(button->icon().isNull()) << name;
        EXPECT_EQ(button->toolTip(), label) << name;
        EXPECT_EQ(button->accessibleName(), label) << name;
        EXPECT_EQ(spokenName(button), label) << name;
        EXPECT_EQ(QAccessible::queryAccessibleInterface(button)->role(), QAccessible::Button) << name;
    }
    // The pace buttons show a bare digit; their names say what it is.
    for (int i = 0; i < 4; ++i) {
        auto* button = find<QPushButton>(QByteArray("Command5_" + QByteArray::number(i)).constData());
        ASSERT_NE(button, nullptr);
        const QString label = u"Ritmo "_s + QString::number(i + 1);
        EXPECT_EQ(button->text(), QString::number(i + 1));
        EXPECT_EQ(button->toolTip(), label);
        EXPECT_EQ(spokenName(button), label);
    }
}

TEST_F(AccessibilityTest, EveryControlThatShowsOnlyAPictureIsNamed)
{
    int pictureButtons = 0;
    int pictures = 0;
    for (QWidget* w : allWidgets()) {
        if (auto* button = qobject_cast<QAbstractButton*>(w); button && button->text().isEmpty()) {
            ++pictureButtons;
            EXPECT_FALSE(button->toolTip().isEmpty()) << describe(w).toStdString();
            EXPECT_FALSE(spokenName(w).isEmpty()) << describe(w).toStdString();
        }
        if (auto* label = qobject_cast<QLabel*>(w); label && label->text().isEmpty()) {
            ++pictures;
            EXPECT_FALSE(spokenName(w).isEmpty()) << describe(w).toStdString();
        }
    }
    EXPECT_EQ(pictureButtons, 5);
    // The splash, the picture viewer, the runner and the reward animation.
    EXPECT_EQ(pictures, 4);
    EXPECT_EQ(spokenName(splash.Picture1()), u"Miravellon: haz clic para empezar"_s);
    EXPECT_EQ(spokenName(form3->Picture1()), u"Dibujo de la palabra"_s);
    EXPECT_EQ(spokenName(find<QWidget>("Zarandel1")), u"Cuenta atrás"_s);
    EXPECT_EQ(spokenName(find<QWidget>("Zarandel2")), u"Premio"_s);
}

TEST_F(AccessibilityTest, ListsAndBoxesAreNamed)
{
    int named = 0;
    for (QWidget* w : allWidgets()) {
        const bool listOrBox = qobject_cast<QAbstractItemView*>(w) || qobject_cast<QComboBox*>(w)
            || qobject_cast<QLineEdit*>(w) || qobject_cast<QTextEdit*>(w);
        if (!listOrBox || insideComboBox(w))
            continue;
        ++named;
        EXPECT_FALSE(w->accessibleName().isEmpty()) << describe(w).toStdString();
        EXPECT_FALSE(spokenName(w).isEmpty()) << describe(w).toStdString();
    }
    // Two lists, the font chooser, the text number and four text boxes.
    EXPECT_EQ(named, 8);

    const std::vector<std::pair<const char*, QString>> expected = {
        {"List1", u"Ejercicios"_s},
        {"List4", u"Palabras corregidas"_s},
        {"Text1", u"Número de texto"_s},
        {"RichTextBox1", u"Texto del ejercicio"_s},
        {"RichTextBox3", u"Corrección"_s},
    };
    for (const auto& [name, label] : expected)
        EXPECT_EQ(spokenName(find<QWidget>(name)), label) << name;
    EXPECT_EQ(spokenName(log()), u"Resultados"_s);
    // On Linux Qt speaks a combo box by the font it shows, and says what it is
    // for in its description.
    auto* fonts = find<QComboBox>("Combo1");
    EXPECT_EQ(fonts->accessibleName(), u"Tipo de letra"_s);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(fonts)->text(QAccessible::Description), u"Tipo de letra"_s);
    EXPECT_EQ(find<QWidget>("Text1")->toolTip(), u"Número de texto"_s);
}

// The exercise list keeps its design width, which cuts the longer names: the
// pointer and a screen reader both get the whole name.
class ExerciseNames : public MainWindowTest {};

TEST_F(ExerciseNames, EachEntryCarriesItsWholeNameAsTooltipAndSpokenName)
{
    const QStringList names{u"01 Mayúsculas (1.º y 2.º)"_s, u"08 M antes de P y B"_s,
                            u"12 Signos ¿ y ¡, «comillas» y puntos suspensivos (5.º y 6.º)"_s};
    for (const QString& name : names)
        tree.writeItem(name, 1, {u"Mi pero"_s}, {u"Mi perro"_s});
    start();
    auto* list = exercises();
    ASSERT_EQ(list->count(), names.size());
    QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(list);
    ASSERT_NE(spoken, nullptr);

    for (int row = 0; row < list->count(); ++row) {
        const QString& name = names.at(row);
        QListWidgetItem* entry = list->item(row);
        EXPECT_EQ(entry->text(), name);
        EXPECT_EQ(entry->toolTip(), name);
        EXPECT_EQ(entry->data(Qt::AccessibleTextRole).toString(), name);
        bool found = false;
        for (int i = 0; i < spoken->childCount() && !found; ++i)
            found = spoken->child(i) && spoken->child(i)->text(QAccessible::Name) == name;
        EXPECT_TRUE(found) << name.toStdString();
    }
    // The longest name does not fit the list.
    EXPECT_GT(list->fontMetrics().horizontalAdvance(names.last()), list->viewport()->width());
}

TEST_F(AccessibilityTest, NamesStayWhenTheHelpButtonIsLockedAndTheTextIsLoaded)
{
    harness->chooseExercise(0);
    auto* help = helpButton();
    EXPECT_FALSE(help->isEnabled());
    EXPECT_EQ(spokenName(help), u"Ayuda"_s);
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(help)->state().disabled);
    EXPECT_EQ(spokenName(text()), u"Texto del ejercicio"_s);
}

}  // namespace
