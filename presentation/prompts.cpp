// SPDX-License-Identifier: GPL-3.0-or-later

#include "presentation/prompts.h"

#include "library/classlist.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace {

QMessageBox::Icon boxIcon(Prompts::Icon icon)
{
    switch (icon) {
    case Prompts::Icon::None: return QMessageBox::NoIcon;
    case Prompts::Icon::Information: return QMessageBox::Information;
    case Prompts::Icon::Warning: return QMessageBox::Warning;
    }
    return QMessageBox::NoIcon;
}

// Sends the arrows pressed in the name box to the list of names.
class ArrowsToList : public QObject {
public:
    explicit ArrowsToList(QListWidget* list)
        : QObject(list)
        , list_(list)
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && list_->isVisible()) {
            switch (static_cast<QKeyEvent*>(event)->key()) {
            case Qt::Key_Up:
            case Qt::Key_Down:
            case Qt::Key_PageUp:
            case Qt::Key_PageDown: QCoreApplication::sendEvent(list_, event); return true;
            default: break;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QListWidget* list_;
};

}  // namespace

void DialogPrompts::inform(QWidget* parent, const QString& title, const QString& text, Icon icon)
{
    QMessageBox box(boxIcon(icon), title, text, QMessageBox::Ok, parent);
    box.exec();
}

void DialogPrompts::notify(QWidget* parent, const QString& title, const QString& text)
{
    auto* notice = new QMessageBox(QMessageBox::Information, title, text, QMessageBox::Ok, parent);
    notice->setObjectName(QStringLiteral("Aviso"));
    notice->setModal(false);
    notice->setWindowModality(Qt::NonModal);
    notice->setAttribute(Qt::WA_DeleteOnClose);
    notice->show();
}

bool DialogPrompts::confirm(QWidget* parent, const QString& title, const QString& text)
{
    return QMessageBox::question(parent, title, text) == QMessageBox::Yes;
}

std::optional<QString> DialogPrompts::askText(QWidget* parent, const QString& title, const QString& label,
                                              const QString& initial)
{
    bool ok = false;
    const QString text = QInputDialog::getText(parent, title, label, QLineEdit::Normal, initial, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

QString DialogPrompts::openFile(QWidget* parent, const QString& title, const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, title,
                                        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation), filter);
}

QString DialogPrompts::saveFile(QWidget* parent, const QString& title, const QString& suggested, const QString& filter)
{
    return QFileDialog::getSaveFileName(parent, title, QDir::home().filePath(suggested), filter);
}

QString DialogPrompts::chooseFolder(QWidget* parent, const QString& title, const QString& start)
{
    return QFileDialog::getExistingDirectory(parent, title, start);
}

bool DialogPrompts::choosePrinter(QWidget* parent, const QString& title, QPrinter& printer)
{
    QPrintDialog dialog(&printer, parent);
    if (!title.isEmpty())
        dialog.setWindowTitle(title);
    return dialog.exec() == QDialog::Accepted;
}

QString DialogPrompts::askName(QWidget* parent, const QString& title, const QString& question,
                               const QStringList& names)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("NameQuestion"));
    dialog.setWindowTitle(title);
    auto* layout = new QVBoxLayout(&dialog);
    auto* label = new QLabel(question, &dialog);
    auto* typed = new QLineEdit(&dialog);
    label->setBuddy(typed);
    typed->setMinimumWidth(typed->fontMetrics().horizontalAdvance(u'M') * 20);
    layout->addWidget(label);
    layout->addWidget(typed);
    auto* list = new QListWidget(&dialog);
    list->addItems(names);
    list->setVisible(!names.isEmpty());
    layout->addWidget(list);
    const auto filter = [list, typed] {
        list->setCurrentRow(-1);
        for (int row = 0; row < list->count(); ++row) {
            QListWidgetItem* item = list->item(row);
            item->setHidden(!classlist::holds(item->text(), typed->text()));
            if (!item->isHidden() && !list->currentItem() && !typed->text().trimmed().isEmpty())
                list->setCurrentItem(item);
        }
    };
    QObject::connect(typed, &QLineEdit::textEdited, list, filter);
    typed->installEventFilter(new ArrowsToList(list));
    QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    typed->setFocus();
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QListWidgetItem* chosen = list->currentItem();
    return chosen && !chosen->isHidden() ? chosen->text() : typed->text();
}

Prompts& dialogPrompts()
{
    static DialogPrompts prompts;
    return prompts;
}
