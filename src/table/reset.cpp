#include "table/reset.h"

#include "table/geometry.h"
#include "table/model.h"
#include "table/tiles.h"

namespace table {

void ClearTableTiles(TableModel& m, bool watchMode)
{
    TableBoard& f = m.board;
    m.state.LastDiscardImage = -1;
    m.state.PrevDiscardImage = -1;
    SetTileSizes(m, kWallTileSize);
    for (int i = 0; i < kTileImages; ++i) {
        f.MJ_Image[i].SetVisible(false);
        f.MJ_Image[i].ClearPicture();
    }
    for (PlayerRecord& p : m.players)
        for (TileSlot& s : p.Slots)
            s.TileCode = 0;
    f.Quoxa.SetPicture(f.quoxaImg.GetPicture());
    for (int i = 0; i < 5; ++i) {
        f.Operation[i].Enabled = false;
        f.Operation[i].SetVisible(false);
    }
    f.ZQ_Image.SetVisible(false);
    f.imgPiZi[0].SetVisible(false);
    f.imgPiZi[1].SetVisible(false);
    if (!watchMode)
        f.Zhuang.SetCaption(QString());
}

void ResetTableDisplay(TableModel& m, int32_t wealthMultiplier)
{
    TableBoard& f = m.board;
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

    SetTileSizes(m, kWallTileSize);
    LayOutWall(m);

    for (int v = 0; v < 4; ++v) {
        PlayerRecord& p = m.players[static_cast<std::size_t>(v)];
        const SeatOrigin& o = kSeatOrigins[static_cast<std::size_t>(v)];
        p.HandX = ScaledX(m, o.handX);
        p.HandY = ScaledY(m, o.handY);
        p.DiscardRowX = ScaledX(m, o.discardX);
        p.DiscardRowY = ScaledY(m, o.discardY);
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
    if (wealthMultiplier == 0) {
        f.lbwealth.SetCaption(QStringLiteral("1"));
        f.lbwealth.SetVisible(false);
        f.Imgwealth.SetVisible(false);
    }

    f.Bank.SetVisible(true);
    f.Bank.ZOrder(0);
    f.cmdImpeach.SetVisible(false);
    f.cmdImpeach.Enabled = false;
    m.state.LastDrawnImage = -1;
}

void ResetPlayerState(TableModel& m)
{
    TableState& t = m.state;
    for (int v = 0; v < 4; ++v) {
        PlayerRecord& p = m.players[static_cast<std::size_t>(v)];
        p.HandAmount = 0;
        p.BankerMark = 0;
        for (TileSlot& s : p.Slots) {
            s.Kind = 0;
            s.Image = -1;
        }
        p.HandFirst = 4;
        p.HandCount = p.WildInHand = p.RedLaid = p.WildLaid = p.GreenInHand = p.GreenLaid = 0;
        p.MeldEnd = v == 0 ? 3 : 4;
    }
    t.WildTile = -1;
    t.DrawFromHead = -1;
    t.DiscardDue = 0;
    t.LastDiscardTile = 0;
    t.SideTiles.fill(0);
    t.SideTileCount = 0;
    for (auto& row : m.laid)
        std::fill(row.begin(), row.begin() + 8, int16_t{0});
}

} // namespace table
