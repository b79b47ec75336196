#pragma once

#include "protocol/frame.h"

#include <QString>
#include <array>
#include <cstdint>

class Client;

// The prize pool and the lottery: prize notices (kind 95) decoded, the pool's
// digits on the betting strip, the roll of the hand's prize and the pool
// query. RollPrizePool and RollMyPrize are the scheduler steps of
// reward_ticks.h.
namespace rewards {

// The places of the two number displays.
constexpr int kPoolPlaces = 12;
constexpr int kPrizePlaces = 11;

// A prize notice as it arrives.
struct PrizeNotice {
    int32_t Mode = 0;   // 0..65535
    int32_t Color = 0;  // mode 6: red, green and blue as a Windows colour value
    QString Text;
};

// Reads a kind-95 frame: its mode, the notice colour (mode 6) and the text,
// byte 18 skipped in modes 7 and 8.
PrizeNotice DecodePrizeNotice(const protocol::GameFrame& frame);

// The four ";" fields of the own hand's result (mode 7); missing fields are
// empty, further fields are dropped.
std::array<QString, 4> HandPrizeFields(const QString& text);

// The digits a number shows on a display of `places` places: its whole
// value as plain decimal digits, without sign, point or exponent, cut to its
// last `places` digits. A negative or non-finite value shows "0".
QString DisplayDigits(double value, int places);

// The wealth label's caption for a multiplier in tenths: whole units from
// 10 tenths on, "0.5" below.
QString WealthCaptionOf(double tenths);

// Handles a received prize notice.
void MsgPrizeNotice(Client& c, const protocol::GameFrame& frame);

// Queues the prize-pool query, except in a match room.
void Send95(Client& c);

// The lottery display, as the hand-end sequence uses it: starts the roll of
// the hand's prize, shows the prize at once, or hides the display.
void StartPrizeRoll(Client& c);
void ShowPrizeAtOnce(Client& c);
void HidePrizeDisplay(Client& c);

} // namespace rewards
