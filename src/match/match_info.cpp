#include "match/match_info.h"

#include "app/client.h"
#include "core/numeric.h"
#include "match/match_download.h"
#include "platform/gbk.h"

#include <QDomDocument>
#include <QFile>
#include <QRegularExpression>
#include <cmath>
#include <stdexcept>

namespace match {

int16_t GoodsPicId(int32_t goodsId)
{
    switch (goodsId) {
    case 1: return 568;
    case 2: return 569;
    case 3: return 567;
    case 4: return 576;
    case 5: return 577;
    case 6: return 578;
    case 7: return 570;
    case 8: return 571;
    default: break;
    }
    if (goodsId >= 9 && goodsId <= 20)
        return static_cast<int16_t>(goodsId + 846);
    return 786;
}

namespace {

const GoodsItem* FindGoods(const std::vector<GoodsItem>& goods, double id)
{
    for (std::size_t i = 1; i < goods.size(); ++i)
        if (static_cast<double>(goods[i].id) == id)
            return &goods[i];
    return nullptr;
}

} // namespace

QString BuildFeeText(const QString& ex, const std::vector<GoodsItem>& goods)
{
    QString fee;
    bool first = true;
    for (const QString& rawPart : ex.split(QLatin1Char(';'))) {
        const QString part = rawPart.trimmed();
        if (part.isEmpty())
            break;
        const QStringList pieces = part.split(QLatin1Char(':'));
        if (pieces.size() != 2)
            break;
        const QString& kind = pieces[0];
        const QString& amount = pieces[1];
        QString add;
        if (kind == QLatin1String("g")) {
            add = amount + QStringLiteral("金币");
        } else if (const GoodsItem* g = FindGoods(goods, core::LeadingNumber(kind))) {
            add = amount + g->na;
        } else {
            continue;
        }
        if (!first)
            fee += QLatin1Char('+');
        fee += add;
        first = false;
    }
    return fee;
}

PrizeTable BuildPrizeRows(const QString& pz, const std::vector<GoodsItem>& goods)
{
    if (pz.isEmpty())
        return {};
    QStringList rows = pz.split(QLatin1Char('|'));
    if (rows.size() > kMaxPrizeRows)
        rows = rows.mid(0, kMaxPrizeRows);
    PrizeTable table(static_cast<std::size_t>(rows.size()));
    for (qsizetype r = 0; r < rows.size(); ++r) {
        const QString row = rows[r].trimmed();
        if (row.isEmpty())
            break;
        const QStringList columns = row.split(QLatin1Char(';'));
        if (columns.size() < 2 || columns[0].isEmpty())
            break;
        PrizeRow& out = table[static_cast<std::size_t>(r)];
        out.place = QStringLiteral("第") + columns[0] + QStringLiteral("名");
        if (columns[1].isEmpty())
            break;
        bool first = true;
        for (qsizetype k = 1; k < columns.size(); ++k) {
            const QStringList pieces = columns[k].split(QLatin1Char(':'));
            if (pieces.size() != 2)
                break;
            const QString& kind = pieces[0];
            const QString& amount = pieces[1];
            if (core::LeadingNumber(amount) <= 0)
                continue;
            QString add;
            if (kind == QLatin1String("g")) {
                add = amount + QStringLiteral("金币");
            } else if (core::LeadingNumber(kind) == 1.0) {
                add = QStringLiteral("翡翠奖励×") + amount;
                out.jade = amount;
            } else if (const GoodsItem* g = FindGoods(goods, core::LeadingNumber(kind))) {
                add = amount + g->un + g->na;
            } else {
                continue;
            }
            if (!first)
                out.prize += QLatin1Char('+');
            out.prize += add;
            first = false;
        }
    }
    return table;
}

namespace {

// A document that breaks the format.
struct Malformed : std::runtime_error {
    using std::runtime_error::runtime_error;
};

QString Attr(const QDomElement& e, const QString& name)
{
    if (!e.hasAttribute(name))
        throw Malformed(QStringLiteral("%1 has no %2").arg(e.tagName(), name).toStdString());
    return e.attribute(name);
}

int32_t Lenient32(const QDomElement& e, const QString& name)
{
    try {
        return core::CLng(core::LeadingNumber(Attr(e, name)));
    } catch (const core::NumericFault&) {
        throw Malformed(QStringLiteral("%1 %2 out of range").arg(e.tagName(), name).toStdString());
    }
}

int16_t Lenient16(const QDomElement& e, const QString& name)
{
    try {
        return core::CInt(core::LeadingNumber(Attr(e, name)));
    } catch (const core::NumericFault&) {
        throw Malformed(QStringLiteral("%1 %2 out of range").arg(e.tagName(), name).toStdString());
    }
}

// The whole text must be a number.
int16_t Strict16(const QDomElement& e, const QString& name)
{
    static const QRegularExpression kWhole(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)$"));
    const QString text = Attr(e, name).trimmed();
    if (!kWhole.match(text).hasMatch())
        throw Malformed(QStringLiteral("%1 %2 is not a number").arg(e.tagName(), name).toStdString());
    try {
        return core::CInt(text.toDouble());
    } catch (const core::NumericFault&) {
        throw Malformed(QStringLiteral("%1 %2 out of range").arg(e.tagName(), name).toStdString());
    }
}

int Count(const QDomElement& section)
{
    const int16_t n = Lenient16(section, QStringLiteral("n"));
    if (n < 0 || n > kMaxDocumentEntries)
        throw Malformed(QStringLiteral("%1 announces %2 entries").arg(section.tagName()).arg(n).toStdString());
    return n;
}

QDomElement Child(const QDomElement& section, const QString& letter, int i)
{
    return section.firstChildElement(letter + QString::number(i));
}

QDomElement RequiredChild(const QDomElement& section, const QString& letter, int i)
{
    QDomElement e = Child(section, letter, i);
    if (e.isNull())
        throw Malformed(QStringLiteral("%1 lacks %2%3").arg(section.tagName(), letter).arg(i).toStdString());
    return e;
}

std::vector<GoodsItem> ReadGoods(const QDomElement& section, int16_t panelMode)
{
    const int n = Count(section);
    std::vector<GoodsItem> goods(static_cast<std::size_t>(n) + 1);
    for (int i = 1; i <= n; ++i) {
        const QDomElement e = RequiredChild(section, QStringLiteral("g"), i);
        GoodsItem& g = goods[static_cast<std::size_t>(i)];
        g.id = Lenient32(e, QStringLiteral("id"));
        g.na = Attr(e, QStringLiteral("na"));
        g.des = Attr(e, QStringLiteral("des"));
        g.un = Attr(e, QStringLiteral("un"));
        Lenient16(e, QStringLiteral("sid")); // must be there and fit; not kept
        g.price = Lenient32(e, panelMode == 2 ? QStringLiteral("pricenorth") : QStringLiteral("price"));
        g.PicId = GoodsPicId(g.id);
    }
    return goods;
}

std::vector<ChipLimit> ReadChips(const QDomElement& section)
{
    const int n = Count(section);
    std::vector<ChipLimit> chips(static_cast<std::size_t>(n) + 1);
    for (int i = 1; i <= n; ++i) {
        const QDomElement e = Child(section, QStringLiteral("roomchipnum"), i);
        if (e.isNull())
            continue; // a missing entry stays empty
        chips[static_cast<std::size_t>(i)].key = Attr(e, QStringLiteral("id"));
        chips[static_cast<std::size_t>(i)].max = Lenient32(e, QStringLiteral("num"));
    }
    return chips;
}

std::vector<MatchType> ReadTypes(const QDomElement& section, const std::vector<GoodsItem>& goods)
{
    const int n = Count(section);
    std::vector<MatchType> types(static_cast<std::size_t>(n) + 1);
    for (int i = 1; i <= n; ++i) {
        const QDomElement e = RequiredChild(section, QStringLiteral("m"), i);
        MatchType& t = types[static_cast<std::size_t>(i)];
        t.id = Lenient32(e, QStringLiteral("id"));
        t.na = Attr(e, QStringLiteral("na"));
        t.rm = Attr(e, QStringLiteral("rm"));
        t.mtype = Strict16(e, QStringLiteral("mtype"));
        t.ex = Attr(e, QStringLiteral("ex"));
        t.FeeText = BuildFeeText(t.ex, goods);
        t.ut = Lenient32(e, QStringLiteral("ut"));
        t.utl = Lenient32(e, QStringLiteral("utl"));
        t.des = Attr(e, QStringLiteral("des"));
        t.rl = Attr(e, QStringLiteral("rl"));
        t.pz = Attr(e, QStringLiteral("pz"));
        t.PrizeRows = BuildPrizeRows(t.pz, goods);
    }
    return types;
}

// The encoding the XML declaration names, lower case; "" without one.
QByteArray DeclaredEncoding(const QByteArray& xml)
{
    static const QRegularExpression kDecl(QStringLiteral("^\\s*<\\?xml[^>]*encoding\\s*=\\s*[\"']([A-Za-z0-9._-]+)[\"']"));
    const QRegularExpressionMatch m = kDecl.match(QString::fromLatin1(xml.left(200)));
    return m.hasMatch() ? m.captured(1).toLower().toLatin1() : QByteArray();
}

bool ParseXml(const QByteArray& xml, QDomDocument& doc)
{
    const QByteArray encoding = DeclaredEncoding(xml);
    if (encoding == "gbk" || encoding == "gb2312" || encoding == "gb18030" || encoding == "cp936" ||
        encoding == "x-gbk")
        return static_cast<bool>(doc.setContent(platform::gbk::Decode(xml)));
    return static_cast<bool>(doc.setContent(xml));
}

} // namespace

DocumentResult ReadMatchDocument(const QByteArray& xml, int16_t panelMode, MatchTables& tables)
{
    QDomDocument doc;
    if (!ParseXml(xml, doc) || doc.documentElement().isNull()) {
        tables.MatchTypes.assign(1, MatchType{});
        return DocumentResult::NoMatches;
    }
    const QDomElement root = doc.documentElement();
    MatchTables read = tables;
    try {
        const QDomElement item = root.firstChildElement(QStringLiteral("item"));
        if (!item.isNull())
            read.GoodsInfo = ReadGoods(item, panelMode);
        const QDomElement chips = root.firstChildElement(QStringLiteral("room_chip"));
        if (!chips.isNull())
            read.ChipLimits = ReadChips(chips);
        const QDomElement info = root.firstChildElement(QStringLiteral("matchinfo"));
        read.MatchTypes.assign(1, MatchType{});
        if (!info.isNull())
            read.MatchTypes = ReadTypes(info, read.GoodsInfo);
    } catch (const Malformed& e) {
        qWarning("match-info document refused: %s", e.what());
        return DocumentResult::Malformed;
    }
    tables = std::move(read);
    return CountOf(tables.MatchTypes) > 0 ? DocumentResult::Loaded : DocumentResult::NoMatches;
}

bool GetAllMatch(Client& c)
{
    MatchState& m = c.match;
    const QString name = m.MatchInfoFile.trimmed();
    const QString folder = MatchFolder(c);
    if (name.isEmpty() || folder.isEmpty() || !IsPlainMatchFileName(name)) {
        m.tables.MatchTypes.assign(1, MatchType{});
        return false;
    }
    QFile file(folder + QLatin1Char('/') + name);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxDocumentBytes) {
        m.tables.MatchTypes.assign(1, MatchType{});
        return false;
    }
    return ReadMatchDocument(file.readAll(), m.MatchPanelMode, m.tables) == DocumentResult::Loaded;
}

} // namespace match
