// The picture of a corrected word.

#include "library/catalogue.h"
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
    const QString word = item->text();
    // The lookup never leaves the pictures folder.
    if (word.isEmpty() || word.contains(u'/') || word.contains(u'\\') || word == QLatin1String("..")
        || word == QLatin1String("."))
        return;
    const QString folder = catalogue::resolve(AppFolder, QStringLiteral("Graficos"));
    for (const QString& extension : {QStringLiteral(".gif"), QStringLiteral(".jpg")}) {
        const QString stored = catalogue::storedName(folder, word + extension, false);
        if (stored.isEmpty() || stored.toLower() != (word + extension).toLower())
            continue;
        state_.WordPicturePath = folder + u'/' + stored;
        qCInfo(lcWordPicture) << "showing" << state_.WordPicturePath;
        if (!form3_)
            form3_ = new Form3(state_, [this] { showAndActivate(); });
        form3_->showModeless();
        return;
    }
}
