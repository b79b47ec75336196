#include "table/reset.h"

#include "app/client.h"
#include "chat/talk_form.h"
#include "rewards/jade.h"
#include "table/geometry.h"
#include "table/tiles.h"
#include "window/main_form.h"

namespace table {

void ClearTableTiles(Client& c)
{
    window::MainForm& f = *c.MainForm;
    c.table.LastDiscardImage = -1;
    c.table.PrevDiscardImage = -1;
    SetTileSizes(c, kWallTileSize);
    for (int i = 0; i < kTileImages; ++i) {
        f.MJ_Image[i].SetVisible(false);
        f.MJ_Image[i].ClearPicture();
    }
    for (PlayerRecord& p : c.game.Players)
        for (TileSlot& s : p.Slots)
            s.TileCode = 0;
    f.Quoxa.SetPicture(f.quoxaImg.GetPicture());
    for (int i = 0; i < 5; ++i) {
        f.Operation[i].Enabled = false;
        f.Operation[i].SetVisible(false);
    }
    c.game.CapClass.fill(0);
    for (QByteArray& name : c.core.SeatNames)
        name.clear();
    f.ZQ_Image.SetVisible(false);
    f.imgPiZi[0].SetVisible(false);
    f.imgPiZi[1].SetVisible(false);
    if (!c.game.WatchMode)
        f.Zhuang.SetCaption(QString());
}

void ResetTableDisplay(Client& c)
{
    window::MainForm& f = *c.MainForm;
    GameState& g = c.game;
    for (int i = 0; i < kTileImages; ++i) {
        f.MJ_Image[i].SetVisible(false);
        f.MJ_Image[i].Tag.clear();
    }
    for (platform::GraphicControl* ctl : std::initializer_list<platform::GraphicControl*>{
             &f.Time_Img, &f.Number, &f.ZhiNan, &f.Host, &f.Zhuang})
        ctl->SetVisible(false);
    for (int i = 0; i < 5; ++i)
        f.Operation[i].SetVisible(false);
    for (int i = 0; i < 3; ++i)
        f.Speak[i].SetVisible(false);
    for (int i = 0; i < 6; ++i)
        f.Chi[i].SetVisible(false);
    for (int i = 0; i < 5; ++i)
        f.Gang[i].SetVisible(false);
    c.Talk->Hide();

    SetTileSizes(c, kWallTileSize);
    LayOutWall(c);

    for (int v = 0; v < 4; ++v) {
        PlayerRecord& p = g.Players[static_cast<std::size_t>(v)];
        const SeatOrigin& o = kSeatOrigins[static_cast<std::size_t>(v)];
        p.HandX = ScaledX(c, o.handX);
        p.HandY = ScaledY(c, o.handY);
        p.DiscardRowX = ScaledX(c, o.discardX);
        p.DiscardRowY = ScaledY(c, o.discardY);
        p.NextDiscardX = p.DiscardRowX;
        p.NextDiscardY = p.DiscardRowY;
    }

    f.lblDifen.SetCaption(QStringLiteral("1"));
    f.lblDifen.SetVisible(false);
    f.imgsezi[0].SetVisible(false);
    f.imgsezi[1].SetVisible(false);
    f.imgBeishu.SetVisible(false);
    for (int i = 0; i < 3; ++i)
        f.lbfont[i].SetVisible(false);
    if (g.WealthMultiplier == 0) {
        f.lbwealth.SetCaption(QStringLiteral("1"));
        f.lbwealth.SetVisible(false);
        f.Imgwealth.SetVisible(false);
    }

    g.SeatFlags4.fill(0);
    g.HandSubtotals.fill(0);
    g.PropResultDue = g.PropRoundState = g.DrawnHandPending = g.PropRoundReset = 0;

    f.Bank.SetVisible(true);
    f.Bank.ZOrder(0);
    f.cmdImpeach.SetVisible(false);
    f.cmdImpeach.Enabled = false;

    g.ImpeachOffered = 0;
    g.ImpeachDone = 0;
    g.ImpeachSeat = -1;
    g.ImpeachAllowed = 0;
    c.table.LastDrawnImage = -1;
    g.F1Minimized = 0;
    g.TimeoutCount = 0;
}

void ResetPlayerState(Client& c)
{
    GameState& g = c.game;
    TableState& t = c.table;
    for (int v = 0; v < 4; ++v) {
        PlayerRecord& p = g.Players[static_cast<std::size_t>(v)];
        p.HandAmount = 0;
        p.BankerMark = 0;
        for (TileSlot& s : p.Slots) {
            s.Kind = 0;
            s.Image = -1;
        }
        p.HandFirst = 4;
        p.HandCount = p.WildInHand = p.RedLaid = p.WildLaid = p.GreenInHand = p.GreenLaid = 0;
        p.MeldEnd = v == 0 ? 3 : 4;
        g.HandResult[static_cast<std::size_t>(v)][16] = 0;
        g.HandAmounts[static_cast<std::size_t>(v)] = 0;
        c.core.SeatNames[static_cast<std::size_t>(v)].clear();
    }
    t.WildTile = -1;
    t.DrawFromHead = -1;
    t.DiscardDue = 0;
    g.GamePhase = 0;
    t.LastDiscardTile = 0;
    for (auto& row : g.RevealedTiles)
        row.fill({});
    t.SideTiles.fill(0);
    t.SideTileCount = 0;
    for (auto& row : g.LaidTileImages)
        std::fill(row.begin(), row.begin() + 8, int16_t{0});
    g.WinnerView = -1;
    g.ResultFrameCount = 0;
    g.InGame = 0;
    rewards::HideJadeTask(c);
}

} // namespace table
