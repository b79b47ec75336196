#pragma once

#include "window/pictures.h"
#include "window/sound.h"

#include <QString>
#include <array>
#include <cstdint>

namespace window {

// The table window subsystem's own state.
struct WindowState {
    PicIdTables PicIds;
    SoundState Sound;

    // The window draws its own frame (screens larger than the table).
    bool WindowFramed = false;

    // Flags of the table window. 16-bit: -1 true, 0 false.
    int16_t ChromeNormal = 0;
    int16_t WebNavError = 0;
    std::array<int16_t, 9> AnNiuHoverShown{}; // 1 while a main button shows its hover picture
    // The mouse pointer kind of each tile image: 0 the default, 99 the
    // table's own pointer over a hand tile.
    std::array<int16_t, 136> TileMousePointer{};

    // Seat-change show.
    int16_t ShuffleShowOn = 0;
    int16_t ShuffleLabelOn = 0;
    int16_t ShuffleFlagA = 0;
    int16_t ShuffleStep = 0;
    std::array<QString, 4> ShuffleCaptions;
    QString GameAdFile;

    // The advertisement named by the login reply.
    QString GameAdName;

    // The two web panels of the table window: the page each was last sent
    // to, where it stands and whether it is shown. Only http and https
    // addresses get here.
    struct WebPanel {
        QString Address;
        float Left = 0, Top = 0, Width = 0, Height = 0;
        int16_t Shown = 0;
    };
    WebPanel WebBrowser1Panel;
    WebPanel WebBrowser2Panel;
};

} // namespace window
