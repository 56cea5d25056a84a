// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLabel>
#include <QMovie>
#include <QPointer>

// Plays an animated GIF file. A looping control repeats its animation for as
// long as it is shown; a play-once control plays it to its end and then
// raises gifEnd(). A missing or unreadable file, or one too large to keep in
// memory, shows nothing and never fails.
class Zarandel : public QLabel {
    Q_OBJECT

public:
    explicit Zarandel(QWidget* parent = nullptr);

    // Loads the file and plays it from its first frame.
    void setGifFile(const QString& path);
    QString gifFile() const { return path_; }

    void setPlayOnce(bool once) { playOnce_ = once; }
    bool playOnce() const { return playOnce_; }

    bool isPlaying() const;
    QMovie* movie() const { return movie_; }

signals:
    void gifEnd(int unused);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void onFrameChanged(int frame);
    // A play-once control ends its animation, as soon as control returns to
    // the event loop.
    void finishSoon();
    void finishOnce();

    QString path_;
    QPointer<QMovie> movie_;
    bool playOnce_ = false;
    bool ended_ = false;
    int generation_ = 0;
    int framesThisPass_ = 0;  // frames shown since the movie last started
};
