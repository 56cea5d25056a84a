#include "editor/prompts.h"

#include "library/families.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSpinBox>
#include <QVBoxLayout>

namespace editor {

bool DialogPrompts::confirm(QWidget* parent, const QString& title, const QString& text)
{
    return QMessageBox::question(parent, title, text) == QMessageBox::Yes;
}

void DialogPrompts::inform(QWidget* parent, const QString& title, const QString& text)
{
    QMessageBox::information(parent, title, text);
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
    return QFileDialog::getOpenFileName(parent, title, QString(), filter);
}

Prompts::Unsaved DialogPrompts::askUnsaved(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Cambios sin guardar"), text, QMessageBox::NoButton, parent);
    QPushButton* save = box.addButton(QStringLiteral("Guardar"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(QStringLiteral("Descartar"), QMessageBox::DestructiveRole);
    box.addButton(QStringLiteral("Cancelar"), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.exec();
    if (box.clickedButton() == save)
        return Unsaved::Save;
    if (box.clickedButton() == discard)
        return Unsaved::Discard;
    return Unsaved::Cancel;
}

std::optional<FaultRequest> DialogPrompts::askFaults(QWidget* parent,
                                                     const std::function<QString(const FaultRequest&)>& preview)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("PonerFaltas"));
    dialog.setWindowTitle(QStringLiteral("Poner faltas"));
    auto* family = new QComboBox(&dialog);
    family->setObjectName(QStringLiteral("Familia"));
    family->addItem(QStringLiteral("todas"));
    for (const QString& name : families::names())
        family->addItem(name);
    family->setAccessibleName(QStringLiteral("Familia de faltas"));
    family->setToolTip(QStringLiteral("De qué familia son las faltas que se ponen"));
    auto* count = new QSpinBox(&dialog);
    count->setObjectName(QStringLiteral("Numero"));
    count->setRange(1, 99);
    count->setValue(5);
    count->setAccessibleName(QStringLiteral("Número de faltas"));
    count->setToolTip(QStringLiteral("Cuántas faltas se ponen"));
    auto* shown = new QLabel(&dialog);
    shown->setObjectName(QStringLiteral("Eleccion"));
    shown->setAccessibleName(QStringLiteral("Faltas elegidas"));
    shown->setWordWrap(true);
    shown->setTextFormat(Qt::PlainText);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QPushButton* again = buttons->addButton(QStringLiteral("&Otras"), QDialogButtonBox::ActionRole);
    again->setToolTip(QStringLiteral("Elige otras palabras y otras faltas"));
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Poner"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Familia:"), family);
    form->addRow(QStringLiteral("&Número de faltas:"), count);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(form);
    layout->addWidget(shown);
    layout->addWidget(buttons);

    FaultRequest request{family->currentText(), count->value(), QRandomGenerator::global()->generate()};
    const auto refresh = [&] {
        request.family = family->currentText();
        request.count = count->value();
        shown->setText(preview(request));
    };
    QObject::connect(family, &QComboBox::currentIndexChanged, &dialog, refresh);
    QObject::connect(count, &QSpinBox::valueChanged, &dialog, refresh);
    QObject::connect(again, &QPushButton::clicked, &dialog, [&] {
        request.seed = QRandomGenerator::global()->generate();
        refresh();
    });
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    refresh();
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return request;
}

}  // namespace editor
