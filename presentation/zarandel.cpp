#include "presentation/zarandel.h"

#include <QFileInfo>
#include <QImageReader>
#include <QLoggingCategory>
#include <QMovie>
#include <QTimer>

#include <algorithm>

Q_LOGGING_CATEGORY(lcGif, "miravellon.gif")

namespace {

// Every frame stays decoded while the animation plays. The program's own
// animations take a few hundred kilobytes; a file of a few kilobytes can claim
// hundreds of frames thousands of pixels wide, and is not played.
constexpr qint64 MaxAnimationBytes = 64 * 1024 * 1024;

// Why the file cannot be played, or nothing when it may be tried.
QString refusal(const QString& path)
{
    // A pipe or a device would keep the reader waiting for ever.
    if (!QFileInfo(path).isFile())
        return QStringLiteral("not an ordinary file");
    QImageReader reader(path);
    const QSize size = reader.size();
    if (!size.isValid())
        return {};
    const qint64 bytes = qint64(size.width()) * size.height() * 4 * std::max(1, reader.imageCount());
    if (bytes > MaxAnimationBytes)
        return QStringLiteral("%1 by %2 pixels, %3 bytes decoded").arg(size.width()).arg(size.height()).arg(bytes);
    return {};
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
