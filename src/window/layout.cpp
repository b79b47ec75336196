#include "window/layout.h"

#include "app/client.h"
#include "platform/web_panel.h"
#include "services/gm_channel.h"
#include "window/main_form.h"
#include "window/pictures.h"

#include <QWidget>
#include <array>
#include <utility>
#include <cmath>

namespace window {

namespace {

const QString kGif = QStringLiteral("GIF");

// A windowed control takes whole pixels: each value rounded, halves to even.
void PlaceWidget(QWidget* w, double left, double top, double width, double height)
{
    w->setGeometry(static_cast<int>(std::lrint(left)), static_cast<int>(std::lrint(top)),
                   static_cast<int>(std::lrint(width)), static_cast<int>(std::lrint(height)));
}

// A further member of a control array: a copy of element 0, hidden, on top
// of the graphic layer. The arrays hold every member from the start, so
// this only gives the member its first state.
template <typename T>
void LoadMember(platform::ControlArray<T>& array, int i)
{
    T& member = array[i];
    member.CopyFrom(array[0]);
    member.Visible = false;
    member.ZOrder(0);
}

// The picture of an id-table entry, by its number.
void LoadPicture(const QString& id, platform::Image& image) { LoadGifResource(id, kGif, image); }

struct SeatPoint {
    float left, top;
};
using SeatPoints = std::array<SeatPoint, 4>;

// Base positions of the seat controls by view: 0 bottom, 1 left, 2 opposite,
// 3 right; the avatars of views 1-3 stand in one row along the top.
constexpr SeatPoints kAvatar{{{10, 668}, {7, 15}, {350, 15}, {693, 15}}};
constexpr SeatPoints kVipBadge{{{68, 730}, {50, 60}, {394, 60}, {740, 60}}};
constexpr SeatPoints kName{{{181, 700}, {165, 15}, {509, 15}, {852, 15}}};
constexpr SeatPoints kMoney{{{181, 724}, {165, 40}, {509, 40}, {852, 40}}};
constexpr SeatPoints kLevel{{{181, 744}, {165, 64}, {509, 64}, {852, 64}}};
constexpr SeatPoints kReady{{{460, 530}, {140, 280}, {460, 88}, {900, 280}}};

// The chat bar's width: from its left edge at 632 to the table's right edge.
constexpr float kChatBarWidth = 1024 - 632;

// Places the seat name, money and level labels, their match twins and the
// chat bar with its buttons.
void LayoutLocationImages(Client& c)
{
    MainForm& f = *c.MainForm;
    const float sx = c.game.ScaleX;
    const float sy = c.game.ScaleY;
    const bool small = sx < 1;
    for (int v = 0; v < 4; ++v) {
        const auto i = static_cast<std::size_t>(v);
        f.Nid[v].Move(kName[i].left * sx, kName[i].top * sy);
        f.Cash[v].Move(kMoney[i].left * sx, kMoney[i].top * sy);
        f.Level[v].Move(kLevel[i].left * sx, kLevel[i].top * sy);
    }
    for (int v = 0; v < 4; ++v) {
        const auto i = static_cast<std::size_t>(v);
        f.lbl_score[v].Move(kMoney[i].left * sx, kMoney[i].top * sy);
        f.lbl_sort[v].Move(kLevel[i].left * sx, kLevel[i].top * sy);
    }
    f.Location.Move(760 * sx, 668 * sy);
    // The two buttons take their pictures' sizes; on the small layout they
    // shrink with the bar, as the item bag on it does, so that the
    // quick-phrase button keeps clear of the item bag.
    const std::pair<platform::Image*, int> barButtons[] = {{&f.imgword1, 660}, {&f.imgword2, 664}};
    const float barButtonLefts[] = {640, 668};
    for (std::size_t i = 0; i < 2; ++i) {
        platform::Image& button = *barButtons[i].first;
        button.Move(barButtonLefts[i] * sx, 660 * sy, 29 * sx, 27 * sy);
        button.Tag = QStringLiteral("0");
        LoadGifResource(barButtons[i].second, kGif, button);
        if (small) {
            button.Stretch = true;
            button.Move(button.Left, button.Top, button.Width * sx, button.Height * sy);
        }
    }
    // The bar runs from 632 to the table's right edge: 392 wide, not the
    // 394 of its first design, which ran two pixels past the table.
    f.imgLocation.Stretch = true;
    f.imgLocation.Move(632 * sx, 654 * sy, kChatBarWidth * sx, 39 * sy);
}

} // namespace

void LayoutTableControls(Client& c)
{
    MainForm& f = *c.MainForm;
    GameState& g = c.game;
    const float sx = g.ScaleX;
    const float sy = g.ScaleY;
    const bool small = sx < 1;
    const PicIdTables& ids = c.window.PicIds;

    // Compass, banker mark and wind.
    f.ZhiNan.Move(10 * sx, 104 * sy, 77 * sx, 77 * sy);
    f.ZhiNan.Stretch = true;
    f.Host.Move(14 * sx, 198 * sy);
    f.Zhuang.Move(58 * sx, 198 * sy);

    // The animation pictures, all on one spot.
    for (platform::PictureBox* p : f.Picture_ani) {
        PlaceWidget(p, 458 * sx, 370 * sy, 111 * sx, 133 * sy);
        p->raise();
        p->hide();
    }
    f.Timer_ani->SetEnabled(false);
    g.PicAniRunning = 0;
    g.GameRunning = -1;

    // The wild-tile panel: the wild tile and the two dragon faces beside
    // it, hidden until the wild tile is known.
    f.Quoxa.SetPicture(f.quoxaImg.GetPicture());
    f.Quoxa.Move(888 * sx, 100 * sy, 124 * sx, 107 * sy);
    f.ZQ_Image.Move(f.ZQ_Image.Left, f.ZQ_Image.Top, 33 * sx, 49 * sy);
    f.ZQ_Image.Move(f.Quoxa.Left + 12 * sx, f.Quoxa.Top + 46 * sy);
    f.imgPiZi[0].Move(f.ZQ_Image.Left + f.ZQ_Image.Width + 5 * sx, f.ZQ_Image.Top, 33 * sx, 49 * sy);
    f.imgPiZi[1].Move(f.imgPiZi[0].Left + f.imgPiZi[0].Width, f.ZQ_Image.Top, 33 * sx, 49 * sy);
    for (platform::Image* face : {&f.ZQ_Image, &f.imgPiZi[0], &f.imgPiZi[1]}) {
        face->ZOrder(0);
        face->SetVisible(false);
    }
    LoadGifResource(349, kGif, f.imgPiZi[0]);
    LoadGifResource(350, kGif, f.imgPiZi[1]);

    // Avatars.
    f.Tou[0].Move(kAvatar[0].left * sx, kAvatar[0].top * sy, 85 * sx, 90 * sy);
    for (int v = 1; v <= 3; ++v) {
        LoadMember(f.Tou, v);
        f.Tou[v].Move(f.Tou[v].Left, f.Tou[v].Top, 70 * sx, 62 * sy);
        f.Tou[v].SetVisible(true);
    }
    for (int v = 1; v <= 3; ++v)
        f.Tou[v].Move(kAvatar[static_cast<std::size_t>(v)].left * sx, kAvatar[static_cast<std::size_t>(v)].top * sy);

    // Membership badges, hidden until a member sits down.
    for (int v = 0; v < 4; ++v)
        f.img_vip[v].Move(kVipBadge[static_cast<std::size_t>(v)].left * sx,
                          kVipBadge[static_cast<std::size_t>(v)].top * sy);
    // On the small layout the badges shrink with the avatars they stand on:
    // at their pictures' size the local player's would run past the
    // table's bottom edge.
    if (small)
        for (int v = 0; v < 4; ++v) {
            platform::Image& badge = f.img_vip[v];
            badge.Stretch = true;
            badge.Move(badge.Left, badge.Top, badge.Width * sx, badge.Height * sy);
        }
    for (int v = 0; v < 4; ++v) {
        f.img_vip[v].ZOrder(0);
        f.img_vip[v].SetVisible(false);
        c.rewards.PropAniTicks[static_cast<std::size_t>(v)] = 0;
        c.rewards.PropAniState[static_cast<std::size_t>(v)] = 0;
    }
    c.rewards.PropAniOn = 0;

    // The prize-exchange and jade-task buttons.
    f.ImgJadeExch.Move(3 * sx, 623 * sy);
    f.ImgJadeExch.Tag = QStringLiteral("0");
    f.ImgJadeExch.SetVisible(true);
    LoadGifResource(560, kGif, f.ImgJadeExch);
    f.ImgJadeTask.Move(3 * sx, 450 * sy);
    f.ImgJadeTask.Tag = QStringLiteral("0");
    f.ImgJadeTask.SetVisible(false);
    f.ImgJadeTask.ZOrder(0);
    LoadGifResource(680, kGif, f.ImgJadeTask);

    // The main buttons: two rows of four at 70-pixel steps, the send
    // button to their left. Their pictures give them their sizes.
    for (int i = 1; i <= 8; ++i) {
        LoadMember(f.AnNiu, i);
        f.AnNiu[i].SetVisible(true);
        f.AnNiu[i].ZOrder(0);
    }
    for (int i = 0; i <= 8; ++i) {
        g.AnNiuPressed[static_cast<std::size_t>(i)] = 0;
        c.window.AnNiuHoverShown[static_cast<std::size_t>(i)] = 0;
        platform::Image& b = f.AnNiu[i];
        b.Move(b.Left, b.Top, (i == 0 ? 50 : 60) * sx, 30 * sy);
        LoadPicture(ids.AnNiuPicIds[static_cast<std::size_t>(i <= 2 ? 2 * i : 2 * i + 2)], b);
    }
    // The send button has one picture for both layouts; on the small
    // layout it shrinks with the layout, as the other buttons' smaller
    // pictures do, and so stays inside the table's bottom edge.
    if (small) {
        platform::Image& send = f.AnNiu[0];
        send.Stretch = true;
        send.Move(send.Left, send.Top, send.Width * sx, send.Height * sy);
    }
    f.AnNiu[0].Move(573 * sx, 730 * sy);
    f.AnNiu[1].Move(648 * sx, 699 * sy);
    for (int i = 2; i <= 8; ++i) {
        if (i == 5)
            f.AnNiu[5].Move(f.AnNiu[1].Left, f.AnNiu[1].Top + 32 * sy);
        else
            f.AnNiu[i].Move(f.AnNiu[i - 1].Left + 70 * sx, f.AnNiu[i - 1].Top);
    }

    // Seat labels of the other three seats; smaller type on the small
    // layout, where the local name, money and match labels keep theirs.
    for (int v = 1; v <= 3; ++v) {
        for (platform::ControlArray<platform::Label>* labels :
             {&f.Nid, &f.Cash, &f.Level, &f.lbl_score, &f.lbl_sort}) {
            LoadMember(*labels, v);
            (*labels)[v].SetVisible(true);
        }
        if (small)
            for (platform::Label* l : {&f.Cash[v], &f.Level[v], &f.Level[0], &f.lbl_score[v], &f.lbl_sort[v]})
                l->FontSize = 8;
    }

    // Match texts start empty.
    for (int i = 0; i < 3; ++i)
        f.lbl_matchinfo[i].SetCaption(QString());

    g.SeatDrawArmed = 0;
    LayoutLocationImages(c);

    // Ready marks.
    for (int v = 1; v <= 3; ++v) {
        LoadMember(f.OK, v);
        f.OK[v].SetVisible(false);
    }
    for (int v = 0; v < 4; ++v)
        f.OK[v].Move(kReady[static_cast<std::size_t>(v)].left * sx, kReady[static_cast<std::size_t>(v)].top * sy);

    // The wild-streak animation and the picture behind it.
    PlaceWidget(f.uc_lianLai, 420 * sx, 270 * sy, 150 * sx, 150 * sy);
    f.img_lianLaiBack.Move(420 * sx, 270 * sy, 150 * sx, 150 * sy);
    f.uc_lianLai->LoadAnimatedGIF_Array(QByteArray());
    f.uc_lianLai->SetVisible(false);

    // No prop results are due at a new table.
    g.PropResultDue = 0;
    g.PropRoundState = 0;

    // The item bag.
    if (small)
        f.Bank.Move(f.Bank.Left, f.Bank.Top, f.Bank.Width * sx, f.Bank.Height * sy);
    f.Bank.Move(699 * sx, 658 * sy);
    f.Bank.SetVisible(true);
    f.Bank.ZOrder(0);

    // The report button at the table's right edge, above the chat bar.
    // At full scale it shows its picture at the picture's own size.
    if (small) {
        f.cmdImpeach.Move(f.cmdImpeach.Left, f.cmdImpeach.Top, 55 * sx, 49 * sy);
        f.cmdImpeach.Stretch = true;
    } else {
        f.cmdImpeach.Move(f.cmdImpeach.Left, f.cmdImpeach.Top, 55, 49);
        f.cmdImpeach.Stretch = false;
        if (!f.cmdImpeach.GetPicture().isNull())
            f.cmdImpeach.SetPicture(f.cmdImpeach.GetPicture());
    }
    f.cmdImpeach.Move(static_cast<float>(f.pic1->width()) - f.cmdImpeach.Width,
                      f.imgLocation.Top - f.cmdImpeach.Height - 33);
    f.cmdImpeach.SetVisible(false);
    f.cmdImpeach.Enabled = false;
    g.ImpeachOffered = 0;

    // The video-site prompt, centred on the window.
    QWidget* prompt = f.pic_gskh_back;
    PlaceWidget(prompt, (f.width() - prompt->width()) / 2.0, (f.height() - prompt->height()) / 2.0, prompt->width(),
                prompt->height());

    // Match state of a new table.
    c.match.ReservedMoney = 200.0;
    c.match.MatchPanelMode = 0;
}

void LayoutPlayControls(Client& c)
{
    MainForm& f = *c.MainForm;
    GameState& g = c.game;
    const float sx = g.ScaleX;
    const float sy = g.ScaleY;
    const bool small = sx < 1;
    const PicIdTables& ids = c.window.PicIds;

    // The compass shows once the seats are known.
    f.ZhiNan.SetVisible(false);

    // Speech pictures of views 1-3: left, opposite (below its avatar),
    // right.
    for (int i = 0; i < 3; ++i) {
        f.Speak[i].SetVisible(false);
        f.Speak[i].Stretch = true;
    }
    f.Speak[1].Move(f.Speak[1].Left, f.Speak[1].Top, 79 * sx, 79 * sy);
    f.Speak[0].Move(f.Speak[0].Left, f.Speak[0].Top, 90 * sx, 67 * sy);
    f.Speak[2].Move(f.Speak[2].Left, f.Speak[2].Top, 90 * sx, 67 * sy);
    f.Speak[0].Move(8 * sx, 280 * sy + 50 * sy);
    const platform::Image& opposite = f.Tou[2];
    f.Speak[1].Move(static_cast<float>(opposite.Left + 0.8 * opposite.Width - 60 * sy),
                    static_cast<float>(opposite.Top + 0.8 * opposite.Height + 65 * sy));
    // The right seat's picture ends at the table's right edge (at 936 its
    // 90 pixels ran two past it).
    f.Speak[2].Move(934 * sx, 330 * sy);

    // The countdown, just below the wild-tile panel.
    f.Time_Img.Move(f.Time_Img.Left, f.Time_Img.Top, 81 * sx, 38 * sy);
    f.Time_Img.Move(f.Quoxa.Left - 10 * sx + 42 * sx, f.Quoxa.Top + f.Quoxa.Height);
    f.Number.Move(f.Number.Left, f.Number.Top, 24 * sx, 24 * sy);
    f.Number.Move(f.Time_Img.Left + 48 * sx, f.Time_Img.Top + 5 * sy);
    if (small) {
        f.Time_Img.Move(f.Quoxa.Left, f.Time_Img.Top);
        f.Number.FontSize = 12;
        f.Number.Move(f.Time_Img.Left + 48 * sx + 2, f.Number.Top);
    }

    // The claim buttons in one row without gaps.
    f.Operation[0].Move(358 * sx, 461 * sy);
    for (int i = 1; i <= 4; ++i)
        LoadMember(f.Operation, i);
    for (int i = 0; i <= 4; ++i) {
        platform::Image& b = f.Operation[i];
        b.Move(b.Left, b.Top, 50 * sx, 71 * sy);
        LoadPicture(ids.OperationPicIds[static_cast<std::size_t>(3 * i)], b);
        if (i > 0)
            b.Move(f.Operation[i - 1].Left + f.Operation[0].Width, f.Operation[0].Top);
        b.Enabled = false;
        b.SetVisible(false);
    }

    // Tile images, later ones in front; their places come with each hand.
    for (int i = 1; i <= 135; ++i)
        LoadMember(f.MJ_Image, i);
    f.MJ_Image[0].ZOrder(0);

    // The store of die pictures that the dice roll copies from.
    for (int i = 1; i <= 15; ++i) {
        LoadMember(f.SZ_Image, i);
        LoadPicture(ids.DiceRollPicIds[static_cast<std::size_t>(i)], f.SZ_Image[i]);
    }
    LoadPicture(ids.DiceRollPicIds[0], f.SZ_Image[0]);

    // The two one-line system boxes, one under the other, and the label
    // beside them that opens the chat history.
    double boxHeight, firstTop;
    if (small) {
        boxHeight = (26 * sy + 4) / 2.0;
        firstTop = 696 * sy - 2;
        f.Lbchat.Move(594 * sx, 694 * sy, 25 * sx, 33 * sy);
    } else {
        boxHeight = 26 / 2.0;
        firstTop = 696;
        f.Lbchat.Move(594, 694, 25, 33);
    }
    const double boxLeft = 312 * sx;
    const double boxWidth = 281 * sx;
    PlaceWidget(f.Sysmsg[0], boxLeft, firstTop, boxWidth, boxHeight);
    PlaceWidget(f.Sysmsg[1], boxLeft, firstTop + boxHeight, boxWidth, boxHeight);
    for (platform::ListBox* box : f.Sysmsg)
        box->show();

    // The window's own type size.
    QFont own = f.font();
    own.setPointSize(10);
    f.setFont(own);

    // The chat line under the system boxes.
    f.Chat->show();
    PlaceWidget(f.Chat, 312 * sx, 732 * sy, 250 * sx, 33 * sy);

    // The mascot, and the first web panel laid over it, hidden until a
    // page has loaded into it.
    f.Bird.Move(936 * sx, 680 * sy, 82 * sx, 80 * sy);
    f.Bird.ZOrder(0);
    f.Bird.SetVisible(true);
    if (f.WebBrowser1) {
        f.WebBrowser1->hide();
        PlaceWidget(f.WebBrowser1, f.Bird.Left + 2, f.Bird.Top + 2, 82 * sx, 80 * sy);
    }

    // The wild-streak animation box and its backdrop.
    PlaceWidget(f.uc_lianLai, 420 * sx, 270 * sy, 150 * sx, 150 * sy);
    f.img_lianLaiBack.Move(420 * sx, 270 * sy, 150 * sx, 150 * sy);
    f.uc_lianLai->LoadAnimatedGIF_Array(QByteArray());
    LoadGifResource(477, kGif, f.img_lianLaiBack);

    // Multiplier indicators on the left edge.
    f.imgBeishu.Move(3 * sx, (small ? 276 : 272) * sy);
    f.lblDifen.Move((small ? 60 : 55) * sx, (small ? 280 : 276) * sy);
    f.Imgwealth.Move(3 * sx, 304 * sy);
    f.lbwealth.Move((small ? 60 : 55) * sx, 308 * sy);
    // On the small layout the two pictures shrink with the layout: at their
    // own height the upper one would lie over the lower one.
    if (small)
        for (platform::Image* picture : {&f.imgBeishu, &f.Imgwealth}) {
            picture->Stretch = true;
            picture->Move(picture->Left, picture->Top, picture->Width * sx, picture->Height * sy);
        }
    for (platform::GraphicControl* indicator :
         std::initializer_list<platform::GraphicControl*>{&f.imgBeishu, &f.lblDifen, &f.Imgwealth, &f.lbwealth}) {
        indicator->ZOrder(0);
        indicator->SetVisible(false);
    }

    // The two small dice of the hand.
    const float diceTop = small ? 242 * sy - 4 : 242;
    f.imgsezi[0].Move(14 * sx, diceTop);
    f.imgsezi[1].Move((small ? 44 : 48) * sx, diceTop);
    for (int i = 0; i < 2; ++i) {
        f.imgsezi[i].ZOrder(0);
        f.imgsezi[i].SetVisible(false);
    }
    f.lblDifen.FontSize = 18;
    f.lbwealth.FontSize = 18;

    // The three texts shown with the multipliers.
    const float textLeft = small ? 424 * sx - 10 : 424;
    const float textTops[] = {280, 312, 344};
    for (int i = 0; i < 3; ++i) {
        f.lbfont[i].SetVisible(false);
        f.lbfont[i].Move(textLeft, textTops[i] * sy);
    }

    // No wealth multipliers yet.
    g.SeatWealth.fill(0);
    g.WealthCaption.clear();

    // The prop label frames the local avatar.
    const platform::Image& own0 = f.Tou[0];
    f.Proponeself.Move(own0.Left - 10 * sx, own0.Top - 10 * sy, own0.Width + 15 * sx, own0.Height - 7 * sx + 35);
    f.Proponeself.Enabled = true;
    f.Proponeself.ZOrder(0);

    // Last, the customer-service channel.
    services::InitUdpChannel(c);
}

} // namespace window
