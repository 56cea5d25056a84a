// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/form4.h"

#include "presentation/prompts.h"
#include "presentation/richtextbox.h"
#include "presentation/twips.h"
#include "ui_form4.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QEvent>
#include <QMenu>
#include <QPrinter>
#include <QSaveFile>

#include <algorithm>

Form4::Form4(QWidget* exerciseText, std::function<void()> showMainWindow, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , ui(std::make_unique<Ui::Form4>())
    , exerciseText_(exerciseText)
    , showMainWindow_(std::move(showMainWindow))
    , prompts_(&dialogPrompts())
{
    ui->setupUi(this);
    QFont logFont = ui->RichTextBox1->font();
    logFont.setPointSizeF(14.25);
    ui->RichTextBox1->setFont(logFont);
    QPalette green = palette();
    green.setColor(QPalette::Window, QColor(0, 128, 0));
    setPalette(green);
    setAutoFillBackground(true);

    ui->RichTextBox1->setLocked(true);
    ui->RichTextBox1->onKeyDown = [this](int& keyCode, Qt::KeyboardModifiers shift) {
        RichTextBox1_KeyDown(keyCode, shift);
    };
    connect(ui->RichTextBox1, &RichTextBox::clicked, this, &Form4::RichTextBox1_Click);

    logMenu_ = new QMenu(this);
    logMenu_->setObjectName(QStringLiteral("LogMenu"));
    QAction* copy = logMenu_->addAction(QStringLiteral("Copiar todo"), this, &Form4::copyAll);
    copy->setShortcut(QKeySequence::Copy);
    QAction* save = logMenu_->addAction(QStringLiteral("Guardar como…"), this, [this] { saveAs(); });
    save->setShortcut(QKeySequence::Save);
    QAction* print = logMenu_->addAction(QStringLiteral("Imprimir…"), this, [this] { printLog(); });
    print->setShortcut(QKeySequence::Print);
    ui->RichTextBox1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ui->RichTextBox1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { logMenu_->popup(ui->RichTextBox1->mapToGlobal(at)); });
    exerciseText_->window()->installEventFilter(this);
    Form_Load();
}

Form4::~Form4() = default;

RichTextBox* Form4::RichTextBox1() const
{
    return ui->RichTextBox1;
}

void Form4::Form_Load()
{
    // The main window's coordinates are screen coordinates: it covers the
    // screen from its top-left corner.
    twips::setTop(this, twips::top(exerciseText_));
    twips::setLeft(this, twips::left(exerciseText_));
    twips::setWidth(this, twips::width(exerciseText_));
    twips::setHeight(this, twips::height(exerciseText_));
    // The green margin around the log; a text box too small for it leaves the
    // log with no room rather than a negative size.
    twips::setWidth(ui->RichTextBox1, std::max(0.0, twips::width(this) - 350));
    twips::setHeight(ui->RichTextBox1, std::max(0.0, twips::height(this) - 350));
}

void Form4::RichTextBox1_Click()
{
    if (showMainWindow_)
        showMainWindow_();
}

void Form4::RichTextBox1_KeyDown(int& keyCode, Qt::KeyboardModifiers shift)
{
    // The log's shortcuts and the menu key keep the log in front, and so does
    // the Control key pressed on its own, which begins every shortcut.
    if (keyCode == Qt::Key_Control) {
        keyCode = 0;
        return;
    }
    const QKeySequence pressed(QKeyCombination(shift, Qt::Key(keyCode)));
    for (QAction* action : logMenu_->actions()) {
        if (!action->shortcut().isEmpty() && action->shortcut() == pressed) {
            keyCode = 0;
            action->trigger();
            return;
        }
    }
    if (keyCode == Qt::Key_Menu) {
        keyCode = 0;
        RichTextBox& log = *ui->RichTextBox1;
        logMenu_->popup(log.viewport()->mapToGlobal(log.cursorRect().center()));
        return;
    }
    keyCode = 0;
    if (showMainWindow_)
        showMainWindow_();
}

void Form4::showModeless()
{
    // Text added while the window was out of sight is laid out now.
    ui->RichTextBox1->releaseLayout();
    show();
    raise();
    activateWindow();
}

void Form4::changeEvent(QEvent* event)
{
    // Brought forward some other way (from the task bar, say): the log must
    // be laid out to be seen.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        ui->RichTextBox1->releaseLayout();
    QWidget::changeEvent(event);
}

void Form4::appendBlock(const QString& block)
{
    RichTextBox& log = *ui->RichTextBox1;
    if (outOfSight())
        log.holdLayout();
    log.appendText(block);
}

bool Form4::outOfSight() const
{
    const QWidget* front = exerciseText_->window();
    return front->isVisible() && front->isActiveWindow() && !front->isMinimized()
        && front->frameGeometry().contains(frameGeometry());
}

bool Form4::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::WindowStateChange:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Hide:
        // The main window may have uncovered the log.
        if (ui->RichTextBox1->layoutHeld() && !outOfSight())
            ui->RichTextBox1->releaseLayout();
        break;
    default: break;
    }
    return QWidget::eventFilter(watched, event);
}

void Form4::copyAll()
{
    QApplication::clipboard()->setText(ui->RichTextBox1->text());
}

bool Form4::saveAs()
{
    const QString path = prompts_->saveFile(this, QStringLiteral("Guardar los resultados"),
                                            QStringLiteral("resultados.txt"), QStringLiteral("Texto (*.txt)"));
    if (path.isEmpty())
        return false;
    QSaveFile file(path);
    const QByteArray bytes = ui->RichTextBox1->text().toUtf8();
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    prompts_->inform(this, QStringLiteral("MIRAVE~1"),
                     QStringLiteral("No puedo guardar los resultados en ") + QDir::toNativeSeparators(path),
                     Prompts::Icon::None);
    return false;
}

bool Form4::printLog()
{
    QPrinter printer;
    printer.setDocName(QStringLiteral("Resultados"));
    if (!prompts_->choosePrinter(this, QStringLiteral("Imprimir los resultados"), printer))
        return false;
    ui->RichTextBox1->document()->print(&printer);
    return true;
}
