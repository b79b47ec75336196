#include "widgets/ani_gif_control.h"

#include <QPainter>

namespace widgets {

AniGifControl::AniGifControl(QWidget* parent, const QString& name) : QWidget(parent)
{
    setObjectName(name);
    setAttribute(Qt::WA_TranslucentBackground);
}

AniGifControl::~AniGifControl()
{
    if (movie_)
        movie_->disconnect(this);
}

void AniGifControl::LoadAnimatedGIF_Array(const QByteArray& bytes)
{
    if (movie_) {
        movie_->disconnect(this);
        movie_->stop();
    }
    movie_.reset();
    buffer_.reset();
    playing_ = false;
    loopsPlayed_ = 0;
    lastFrame_ = -1;
    shown_ = QPixmap();
    loopsToPlay_ = loops;

    bytes_ = bytes;
    buffer_ = std::make_unique<QBuffer>(&bytes_);
    buffer_->open(QIODevice::ReadOnly);
    movie_ = std::make_unique<QMovie>(buffer_.get(), QByteArray("gif"));
    if (!movie_->isValid()) {
        movie_.reset();
        buffer_.reset();
        update();
        return;
    }
    connect(movie_.get(), &QMovie::frameChanged, this, &AniGifControl::OnFrameChanged);
    connect(movie_.get(), &QMovie::finished, this, [this] {
        playing_ = false;
        update();
    });
    playing_ = true;
    movie_->start();
    if (movie_->state() != QMovie::Running)
        playing_ = false;
}

void AniGifControl::OnFrameChanged(int frame)
{
    if (!playing_)
        return;
    // Going back to an earlier frame means one pass has ended; after the
    // last pass the control keeps showing the frame it ended on.
    if (lastFrame_ >= 0 && frame <= lastFrame_) {
        ++loopsPlayed_;
        if (loopsToPlay_ > 0 && loopsPlayed_ >= loopsToPlay_) {
            Stop();
            return;
        }
    }
    lastFrame_ = frame;
    shown_ = movie_->currentPixmap();
    update();
}

void AniGifControl::Stop()
{
    playing_ = false;
    if (movie_)
        movie_->setPaused(true);
}

int AniGifControl::CurrentFrame() const { return movie_ ? lastFrame_ : -1; }

void AniGifControl::ZOrder(int position)
{
    if (position == 0)
        raise();
    else
        lower();
}

void AniGifControl::paintEvent(QPaintEvent*)
{
    if (!movie_ || shown_.isNull())
        return;
    QPainter p(this);
    p.drawPixmap(rect(), shown_);
}

} // namespace widgets
