#include "widgets/ani_gif_control.h"

#include "platform/http_get.h"
#include "widgets/gif_encoder.h"

#include <QFile>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <climits>
#include <cstdlib>
#include <vector>

namespace widgets {

namespace {

int16_t ButtonOf(Qt::MouseButtons buttons)
{
    int16_t b = 0;
    if (buttons & Qt::LeftButton)
        b |= 1;
    if (buttons & Qt::RightButton)
        b |= 2;
    if (buttons & Qt::MiddleButton)
        b |= 4;
    return b;
}

int16_t ShiftOf(Qt::KeyboardModifiers modifiers)
{
    int16_t s = 0;
    if (modifiers & Qt::ShiftModifier)
        s |= 1;
    if (modifiers & Qt::ControlModifier)
        s |= 2;
    if (modifiers & Qt::AltModifier)
        s |= 4;
    return s;
}

} // namespace

AniGifControl::AniGifControl(QWidget* parent, const QString& name) : QWidget(parent)
{
    setObjectName(name);
    setAttribute(Qt::WA_TranslucentBackground);
    setMouseTracking(true);
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &AniGifControl::OnTimer);
}

AniGifControl::~AniGifControl() { timer_.stop(); }

// ---- loading ----

void AniGifControl::ClearGif()
{
    StartStopTimer(0);
    gif_.Clear();
    action_ = 0;
    current_ = 0;
    loopsPlayed_ = 0;
    passes_ = 0;
    buildPending_ = false;
}

int AniGifControl::LoadGifBuffer()
{
    ClearGif();
    canvasWidth_ = canvasHeight_ = 0;
    loops_ = 0;
    scaleX_ = scaleY_ = 0;
    const int frames = bytes_.isEmpty() ? 0 : gif_.Load(bytes_);
    if (frames == 0) {
        bytes_.clear();
        ClearGif();
        canvasWidth_ = canvasHeight_ = 0;
        update();
        return 0;
    }
    canvasWidth_ = gif_.Stream().canvasWidth;
    canvasHeight_ = gif_.Stream().canvasHeight;
    loops_ = gif_.Stream().loops;
    // The first frame shows at once; the rest follow now or a moment later.
    gif_.BuildFrame(0);
    current_ = 1;
    int w = width();
    int h = height();
    CalcStretch(w, h, scaleX_, scaleY_);
    if (frames == 1 || delayMode_ == 0) {
        FinishBuild();
    } else {
        buildPending_ = true;
        StartStopTimer(2);
    }
    if (frames == 1)
        update();
    return frames;
}

// Every frame decoded: the GIF bytes go, and playing starts unless the delay
// mode waits for it.
void AniGifControl::FinishBuild()
{
    CompleteBuild();
    if ((delayMode_ & 2) == 0)
        StartStopTimer(1);
}

void AniGifControl::CompleteBuild()
{
    gif_.BuildAll();
    gif_.FreeBytes();
    bytes_.clear();
    buildPending_ = false;
}

void AniGifControl::LayoutAfterLoad()
{
    if (stretch_ == 1 || stretch_ == 3 || stretch_ == 4)
        UserControl_Resize();
}

bool AniGifControl::LoadAnimatedGIF_Array(const QByteArray& Bytes)
{
    bytes_ = Bytes;
    if (LoadGifBuffer() == 0)
        return false;
    LayoutAfterLoad();
    return true;
}

bool AniGifControl::LoadAnimatedGIF_File(const QString& FileName)
{
    bytes_.clear();
    QFile file(FileName);
    if (QFileInfo(FileName).isFile() && file.open(QIODevice::ReadOnly))
        bytes_ = file.readAll();
    if (LoadGifBuffer() == 0)
        return false;
    LayoutAfterLoad();
    return true;
}

void AniGifControl::LoadAnimatedGIF_Remote(const QString& RemotePath)
{
    if (RemotePath.isEmpty())
        return;
    const QUrl url(RemotePath);
    if (!platform::IsWebAddress(url)) {
        emit RemoteLoadFailure();
        return;
    }
    if (!remote_) {
        remote_ = new platform::QtHttpGet(kMaxRemoteBytes);
        remote_->setParent(this); // no answer reaches a control that is gone
    }
    remote_->Get(url, [this](const platform::HttpReply& reply) {
        if (reply.outcome == platform::HttpReply::Outcome::Ok)
            OnRemoteBody(reply.body);
        else
            emit RemoteLoadFailure();
    });
}

void AniGifControl::OnRemoteBody(const QByteArray& body)
{
    if (body.size() < 15) {
        emit RemoteLoadFailure();
        return;
    }
    const QByteArray signature = body.left(6).toLower();
    if (signature != "gif89a" && signature != "gif87a") {
        emit RemoteLoadFailure();
        return;
    }
    const auto byteAt = [&body](int i) { return static_cast<uint8_t>(body[i]); };
    const float w = static_cast<float>(byteAt(6) | byteAt(7) << 8);
    const float h = static_cast<float>(byteAt(8) | byteAt(9) << 8);
    bool cancel = false;
    emit RemoteLoadComplete(w, h, cancel);
    if (cancel)
        return;
    bytes_ = body;
    if (LoadGifBuffer() > 0)
        LayoutAfterLoad();
}

// ---- properties ----

GifPicture AniGifControl::AnimatedGIF() const
{
    if (current_ == 0)
        return {};
    const int i = current_ - 1;
    if (!gif_.IsBuilt(i))
        return {};
    const GifFrame& f = gif_.Frame(i);
    const std::size_t w = static_cast<std::size_t>(f.Width);
    const std::size_t h = static_cast<std::size_t>(f.Height);
    // The frame as shown: mirrored and flipped as the control shows it.
    std::vector<uint8_t> pixels(gif_.Indices(i), gif_.Indices(i) + w * h);
    if (mirror_ & 1)
        for (std::size_t y = 0; y < h; ++y)
            std::reverse(pixels.begin() + static_cast<std::ptrdiff_t>(y * w),
                         pixels.begin() + static_cast<std::ptrdiff_t>((y + 1) * w));
    if (mirror_ & 2)
        for (std::size_t y = 0; y < h / 2; ++y)
            std::swap_ranges(pixels.begin() + static_cast<std::ptrdiff_t>(y * w),
                             pixels.begin() + static_cast<std::ptrdiff_t>((y + 1) * w),
                             pixels.begin() + static_cast<std::ptrdiff_t>((h - 1 - y) * w));
    const std::vector<uint8_t> file = EncodeFrameGif(pixels.data(), f.Width, f.Height, f.Width, gif_.PaletteOf(i),
                                                     f.IsTransparent != 0, f.TransparentIndex);
    GifPicture picture;
    picture.gif = QByteArray(reinterpret_cast<const char*>(file.data()), static_cast<qsizetype>(file.size()));
    picture.image = GifFirstFrame(picture.gif);
    if (picture.image.isNull())
        return {};
    return picture;
}

void AniGifControl::SetAnimatedGIF(const GifPicture& aGif)
{
    bytes_ = aGif.isNull() ? QByteArray() : aGif.gif;
    LoadGifBuffer();
    update();
    emit PropertyChanged(QStringLiteral("AnimatedGIF"));
}

void AniGifControl::SetEnabled(bool Enable)
{
    setEnabled(Enable);
    emit PropertyChanged(QStringLiteral("Enabled"));
}

int32_t AniGifControl::FrameCount() const { return current_ != 0 ? gif_.FrameCount() : 0; }

void AniGifControl::SetStretch(int32_t newScale)
{
    if (newScale < 0 || newScale > 4 || newScale == stretch_)
        return;
    const int32_t was = action_;
    stretch_ = newScale;
    SetAction(2);
    UserControl_Resize();
    // The action comes back as it was: a stopped control stays on its frame
    // (going through Action 0 would empty it).
    if (was == 1)
        StartStopTimer(buildPending_ ? 2 : 1);
    else
        action_ = was;
    if (was != 1)
        update();
    emit PropertyChanged(QStringLiteral("Stretch"));
}

void AniGifControl::SetMinFrameDelay(int32_t Delay)
{
    const int16_t d = static_cast<int16_t>(std::clamp(Delay, 10, 32700));
    if (d == minFrameDelay_)
        return;
    minFrameDelay_ = d;
    emit PropertyChanged(QStringLiteral("Delay"));
}

void AniGifControl::SetLoops(int32_t Count)
{
    const int32_t n = static_cast<int32_t>(std::min<int64_t>(std::llabs(int64_t{Count}), INT32_MAX));
    if (n == loops_)
        return;
    loops_ = n;
    emit PropertyChanged(QStringLiteral("Loops"));
}

int32_t AniGifControl::LoopsRemaining() const
{
    if (current_ == 0)
        return -1;
    if (loops_ == 0)
        return 0;
    return loops_ - loopsPlayed_;
}

void AniGifControl::SetMirrored(int32_t MirrorStyle)
{
    if (MirrorStyle < 0 || MirrorStyle > 3 || MirrorStyle == mirror_)
        return;
    if (current_ == 0) {
        mirror_ = MirrorStyle;
    } else {
        const int32_t was = action_;
        SetAction(2);
        mirror_ = MirrorStyle;
        if (was == 1)
            StartStopTimer(buildPending_ ? 2 : 1);
        else
            update();
    }
    emit PropertyChanged(QStringLiteral("Mirrored"));
}

void AniGifControl::SetAction(int32_t value)
{
    if (current_ == 0)
        return;
    switch (value) {
    case 0:
        StartStopTimer(0);
        loopsPlayed_ = 0;
        current_ = 0;
        update();
        break;
    case 1:
        StartStopTimer(1);
        break;
    case 2:
        if (action_ != 0) {
            timer_.stop();
            action_ = 2;
        }
        break;
    case 3:
        StartStopTimer(0);
        if (buildPending_)
            CompleteBuild();
        current_ = current_ % gif_.FrameCount() + 1;
        action_ = 2;
        update();
        break;
    case 4:
        StartStopTimer(0);
        loopsPlayed_ = 0;
        current_ = 1;
        update();
        StartStopTimer(1);
        break;
    default:
        break;
    }
}

void AniGifControl::SetDelayAnimation(int32_t Mode)
{
    if (Mode < 0 || Mode > 3 || Mode == delayMode_)
        return;
    delayMode_ = Mode;
    emit PropertyChanged(QStringLiteral("DelayAnimation"));
}

void AniGifControl::SetMouseIcon(const QPixmap& MousePic)
{
    mouseIcon_ = MousePic;
    if (MousePic.isNull()) {
        mousePointer_ = 0;
        unsetCursor();
    } else if (mousePointer_ == 99) {
        setCursor(QCursor(MousePic));
    }
    emit PropertyChanged(QStringLiteral("MouseIcon"));
}

void AniGifControl::SetMousePointer(int16_t Pointer)
{
    static constexpr struct {
        int16_t pointer;
        Qt::CursorShape shape;
    } kShapes[] = {{1, Qt::ArrowCursor},      {2, Qt::CrossCursor},    {3, Qt::IBeamCursor},
                   {5, Qt::SizeAllCursor},    {6, Qt::SizeBDiagCursor}, {7, Qt::SizeVerCursor},
                   {8, Qt::SizeFDiagCursor},  {9, Qt::SizeHorCursor},  {10, Qt::UpArrowCursor},
                   {11, Qt::WaitCursor},      {12, Qt::ForbiddenCursor}, {13, Qt::BusyCursor},
                   {14, Qt::WhatsThisCursor}, {15, Qt::SizeAllCursor}};
    mousePointer_ = Pointer;
    if (Pointer == 99 && !mouseIcon_.isNull()) {
        setCursor(QCursor(mouseIcon_));
        return;
    }
    for (const auto& s : kShapes)
        if (s.pointer == Pointer) {
            setCursor(s.shape);
            return;
        }
    unsetCursor();
}

// ---- playing ----

int AniGifControl::FrameDelay(int frame) const
{
    return std::max<int>(gif_.Frame(frame - 1).DelayMs, minFrameDelay_);
}

bool AniGifControl::StartStopTimer(int mode)
{
    if (mode == 0) {
        timer_.stop();
        action_ = 0;
        return false;
    }
    if (action_ == 1)
        return false;
    action_ = 0;
    if (current_ == 0 || (gif_.FrameCount() <= 1 && mode != 2))
        return false;
    if (mode == 1 && buildPending_)
        CompleteBuild(); // the deferred build was stopped before it ran
    timerMode_ = mode;
    timer_.start(mode == 2 ? 20 : FrameDelay(current_));
    action_ = 1;
    return true;
}

void AniGifControl::OnTimer()
{
    if (timerMode_ == 2)
        OnDeferredBuild();
    else
        OnFrameTimer();
}

void AniGifControl::OnDeferredBuild()
{
    StartStopTimer(0);
    if (current_ == 0)
        return;
    FinishBuild();
}

void AniGifControl::OnFrameTimer()
{
    timer_.stop();
    if (current_ == 0)
        return;
    bool goOn = true;
    ++current_;
    if (current_ > gif_.FrameCount()) {
        current_ = 1;
        ++passes_;
        if (loops_ != 0) {
            ++loopsPlayed_;
            if (loopsPlayed_ == loops_) {
                action_ = 0;
                SetAction(0);
                loopsPlayed_ = 0;
                goOn = false;
            }
        }
    }
    update();
    if (goOn)
        timer_.start(FrameDelay(current_));
    else
        emit LoopsEnded();
}

// ---- layout and painting ----

void AniGifControl::CalcStretch(int& width, int& height, float& scaleX, float& scaleY) const
{
    if (current_ == 0 || canvasWidth_ <= 0 || canvasHeight_ <= 0)
        return;
    switch (stretch_) {
    case 0:
        scaleX = scaleY = 1;
        width = std::min(width, canvasWidth_);
        height = std::min(height, canvasHeight_);
        return;
    case 4:
        width = canvasWidth_;
        height = canvasHeight_;
        scaleX = scaleY = 1;
        return;
    default:
        break;
    }
    scaleX = static_cast<float>(width) / static_cast<float>(canvasWidth_);
    scaleY = static_cast<float>(height) / static_cast<float>(canvasHeight_);
    if (stretch_ == 2)
        return;
    if (stretch_ == 3 && scaleX > 1 && scaleY > 1)
        scaleX = scaleY = 1;
    else
        scaleX = scaleY = std::min(scaleX, scaleY);
    width = static_cast<int>(std::nearbyint(static_cast<float>(canvasWidth_) * scaleX));
    height = static_cast<int>(std::nearbyint(static_cast<float>(canvasHeight_) * scaleY));
}

void AniGifControl::UserControl_Resize()
{
    if (current_ == 0 || inLayout_)
        return;
    inLayout_ = true;
    int w = width();
    int h = height();
    CalcStretch(w, h, scaleX_, scaleY_);
    resize(w, h);
    inLayout_ = false;
}

void AniGifControl::resizeEvent(QResizeEvent*) { UserControl_Resize(); }

void AniGifControl::paintEvent(QPaintEvent*)
{
    if (current_ == 0)
        return;
    const QImage& canvas = gif_.Compose(current_ - 1);
    if (!canvas.isNull()) {
        const int w = static_cast<int>(std::nearbyint(static_cast<float>(canvasWidth_) * scaleX_));
        const int h = static_cast<int>(std::nearbyint(static_cast<float>(canvasHeight_) * scaleY_));
        if (w > 0 && h > 0) {
            QPainter p(this);
            if (scaleX_ != 1 || scaleY_ != 1)
                p.setRenderHint(QPainter::SmoothPixmapTransform);
            if (mirror_ & 1) {
                p.translate(w, 0);
                p.scale(-1, 1);
            }
            if (mirror_ & 2) {
                p.translate(0, h);
                p.scale(1, -1);
            }
            p.drawImage(QRect(0, 0, w, h), canvas);
        }
    }
    if (current_ == gif_.FrameCount())
        emit reportOver(current_);
}

void AniGifControl::showEvent(QShowEvent*) { StartStopTimer(1); }

void AniGifControl::hideEvent(QHideEvent*) { SetAction(2); }

void AniGifControl::ZOrder(int position)
{
    if (position == 0)
        raise();
    else
        lower();
}

// ---- mouse ----

void AniGifControl::mousePressEvent(QMouseEvent* event)
{
    pressed_ = event->button() == Qt::LeftButton;
    emit MouseDown(ButtonOf(event->button()), ShiftOf(event->modifiers()),
                   std::floor(static_cast<float>(event->position().x())),
                   std::floor(static_cast<float>(event->position().y())));
}

void AniGifControl::mouseReleaseEvent(QMouseEvent* event)
{
    emit MouseUp(ButtonOf(event->button()), ShiftOf(event->modifiers()),
                 std::floor(static_cast<float>(event->position().x())),
                 std::floor(static_cast<float>(event->position().y())));
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click)
        emit Click();
}

void AniGifControl::mouseMoveEvent(QMouseEvent* event)
{
    emit MouseMove(ButtonOf(event->buttons()), ShiftOf(event->modifiers()),
                   std::floor(static_cast<float>(event->position().x())),
                   std::floor(static_cast<float>(event->position().y())));
}

} // namespace widgets
