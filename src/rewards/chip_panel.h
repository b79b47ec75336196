#pragma once

#include <QString>
#include <cstdint>

class Client;
class QWidget;

namespace rewards {

// The rules text of the betting strip, five lines.
QString ChipRulesText();

// Makes the betting strip and its panels on the table window (once, when the
// client is built) and gives them their handlers; InitChipPanel lays them out.
void WireBets(Client& c);

// Lays out and resets the strip, the purchase, rules and winner-list panels
// and the lottery display; clears the bet ceiling and the winner lists.
void InitChipPanel(Client& c);

// Mouse and key handlers of the strip and its panels (x, y in pixels of the
// strip).
void Pic_prize_MouseMove(Client& c, float x, float y);
void Pic_buy_MouseMove(Client& c);
void Label1_MouseMove(Client& c);
void Lb_prize_MouseMove(Client& c);
void Img_yan_Click(Client& c);
void Img_yan_MouseMove(Client& c);
void Img_add_bt_MouseMove(Client& c);
void Img_reduce_bt_MouseMove(Client& c);
void Img_chip_bt_MouseMove(Client& c);
void Img_buy_bt_MouseMove(Client& c);
void Img_buy_buy_bt_MouseMove(Client& c);
void Img_buy_add_bt_MouseMove(Client& c);
void Img_buy_reduce_bt_MouseMove(Client& c);
// Esc on a panel hides it.
void Panel_KeyDown(Client& c, QWidget* panel, int keyCode);
void Timer_ani_Timer(Client& c);

// The table's own mouse move and click, as they touch these panels: the
// winner-list button and the bag button get their normal pictures back, a
// click hides the winner lists.
void Table_MouseMove(Client& c);
void Table_Click(Client& c);

} // namespace rewards
