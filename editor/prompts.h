// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "presentation/prompts.h"

#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace editor {

// What "Poner faltas…" asks: a family (a code of families::names()), how many
// misspellings, and the seed of the choice, so that the choice previewed is
// the one taken.
struct FaultRequest {
    QString family;
    int count = 0;
    quint32 seed = 0;
};

// Every question the editor asks: the programs' own (confirm, inform,
// askText, openFile...) and the editor's, in one object, so that tests can
// answer them all without a dialog.
class Prompts : public virtual ::Prompts {
public:
    enum class Unsaved { Save, Discard, Cancel };

    // Asks until `problem` finds nothing wrong with the answer (or the
    // question is cancelled), saying what is wrong each time and keeping
    // what was typed.
    virtual std::optional<QString> askChecked(QWidget* parent, const QString& title, const QString& label,
                                              const QString& initial,
                                              const std::function<QString(const QString&)>& problem);
    virtual Unsaved askUnsaved(QWidget* parent, const QString& text) = 0;
    // `preview` says what a request would choose (or why it cannot).
    virtual std::optional<FaultRequest> askFaults(QWidget* parent,
                                                  const std::function<QString(const FaultRequest&)>& preview) = 0;
};

// The real dialogs.
class DialogPrompts : public Prompts, public ::DialogPrompts {
public:
    std::optional<QString> askChecked(QWidget* parent, const QString& title, const QString& label,
                                      const QString& initial,
                                      const std::function<QString(const QString&)>& problem) override;
    // Starts in the folder of the last file chosen, at first in the
    // teacher's documents.
    QString openFile(QWidget* parent, const QString& title, const QString& filter) override;
    Unsaved askUnsaved(QWidget* parent, const QString& text) override;
    // Starts on the family chosen last time.
    std::optional<FaultRequest> askFaults(QWidget* parent,
                                          const std::function<QString(const FaultRequest&)>& preview) override;
};

}  // namespace editor
