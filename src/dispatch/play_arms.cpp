#include "dispatch/play_arms.h"

#include "app/client.h"
#include "autoplay/spectator.h"
#include "dispatch/frame_checks.h"
#include "protocol/frame.h"
#include "protocol/operations.h"
#include "results/seat_operations.h"
#include "rewards/prop_round.h"
#include "table/claims.h"
#include "table/discards.h"
#include "table/melds.h"
#include "table/tiles.h"
#include "table/wall.h"
#include "window/main_form.h"
#include "window/pictures.h"
#include "window/sound.h"

#include <cmath>

namespace dispatch {

namespace {

constexpr int kCountdownByte = protocol::turn_prompt_byte::Countdown;
constexpr int kDealBytes = protocol::deal_byte::Tiles; // rank and suit bit of each dealt tile from here

void PlayEffect(Client& c, int file)
{
    window::SoundState& s = c.window.Sound;
    if (s.SoundOn != -1)
        return;
    window::PlayWave(c, s.SoundFiles[static_cast<std::size_t>(file)], 0);
    window::SetWaveVolume(c, 3000);
}

void SetOperationPicture(Client& c, int button, int entry)
{
    window::LoadGifResource(c.window.PicIds.OperationPicIds[static_cast<std::size_t>(entry)], QStringLiteral("GIF"),
                            c.MainForm->Operation[button]);
}

void Offer(Client& c, int button)
{
    c.MainForm->Operation[button].Enabled = true;
    SetOperationPicture(c, button, 3 * button + 1);
    c.game.OfferedOps[static_cast<std::size_t>(button)] = 2;
}

// The seat's hand slots from HandFirst on must leave room for `more` tiles.
void RequireHandRoom(const table::PlayerRecord& p, int more, const char* what)
{
    Require(p.HandFirst >= 0 && p.HandCount >= 0 && p.HandFirst + p.HandCount + more <= 18, what);
}

table::PlayerRecord& RecordOf(Client& c, uint8_t seat)
{
    return c.game.Players[static_cast<std::size_t>(table::SeatView(c.game.Players[0].SeatBit, seat))];
}

// What a kind-7 frame needs of the table before it is applied.
void CheckOperation(Client& c, int16_t op, uint8_t seat, const std::array<int16_t, 3>& tiles)
{
    int taken = 0; // tiles the operation takes out of the hand
    switch (op) {
    case protocol::OpChow:
    case protocol::OpPong:
        taken = 2;
        break;
    case protocol::OpExposedKong:
        taken = 3;
        break;
    case protocol::OpConcealedKong:
        taken = 4;
        break;
    case protocol::OpSpecialKong:
        taken = 1;
        break;
    default:
        return; // pass, win, false win and unknown operations move no tile
    }
    if (op == protocol::OpSpecialKong) {
        RequireTile(tiles[2], "declared tile");
    } else {
        for (int16_t tile : tiles)
            RequireTile(tile, "operation tile");
    }

    table::TableState& t = c.table;
    const int v = table::SeatView(c.game.Players[0].SeatBit, seat);
    const table::PlayerRecord& p = c.game.Players[static_cast<std::size_t>(v)];
    const int f = p.HandFirst;
    const int n = p.HandCount;
    Require(f >= 0 && n >= taken && f + n <= 18, "the seat's hand does not hold the operation's tiles");
    Require(p.MeldEnd >= 2 && p.MeldEnd <= 17, "the seat has no room for another meld");
    if (op == protocol::OpChow || op == protocol::OpPong || op == protocol::OpExposedKong)
        Require(t.LastDiscardImage >= 0, "a claim with no discard to take");
    if (op == protocol::OpChow || op == protocol::OpPong)
        Require(f + n <= 17, "the seat's hand has no room to move on");
    if (op == protocol::OpSpecialKong) {
        const int tile = tiles[2];
        const int laid = tile == table::kRedDragon ? p.RedLaid
                         : tile == table::kGreenDragon ? p.GreenLaid
                         : tile == t.WildTile ? p.WildLaid
                                              : 0;
        Require(laid >= 0 && laid < 4, "a fifth tile for a single-tile kong row");
    }
    if (v != 0)
        return;

    // The local player's confirmations use what the claim senders left.
    const int last = f + n - 1;
    switch (op) {
    case protocol::OpChow: {
        const int a = t.ChiChoices[0];
        const int b = t.ChiChoices[1];
        Require(f <= a && a < b && b <= last, "a chow confirmation without the chosen pair in hand");
        break;
    }
    case protocol::OpPong:
        Require(table::FindHandPair(c.Table(), tiles[0] & 0xFF) >= 0, "a pong confirmation without a matching pair");
        break;
    case protocol::OpExposedKong:
        Require(f <= t.KongCandidates[0] && t.KongCandidates[0] + 2 <= last,
                "an exposed kong confirmation without its tiles in hand");
        break;
    case protocol::OpConcealedKong:
        Require(f <= t.KongCandidates[0] && t.KongCandidates[0] + 3 <= last,
                "a concealed kong confirmation without its tiles in hand");
        break;
    default:
        Require(f <= t.KongCandidates[0] && t.KongCandidates[0] <= last,
                "a single-tile kong confirmation without its tile in hand");
        break;
    }
}

int16_t& Seen(Client& c, int tile)
{
    return c.game.SeenTileCounts[static_cast<std::size_t>(table::SuitIndex(tile))]
                                [static_cast<std::size_t>(table::Rank(tile))];
}

} // namespace

void TurnReset(Client& c)
{
    window::MainForm& f = *c.MainForm;
    c.table.DiscardDue = 0;
    c.core.SchedDecision.On = false;
    c.game.Countdown = c.game.CountdownStart;
    f.Time_Img.SetVisible(false);
    f.Number.SetVisible(false);
    for (int k = 0; k < 5; ++k) {
        f.Operation[k].Enabled = false;
        f.Operation[k].SetVisible(false);
        SetOperationPicture(c, k, 3 * k);
    }
}

void MsgDeal(Client& c, const protocol::GameCmd& msg)
{
    GameState& g = c.game;
    const protocol::GameFrame& frame = c.core.RecvFrame;
    if (g.Players[0].HandCount == 0 && c.rewards.PropPluginState > 0)
        rewards::ResetPropRound(c);

    const int dealt = msg.Data[1];
    RequireRange(dealt, 0, 13, "tiles dealt to each seat");
    const int passes = static_cast<int>(std::nearbyint(dealt / 4.0));
    std::array<int16_t, 12> codes{};
    for (int i = 0; i < 12; ++i)
        codes[static_cast<std::size_t>(i)] =
            static_cast<int16_t>(frame[static_cast<std::size_t>(kDealBytes + 2 * i + 1)] * 16 +
                                 frame[static_cast<std::size_t>(kDealBytes + 2 * i)]);
    if (!g.WatchMode && passes > 0) {
        for (int i = 0; i < 4 * passes; ++i)
            RequireTile(codes[static_cast<std::size_t>(i)], "dealt tile");
        for (const table::PlayerRecord& p : g.Players)
            RequireHandRoom(p, 4 * passes, "no room in a hand for the deal");
    }

    c.table.DrawSkipsDiscardRow = 0;
    const int own = table::BitIndex(g.Players[0].SeatBit);
    std::array<int16_t, 4> data{};
    for (int pass = 0; pass < passes; ++pass) {
        for (int s = 0; s < 4; ++s)
            data[static_cast<std::size_t>(s)] = codes[static_cast<std::size_t>(4 * pass + s)];
        for (int s = 0; s < 4; ++s) {
            const auto seat = static_cast<uint8_t>(table::BitOf(static_cast<int16_t>((own + s) & 3)));
            PlayEffect(c, window::SoundTileDrawn);
            if (g.WatchMode)
                autoplay::WatchOnTilesDrawn(c, seat, 4, data);
            else
                table::OnTilesDrawn(c.Table(), seat, 4, data);
        }
    }
}

void MsgDiscard(Client& c, const protocol::GameCmd& msg)
{
    GameState& g = c.game;
    window::MainForm& f = *c.MainForm;
    TurnReset(c);
    if (!f.cmdImpeach.Visible && g.ImpeachOffered) {
        f.cmdImpeach.SetVisible(true);
        f.cmdImpeach.Enabled = true;
    }
    PlayEffect(c, window::SoundTileLaid);
    if (g.ZhahuShown) {
        c.frmZhahu->Hide();
        g.ZhahuShown = 0;
    }
    const uint8_t seat = msg.Seat & 0x0F;
    if (g.WatchMode) {
        autoplay::WatchOnTileDiscarded(c, seat, msg.Data[3], c.table.LastDiscardImage);
        return;
    }
    const int16_t tile = msg.Data[3];
    RequireTile(tile, "discarded tile");
    const table::PlayerRecord& p = RecordOf(c, seat);
    RequireHandRoom(p, 0, "a discard from a seat whose hand lies outside its slots");
    if (&p != &g.Players[0])
        Require(p.HandCount >= 1, "a discard from a seat with an empty hand");

    table::OnTileDiscarded(c.Table(), seat, tile, c.table.LastDiscardImage, msg.Data[1]);
    ++Seen(c, tile);
}

void MsgDraw(Client& c, const protocol::GameCmd& msg)
{
    TurnReset(c);
    c.table.LastDrawnImage = -1;
    std::array<int16_t, 4> data = msg.Data;
    if (c.game.WatchMode) {
        autoplay::WatchOnTilesDrawn(c, msg.Seat, 1, data);
        return;
    }
    const table::PlayerRecord& p = RecordOf(c, msg.Seat);
    RequireHandRoom(p, 1, "no room in the hand for a drawn tile");
    if (&p == &c.game.Players[0])
        RequireTile(msg.Data[3], "drawn tile");
    table::OnTilesDrawn(c.Table(), msg.Seat, 1, data);
}

void MsgTurnPrompt(Client& c, const protocol::GameCmd& msg)
{
    GameState& g = c.game;
    window::MainForm& f = *c.MainForm;
    TurnReset(c);
    const int seconds = c.core.RecvFrame[kCountdownByte];
    const float sx = g.ScaleX;
    const float sy = g.ScaleY;

    if (((msg.Seat ^ g.Players[0].SeatBit) & 0x0F) == 0) {
        c.core.TurnStamp = msg.B3;
        const int mask = msg.Data[0] & 0xFF;
        g.OpSent = 0;
        g.TurnPhase = 0;
        g.OfferedOps.fill(0);
        for (int bit = 0; bit < 8; ++bit) {
            if (!(mask & (1 << bit)))
                continue;
            switch (1 << bit) {
            case protocol::OpPass:
                Offer(c, 4);
                break;
            case protocol::OpChow:
                Offer(c, 0);
                break;
            case protocol::OpPong:
                Offer(c, 1);
                break;
            case protocol::OpExposedKong:
            case protocol::OpConcealedKong:
            case protocol::OpSpecialKong:
                Offer(c, 2);
                g.AllowedOps = msg.Data[0];
                break;
            case protocol::OpWin:
                Offer(c, 3);
                g.ChoiceState = 0;
                g.ZhahuShown = 0;
                c.frmZhahu->Hide();
                if (msg.Data[1] & 1) {
                    g.ZhahuShown = -1;
                    const bool other = g.OfferedOps[0] == 2 || g.OfferedOps[1] == 2 || g.OfferedOps[2] == 2;
                    g.ChoiceState = other ? 3 : 2;
                } else {
                    g.ChoiceState = 1;
                }
                break;
            default:
                break;
            }
        }
        for (int k = 0; k < 5; ++k) {
            f.Operation[k].SetVisible(true);
            f.Operation[k].ZOrder(0);
        }
        if ((g.Players[0].HandCount - 2) % 3 == 0)
            c.table.DiscardDue = -1;
        g.Countdown = static_cast<int16_t>(g.F1Minimized ? 1 : (seconds < 2 ? 8 : seconds));
        g.CountdownKindFlag = -1;
        f.Time_Img.Move(f.Imgwealth.Left, f.Imgwealth.Top + 200 * sy);
    } else {
        const int v = table::SeatView(g.Players[0].SeatBit, msg.Seat & 0x0F);
        g.Countdown = static_cast<int16_t>(g.F1Minimized ? 1 : seconds);
        g.CountdownKindFlag = 0;
        switch (v) {
        case 1:
            f.Time_Img.Move(f.Host.Left, f.Host.Top + f.Host.Height + 20 * sy);
            break;
        case 2:
            f.Time_Img.Move(f.Tou[2].Left - 20 * sx, f.Host.Top - 40 * sy);
            break;
        case 3:
            f.Time_Img.Move(f.Quoxa.Left, f.Quoxa.Top + f.Quoxa.Height);
            break;
        default:
            break;
        }
    }
    f.Number.Move(f.Time_Img.Left + 48 * sx, f.Time_Img.Top + 5 * sy);
    table::ShowClock(f, g.Countdown, table::ClockColour::Green);
    c.core.SchedDecision.Start();
}

void MsgOperation(Client& c, const protocol::GameCmd& msg)
{
    TurnReset(c);
    c.table.LastDrawnImage = -1;
    std::array<int16_t, 3> tiles{msg.Data[1], msg.Data[2], msg.Data[3]};
    const int16_t op = msg.Data[0];
    if (c.game.WatchMode) {
        autoplay::WatchOnOperation(c, op, msg.Seat, tiles);
        return;
    }
    CheckOperation(c, op, msg.Seat, tiles);
    switch (op) {
    case protocol::OpChow:
    case protocol::OpPong:
        ++Seen(c, tiles[0]);
        ++Seen(c, tiles[1]);
        break;
    case protocol::OpExposedKong:
        Seen(c, tiles[2]) = static_cast<int16_t>(Seen(c, tiles[2]) + 3);
        break;
    case protocol::OpSpecialKong:
        ++Seen(c, tiles[2]);
        break;
    default:
        break;
    }
    results::ApplySeatOperation(c, op, msg.Seat, tiles);
}

} // namespace dispatch
