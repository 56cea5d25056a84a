// SPDX-License-Identifier: GPL-3.0-or-later
// The picture of a corrected word.

#include "library/contentrules.h"
#include "mainwindow/form1.h"
#include "ui_form1.h"
#include "windows/form3.h"
#include "windows/programstate.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcWordPicture, "miravellon.picture.lookup")

void Form1::ShowWordPicture()
{
    const QListWidgetItem* item = ui->List4->currentItem();
    if (!item)
        return;
    // The picture in the root of the exercise the word was corrected in,
    // else in the program's own.
    const QString path = content::wordPicturePath(QStringList{item->data(Qt::UserRole).toString(), AppFolder},
                                                  item->text());
    if (path.isEmpty())
        return;
    state_.WordPicturePath = path;
    qCInfo(lcWordPicture) << "showing" << state_.WordPicturePath;
    pictureWindow().showModeless();
}
