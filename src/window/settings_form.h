#pragma once

#include "window/dialog_window.h"

#include <array>
#include <cstdint>

class Client;

namespace window {

// The settings window's own pictures, drawn by tools/resgen.
constexpr int kSettingsBackground = 1110;   // 220 x 330
constexpr int kSettingsCaptionFirst = 1111; // four option captions, 91 x 35

// Entries of DialogPicIds the switches show: the action a click performs.
constexpr int kPicTurnOff = 4;
constexpr int kPicTurnOn = 5;
constexpr int kPicDialect = 7;

// The settings window "音效设置": switches for the background tune, the
// effects, all sound and the dialect voices, with OK and cancel.
class SettingsForm : public DialogWindow {
    Q_OBJECT
public:
    explicit SettingsForm(QWidget* owner);
    platform::ControlArray<platform::Image> Image1;   // the option captions 0-3
    platform::ControlArray<platform::Image> Command2; // the switches; 1-3 loaded by Form_Load
    platform::ControlArray<platform::Image> Command1; // 0 OK, 1 cancel
    // Switches clicked an odd number of times since the last OK or cancel.
    std::array<int16_t, 4> Pending{};
};

// The window's loading: button pictures and places, the three further
// switches, pending flags cleared.
void VosSet_Form_Load(Client& c);
// Switch k (0 tune, 1 system sound, 2 function sound, 3 dialect).
void VosSet_Command2_Click(Client& c, int k);
// OK (0) or cancel (1): hides the window; cancel undoes the pending switches.
void VosSet_Command1_Click(Client& c, int i);
// Puts each switch's picture to the action a click on it performs now.
void VosSet_RefreshSwitches(Client& c);

// Points the main buttons and keys at the client's own settings and rules
// windows; the switch pictures are drawn from the sound state each time the
// settings window is asked for.
void WireClientDialogs(Client& c);

// Opens the settings window: loads it on first use, draws its switches from
// the sound state as it is now, places it at the lower right of the table
// and shows it, owned by the table window. Hiding it again when it is open
// is the caller's choice.
void ShowSettings(Client& c);

// Connects the settings window's controls to their handlers.
void WireSettingsForm(Client& c);

} // namespace window
