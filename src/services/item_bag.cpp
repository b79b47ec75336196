#include "services/item_bag.h"

#include "app/client.h"
#include "widgets/picture_tile.h"

#include <QMouseEvent>
#include <QStringList>

namespace services {

namespace {

namespace gb = protocol::goods_bag_byte;

platform::Picture PictureOf(Client& c, int id)
{
    return c.services.Hooks.Picture ? c.services.Hooks.Picture(id) : platform::Picture{};
}

// A 32-bit count whose top byte must be below 0x80.
std::optional<int32_t> CountAt(const protocol::GameFrame& frame, int at)
{
    if (frame[static_cast<std::size_t>(at + 3)] >= 0x80)
        return std::nullopt;
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | frame[static_cast<std::size_t>(at + i)];
    return static_cast<int32_t>(v);
}

int32_t GoodsIdAt(const protocol::GameFrame& frame, int at)
{
    return frame[static_cast<std::size_t>(at)] + 256 * frame[static_cast<std::size_t>(at + 1)];
}

int16_t InfoIndexOf(Client& c, int32_t goodsId)
{
    return c.services.Hooks.GoodsInfoIndex ? c.services.Hooks.GoodsInfoIndex(goodsId) : int16_t{0};
}

void SetLook(platform::Image& image, QString tag, const platform::Picture& picture)
{
    image.Tag = std::move(tag);
    image.SetPicture(picture);
}

// After any change of the bag: the stacks again, and the window at its page.
void Redraw(Client& c)
{
    c.services.GoodsStacks = SplitItemStacks(c.services.MyGoods);
    ShowGoodsPage(c, static_cast<int16_t>(GoodsWindow(c).Tag.toInt()));
}

} // namespace

std::optional<std::vector<GoodsStack>> DecodeMyGoods(const protocol::GameFrame& frame)
{
    const int n = frame[gb::EntryCount];
    if (n > gb::MaxEntries)
        return std::nullopt;
    std::vector<GoodsStack> bag(static_cast<std::size_t>(n) + 1);
    for (int k = 0; k < n; ++k) {
        const int at = gb::Entries + gb::EntrySize * k;
        const std::optional<int32_t> count = CountAt(frame, at + 2);
        if (!count)
            return std::nullopt;
        bag[static_cast<std::size_t>(k) + 1] = GoodsStack{GoodsIdAt(frame, at), *count, 0};
    }
    return bag;
}

std::optional<std::pair<int32_t, int32_t>> DecodeGoodsChange(const protocol::GameFrame& frame)
{
    const std::optional<int32_t> count = CountAt(frame, gb::ChangeCount);
    if (!count)
        return std::nullopt;
    return std::pair{GoodsIdAt(frame, gb::ChangeGoodsId), *count};
}

std::vector<GoodsStack> SplitItemStacks(const std::vector<GoodsStack>& myGoods)
{
    std::vector<GoodsStack> stacks(1);
    for (std::size_t i = 1; i < myGoods.size(); ++i) {
        const GoodsStack& e = myGoods[i];
        if (e.InfoIndex <= 0 || e.Count <= 0)
            continue;
        int32_t left = e.Count;
        while (left > 0) {
            const int32_t take = std::min(left, kStackMax);
            stacks.push_back(GoodsStack{e.GoodsId, take, e.InfoIndex});
            left -= take;
        }
    }
    return stacks;
}

int32_t GetMyGoodsCount(const std::vector<GoodsStack>& myGoods, int32_t goodsId)
{
    for (std::size_t i = 1; i < myGoods.size(); ++i)
        if (myGoods[i].GoodsId == goodsId)
            return myGoods[i].Count;
    return 0;
}

GoodsForm::GoodsForm(QWidget* owner)
    : ServiceWindow(QStringLiteral("FrmGoods"), owner, kBagWidth, kBagHeight, {}),
      ImgPage(this, QStringLiteral("ImgPage"), 2)
{
    setWindowTitle(QStringLiteral("道具包"));
    ImgPage.Load(1);
    Add(&Imgclose);
    Add(&LblshowPage);
    setMouseTracking(true);
}

void GoodsForm::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF pos = event->position();
    if (!Dragging() && !ControlAt(static_cast<float>(pos.x()), static_cast<float>(pos.y())) && FormMouseMove)
        FormMouseMove();
    ServiceWindow::mouseMoveEvent(event);
}

GoodsForm& GoodsWindow(Client& c)
{
    ServicesState& s = c.services;
    if (s.FrmGoods)
        return *s.FrmGoods;
    s.FrmGoods = new GoodsForm(s.Table.Window);
    GoodsForm& f = *s.FrmGoods;
    f.BackPicture = PictureOf(c, kBagBackground);
    // Two rows of four tiles, 64 pixels apart.
    for (int j = 0; j < kBagTiles; ++j) {
        auto* tile = new widgets::IPic(&f, QStringLiteral("iPic1"));
        tile->move(30 + 64 * (j % 4), j < 4 ? 68 : 124);
        tile->hide();
        f.iPic1[static_cast<std::size_t>(j)] = tile;
    }
    f.ImgPage[0].Move(72, 186, 40, 20);
    f.ImgPage[1].Move(176, 186, 40, 20);
    SetLook(f.ImgPage[0], QStringLiteral("0"), PictureOf(c, kBagPrevNormal));
    SetLook(f.ImgPage[1], QStringLiteral("0"), PictureOf(c, kBagNextNormal));
    f.ImgPage[0].Visible = f.ImgPage[1].Visible = false;
    f.LblshowPage.Move(135, 186, 40, 20);
    f.LblshowPage.Alignment = platform::Label::Center;
    f.LblshowPage.ForeColor = 0xFFFFFF;
    f.LblshowPage.SetCaption(QString());
    f.LblshowPage.Visible = false;
    f.Imgclose.Move(kBagWidth - 26, 6, 20, 20);
    SetLook(f.Imgclose, QStringLiteral("0"), PictureOf(c, kBagCloseNormal));
    for (int i = 0; i < 2; ++i) {
        f.ImgPage[i].Click = [&c, i] { ImgPage_Click(c, i); };
        f.ImgPage[i].MouseMove = [&c, i](int16_t, int16_t, float, float) { ImgPage_MouseMove(c, i); };
    }
    f.Imgclose.Click = [&c] { Imgclose_Click(c); };
    f.Imgclose.MouseMove = [&c](int16_t, int16_t, float, float) { Imgclose_MouseMove(c); };
    f.FormMouseMove = [&c] { FrmGoods_Form_MouseMove(c); };
    f.Tag = QStringLiteral("1");
    return f;
}

bool MsgMyGoods(Client& c, const protocol::GameFrame& frame)
{
    std::optional<std::vector<GoodsStack>> bag = DecodeMyGoods(frame);
    if (!bag)
        return false;
    for (std::size_t i = 1; i < bag->size(); ++i)
        (*bag)[i].InfoIndex = InfoIndexOf(c, (*bag)[i].GoodsId);
    c.services.MyGoods = std::move(*bag);
    if (platform::Image* bank = c.services.Table.Bank; bank && !(bank->Visible && bank->Enabled)) {
        bank->Enabled = true;
        bank->SetVisible(true);
        bank->ZOrder(0);
    }
    Redraw(c);
    return true;
}

std::optional<GoodsChange> MsgGoodsChange(Client& c, const protocol::GameFrame& frame)
{
    const std::optional<std::pair<int32_t, int32_t>> change = DecodeGoodsChange(frame);
    if (!change)
        return std::nullopt;
    std::vector<GoodsStack>& bag = c.services.MyGoods;
    const int32_t goodsId = change->first;
    const int32_t count = change->second;
    GoodsChange out{goodsId, GetMyGoodsCount(bag, goodsId), 0};
    auto entry = std::find_if(bag.begin() + 1, bag.end(), [&](const GoodsStack& e) { return e.GoodsId == goodsId; });
    if (entry != bag.end()) {
        if (count != 0)
            entry->Count = count;
        else
            bag.erase(entry);
    } else if (count > 0) {
        bag.push_back(GoodsStack{goodsId, count, InfoIndexOf(c, goodsId)});
    }
    out.After = GetMyGoodsCount(bag, goodsId);
    Redraw(c);
    return out;
}

void ShowGoodsPage(Client& c, int16_t page)
{
    GoodsForm& f = GoodsWindow(c);
    const std::vector<GoodsStack>& stacks = c.services.GoodsStacks;
    const int s = static_cast<int>(stacks.size()) - 1;
    for (widgets::IPic* tile : f.iPic1) {
        tile->SetText(QString());
        tile->setToolTip(QString());
        tile->hide();
    }
    f.LblshowPage.SetCaption(QString());
    f.ImgPage[0].SetVisible(false);
    f.ImgPage[1].SetVisible(false);
    int p = std::max<int>(page, 1);
    int first = 8 * p - 7;
    while (first > s) {
        if (p == 1)
            return;
        --p;
        first = 8 * p - 7;
    }
    f.Tag = QString::number(p);
    for (int j = 0; j < kBagTiles && first + j <= s; ++j) {
        const GoodsStack& stack = stacks[static_cast<std::size_t>(first + j)];
        const auto [picId, des] =
            c.services.Hooks.GoodsLook ? c.services.Hooks.GoodsLook(stack.InfoIndex) : std::pair<int16_t, QString>{};
        widgets::IPic* tile = f.iPic1[static_cast<std::size_t>(j)];
        tile->SetBackPic(PictureOf(c, picId));
        tile->SetText(QString::number(stack.Count));
        tile->setToolTip(des);
    }
    const int pages = (s + 7) / 8;
    f.LblshowPage.SetCaption(QStringLiteral("%1/%2").arg(p).arg(pages));
    f.ImgPage[0].SetVisible(true);
    f.ImgPage[1].SetVisible(true);
    f.LblshowPage.SetVisible(true);
    for (widgets::IPic* tile : f.iPic1)
        tile->setVisible(!tile->text().isEmpty());
}

void ImgPage_Click(Client& c, int index)
{
    GoodsForm& f = GoodsWindow(c);
    const QStringList parts = f.LblshowPage.Caption.split(QLatin1Char('/'));
    if (parts.size() != 2)
        return;
    const int cur = parts[0].toInt();
    const int total = parts[1].toInt();
    if (index == 0 && cur != 1)
        ShowGoodsPage(c, static_cast<int16_t>(cur - 1));
    if (index == 1 && cur < total)
        ShowGoodsPage(c, static_cast<int16_t>(cur + 1));
}

void ImgPage_MouseMove(Client& c, int index)
{
    GoodsForm& f = GoodsWindow(c);
    platform::Image& b = f.ImgPage[index];
    if (b.Tag != QStringLiteral("1"))
        SetLook(b, QStringLiteral("1"), PictureOf(c, index == 0 ? kBagPrevHover : kBagNextHover));
}

void Imgclose_Click(Client& c) { GoodsWindow(c).hide(); }

void Imgclose_MouseMove(Client& c)
{
    GoodsForm& f = GoodsWindow(c);
    if (f.Imgclose.Tag != QStringLiteral("1"))
        SetLook(f.Imgclose, QStringLiteral("1"), PictureOf(c, kBagCloseHover));
}

void FrmGoods_Form_MouseMove(Client& c)
{
    GoodsForm& f = GoodsWindow(c);
    for (int i = 0; i < 2; ++i)
        if (f.ImgPage[i].Tag != QStringLiteral("0"))
            SetLook(f.ImgPage[i], QStringLiteral("0"), PictureOf(c, i == 0 ? kBagPrevNormal : kBagNextNormal));
    if (f.Imgclose.Tag != QStringLiteral("0"))
        SetLook(f.Imgclose, QStringLiteral("0"), PictureOf(c, kBagCloseNormal));
}

void Bank_Click(Client& c)
{
    GoodsForm& f = GoodsWindow(c);
    if (f.isVisible()) {
        f.hide();
        return;
    }
    ShowGoodsPage(c, static_cast<int16_t>(f.Tag.toInt()));
    if (!f.PlacedOnce) {
        CentreOver(f, c.services.Table.Window);
        f.PlacedOnce = true;
    }
    f.show();
    f.raise();
}

void Bank_MouseMove(Client& c)
{
    ServicesState& s = c.services;
    if (s.BankHoverShown || !s.Table.Bank)
        return;
    const platform::Picture hover = PictureOf(c, kBankHover);
    if (hover.isNull())
        return;
    s.Table.Bank->SetPicture(hover);
    s.BankHoverShown = -1;
}

void Bank_MouseOut(Client& c)
{
    ServicesState& s = c.services;
    if (!s.BankHoverShown || !s.Table.Bank)
        return;
    s.BankHoverShown = 0;
    s.Table.Bank->SetPicture(PictureOf(c, kBankNormal));
}

} // namespace services
