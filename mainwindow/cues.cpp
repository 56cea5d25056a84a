// SPDX-License-Identifier: GPL-3.0-or-later
// The one way the main window plays its sound cues.

#include "library/contentrules.h"
#include "mainwindow/form1.h"
#include "presentation/cueplayer.h"

void Form1::PlayCue(const QString& name)
{
    const QString path = content::cuePath(AppFolder, name);
    qCInfo(lcCue).noquote() << "cue" << name;
    if (services_.cues)
        services_.cues->play(path);
}
