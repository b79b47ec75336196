#include "services/exchange_form.h"

#include "app/client.h"
#include "services/web_links.h"

#include <QMouseEvent>

namespace services {

namespace {

platform::Picture PictureOf(Client& c, int id)
{
    return c.services.Hooks.Picture ? c.services.Hooks.Picture(id) : platform::Picture{};
}

void Open(Client& c, const QString& link)
{
    if (c.services.Hooks.OpenWebPage)
        c.services.Hooks.OpenWebPage(link);
}

// Layout in pixels: the cell origin and gaps, the frame and the titles.
constexpr float kCellLeft = 45;
constexpr float kCellTop = 70;
constexpr float kCellGapX = 10;
constexpr float kCellGapY = 55;
constexpr float kFrame = 100;
constexpr float kPictureInset = 8;
constexpr float kTitle1Height = 17;
constexpr float kTitle2Height = 32;
constexpr float kStrip = 150;
constexpr float kStripHeight = 45;

} // namespace

std::array<ExchangeItem, 20> ExchangeGoods()
{
    const char* const rows[20][3] = {
        {"手机话费-10元", "翡翠20000个", nullptr},     {"手机话费-10元", "翡翠200个", "1张手机充值卡10元"},
        {"苏泊尔电压力锅", "翡翠578000个", nullptr},   {"美的微波炉", "翡翠918000个", nullptr},
        {"iPad4-16G", "翡翠7376000个", nullptr},        {"42寸创维电视", "翡翠6000000个", nullptr},
        {"华为手机", "翡翠2000000个", nullptr},         {"骏网一卡通10元", "翡翠20000个", nullptr},
        {"手机话费-20元", "翡翠40000个", nullptr},      {"手机话费-30元", "翡翠60000个", nullptr},
        {"手机话费-50元", "翡翠100000个", nullptr},     {"骏网一卡通15元", "翡翠30000个", nullptr},
        {"小胡鸭30元", "翡翠60000个", nullptr},         {"小胡鸭138元礼盒", "翡翠276000个", nullptr},
        {"小胡鸭238元礼盒", "翡翠476000个", nullptr},   {"哈尔斯不锈钢保温杯", "翡翠276000个", nullptr},
        {"九阳1.5L电水壶", "翡翠178000个", nullptr},    {"TCL电话机", "翡翠94000个", nullptr},
        {"朗科朗盛系列闪存盘", "翡翠118000个", nullptr}, {"朗科高速优盘", "翡翠138000个", nullptr},
    };
    std::array<ExchangeItem, 20> items;
    for (std::size_t i = 0; i < items.size(); ++i) {
        for (const char* text : rows[i])
            if (text)
                items[i].Texts << QString::fromUtf8(text);
        items[i].PictureId = static_cast<int16_t>(867 + i);
    }
    return items;
}

ExchangeForm::ExchangeForm(QWidget* owner)
    : ServiceWindow(QStringLiteral("exchangeFrm"), owner, kExchangeWidth, kExchangeHeight, {}),
      imglist(this, QStringLiteral("imglist"), 1),
      exchangelist(this, QStringLiteral("exchangelist"), 1),
      title1(this, QStringLiteral("title1"), 1),
      title2(this, QStringLiteral("title2"), 1)
{
    setWindowTitle(QStringLiteral("奖品兑换"));
    for (platform::GraphicControl* control : std::initializer_list<platform::GraphicControl*>{(&scroll), &pageDown, &pageUp, &page, &exchange, &ImgOpenvip, &help,
          &Label_close})
        Add(control);
}

void ExchangeForm::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF pos = event->position();
    if (!Dragging() && !ControlAt(static_cast<float>(pos.x()), static_cast<float>(pos.y())) && FormMouseMove)
        FormMouseMove();
    ServiceWindow::mouseMoveEvent(event);
}

namespace {

// Lays the window out once, when it is made.
void LayoutExchangeForm(Client& c, ExchangeForm& f)
{
    f.BackPicture = PictureOf(c, kExchangeBackground);
    f.setWindowFlag(Qt::WindowStaysOnTopHint, true);

    f.imglist[0].SetVisible(false);
    f.imglist[0].Move(0, 0, kFrame, kFrame);
    f.title1[0].SetCaption(QString());
    f.title2[0].SetCaption(QString());
    f.title1[0].Move(0, 0, kFrame + 10, kTitle1Height);
    f.title2[0].Move(0, 0, kFrame + 10, kTitle2Height);
    f.exchangelist[0].Move(0, 0, kFrame - 2 * kPictureInset, kFrame - 2 * kPictureInset);
    f.exchangelist[0].SetVisible(false);
    f.title1[0].SetVisible(false);
    f.title2[0].SetVisible(false);
    const platform::Picture frame = PictureOf(c, kExchangeCellFrame);
    for (int i = 0; i < kExchangeCells; ++i) {
        const int col = i % 4;
        const int row = i / 4;
        const int e = i + 1;
        f.imglist.Load(e);
        f.exchangelist.Load(e);
        f.title1.Load(e);
        f.title2.Load(e);
        platform::Image& cell = f.imglist[e];
        cell.SetPicture(frame);
        cell.Move(kCellLeft + (kFrame + kCellGapX) * col, kCellTop + (kFrame + kCellGapY) * row, kFrame, kFrame);
        cell.SetVisible(true);
        cell.ZOrder(1);
        platform::Image& picture = f.exchangelist[e];
        picture.Stretch = true;
        picture.Move(cell.Left + kPictureInset, cell.Top + kPictureInset, f.exchangelist[0].Width,
                     f.exchangelist[0].Height);
        picture.SetVisible(true);
        picture.ZOrder(0);
        platform::Label& name = f.title1[e];
        name.Move(cell.Left + (kFrame - f.title1[0].Width) / 2, cell.Top + kFrame, f.title1[0].Width, kTitle1Height);
        name.FontSize = 10;
        name.Alignment = platform::Label::Center;
        name.ForeColor = 0xFFFFFF;
        name.SetVisible(true);
        name.ZOrder(0);
        platform::Label& price = f.title2[e];
        price.Move(cell.Left + (kFrame - f.title2[0].Width) / 2, cell.Top + kFrame + kTitle1Height + 2,
                   f.title2[0].Width, kTitle2Height);
        price.FontSize = 9;
        price.Alignment = platform::Label::Center;
        price.ForeColor = 0x00FF00;
        price.SetVisible(true);
        price.ZOrder(0);
    }

    const float w = static_cast<float>(f.width());
    const float h = static_cast<float>(f.height());
    f.scroll.SetPicture(PictureOf(c, kExchangeScroll));
    f.scroll.Move((w - kStrip) / 2, h - kStripHeight - 80, kStrip, kStripHeight);
    f.scroll.ZOrder(1);
    f.pageDown.SetPicture(PictureOf(c, kExchangePageDown));
    f.pageDown.Move(f.scroll.Left, f.scroll.Top, kStripHeight, kStripHeight);
    f.pageUp.SetPicture(PictureOf(c, kExchangePageUp));
    f.pageUp.Move(f.scroll.Left + kStrip - kStripHeight, f.scroll.Top, kStripHeight, kStripHeight);
    f.page.Move(f.pageDown.Left + f.pageDown.Width + 15, f.pageDown.Top + 10, 40, 24);
    f.page.FontSize = 15;
    f.page.FontBold = true;
    f.page.ForeColor = 0xFFFFFF;
    f.page.SetCaption(QStringLiteral("%1/%2").arg(f.ExchangeCurrentPage).arg(f.ExchangePageCount));

    f.exchange.SetPicture(PictureOf(c, kExchangeLinkNormal));
    f.exchange.Move(w - 100 - 30, h - 30 - 40, 100, 30);
    f.help.FontSize = 9;
    f.help.FontBold = true;
    f.help.ForeColor = 0x0080FF; // RGB(255, 128, 0)
    f.help.Alignment = platform::Label::RightJustify;
    f.help.SetCaption(QStringLiteral("还有更多奖品,请浏览官网兑换页面!"));
    f.help.Move(f.exchange.Left - 240, f.exchange.Top + 30 - 16, 236, 16);
    f.ImgOpenvip.SetPicture(PictureOf(c, kExchangeVipNormal));
    f.ImgOpenvip.Move(40, f.exchange.Top, 90, 30);
    f.ImgOpenvip.Tag = QStringLiteral("0");
    f.Label_close.Move(456, 8, 41, 25);

    // The prizes.
    f.ExchangeItems = ExchangeGoods();
    f.ExchangeCurrentPage = 1;
    f.ExchangeLastIndex = static_cast<int32_t>(f.ExchangeItems.size()) - 1;
    f.ExchangePageCount = static_cast<int16_t>(f.ExchangeLastIndex / kExchangeCells + 1);
    ShowExchangePage(c, 1);
}

} // namespace

ExchangeForm& ExchangeWindow(Client& c)
{
    ServicesState& s = c.services;
    if (!s.exchangeFrm) {
        s.exchangeFrm = new ExchangeForm(s.Table.Window);
        ExchangeForm& f = *s.exchangeFrm;
        LayoutExchangeForm(c, f);
        f.pageDown.Click = [&c] { exchangeFrm_pageDown_Click(c); };
        f.pageUp.Click = [&c] { exchangeFrm_pageUp_Click(c); };
        f.exchange.MouseDown = [&c](int16_t, int16_t, float, float) { exchangeFrm_exchange_MouseDown(c); };
        f.exchange.MouseUp = [&c](int16_t, int16_t, float, float) { exchangeFrm_exchange_MouseUp(c); };
        f.ImgOpenvip.Click = [&c] { exchangeFrm_ImgOpenvip_Click(c); };
        f.ImgOpenvip.MouseMove = [&c](int16_t, int16_t, float, float) { exchangeFrm_ImgOpenvip_MouseMove(c); };
        f.Label_close.Click = [&c] { exchangeFrm_Label_close_Click(c); };
        f.FormMouseMove = [&c] { exchangeFrm_Form_MouseMove(c); };
    }
    return *s.exchangeFrm;
}

void ShowExchangePage(Client& c, int16_t n)
{
    ExchangeForm& f = ExchangeWindow(c);
    for (int s = 1; s <= kExchangeCells; ++s) {
        f.title1[s].SetCaption(QString());
        f.title2[s].SetCaption(QString());
        f.exchangelist[s].ClearPicture();
    }
    const int first = (n - 1) * kExchangeCells;
    if (first < 0 || first > f.ExchangeLastIndex)
        return;
    const int count = f.ExchangeLastIndex - first < kExchangeCells ? f.ExchangeLastIndex - first + 1 : kExchangeCells;
    for (int g = first + 1; g <= first + count; ++g) {
        const int s = g - first;
        const ExchangeItem& item = f.ExchangeItems[static_cast<std::size_t>(g - 1)];
        f.exchangelist[s].SetPicture(PictureOf(c, item.PictureId));
        f.title1[s].SetCaption(item.Texts.value(0));
        QString lines;
        for (int k = 1; k < item.Texts.size(); ++k)
            lines += item.Texts[k] + QStringLiteral("\r\n");
        f.title2[s].SetCaption(lines);
    }
    f.page.SetCaption(QStringLiteral("%1/%2").arg(f.ExchangeCurrentPage).arg(f.ExchangePageCount));
}

void exchangeFrm_pageDown_Click(Client& c)
{
    ExchangeForm& f = ExchangeWindow(c);
    if (f.ExchangeCurrentPage > 1)
        ShowExchangePage(c, --f.ExchangeCurrentPage);
}

void exchangeFrm_pageUp_Click(Client& c)
{
    ExchangeForm& f = ExchangeWindow(c);
    if (f.ExchangeCurrentPage < f.ExchangePageCount)
        ShowExchangePage(c, ++f.ExchangeCurrentPage);
}

void exchangeFrm_exchange_MouseDown(Client& c)
{
    Open(c, ExchangeLink());
    ExchangeWindow(c).exchange.SetPicture(PictureOf(c, kExchangeLinkPressed));
}

void exchangeFrm_exchange_MouseUp(Client& c)
{
    ExchangeWindow(c).exchange.SetPicture(PictureOf(c, kExchangeLinkNormal));
}

void exchangeFrm_ImgOpenvip_Click(Client& c)
{
    if (c.services.Hooks.OpenWebPage)
        c.services.Hooks.OpenWebPage(CachedMemberRechargeLink(c));
}

void exchangeFrm_ImgOpenvip_MouseMove(Client& c)
{
    ExchangeForm& f = ExchangeWindow(c);
    if (f.ImgOpenvip.Tag != QLatin1String("1")) {
        f.ImgOpenvip.Tag = QStringLiteral("1");
        f.ImgOpenvip.SetPicture(PictureOf(c, kExchangeVipHover));
    }
}

void exchangeFrm_Form_MouseMove(Client& c)
{
    ExchangeForm& f = ExchangeWindow(c);
    if (f.ImgOpenvip.Tag == QLatin1String("1")) {
        f.ImgOpenvip.Tag = QStringLiteral("0");
        f.ImgOpenvip.SetPicture(PictureOf(c, kExchangeVipNormal));
    }
}

void exchangeFrm_Label_close_Click(Client& c)
{
    if (c.services.exchangeFrm)
        c.services.exchangeFrm->hide();
}

void ImgJadeExch_MouseMove(Client& c)
{
    // The table's own mouse move puts the normal picture back without its
    // Tag, so the picture itself tells whether the hover look shows.
    platform::Image* b = c.services.Table.ImgJadeExch;
    if (b && (b->Tag != QLatin1String("1") || b->PictureId() != kJadeExchHover)) {
        b->Tag = QStringLiteral("1");
        b->SetPicture(PictureOf(c, kJadeExchHover));
    }
}

void ImgJadeExch_MouseUp(Client& c)
{
    ExchangeForm& f = ExchangeWindow(c);
    if (f.isVisible()) {
        f.hide();
        return;
    }
    if (!f.property("placed").toBool()) {
        CentreOver(f, c.services.Table.Window);
        f.setProperty("placed", true);
    }
    f.show();
    f.raise();
}

} // namespace services
