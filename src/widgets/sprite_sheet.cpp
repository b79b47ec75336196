#include "widgets/sprite_sheet.h"

#include "widgets/gif_frames.h"

#include "platform/resources.h"

#include <QPainter>
#include <cstdint>

namespace widgets {

namespace {

// The picture of a sheet's bytes, premultiplied; null when they hold none.
QImage DecodeSheetPicture(const QByteArray& bytes)
{
    QImage picture;
    if (bytes.startsWith("GIF8"))
        picture = GifFirstFrame(bytes); // our own decoder
    else
        picture = QImage::fromData(bytes, "PNG");
    if (picture.isNull())
        return picture;
    return picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// The size a sheet's header gives (GIF: the logical screen, PNG: the image
// header), read without decoding; empty when the bytes are neither.
QSize SheetHeaderSize(const QByteArray& bytes)
{
    const auto byte = [&bytes](int i) { return static_cast<uint32_t>(static_cast<uint8_t>(bytes[i])); };
    if (bytes.startsWith("GIF8") && bytes.size() >= 10)
        return QSize(static_cast<int>(byte(6) | byte(7) << 8), static_cast<int>(byte(8) | byte(9) << 8));
    if (bytes.startsWith("\x89PNG\r\n\x1a\n") && bytes.size() >= 24 && bytes.mid(12, 4) == "IHDR") {
        const uint32_t w = byte(16) << 24 | byte(17) << 16 | byte(18) << 8 | byte(19);
        const uint32_t h = byte(20) << 24 | byte(21) << 16 | byte(22) << 8 | byte(23);
        if (w > 0 && h > 0 && w <= 0x7FFFFFFF && h <= 0x7FFFFFFF)
            return QSize(static_cast<int>(w), static_cast<int>(h));
    }
    return QSize();
}

} // namespace

Apng::Apng(QWidget* parent, const QString& name)
    : QWidget(parent), StepTimer(new platform::Timer(this, QStringLiteral("StepTimer")))
{
    setObjectName(name);
    // No background of its own: the cell is drawn over what lies beneath.
    setAttribute(Qt::WA_NoSystemBackground);
    connect(StepTimer, &QTimer::timeout, this, [this] { StepTimer_Timer(); });
}

int32_t Apng::LoadAnimation(int32_t ResId, int32_t left, int32_t top, int32_t CountX, int32_t CountY)
{
    if (CountX <= 0 || CountY <= 0)
        return 0;
    const std::optional<QByteArray> bytes = platform::LoadResData(ResId, QStringLiteral("GIF"));
    if (!bytes)
        return 0;
    // The sheet is decoded when it is first drawn or read: most start hidden,
    // and the same sheet often serves many controls (the digits).
    const QSize size = SheetHeaderSize(*bytes);
    // A sheet with fewer pixels than cells would have empty cells.
    if (size.isEmpty() || size.width() < CountX || size.height() < CountY)
        return 0;
    bytes_ = *bytes;
    sheet_ = QImage();
    countX_ = CountX;
    countY_ = CountY;
    left_ = left;
    top_ = top;
    cellWidth_ = size.width() / CountX;
    cellHeight_ = size.height() / CountY;
    return 0;
}

const QImage& Apng::Sheet() const
{
    if (!bytes_.isEmpty()) {
        sheet_ = DecodeSheetPicture(bytes_);
        bytes_.clear();
    }
    return sheet_;
}

void Apng::Pause(int32_t FrameIndex)
{
    StepTimer->stop();
    running_ = false;
    if (FrameIndex >= 0) {
        frame_ = FrameIndex;
        Repaint();
    }
}

void Apng::Start(int32_t FrameIndex, int32_t Interval)
{
    if (FrameIndex >= 0) {
        frame_ = FrameIndex;
        Repaint();
    }
    if (Interval > 0)
        interval_ = Interval;
    running_ = true;
    // An interval of 0 would fire without pause; such a timer never ticks.
    if (interval_ > 0) {
        StepTimer->SetInterval(interval_);
        StepTimer->SetEnabled(true);
    }
}

void Apng::StepTimer_Timer()
{
    // Counted within the cells of the sheet (or, with none, within the
    // index's range), so the index never runs past its largest value.
    const int64_t cells = static_cast<int64_t>(countX_) * countY_;
    const int64_t next = static_cast<int64_t>(frame_) + 1;
    frame_ = static_cast<int32_t>(next % (cells > 0 ? cells : int64_t{INT32_MAX} + 1));
    Repaint();
}

void Apng::Repaint()
{
    if (countX_ > 0 && countY_ > 0)
        frame_ = static_cast<int32_t>(frame_ % (static_cast<int64_t>(countX_) * countY_));
    update();
}

QRect Apng::CellRect() const
{
    if (countX_ <= 0 || countY_ <= 0)
        return QRect();
    const int64_t index = frame_ % (static_cast<int64_t>(countX_) * countY_);
    const auto column = static_cast<int32_t>(index % countX_);
    const auto row = static_cast<int32_t>(index / countX_);
    return QRect(cellWidth_ * column, cellHeight_ * row, cellWidth_, cellHeight_);
}

void Apng::paintEvent(QPaintEvent*)
{
    const QRect cell = CellRect();
    if (cell.isEmpty())
        return;
    QPainter p(this);
    p.drawImage(QRect(left_, top_, cell.width(), cell.height()), Sheet(), cell);
}

} // namespace widgets
