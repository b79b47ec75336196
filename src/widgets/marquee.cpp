#include "widgets/marquee.h"

#include "widgets/see_through.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace widgets {

namespace {

constexpr int32_t kPureRed = 0x0000FF; // background and see-through colour

// Text as the system's plain text drawing lays it out in a rectangle: from
// the top left, no wrapping, line breaks kept, clipped to the rectangle, an
// ampersand underlining the character after it.
constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic;

} // namespace

MoveWord::MoveWord(QWidget* parent, const QString& name)
    : QWidget(parent), StepTimer(new platform::Timer(this, QStringLiteral("StepTimer"))),
      font_(QStringLiteral("宋体"))
{
    setObjectName(name);
    font_.setPointSizeF(16);
    // Crisp text: smoothed edges would blend with the see-through colour.
    font_.setStyleStrategy(QFont::NoAntialias);
    connect(StepTimer, &QTimer::timeout, this, [this] { StepTimer_Timer(); });
    FitSurface();
    Show();
}

void MoveWord::SetFontSize(int16_t points) { font_.setPointSizeF(std::clamp<int16_t>(points, 8, 24)); }

int16_t MoveWord::FontSize() const { return static_cast<int16_t>(std::nearbyint(font_.pointSizeF())); }

void MoveWord::SetBackPic(const platform::Picture& picture)
{
    back_ = picture;
    if (picture.isNull())
        return;
    mask_ = picture.image;
    resize(picture.image.size());
    FitSurface();
    Show();
}

double MoveWord::Add(const QString& text, int32_t foreColor, int32_t shadeColor, uint8_t Pri)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return 0;
    // Everything here runs on the one GUI thread, so a step never runs while
    // the ring is written. A full ring refuses: one more would make the head
    // meet the tail, and the ring would read as empty.
    if (Waiting() >= kSlots - 1)
        return 0;
    serial_ += 1;
    int16_t slot;
    if (Pri > 0 && count_ > 0) {
        // The message on display lives in current_: its slot takes the new
        // one, which the end of the present message then brings up next.
        slot = head_;
        head_ = static_cast<int16_t>((head_ + kSlots - 1) % kSlots);
    } else {
        slot = tail_;
        tail_ = static_cast<int16_t>((tail_ + 1) % kSlots);
    }
    queue_[static_cast<std::size_t>(slot)] = MarqueeItem{serial_, trimmed, foreColor, shadeColor};
    // Once started the timer runs for good; it never starts without a
    // positive interval, which would step without pause.
    if (!timerStarted_ && speed_ > 0) {
        StepTimer->SetInterval(speed_);
        StepTimer->SetEnabled(true);
        timerStarted_ = true;
        count_ = 0;
        steps_ = 0;
    }
    return serial_;
}

void MoveWord::StepTimer_Timer()
{
    if (count_ == 0) {
        if (head_ == tail_)
            return; // idle: the timer keeps running
        current_ = queue_[static_cast<std::size_t>(head_)];
        const double w = TextWidth(current_.text + QStringLiteral("  "));
        steps_ = static_cast<int32_t>(std::lrint(w + width())) / stepSize_ + 1;
        PrintText(current_.text, current_.foreColor, current_.shadeColor);
        ++count_;
    } else if (count_ > steps_ && steps_ > 0) {
        const double ended = current_.serial;
        if (EndShow)
            EndShow(ended);
        head_ = static_cast<int16_t>((head_ + 1) % kSlots);
        count_ = 0; // the next step takes the next message
    } else {
        PrintText(current_.text, current_.foreColor, current_.shadeColor);
        ++count_;
    }
}

void MoveWord::PrintText(const QString& text, int32_t fColor, int32_t rColor)
{
    FitSurface();
    surface_.fill(QColor(255, 0, 0));
    if (!surface_.isNull()) {
        QPainter p(&surface_);
        if (!back_.isNull())
            p.drawImage(QRect(QPoint(0, 0), surface_.size()), back_.image);
        if (!text.isEmpty()) {
            const double x = std::lrint(surface_.width() - static_cast<double>(stepSize_) * count_);
            const double right = surface_.width();
            const double bottom = surface_.height();
            p.setFont(font_);
            if (shadow_) {
                p.setPen(platform::ColorFromBgr(rColor));
                p.drawText(QRectF(QPointF(x, 2), QPointF(right, bottom)), kTextFlags, text);
            }
            p.setPen(platform::ColorFromBgr(fColor));
            p.drawText(QRectF(QPointF(x - 1, 1), QPointF(right, bottom)), kTextFlags, text);
        }
    }
    mask_ = surface_;
    Show();
}

double MoveWord::TextWidth(const QString& text) const
{
    const QFontMetricsF metrics(font_, &surface_);
    return metrics.size(Qt::TextShowMnemonic, text).width();
}

void MoveWord::Show()
{
    shown_ = SeeThrough(surface_, mask_, kPureRed);
    ShapeWidget(*this, OpaqueRegion(shown_));
    update();
}

bool MoveWord::ShowsAt(QPoint at) const { return shown_.valid(at) && qAlpha(shown_.pixel(at)) != 0; }

void MoveWord::paintEvent(QPaintEvent*)
{
    if (shown_.isNull())
        return;
    QPainter p(this);
    p.drawImage(QPoint(0, 0), shown_);
}

void MoveWord::resizeEvent(QResizeEvent*)
{
    FitSurface();
    Show();
}

// The surface follows the marquee's size: what it held stays at the top
// left, new parts are cleared.
void MoveWord::FitSurface()
{
    if (!surface_.isNull() && surface_.size() == size())
        return;
    const QImage before = surface_;
    surface_ = QImage(size(), QImage::Format_RGB32);
    surface_.fill(QColor(255, 0, 0));
    if (!before.isNull() && !surface_.isNull()) {
        QPainter p(&surface_);
        p.drawImage(QPoint(0, 0), before);
    }
}

} // namespace widgets
