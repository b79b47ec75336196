// Seating, the hand's start, the wild tile, the betting-panel animation and
// the hands turned up at the end (kinds 3, 4, 13, 14, 15).
#include "dispatch/arms.h"

#include "app/client.h"
#include "core/table_reset.h"
#include "dispatch/hold_back.h"
#include "core/exit_windows.h"
#include "dispatch/frame_fault.h"
#include "dispatch/frame_fields.h"
#include "platform/clock.h"
#include "platform/wait.h"
#include "platform/resources.h"
#include "protocol/frame.h"
#include "results/hand_reveal.h"
#include "results/result_forms.h"
#include "rewards/prop_calls.h"
#include "table/animations.h"
#include "table/indicator.h"
#include "table/tiles.h"
#include "window/main_form.h"
#include "window/pictures.h"
#include "window/sound.h"

namespace dispatch {
namespace {

// The longest the wild-streak animation is waited for; it plays about a
// second, and the scheduler stands still while it is waited for.
constexpr uint32_t kStreakWaitMs = 5000;
constexpr int kStreakAnimationGif = 476;

void CountSeen(Client& c, int tile)
{
    const int suit = table::SuitIndex(tile);
    const int rank = table::Rank(tile);
    ++c.game.SeenTileCounts[static_cast<std::size_t>(suit)][static_cast<std::size_t>(rank)];
}

// The large upright face of a tile on ZQ_Image.
void ShowWildFace(Client& c)
{
    const int picture = table::TilePicIndex(table::kLargeFaceGroup, c.table.WildTile);
    window::LoadGifResource(c.window.PicIds.TilePicIds[static_cast<std::size_t>(picture)], QStringLiteral("GIF"),
                            c.MainForm->ZQ_Image);
}

// Waits, letting events run, until the streak animation has played its
// loop, or at most kStreakWaitMs.
void WaitForStreakAnimation(Client& c)
{
    platform::Clock& clock = c.plat.clock;
    platform::WaitUntil(clock, platform::Deadline::InMs(clock, kStreakWaitMs),
                        [&c] { return c.MainForm->uc_lianLai->Action() == 0; }, 50);
}

// The banker's fourteenth tile comes before the wild tile is known and
// stands in line with the hand. Once the hand is sorted, its last tile
// stands half a tile apart, where every drawn tile of the hand appears, so
// that a pointer resting there finds a tile to discard.
void SetBankersLastTileApart(Client& c)
{
    const table::PlayerRecord& p = c.game.Players[0];
    if (p.HandCount < 2 || (p.HandCount - 2) % 3 != 0)
        return;
    const int last = p.HandFirst + p.HandCount - 1;
    if (p.HandFirst < 0 || last >= static_cast<int>(p.Slots.size()))
        return;
    const int image = p.Slots[static_cast<std::size_t>(last)].Image;
    if (image < 0 || image >= table::kTileImages)
        return;
    const float w = c.table.TileWidth[0];
    c.MainForm->MJ_Image[image].Move(p.HandX + static_cast<float>(last) * w + w / 2, p.HandY);
}

} // namespace

void OnSeatName(Client& c, const protocol::GameCmd&)
{
    GameState& g = c.game;
    window::MainForm& f = *c.MainForm;
    g.NextGameReady = 0;
    if (!g.WatchMode && c.match.RoomMatchMode <= 1)
        f.TimerKeepAlive->SetEnabled(false);
    for (int i = 0; i < 4; ++i) {
        c.Hero->sumScore[i].SetCaption(QString());
        f.OK[i].SetVisible(false);
    }
    g.StartBlocked = -1;
    ++g.GamePhase;
    g.SeatDrawArmed = -1;
    c.rewards.BuyDeferred = -1;
    c.results.CumulativeAmounts.fill(0);

    if (g.GamePhase == 4) {
        g.GamePhase = 0;
        window::LoadGifResource(c.window.PicIds.AnNiuPicIds[6], QStringLiteral("GIF"), f.AnNiu[2]);
        g.AnNiuPressed[2] = -1;
        g.LayoutInProgress = 0;

        int own = -1;
        for (int i = 3; i >= 0 && own < 0; --i)
            if (c.core.SeatNames[static_cast<std::size_t>(i)] == g.Players[0].Name)
                own = i;
        if (own >= 0)
            for (int v = 0; v < 4; ++v) {
                table::PlayerRecord& p = g.Players[static_cast<std::size_t>(v)];
                p.SeatBit = static_cast<uint8_t>(table::BitOf(static_cast<int16_t>((own + 4 - v) & 3)));
                p.Name = c.core.SeatNames[table::BitIndex(p.SeatBit)];
            }
        if (c.rewards.PropPluginState > 0)
            for (int view = 1; view <= 3; ++view)
                rewards::ClearUser(c, view);
    }
    c.chat.BubblesAllowed = -1;
}

void OnHandStart(Client& c, const protocol::GameCmd& msg)
{
    GameState& g = c.game;
    core::CoreState& s = c.core;
    window::MainForm& f = *c.MainForm;
    const protocol::GameFrame& frame = s.RecvFrame;

    // Dice are 1 to 6 (0 is shown and counted as 1); anything else is no
    // dice at all, and the frame is refused before anything changes.
    for (int16_t d : msg.Data)
        if (d < 0 || d > 6)
            throw FrameFault("die value outside 1 to 6");

    ReleaseHeldFrames(c);

    s.KeepAliveHold = false;
    g.HandStartedFlag = 1;
    g.NextGameReady = 0;
    c.rewards.LeaveResetDue = -1;
    if (c.frmExit->Visible())
        c.frmExit->Unload();
    s.LeaveAfterHand = false;
    if (g.WatchMode) {
        core::ClearTable(c);
    }
    s.SchedBlink.Start();
    g.InGame = -1;
    c.rewards.BuyDeferred = -1;
    for (int i = 0; i < 4; ++i)
        f.OK[i].SetVisible(false);
    ++g.RoundNo;
    c.results.RevealLaidOut = false;

    core::ResetTableDisplay(c);
    if (!table::AnimateDeal(c.Table()))
        return;

    for (int v = 0; v < 4; ++v) {
        table::PlayerRecord& p = g.Players[static_cast<std::size_t>(v)];
        if (p.SeatBit != msg.Seat)
            continue;
        p.BankerMark = -1;
        // The roll shows a die of 0 as 1, and the wall starts from the dice shown.
        std::array<int16_t, 4> dice = msg.Data;
        table::AnimateDiceRoll(c.Table(), static_cast<int16_t>(v), dice);
        const int d0 = dice[0], d1 = dice[1], d2 = dice[2], d3 = dice[3];
        const int head = ((((v + 13 - d0 - d1) % 4 + 4) % 4 * 17 + d0 + d1 + d2 + d3) * 2) % 136;
        c.table.WallHead = static_cast<int16_t>(head);
        c.table.WallTail = static_cast<int16_t>((head + 134) % 136);
        break;
    }

    g.DiceMultiplier = frame[protocol::hand_start_byte::DiceMultiplier];
    if (frame[protocol::hand_start_byte::DiceMultiplier] != 0) {
        const int16_t d2 = msg.Data[2], d3 = msg.Data[3];
        if (d2 < 1 || d2 > 6 || d3 < 1 || d3 > 6)
            throw FrameFault("dice of the multiplier outside 1 to 6");
        for (int i = 0; i < 3; ++i)
            f.lbfont[i].SetVisible(false);
        f.lblDifen.SetCaption(QString::number(d2 + d3));
        f.lblDifen.SetVisible(true);
        f.imgBeishu.SetVisible(true);
        window::LoadGifResource(c.window.PicIds.DicePicIds[static_cast<std::size_t>(d2 - 1)], QStringLiteral("GIF"),
                                f.imgsezi[0]);
        window::LoadGifResource(c.window.PicIds.DicePicIds[static_cast<std::size_t>(d3 - 1)], QStringLiteral("GIF"),
                                f.imgsezi[1]);
        f.imgsezi[0].SetVisible(true);
        f.imgsezi[1].SetVisible(true);
    } else {
        f.lblDifen.SetVisible(false);
        f.imgBeishu.SetVisible(false);
        f.imgsezi[0].SetVisible(false);
        f.imgsezi[1].SetVisible(false);
        for (int i = 0; i < 3; ++i) {
            f.lbfont[i].SetVisible(false);
            f.lbfont[i].ZOrder(0);
        }
    }

    if (g.WealthMultiplier != 0) {
        g.WealthCaption = f.lbwealth.Caption;
        f.Imgwealth.SetVisible(true);
        f.lbwealth.SetVisible(true);
    } else {
        f.Imgwealth.SetVisible(false);
        f.lbwealth.SetVisible(false);
    }
    // The banker's wind, by its seat; every table reset empties the label.
    if (protocol::IsSeatBit(msg.Seat & 0x0F))
        f.Zhuang.SetCaption(QStringLiteral("北西南东").mid(table::BitIndex(msg.Seat & 0x0F), 1));
    f.ZhiNan.SetVisible(true);
    f.Host.SetVisible(true);
    f.Zhuang.SetVisible(true);
    f.Zhuang.ZOrder(0);

    for (auto& row : g.SeenTileCounts)
        row.fill(0);
    for (int k = 0; k < 5; ++k) {
        f.Operation[k].SetVisible(false);
        f.Operation[k].Enabled = false;
        window::LoadGifResource(c.window.PicIds.OperationPicIds[static_cast<std::size_t>(3 * k)], QStringLiteral("GIF"),
                                f.Operation[k]);
    }

    if (frame[protocol::hand_start_byte::ImpeachOn] == 1) {
        g.ImpeachFee = static_cast<double>(LittleEndian64(frame, protocol::hand_start_byte::ImpeachFee));
        constexpr int kImpeachSeats = protocol::hand_start_byte::ImpeachSeats;
        for (int k = 0; k < 4; ++k)
            if (frame[static_cast<std::size_t>(kImpeachSeats + 2 * k)] == g.Players[0].SeatBit)
                g.ImpeachAllowed = frame[static_cast<std::size_t>(kImpeachSeats + 1 + 2 * k)] == 1 ? -1 : 0;
        g.ImpeachOffered = -1;
        g.ImpeachDone = 0;
        g.ImpeachSeat = -1;
    }
}

void OnAnimation(Client& c, const protocol::GameCmd& msg)
{
    if (msg.Data[0] != 2)
        return;
    window::MainForm& f = *c.MainForm;
    f.Picture_ani[0]->raise();
    f.Picture_ani[0]->show();
    c.game.PicAniRunning = -1;
    f.Timer_ani->SetInterval(1500);
    f.Timer_ani->SetEnabled(true);
    f.Timer_ani->Tag = QStringLiteral("0");
}

void OnWildTile(Client& c, const protocol::GameCmd& msg)
{
    GameState& g = c.game;
    table::TableState& t = c.table;
    window::MainForm& f = *c.MainForm;

    const int indicator = msg.Data[3] & 0xFF;
    const int wild = msg.Data[2] & 0xFF;
    if (!IsTileCode(indicator))
        throw FrameFault("indicator is no tile");
    if (!IsTileCode(wild))
        throw FrameFault("wild tile is no tile");
    t.PiZiTile = static_cast<int16_t>(indicator);
    t.WildTile = static_cast<int16_t>(wild);
    c.results.WildStreakCount = 0;

    const int streak = msg.Data[1] & 0xFF;
    f.Quoxa.SetPicture(streak > 0 ? f.lianlaiImg.GetPicture() : f.quoxaImg.GetPicture());
    f.Quoxa.SetVisible(true);
    f.ZQ_Image.SetVisible(true);
    f.imgPiZi[0].SetVisible(true);
    f.imgPiZi[1].SetVisible(true);
    ShowWildFace(c);
    if (streak > 0) {
        c.results.WildStreakCount = static_cast<int16_t>(streak);
        widgets::AniGifControl& ani = *f.uc_lianLai;
        // A load takes the GIF's own loop count; the streak plays once.
        ani.LoadAnimatedGIF_Array(platform::LoadResData(kStreakAnimationGif, QStringLiteral("GIF")).value_or(QByteArray()));
        ani.SetLoops(1);
        ani.ZOrder(0);
        f.img_lianLaiBack.SetVisible(true);
        ani.SetVisible(true);
        window::SoundState& snd = c.window.Sound;
        if (snd.SoundOn != 0) {
            window::PlayWave(c, snd.SoundFiles[window::SoundWildStreak], 0);
            window::SetWaveVolume(c, 3000);
        }
        WaitForStreakAnimation(c);
        f.img_lianLaiBack.SetVisible(false);
    }

    t.PiZiImage = t.WallHead;
    t.WallHead = static_cast<int16_t>((t.WallHead + 1) % 136);
    table::ShowPiZiTile(c.Table());
    if (!g.WatchMode) {
        table::ArrangeHand(c.Table(), 0, g.Players[0].HandCount);
        SetBankersLastTileApart(c);
    }
    CountSeen(c, t.PiZiTile);
}

void OnWallReveal(Client& c, const protocol::GameCmd& msg)
{
    GameState& g = c.game;
    const protocol::GameFrame& frame = c.core.RecvFrame;
    const uint8_t seat = msg.Seat & 0x0F;
    if (!IsSeatBit(seat))
        throw FrameFault("seat bit names no seat");
    std::array<int16_t, 4> data = msg.Data;
    results::RevealSeatHand(c, seat, data);

    if (g.ShownWallCount != 0)
        return;
    g.ShownWallCount = 0;
    for (int i = 0; i < 5; ++i) {
        g.ShownWallTiles[static_cast<std::size_t>(i)] =
            frame[static_cast<std::size_t>(protocol::wall_reveal_byte::WallTiles + i)];
        if (frame[static_cast<std::size_t>(protocol::wall_reveal_byte::WallTiles + i)] != 0)
            ++g.ShownWallCount;
    }
    const int tail = c.table.WallTail;
    g.ShownWallPos[0] = static_cast<int16_t>(tail);
    g.ShownWallPos[1] = static_cast<int16_t>(tail % 2 == 0 ? (tail + 1) % 136 : (tail - 3 + 136) % 136);
    for (int i = 2; i < g.ShownWallCount; ++i)
        g.ShownWallPos[static_cast<std::size_t>(i)] = static_cast<int16_t>((c.table.WallHead + i - 2) % 136);
}

} // namespace dispatch
