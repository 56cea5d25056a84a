// SPDX-License-Identifier: GPL-3.0-or-later
// Choosing an exercise and an item, and loading the item's two versions.

#include "library/catalogue.h"
#include "library/contentrules.h"
#include "library/textfile.h"
#include "mainwindow/form1.h"
#include "presentation/rangemarks.h"
#include "presentation/richtextbox.h"
#include "presentation/twips.h"
#include "presentation/zarandel.h"
#include "ui_form1.h"
#include "windows/programstate.h"

#include <QDir>
#include <QLoggingCategory>
#include <QTimer>

#include <cmath>
#include <limits>
#include <utility>

Q_LOGGING_CATEGORY(lcLoad, "miravellon.load")

namespace {

constexpr qint32 MaxItemNumber = std::numeric_limits<qint32>::max();

// The number the digits at the start of `text` form; 0 when it does not start
// with a digit. Numbers beyond the 32-bit range stop at its largest value.
qint32 leadingNumber(const QString& text)
{
    qint64 value = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            break;
        value = std::min<qint64>(value * 10 + (c.unicode() - u'0'), MaxItemNumber);
    }
    return qint32(value);
}

QString refusalFor(textfile::ReadStatus status)
{
    switch (status) {
    case textfile::ReadStatus::Missing: return QStringLiteral("No encuentro el archivo");
    case textfile::ReadStatus::Unreadable: return QStringLiteral("No puedo leer el archivo");
    case textfile::ReadStatus::Empty: return QStringLiteral("El archivo está vacío");
    case textfile::ReadStatus::TooLarge: return QStringLiteral("El archivo es demasiado grande");
    case textfile::ReadStatus::TooManyWords: return QStringLiteral("El texto tiene demasiadas palabras");
    case textfile::ReadStatus::WordTooLong: return QStringLiteral("El texto tiene una palabra demasiado larga");
    case textfile::ReadStatus::NotText: return QStringLiteral("El archivo no es un texto");
    case textfile::ReadStatus::Utf16:
        return QStringLiteral("El archivo está guardado en UTF-16; guárdelo en UTF-8 o ANSI");
    case textfile::ReadStatus::ControlCharacter: return QStringLiteral("El texto tiene un carácter de control");
    case textfile::ReadStatus::Ok: break;
    }
    return {};
}

}  // namespace

void Form1::List1_Click()
{
    const int row = ui->List1->currentRow();
    if (row < 0 || row >= ExerciseList.size())
        return;
    leaveText();
    ui->RichTextBox1->setText(QString());
    pickValid_ = false;
    SelectedExercise = row;
    // Two roots may hold exercises of the same name: the row tells them apart.
    ExerciseFolder = ExerciseList.at(row).folder;
    ExerciseRoot = ExerciseList.at(row).root;
    ui->Text1->setText(QString::number(currentItemNumber()));
    LoadExerciseItem();
}

void Form1::Command3_Click(int index)
{
    qint32& number = currentItemNumber();
    if (index == 0) {
        // The next-item arrow stops at the largest item number.
        if (number < MaxItemNumber)
            ++number;
        ui->Text1->setText(QString::number(number));
    } else if (number > 1) {
        --number;
        ui->Text1->setText(QString::number(number));
    }
    LoadExerciseItem();
}

void Form1::Text1_Change()
{
    const bool typed = std::exchange(itemNumberTyped_, false);
    leaveText();
    ui->RichTextBox1->setText(QString());
    pickValid_ = false;
    qint32& number = currentItemNumber();
    number = leadingNumber(ui->Text1->text());
    if (number > 0) {
        const bool outer = std::exchange(loadFromItemBox_, typed);
        LoadExerciseItem();
        loadFromItemBox_ = outer;
    }
}

void Form1::Text1_Keypress(int& keyAscii)
{
    if ((keyAscii < '0' || keyAscii > '9') && keyAscii != keycode::Backspace)
        keyAscii = keycode::None;
}

void Form1::refuseItem(const QString& message)
{
    PlayCue(QStringLiteral("no"));
    showMessage(message);
}

void Form1::LoadExerciseItem()
{
    ui->Command1->setEnabled(false);
    const QString digits = QString::number(currentItemNumber());
    state_.TimeUp = false;

    // Both versions are read and checked before anything is shown, so that a
    // refused item never leaves one item's text paired with another's words.
    const QString expected = ui->Text1->text() + QStringLiteral(".txt");
    const QString faultyPath = catalogue::versionPath(ExerciseFolder, content::FaultyVersion.toString(), digits);
    if (!catalogue::isPresent(faultyPath, expected)) {
        qCInfo(lcLoad) << "missing" << faultyPath;
        refuseItem(QStringLiteral("No encuentro el archivo"));
        return;
    }
    const QString correctPath = catalogue::versionPath(ExerciseFolder, content::CorrectVersion.toString(), digits);
    if (!catalogue::isPresent(correctPath, expected)) {
        qCInfo(lcLoad) << "missing" << correctPath;
        refuseItem(QStringLiteral("No encuentro el archivo") + QStringLiteral("\n")
                   + QDir(ExerciseRoot).relativeFilePath(correctPath));
        return;
    }
    textfile::ReadResult faulty = textfile::read(faultyPath);
    if (faulty.status != textfile::ReadStatus::Ok) {
        refuseItem(refusalFor(faulty.status) + u'\n' + QDir(ExerciseRoot).relativeFilePath(faultyPath));
        return;
    }
    textfile::ReadResult correct = textfile::read(correctPath);
    if (correct.status != textfile::ReadStatus::Ok) {
        refuseItem(refusalFor(correct.status) + u'\n' + QDir(ExerciseRoot).relativeFilePath(correctPath));
        return;
    }
    if (!ExerciseItem::pairs(faulty.version.words, correct.version.words)) {
        qCInfo(lcLoad) << faultyPath << "has" << faulty.version.words.size() << "words and" << correctPath
                       << correct.version.words.size();
        refuseItem(QStringLiteral("Las dos versiones del texto no tienen el mismo número de palabras\n")
                   + QDir(ExerciseRoot).relativeFilePath(ExerciseFolder) + u'/' + digits + QStringLiteral(".txt"));
        return;
    }

    if (!Timer1->isActive())
        Timer1->start();
    CountdownLeft = qint32(std::lround(twips::left(ui->List1)));
    twips::setLeft(ui->Zarandel1, CountdownLeft);
    ui->Zarandel1->hide();
    ui->Zarandel1->setGifFile(content::runnerAnimationPath(AppFolder));
    ui->Zarandel1->show();
    ui->RichTextBox2->hide();
    ui->RichTextBox1->show();
    // Digits typed one after another (1, then 2 for item 12) all go to the
    // item box.
    if (!loadFromItemBox_)
        ui->RichTextBox1->setFocus();

    // Each box takes its text, colour and size as one update, laid out once.
    RichTextBox& text = *ui->RichTextBox1;
    text.beginUpdate();
    text.setText(faulty.version.shown);
    text.setSelStart(0);
    text.setSelLength(text.textLength());
    text.setSelColor(vbcolor::Black);
    text.setSelFontSize(textSizes_.normal);
    text.setSelLength(0);
    text.endUpdate();

    RichTextBox& hidden = *ui->RichTextBox2;
    hidden.beginUpdate();
    hidden.setText(correct.version.shown);
    hidden.setSelStart(0);
    hidden.setSelLength(hidden.textLength());
    hidden.setSelColor(vbcolor::White);
    // The caret back at the start: one at the end would make the box lay the
    // whole text out at once to keep it in view.
    hidden.setSelStart(0);
    hidden.endUpdate();
    // Marks left for later belong to the text just replaced.
    helpMarks_->forget();
    leaveText();
    item_ = ExerciseItem(std::move(faulty.version), std::move(correct.version));
    WordCounter = List2.count();
    startAttempt();

    pickValid_ = false;
    completionArmed_ = true;
    PlayCue(QStringLiteral("cambia"));
}
