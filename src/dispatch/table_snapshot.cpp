// The snapshot of a running hand: the hand header (kind 41) and the four
// seat frames (kind 40).
#include "dispatch/snapshot_arms.h"

#include "app/client.h"
#include "autoplay/snapshot.h"
#include "core/table_reset.h"
#include "dispatch/frame_checks.h"
#include "dispatch/frame_fields.h"
#include "table/geometry.h"
#include "table/tiles.h"
#include "window/main_form.h"
#include "window/pictures.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace dispatch {

namespace {

constexpr int kEntries = 24;
constexpr int kMostConcealed = 14;
constexpr int kSlots = 18;
constexpr int kClassExposed = 2;
constexpr int kClassConcealed = 1;
constexpr int kSpecialRows = 4; // tiles of one kind a special-kong row holds

// Tile sizes (base pixels) of the snapshot, by view.
constexpr table::ViewSizes kExposedSize{{{45, 56}, {45, 35}, {34, 40}, {45, 35}}};
constexpr table::ViewSizes kConcealedSize{{{48, 78}, {35, 66}, {36, 50}, {35, 66}}};

int PosMod(int value, int m) { return ((value % m) + m) % m; }

enum class Special { None, Red, Green, Wild };

Special SpecialOf(int tile, int wild)
{
    if (tile == table::kRedDragon)
        return Special::Red;
    if (tile == table::kGreenDragon)
        return Special::Green;
    if (tile == wild)
        return Special::Wild;
    return Special::None;
}

// The seat frame read and checked before anything is laid.
struct SeatPlan {
    int view = 0;
    std::vector<int16_t> specials;  // in frame order
    std::vector<int16_t> exposed;   // sorted, without the specials
    std::vector<bool> fourthOfKong; // by sorted position: shares the slot of the tile before
    int exposedSlots = 0;           // slots the exposed tiles take
    std::vector<int16_t> concealed; // in frame order
};

SeatPlan ReadSeatFrame(Client& c, const protocol::GameCmd& msg)
{
    const GameState& g = c.game;
    const protocol::GameFrame& f = c.core.RecvFrame;
    SeatPlan plan;
    plan.view = ViewOfSeat(c, msg.Seat & 0x0F);
    const table::PlayerRecord& p = g.Players[static_cast<std::size_t>(plan.view)];

    std::vector<int16_t> exposed;
    for (int k = 0; k < kEntries; ++k) {
        const int kind = f[static_cast<std::size_t>(protocol::seat_snapshot_byte::Tiles + 2 * k)] >> 4;
        const int16_t tile = f[static_cast<std::size_t>(protocol::seat_snapshot_byte::Tiles + 1 + 2 * k)];
        if (kind == kClassExposed) {
            RequireTile(tile, "exposed tile of a seat frame");
            exposed.push_back(tile);
        } else if (kind == kClassConcealed) {
            if (plan.concealed.size() == kMostConcealed)
                throw FrameFault("more than 14 concealed tiles in a seat frame");
            plan.concealed.push_back(tile);
        }
    }

    // The red dragons, green dragons and wild tiles go to the special-kong
    // row, whose rows hold four of each.
    int reds = p.RedLaid, greens = p.GreenLaid, wilds = p.WildLaid;
    for (const int16_t tile : exposed) {
        switch (SpecialOf(tile, c.table.WildTile)) {
        case Special::Red: ++reds; break;
        case Special::Green: ++greens; break;
        case Special::Wild: ++wilds; break;
        case Special::None: plan.exposed.push_back(tile); continue;
        }
        plan.specials.push_back(tile);
    }
    if (reds > kSpecialRows || greens > kSpecialRows || wilds > kSpecialRows)
        throw FrameFault("more than four tiles of one kind in a special-kong row");

    autoplay::SortTiles(plan.exposed.data(), static_cast<uint8_t>(plan.exposed.size()));
    int meldEnd = p.MeldEnd;
    for (std::size_t k = 0; k < plan.exposed.size(); ++k) {
        const bool fourth = k >= 3 && plan.exposed[k] == plan.exposed[k - 3];
        plan.fourthOfKong.push_back(fourth);
        if (meldEnd < 0 || meldEnd >= kSlots)
            throw FrameFault("exposed tiles overrun the seat's slots");
        if (!fourth)
            ++meldEnd;
    }
    plan.exposedSlots = meldEnd - p.MeldEnd;

    const int firstHand = p.HandFirst + plan.exposedSlots;
    if (!plan.concealed.empty() &&
        (firstHand < 0 || firstHand + p.HandCount + static_cast<int>(plan.concealed.size()) > kSlots))
        throw FrameFault("concealed tiles overrun the seat's slots");

    // The fourth frame completes the table with the wild tile in large.
    if (g.GamePhase + 1 == 4)
        RequireTile(c.table.WildTile, "wild tile of the snapshot");
    return plan;
}

// Each tile the snapshot lays takes the next image of the wall ring.
int NextImage(const Client& c) { return PosMod(c.table.WallHead + c.game.SideCountC, table::kTileImages); }

void LaySpecials(Client& c, const SeatPlan& plan)
{
    GameState& g = c.game;
    const int v = plan.view;
    const auto sv = static_cast<std::size_t>(v);
    table::PlayerRecord& p = g.Players[sv];
    const float X = p.HandX;
    const float Y = p.HandY;
    const auto& W = c.table.TileWidth;
    const auto& H = c.table.TileHeight;
    for (const int16_t tile : plan.specials) {
        const Special kind = SpecialOf(tile, c.table.WildTile);
        const int img = NextImage(c);
        int16_t& laid = kind == Special::Red ? p.RedLaid : kind == Special::Green ? p.GreenLaid : p.WildLaid;
        const int n = laid;
        const float up = 18.0f * n;
        const bool wild = kind == Special::Wild;
        float left = X, top = Y - up;
        switch (v) {
        case 0:
            if (wild)
                left = X + W[0] - 2;
            break;
        case 1:
            if (wild) {
                left = X - 5;
                top = Y + H[1] - 17 - up;
            }
            break;
        case 2:
            if (wild)
                left = X - W[2];
            break;
        default:
            left = wild ? X - 15 : X - 10;
            top = wild ? Y - (H[3] - 17) - up : Y - up;
            break;
        }
        platform::Image& image = c.MainForm->MJ_Image[img];
        image.Move(left, top, W[sv], H[sv]);
        const int entry = kind == Special::Red ? n : kind == Special::Wild ? 4 + n : 8 + n;
        g.LaidTileImages[sv][static_cast<std::size_t>(entry)] = static_cast<int16_t>(img);
        laid = static_cast<int16_t>(n + 1);
        table::ShowTileImage(c.Table(), img, table::TilePicIndex(v, tile));
        if (v == 1) {
            image.ZOrder(1);
            if (!wild && p.RedLaid > 1)
                image.ZOrder(0);
        } else {
            image.ZOrder(0);
        }
        image.SetVisible(true);
        ++g.SideCountC;
    }
}

void LayExposed(Client& c, const SeatPlan& plan)
{
    GameState& g = c.game;
    const int v = plan.view;
    const auto sv = static_cast<std::size_t>(v);
    table::PlayerRecord& p = g.Players[sv];
    const float X = p.HandX;
    const float Y = p.HandY;
    const auto& W = c.table.TileWidth;
    const auto& H = c.table.TileHeight;
    auto& tiles = c.MainForm->MJ_Image;
    const auto e = plan.exposed.size();

    // The hand starts after the slots the melds take; the fourth tile of a
    // kong lies on its kong and takes no slot of its own.
    p.HandFirst = static_cast<int16_t>(p.HandFirst + plan.exposedSlots);

    // Three equal neighbours form a pong.
    std::vector<int> slotOf;
    int m = p.MeldEnd;
    for (std::size_t k = 0; k < e; ++k) {
        slotOf.push_back(m);
        if (!plan.fourthOfKong[k])
            ++m;
    }
    for (std::size_t i = 0; i + 2 < e; ++i) {
        const auto& t = plan.exposed;
        if (t[i] != t[i + 1] || t[i] != t[i + 2])
            continue;
        if (plan.fourthOfKong[i] || plan.fourthOfKong[i + 1] || plan.fourthOfKong[i + 2])
            continue;
        for (std::size_t j = i; j < i + 3; ++j)
            p.Slots[static_cast<std::size_t>(slotOf[j])].Kind = 3;
    }

    for (std::size_t k = 0; k < e; ++k) {
        const int16_t tile = plan.exposed[k];
        const int M = p.MeldEnd;
        const int img = NextImage(c);
        table::TileSlot& slot = p.Slots[static_cast<std::size_t>(M)];
        slot.Image = static_cast<int16_t>(img);
        slot.TileCode = tile;
        platform::Image& image = tiles[img];
        float left = X, top = Y;
        switch (v) {
        case 0: left = X + (M - 2) * (W[0] - 2); break;
        case 1:
            left = X - 5.0f * M + 10;
            top = Y + (M - 2) * (H[1] - 17);
            break;
        case 2: left = X - (M - 2) * W[2]; break;
        default:
            left = X - 5.0f * M;
            top = Y - (M - 2) * (H[3] - 17);
            break;
        }
        image.Move(left, top, W[sv], H[sv]);
        if (v == 0 || v == 1)
            image.ZOrder(0);
        else if (v == 3)
            image.ZOrder(1);
        table::ShowTileImage(c.Table(), img, table::TilePicIndex(v, tile));
        image.SetVisible(true);
        if (plan.fourthOfKong[k]) {
            const platform::Image& second = tiles[PosMod(img - 2, table::kTileImages)];
            image.Move(second.Left, second.Top - 17);
            image.ZOrder(0);
        } else {
            p.MeldEnd = static_cast<int16_t>(M + 1);
        }
        ++g.SideCountC;
    }
}

void LayConcealed(Client& c, const SeatPlan& plan)
{
    GameState& g = c.game;
    const int v = plan.view;
    const auto sv = static_cast<std::size_t>(v);
    table::PlayerRecord& p = g.Players[sv];
    const float X = p.HandX;
    const float Y = p.HandY;
    table::SetTileSizes(c.Table(), kConcealedSize);
    const auto& W = c.table.TileWidth;
    auto& tiles = c.MainForm->MJ_Image;
    for (const int16_t tile : plan.concealed) {
        ++p.HandCount;
        const int j = p.HandFirst + p.HandCount - 1;
        const int img = NextImage(c);
        table::TileSlot& slot = p.Slots[static_cast<std::size_t>(j)];
        slot.Image = static_cast<int16_t>(img);
        slot.TileCode = tile;
        platform::Image& image = tiles[img];
        image.SetVisible(true);
        float left = X, top = Y;
        switch (v) {
        case 0: left = X + j * W[0]; break;
        case 1:
            left = X - 5.0f * j;
            top = Y + j * W[1] / 2.0f;
            break;
        case 2: left = X - j * W[2]; break;
        default:
            left = X - 5.0f * (j + 1);
            top = Y - (j + 1) * W[3] / 2.0f;
            break;
        }
        image.Move(left, top, W[sv], c.table.TileHeight[sv]);
        table::ShowTileImage(c.Table(), img, 36 * v + table::kStandingBack);
        if (v == 1)
            image.ZOrder(0);
        else if (v == 3)
            image.ZOrder(1);
        ++g.SideCountC;
    }
}

// The side seats' tiles overlap: their stacking order is set once the seat
// is laid.
void StackSideSeat(Client& c, int v)
{
    GameState& g = c.game;
    const table::PlayerRecord& p = g.Players[static_cast<std::size_t>(v)];
    auto& tiles = c.MainForm->MJ_Image;
    const auto& laid = g.LaidTileImages[static_cast<std::size_t>(v)];
    auto image = [&](int16_t i) -> platform::Image* {
        return i >= 0 && i < table::kTileImages ? &tiles[i] : nullptr;
    };
    auto order = [&](int16_t i, int position) {
        if (platform::Image* img = image(i))
            img->ZOrder(position);
    };
    if (v == 1) {
        for (int j = p.HandFirst; j < p.HandFirst + p.HandCount && j < kSlots; ++j)
            order(p.Slots[static_cast<std::size_t>(j)].Image, 0);
        if (p.Slots[1].Image >= 0)
            order(p.Slots[1].Image, 1);
        if (p.WildLaid > 1)
            for (int k = 5; k <= 3 + p.WildLaid; ++k)
                order(laid[static_cast<std::size_t>(k)], 0);
        if (p.Slots[0].Image >= 0) {
            for (int k = 0; k < p.RedLaid; ++k)
                order(laid[static_cast<std::size_t>(k)], 1);
            if (p.RedLaid > p.WildLaid)
                for (int k = p.WildLaid; k < p.RedLaid; ++k)
                    order(laid[static_cast<std::size_t>(k)], 0);
        }
    } else if (v == 3) {
        for (int j = p.HandFirst; j < p.HandFirst + p.HandCount && j < kSlots; ++j)
            order(p.Slots[static_cast<std::size_t>(j)].Image, 1);
        for (int k = 4; k <= 3 + p.WildLaid; ++k)
            order(laid[static_cast<std::size_t>(k)], 0);
        for (int k = 0; k < p.RedLaid; ++k)
            order(laid[static_cast<std::size_t>(k)], 0);
    }
}

// After the fourth seat frame: the wild tile in large, the rest of the
// wall face down, the indicator, every seat's discards, the new wall head.
void CompleteSnapshot(Client& c)
{
    GameState& g = c.game;
    table::TableState& t = c.table;
    window::MainForm& f = *c.MainForm;
    g.GamePhase = 0;
    f.ZQ_Image.SetVisible(true);
    window::LoadGifResource(
        c.window.PicIds.TilePicIds[static_cast<std::size_t>(table::TilePicIndex(table::kLargeFaceGroup, t.WildTile))],
        QStringLiteral("GIF"), f.ZQ_Image);

    const bool even = g.SideCountB % 2 == 0;
    t.WallTail = static_cast<int16_t>(PosMod(t.WallTail + g.SideCountB + (even ? 3 : 1), table::kTileImages));

    auto faceDown = [&](int image) { table::ShowTileImage(c.Table(), image, table::kFaceDownBack + 36 * (image / 34)); };
    const int start = PosMod(t.WallHead + g.SideCountA, table::kTileImages);
    if (start < t.WallTail) {
        for (int i = start; i <= t.WallTail; ++i)
            faceDown(i);
    } else {
        for (int i = start; i < table::kTileImages; ++i)
            faceDown(i);
        for (int i = 0; i <= t.WallTail; ++i)
            faceDown(i);
    }
    if (even)
        f.MJ_Image[PosMod(t.WallTail + 135, table::kTileImages)].SetVisible(false);
    else
        faceDown(PosMod(t.WallTail + 1, table::kTileImages));

    int16_t indicator = static_cast<int16_t>(NextImage(c));
    autoplay::ShowSnapshotPiZiTile(c, indicator);
    t.PiZiImage = indicator;
    ++g.SideCountC;
    autoplay::SnapshotLayWall(c);
    t.WallHead = static_cast<int16_t>(PosMod(t.WallHead + g.SideCountA, table::kTileImages));
    g.TableSnapshotDone = -1;
}

} // namespace

void OnRoundSnapshot(Client& c, const protocol::GameCmd& msg)
{
    GameState& g = c.game;
    window::MainForm& f = *c.MainForm;
    for (int i = 0; i <= 2; ++i)
        g.AnNiuPressed[static_cast<std::size_t>(i)] = -1;
    core::ClearTable(c);
    const uint8_t dealer = msg.Seat & 0x0F;
    for (int i = 0; i <= 2; ++i) {
        f.AnNiu[i].Enabled = false;
        window::LoadGifResource(c.window.PicIds.AnNiuPicIds[static_cast<std::size_t>(2 * i + 1)], QStringLiteral("GIF"),
                                f.AnNiu[i]);
    }
    // The dealer's wind by the absolute seat, not the view.
    static const QString kWinds = QStringLiteral("北西南东北西南");
    f.Zhuang.SetCaption(kWinds.mid(table::BitIndex(dealer), 1));
    f.Host.SetVisible(true);
    f.Zhuang.SetVisible(true);
    f.Zhuang.ZOrder(0);
    g.DealerSeat = dealer;
    c.table.WildTile = msg.Data[2];
    c.table.PiZiTile = msg.Data[3];
    g.RoundHeaderArgs[0] = msg.Data[0];
    g.RoundHeaderArgs[1] = msg.Data[1];
}

void OnSeatSnapshot(Client& c, const protocol::GameCmd& msg)
{
    GameState& g = c.game;
    const protocol::GameFrame& f = c.core.RecvFrame;
    const SeatPlan plan = ReadSeatFrame(c, msg);
    const int v = plan.view;
    if (v == 0)
        g.UserInfos[0].SnapshotMark = 0;

    g.SideSeatCounts[static_cast<std::size_t>(v)] = f[protocol::frame_byte::B3];
    ++g.GamePhase;
    if (g.GamePhase == 1) {
        // A snapshot takes its images from the wall head afresh, also when
        // an earlier one in the same run took some.
        g.SideCountA = msg.Data[1];
        g.SideCountB = msg.Data[3];
        g.SideCountC = 0;
    }
    g.SideCountA = std::max(g.SideCountA, msg.Data[1]);
    g.SideCountB = std::min(g.SideCountB, msg.Data[3]);

    table::SetTileSizes(c.Table(), kExposedSize);
    LaySpecials(c, plan);
    LayExposed(c, plan);
    LayConcealed(c, plan);
    StackSideSeat(c, v);

    if (g.GamePhase == 4)
        CompleteSnapshot(c);
}

} // namespace dispatch
