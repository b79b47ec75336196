#pragma once

#include "window/dialog_window.h"

class Client;

namespace core {

// Background pictures of the two windows (resource ids, 300 x 150 each).
constexpr int kExitBackground = 1120;
constexpr int kOtherExitBackground = 1121;

// Asks the player whether to leave the table, with the penalty it costs now.
// Both its buttons unload it: the next showing starts from the design again,
// while a window that was only hidden keeps what its labels show.
class ExitForm : public window::DialogWindow {
    Q_OBJECT
public:
    explicit ExitForm(QWidget* owner);
    platform::Label Label1{QStringLiteral("Label1")};
    platform::Label Label2{QStringLiteral("Label2")};
    platform::Label Label3{QStringLiteral("Label3")};
    platform::Image pbCloseMe{QStringLiteral("pbCloseMe")};
    platform::Image pbCancel{QStringLiteral("pbCancel")};

    // Hidden, and the labels back to their design; the next opening loads
    // the window afresh.
    void Unload();
    // True until the window is opened after its design (or an unload).
    bool Unloaded() const { return unloaded_; }
    void MarkLoaded() { unloaded_ = false; }

protected:
    // Every showing puts the window in the middle of the table window.
    void showEvent(QShowEvent* event) override;

private:
    bool unloaded_ = true;
};

// A notice of the server or the game, with "leave now" and "leave after the
// hand".
class OtherExitForm : public window::DialogWindow {
    Q_OBJECT
public:
    explicit OtherExitForm(QWidget* owner);
    platform::Label Label1{QStringLiteral("Label1")};
    platform::Image imgOK{QStringLiteral("imgOK")};
    platform::Image imgCancel{QStringLiteral("imgCancel")};

protected:
    // Every showing puts the window in the middle of the table window.
    void showEvent(QShowEvent* event) override;
};

// The exit button (and Esc on the table): hides the exit window when it is
// shown, otherwise shows it with the warning
// that fits the moment. hideResults hides the score and history windows
// first (the exit button does, the key does not).
void OpenExitWindow(Client& c, bool hideResults = true);
void UnloadExitWindow(Client& c);
void frmExit_pbCloseMe_Click(Client& c);
void frmExit_pbCancel_Click(Client& c);

// Shows a notice and sends the leave frame.
void ShowOtherExit(Client& c, const QString& notice);
void frmOtherExit_imgOK_Click(Client& c);
void frmOtherExit_imgCancel_Click(Client& c);

// The end of a stay at a table: tells the lobby that the client left, hands
// the desktop back to it, or ends the program when the lobby is gone.
void BackToLobby(Client& c);

} // namespace core
