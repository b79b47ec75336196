#pragma once

#include "platform/controls.h"

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

namespace widgets {
class Apng;
}

namespace rewards {

// One lottery winner of the prize lists.
struct PrizeRecord {
    int32_t Id = 0; // serial number of the win, higher is newer; 0 empty
    QString Label;
    int32_t Time = 0; // seconds since 1970 (UTC)
    QString Nickname;
    int16_t Number = 0;
    int32_t Amount = 0;
    uint8_t ItemCount = 0;
    std::vector<int32_t> ItemIds;    // indices 0..ItemCount, 0 unused
    std::vector<int32_t> ItemCounts; // in step with ItemIds
    uint8_t Class = 255;             // 255: no big prize
    bool operator==(const PrizeRecord&) const = default;
};

// The betting strip, the purchase, rules and winner-list panels, and the
// state of the bets, purchases and prize lists. Flags are 16-bit: -1 true.
struct BetsState {
    // The most cigarettes that may be bet per hand; 0 not yet computed.
    int32_t MaxChip = 0;

    // The winner lists: entries 1..9 and 1..3 in use.
    std::array<PrizeRecord, 10> WinList{};
    std::array<PrizeRecord, 4> BigPrizeList{};
    int32_t BigPrizeCount = 0;
    int16_t PrizeListFlag = 0;
    int16_t PrizeListFirstOpen = -1;
    std::array<int16_t, 6> PrizeListColWidths{};
    float PrizeListLeft = 0;
    float PrizeListTop = 0;
    int16_t PrizeListRowHeight = 0;

    // The betting strip and what lies on it.
    platform::PictureBox* Pic_prize = nullptr;
    platform::ControlArray<platform::Label> Lb_prize{nullptr, QStringLiteral("Lb_prize"), 1};
    platform::Image Img_yan{QStringLiteral("Img_yan")};
    platform::Label Label1{QStringLiteral("Label1")};
    platform::Label Lb_mysmoke{QStringLiteral("Lb_mysmoke")};
    platform::TextBox* Txt_chip = nullptr;
    platform::Image Img_add_bt{QStringLiteral("Img_add_bt")};
    platform::Image Img_reduce_bt{QStringLiteral("Img_reduce_bt")};
    platform::Image Img_buy_bt{QStringLiteral("Img_buy_bt")};

    // The purchase panel.
    platform::PictureBox* Pic_buy = nullptr;
    platform::TextBox* Txt_buy_num = nullptr;
    platform::Image Img_buy_add_bt{QStringLiteral("Img_buy_add_bt")};
    platform::Image Img_buy_reduce_bt{QStringLiteral("Img_buy_reduce_bt")};
    platform::Image Img_buy_buy_bt{QStringLiteral("Img_buy_buy_bt")};
    platform::Image Img_buy_close_bt{QStringLiteral("Img_buy_close_bt")};
    platform::Label Lb_buy_all{QStringLiteral("Lb_buy_all")};
    platform::Label Lb_buy_my{QStringLiteral("Lb_buy_my")};

    // The rules panel, the lottery display and the winner lists.
    platform::PictureBox* Pic_chipinfo = nullptr;
    platform::Label lb_chipinfo{QStringLiteral("lb_chipinfo")};
    widgets::Apng* APNG_prize = nullptr;
    std::vector<widgets::Apng*> APNG_prizenum;
    platform::PictureBox* Pic_prizesort = nullptr;
    platform::Image bt_prizesort{QStringLiteral("bt_prizesort")};

    // The text boxes' change handlers set their own text; the nested change
    // this raises is not handled again.
    bool InChipChange = false;
    bool InBuyNumChange = false;
};

} // namespace rewards
