#pragma once

#include "platform/picture.h"

#include <QSize>

namespace window {

class MainForm;

// The table window as designed, before any layout runs: the pictures its
// controls carry from the design (the wild-tile panel, the banker mark, the
// countdown clock, the ready mark, the chat bar, the mascot ...), the fonts,
// colours and captions of its labels, the look of its list and text boxes,
// which images stretch their pictures and what starts hidden. Positions are
// the 1024 x 768 design values; the layout procedures move and scale them.
void ApplyTableDesign(MainForm& f);

// The design pictures, drawn by the program itself (they are no resources).
enum class DesignPicture {
    WildPanel,    // 124 x 107, the wild-tile panel
    StreakPanel,  // 124 x 107, the same panel during a wild streak
    BankerMark,   // 70 x 25, room on the right for the wind label
    Clock,        // 81 x 38, room on the right for the countdown digits
    ReadyMark,    // 70 x 29
    ItemBag,      // 54 x 31
    Report,       // 57 x 51
    Mascot,       // 82 x 80
    ChatBar,      // 392 x 39
    Multiplier,   // 48 x 28
    Wealth,       // 48 x 28
};
platform::Picture DrawDesignPicture(DesignPicture which);
// Its size, known without drawing it.
QSize DesignPictureSize(DesignPicture which);

} // namespace window
