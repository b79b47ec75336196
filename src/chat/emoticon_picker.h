#pragma once

#include "platform/controls.h"
#include "widgets/ani_gif_control.h"

#include <array>
#include <cstdint>

class Client;

namespace chat {

// The emoticon picker: eighteen animated emoticons on three pages of eight
// cells; a click on one sends it to the table.
class BiaoqingForm : public platform::Form {
    Q_OBJECT
public:
    explicit BiaoqingForm(QWidget* owner);

    platform::PictureBox* Pic_dynamicBQ;      // the page of animated emoticons
    std::array<widgets::AniGifControl*, 8> ucAni_DBQ{};
    platform::Image Img_dd{QStringLiteral("Img_dd")};   // the tab of the page
    platform::Image Cmd_Dpp{QStringLiteral("Cmd_Dpp")}; // previous page
    platform::Image Cmd_Dnp{QStringLiteral("Cmd_Dnp")}; // next page
    platform::Label Lbl_Dcp{QStringLiteral("Lbl_Dcp")}; // the page number

    // The page shown (1-3), and the GIF each cell shows (0: none).
    int16_t EmoticonPage = 1;
    std::array<int, 8> CellGifs{};
    bool Loaded = false;
};

// Lays out the cells and fills page 1, unless done already.
void frmBiaoqing_Form_Load(Client& c);
void frmBiaoqing_Cmd_Dnp_Click(Client& c);
void frmBiaoqing_Cmd_Dpp_Click(Client& c);
void frmBiaoqing_Img_dd_Click(Client& c);
// A click on a cell: with more than 1000 coins and 7 seconds since the last
// accepted click, the cell's emoticon plays beside the own seat and goes
// out as a chat frame (to the whisper target while a whisper is armed).
void frmBiaoqing_ucAni_DBQ_Click(Client& c, int index);
void frmBiaoqing_Cmd_Dpp_MouseMove(Client& c);
void frmBiaoqing_Cmd_Dnp_MouseMove(Client& c);
void frmBiaoqing_Pic_dynamicBQ_MouseMove(Client& c);

// The emoticon button of the table: opens the picker above the chat bar or
// hides it; hides the history and the quick phrases.
void imgword1_Click(Client& c);
void imgword1_MouseMove(Client& c);

} // namespace chat
