// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QPrinter;
class QWidget;

// Every question the programs ask and every message they give, in one place:
// the windows hold a Prompts and never open a dialog themselves, so that the
// tests answer in their stead and see what a person would have been told.
// `parent` is the window the dialog belongs to; `title` its caption.
//
// The base is virtual in the classes that extend or implement it, so that an
// interface with more questions (the editor's) and an implementation of these
// (the real dialogs, or a test's answers) combine into one object.
class Prompts {
public:
    // The icon beside a message.
    enum class Icon { None, Information, Warning };

    virtual ~Prompts() = default;

    // A message with one OK button; returns when it is closed.
    virtual void inform(QWidget* parent, const QString& title, const QString& text, Icon icon = Icon::Information) = 0;
    // A message that blocks nothing: the person goes on working and closes
    // it when she likes.
    virtual void notify(QWidget* parent, const QString& title, const QString& text) = 0;
    // Yes or no.
    virtual bool confirm(QWidget* parent, const QString& title, const QString& text) = 0;
    // A line of text, `initial` offered; nothing when cancelled.
    virtual std::optional<QString> askText(QWidget* parent, const QString& title, const QString& label,
                                           const QString& initial) = 0;
    // An existing file to read; empty when none was chosen.
    virtual QString openFile(QWidget* parent, const QString& title, const QString& filter) = 0;
    // A file to write, `suggested` (a file name) offered in the home folder;
    // empty when cancelled.
    virtual QString saveFile(QWidget* parent, const QString& title, const QString& suggested,
                             const QString& filter) = 0;
    // An existing folder, starting at `start`; empty when cancelled.
    virtual QString chooseFolder(QWidget* parent, const QString& title, const QString& start) = 0;
    // Sets up `printer` as the person chooses; false when cancelled. An empty
    // title keeps the dialog's own.
    virtual bool choosePrinter(QWidget* parent, const QString& title, QPrinter& printer) = 0;
    // The pupil's name: `question` over a line to type it in and, when the
    // class has a list, the list's `names` to choose from. Empty when
    // cancelled.
    virtual QString askName(QWidget* parent, const QString& title, const QString& question,
                            const QStringList& names) = 0;
};

// The real dialogs.
class DialogPrompts : public virtual Prompts {
public:
    void inform(QWidget* parent, const QString& title, const QString& text, Icon icon = Icon::Information) override;
    // A modeless box, gone once closed.
    void notify(QWidget* parent, const QString& title, const QString& text) override;
    bool confirm(QWidget* parent, const QString& title, const QString& text) override;
    std::optional<QString> askText(QWidget* parent, const QString& title, const QString& label,
                                   const QString& initial) override;
    // Starts in the person's documents.
    QString openFile(QWidget* parent, const QString& title, const QString& filter) override;
    QString saveFile(QWidget* parent, const QString& title, const QString& suggested, const QString& filter) override;
    QString chooseFolder(QWidget* parent, const QString& title, const QString& start) override;
    bool choosePrinter(QWidget* parent, const QString& title, QPrinter& printer) override;
    // Its object name is "NameQuestion". Typing any part of a listed name,
    // without minding capitals or accents, leaves only the names that hold
    // it, the first of them chosen; the arrows choose among them. Nothing is
    // chosen beforehand, so that Enter alone does not take a name.
    QString askName(QWidget* parent, const QString& title, const QString& question,
                    const QStringList& names) override;
};

// The real dialogs, for a window given no other prompts.
Prompts& dialogPrompts();
