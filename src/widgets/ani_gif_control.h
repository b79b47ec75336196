#pragma once

#include "widgets/gif_frames.h"

#include <QByteArray>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <cstdint>

namespace platform {
class QtHttpGet;
}

namespace widgets {

// A picture that holds a GIF: the GIF file and its first frame's pixels.
struct GifPicture {
    QByteArray gif;
    QImage image;
    bool isNull() const { return gif.isEmpty(); }
};

// A windowed control that plays an animated GIF with our own GIF engine.
// It reads the GIF, decodes every frame to colour indices once, and plays
// the frames on its own timer, composing them by their disposal and
// transparency and scaling them by `Stretch`. Everything runs on the GUI
// thread.
class AniGifControl : public QWidget {
    Q_OBJECT
public:
    // Largest body a remote load takes.
    static constexpr qint64 kMaxRemoteBytes = 8 * 1024 * 1024;

    explicit AniGifControl(QWidget* parent = nullptr, const QString& name = QString());
    ~AniGifControl() override;

    // The frame on show as a one-frame GIF picture; null while none is
    // shown. Setting a picture loads the GIF it holds; a null picture
    // empties the control.
    GifPicture AnimatedGIF() const;
    void SetAnimatedGIF(const GifPicture& aGif);

    bool Enabled() const { return isEnabled(); }
    void SetEnabled(bool Enable);
    // Frames of the GIF while a frame is shown, else 0.
    int32_t FrameCount() const;
    // The canvas: the union of the frames, 0 before any load.
    int32_t ActualWidth() const { return canvasWidth_; }
    int32_t ActualHeight() const { return canvasHeight_; }
    // 0 unscaled and cut to the canvas, 1 scaled by one factor to fit, 2
    // filling the control, 3 as 1 but never enlarged, 4 unscaled at the
    // canvas size. Other values are ignored.
    int32_t Stretch() const { return stretch_; }
    void SetStretch(int32_t newScale);
    // Shortest time a frame stays, in ms, 10 to 32700.
    int16_t MinFrameDelay() const { return minFrameDelay_; }
    void SetMinFrameDelay(int32_t Delay);
    // Passes to play; 0 plays without end. A load sets it to the GIF's own
    // loop count.
    int32_t loops() const { return loops_; }
    void SetLoops(int32_t Count);
    // -1 while no frame is shown, 0 when playing without end.
    int32_t LoopsRemaining() const;
    // Bit 0 mirrors left to right, bit 1 turns upside down.
    int32_t Mirrored() const { return mirror_; }
    void SetMirrored(int32_t MirrorStyle);
    // 0 stopped, 1 playing, 2 paused. Setting: 0 stops and empties, 1
    // plays, 2 pauses, 3 steps one frame, 4 plays from the first frame.
    int32_t Action() const { return action_; }
    void SetAction(int32_t value);
    // 0 decodes every frame before a load returns and plays; 1 shows the
    // first frame at once and plays once the rest is decoded; 2 and 3
    // decode the rest but wait for Action 1 or the control being shown.
    int32_t DelayAnimation() const { return delayMode_; }
    void SetDelayAnimation(int32_t Mode);
    QPixmap MouseIcon() const { return mouseIcon_; }
    void SetMouseIcon(const QPixmap& MousePic);
    int16_t MousePointer() const { return mousePointer_; }
    void SetMousePointer(int16_t Pointer);

    // Loads a GIF file; false (and an empty control) when it cannot be read
    // or holds no GIF.
    bool LoadAnimatedGIF_File(const QString& FileName);
    // Starts fetching a GIF over http or https; RemoteLoadComplete or
    // RemoteLoadFailure follows.
    void LoadAnimatedGIF_Remote(const QString& RemotePath);
    // Loads a GIF from its bytes; false (and an empty control) when they
    // hold no GIF.
    bool LoadAnimatedGIF_Array(const QByteArray& Bytes);
    void refresh() { update(); }

    // The frame on show counted from 0, -1 while none is shown.
    int CurrentFrame() const { return current_ - 1; }
    // Complete passes through the frames since the last load.
    int LoopsPlayed() const { return passes_; }
    void SetVisible(bool visible) { setVisible(visible); }
    bool Visible() const { return !isHidden(); }
    // 0 brings the control in front of its siblings, 1 behind them.
    void ZOrder(int position = 0);

signals:
    void Click();
    // Buttons 1 left, 2 right, 4 middle; shift 1, ctrl 2, alt 4; X and Y in
    // the control's pixels.
    void MouseDown(int16_t Button, int16_t Shift, float X, float Y);
    void MouseUp(int16_t Button, int16_t Shift, float X, float Y);
    void MouseMove(int16_t Button, int16_t Shift, float X, float Y);
    void LoopsEnded();
    // A download has come and starts with a GIF signature; its logical
    // screen size. Setting Cancel drops it.
    void RemoteLoadComplete(float gifWidth, float gifHeight, bool& Cancel);
    void RemoteLoadFailure();
    // Painted while the last frame is on show.
    void reportOver(int32_t curFrame);
    // A property took a new value.
    void PropertyChanged(const QString& name);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    int LoadGifBuffer();
    void ClearGif();
    void FinishBuild();
    void CompleteBuild();
    bool StartStopTimer(int mode);
    void OnTimer();
    void OnFrameTimer();
    void OnDeferredBuild();
    void UserControl_Resize();
    void CalcStretch(int& width, int& height, float& scaleX, float& scaleY) const;
    void LayoutAfterLoad();
    void OnRemoteBody(const QByteArray& body);
    int FrameDelay(int frame) const;

    GifAnimation gif_;
    QByteArray bytes_; // the GIF not yet decoded; dropped once every frame is
    QTimer timer_;
    int timerMode_ = 0; // 1 the frame timer, 2 the deferred build
    platform::QtHttpGet* remote_ = nullptr; // a child of the control

    int16_t minFrameDelay_ = 50;
    int32_t loopsPlayed_ = 0; // passes since the last start, stop or restart
    int32_t action_ = 0;
    int32_t stretch_ = 1;
    int32_t current_ = 0; // 1 to the frame count; 0: nothing shown
    int32_t delayMode_ = 1;
    int32_t mirror_ = 0;
    int32_t canvasWidth_ = 0;
    int32_t canvasHeight_ = 0;
    int32_t loops_ = 0;
    float scaleX_ = 0;
    float scaleY_ = 0;
    bool buildPending_ = false;
    bool inLayout_ = false;
    int passes_ = 0;
    bool pressed_ = false;
    QPixmap mouseIcon_;
    int16_t mousePointer_ = 0;
};

} // namespace widgets
