// SPDX-License-Identifier: GPL-3.0-or-later

#include "presentation/zarandel.h"

#include "library/contentrules.h"

#include <QLoggingCategory>
#include <QMovie>
#include <QTimer>

#include <algorithm>

Q_LOGGING_CATEGORY(lcGif, "miravellon.gif")

namespace {

// Why the file cannot be played, or nothing when it may be tried.
QString refusal(const QString& path)
{
    const content::ImageCheck check = content::animationRefusal(path);
    switch (check.status) {
    case content::ImageStatus::Ok: return {};
    case content::ImageStatus::Missing: return QStringLiteral("not an ordinary file");
    default:
        return QStringLiteral("%1 by %2 pixels, %3 bytes decoded")
            .arg(check.size.width())
            .arg(check.size.height())
            .arg(check.value);
    }
}

}  // namespace

Zarandel::Zarandel(QWidget* parent)
    : QLabel(parent)
{
    setAlignment(Qt::AlignCenter);
}

void Zarandel::setGifFile(const QString& path)
{
    path_ = path;
    ended_ = false;
    ++generation_;
    if (movie_) {
        movie_->stop();
        setMovie(nullptr);
        movie_->deleteLater();
    }
    clear();

    if (const QString why = refusal(path); !why.isEmpty()) {
        qCInfo(lcGif) << "cannot play" << path << why;
        finishSoon();
        return;
    }
    auto* movie = new QMovie(path, QByteArray(), this);
    movie->setCacheMode(QMovie::CacheAll);
    if (!movie->isValid()) {
        qCInfo(lcGif) << "cannot play" << path;
        delete movie;
        finishSoon();
        return;
    }
    movie_ = movie;
    framesThisPass_ = 0;
    connect(movie, &QMovie::frameChanged, this, &Zarandel::onFrameChanged);
    connect(movie, &QMovie::finished, this, [this, movie] {
        if (movie != movie_)
            return;
        if (playOnce_) {
            finishSoon();
        } else if (framesThisPass_ > 1) {
            // A file made to play once still loops here. A file whose frames
            // cannot be read ends as it starts, and a still picture has
            // nothing to repeat: both keep what they show.
            framesThisPass_ = 0;
            movie->start();
        }
    });
    setMovie(movie);
    movie->start();
    if (!isVisible())
        movie->setPaused(true);
}

bool Zarandel::isPlaying() const
{
    return movie_ && movie_->state() == QMovie::Running;
}

void Zarandel::finishSoon()
{
    if (!playOnce_)
        return;
    // Never from inside setGifFile(): whoever set the file may show the
    // control right after, and the end must come after that.
    const int generation = generation_;
    QTimer::singleShot(0, this, [this, generation] {
        if (generation == generation_)
            finishOnce();
    });
}

void Zarandel::onFrameChanged(int frame)
{
    ++framesThisPass_;
    if (!playOnce_ || !movie_ || ended_)
        return;
    const int count = movie_->frameCount();
    if (count > 0 && frame == count - 1) {
        // The last frame is shown for its own delay before the end is told.
        const int generation = generation_;
        QTimer::singleShot(std::max(0, movie_->nextFrameDelay()), this, [this, generation] {
            if (generation == generation_)
                finishOnce();
        });
    }
}

void Zarandel::finishOnce()
{
    if (ended_)
        return;
    ended_ = true;
    if (movie_)
        movie_->setPaused(true);
    emit gifEnd(0);
}

void Zarandel::showEvent(QShowEvent* event)
{
    QLabel::showEvent(event);
    if (movie_ && movie_->state() == QMovie::Paused && !ended_)
        movie_->setPaused(false);
}

void Zarandel::hideEvent(QHideEvent* event)
{
    QLabel::hideEvent(event);
    if (movie_ && movie_->state() == QMovie::Running)
        movie_->setPaused(true);
}
