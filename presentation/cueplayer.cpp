#include "presentation/cueplayer.h"

#include <QApplication>
#include <QFile>
#include <QLoggingCategory>
#include <QSoundEffect>
#include <QUrl>

Q_LOGGING_CATEGORY(lcCue, "miravellon.cue")

bool looksLikeWav(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(12);
    return head.size() == 12 && head.startsWith("RIFF") && head.mid(8, 4) == "WAVE";
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
