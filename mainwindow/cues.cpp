// The one way the main window plays its sound cues.

#include "library/catalogue.h"
#include "mainwindow/form1.h"
#include "presentation/cueplayer.h"

void Form1::PlayCue(const QString& name)
{
    const QString path = catalogue::resolve(AppFolder, QStringLiteral("sonidos/") + name + QStringLiteral(".wav"));
    qCInfo(lcCue).noquote() << "cue" << name;
    if (services_.cues)
        services_.cues->play(path);
}
