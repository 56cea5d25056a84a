#include "presentation/zarandel.h"

#include <QLoggingCategory>
#include <QMovie>
#include <QTimer>

Q_LOGGING_CATEGORY(lcGif, "miravellon.gif")

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

    auto* movie = new QMovie(path, QByteArray(), this);
    movie->setCacheMode(QMovie::CacheAll);
    if (!movie->isValid()) {
        qCInfo(lcGif) << "cannot play" << path;
        delete movie;
        if (playOnce_) {
            // Nothing to play: the animation is over at once.
            const int generation = generation_;
            QTimer::singleShot(0, this, [this, generation] {
                if (generation == generation_)
                    finishOnce();
            });
        }
        return;
    }
    movie_ = movie;
    connect(movie, &QMovie::frameChanged, this, &Zarandel::onFrameChanged);
    connect(movie, &QMovie::finished, this, [this, movie] {
        if (movie != movie_)
            return;
        if (playOnce_)
            finishOnce();
        else
            movie->start();  // a file made to play once still loops here
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

void Zarandel::onFrameChanged(int frame)
{
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
