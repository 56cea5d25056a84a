// SPDX-License-Identifier: GPL-3.0-or-later

#include "presentation/cueplayer.h"

#include "library/contentrules.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QSoundEffect>
#include <QUrl>

Q_LOGGING_CATEGORY(lcCue, "miravellon.cue")

bool looksLikeWav(const QString& path)
{
    const content::CueCheck check = content::checkCue(path);
    if (check.status != content::CueStatus::Ok)
        qCInfo(lcCue) << "refusing cue" << path << "status" << int(check.status);
    return check.status == content::CueStatus::Ok;
}

SoundEffectCuePlayer::SoundEffectCuePlayer() = default;

SoundEffectCuePlayer::~SoundEffectCuePlayer()
{
    qDeleteAll(effects_);
}

QSoundEffect* SoundEffectCuePlayer::effectFor(const QString& path)
{
    auto it = effects_.find(path);
    if (it != effects_.end())
        return *it;
    if (!looksLikeWav(path))
        return nullptr;
    auto* effect = new QSoundEffect;
    effect->setSource(QUrl::fromLocalFile(path));
    effects_.insert(path, effect);
    return effect;
}

void SoundEffectCuePlayer::play(const QString& path)
{
    if (playing_)
        playing_->stop();
    playing_ = nullptr;
    QSoundEffect* effect = effectFor(path);
    if (!effect || effect->status() == QSoundEffect::Error) {
        qCInfo(lcCue) << "beep instead of" << path;
        QApplication::beep();
        return;
    }
    playing_ = effect;
    effect->play();
}
