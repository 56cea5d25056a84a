// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/form2.h"

#include "presentation/clickablelabel.h"
#include "presentation/twips.h"
#include "ui_form2.h"

#include <cmath>

Form2::Form2(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , ui(std::make_unique<Ui::Form2>())
{
    ui->setupUi(this);
    // The picture box sizes itself to its picture plus its 2-pixel frame.
    const QSize picture = ui->Picture1->pixmap().size();
    if (!picture.isEmpty())
        ui->Picture1->resize(picture + QSize(4, 4));
    connect(ui->Picture1, &ClickableLabel::clicked, this, &Form2::Picture1_Click);
    Form_Load();
}

Form2::~Form2() = default;

ClickableLabel* Form2::Picture1() const
{
    return ui->Picture1;
}

void Form2::Form_Load()
{
    twips::setWidth(this, twips::width(ui->Picture1));
    twips::setHeight(this, twips::height(ui->Picture1));
    const QSize screen = twips::screenSize();
    const double top = std::trunc(std::nearbyint(screen.height() - twips::height(this)) / 2);
    const double left = std::trunc(std::nearbyint(screen.width() - twips::width(this)) / 2);
    twips::move(this, left, top);
}

void Form2::Picture1_Click()
{
    if (showMainWindow)
        showMainWindow();
    close();
}
