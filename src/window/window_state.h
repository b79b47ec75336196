#pragma once

#include "window/pictures.h"
#include "window/sound.h"

namespace window {

// The table window subsystem's own state.
struct WindowState {
    PicIdTables PicIds;
    SoundState Sound;
};

} // namespace window
