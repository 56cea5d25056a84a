// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/prompts.h"

#include "library/families.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSettings>
#include <QSpinBox>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace editor {

std::optional<QString> Prompts::askChecked(QWidget* parent, const QString& title, const QString& label,
                                           const QString& initial,
                                           const std::function<QString(const QString&)>& problem)
{
    QString text = initial;
    for (;;) {
        const std::optional<QString> typed = askText(parent, title, label, text);
        if (!typed)
            return std::nullopt;
        const QString wrong = problem(*typed);
        if (wrong.isEmpty())
            return typed;
        // The same entry given back unchanged after its refusal ends the
        // question, as a cancel does.
        if (*typed == text && text != initial)
            return std::nullopt;
        inform(parent, title, wrong);
        text = *typed;
    }
}

std::optional<QString> DialogPrompts::askChecked(QWidget* parent, const QString& title, const QString& label,
                                                 const QString& initial,
                                                 const std::function<QString(const QString&)>& problem)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(title);
    dialog.setMinimumWidth(420);
    auto* edit = new QLineEdit(initial, &dialog);
    edit->setObjectName(QStringLiteral("Respuesta"));
    edit->setAccessibleName(label);
    auto* reason = new QLabel(&dialog);
    reason->setObjectName(QStringLiteral("Motivo"));
    reason->setWordWrap(true);
    reason->setTextFormat(Qt::PlainText);
    reason->setStyleSheet(QStringLiteral("color: #a00000"));
    reason->hide();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Aceptar"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* question = new QLabel(label, &dialog);
    question->setBuddy(edit);
    layout->addWidget(question);
    layout->addWidget(edit);
    layout->addWidget(reason);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        const QString wrong = problem(edit->text());
        if (wrong.isEmpty()) {
            dialog.accept();
            return;
        }
        // The box stays open with what was typed, and says why.
        reason->setText(wrong);
        reason->show();
        dialog.adjustSize();
        edit->setFocus();
    });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(edit, &QLineEdit::textEdited, reason, &QLabel::hide);
    edit->selectAll();
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return edit->text();
}

QString DialogPrompts::openFile(QWidget* parent, const QString& title, const QString& filter)
{
    QSettings settings;
    QString folder = settings.value(QStringLiteral("editor/ultimaCarpeta")).toString();
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString path = QFileDialog::getOpenFileName(parent, title, folder, filter);
    if (!path.isEmpty())
        settings.setValue(QStringLiteral("editor/ultimaCarpeta"), QFileInfo(path).absolutePath());
    return path;
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
    family->addItem(QStringLiteral("todas"), QStringLiteral("todas"));
    for (const families::FamilyInfo& f : families::table())
        family->addItem(f.name, f.code);
    QSettings settings;
    const int last = family->findData(settings.value(QStringLiteral("editor/familia")).toString());
    if (last >= 0)
        family->setCurrentIndex(last);
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

    FaultRequest request{family->currentData().toString(), count->value(), QRandomGenerator::global()->generate()};
    const auto refresh = [&] {
        request.family = family->currentData().toString();
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
    settings.setValue(QStringLiteral("editor/familia"), request.family);
    return request;
}

}  // namespace editor
