#include "rewards/chip_panel.h"

#include "app/client.h"
#include "rewards/bets.h"
#include "rewards/prize_lists.h"
#include "rewards/purchase.h"
#include "services/item_bag.h"
#include "widgets/sprite_sheet.h"
#include "window/main_form.h"
#include "window/pictures.h"

#include <QEvent>
#include <QMouseEvent>

namespace rewards {

namespace {

// Pictures of the strip and its panels.
constexpr int kYanNormal = 579, kYanHover = 580;
constexpr int kSortNormal = 581;
constexpr int kBuyBtNormal = 644, kBuyBtHover = 645;
constexpr int kAddNormal = 648, kAddHover = 649;
constexpr int kReduceNormal = 650, kReduceHover = 651;
constexpr int kBuyBuyNormal = 656, kBuyBuyHover = 657;
constexpr int kBuyClose = 550;
constexpr int kPayButtonBase = 777;
constexpr int kDigitSheet = 801;
constexpr int kBannerSheet = 802;
constexpr int kBuyBackground = 1161;
constexpr int kRulesBackground = 1162;
constexpr int kStripBackground = 1164;
constexpr int kPrizeDigits = 12;
constexpr int kLotteryDigits = 11;
// Inside a picture box the design counts in twips.
constexpr float kTwips = 15.0f;

void Load(int id, platform::HasPicture& control) { window::LoadGifResource(id, QStringLiteral("GIF"), control); }

// A button's own mouse move: its hover picture, once.
void Hover(platform::Image& b, int id)
{
    if (b.Tag.toInt() == 1)
        return;
    b.Tag = QStringLiteral("1");
    Load(id, b);
}

// A container's mouse move: the button's normal picture again.
void Normal(platform::Image& b, int id)
{
    if (b.Tag.toInt() == 0)
        return;
    b.Tag = QStringLiteral("0");
    Load(id, b);
}

platform::MouseHandler Moves(std::function<void()> f)
{
    return [f = std::move(f)](int16_t, int16_t, float, float) { f(); };
}

// Mouse moves over the panels' bare surfaces, Esc on the panels, and the
// table's own moves and clicks.
class PanelEvents : public QObject {
public:
    PanelEvents(Client& c, QObject* parent) : QObject(parent), c_(c) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const BetsState& b = c_.rewards.Bets;
        const QEvent::Type type = event->type();
        if (type != QEvent::MouseMove && type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease)
            return false;
        auto* surface = qobject_cast<platform::GraphicSurface*>(watched);
        if (!surface)
            return false;
        auto* e = static_cast<QMouseEvent*>(event);
        const QPointF at = e->position();
        const auto x = static_cast<float>(at.x());
        const auto y = static_cast<float>(at.y());
        const bool bare = !surface->ControlAt(x, y);
        if (type == QEvent::MouseMove) {
            if (surface == b.Pic_prize && bare)
                Pic_prize_MouseMove(c_, x, y);
            else if (surface == b.Pic_buy && bare)
                Pic_buy_MouseMove(c_);
            else if (surface == c_.MainForm->pic1 && bare)
                Table_MouseMove(c_);
            return false;
        }
        if (surface == c_.MainForm->pic1 && e->button() == Qt::LeftButton) {
            if (type == QEvent::MouseButtonPress) {
                pressedBare_ = bare;
            } else {
                if (pressedBare_ && bare)
                    Table_Click(c_);
                pressedBare_ = false;
            }
        }
        if (surface != c_.MainForm->pic1 && type == QEvent::MouseButtonPress)
            surface->setFocus(Qt::MouseFocusReason);
        return false;
    }

private:
    Client& c_;
    bool pressedBare_ = false;
};

platform::PictureBox* Panel(QWidget* parent, const QString& name, int backgroundId)
{
    auto* box = new platform::PictureBox(parent, name);
    // The background is read when the panel is first shown.
    if (backgroundId != 0)
        box->BackPictureSource = [backgroundId] { return window::LoadGifPicture(backgroundId, QStringLiteral("GIF")); };
    box->setMouseTracking(true);
    box->setFocusPolicy(Qt::ClickFocus);
    box->hide();
    return box;
}

void Caption(platform::Label& label, float size, int32_t color)
{
    label.FontSize = size;
    label.ForeColor = color;
    label.BackTransparent = true;
}

} // namespace

QString ChipRulesText()
{
    const QString lines[] = {
        QStringLiteral("1.系统默认下注为1支香烟，玩家可以更改默认下注数，下局生效；"),
        QStringLiteral("2.最小房间最高下注为每局99支香烟，较大房间最高下注为每局499支香烟；"),
        QStringLiteral("3.下注后在该局牌局胜利后可抽奖，抽奖次数为该局下注数；"),
        QStringLiteral("4.抽奖可以获得金币、翡翠，最高可获得百万翡翠大奖！"),
        QStringLiteral("5.每只香烟价格：南方电信200金币；北方网通300金币。"),
    };
    QString text = lines[0];
    for (int i = 1; i < 5; ++i)
        text += QStringLiteral("\r\n") + lines[i];
    return text;
}

void WireBets(Client& c)
{
    BetsState& b = c.rewards.Bets;
    window::MainForm& f = *c.MainForm;
    QWidget* table = f.pic1;

    // The betting strip: the prize digits, the rules icon, the stock, the
    // bet box with its buttons, and the purchase button.
    b.Pic_prize = Panel(table, QStringLiteral("Pic_prize"), kStripBackground);
    b.Lb_prize.AttachTo(b.Pic_prize);
    for (platform::GraphicControl* control : std::initializer_list<platform::GraphicControl*>{
             &b.Img_yan, &b.Label1, &b.Lb_mysmoke, &b.Img_add_bt, &b.Img_reduce_bt, &b.Img_buy_bt})
        b.Pic_prize->Add(control);
    // The bet button lies on the strip, not on the table.
    f.pic1->Remove(&f.Img_chip_bt);
    b.Pic_prize->Add(&f.Img_chip_bt);
    Caption(b.Lb_prize[0], 10, 0x00E5FF);
    Caption(b.Label1, 9, 0xFFFFFF);
    b.Label1.SetCaption(QStringLiteral("香烟"));
    b.Label1.Move(184, 9, 26, 16);
    Caption(b.Lb_mysmoke, 9, 0x00E5FF);
    b.Lb_mysmoke.Move(208, 9, 22, 16);
    b.Img_yan.Move(150, 0, 32, 32);
    b.Img_reduce_bt.Move(230, 5, 22, 22);
    b.Img_add_bt.Move(289, 5, 22, 22);
    b.Img_buy_bt.Move(364, 4, 47, 25);
    b.Txt_chip = new platform::TextBox(b.Pic_prize, QStringLiteral("Txt_chip"));
    b.Txt_chip->setFixedWidth(34);
    b.Txt_chip->setMaxLength(6);

    // The purchase panel.
    b.Pic_buy = Panel(table, QStringLiteral("Pic_buy"), kBuyBackground);
    for (platform::GraphicControl* control : std::initializer_list<platform::GraphicControl*>{
             &b.Img_buy_reduce_bt, &b.Img_buy_add_bt, &b.Img_buy_buy_bt, &b.Img_buy_close_bt, &b.Lb_buy_all,
             &b.Lb_buy_my})
        b.Pic_buy->Add(control);
    b.Txt_buy_num = new platform::TextBox(b.Pic_buy, QStringLiteral("Txt_buy_num"));
    b.Txt_buy_num->setGeometry(100, 62, 80, 20);
    b.Txt_buy_num->setMaxLength(6);
    b.Img_buy_reduce_bt.Move(72, 61, 22, 22);
    b.Img_buy_add_bt.Move(186, 61, 22, 22);
    Caption(b.Lb_buy_all, 10, 0xFFFFFF);
    Caption(b.Lb_buy_my, 10, 0xFFFFFF);
    b.Lb_buy_all.Move(40, 98, 200, 18);
    b.Lb_buy_my.Move(40, 122, 200, 18);
    b.Img_buy_buy_bt.Move(102, 150, 72, 26);
    b.Img_buy_close_bt.Move(250, 6, 20, 20);
    Load(kBuyClose, b.Img_buy_close_bt);
    for (int i = 1; i <= 2; ++i)
        if (c.services.img_chzhi.Exists(i)) {
            platform::Image& pay = c.services.img_chzhi[i];
            if (pay.Surface())
                pay.Surface()->Remove(&pay);
            b.Pic_buy->Add(&pay);
            pay.Move(i == 1 ? 36 : 152, 188, 88, 30);
            pay.Visible = true;
        }

    // The rules panel, the winner lists and their button.
    b.Pic_chipinfo = Panel(table, QStringLiteral("Pic_chipinfo"), kRulesBackground);
    b.Pic_chipinfo->Add(&b.lb_chipinfo);
    Caption(b.lb_chipinfo, 10, 0xFFFFFF);
    b.Pic_prizesort = Panel(table, QStringLiteral("Pic_prizesort"), 0);
    f.pic1->Add(&b.bt_prizesort);

    // The lottery display over the table.
    b.APNG_prize = new widgets::Apng(table, QStringLiteral("APNG_prize"));
    b.APNG_prize->hide();

    // Handlers.
    QObject::connect(b.Txt_chip, &QLineEdit::textChanged, b.Txt_chip, [&c] { Txt_chip_Change(c); });
    QObject::connect(b.Txt_buy_num, &QLineEdit::textChanged, b.Txt_buy_num, [&c] { Txt_buy_num_Change(c); });
    b.Img_add_bt.Click = [&c] { Img_add_bt_Click(c); };
    b.Img_reduce_bt.Click = [&c] { Img_reduce_bt_Click(c); };
    f.Img_chip_bt.Click = [&c] { Img_chip_bt_Click(c); };
    b.Img_buy_bt.Click = [&c] { Img_buy_bt_Click(c); };
    b.Img_buy_add_bt.Click = [&c] { Img_buy_add_bt_Click(c); };
    b.Img_buy_reduce_bt.Click = [&c] { Img_buy_reduce_bt_Click(c); };
    b.Img_buy_buy_bt.Click = [&c] { Img_buy_buy_bt_Click(c); };
    b.Img_buy_close_bt.Click = [&c] { Img_buy_close_bt_Click(c); };
    b.Img_yan.Click = [&c] { Img_yan_Click(c); };
    b.Img_yan.MouseMove = Moves([&c] { Img_yan_MouseMove(c); });
    b.Label1.MouseMove = Moves([&c] { Label1_MouseMove(c); });
    b.Img_add_bt.MouseMove = Moves([&c] { Img_add_bt_MouseMove(c); });
    b.Img_reduce_bt.MouseMove = Moves([&c] { Img_reduce_bt_MouseMove(c); });
    f.Img_chip_bt.MouseMove = Moves([&c] { Img_chip_bt_MouseMove(c); });
    b.Img_buy_bt.MouseMove = Moves([&c] { Img_buy_bt_MouseMove(c); });
    b.Img_buy_buy_bt.MouseMove = Moves([&c] { Img_buy_buy_bt_MouseMove(c); });
    b.Img_buy_add_bt.MouseMove = Moves([&c] { Img_buy_add_bt_MouseMove(c); });
    b.Img_buy_reduce_bt.MouseMove = Moves([&c] { Img_buy_reduce_bt_MouseMove(c); });
    b.bt_prizesort.Click = [&c] { bt_prizesort_Click(c); };
    b.bt_prizesort.MouseMove = Moves([&c] { bt_prizesort_MouseMove(c); });
    QObject::connect(f.Timer_ani, &QTimer::timeout, b.Pic_prize, [&c] { Timer_ani_Timer(c); });

    // Keys on the panels close them with Esc; the text boxes keep their keys
    // to themselves.
    c.window.ControlKeyDown = [&c](QWidget* w, int16_t keyCode) {
        BetsState& bets = c.rewards.Bets;
        for (QWidget* panel : {static_cast<QWidget*>(bets.Pic_buy), static_cast<QWidget*>(bets.Pic_chipinfo),
                               static_cast<QWidget*>(bets.Pic_prizesort)})
            if (w == panel) {
                Panel_KeyDown(c, panel, keyCode);
                return true;
            }
        return w == bets.Txt_chip || w == bets.Txt_buy_num;
    };

    auto* events = new PanelEvents(c, b.Pic_prize);
    for (QWidget* w : {static_cast<QWidget*>(b.Pic_prize), static_cast<QWidget*>(b.Pic_buy),
                       static_cast<QWidget*>(b.Pic_chipinfo), static_cast<QWidget*>(b.Pic_prizesort),
                       static_cast<QWidget*>(f.pic1)})
        w->installEventFilter(events);
    f.pic1->setMouseTracking(true);
}

void InitChipPanel(Client& c)
{
    BetsState& b = c.rewards.Bets;
    window::MainForm& f = *c.MainForm;
    if (!b.Pic_prize)
        return;
    const float sx = c.game.ScaleX;
    const float sy = c.game.ScaleY;

    b.Pic_buy->setGeometry(408, 376, 276, 232);
    b.Pic_buy->hide();
    b.Pic_prize->setGeometry(104, 654, 528, 33);
    // A match room shows its match box there instead, for the whole process.
    b.Pic_prize->setVisible(c.match.RoomMatchMode < 2);
    f.Img_chip_bt.Move(4680 / kTwips, 50 / kTwips, 705 / kTwips, 375 / kTwips);
    for (int i = 0; i < kPrizeDigits; ++i) {
        if (b.Lb_prize.Count() < i + 1)
            b.Lb_prize.Load(i);
        b.Lb_prize[i].Move((350 + 150 * i) / kTwips, 100 / kTwips, 10, 17);
        b.Lb_prize[i].SetVisible(false);
        b.Lb_prize[i].MouseMove = Moves([&c] { Lb_prize_MouseMove(c); });
    }
    for (platform::Image* button : {&b.Img_add_bt, &b.Img_reduce_bt, &f.Img_chip_bt, &b.Img_buy_bt, &b.Img_buy_buy_bt,
                                    &b.Img_buy_add_bt, &b.Img_buy_reduce_bt, &b.Img_buy_close_bt})
        button->Tag = QStringLiteral("0");
    Load(kAddNormal, b.Img_add_bt);
    Load(kReduceNormal, b.Img_reduce_bt);
    Load(kChipBtNormal, f.Img_chip_bt);
    Load(kBuyBtNormal, b.Img_buy_bt);
    Load(kBuyBuyNormal, b.Img_buy_buy_bt);
    Load(kAddNormal, b.Img_buy_add_bt);
    Load(kReduceNormal, b.Img_buy_reduce_bt);
    b.Txt_chip->setGeometry(static_cast<int>(3800 / kTwips), 9, b.Txt_chip->width(), static_cast<int>(225 / kTwips));
    for (platform::TextBox* box : {b.Txt_buy_num})
        box->SetText(QString());
    b.Lb_buy_all.SetCaption(QString());
    b.Lb_buy_my.SetCaption(QString());
    b.Lb_mysmoke.SetCaption(QString());
    b.Txt_chip->SetText(QString());
    // The emptied bet box may have offered a purchase: the panel starts
    // hidden all the same.
    b.Pic_buy->hide();
    c.rewards.PoolRolling = 0;
    c.game.ChipRefreshDue = 0;
    f.Img_chip_bt.Enabled = true;
    b.MaxChip = 0;

    // The lottery display: one banner of three and eleven digits on it.
    widgets::Apng& prize = *b.APNG_prize;
    prize.setGeometry(static_cast<int>(200 * sx), static_cast<int>(280 * sy), 603, 115);
    prize.LoadAnimation(kBannerSheet, 0, 0, 1, 3);
    prize.Pause();
    prize.hide();
    prize.lower();
    while (static_cast<int>(b.APNG_prizenum.size()) < kLotteryDigits)
        b.APNG_prizenum.push_back(new widgets::Apng(f.pic1, QStringLiteral("APNG_prizenum")));
    for (int j = 0; j < kLotteryDigits; ++j) {
        widgets::Apng& digit = *b.APNG_prizenum[static_cast<std::size_t>(j)];
        digit.LoadAnimation(kDigitSheet, 0, 0, 1, 10);
        digit.setGeometry(prize.x() + static_cast<int>((140 + 40 * j) * sx), prize.y() + static_cast<int>(35 * sy), 38, 53);
        digit.raise();
        digit.Pause();
        digit.hide();
    }
    c.rewards.MyPrizeRolling = 0;
    c.rewards.MyPrizeRollState = 0;
    c.rewards.MyPrize = 0;

    b.Img_yan.Tag = QStringLiteral("0");
    Load(kYanNormal, b.Img_yan);
    b.Pic_chipinfo->setGeometry(static_cast<int>(300 * sx), static_cast<int>(170 * sy), static_cast<int>(437 * sx),
                                static_cast<int>(367 * sy));
    b.Pic_chipinfo->hide();
    b.lb_chipinfo.Move(240 / kTwips * sx, 965 / kTwips * sy, 6255 / kTwips * sx, 4315 / kTwips * sy);

    b.PrizeListColWidths = {120, 130, 105, 140, 120, 90};
    b.PrizeListLeft = 60;
    b.PrizeListTop = 60;
    b.PrizeListRowHeight = 20;
    b.bt_prizesort.Tag = QStringLiteral("0");
    Load(kSortNormal, b.bt_prizesort);
    b.Pic_prizesort->setGeometry(static_cast<int>(150 * sx), static_cast<int>(200 * sy), static_cast<int>(720 * sx),
                                 static_cast<int>(297 * sy));
    b.Pic_prizesort->hide();
    b.lb_chipinfo.SetCaption(ChipRulesText());
    b.bt_prizesort.Move(930 * sx, 622 * sy, 80, 28);
    b.bt_prizesort.Tag = QStringLiteral("0");
    b.bt_prizesort.SetVisible(true);
    b.bt_prizesort.ZOrder(0);

    b.PrizeListFlag = 0;
    b.PrizeListFirstOpen = -1;
    b.WinList.fill(PrizeRecord{});
    b.BigPrizeCount = 0;
    b.BigPrizeList.fill(PrizeRecord{});
}

void Pic_prize_MouseMove(Client& c, float x, float y)
{
    BetsState& b = c.rewards.Bets;
    const float tx = x * kTwips;
    const float ty = y * kTwips;
    const bool overDigits = tx >= 350 && tx <= 2160 && ty >= 100 && ty <= 360;
    if (overDigits && b.Pic_chipinfo->isHidden()) {
        b.Pic_chipinfo->show();
        b.Pic_chipinfo->raise();
        b.Pic_chipinfo->Tag = QStringLiteral("1");
    } else if (!overDigits && b.Pic_chipinfo->isVisible() && b.Pic_chipinfo->Tag == QStringLiteral("1")) {
        b.Pic_chipinfo->hide();
    }
    Normal(b.Img_yan, kYanNormal);
    Normal(b.Img_add_bt, kAddNormal);
    Normal(b.Img_reduce_bt, kReduceNormal);
    platform::Image& chip = c.MainForm->Img_chip_bt;
    if (chip.Tag.toInt() == 1) {
        chip.Tag = QStringLiteral("0");
        Load(kChipBtNormal, chip);
    }
    Normal(b.Img_buy_bt, kBuyBtNormal);
}

void Pic_buy_MouseMove(Client& c)
{
    BetsState& b = c.rewards.Bets;
    Normal(b.Img_buy_buy_bt, kBuyBuyNormal);
    Normal(b.Img_buy_add_bt, kAddNormal);
    Normal(b.Img_buy_reduce_bt, kReduceNormal);
    for (int i = 1; i <= 2; ++i)
        if (c.services.img_chzhi.Exists(i))
            Normal(c.services.img_chzhi[i], kPayButtonBase + 3 * i);
}

void Label1_MouseMove(Client& c) { Normal(c.rewards.Bets.Img_yan, kYanNormal); }

void Lb_prize_MouseMove(Client& c)
{
    BetsState& b = c.rewards.Bets;
    if (b.Pic_chipinfo->isHidden()) {
        b.Pic_chipinfo->show();
        b.Pic_chipinfo->raise();
        b.Pic_chipinfo->Tag = QStringLiteral("1");
    }
}

void Img_yan_Click(Client& c)
{
    BetsState& b = c.rewards.Bets;
    if (b.Pic_chipinfo->isVisible()) {
        b.Pic_chipinfo->hide();
        return;
    }
    b.Pic_chipinfo->show();
    b.Pic_chipinfo->raise();
    b.Pic_chipinfo->Tag = QStringLiteral("0");
}

void Img_yan_MouseMove(Client& c) { Hover(c.rewards.Bets.Img_yan, kYanHover); }
void Img_add_bt_MouseMove(Client& c) { Hover(c.rewards.Bets.Img_add_bt, kAddHover); }
void Img_reduce_bt_MouseMove(Client& c) { Hover(c.rewards.Bets.Img_reduce_bt, kReduceHover); }

void Img_chip_bt_MouseMove(Client& c)
{
    platform::Image& chip = c.MainForm->Img_chip_bt;
    if (!chip.Enabled || chip.Tag.toInt() != 0)
        return;
    chip.Tag = QStringLiteral("1");
    Load(kChipBtHover, chip);
}

void Img_buy_bt_MouseMove(Client& c) { Hover(c.rewards.Bets.Img_buy_bt, kBuyBtHover); }
void Img_buy_buy_bt_MouseMove(Client& c) { Hover(c.rewards.Bets.Img_buy_buy_bt, kBuyBuyHover); }
void Img_buy_add_bt_MouseMove(Client& c) { Hover(c.rewards.Bets.Img_buy_add_bt, kAddHover); }
void Img_buy_reduce_bt_MouseMove(Client& c) { Hover(c.rewards.Bets.Img_buy_reduce_bt, kReduceHover); }

void Panel_KeyDown(Client&, QWidget* panel, int keyCode)
{
    if (keyCode == 27 && panel && panel->isVisible())
        panel->hide();
}

void Timer_ani_Timer(Client& c)
{
    window::MainForm& f = *c.MainForm;
    for (platform::PictureBox* p : f.Picture_ani)
        p->hide();
    const int next = f.Timer_ani->Tag.toInt() + 1;
    f.Timer_ani->Tag = QString::number(next);
    if (next > 2) {
        f.Timer_ani->SetEnabled(false);
        c.game.PicAniRunning = 0;
        return;
    }
    f.Picture_ani[static_cast<std::size_t>(next)]->show();
    f.Picture_ani[static_cast<std::size_t>(next)]->raise();
}

void Table_MouseMove(Client& c)
{
    BetsState& b = c.rewards.Bets;
    Normal(b.bt_prizesort, kSortNormal);
    services::Bank_MouseOut(c);
}

void Table_Click(Client& c)
{
    if (c.rewards.Bets.Pic_prizesort)
        c.rewards.Bets.Pic_prizesort->hide();
}

} // namespace rewards
