// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of the main window and the stretching of its controls over the
// screen.

#include "library/catalogue.h"
#include "library/contentrules.h"
#include "mainwindow/form1.h"
#include "presentation/richtextbox.h"
#include "presentation/tilebitmap.h"
#include "presentation/twips.h"
#include "presentation/zarandel.h"
#include "ui_form1.h"
#include "windows/form4.h"
#include "windows/programstate.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLoggingCategory>
#include <QTimer>

#include <algorithm>
#include <cmath>

Q_LOGGING_CATEGORY(lcStartup, "miravellon.startup")

void Form1::Form_Load()
{
    state_.TextCounter = 1;
    if (services_.splash)
        services_.splash->close();
    AppFolder = services_.appFolder;
    while (AppFolder.size() > 1 && AppFolder.endsWith(u'/'))
        AppFolder.chop(1);
    TextFontSize = 24;
    Timer1->stop();
    vbcolor::setBackground(ui->Command5_0, vbcolor::Green);
    vbcolor::setBackground(ui->Command5_1, vbcolor::Yellow);
    vbcolor::setBackground(ui->Command5_2, vbcolor::Yellow);
    vbcolor::setBackground(ui->Command5_3, vbcolor::Yellow);

    // From here on a step that cannot be done has no effect and the start-up
    // goes on; nothing is reported to the pupil.
    {
        QString error;
        const QImage tile = content::readPicture(content::backgroundPath(AppFolder), &error);
        if (tile.isNull())
            qCInfo(lcStartup) << "no background tile:" << error;
        else
            Picture1 = QPixmap::fromImage(tile);
    }

    // The window covers the screen from its top-left corner.
    const QSize screen = twips::screenSize();
    move(0, 0);

    // The program's own exercises, then the teacher's and the school's.
    const QStringList roots = catalogue::contentRoots(AppFolder, catalogue::dataRoots());
    ExerciseList = catalogue::listCatalogue(roots);
    const int trialRow = trialExercise();
    Dir1.clear();
    for (const catalogue::ListedExercise& exercise : std::as_const(ExerciseList))
        Dir1.append(exercise.name);
    ui->List1->setSortingEnabled(false);  // the catalogue comes sorted already
    ui->List1->clear();
    ui->List1->addItems(Dir1);
    // The list keeps its design width, which cuts the longer names: each
    // entry carries its whole name for the pointer and for screen readers.
    for (int row = 0; row < ui->List1->count(); ++row) {
        QListWidgetItem* entry = ui->List1->item(row);
        entry->setToolTip(entry->text());
        entry->setData(Qt::AccessibleTextRole, entry->text());
    }
    if (!ExerciseList.isEmpty()) {
        ExerciseFolder = ExerciseList.first().folder;
        ExerciseRoot = ExerciseList.first().root;
    } else {
        ExerciseFolder = catalogue::exercisesFolder(AppFolder) + u'/';
        ExerciseRoot = AppFolder;
    }
    for (const QString& root : roots)
        qCInfo(lcStartup) << "exercises in" << catalogue::exercisesFolder(root);
    qCInfo(lcStartup) << Dir1.size() << "exercises listed";

    // One current item number for every exercise listed, and never fewer than
    // the slots the program always had room for.
    ItemNumber.fill(1, std::max<qsizetype>(design::ItemSlots, Dir1.size()));

    ui->RichTextBox1->setLocked(true);
    // The arrows move the caret through the text (RichTextBox1_KeyDown lets
    // nothing else through), so that a word can be picked from the keyboard.
    ui->RichTextBox1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // The help view shows the correct text that the results log copies when
    // a text is finished: the pupil reads it there but never edits it.
    ui->RichTextBox2->setLocked(true);

    ui->Combo1->clear();
    ui->Combo1->addItems(QFontDatabase::families());
    ui->Combo1->model()->sort(0);
    ui->Combo1->setEditText(QStringLiteral("Arial"));
    ui->Combo1->show();

    twips::setWidth(this, screen.width());
    twips::setHeight(this, screen.height());
    ArrangeControls();
    TileBitmap(this, Picture1);
    // The text size the user chose last time, once the correction box has
    // the size it keeps.
    const double normal = rememberedTextSize();
    if (normal != textSizes_.normal)
        applyTextSize(normal);

    ui->Zarandel2->hide();
    twips::setTop(ui->Zarandel2, twips::top(ui->RichTextBox1));
    twips::setLeft(ui->Zarandel2, twips::left(ui->RichTextBox1) + twips::width(ui->RichTextBox1) + 50);

    // The log is made now, over the exercise text; the main window covers it
    // from the first moment, so it stays hidden until the results button.
    resultsWindow();
    startRecording();
    if (trialRow >= 0) {
        ui->List1->setCurrentRow(trialRow);
        ItemNumber[trialRow] = std::max(services_.trialItem, 1);
        List1_Click();
    }
}

int Form1::trialExercise()
{
    if (services_.trialFolder.isEmpty())
        return -1;
    const QFileInfo trial(services_.trialFolder);
    const QString wanted = trial.canonicalFilePath();
    for (qsizetype row = 0; row < ExerciseList.size(); ++row) {
        if (QFileInfo(ExerciseList[row].folder).canonicalFilePath() == wanted)
            return int(row);
    }
    // An exercise the program does not list is tried all the same, last.
    ExerciseList.append({trial.fileName(), QDir::cleanPath(trial.absoluteFilePath()),
                         QFileInfo(trial.absolutePath()).path()});
    return int(ExerciseList.size() - 1);
}

void Form1::ArrangeControls()
{
    const QSize screen = twips::screenSize();
    const double listHeight = screen.height() - twips::top(ui->RichTextBox1) - twips::height(ui->RichTextBox3)
        - twips::height(ui->Zarandel1) - 300;
    if (listHeight < 0) {
        // The list box refuses a negative height; the layout stops here and
        // every control keeps its design geometry.
        qCInfo(lcStartup) << "screen too small to lay out:" << screen;
        return;
    }
    twips::setHeight(ui->List1, listHeight);
    twips::setHeight(ui->RichTextBox1, twips::height(ui->List1));
    twips::setHeight(ui->List4, twips::height(ui->RichTextBox1));
    twips::setHeight(ui->RichTextBox2, twips::height(ui->RichTextBox1));
    twips::setTop(ui->RichTextBox3, twips::top(ui->RichTextBox1) + twips::height(ui->RichTextBox1) + 100);
    twips::setTop(ui->Zarandel1, twips::top(ui->RichTextBox3) + twips::height(ui->RichTextBox3) + 50);
    const double textWidth = screen.width() - twips::left(ui->RichTextBox1) - twips::width(ui->List4) - 100;
    if (textWidth < 0) {
        qCInfo(lcStartup) << "screen too narrow to lay out:" << screen;
        return;
    }
    twips::setWidth(ui->RichTextBox1, textWidth);
    twips::setWidth(ui->RichTextBox2, twips::width(ui->RichTextBox1));
    twips::setLeft(ui->List4, twips::left(ui->RichTextBox1) + twips::width(ui->RichTextBox1) + 50);
    const long h = twips::centreOffset(twips::width(ui->RichTextBox1), twips::width(ui->RichTextBox3));
    twips::setLeft(ui->RichTextBox3, twips::left(ui->RichTextBox1) + double(h));
}
