// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The program as it starts: the application's settings, then the splash,
// whose click opens the main window on a content folder. main() and the
// start-up benchmark both start it this way, so that what is measured is what
// the pupil gets.

#include "mainwindow/form1.h"
#include "presentation/cueplayer.h"
#include "windows/form2.h"
#include "windows/programstate.h"

#include <QString>

#include <memory>

class Prompts;
class QTranslator;

// Installs Qt's Spanish translation; null when the system has none.
QTranslator* loadQtTranslations();

// Qt's Spanish translation, name, desktop entry, style, resources; the program ends with its main
// window rather than with its last window (the splash closes first).
void setUpApplication();

class Program {
public:
    // The main window asks and tells through `prompts`; through the real
    // dialogs when null.
    explicit Program(const QString& appFolder, Prompts* prompts = nullptr);

    // Starts the main window on item `item` of the exercise at `folder`, for
    // a teacher trying it: no name asked, no results written.
    void tryText(const QString& folder, int item)
    {
        trialFolder_ = folder;
        trialItem_ = item;
    }

    Form2& splash() { return splash_; }
    // Null until the splash has been clicked.
    Form1* mainWindow() const { return form1_.get(); }
    // Closes the main window and lets it go, before the application object.
    void closeMainWindow() { form1_.reset(); }

private:
    void showMainWindow();

    QString appFolder_;
    Prompts* prompts_;
    QString trialFolder_;
    int trialItem_ = 0;
    ProgramState state_;
    SoundEffectCuePlayer cues_;
    std::unique_ptr<Form1> form1_;
    Form2 splash_;
};
