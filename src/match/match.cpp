#include "match/match.h"

#include "app/client.h"
#include "core/rings.h"
#include "match/match_download.h"
#include "match/match_frames.h"
#include "match/match_handlers.h"
#include "window/main_form.h"
#include "window/pictures.h"
#include "platform/clock.h"
#include "platform/http_get.h"
#include "protocol/kinds.h"
#include "rewards/bets.h"
#include "rewards/prize_lists.h"
#include "rewards/prize_pool.h"

namespace match {

void QueueMatchFrame(Client& c, protocol::GameFrame& frame)
{
    frame[protocol::frame_byte::EchoToken] = c.core.EchoToken[0];
    frame[protocol::frame_byte::EchoToken + 1] = c.core.EchoToken[1];
    core::QueueFrame(c, frame.data());
}

namespace {

// A match command: the kind in byte 3, an instance id (when given) in bytes
// 16-19, low byte first; every other byte 0.
protocol::GameFrame MatchCommand(uint8_t kind)
{
    protocol::GameFrame frame{};
    frame[protocol::frame_byte::Kind] = kind;
    return frame;
}

void SendInstanceCommand(Client& c, uint8_t kind, int32_t instanceId)
{
    if (instanceId < 0)
        return; // ids are never negative; such a frame would name nothing
    protocol::GameFrame frame = MatchCommand(kind);
    for (int i = 0; i < 4; ++i)
        frame[static_cast<std::size_t>(protocol::match_cmd_byte::InstanceId + i)] = static_cast<uint8_t>(static_cast<uint32_t>(instanceId) >> (8 * i));
    QueueMatchFrame(c, frame);
}

} // namespace

void SendMatchSign(Client& c, int32_t instanceId) { SendInstanceCommand(c, protocol::CmdMatchSign, instanceId); }

void SendSortRequest(Client& c, int32_t instanceId) { SendInstanceCommand(c, protocol::CmdSortRequest, instanceId); }

void SendMatchTimeRequest(Client& c)
{
    protocol::GameFrame frame = MatchCommand(protocol::CmdTimeRequest);
    QueueMatchFrame(c, frame);
    // 0 means "none pending", so a request sent at tick 0 is noted as 1.
    c.match.TimeRequestTick = std::max<uint32_t>(1, c.plat.clock.timeGetTime());
}

void InitMatch(Client& c)
{
    MatchState& m = c.match;
    if (c.plat.http)
        c.plat.http->Cancel();
    m.AutoSignLead = 0;
    m.ShowMatchCaptions = QStringList{QString()};
    m.tables.MatchTypes.assign(1, MatchType{});
    m.MatchInstances.assign(1, MatchInstance{});
    m.MatchList.assign(1, MatchInstance{});
    m.tables.GoodsInfo.assign(1, GoodsItem{});
    c.services.MyGoods.assign(1, services::GoodsStack{});
    c.services.GoodsStacks.assign(1, services::GoodsStack{});
    m.MatchDetailDirty = m.MatchListReceived = 0;
    m.MatchInfoUrl.clear();
    m.MatchInfoFile.clear();
    m.MatchPanelReady = m.MatchDataReady = 0;
    m.MatchInfoMd5.clear();
    m.MatchInfoDownloading = m.MatchInfoLoaded = 0;
    m.SortRequestTick = m.CaptionTick = m.ServerClock = m.ClockSyncTick = m.ClockStepTick = m.TimeRequestTick = 0;
    m.SortHeaderColor = 0xFFFE00;
    m.SortPlaceColors = {0x00E5FF, 0x00FF03, 0xFFFE00, 0xFFFFFF};
    m.SortRowHeight = 28;
    m.SortColumnWidths = {55, 160, 90};
    m.SortLeft = 25.0f;
    m.SortTop = 68.0f;
}

int16_t GetMatchMode(Client& c, int32_t matchId) { return MatchModeOf(c.match.tables.MatchTypes, matchId); }

void ShowMainFormByMatchType(Client& c)
{
    window::MainForm& f = *c.MainForm;
    QWidget* strip = c.rewards.Bets.Pic_prize;
    const bool matchRoom = c.match.RoomMatchMode >= 2;
    if (matchRoom) {
        window::LoadGifResource(777, QStringLiteral("GIF"), *f.pic1);
        if (strip)
            strip->hide();
        // Where the strip stands, in window pixels at either scale.
        f.pic_matchinfo->move(105, 654);
        f.pic_matchinfo->show();
    } else {
        if (strip)
            strip->show();
        f.pic_matchinfo->hide();
    }
    for (int v = 0; v < 4; ++v) {
        f.lbl_score[v].SetVisible(matchRoom);
        f.lbl_sort[v].SetVisible(matchRoom);
        f.Cash[v].SetVisible(!matchRoom);
        f.Level[v].SetVisible(!matchRoom);
    }
    if (!matchRoom) {
        f.lbl_matchtime.SetCaption(QString());
        f.lbl_matchtime.SetVisible(false);
    }
}

void MsgDecode_47(Client& c, const protocol::GameFrame& frame)
{
    window::MainForm& f = *c.MainForm;
    if (c.match.RoomMatchMode >= 2) {
        c.core.SchedWatch.On = false;
        f.TimerKeepAlive->SetEnabled(false);
    }
    const MatchStandingsFrame s = DecodeMatchStandings(frame);
    for (std::size_t k = 0; k < s.entries.size(); ++k) {
        const StandingEntry& e = s.entries[k];
        c.match.MatchStandings[k] = MatchStandingEntry{e.username, e.match_score, e.match_sort};
    }
    f.lbl_matchinfo[2].SetCaption(QString::number(s.idNum));
    c.game.GamePhase = 0;
    for (std::size_t seat = 0; seat < 4; ++seat) {
        c.game.Players[seat].SeatBit = 0;
        c.core.SeatNames[seat].clear();
    }
}

void HandleMatchFrame(Client& c, const protocol::GameFrame& frame)
{
    switch (frame[protocol::frame_byte::Kind]) {
    case protocol::MsgMatchSign: MsgMatchSign(c, frame); break;
    case protocol::MsgMatchSignOff: MsgMatchSignOff(c, frame); break;
    case protocol::MsgMatchStates: MsgMatchStates(c, frame); break;
    case protocol::MsgMatchStartEnd: MsgMatchStartEnd(c, frame); break;
    case protocol::MsgMatchSortSummary: MsgMatchSortSummary(c, frame); break;
    case protocol::MsgMatchResult: MsgMatchResult(c, frame); break;
    case protocol::MsgMatchSort: MsgMatchSort(c, frame); break;
    case protocol::MsgMatchInfoUrl: MsgMatchInfoUrl(c, frame); break;
    case protocol::MsgMyGoods: rewards::OnMyGoodsFrame(c, frame); break;
    case protocol::MsgGoodsChange: rewards::OnGoodsChangeFrame(c, frame); break;
    case protocol::MsgPrizeLists: rewards::OnPrizeListMsg(c, frame); break;
    case protocol::MsgPrizeNotice: rewards::MsgPrizeNotice(c, frame); break;
    case protocol::MsgServerTime: MsgServerTime(c, frame); break;
    case protocol::MsgMatchList: MsgMatchList(c, frame); break;
    case protocol::MsgMatchUpdate: MsgMatchUpdate(c, frame); break;
    case protocol::MsgMatchSignCount: MsgMatchSignCount(c, frame); break;
    case protocol::MsgMatchPrizeBase: MsgMatchPrizeBase(c, frame); break;
    case protocol::MsgMatchChampion: MsgMatchChampion(c, frame); break;
    case protocol::MsgAutoSignLead: MsgAutoSignLead(c, frame); break;
    case protocol::MsgGoldChange: MsgGoldChange(c, frame); break;
    case protocol::MsgSeatGoldChange: MsgSeatGoldChange(c, frame); break;
    case protocol::MsgMarquee: MsgMarquee(c, frame); break;
    default: break; // 76, 84 and 96-99 carry nothing for this client
    }
}

} // namespace match
