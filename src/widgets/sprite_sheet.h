#pragma once

#include "platform/controls.h"

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QString>
#include <QWidget>
#include <cstdint>

namespace widgets {

// APNG: plays an animation stored as one picture sheet cut into a grid of
// equal cells, each cell a frame (row by row, left to right). The sheets are
// the program's resources of type "GIF" (in fact PNG pictures). One cell at
// a time is drawn with its transparency over what lies beneath the control;
// a timer steps through the cells. The control raises no events.
class Apng : public QWidget {
    Q_OBJECT
public:
    explicit Apng(QWidget* parent = nullptr, const QString& name = QString());

    // Loads resource ResId as a sheet of CountX x CountY cells, drawn at
    // (left, top) of the control. Changes neither the frame index nor the
    // timer and does not repaint. Always returns 0; a count of 0 or less, a
    // cell smaller than a pixel, or a missing or undecodable resource leaves
    // the control as it was.
    int32_t LoadAnimation(int32_t ResId, int32_t left, int32_t top, int32_t CountX, int32_t CountY);
    // Stops the timer; a FrameIndex of 0 or more is shown.
    void Pause(int32_t FrameIndex = -1);
    // A FrameIndex of 0 or more is shown; an Interval above 0 becomes the
    // timer's interval; then the timer runs (a timer without a positive
    // interval yet counts as running but never ticks).
    void Start(int32_t FrameIndex = -1, int32_t Interval = 40);

    // One tick of the timer: the next cell.
    void StepTimer_Timer();

    // State, for those who look.
    platform::Timer* StepTimer;
    int32_t FrameIndex() const { return frame_; }
    int32_t CountX() const { return countX_; }
    int32_t CountY() const { return countY_; }
    QSize CellSize() const { return QSize(cellWidth_, cellHeight_); }
    // The sheet's rectangle of the cell on display; empty with no sheet.
    QRect CellRect() const;
    // The sheet's picture (decoded on first use).
    const QImage& Sheet() const;
    bool Running() const { return running_; }
    int32_t Interval() const { return interval_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Reduces the frame index to the cells of the sheet and redraws.
    void Repaint();

    // The sheet's bytes until it is first decoded, then its picture
    // (premultiplied alpha, top row first).
    mutable QByteArray bytes_;
    mutable QImage sheet_;
    int32_t countX_ = 0;
    int32_t countY_ = 0;
    int32_t left_ = 0;
    int32_t top_ = 0;
    int32_t cellWidth_ = 0;
    int32_t cellHeight_ = 0;
    int32_t frame_ = 0;
    int32_t interval_ = 0;
    bool running_ = false;
};

} // namespace widgets
