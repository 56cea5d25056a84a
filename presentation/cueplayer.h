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

// The largest cue file played: the program's cues are short, and a cue is
// held in memory whole. 8 MB is some 45 seconds of CD-quality sound.
inline constexpr qint64 MaxCueBytes = 8 * 1024 * 1024;

// True when the file is an ordinary file of at most MaxCueBytes that starts
// with a RIFF/WAVE header and holds the whole of its sound data.
bool looksLikeWav(const QString& path);
