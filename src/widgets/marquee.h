#pragma once

#include "platform/controls.h"
#include "platform/picture.h"

#include <QFont>
#include <QImage>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>

namespace widgets {

// One queued message of the marquee.
struct MarqueeItem {
    double serial = 0; // the number Add returned for it
    QString text;      // trimmed of leading and trailing spaces
    int32_t foreColor = 0;
    int32_t shadeColor = 0;
};

// moveWord: a one-line marquee. Messages handed to Add wait in a ring and
// scroll, one after another, from the right edge to the left, 6 pixels a
// step on a timer, over a see-through background: pure red is see-through,
// so only the text (and a background picture's other pixels) shows.
class MoveWord : public QWidget {
    Q_OBJECT
public:
    static constexpr int kSlots = 200;
    static constexpr int32_t kDefaultFore = 0xFFFF80;  // light cyan
    static constexpr int32_t kDefaultShade = 0x80FFFF; // light yellow

    explicit MoveWord(QWidget* parent = nullptr, const QString& name = QString());

    // Text size in points, kept within 8 to 24.
    void SetFontSize(int16_t points);
    int16_t FontSize() const;
    // Step interval in milliseconds, taken when the first Add starts the
    // step timer.
    void Setspeed(int16_t ms) { speed_ = ms; }
    // Draws every message with a shadow (it does not make the font bold).
    void SetFontBold(bool shadow) { shadow_ = shadow; }
    // Stores the picture and, when there is one, makes it the mask and sizes
    // the marquee to it; the next step paints it.
    const platform::Picture& BackPic() const { return back_; }
    void SetBackPic(const platform::Picture& picture);

    // Draws one step of a text at the present scroll position.
    void PrintText(const QString& text, int32_t fColor, int32_t rColor);
    // Queues a message and returns its serial number (1, 2, ...). A text
    // that is blank after trimming is not queued, nor is any message while
    // the ring is full (199 slots taken): both return 0. Pri above 0 shows
    // the message right after the one on display.
    double Add(const QString& text, int32_t foreColor = kDefaultFore, int32_t shadeColor = kDefaultShade,
               uint8_t Pri = 0);

    // Raised with a message's serial once it has scrolled out completely.
    std::function<void(double key)> EndShow;

    // One step of the timer; the timer calls it, and so may a test.
    void StepTimer_Timer();

    // State, for those who look: the step timer, the ring, the message on
    // display and how far it has gone, the surface as last drawn.
    platform::Timer* StepTimer;
    int Waiting() const { return (tail_ - head_ + kSlots) % kSlots; }
    const MarqueeItem& Current() const { return current_; }
    int32_t Count() const { return count_; }
    int32_t Steps() const { return steps_; }
    const QImage& SurfaceImage() const { return surface_; }
    bool ShowsAt(QPoint at) const;

protected:
    // The width of a text in the surface font, in pixels.
    virtual double TextWidth(const QString& text) const;

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FitSurface();
    void Show();

    std::array<MarqueeItem, kSlots> queue_{};
    int16_t tail_ = 0;
    int16_t head_ = 0;
    MarqueeItem current_;
    int32_t count_ = 0;
    int32_t steps_ = 0;
    int16_t stepSize_ = 6;
    double serial_ = 0;
    int16_t speed_ = 100;
    bool shadow_ = false;
    bool timerStarted_ = false;
    platform::Picture back_;
    QFont font_;
    QImage surface_;
    QImage mask_;
    QImage shown_;
};

} // namespace widgets
