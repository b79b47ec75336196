#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

class Client;

namespace match {

// One goods entry of the catalogue.
struct GoodsItem {
    int32_t id = 0;
    QString na;  // name
    QString des; // description
    int16_t PicId = 0; // GIF resource id of its picture
    int32_t price = 0;
    QString un; // unit word between an amount and the name
};

// The largest bet per hand of one room grade.
struct ChipLimit {
    QString key; // the grade as written, or "other"
    int32_t max = 0;
};

// One prize row: place text, prize text, jade factor ("" without jade).
struct PrizeRow {
    QString place;
    QString prize;
    QString jade;
    bool operator==(const PrizeRow&) const = default;
};
using PrizeTable = std::vector<PrizeRow>;

// One kind of match the server runs.
struct MatchType {
    int32_t id = 0;
    QString na;
    QString ex;      // entry fee as written
    QString FeeText; // the fee as shown
    int32_t utl = 0; // player limit, first number
    int32_t ut = 0;  // player limit, second number
    QString des;
    QString rl; // rules
    QString pz; // prizes as written
    PrizeTable PrizeRows;
    int16_t mtype = 0;
    QString rm; // remark
};

// The three tables of the match-info document. Each holds entry 0, empty,
// before the entries in use (1 to the count).
struct MatchTables {
    std::vector<GoodsItem> GoodsInfo = std::vector<GoodsItem>(1);
    std::vector<ChipLimit> ChipLimits = std::vector<ChipLimit>(1);
    std::vector<MatchType> MatchTypes = std::vector<MatchType>(1);
};

inline int16_t CountOf(const auto& table) { return static_cast<int16_t>(table.size() - 1); }

// Most entries a section may announce; more is a broken document.
constexpr int kMaxDocumentEntries = 1000;
// Most prize rows of one match type; further rows are not read.
constexpr int kMaxPrizeRows = 100;
// Largest match-info document read or fetched.
constexpr qint64 kMaxDocumentBytes = 4 * 1024 * 1024;

// The GIF resource id of a goods picture.
int16_t GoodsPicId(int32_t goodsId);

// The fee text of an entry-fee string ("g:500;15:1" -> "500金币+1香烟").
QString BuildFeeText(const QString& ex, const std::vector<GoodsItem>& goods);

// The prize rows of a prize string ("1;g:1000|2;g:500;1:2").
PrizeTable BuildPrizeRows(const QString& pz, const std::vector<GoodsItem>& goods);

enum class DocumentResult {
    Loaded,    // the match types were read
    NoMatches, // no document element, no matchinfo section, or none in it
    Malformed, // a section breaks the format: nothing was changed
};

// Reads a match-info document (XML bytes, in the encoding its declaration
// names: GBK or UTF-8) into `tables`. Loaded: all sections present replace
// their tables. NoMatches: the match types are emptied, goods and chip limits
// replaced by the sections that were there. Malformed: `tables` is left as it
// was. `panelMode` 2 takes goods prices from "pricenorth", others from "price".
DocumentResult ReadMatchDocument(const QByteArray& xml, int16_t panelMode, MatchTables& tables);

// Loads the file MatchInfoFile of the match folder into the client's tables;
// true when the match types were read. A missing file, a blank name or any
// failure of ReadMatchDocument gives false.
bool GetAllMatch(Client& c);

} // namespace match
