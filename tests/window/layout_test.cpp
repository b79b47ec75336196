// The start-up layout of the table window at both scales: where every
// control stands and how big it is, the pictures it gets, what it leaves
// shown and hidden, and that nothing of play lies under a windowed control.
#include "window/layout.h"

#include "core/startup.h"
#include "core/table_reset.h"
#include "support/paint_log.h"
#include "support/table_fixture.h"
#include "support/test_client.h"
#include "platform/web_panel.h"
#include "window/main_form.h"
#include "window/pictures.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QRectF>
#include <functional>
#include <gtest/gtest.h>

using testing_support::PromptFrame;
using testing_support::TableClient;
using testing_support::TestClient;
using window::MainForm;

namespace {

constexpr float kSmall = 0.78125f;

// The screen that gives each scale.
QSize ScreenFor(float scale) { return scale == 1.0f ? QSize(1024, 768) : QSize(800, 600); }

// Start-up's share of the layout: the window sized for the screen, the
// picture ids, then both layout procedures.
void LayOut(Client& c, float scale)
{
    core::SizeWindow(c, ScreenFor(scale));
    window::InitPicIds(c);
    window::LayoutTableControls(c);
    window::LayoutPlayControls(c);
}

struct Laid {
    explicit Laid(float scale) { LayOut(t.client, scale); }
    TestClient t;
    Client& c = t.client;
    MainForm& f = *t.client.MainForm;
};

struct Box {
    float left, top, width, height;
};

using Pick = std::function<platform::GraphicControl&(MainForm&)>;

struct PlaceCase {
    const char* name;
    Pick pick;
    Box full;
    Box small;
};

void PrintTo(const PlaceCase& p, std::ostream* os) { *os << p.name; }

class ControlPlace : public testing::TestWithParam<std::tuple<PlaceCase, float>> {};

TEST_P(ControlPlace, StandsWhereTheLayoutPutsIt)
{
    const auto& [place, scale] = GetParam();
    Laid laid(scale);
    const platform::GraphicControl& ctl = place.pick(laid.f);
    const Box& want = scale == 1.0f ? place.full : place.small;
    // Unrounded floats: the products of 0.78125 are exact.
    EXPECT_FLOAT_EQ(ctl.Left, want.left);
    EXPECT_FLOAT_EQ(ctl.Top, want.top);
    EXPECT_FLOAT_EQ(ctl.Width, want.width);
    EXPECT_FLOAT_EQ(ctl.Height, want.height);
}

// Members of the window or of the table board it derives from.
template <typename T, typename Owner>
Pick One(T Owner::*member)
{
    return [member](MainForm& f) -> platform::GraphicControl& { return f.*member; };
}
template <typename T, typename Owner>
Pick Member(platform::ControlArray<T> Owner::*array, int i)
{
    return [array, i](MainForm& f) -> platform::GraphicControl& { return (f.*array)[i]; };
}

const PlaceCase kPlaces[] = {
    // Upper left and the wild-tile panel; on the small layout the faces keep
    // their fractions and stand edge to edge.
    {"ZhiNan", One(&MainForm::ZhiNan), {10, 104, 77, 77}, {7.8125f, 81.25f, 60.15625f, 60.15625f}},
    {"Host", One(&MainForm::Host), {14, 198, 70, 25}, {10.9375f, 154.6875f, 70, 25}},
    {"Zhuang", One(&MainForm::Zhuang), {58, 198, 25, 25}, {45.3125f, 154.6875f, 25, 25}},
    {"Quoxa", One(&MainForm::Quoxa), {888, 100, 124, 107}, {693.75f, 78.125f, 96.875f, 83.59375f}},
    {"ZQ_Image", One(&MainForm::ZQ_Image), {900, 146, 33, 49}, {703.125f, 114.0625f, 25.78125f, 38.28125f}},
    {"imgPiZi0", Member(&MainForm::imgPiZi, 0), {938, 146, 33, 49}, {732.8125f, 114.0625f, 25.78125f, 38.28125f}},
    {"imgPiZi1", Member(&MainForm::imgPiZi, 1), {971, 146, 33, 49}, {758.59375f, 114.0625f, 25.78125f, 38.28125f}},
    // Seats: avatars scale, labels keep their design sizes.
    {"Tou0", Member(&MainForm::Tou, 0), {10, 668, 85, 90}, {7.8125f, 521.875f, 66.40625f, 70.3125f}},
    {"Tou1", Member(&MainForm::Tou, 1), {7, 15, 70, 62}, {5.46875f, 11.71875f, 54.6875f, 48.4375f}},
    {"Tou2", Member(&MainForm::Tou, 2), {350, 15, 70, 62}, {273.4375f, 11.71875f, 54.6875f, 48.4375f}},
    {"Tou3", Member(&MainForm::Tou, 3), {693, 15, 70, 62}, {541.40625f, 11.71875f, 54.6875f, 48.4375f}},
    // The badges shrink with the avatars on the small layout only.
    {"img_vip0", Member(&MainForm::img_vip, 0), {68, 730, 41, 35}, {53.125f, 570.3125f, 32.03125f, 27.34375f}},
    {"img_vip2", Member(&MainForm::img_vip, 2), {394, 60, 41, 35}, {307.8125f, 46.875f, 32.03125f, 27.34375f}},
    {"Nid0", Member(&MainForm::Nid, 0), {181, 700, 161, 25}, {141.40625f, 546.875f, 161, 25}},
    {"Nid3", Member(&MainForm::Nid, 3), {852, 15, 161, 25}, {665.625f, 11.71875f, 161, 25}},
    {"Cash1", Member(&MainForm::Cash, 1), {165, 40, 161, 17}, {128.90625f, 31.25f, 161, 17}},
    {"Level2", Member(&MainForm::Level, 2), {509, 64, 161, 17}, {397.65625f, 50, 161, 17}},
    {"lbl_score3", Member(&MainForm::lbl_score, 3), {852, 40, 161, 17}, {665.625f, 31.25f, 161, 17}},
    {"lbl_sort0", Member(&MainForm::lbl_sort, 0), {181, 744, 161, 17}, {141.40625f, 581.25f, 161, 17}},
    {"OK0", Member(&MainForm::OK, 0), {460, 530, 70, 29}, {359.375f, 414.0625f, 70, 29}},
    {"OK1", Member(&MainForm::OK, 1), {140, 280, 70, 29}, {109.375f, 218.75f, 70, 29}},
    {"OK3", Member(&MainForm::OK, 3), {900, 280, 70, 29}, {703.125f, 218.75f, 70, 29}},
    // Main buttons: two rows of four at steps of 70 (54.6875), the lower
    // row 32 (25) below; sizes from their pictures.
    // The send button shrinks with the small layout and so stays inside
    // the table's bottom edge (570.3125 + 23.4375 = 593.75).
    {"AnNiu0", Member(&MainForm::AnNiu, 0), {573, 730, 48, 30}, {447.65625f, 570.3125f, 37.5f, 23.4375f}},
    {"AnNiu1", Member(&MainForm::AnNiu, 1), {648, 699, 55, 31}, {506.25f, 546.09375f, 43, 24}},
    {"AnNiu4", Member(&MainForm::AnNiu, 4), {858, 699, 55, 31}, {670.3125f, 546.09375f, 43, 24}},
    {"AnNiu5", Member(&MainForm::AnNiu, 5), {648, 731, 55, 31}, {506.25f, 571.09375f, 43, 24}},
    {"AnNiu8", Member(&MainForm::AnNiu, 8), {858, 731, 55, 31}, {670.3125f, 571.09375f, 43, 24}},
    // The chat bar ends at the table's right edge; the two buttons end at
    // their pictures' sizes, shrunk with the small layout.
    {"imgLocation", One(&MainForm::imgLocation), {632, 654, 392, 39}, {493.75f, 510.9375f, 306.25f, 30.46875f}},
    {"imgword1", One(&MainForm::imgword1), {640, 660, 21, 22}, {500, 515.625f, 16.40625f, 17.1875f}},
    {"imgword2", One(&MainForm::imgword2), {668, 660, 27, 25}, {521.875f, 515.625f, 21.09375f, 19.53125f}},
    {"Location", One(&MainForm::Location), {760, 668, 120, 18}, {593.75f, 521.875f, 120, 18}},
    // Panels of other parts of the program.
    {"ImgJadeExch", One(&MainForm::ImgJadeExch), {3, 623, 93, 29}, {2.34375f, 486.71875f, 93, 29}},
    {"ImgJadeTask", One(&MainForm::ImgJadeTask), {3, 450, 85, 85}, {2.34375f, 351.5625f, 85, 85}},
    {"img_lianLaiBack", One(&MainForm::img_lianLaiBack), {420, 270, 150, 150},
     {328.125f, 210.9375f, 117.1875f, 117.1875f}},
    {"Bank", One(&MainForm::Bank), {699, 658, 54, 31}, {546.09375f, 514.0625f, 42.1875f, 24.21875f}},
    // Full scale: the report button shows its 57 x 51 picture unstretched;
    // small: 55 x 49 scaled and stretched; the 33 above the bar unscaled.
    {"cmdImpeach", One(&MainForm::cmdImpeach), {967, 570, 57, 51},
     {757.03125f, 439.65625f, 42.96875f, 38.28125f}},
    // Play controls.
    {"Speak0", Member(&MainForm::Speak, 0), {8, 330, 90, 67}, {6.25f, 257.8125f, 70.3125f, 52.34375f}},
    {"Speak1", Member(&MainForm::Speak, 1), {346, 129.6f, 79, 79}, {270.3125f, 101.25f, 61.71875f, 61.71875f}},
    // The right seat's picture ends at the table's right edge.
    {"Speak2", Member(&MainForm::Speak, 2), {934, 330, 90, 67}, {729.6875f, 257.8125f, 70.3125f, 52.34375f}},
    // The countdown under the wild-tile panel; on the small layout the
    // clock starts at the panel's left and the digits 2 further right.
    {"Time_Img", One(&MainForm::Time_Img), {920, 207, 81, 38}, {693.75f, 161.71875f, 63.28125f, 29.6875f}},
    {"Number", One(&MainForm::Number), {968, 212, 24, 24}, {733.25f, 165.625f, 18.75f, 18.75f}},
    {"Operation0", Member(&MainForm::Operation, 0), {358, 461, 50, 71}, {279.6875f, 360.15625f, 39.0625f, 55.46875f}},
    {"Operation1", Member(&MainForm::Operation, 1), {408, 461, 50, 71}, {318.75f, 360.15625f, 39.0625f, 55.46875f}},
    {"Operation2", Member(&MainForm::Operation, 2), {458, 461, 50, 71}, {357.8125f, 360.15625f, 39.0625f, 55.46875f}},
    {"Operation3", Member(&MainForm::Operation, 3), {508, 461, 50, 71}, {396.875f, 360.15625f, 39.0625f, 55.46875f}},
    {"Operation4", Member(&MainForm::Operation, 4), {558, 461, 50, 71}, {435.9375f, 360.15625f, 39.0625f, 55.46875f}},
    {"Lbchat", One(&MainForm::Lbchat), {594, 694, 25, 33}, {464.0625f, 542.1875f, 19.53125f, 25.78125f}},
    {"Bird", One(&MainForm::Bird), {936, 680, 82, 80}, {731.25f, 531.25f, 64.0625f, 62.5f}},
    // Multiplier indicators: texts at 60 instead of 55 on the small layout,
    // the multiplier 4 lower; the dice 4 higher, the second at 44.
    // The two pictures shrink on the small layout, the upper one ending
    // where the lower one starts (215.625 + 21.875 = 237.5).
    {"imgBeishu", One(&MainForm::imgBeishu), {3, 272, 48, 28}, {2.34375f, 215.625f, 37.5f, 21.875f}},
    {"lblDifen", One(&MainForm::lblDifen), {55, 276, 70, 30}, {46.875f, 218.75f, 70, 30}},
    {"Imgwealth", One(&MainForm::Imgwealth), {3, 304, 48, 28}, {2.34375f, 237.5f, 37.5f, 21.875f}},
    {"lbwealth", One(&MainForm::lbwealth), {55, 308, 70, 30}, {46.875f, 240.625f, 70, 30}},
    {"imgsezi0", Member(&MainForm::imgsezi, 0), {14, 242, 0, 0}, {10.9375f, 185.0625f, 0, 0}},
    {"imgsezi1", Member(&MainForm::imgsezi, 1), {48, 242, 0, 0}, {34.375f, 185.0625f, 0, 0}},
    {"lbfont0", Member(&MainForm::lbfont, 0), {424, 280, 180, 24}, {321.25f, 218.75f, 180, 24}},
    {"lbfont2", Member(&MainForm::lbfont, 2), {424, 344, 180, 24}, {321.25f, 268.75f, 180, 24}},
    // The prop label round the local avatar: 7 scaled by ScaleX, 35 not.
    {"Proponeself", One(&MainForm::Proponeself), {0, 658, 100, 118}, {0, 514.0625f, 78.125f, 99.84375f}},
};

INSTANTIATE_TEST_SUITE_P(Layout, ControlPlace, testing::Combine(testing::ValuesIn(kPlaces), testing::Values(1.0f, kSmall)),
                         [](const testing::TestParamInfo<std::tuple<PlaceCase, float>>& info) {
                             return std::string(std::get<0>(info.param).name) +
                                    (std::get<1>(info.param) == 1.0f ? "_Full" : "_Small");
                         });

// Windowed controls take whole pixels, each value rounded halves to even.
struct WidgetCase {
    const char* name;
    std::function<QWidget*(MainForm&)> pick;
    QRect full;
    QRect small;
};

void PrintTo(const WidgetCase& w, std::ostream* os) { *os << w.name; }

class WidgetPlace : public testing::TestWithParam<std::tuple<WidgetCase, float>> {};

TEST_P(WidgetPlace, StandsOnTheRoundedPlace)
{
    const auto& [place, scale] = GetParam();
    Laid laid(scale);
    EXPECT_EQ(place.pick(laid.f)->geometry(), scale == 1.0f ? place.full : place.small);
}

const WidgetCase kWidgets[] = {
    // Full: height 26 / 2 at 696 and 709. Small: (26 x 0.78125 + 4) / 2 =
    // 12.15625 at 541.75 and 553.90625, on the scaled left and width.
    {"Sysmsg0", [](MainForm& f) -> QWidget* { return f.Sysmsg[0]; }, {312, 696, 281, 13}, {244, 542, 220, 12}},
    {"Sysmsg1", [](MainForm& f) -> QWidget* { return f.Sysmsg[1]; }, {312, 709, 281, 13}, {244, 554, 220, 12}},
    {"Chat", [](MainForm& f) -> QWidget* { return f.Chat; }, {312, 732, 250, 33}, {244, 572, 195, 26}},
    {"uc_lianLai", [](MainForm& f) -> QWidget* { return f.uc_lianLai; }, {420, 270, 150, 150}, {328, 211, 117, 117}},
    {"Picture_ani2", [](MainForm& f) -> QWidget* { return f.Picture_ani[2]; }, {458, 370, 111, 133},
     {358, 289, 87, 104}},
};

INSTANTIATE_TEST_SUITE_P(Layout, WidgetPlace, testing::Combine(testing::ValuesIn(kWidgets), testing::Values(1.0f, kSmall)),
                         [](const testing::TestParamInfo<std::tuple<WidgetCase, float>>& info) {
                             return std::string(std::get<0>(info.param).name) +
                                    (std::get<1>(info.param) == 1.0f ? "_Full" : "_Small");
                         });

TEST(Layout, SystemBoxesAreGivenUnroundedHeightsThatMeetExactly)
{
    // Each box is rounded on its own; the second starts where the first ends.
    for (float scale : {1.0f, kSmall}) {
        Laid laid(scale);
        const QRect first = laid.f.Sysmsg[0]->geometry();
        EXPECT_EQ(laid.f.Sysmsg[1]->geometry().top(), first.top() + first.height()) << scale;
    }
}

TEST(Layout, VideoPromptIsCentredOnTheWindow)
{
    for (float scale : {1.0f, kSmall}) {
        Laid laid(scale);
        const QRect r = laid.f.pic_gskh_back->geometry();
        EXPECT_NEAR(r.left() + r.width() / 2.0, laid.f.width() / 2.0, 0.5) << scale;
        EXPECT_NEAR(r.top() + r.height() / 2.0, laid.f.height() / 2.0, 0.5) << scale;
        EXPECT_TRUE(laid.f.pic_gskh_back->isHidden());
    }
}

// Font size 8 only on the small layout: on the level of every seat, on the
// money and match labels of the other three seats only.
TEST(Layout, SmallLayoutSetsTheSmallTypeOnlyWhereItBelongs)
{
    Laid full(1.0f);
    Laid small(kSmall);
    for (int v = 0; v < 4; ++v) {
        const bool other = v > 0;
        EXPECT_FLOAT_EQ(small.f.Level[v].FontSize, 8) << v;
        EXPECT_FLOAT_EQ(full.f.Level[v].FontSize, full.f.Level[0].FontSize) << v;
        for (auto array : {&MainForm::Cash, &MainForm::lbl_score, &MainForm::lbl_sort}) {
            EXPECT_FLOAT_EQ((small.f.*array)[v].FontSize, other ? 8.0f : (full.f.*array)[0].FontSize) << v;
            EXPECT_FLOAT_EQ((full.f.*array)[v].FontSize, (full.f.*array)[0].FontSize) << v;
        }
        EXPECT_FLOAT_EQ(small.f.Nid[v].FontSize, full.f.Nid[0].FontSize) << v;
    }
    EXPECT_FLOAT_EQ(full.f.lblDifen.FontSize, 18);
    EXPECT_FLOAT_EQ(full.f.lbwealth.FontSize, 18);
    EXPECT_FLOAT_EQ(small.f.Number.FontSize, 12);
    EXPECT_GT(full.f.Number.FontSize, 12);
}

struct PictureCase {
    const char* name;
    Pick pick;
    int full;
    int small;
};

void PrintTo(const PictureCase& p, std::ostream* os) { *os << p.name; }

class ControlPicture : public testing::TestWithParam<std::tuple<PictureCase, float>> {};

TEST_P(ControlPicture, ShowsItsResource)
{
    const auto& [pic, scale] = GetParam();
    Laid laid(scale);
    auto& image = dynamic_cast<platform::Image&>(pic.pick(laid.f));
    EXPECT_EQ(image.PictureId(), scale == 1.0f ? pic.full : pic.small);
}

const PictureCase kPictures[] = {
    {"imgPiZi0", Member(&MainForm::imgPiZi, 0), 349, 349},
    {"imgPiZi1", Member(&MainForm::imgPiZi, 1), 350, 350},
    {"ImgJadeExch", One(&MainForm::ImgJadeExch), 560, 560},
    {"ImgJadeTask", One(&MainForm::ImgJadeTask), 680, 680},
    {"imgword1", One(&MainForm::imgword1), 660, 660},
    {"imgword2", One(&MainForm::imgword2), 664, 664},
    {"img_lianLaiBack", One(&MainForm::img_lianLaiBack), 477, 477},
    // Send; chat; start; then the pairs after continue: settings ... exit.
    {"AnNiu0", Member(&MainForm::AnNiu, 0), 101, 101},
    {"AnNiu1", Member(&MainForm::AnNiu, 1), 103, 381},
    {"AnNiu2", Member(&MainForm::AnNiu, 2), 105, 383},
    {"AnNiu3", Member(&MainForm::AnNiu, 3), 109, 387},
    {"AnNiu8", Member(&MainForm::AnNiu, 8), 119, 397},
    {"Operation0", Member(&MainForm::Operation, 0), 141, 141},
    {"Operation4", Member(&MainForm::Operation, 4), 153, 153},
    {"SZ_Image0", Member(&MainForm::SZ_Image, 0), 161, 161},
    {"SZ_Image15", Member(&MainForm::SZ_Image, 15), 176, 176},
};

INSTANTIATE_TEST_SUITE_P(Layout, ControlPicture,
                         testing::Combine(testing::ValuesIn(kPictures), testing::Values(1.0f, kSmall)),
                         [](const testing::TestParamInfo<std::tuple<PictureCase, float>>& info) {
                             return std::string(std::get<0>(info.param).name) +
                                    (std::get<1>(info.param) == 1.0f ? "_Full" : "_Small");
                         });

TEST(Layout, TheWildPanelShowsThePanelPicture)
{
    Laid laid(1.0f);
    EXPECT_FALSE(laid.f.Quoxa.GetPicture().isNull());
    EXPECT_EQ(laid.f.Quoxa.GetPicture().image, laid.f.quoxaImg.GetPicture().image);
    EXPECT_TRUE(laid.f.Quoxa.Visible);
}

// A client whose every value the layout sets is dirty, so that each reset
// shows.
struct DirtyLaid {
    explicit DirtyLaid(float scale)
    {
        GameState& g = t.client.game;
        g.AnNiuPressed.fill(-1);
        t.client.window.AnNiuHoverShown.fill(1);
        g.GameRunning = 0;
        g.PicAniRunning = -1;
        t.client.rewards.PropAniTicks.fill(5);
        t.client.rewards.PropAniState.fill(2);
        t.client.rewards.PropAniOn = -1;
        g.SeatDrawArmed = g.PropResultDue = -1;
        g.PropRoundState = 3;
        g.ImpeachOffered = -1;
        t.client.match.ReservedMoney = 0;
        t.client.match.MatchPanelMode = 2;
        g.SeatWealth.fill(30);
        g.WealthCaption = QStringLiteral("3");
        MainForm& f = *t.client.MainForm;
        f.Timer_ani->SetEnabled(true);
        f.lbl_matchinfo[1].Caption = QStringLiteral("4000");
        for (int i = 0; i < 5; ++i)
            f.Operation[i].Visible = f.Operation[i].Enabled = true;
        for (int i = 0; i < 3; ++i)
            f.Speak[i].Visible = true;
        LayOut(t.client, scale);
    }
    TestClient t;
    MainForm& f = *t.client.MainForm;
    GameState& g = t.client.game;
};

class AfterLayout : public testing::TestWithParam<float> {};

TEST_P(AfterLayout, PlayControlsAreHiddenAndTheBoxesShown)
{
    DirtyLaid laid(GetParam());
    MainForm& f = laid.f;
    for (int i = 0; i < 5; ++i) {
        EXPECT_FALSE(f.Operation[i].Visible) << i;
        EXPECT_FALSE(f.Operation[i].Enabled) << i;
    }
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(f.Speak[i].Visible) << i;
    for (const platform::GraphicControl* hidden : std::initializer_list<const platform::GraphicControl*>{
             &f.ZhiNan, &f.ZQ_Image, &f.imgPiZi[0], &f.imgPiZi[1], &f.ImgJadeTask, &f.cmdImpeach, &f.imgBeishu,
             &f.lblDifen, &f.Imgwealth, &f.lbwealth, &f.imgsezi[0], &f.imgsezi[1], &f.lbfont[0], &f.lbfont[1],
             &f.lbfont[2], &f.img_lianLaiBack, &f.Time_Img, &f.Number})
        EXPECT_FALSE(hidden->Visible) << hidden->Name.toStdString();
    EXPECT_FALSE(f.cmdImpeach.Enabled);
    for (int v = 0; v < 4; ++v) {
        EXPECT_FALSE(f.img_vip[v].Visible) << v;
        EXPECT_TRUE(f.Tou[v].Visible) << v;
    }
    for (int v = 1; v < 4; ++v) {
        EXPECT_FALSE(f.OK[v].Visible) << v;
        for (auto array : {&MainForm::Nid, &MainForm::Cash, &MainForm::Level, &MainForm::lbl_score, &MainForm::lbl_sort})
            EXPECT_TRUE((f.*array)[v].Visible) << v;
    }
    for (int i = 0; i < 9; ++i)
        EXPECT_TRUE(f.AnNiu[i].Visible) << i;
    for (const platform::GraphicControl* shown : std::initializer_list<const platform::GraphicControl*>{
             &f.Bank, &f.ImgJadeExch, &f.Bird, &f.Quoxa, &f.imgLocation, &f.imgword1, &f.imgword2, &f.Lbchat})
        EXPECT_TRUE(shown->Visible) << shown->Name.toStdString();
    EXPECT_TRUE(f.Proponeself.Enabled);
    EXPECT_FALSE(f.Sysmsg[0]->isHidden());
    EXPECT_FALSE(f.Sysmsg[1]->isHidden());
    EXPECT_FALSE(f.Chat->isHidden());
    EXPECT_TRUE(f.uc_lianLai->isHidden());
    for (platform::PictureBox* p : f.Picture_ani)
        EXPECT_TRUE(p->isHidden());
    EXPECT_TRUE(f.WebBrowser1->isHidden());
    EXPECT_FALSE(f.Timer_ani->Enabled());
}

TEST_P(AfterLayout, StateStartsAfresh)
{
    DirtyLaid laid(GetParam());
    const GameState& g = laid.g;
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(g.AnNiuPressed[static_cast<std::size_t>(i)], 0) << i;
        EXPECT_EQ(laid.t.client.window.AnNiuHoverShown[static_cast<std::size_t>(i)], 0) << i;
    }
    EXPECT_EQ(g.GameRunning, -1);
    EXPECT_EQ(g.PicAniRunning, 0);
    for (int v = 0; v < 4; ++v) {
        EXPECT_EQ(laid.t.client.rewards.PropAniTicks[static_cast<std::size_t>(v)], 0);
        EXPECT_EQ(laid.t.client.rewards.PropAniState[static_cast<std::size_t>(v)], 0);
        EXPECT_EQ(g.SeatWealth[static_cast<std::size_t>(v)], 0);
    }
    EXPECT_EQ(laid.t.client.rewards.PropAniOn, 0);
    EXPECT_EQ(g.SeatDrawArmed, 0);
    EXPECT_EQ(g.PropResultDue, 0);
    EXPECT_EQ(g.PropRoundState, 0);
    EXPECT_EQ(g.ImpeachOffered, 0);
    EXPECT_EQ(laid.t.client.match.ReservedMoney, 200.0);
    EXPECT_EQ(laid.t.client.match.MatchPanelMode, 0);
    EXPECT_TRUE(g.WealthCaption.isEmpty());
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(laid.f.lbl_matchinfo[i].Caption.isEmpty()) << i;
    for (const platform::GraphicControl* button : std::initializer_list<const platform::GraphicControl*>{
             &laid.f.imgword1, &laid.f.imgword2, &laid.f.ImgJadeExch, &laid.f.ImgJadeTask})
        EXPECT_EQ(button->Tag, QStringLiteral("0")) << button->Name.toStdString();
}

TEST_P(AfterLayout, DrawingOrderPutsTheFrontControlsInFront)
{
    DirtyLaid laid(GetParam());
    MainForm& f = laid.f;
    const auto& order = f.pic1->ZOrderList();
    auto at = [&order](const platform::GraphicControl& c) {
        return std::find(order.begin(), order.end(), &c) - order.begin();
    };
    // Tile images: each later one in front, then image 0 in front of all.
    EXPECT_GT(at(f.MJ_Image[135]), at(f.MJ_Image[1]));
    EXPECT_GT(at(f.MJ_Image[0]), at(f.MJ_Image[135]));
    // The wild faces lie on their panel; the prop label over the avatar; the
    // bar's buttons on the bar.
    EXPECT_GT(at(f.ZQ_Image), at(f.Quoxa));
    EXPECT_GT(at(f.Proponeself), at(f.Tou[0]));
    EXPECT_GT(at(f.Proponeself), at(f.img_vip[0]));
    for (const platform::GraphicControl* onBar : std::initializer_list<const platform::GraphicControl*>{
             &f.imgword1, &f.imgword2, &f.Location, &f.Bank})
        EXPECT_GT(at(*onBar), at(f.imgLocation)) << onBar->Name.toStdString();
    EXPECT_GT(at(f.Bird), at(f.imgLocation));
}

INSTANTIATE_TEST_SUITE_P(Scales, AfterLayout, testing::Values(1.0f, kSmall),
                         [](const testing::TestParamInfo<float>& info) {
                             return std::string(info.param == 1.0f ? "Full" : "Small");
                         });

// A seated table laid out at a scale, with a hand in the local player's row.
struct LaidTable {
    explicit LaidTable(float scale) : table(0, scale)
    {
        LayOut(table.c, scale);
        core::ClearTableTiles(table.c);
        core::ResetTableDisplay(table.c);
        core::ResetPlayerState(table.c);
        table.GiveOwnHand({0x11, 0x12, 0x13, 0x21, 0x22, 0x23, 0x41, 0x42, 0x43, 0x81, 0x82, 0x83, 0x15, 0x15});
        // The local seat's panel as a seated player sees it.
        window::MainForm& f = table.f;
        f.Nid[0].SetCaption(QStringLiteral("[新手] 东方不败"));
        f.Cash[0].SetCaption(QStringLiteral("1234567金币"));
        f.Level[0].SetCaption(QStringLiteral("新手"));
    }
    TableClient table;
};

// What a control draws: an image its rectangle, a label the extent of its
// caption from its top left (labels are often wider than their text).
QRectF Drawn(const MainForm& f, const platform::GraphicControl& g)
{
    const auto* label = dynamic_cast<const platform::Label*>(&g);
    if (!label)
        return QRectF(g.Left, g.Top, g.Width, g.Height);
    QFont font = f.pic1->font();
    font.setPointSizeF(label->FontSize);
    font.setBold(label->FontBold);
    const QRectF text = QFontMetricsF(font).boundingRect(
        QRectF(g.Left, g.Top, g.Width, g.Height), Qt::AlignTop | Qt::AlignLeft | Qt::TextWordWrap, label->Caption);
    return label->Caption.isEmpty() ? QRectF() : text;
}

// Every visible graphic control that draws something against every visible
// windowed control on the table: none may lie under one.
void ExpectNothingUnderWindowedControls(MainForm& f, const std::string& when)
{
    std::vector<QWidget*> windowed;
    for (QObject* child : f.pic1->children())
        if (auto* w = qobject_cast<QWidget*>(child); w && !w->isHidden())
            windowed.push_back(w);
    ASSERT_GE(windowed.size(), 3u) << "the two system boxes and the chat line";
    for (const platform::GraphicControl* g : f.pic1->ZOrderList()) {
        const QRectF r = Drawn(f, *g);
        if (!g->Visible || r.isEmpty())
            continue;
        for (const QWidget* w : windowed) {
            const QRectF covered = r.intersected(QRectF(w->geometry()));
            EXPECT_TRUE(covered.isEmpty()) << when << ": " << g->Name.toStdString() << "(" << g->Index << ") under "
                                           << w->objectName().toStdString();
        }
    }
}

class Uncovered : public testing::TestWithParam<float> {};

TEST_P(Uncovered, ClaimButtonsAndTheOwnCountdownLieClearOfTheBoxes)
{
    LaidTable laid(GetParam());
    laid.table.Deliver(PromptFrame(1, 33, 0x1C));
    MainForm& f = laid.table.f;
    for (int k = 0; k < 5; ++k)
        ASSERT_TRUE(f.Operation[k].Visible) << k;
    ASSERT_TRUE(f.Time_Img.Visible);
    ASSERT_TRUE(f.Number.Visible);
    ExpectNothingUnderWindowedControls(f, "own turn");
}

TEST_P(Uncovered, EveryOtherSeatsCountdownLiesClearOfTheBoxes)
{
    LaidTable laid(GetParam());
    for (int view = 1; view <= 3; ++view) {
        laid.table.Deliver(PromptFrame(laid.table.SeatBitOf(view), 40 + view, 0));
        ASSERT_TRUE(laid.table.f.Time_Img.Visible) << view;
        ExpectNothingUnderWindowedControls(laid.table.f, "turn of view " + std::to_string(view));
    }
}

INSTANTIATE_TEST_SUITE_P(Scales, Uncovered, testing::Values(1.0f, kSmall),
                         [](const testing::TestParamInfo<float>& info) {
                             return std::string(info.param == 1.0f ? "Full" : "Small");
                         });

// A laid-out table on screen with everything a game may show at once: the
// compass, the banker mark, every seat's panel, badge and ready mark, the
// speech pictures, the countdown, the claim buttons, the wild-tile panel,
// the multipliers and dice, the report and jade-task buttons.
struct BusyTable : Laid {
    explicit BusyTable(float scale) : Laid(scale)
    {
        const window::PicIdTables& ids = c.window.PicIds;
        window::LoadGifResource(ids.CompassPicIds[0], kGifType, f.ZhiNan);
        for (int v = 0; v < 4; ++v) {
            f.Nid[v].SetCaption(QStringLiteral("[新手] 东方不败"));
            f.Cash[v].SetCaption(QStringLiteral("1234567金币"));
            f.Level[v].SetCaption(QStringLiteral("新手"));
        }
        f.Location.SetCaption(QStringLiteral("广东 深圳"));
        for (int i = 0; i < 3; ++i)
            window::LoadGifResource(ids.SpeakPicIds[static_cast<std::size_t>(i + 1)][0], kGifType, f.Speak[i]);
        f.Number.SetCaption(QStringLiteral("15"));
        window::LoadGifResource(349, kGifType, f.ZQ_Image);
        f.lblDifen.SetCaption(QStringLiteral("×4"));
        f.lbwealth.SetCaption(QStringLiteral("×2"));
        for (int i = 0; i < 2; ++i)
            window::LoadGifResource(ids.DicePicIds[static_cast<std::size_t>(i + 2)], kGifType, f.imgsezi[i]);
        std::vector<platform::GraphicControl*> shown{&f.ZhiNan,    &f.Host,         &f.Zhuang,       &f.Time_Img,
                                                     &f.Number,    &f.ZQ_Image,     &f.imgPiZi[0],   &f.imgPiZi[1],
                                                     &f.cmdImpeach, &f.ImgJadeTask, &f.imgBeishu,    &f.Imgwealth,
                                                     &f.lblDifen,  &f.lbwealth,     &f.imgsezi[0],   &f.imgsezi[1]};
        for (int v = 0; v < 4; ++v)
            for (platform::GraphicControl* seat : std::initializer_list<platform::GraphicControl*>{&f.OK[v], &f.img_vip[v]})
                shown.push_back(seat);
        for (int i = 0; i < 3; ++i)
            shown.push_back(&f.Speak[i]);
        for (int i = 0; i < 5; ++i)
            shown.push_back(&f.Operation[i]);
        for (platform::GraphicControl* g : shown)
            g->SetVisible(true);
        f.show();
        testing_support::SettlePainting();
    }
    ~BusyTable() { f.hide(); }

    static inline const QString kGifType = QStringLiteral("GIF");
};

std::string Named(const platform::GraphicControl& g)
{
    return g.Name.toStdString() + "(" + std::to_string(g.Index) + ")";
}

class OnTheTable : public testing::TestWithParam<float> {};

// Every control the table may show lies inside the table picture: the graphic
// controls with what they draw, the windowed ones with their whole box.
TEST_P(OnTheTable, NoControlLeavesTheTablePicture)
{
    BusyTable busy(GetParam());
    MainForm& f = busy.f;
    const QRectF table(0, 0, f.pic1->width(), f.pic1->height());
    ASSERT_EQ(table.size(), GetParam() == 1.0f ? QSizeF(1024, 768) : QSizeF(800, 600));
    constexpr double kExact = 1e-3;
    int checked = 0;
    for (const platform::GraphicControl* g : f.pic1->ZOrderList()) {
        const QRectF r = Drawn(f, *g);
        if (!g->Visible || r.isEmpty())
            continue;
        ++checked;
        EXPECT_GE(r.left(), -kExact) << Named(*g);
        EXPECT_GE(r.top(), -kExact) << Named(*g);
        EXPECT_LE(r.right(), table.right() + kExact) << Named(*g);
        EXPECT_LE(r.bottom(), table.bottom() + kExact) << Named(*g);
    }
    EXPECT_GE(checked, 50) << "the busy table shows its controls";
    for (QObject* child : f.pic1->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (w && !w->isHidden()) {
            EXPECT_TRUE(f.pic1->rect().contains(w->geometry())) << w->objectName().toStdString();
        }
    }
}

QRectF BoxOf(const platform::GraphicControl& g) { return QRectF(g.Left, g.Top, g.Width, g.Height); }

// Controls that stand side by side, none over another: the chat bar's
// buttons and location text (all on the bar), and the two multiplier
// pictures.
TEST_P(OnTheTable, NoTwoControlsOfTheChatBarOrOfTheMultipliersOverlap)
{
    Laid laid(GetParam());
    MainForm& f = laid.f;
    const QRectF bar = BoxOf(f.imgLocation);
    const std::vector<const platform::GraphicControl*> groups[] = {{&f.imgword1, &f.imgword2, &f.Bank, &f.Location},
                                                                  {&f.imgBeishu, &f.Imgwealth}};
    for (const auto& group : groups)
        for (std::size_t i = 0; i < group.size(); ++i) {
            const platform::GraphicControl& a = *group[i];
            if (&group == &groups[0]) {
                EXPECT_TRUE(bar.contains(BoxOf(a))) << Named(a);
            }
            for (std::size_t j = i + 1; j < group.size(); ++j)
                EXPECT_FALSE(BoxOf(a).intersects(BoxOf(*group[j]))) << Named(a) << " on " << Named(*group[j]);
        }
}

// The pixels of the table picture inside a control's box.
QImage Grab(const MainForm& f, const platform::GraphicControl& g)
{
    return f.pic1->grab().toImage().convertToFormat(QImage::Format_RGB32).copy(
        QRectF(g.Left, g.Top, g.Width, g.Height).toAlignedRect());
}

// The winds are the only part of the compass that changes with the own seat:
// the pixels that differ between two seats' compasses are the winds. They
// stay on the compass's light face, clear of its rim, and each of the four
// survives the small layout's shrinking.
TEST_P(OnTheTable, CompassWindsLieInsideTheCompass)
{
    BusyTable busy(GetParam());
    MainForm& f = busy.f;
    const QImage seat0 = Grab(f, f.ZhiNan);
    window::LoadGifResource(busy.c.window.PicIds.CompassPicIds[1], BusyTable::kGifType, f.ZhiNan);
    testing_support::SettlePainting();
    const QImage seat1 = Grab(f, f.ZhiNan);
    ASSERT_EQ(seat0.size(), seat1.size());
    const QPointF centre(f.ZhiNan.Left + f.ZhiNan.Width / 2 - std::floor(f.ZhiNan.Left),
                         f.ZhiNan.Top + f.ZhiNan.Height / 2 - std::floor(f.ZhiNan.Top));
    const double radius = f.ZhiNan.Width / 2;
    int sides[4] = {}; // below, left, above, right
    int offFace = 0;
    QPoint firstOffFace;
    for (int y = 0; y < seat0.height(); ++y)
        for (int x = 0; x < seat0.width(); ++x) {
            const QColor a = seat0.pixelColor(x, y);
            const QColor b = seat1.pixelColor(x, y);
            if (std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue()) < 60)
                continue;
            const double dx = x + 0.5 - centre.x();
            const double dy = y + 0.5 - centre.y();
            if (std::hypot(dx, dy) > 0.86 * radius && offFace++ == 0)
                firstOffFace = QPoint(x, y);
            ++sides[std::abs(dx) > std::abs(dy) ? (dx < 0 ? 1 : 3) : (dy > 0 ? 0 : 2)];
        }
    EXPECT_EQ(offFace, 0) << "wind ink on the rim, first at " << firstOffFace.x() << "," << firstOffFace.y();
    for (int side = 0; side < 4; ++side)
        EXPECT_GE(sides[side], 20 * GetParam() * GetParam()) << "wind " << side;
}

// The mascot's beak is drawn whole on both layouts: inside the mascot's box
// with room to spare, and as long on the small layout as the scale makes it.
TEST(Layout, MascotBeakIsDrawnWholeAtBothScales)
{
    struct Beak {
        int left = 1 << 20, right = -1, pixels = 0;
    };
    auto beakOf = [](const MainForm& f) {
        const QImage bird = Grab(f, f.Bird);
        Beak beak;
        // The orange of the beak in the upper right of the picture (the feet
        // below are orange too).
        for (int y = bird.height() / 4; y < bird.height() * 6 / 10; ++y)
            for (int x = bird.width() / 2; x < bird.width(); ++x) {
                const QColor q = bird.pixelColor(x, y);
                if (q.red() > 200 && q.green() > 130 && q.green() < 200 && q.blue() < 80) {
                    beak.left = std::min(beak.left, x);
                    beak.right = std::max(beak.right, x);
                    ++beak.pixels;
                }
            }
        return beak;
    };
    BusyTable full(1.0f);
    const Beak big = beakOf(full.f);
    ASSERT_GT(big.pixels, 30);
    EXPECT_LE(big.right, full.f.Bird.Width - 5);
    BusyTable small(kSmall);
    const Beak shrunk = beakOf(small.f);
    EXPECT_GE(shrunk.pixels, big.pixels * kSmall * kSmall * 0.8f);
    EXPECT_GE(shrunk.right - shrunk.left + 1, (big.right - big.left + 1) * kSmall * 0.8f);
    EXPECT_LE(shrunk.right, small.f.Bird.Width - 3);
}

// The send button keeps its size through its hover picture and back.
TEST_P(OnTheTable, SendButtonKeepsItsLayoutSizeThroughTheHover)
{
    BusyTable busy(GetParam());
    MainForm& f = busy.f;
    platform::Image& send = f.AnNiu[0];
    const QSizeF laid(send.Width, send.Height);
    EXPECT_EQ(laid, GetParam() == 1.0f ? QSizeF(48, 30) : QSizeF(37.5, 23.4375));
    auto moveTo = [&f](QPointF at) {
        QMouseEvent e(QEvent::MouseMove, at, f.pic1->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(f.pic1, &e);
    };
    moveTo(QPointF(send.Left + send.Width / 2, send.Top + send.Height / 2));
    ASSERT_EQ(send.PictureId(), busy.c.window.PicIds.AnNiuPicIds[1].toInt()) << "the hover picture";
    EXPECT_EQ(QSizeF(send.Width, send.Height), laid);
    // Back over the bare cloth, where no control lies.
    QPointF cloth(-1, -1);
    for (int y = 200; y < 500 && cloth.x() < 0; y += 10)
        for (int x = 300; x < 700 && cloth.x() < 0; x += 10)
            if (!f.pic1->ControlAt(static_cast<float>(x), static_cast<float>(y)) && !f.pic1->childAt(QPoint(x, y)))
                cloth = QPointF(x, y);
    ASSERT_GE(cloth.x(), 0);
    moveTo(cloth);
    ASSERT_EQ(send.PictureId(), busy.c.window.PicIds.AnNiuPicIds[0].toInt()) << "the normal picture";
    EXPECT_EQ(QSizeF(send.Width, send.Height), laid);
}

INSTANTIATE_TEST_SUITE_P(Scales, OnTheTable, testing::Values(1.0f, kSmall),
                         [](const testing::TestParamInfo<float>& info) {
                             return std::string(info.param == 1.0f ? "Full" : "Small");
                         });

} // namespace
