#pragma once

#include "platform/controls.h"

class Client;

namespace core {

// Asks the player whether to leave the table, with the penalty it costs now.
class ExitForm : public platform::Form {
    Q_OBJECT
public:
    explicit ExitForm(QWidget* owner);
    platform::Label Label1{QStringLiteral("Label1")};
    platform::Label Label2{QStringLiteral("Label2")};
    platform::Label Label3{QStringLiteral("Label3")};
    platform::Image pbCloseMe{QStringLiteral("pbCloseMe")};
    platform::Image pbCancel{QStringLiteral("pbCancel")};
};

// A notice of the server or the game, with "leave now" and "leave after the
// hand".
class OtherExitForm : public platform::Form {
    Q_OBJECT
public:
    explicit OtherExitForm(QWidget* owner);
    platform::Label Label1{QStringLiteral("Label1")};
    platform::Image imgOK{QStringLiteral("imgOK")};
    platform::Image imgCancel{QStringLiteral("imgCancel")};
};

// The exit button: hides the exit window when it is shown, otherwise shows
// it with the warning that fits the moment.
void OpenExitWindow(Client& c);
void frmExit_pbCloseMe_Click(Client& c);
void frmExit_pbCancel_Click(Client& c);

// Shows a notice and sends the leave frame.
void ShowOtherExit(Client& c, const QString& notice);
void frmOtherExit_imgOK_Click(Client& c);
void frmOtherExit_imgCancel_Click(Client& c);

} // namespace core
