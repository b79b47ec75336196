#pragma once

#include "support/mouse.h"
#include "support/table_fixture.h"
#include "window/layout.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <memory>

namespace testing_support {

// A laid-out table window on screen, with stand-ins for the settings and
// rules windows and a scripted prop plug-in (not usable until the test
// sets PropPluginState).
struct ButtonTable : TableClient {
    platform::Form settings{QStringLiteral("VosSet"), &f};
    platform::Form rules{QStringLiteral("FrmRule"), &f};
    FakePropPlugin* plugin = nullptr;

    ButtonTable()
    {
        window::LayoutTableControls(c);
        settings.resize(220, 330);
        rules.resize(337, 534);
        c.window.VosSet = [this] { return &settings; };
        c.window.FrmRule = [this] { return &rules; };
        auto p = std::make_unique<FakePropPlugin>();
        plugin = p.get();
        c.rewards.PropPlugin = std::move(p);
        c.rewards.PropPluginState = 0;
        f.move(40, 30);
        f.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&f));
    }
    ~ButtonTable()
    {
        settings.hide();
        rules.hide();
        f.hide();
    }

    void Click(const platform::GraphicControl& control) { Click(testing_support::CentreOf(control)); }
    void Click(QPoint at)
    {
        QTest::mousePress(f.pic1, Qt::LeftButton, {}, at, 20);
        QTest::mouseRelease(f.pic1, Qt::LeftButton, {}, at, 20);
    }
    void MoveTo(const platform::GraphicControl& control) { MoveTo(testing_support::CentreOf(control)); }
    void MoveTo(QPoint at)
    {
        QMouseEvent e(QEvent::MouseMove, QPointF(at), QPointF(f.pic1->mapToGlobal(at)), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(f.pic1, &e);
    }
    // A spot of the table where no control lies.
    QPoint Cloth() const
    {
        for (int y = 200; y < 600; y += 10)
            for (int x = 300; x < 800; x += 10)
                if (!f.pic1->ControlAt(static_cast<float>(x), static_cast<float>(y)) &&
                    !f.pic1->childAt(QPoint(x, y)))
                    return QPoint(x, y);
        return QPoint(-1, -1);
    }
};

} // namespace testing_support
