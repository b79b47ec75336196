#pragma once

// Real mouse events for widget tests: what a player's pointer does, sent
// to the widget that would get it.
#include "platform/controls.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

namespace testing_support {

// The centre of a graphic control, in its surface's coordinates.
inline QPoint CentreOf(const platform::GraphicControl& control)
{
    return QPoint(static_cast<int>(control.Left + control.Width / 2),
                  static_cast<int>(control.Top + control.Height / 2));
}

// A left click (press and release) at `at` of `surface`.
inline void ClickAt(QWidget* surface, QPoint at)
{
    QTest::mousePress(surface, Qt::LeftButton, {}, at, 20);
    QTest::mouseRelease(surface, Qt::LeftButton, {}, at, 20);
}

// The pointer moved to `at` of `surface`, no button held.
inline void MoveOver(QWidget* surface, QPoint at)
{
    QMouseEvent e(QEvent::MouseMove, QPointF(at), QPointF(surface->mapToGlobal(at)), Qt::NoButton, Qt::NoButton,
                  Qt::NoModifier);
    QApplication::sendEvent(surface, &e);
}

} // namespace testing_support
