// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QHash>
#include <QLoggingCategory>
#include <QString>

Q_DECLARE_LOGGING_CATEGORY(lcCue)

class QSoundEffect;

// Plays the program's sound cues: WAV files, asynchronously. A new cue cuts
// off the one playing; a missing or unreadable file gives the platform's beep.
class CuePlayer {
public:
    virtual ~CuePlayer() = default;
    virtual void play(const QString& path) = 0;
};

// The player used by the program: one preloaded sound effect per file.
class SoundEffectCuePlayer : public CuePlayer {
public:
    SoundEffectCuePlayer();
    ~SoundEffectCuePlayer() override;
    void play(const QString& path) override;

private:
    QSoundEffect* effectFor(const QString& path);
    QHash<QString, QSoundEffect*> effects_;
    QSoundEffect* playing_ = nullptr;
};

// True when the file is a cue the program plays: the rules of
// content::checkCue() (library/contentrules.h).
bool looksLikeWav(const QString& path);
