#pragma once

// The built client on a VNC screen of its own, started by the stand-in
// lobby, and where the player clicks on that screen.
#include "support/mouse.h"
#include "support/processes.h"
#include "support/table_fixture.h"

#include "core/exit_windows.h"
#include "core/startup.h"
#include "window/layout.h"
#include "window/main_form.h"

#include <QPoint>
#include <memory>

namespace testing_support {

// The stand-in lobby, owning the titles `lobbyTitle` and the main lobby's,
// starting the client with the command line `line` for a screen of `screen`.
inline std::unique_ptr<Program> LobbyWithClient(const QString& line, const QProcessEnvironment& env,
                                                const QString& lobbyTitle = QStringLiteral("E2E Lobby"),
                                                const QString& screen = QStringLiteral("1024x768"))
{
    return std::make_unique<Program>(
        QStringLiteral(MJ_LOBBY_PROGRAM),
        QStringList{QStringLiteral("--title"), lobbyTitle, QStringLiteral("--title"), QStringLiteral("Olvenhall"),
                    QStringLiteral("--client"), QStringLiteral(MJ_CLIENT_PROGRAM), QStringLiteral("--screen"), screen,
                    QStringLiteral("--"), line},
        env);
}

// The lobby starting the client for alice at the table server's `port`; the
// client draws on a 1024 x 768 VNC screen served at `vncPort`.
inline std::unique_ptr<Program> LobbyWithClientOnVnc(const QString& port, int vncPort, QProcessEnvironment env)
{
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("vnc:size=1024x768:port=%1").arg(vncPort));
    return LobbyWithClient(QStringLiteral("alice$key$127.0.0.1$%1$本地$0$$0$$$0$E2E Lobby$Table$0$0$").arg(port), env);
}

// Where the player clicks on a 1024 x 768 screen, taken from the client's
// own layout: the table window lies at the screen's corner.
struct TableSpots {
    QPoint start, exit, confirm; // the start button, the exit button, the exit window's confirm button
};

inline TableSpots TableSpotsOnTheScreen()
{
    TableClient probe;
    core::SizeWindow(probe.c, QSize(1024, 768));
    window::LayoutTableControls(probe.c);
    const auto centre = [&](const platform::GraphicControl& b) { return probe.f.pic1->pos() + CentreOf(b); };
    TableSpots s{centre(probe.f.AnNiu[2]), centre(probe.f.AnNiu[8]), {}};
    core::OpenExitWindow(probe.c);
    const core::ExitForm& d = *probe.c.frmExit;
    s.confirm = d.pos() + d.pbCloseMe.PaintRect().center().toPoint();
    probe.c.frmExit->hide();
    return s;
}

} // namespace testing_support
