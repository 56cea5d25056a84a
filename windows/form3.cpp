// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/form3.h"

#include "library/contentrules.h"
#include "presentation/clickablelabel.h"
#include "presentation/twips.h"
#include "ui_form3.h"
#include "windows/programstate.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLoggingCategory>

#include <cmath>

Q_LOGGING_CATEGORY(lcPicture, "miravellon.picture")

Form3::Form3(ProgramState& state, std::function<void()> showMainWindow, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , ui(std::make_unique<Ui::Form3>())
    , state_(state)
    , showMainWindow_(std::move(showMainWindow))
{
    ui->setupUi(this);
    connect(ui->Picture1, &ClickableLabel::clicked, this, &Form3::Picture1_Click);
    Form_Load();
}

Form3::~Form3() = default;

ClickableLabel* Form3::Picture1() const
{
    return ui->Picture1;
}

void Form3::placePicture()
{
    // A picture that cannot be read leaves the one shown before; the window is
    // sized and centred all the same.
    QString error;
    const QImage image = content::readPicture(state_.WordPicturePath, &error);
    if (!image.isNull()) {
        ui->Picture1->setPixmap(QPixmap::fromImage(image));
        ui->Picture1->resize(image.size() + QSize(4, 4));
    } else {
        qCInfo(lcPicture) << "cannot show" << state_.WordPicturePath << error;
    }
    twips::setHeight(this, twips::height(ui->Picture1));
    twips::setWidth(this, twips::width(ui->Picture1));
    const QSize screen = twips::screenSize();
    twips::setTop(this, std::floor((screen.height() - twips::height(this)) / 2));
    twips::setLeft(this, std::floor((screen.width() - twips::width(this)) / 2));
    repaint();
}

void Form3::Form_Load()
{
    placePicture();
    state_.Form3Loaded = true;
}

void Form3::Form_Activate()
{
    if (state_.Form3Loaded)
        placePicture();
}

void Form3::Picture1_Click()
{
    if (showMainWindow_)
        showMainWindow_();
}

void Form3::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        Picture1_Click();
        return;
    default: QWidget::keyPressEvent(event);
    }
}

void Form3::showModeless()
{
    show();
    raise();
    activateWindow();
}

void Form3::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Form_Activate();
}
