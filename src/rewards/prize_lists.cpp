#include "rewards/prize_lists.h"

#include "app/client.h"
#include "match/match.h"
#include "platform/gbk.h"
#include "protocol/kinds.h"
#include "window/pictures.h"

#include <QDateTime>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QTimeZone>

namespace rewards {

namespace {

namespace pb = protocol::prize_list_byte;

constexpr int kRecordFixed = 56; // bytes of a record besides its items
constexpr int kItemSize = 6;
constexpr int kWinRows = 9;
constexpr int kPanelBackground = 1163;
constexpr int kSortHover = 582;

uint32_t U32(const protocol::GameFrame& f, int at)
{
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | f[static_cast<std::size_t>(at + i)];
    return v;
}

int32_t I32(const protocol::GameFrame& f, int at) { return static_cast<int32_t>(U32(f, at)); }

// A GBK text of a record, byte by byte: a byte of 0x80 or more takes the next
// byte with it, a 0 byte ends it. With cut, a character that starts too late
// ends the text with "...".
QString TextAt(const protocol::GameFrame& f, int start, int last, int cutSingle = -1, int cutLead = -1)
{
    QByteArray bytes;
    for (int i = start; i <= last;) {
        const uint8_t b = f[static_cast<std::size_t>(i)];
        if (b == 0)
            break;
        const bool lead = b >= 0x80;
        if (cutSingle >= 0 && ((!lead && i >= cutSingle) || (lead && i >= cutLead)))
            return platform::gbk::Decode(bytes) + QStringLiteral("...");
        bytes.append(static_cast<char>(b));
        if (lead)
            bytes.append(static_cast<char>(f[static_cast<std::size_t>(i + 1)]));
        i += lead ? 2 : 1;
    }
    return platform::gbk::Decode(bytes);
}

void OfferBigPrize(BetsState& b, const PrizeRecord& r)
{
    if (r.Class == 255 || r.Id <= 0)
        return;
    for (int j = 1; j <= 3; ++j) {
        PrizeRecord& big = b.BigPrizeList[static_cast<std::size_t>(j)];
        if (big.Id == r.Id)
            return;
        if (big.Id < r.Id && (big.Class == r.Class || big.Id == 0)) {
            big = r;
            return;
        }
    }
}

QString TimeText(int32_t seconds)
{
    return QDateTime::fromSecsSinceEpoch(seconds, QTimeZone(8 * 3600))
        .toString(QStringLiteral("MM-dd hh:mm"));
}

} // namespace

std::optional<PrizeListFrame> DecodePrizeLists(const protocol::GameFrame& f)
{
    if (f[pb::ListKind] != 4)
        return std::nullopt;
    PrizeListFrame out;
    out.More = f[pb::More] == 255;
    const int count = f[pb::RecordCount];
    int at = pb::Records;
    for (int k = 0; k < count; ++k) {
        // The fixed part up to the item count, then the items and the class.
        if (at + kRecordFixed - 1 > protocol::kFrameSize - 1)
            return std::nullopt;
        const int n = f[static_cast<std::size_t>(at + 54)];
        const int size = kRecordFixed + kItemSize * n;
        if (at + size - 1 > protocol::kFrameSize - 1)
            return std::nullopt;
        PrizeRecord r;
        r.Id = I32(f, at);
        r.Label = TextAt(f, at + 4, at + 19);
        r.Time = I32(f, at + 20);
        r.Nickname = TextAt(f, at + 24, at + 47, at + 46, at + 45);
        r.Number = static_cast<int16_t>(f[static_cast<std::size_t>(at + 48)] | (f[static_cast<std::size_t>(at + 49)] << 8));
        r.Amount = I32(f, at + 50);
        r.ItemCount = static_cast<uint8_t>(n);
        r.ItemIds.assign(static_cast<std::size_t>(n) + 1, 0);
        r.ItemCounts.assign(static_cast<std::size_t>(n) + 1, 0);
        for (int item = 1; item <= n; ++item) {
            const int p = at + 55 + kItemSize * (item - 1);
            r.ItemIds[static_cast<std::size_t>(item)] =
                f[static_cast<std::size_t>(p)] | (f[static_cast<std::size_t>(p + 1)] << 8);
            r.ItemCounts[static_cast<std::size_t>(item)] = I32(f, p + 2);
        }
        r.Class = f[static_cast<std::size_t>(at + 55 + kItemSize * n)];
        out.Records.push_back(std::move(r));
        at += size;
    }
    return out;
}

void InsertPrizeRecord(BetsState& b, const PrizeRecord& record)
{
    // Ids are serial numbers above 0; anything else names no win.
    if (record.Id <= 0)
        return;
    PrizeRecord candidate;
    bool filed = false;
    for (int i = 1; i <= kWinRows; ++i) {
        if (b.WinList[static_cast<std::size_t>(i)].Id == record.Id) {
            filed = true;
            break;
        }
        if (b.WinList[static_cast<std::size_t>(i)].Id < record.Id) {
            for (int c = kWinRows; c >= i + 1; --c)
                if (b.WinList[static_cast<std::size_t>(c - 1)].Id > 0) {
                    if (c == kWinRows - b.BigPrizeCount)
                        candidate = b.WinList[static_cast<std::size_t>(c)];
                    b.WinList[static_cast<std::size_t>(c)] = b.WinList[static_cast<std::size_t>(c - 1)];
                }
            b.WinList[static_cast<std::size_t>(i)] = record;
            filed = true;
            break;
        }
    }
    if (!filed)
        candidate = record;
    OfferBigPrize(b, candidate);
    b.BigPrizeCount = 0;
    for (int j = 1; j <= 3; ++j)
        if (b.BigPrizeList[static_cast<std::size_t>(j)].Id > 0)
            ++b.BigPrizeCount;
    if (b.BigPrizeCount > 0 && !filed)
        OfferBigPrize(b, b.WinList[static_cast<std::size_t>(10 - b.BigPrizeCount)]);
}

int FindGoodsIndex(const std::vector<match::GoodsItem>& goods, int32_t goodsId)
{
    for (std::size_t i = 0; i < goods.size(); ++i)
        if (goods[i].id == goodsId)
            return static_cast<int>(i);
    return -1;
}

QString FormatPrizeItems(const std::vector<match::GoodsItem>& goods, int count, const std::vector<int32_t>& ids,
                         const std::vector<int32_t>& counts)
{
    QString out;
    for (int k = 0; k <= count && k < static_cast<int>(ids.size()) && k < static_cast<int>(counts.size()); ++k) {
        const int i = FindGoodsIndex(goods, ids[static_cast<std::size_t>(k)]);
        if (i > 0) {
            const match::GoodsItem& g = goods[static_cast<std::size_t>(i)];
            out += g.na + QString::number(counts[static_cast<std::size_t>(k)]) + g.un + QLatin1Char(' ');
        }
    }
    return out;
}

std::vector<PrizeRow> PrizeListRows(const Client& c)
{
    const BetsState& b = c.rewards.Bets;
    const auto& colors = c.match.SortPlaceColors;
    std::vector<PrizeRow> rows;
    for (int row = 1; row <= kWinRows; ++row) {
        if (b.WinList[static_cast<std::size_t>(row)].Id < 1)
            break;
        const PrizeRecord& r = b.BigPrizeCount + row > kWinRows
                                   ? b.BigPrizeList[static_cast<std::size_t>(b.BigPrizeCount + row - kWinRows)]
                                   : b.WinList[static_cast<std::size_t>(row)];
        PrizeRow out;
        out.Color = colors[static_cast<std::size_t>(std::min(row - 1, 3))];
        out.Texts = {TimeText(r.Time), r.Nickname, r.Label, QString::number(r.Amount),
                     FormatPrizeItems(c.match.tables.GoodsInfo, r.ItemCount, r.ItemIds, r.ItemCounts),
                     QString::number(r.Number)};
        rows.push_back(std::move(out));
    }
    return rows;
}

void DrawPrizeList(Client& c)
{
    BetsState& b = c.rewards.Bets;
    platform::PictureBox* box = b.Pic_prizesort;
    if (!box)
        return;
    QImage canvas(box->size(), QImage::Format_ARGB32_Premultiplied);
    canvas.fill(QColor(40, 24, 12));
    QPainter p(&canvas);
    const platform::Picture back = window::LoadGifPicture(kPanelBackground, QStringLiteral("GIF"));
    if (!back.isNull())
        p.drawImage(canvas.rect(), back.image);
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(13);
    p.setFont(font);
    const QFontMetrics metrics(font);
    std::array<float, 6> centres{};
    centres[0] = b.PrizeListLeft;
    for (int k = 1; k < 6; ++k)
        centres[static_cast<std::size_t>(k)] =
            centres[static_cast<std::size_t>(k - 1)] + b.PrizeListColWidths[static_cast<std::size_t>(k - 1)];
    const std::vector<PrizeRow> rows = PrizeListRows(c);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        const float y = b.PrizeListRowHeight * (row + 1) + b.PrizeListTop + (b.PrizeListRowHeight - 28) / 2.0f + 3;
        p.setPen(platform::ColorFromBgr(static_cast<int32_t>(rows[i].Color)));
        for (std::size_t k = 0; k < 6; ++k) {
            const QString& text = rows[i].Texts[k];
            const int x = static_cast<int>(centres[k] - metrics.horizontalAdvance(text) / 2);
            p.drawText(x, static_cast<int>(y) + metrics.ascent(), text);
        }
    }
    p.end();
    platform::Picture picture;
    picture.image = canvas;
    box->SetPicture(picture);
    box->update();
}

void OnPrizeListMsg(Client& c, const protocol::GameFrame& frame)
{
    const std::optional<PrizeListFrame> list = DecodePrizeLists(frame);
    if (!list)
        return;
    BetsState& b = c.rewards.Bets;
    if (list->More)
        b.PrizeListFlag = -1;
    for (const PrizeRecord& r : list->Records)
        InsertPrizeRecord(b, r);
    if (b.Pic_prizesort && b.Pic_prizesort->isVisible())
        DrawPrizeList(c);
}

void Send94(Client& c, int32_t newestId)
{
    protocol::GameFrame frame{};
    frame[protocol::frame_byte::Kind] = protocol::CmdPrizeLists;
    for (int i = 0; i < 4; ++i)
        frame[static_cast<std::size_t>(pb::RequestId + i)] = static_cast<uint8_t>(static_cast<uint32_t>(newestId) >> (8 * i));
    match::QueueMatchFrame(c, frame);
}

void bt_prizesort_Click(Client& c)
{
    BetsState& b = c.rewards.Bets;
    if (!b.Pic_prizesort)
        return;
    if (b.Pic_prizesort->isVisible()) {
        b.Pic_prizesort->hide();
        return;
    }
    if (b.PrizeListFirstOpen) {
        Send94(c, 0);
        b.PrizeListFirstOpen = 0;
    } else if (b.PrizeListFlag || b.WinList[1].Id == 0) {
        Send94(c, b.WinList[1].Id);
    }
    b.PrizeListFlag = 0;
    DrawPrizeList(c);
    b.Pic_prizesort->show();
    b.Pic_prizesort->raise();
}

void bt_prizesort_MouseMove(Client& c)
{
    BetsState& b = c.rewards.Bets;
    if (b.bt_prizesort.Tag.toInt() == 1)
        return;
    b.bt_prizesort.Tag = QStringLiteral("1");
    window::LoadGifResource(kSortHover, QStringLiteral("GIF"), b.bt_prizesort);
}

} // namespace rewards
