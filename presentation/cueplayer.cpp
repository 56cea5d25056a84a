#include "presentation/cueplayer.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSoundEffect>
#include <QUrl>
#include <QtEndian>

Q_LOGGING_CATEGORY(lcCue, "miravellon.cue")

bool looksLikeWav(const QString& path)
{
    // A pipe would block the opening for ever, and the sound effect reads the
    // whole file into memory.
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > MaxCueBytes)
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(12);
    if (head.size() != 12 || !head.startsWith("RIFF") || head.mid(8, 4) != "WAVE")
        return false;
    // The sound data must all be there: the sound effect waits for ever for
    // the rest of a file cut short, and plays nothing. The chunks before it
    // (format, notes) are few and small.
    qint64 at = 12;
    for (int chunk = 0; chunk < 64 && at + 8 <= info.size(); ++chunk) {
        if (!file.seek(at))
            return false;
        const QByteArray header = file.read(8);
        if (header.size() != 8)
            return false;
        const qint64 size = qFromLittleEndian<quint32>(header.constData() + 4);
        if (header.startsWith("data"))
            return at + 8 + size <= info.size();
        at += 8 + size + (size & 1);
    }
    return false;
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
