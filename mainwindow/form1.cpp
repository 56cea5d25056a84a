// SPDX-License-Identifier: GPL-3.0-or-later

#include "mainwindow/form1.h"

#include "presentation/prompts.h"
#include "presentation/rangemarks.h"
#include "presentation/richtextbox.h"
#include "presentation/twips.h"
#include "presentation/zarandel.h"
#include "ui_form1.h"
#include "windows/form3.h"
#include "windows/form4.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QShortcut>
#include <QThread>
#include <QTimer>

Form1::Form1(ProgramState& state, Services services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , ui(std::make_unique<Ui::Form1>())
    , state_(state)
    , services_(std::move(services))
{
    ui->setupUi(this);
    // Sizes the definition gives in quarter points.
    QFont heading = ui->Label4_0->font();
    heading.setPointSizeF(11.25);
    ui->Label4_0->setFont(heading);

    QPalette grey = palette();
    grey.setColor(QPalette::Window, QColor(192, 192, 192));
    setPalette(grey);
    setAutoFillBackground(true);

    QPalette help = ui->RichTextBox2->palette();
    help.setColor(QPalette::Base, help.color(QPalette::Active, QPalette::Highlight));
    ui->RichTextBox2->setPalette(help);
    QPalette pick = ui->Command1->palette();
    pick.setColor(QPalette::Button, QColor(224, 224, 224));
    ui->Command1->setPalette(pick);
    QPalette results = ui->Command6->palette();
    results.setColor(QPalette::Button, QColor(0, 192, 0));
    ui->Command6->setPalette(results);

    ui->Text1->setMaxLength(10);
    // The picked word shows its colour, not the selection's highlight, once
    // the focus has gone to the correction box.
    ui->RichTextBox1->setHideSelection(true);
    ui->RichTextBox2->setHideSelection(true);
    // The correction box holds one word, in a large font: no scroll bars.
    ui->RichTextBox3->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ui->RichTextBox3->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ui->RichTextBox3->document()->setDocumentMargin(2);
    ui->Zarandel2->setPlayOnce(true);
    ui->Zarandel1->raise();
    ui->Zarandel2->raise();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(design::SlowestPaceMs);
    Timer1->start();  // enabled in the definition; the start-up stops it
    helpMarks_ = new RangeMarks(*ui->RichTextBox2, vbcolor::Yellow, vbcolor::White);

    ItemNumber.fill(1, design::ItemSlots);
    connectHandlers();
}

Form1::~Form1()
{
    syncResults();
    // A review being written is given a moment to be put in place; one still
    // reading a folder that hangs is left to end on its own.
    if (reviewThread_)
        reviewThread_->wait(QDeadlineTimer(2000));
}

Form3& Form1::pictureWindow()
{
    if (!form3_)
        form3_ = std::make_unique<Form3>(state_, [this] { showAndActivate(); });
    return *form3_;
}

Form4& Form1::resultsWindow()
{
    if (!form4_) {
        form4_ = std::make_unique<Form4>(ui->RichTextBox1, [this] { showAndActivate(); });
        form4_->setPrompts(prompts());
    }
    return *form4_;
}

void Form1::connectHandlers()
{
    connect(ui->List1, &QListWidget::itemClicked, this, [this] { List1_Click(); });
    // Moving through the list with the keyboard chooses like a click does
    // (see eventFilter); the row the list makes current by itself when it
    // gets the focus chooses nothing.
    ui->List1->installEventFilter(this);
    connect(ui->Command3_0, &QPushButton::clicked, this, [this] { Command3_Click(0); });
    connect(ui->Command3_1, &QPushButton::clicked, this, [this] { Command3_Click(1); });
    // An edit of the pupil's (typing, pasting, undoing) comes just before the
    // change it makes; a text the program sets comes without one.
    connect(ui->Text1, &QLineEdit::textEdited, this, [this] { itemNumberTyped_ = true; });
    connect(ui->Text1, &QLineEdit::textChanged, this, [this] { Text1_Change(); });
    ui->Text1->installEventFilter(this);
    // Only digits enter the item box, whatever the way: typed, pasted,
    // dropped or brought back by undo.
    ui->Text1->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), ui->Text1));

    connect(ui->RichTextBox1, &RichTextBox::clicked, this, &Form1::RichTextBox1_Click);
    ui->RichTextBox1->onKeyDown = [this](int& key, Qt::KeyboardModifiers shift) { RichTextBox1_KeyDown(key, shift); };
    connect(ui->RichTextBox3, &RichTextBox::keyReleased, this, &Form1::richtextbox3_KeyUp);
    ui->RichTextBox3->onKeyDown = [this](int& key, Qt::KeyboardModifiers shift) { RichTextBox3_KeyDown(key, shift); };
    // A word never holds a space or a line break, typed or pasted.
    ui->RichTextBox3->inputFilter = &ExerciseItem::withoutBreaks;

    const std::array pace{ui->Command5_0, ui->Command5_1, ui->Command5_2, ui->Command5_3};
    for (int i = 0; i < int(pace.size()); ++i)
        connect(pace[i], &QPushButton::clicked, this, [this, i] { Command5_Click(i); });
    connect(Timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
    connect(ui->Zarandel2, &Zarandel::gifEnd, this, [this] { Zarandel2_GifEnd(); });

    connect(ui->Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(ui->Command4, &QPushButton::clicked, this, &Form1::Command4_Click);
    connect(ui->Command6, &QPushButton::clicked, this, &Form1::Command6_Click);
    connect(ui->List4, &QListWidget::itemClicked, this, [this] { List4_Click(); });

    // Without a mouse: Enter or Space picks the word at the caret of the
    // exercise text, or shows the picture of a corrected word (see
    // keyboardEvent).
    ui->RichTextBox1->installEventFilter(this);
    ui->List4->installEventFilter(this);
    // The text size, from anywhere in the window, and from the wheel over the
    // exercise text or the help view.
    const auto sizeKeys = [this](const QKeySequence& keys, int steps) {
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, [this, steps] { changeTextSize(steps); });
    };
    sizeKeys(QKeySequence(Qt::CTRL | Qt::Key_Plus), 1);
    // Where the plus sign needs Shift, Control with its key says the same.
    sizeKeys(QKeySequence(Qt::CTRL | Qt::Key_Equal), 1);
    sizeKeys(QKeySequence(Qt::CTRL | Qt::Key_Minus), -1);
    sizeKeys(QKeySequence(Qt::CTRL | Qt::Key_0), 0);
    ui->RichTextBox1->viewport()->installEventFilter(this);
    ui->RichTextBox2->viewport()->installEventFilter(this);
    connect(ui->Combo1, &QComboBox::activated, this, [this] { Combo1_Click(); });
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    if (keyboardEvent(watched, event))
        return true;
    if (watched == ui->Text1 && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (!key->text().isEmpty() && key->text().at(0).isPrint()) {
            int keyAscii = key->text().at(0).unicode();
            Text1_Keypress(keyAscii);
            if (keyAscii == 0)
                return true;
        }
    }
    if (watched == ui->List1 && event->type() == QEvent::KeyPress) {
        // The list acts on the key here, so that a move it makes can be told
        // from the row it makes current on getting the focus.
        const int before = ui->List1->currentRow();
        static_cast<QObject*>(ui->List1)->event(event);
        if (ui->List1->currentRow() != before && ui->List1->currentRow() >= 0)
            List1_Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::closeEvent(QCloseEvent* event)
{
    // Closing the main window by any means ends the program, as the exit
    // button does.
    event->accept();
    leaveText();
    if (services_.quit)
        services_.quit();
}

Prompts& Form1::prompts() const
{
    return services_.prompts ? *services_.prompts : dialogPrompts();
}

void Form1::showMessage(const QString& text)
{
    prompts().inform(this, QStringLiteral("MIRAVE~1"), text, Prompts::Icon::None);
}

void Form1::changeEvent(QEvent* event)
{
    // However this window became active (a click on it, the task bar, a key
    // in another window), it covers the others again.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        hideCoveredWindows();
    QWidget::changeEvent(event);
}

void Form1::hideCoveredWindows()
{
    if (form3_)
        form3_->hide();
    if (form4_)
        form4_->hide();
}

void Form1::showAndActivate()
{
    // The picture or the log goes once this window is active: the key or
    // click that asked for it still ends where it began.
    show();
    raise();
    activateWindow();
}

qint32& Form1::currentItemNumber()
{
    if (ItemNumber.size() <= SelectedExercise)
        ItemNumber.resize(SelectedExercise + 1, 1);
    return ItemNumber[SelectedExercise];
}
