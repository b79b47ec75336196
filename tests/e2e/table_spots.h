#pragma once

// Where the player clicks on a 1024 x 768 screen, taken from the client's
// own layout: the table window lies at the screen's corner.
#include "support/table_fixture.h"

#include "core/exit_windows.h"
#include "core/startup.h"
#include "window/layout.h"
#include "window/main_form.h"

#include <QPoint>

namespace testing_support {

struct TableSpots {
    QPoint start, exit, confirm; // the start button, the exit button, the exit window's confirm button
};

inline TableSpots TableSpotsOnTheScreen()
{
    TableClient probe;
    core::SizeWindow(probe.c, QSize(1024, 768));
    window::LayoutTableControls(probe.c);
    const auto centre = [&](const platform::GraphicControl& b) {
        return probe.f.pic1->pos() + QPoint(static_cast<int>(b.Left + b.Width / 2), static_cast<int>(b.Top + b.Height / 2));
    };
    TableSpots s{centre(probe.f.AnNiu[2]), centre(probe.f.AnNiu[8]), {}};
    core::OpenExitWindow(probe.c);
    const core::ExitForm& d = *probe.c.frmExit;
    s.confirm = d.pos() + d.pbCloseMe.PaintRect().center().toPoint();
    probe.c.frmExit->hide();
    return s;
}

} // namespace testing_support
