// The one table the pictures are made from. A row covers a run of ids; its
// captions, parameters and frame counts are lists separated by '|', taken
// in turn for the ids of the run (a shorter list starts over).
#include "art_table.h"

#include <QStringList>
#include <stdexcept>

namespace resgen {

namespace {

using R = Role;
using F = Format;
using B = Basis;

struct Row {
    int first;
    int last;
    Role role;
    int w;
    int h;
    const char* captions;
    const char* params;
    const char* frames;
    Format format;
    Basis basis;
    const char* note;
};

constexpr char kMainCaptions[] = "聊天|聊天|开始|开始|继续|继续|设置|设置|隐藏|隐藏|战绩|战绩|历史|历史|规则|规则|退出|退出";
constexpr char kSpeech[] = "吃|碰|杠|暗杠|红中杠|赖子杠|开杠|胡|发财杠";
// Prize pictures show the kind of prize; the window writes each prize's name
// under its picture.
constexpr char kPrizes[] = "话费|话费|家电|家电|数码|家电|数码|点卡|话费|话费|话费|点卡|礼盒|礼盒|礼盒|家电|家电|数码|数码|数码";

// Tile rows of one view: honour faces, standing back, face-down back, then
// the faces of bamboo, characters and dots.
#define TILE_VIEW(v, fw, fh, sw, sh, dw, dh, what)                                                         \
    {201 + 36 * (v), 207 + 36 * (v), R::Tile, fw, fh, "", "", "1", F::Gif, B::Given, what " honours"},    \
        {208 + 36 * (v), 208 + 36 * (v), R::Tile, sw, sh, "", "", "1", F::Gif, B::Given, what " standing back"}, \
        {209 + 36 * (v), 209 + 36 * (v), R::Tile, dw, dh, "", "", "1", F::Gif, B::Given, what " face-down back"}, \
        {210 + 36 * (v), 236 + 36 * (v), R::Tile, fw, fh, "", "", "1", F::Gif, B::Given, what " bamboo, characters, dots"}

const Row kRows[] = {
    // Main buttons: pairs of normal and hover pictures.
    {101, 102, R::MainButton, 48, 30, "发送", "0|1", "1", F::Gif, B::Given, "send button, both layouts"},
    {103, 120, R::MainButton, 55, 31, kMainCaptions, "0|1", "1", F::Gif, B::Given, "main buttons, full layout"},
    {123, 125, R::Placeholder, 48, 48, "", "", "1", F::Gif, B::Placeholder, "not described yet"},
    {126, 129, R::Compass, 77, 77, "", "0|1|2|3", "1", F::Gif, B::Given, "compass for seat index 0-3"},
    {130, 133, R::DialogButton, 70, 29, "确定|确定|取消|取消", "0|1", "1", F::Gif, B::Given, "OK and cancel"},
    {134, 137, R::ToggleCaption, 64, 26, "关闭|开启|普通话|方言", "0|1|2|3", "1", F::Gif, B::Given, "settings switches"},
    // Claim buttons: idle (grey) and offered (gold) 50 x 69, highlighted (red) 50 x 71.
    {141, 142, R::ClaimButton, 50, 69, "吃", "0|1", "1", F::Gif, B::Given, "chow"},
    {143, 143, R::ClaimButton, 50, 71, "吃", "2", "1", F::Gif, B::Given, "chow highlighted"},
    {144, 145, R::ClaimButton, 50, 69, "碰", "0|1", "1", F::Gif, B::Given, "pong"},
    {146, 146, R::ClaimButton, 50, 71, "碰", "2", "1", F::Gif, B::Given, "pong highlighted"},
    {147, 148, R::ClaimButton, 50, 69, "杠", "0|1", "1", F::Gif, B::Given, "kong"},
    {149, 149, R::ClaimButton, 50, 71, "杠", "2", "1", F::Gif, B::Given, "kong highlighted"},
    {150, 151, R::ClaimButton, 50, 69, "胡", "0|1", "1", F::Gif, B::Given, "win"},
    {152, 152, R::ClaimButton, 50, 71, "胡", "2", "1", F::Gif, B::Given, "win highlighted"},
    {153, 154, R::ClaimButton, 50, 69, "过", "0|1", "1", F::Gif, B::Given, "pass"},
    {155, 155, R::ClaimButton, 50, 71, "过", "2", "1", F::Gif, B::Given, "pass highlighted"},
    {156, 158, R::ReportButton, 70, 28, "报告错误", "0|1|2", "1", F::Gif, B::Given, "report-error button"},
    // The large die: six faces, then ten tumbling pictures of 45-58 pixels.
    {161, 166, R::DieFace, 50, 56, "", "1|2|3|4|5|6", "1", F::Gif, B::Given, "die faces 1-6"},
    {167, 167, R::DieTumble, 45, 46, "", "0", "1", F::Gif, B::Given, "tumbling die"},
    {168, 168, R::DieTumble, 52, 50, "", "1", "1", F::Gif, B::Given, "tumbling die"},
    {169, 169, R::DieTumble, 58, 56, "", "2", "1", F::Gif, B::Given, "tumbling die"},
    {170, 170, R::DieTumble, 55, 58, "", "3", "1", F::Gif, B::Given, "tumbling die"},
    {171, 171, R::DieTumble, 48, 52, "", "4", "1", F::Gif, B::Given, "tumbling die"},
    {172, 172, R::DieTumble, 46, 45, "", "5", "1", F::Gif, B::Given, "tumbling die"},
    {173, 173, R::DieTumble, 53, 49, "", "6", "1", F::Gif, B::Given, "tumbling die"},
    {174, 174, R::DieTumble, 57, 54, "", "7", "1", F::Gif, B::Given, "tumbling die"},
    {175, 175, R::DieTumble, 50, 57, "", "8", "1", F::Gif, B::Given, "tumbling die"},
    {176, 176, R::DieTumble, 47, 50, "", "9", "1", F::Gif, B::Given, "tumbling die"},
    {191, 200, R::Avatar, 85, 90, "", "0|1|2|3|4|5|6|7|8|9", "1", F::Gif, B::Given, "avatars 0-9, men"},
    // Tiles of the five views.
    TILE_VIEW(0, 50, 58, 50, 77, 38, 56, "view 0"),
    TILE_VIEW(1, 59, 46, 33, 66, 50, 44, "view 1"),
    TILE_VIEW(2, 34, 37, 34, 50, 33, 37, "view 2"),
    TILE_VIEW(3, 59, 46, 34, 66, 50, 44, "view 3"),
    TILE_VIEW(4, 50, 77, 50, 77, 38, 56, "view 4, large hand faces"),
    {381, 398, R::MainButton, 43, 24, kMainCaptions, "0|1", "1", F::Gif, B::Given, "main buttons, small layout"},
    {401, 410, R::Avatar, 85, 90, "", "10|11|12|13|14|15|16|17|18|19", "1", F::Gif, B::Given, "avatars 10-19, women"},
    {416, 417, R::Button, 90, 30, "开通会员", "0|1", "1", F::Gif, B::Assumed, "exchange window: membership button"},
    {418, 418, R::Button, 90, 30, "开通会员", "0", "1", F::Gif, B::Assumed, "membership window: its button (419 doubles as its hover picture)"},
    {419, 425, R::VipPanel, 313, 293, "", "0|1|2|3|4|5|6", "1", F::Gif, B::Given, "membership window for level 0-6"},
    {430, 438, R::Speech, 90, 67, kSpeech, "1", "1", F::Gif, B::Given, "speech bubbles, view 1"},
    {439, 447, R::Speech, 79, 79, kSpeech, "2", "1", F::Gif, B::Given, "speech bubbles, view 2"},
    {448, 456, R::Speech, 90, 67, kSpeech, "3", "1", F::Gif, B::Given, "speech bubbles, view 3"},
    {476, 476, R::StreakAnimation, 150, 150, "连赖", "0", "12", F::Gif, B::Given, "wild-tile streak animation"},
    {477, 477, R::StreakBackdrop, 150, 150, "", "0", "1", F::Gif, B::Given, "backdrop of the streak animation"},
    // Match panels.
    {510, 511, R::Tab, 94, 36, "", "0|1", "1", F::Gif, B::Given, "match list tab"},
    {512, 513, R::Tab, 93, 29, "", "0|1", "1", F::Gif, B::Given, "ranking tab"},
    {514, 515, R::CloseMark, 25, 25, "", "0|1", "1", F::Gif, B::Given, "close buttons"},
    {520, 520, R::Tab, 85, 32, "", "0", "1", F::Gif, B::Given, "match list name"},
    {522, 523, R::RowBar, 324, 52, "", "0|1", "1", F::Gif, B::Given, "match list row"},
    {524, 525, R::Placeholder, 48, 48, "", "", "1", F::Gif, B::Placeholder, "not described yet"},
    {526, 526, R::Stamp, 64, 30, "已报名", "0", "1", F::Gif, B::Assumed, "signed-up stamp"},
    {527, 528, R::Button, 64, 26, "报名", "0|1", "1", F::Gif, B::Assumed, "sign-up button"},
    {529, 530, R::Arrow, 13, 13, "", "0|1", "1", F::Gif, B::Given, "ranking: previous page"},
    {531, 531, R::Placeholder, 48, 48, "", "", "1", F::Gif, B::Placeholder, "not described yet"},
    {532, 533, R::Arrow, 13, 13, "", "10|11", "1", F::Gif, B::Given, "ranking: next page"},
    {534, 534, R::Placeholder, 48, 48, "", "", "1", F::Gif, B::Placeholder, "not described yet"},
    {535, 537, R::Arrow, 46, 24, "", "0|1|3", "1", F::Gif, B::Given, "match list: previous page"},
    {538, 540, R::Arrow, 46, 24, "", "10|11|13", "1", F::Gif, B::Given, "match list: next page"},
    {542, 542, R::Stamp, 64, 30, "进行中", "1", "1", F::Gif, B::Assumed, "running stamp"},
    {543, 543, R::Stamp, 64, 30, "已结束", "2", "1", F::Gif, B::Assumed, "ended stamp"},
    {544, 544, R::Button, 64, 26, "已报名", "3", "1", F::Gif, B::Assumed, "sign-up button after signing up"},
    {550, 551, R::CloseMark, 20, 20, "", "0|1", "1", F::Gif, B::Assumed, "goods bag close button"},
    {552, 554, R::Button, 47, 23, "刷新", "0|1|3", "1", F::Gif, B::Given, "ranking refresh"},
    {560, 561, R::Button, 93, 29, "翡翠兑换", "0|1", "1", F::Gif, B::Given, "jade exchange button"},
    {562, 563, R::FoldTab, 22, 36, "比赛", "0|1", "1", F::Gif, B::Assumed, "match button, list folded away"},
    {564, 565, R::FoldTab, 22, 36, "比赛", "10|11", "1", F::Gif, B::Assumed, "match button, list shown"},
    {567, 571, R::Goods, 56, 56, "3|1|2|7|8", "3|1|2|7|8", "1", F::Gif, B::Assumed, "goods pictures"},
    {576, 576, R::Goods, 56, 56, "4", "4", "1", F::Gif, B::Assumed, "goods picture"},
    {577, 578, R::Goods, 56, 56, "5|6", "5|6", "1", F::Jpeg, B::Assumed, "goods pictures (JPEG)"},
    {579, 580, R::CigaretteIcon, 32, 32, "", "0|1", "1", F::Gif, B::Assumed, "cigarette info button"},
    {581, 582, R::Button, 80, 28, "中奖名单", "0|1", "1", F::Jpeg, B::Assumed, "winner list button (JPEG)"},
    {600, 605, R::SmallDie, 24, 24, "", "1|2|3|4|5|6", "1", F::Gif, B::Given, "small dice faces 1-6"},
    // Goods bag, betting and chat buttons.
    {640, 641, R::Arrow, 40, 20, "", "0|1", "1", F::Gif, B::Assumed, "goods bag: previous page"},
    {642, 643, R::Arrow, 40, 20, "", "10|11", "1", F::Gif, B::Assumed, "goods bag: next page"},
    {644, 645, R::Button, 47, 25, "购买", "0|1", "1", F::Gif, B::Assumed, "buy button"},
    {646, 647, R::Placeholder, 48, 48, "", "", "1", F::Gif, B::Placeholder, "not described yet"},
    {648, 649, R::Button, 22, 22, "+", "0|1", "1", F::Gif, B::Assumed, "more"},
    {650, 651, R::Button, 22, 22, "−", "0|1", "1", F::Gif, B::Assumed, "fewer"},
    {652, 653, R::Button, 47, 25, "下注", "0|1", "1", F::Gif, B::Given, "bet button"},
    {654, 654, R::Button, 47, 25, "已下注", "3", "1", F::Gif, B::Given, "bet button after a bet"},
    {655, 655, R::Placeholder, 48, 48, "", "", "1", F::Gif, B::Placeholder, "not described yet"},
    {656, 657, R::Button, 72, 26, "确认购买", "0|1", "1", F::Gif, B::Assumed, "confirm purchase"},
    {658, 659, R::Placeholder, 48, 48, "", "", "1", F::Gif, B::Placeholder, "not described yet"},
    {660, 660, R::EmoticonButton, 21, 22, "", "0", "1", F::Gif, B::Given, "emoticon button"},
    {661, 661, R::Placeholder, 48, 48, "", "", "1", F::Gif, B::Placeholder, "not described yet"},
    {662, 662, R::EmoticonButton, 21, 22, "", "1", "1", F::Gif, B::Given, "emoticon button, hover"},
    {663, 663, R::Placeholder, 48, 48, "", "", "1", F::Gif, B::Placeholder, "not described yet"},
    {664, 664, R::PhraseButton, 27, 25, "", "0", "1", F::Gif, B::Given, "quick-phrase button"},
    {665, 665, R::Placeholder, 48, 48, "", "", "1", F::Gif, B::Placeholder, "not described yet"},
    {666, 666, R::PhraseButton, 27, 25, "", "1", "1", F::Gif, B::Given, "quick-phrase button, hover"},
    {667, 667, R::Placeholder, 48, 48, "", "", "1", F::Gif, B::Placeholder, "not described yet"},
    // Eighteen animated emoticons; 680 also serves as the 85 x 85 jade-task button.
    {668, 679, R::Emoticon, 65, 65, "", "1|2|3|4|5|6|7|8|9|10|11|12", "5|8|10|12|14|16|6|20|24|9|18|30", F::Gif, B::Given, "emoticons 1-12"},
    {680, 680, R::Emoticon, 85, 85, "", "13", "12", F::Gif, B::Given, "emoticon 13 and jade-task button"},
    {681, 685, R::Emoticon, 65, 65, "", "14|15|16|17|18", "22|26|36|40|43", F::Gif, B::Given, "emoticons 14-18"},
    {765, 766, R::Placeholder, 48, 48, "", "", "1", F::Gif, B::Placeholder, "not described yet"},
    {767, 768, R::CaptionTab, 72, 24, "动态表情", "0|2", "1", F::Gif, B::Assumed, "emoticon picker tab"},
    {769, 769, R::Arrow, 40, 20, "", "0", "1", F::Gif, B::Assumed, "emoticon picker: previous page"},
    {770, 770, R::Placeholder, 48, 48, "", "", "1", F::Gif, B::Placeholder, "not described yet"},
    {771, 772, R::Arrow, 40, 20, "", "1|3", "1", F::Gif, B::Assumed, "emoticon picker: previous page"},
    {773, 773, R::Arrow, 40, 20, "", "10", "1", F::Gif, B::Assumed, "emoticon picker: next page"},
    {774, 774, R::Placeholder, 48, 48, "", "", "1", F::Gif, B::Placeholder, "not described yet"},
    {775, 776, R::Arrow, 40, 20, "", "11|13", "1", F::Gif, B::Assumed, "emoticon picker: next page"},
    {777, 777, R::TableBackground, 1024, 768, "", "0", "1", F::Jpeg, B::Given, "match-room table (JPEG)"},
    {780, 782, R::Button, 88, 30, "网银充值", "0|1|2", "1", F::Gif, B::Assumed, "recharge button 1"},
    {783, 785, R::Button, 88, 30, "快捷支付", "0|1|2", "1", F::Gif, B::Assumed, "recharge button 2"},
    {786, 786, R::Goods, 56, 56, "?", "0", "1", F::Gif, B::Assumed, "goods picture of any other goods"},
    // PNG sprite sheets.
    {801, 801, R::DigitSheet, 38, 530, "", "0", "1", F::Png, B::Given, "digits 0-9, cells 38 x 53"},
    {802, 802, R::BannerSheet, 603, 345, "", "0", "1", F::Png, B::Given, "three prize banners, cells 603 x 115"},
    {803, 803, R::JadeSheet, 1400, 1400, "", "0", "1", F::Png, B::Given, "jade animation, 4 x 4 cells of 350 x 350"},
    {804, 804, R::DigitSheet, 22, 290, "", "1", "1", F::Png, B::Given, "digits 0-9, cells 22 x 29"},
    {805, 805, R::FrameSheet, 418, 86, "", "0", "1", F::Png, B::Given, "frame under the jade digits"},
    {830, 831, R::Button, 100, 30, "兑换", "0|2", "1", F::Gif, B::Given, "exchange link"},
    {850, 851, R::CaptionTab, 60, 22, "短语一", "0|1", "1", F::Gif, B::Assumed, "phrase list 1 tab"},
    {852, 853, R::CaptionTab, 60, 22, "短语二", "0|1", "1", F::Gif, B::Assumed, "phrase list 2 tab"},
    {855, 866, R::Goods, 56, 56, "9|10|11|12|13|14|15|16|17|18|19|20", "9|10|11|12|13|14|15|16|17|18|19|20", "1", F::Gif, B::Assumed, "goods pictures of goods 9-20"},
    {867, 886, R::Prize, 84, 84, kPrizes, "0|1|2|3|4|5|6|7|8|9|10|11|12|13|14|15|16|17|18|19", "1", F::Gif, B::Given, "exchange prizes"},
    {900, 923, R::VipBadge, 41, 35, "", "0|1|2|3", "1", F::Gif, B::Given, "membership badges, levels 1-6, four pictures each"},
    // The table window's own frame and title-bar pictures (part of the window's design, not numbered by the program).
    {1001, 1001, R::WindowSkin, 46, 220, "", "0", "1", F::Gif, B::Given, "window frame skin"},
    {1002, 1004, R::WindowButton, 26, 17, "", "0|1|2", "1", F::Gif, B::Assumed, "close button: normal, hover, pressed"},
    {1005, 1007, R::WindowButton, 26, 17, "", "10|11|12", "1", F::Gif, B::Assumed, "minimise button: normal, hover, pressed"},
    {1008, 1008, R::WindowIcon, 32, 32, "麻", "0", "1", F::Gif, B::Assumed, "window icon"},
    {1009, 1009, R::Pointer, 32, 32, "", "0", "1", F::Png, B::Assumed, "pointer over a hand tile (PNG, hot spot 2,2)"},
    // The result windows' own backgrounds (part of each window's design).
    {1101, 1101, R::ResultPanel, 640, 480, "战绩板", "0", "1", F::Gif, B::Given, "score window background"},
    {1102, 1102, R::ResultPanel, 655, 454, "英雄榜", "1", "1", F::Gif, B::Given, "hand-history window background"},
    {1103, 1103, R::ResultPanel, 220, 330, "玩家信息", "2", "1", F::Gif, B::Given, "player card background"},
    // The settings, false-win notice and rules windows' own pictures.
    {1110, 1110, R::DialogPanel, 220, 330, "音效设置", "0", "1", F::Gif, B::Given, "settings window background"},
    {1111, 1114, R::OptionCaption, 91, 35, "背景音乐|系统声音|功能声音|方言选择", "0", "1", F::Gif, B::Given, "settings option captions"},
    {1115, 1115, R::DialogPanel, 348, 63, "", "1", "1", F::Gif, B::Given, "false-win notice banner"},
    {1116, 1116, R::CloseMark, 16, 16, "", "0", "1", F::Gif, B::Given, "false-win notice close picture"},
    {1117, 1117, R::DialogPanel, 337, 534, "", "2", "1", F::Gif, B::Given, "rules window parchment"},
    // The exit dialog's and the table notice's own backgrounds.
    {1120, 1120, R::DialogPanel, 300, 150, "退出", "3", "1", F::Gif, B::Given, "exit dialog background"},
    {1121, 1121, R::DialogPanel, 300, 150, "退出", "4", "1", F::Gif, B::Given, "table notice background"},
    // The match panels' own backgrounds: the match list, the ranking and the
    // status card laid over a finished match's row.
    {1130, 1130, R::MatchPanel, 620, 400, "", "0", "1", F::Gif, B::Given, "match list panel background"},
    {1131, 1131, R::MatchPanel, 620, 400, "", "1", "1", F::Gif, B::Given, "ranking panel background"},
    {1132, 1132, R::MatchPanel, 324, 166, "", "2", "1", F::Gif, B::Given, "match status card background"},
    // The services' own pictures: the customer-service icon, its window, the
    // report window and the prize-exchange window with its cells and page strip.
    {1140, 1141, R::Button, 55, 55, "客服", "1|0", "1", F::Gif, B::Assumed, "customer-service icon: highlighted, normal"},
    {1142, 1142, R::DialogPanel, 320, 260, "在线客服", "4", "1", F::Gif, B::Assumed, "customer-service window background"},
    {1143, 1146, R::Button, 60, 26, "发送|记录|回复|关闭", "0", "1", F::Gif, B::Assumed, "customer-service window buttons"},
    {1147, 1147, R::DialogPanel, 300, 150, "举报", "3", "1", F::Gif, B::Assumed, "report window background"},
    {1148, 1148, R::DialogPanel, 522, 490, "奖品兑换", "4", "1", F::Gif, B::Given, "prize-exchange window background"},
    {1149, 1149, R::Tab, 100, 100, "", "0", "1", F::Gif, B::Given, "prize-exchange cell frame"},
    {1150, 1150, R::Tab, 150, 45, "", "0", "1", F::Gif, B::Given, "prize-exchange page strip"},
    {1151, 1152, R::Arrow, 45, 45, "", "0|10", "1", F::Gif, B::Given, "prize-exchange previous and next page"},
};

#undef TILE_VIEW

QString Pick(const char* list, int i)
{
    const QStringList items = QString::fromUtf8(list).split(QLatin1Char('|'));
    return items.at(i % items.size());
}

} // namespace

std::vector<Art> ArtTable()
{
    std::vector<Art> table;
    for (const Row& row : kRows) {
        for (int id = row.first; id <= row.last; ++id) {
            const int i = id - row.first;
            Art a;
            a.id = id;
            a.role = row.role;
            a.w = row.w;
            a.h = row.h;
            a.caption = Pick(row.captions, i);
            a.param = Pick(row.params, i).toInt();
            a.frames = Pick(row.frames, i).toInt();
            a.format = row.format;
            a.basis = row.basis;
            a.note = QString::fromUtf8(row.note);
            if (!table.empty() && table.back().id >= id)
                throw std::logic_error("art table out of order");
            table.push_back(a);
        }
    }
    return table;
}

} // namespace resgen
