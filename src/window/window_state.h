#pragma once

#include "window/pictures.h"
#include "window/sound.h"

namespace window {

// The table window subsystem's own state.
struct WindowState {
    PicIdTables PicIds;
    SoundState Sound;

    // The window draws its own frame (screens larger than the table).
    bool WindowFramed = false;
};

} // namespace window
