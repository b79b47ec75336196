#pragma once

#include "protocol/frame.h"
#include "services/service_window.h"

class Client;

namespace services {

// The report of a cheater: the kind of the command and its window's
// background.
constexpr int16_t kCmdImpeach = 66;
constexpr int kImpeachBackground = 1147;
constexpr int kImpeachWidth = 300;
constexpr int kImpeachHeight = 150;

// Frmimpeach: states the fee of a report and asks whether to report.
class ImpeachForm : public ServiceWindow {
    Q_OBJECT
public:
    ImpeachForm(QWidget* owner, const platform::Picture& background);
    platform::Label Lbl_imp{QStringLiteral("Lbl_imp")};
    platform::Image pbCloseMe{QStringLiteral("pbCloseMe")};
    platform::Image pbCancel{QStringLiteral("pbCancel")};
};

// The report command: kind 66 with the own seat bit, everything else 0.
protocol::GameCmd ImpeachCmd(uint8_t ownSeatBit);

// The question the window asks for the fee, by whether this seat may
// report in this hand.
QString ImpeachQuestion(bool allowed, double fee);

// The table's report button: fills the window and shows it, or hides it
// when it is shown.
void cmdImpeach_Click(Client& c);
// Confirm: the report leaves when this seat may report; the window closes.
void Frmimpeach_pbCloseMe_Click(Client& c);
void Frmimpeach_pbCancel_Click(Client& c);

ImpeachForm& ImpeachWindow(Client& c);

} // namespace services
