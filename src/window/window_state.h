#pragma once

#include "window/pictures.h"
#include "window/sound.h"

#include <QString>
#include <array>
#include <cstdint>
#include <functional>

class QWidget;

namespace platform {
class Form;
}

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

    // Keys: the table window sees every key before the control with the
    // focus while KeyPreview is on (-1); the two latches of the Alt-C chord.
    int16_t KeyPreview = -1;
    std::array<int16_t, 2> KeyLatch{};
    // -1 while the key being handled went to the chat box.
    int16_t ChatHasFocus = 0;

    // The settings window VosSet and the rules window FrmRule, made by their
    // own module on first use. Unset (or answering nullptr) while no such
    // window is wired in; the buttons and keys then leave them alone.
    std::function<platform::Form*()> VosSet;
    std::function<platform::Form*()> FrmRule;
    // The start button's hand-over to the end-of-hand reward sequence: the
    // rolling rewards jump to their end and the ready command follows.
    std::function<void()> SkipRewardRolls;
    // The key handlers of controls on the table other than the chat box and
    // the system lines (panels and their text boxes): true when the control
    // took the key, which then does not reach the table's own handler.
    std::function<bool(QWidget* control, int16_t keyCode)> ControlKeyDown;
};

} // namespace window
