#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QMovie>
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <memory>

namespace widgets {

// A windowed control that plays an animated GIF held in memory. It plays
// the animation `loops` times (0: without end) and then stands still on the
// last frame; Action tells whether it is still playing.
class AniGifControl : public QWidget {
    Q_OBJECT
public:
    explicit AniGifControl(QWidget* parent = nullptr, const QString& name = QString());
    ~AniGifControl() override;

    // Loads a whole GIF from its bytes and starts playing it. Bytes that are
    // no picture leave the control empty and stopped.
    void LoadAnimatedGIF_Array(const QByteArray& bytes);

    // How many times the animation plays; 0 plays it without end. Counts
    // from the next load.
    int32_t loops = 0;

    // 1 while the animation plays, 0 once it has stopped.
    int Action() const { return playing_ ? 1 : 0; }

    // Stops the animation where it is.
    void Stop();

    // The frame shown now, -1 when the control is empty.
    int CurrentFrame() const;
    // Complete passes through the animation since it was loaded.
    int LoopsPlayed() const { return loopsPlayed_; }

    void SetVisible(bool visible) { setVisible(visible); }
    bool Visible() const { return !isHidden(); }
    // 0 brings the control in front of its siblings, 1 behind them.
    void ZOrder(int position = 0);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void OnFrameChanged(int frame);

    QByteArray bytes_;
    std::unique_ptr<QBuffer> buffer_;
    std::unique_ptr<QMovie> movie_;
    QPixmap shown_; // the frame on show
    bool playing_ = false;
    int loopsToPlay_ = 0;
    int loopsPlayed_ = 0;
    int lastFrame_ = -1;
};

} // namespace widgets
