#include "app/client.h"

#include "chat/chat.h"
#include "chat/emoticons.h"
#include "chat/chat_box.h"
#include "chat/emoticon_picker.h"
#include "chat/huifu_form.h"
#include "chat/speak_box.h"
#include "chat/seat_handlers.h"
#include "chat/talk_form.h"
#include "core/messages.h"
#include "protocol/kinds.h"
#include "core/countdowns.h"
#include "core/exit_windows.h"
#include "core/lobby.h"
#include "core/reconnect.h"
#include "core/rings.h"
#include "core/scheduler.h"
#include "core/startup.h"
#include "core/table_reset.h"
#include "results/result_forms.h"
#include "dispatch/dispatcher.h"
#include "match/match.h"
#include "match/match_clock.h"
#include "match/match_panel.h"
#include "rewards/bets.h"
#include "rewards/chip_panel.h"
#include "rewards/jade.h"
#include "rewards/prop_pump.h"
#include "rewards/prop_round.h"
#include "rewards/reward_ticks.h"
#include "rewards/vip_badges.h"
#include "window/claim_input.h"
#include "window/hot_keys.h"
#include "window/main_buttons.h"
#include "window/main_form.h"
#include "platform/process.h"
#include "platform/tcp_link.h"
#include "platform/udp_link.h"
#include "platform/web_panel.h"
#include "services/gm_channel.h"
#include "services/wiring.h"
#include "window/chrome.h"
#include "window/pictures.h"
#include "window/settings_form.h"
#include "window/sound.h"
#include "window/web_panels.h"

namespace {

int EffectFile(table::TableEffect effect)
{
    switch (effect) {
    case table::TableEffect::TileDrawn:
        return window::SoundTileDrawn;
    case table::TableEffect::Shuffle:
        return window::SoundShuffle;
    case table::TableEffect::Dice:
        return window::SoundDice;
    }
    return 0;
}

// The table's pictures, sounds, frames, countdown and failure path.
table::TableHooks TableHooksOf(Client& c)
{
    table::TableHooks h;
    h.LoadTilePicture = [&c](int picture, platform::HasPicture& control) {
        return window::LoadGifResource(c.window.PicIds.TilePicIds[static_cast<std::size_t>(picture)],
                                       QStringLiteral("GIF"), control);
    };
    h.LoadDiePicture = [&c](int picture, platform::HasPicture& control) {
        return window::LoadGifResource(c.window.PicIds.DiceRollPicIds[static_cast<std::size_t>(picture)],
                                       QStringLiteral("GIF"), control);
    };
    h.LoadCompassPicture = [&c](int seatIndex, platform::HasPicture& control) {
        return window::LoadGifResource(c.window.PicIds.CompassPicIds[static_cast<std::size_t>(seatIndex)],
                                       QStringLiteral("GIF"), control);
    };
    h.PlayEffect = [&c](table::TableEffect effect) {
        window::SoundState& s = c.window.Sound;
        if (s.SoundOn == -1)
            window::PlayWave(c, s.SoundFiles[static_cast<std::size_t>(EffectFile(effect))], 0);
    };
    h.SpeakTile = [&c](int view, int16_t tile) {
        if (c.window.Sound.SoundOn == 0)
            return;
        try {
            const core::UserInfo& u = c.game.UserInfos[static_cast<std::size_t>(view)];
            const window::SeatVoice voice{u.Voice1, u.Voice2, u.Sex, u.VoiceKind};
            window::PlayWave(c, window::VoiceFileName(c, voice, window::TileVoiceCode(tile)), 0);
        } catch (const std::exception&) {
            // A voice that cannot be played is left out; the discard goes on.
        }
    };
    h.SendOperation = [&c](int16_t op, int16_t t1, int16_t t2, int16_t t3) {
        protocol::GameCmd cmd;
        cmd.Kind = protocol::CmdOperation;
        cmd.Seat = c.game.Players[0].SeatBit;
        cmd.Data = {op, t1, t2, t3};
        core::SendMsg(c, cmd);
    };
    h.RunDecisionCountdown = [&c](bool on) {
        if (on)
            c.core.SchedDecision.Start();
        else
            c.core.SchedDecision.Stop();
    };
    h.DealStarted = [&c] { core::OnDealStarted(c); };
    h.EndClient = [&c] {
        core::RestoreLobbyWindow(c);
        c.plat.process.endNow();
    };
    return h;
}

// What core asks of the subsystems above it, and the 50 ms tick's steps of
// the rewards, chat and plug-in pump, in the order the tick runs them.
core::UpperHooks UpperHooksOf(Client& c)
{
    core::UpperHooks h;
    h.TickStart.push_back([&c] {
        rewards::RewardsState& r = c.rewards;
        if (r.MyPrizeRolling)
            rewards::RollMyPrize(c);
        if (r.JadeRewardActive)
            rewards::JadeRewardTimer(c);
        if (c.results.ScorePending)
            rewards::RewardSequenceTimer(c);
        if (r.FinishPending)
            rewards::FinishRewardSequence(c);
    });
    h.TickStart.push_back([&c] { ++c.chat.DBQS_Num; });
    h.TickStart.push_back([&c] { match::MatchTimerTick(c); });
    h.TickStart.push_back([&c] {
        if (c.rewards.PoolRolling)
            rewards::RollPrizePool(c);
    });
    // The plug-in pump ends the tick early when the plug-in stopped under it.
    h.TickEnd.push_back([&c] {
        if (rewards::SchedPropPump(c)) {
            chat::SchedEmoticonEnd(c);
            if (c.rewards.PropAniOn)
                rewards::SchedVipBadges(c);
        }
    });
    h.Dispatch = [&c](const protocol::GameCmd& msg) { dispatch::DispatchServerMsg(c, msg); };
    h.ChatFrameRead = [&c] { chat::OnChatFrame(c); };
    h.UnloadSpeakBoxes = [&c] { chat::UnloadSpeakBoxes(c); };
    h.ClearTalkHistory = [&c] { c.Talk->Text1->Clear(); };
    h.HideTalkWindow = [&c] { c.Talk->Hide(); };
    h.ExitPropPlugin = [&c](int16_t flag) { rewards::ExitPropPlugin(c, flag); };
    h.InitChipPanel = [&c] { rewards::InitChipPanel(c); };
    h.RefreshChipBox = [&c](bool force) { rewards::RefreshChipBox(c, force); };
    h.InitJadeTask = [&c] { rewards::InitJadeTask(c); };
    h.HideJadeTask = [&c] { rewards::HideJadeTask(c); };
    h.InitMatch = [&c] { match::InitMatch(c); };
    h.MatchModeOf = [&c](int32_t matchId) { return match::GetMatchMode(c, matchId); };
    h.ShowMainFormByMatchType = [&c] { match::ShowMainFormByMatchType(c); };
    return h;
}

} // namespace

Client::Client(platform::Services services)
    : plat(services), MainForm(std::make_unique<window::MainForm>()),
      Score(std::make_unique<results::ScoreForm>(MainForm.get())),
      Hero(std::make_unique<results::HeroForm>(MainForm.get())), Talk(std::make_unique<chat::TalkForm>(MainForm.get())),
      frmReconnect(std::make_unique<core::ReconnectForm>(MainForm.get())),
      frmExit(std::make_unique<core::ExitForm>(MainForm.get())),
      frmOtherExit(std::make_unique<core::OtherExitForm>(MainForm.get())),
      frmZhahu(std::make_unique<window::ZhahuForm>(MainForm.get())),
      huifu(std::make_unique<chat::HuifuForm>(MainForm.get())),
      frmBiaoqing(std::make_unique<chat::BiaoqingForm>(MainForm.get())),
      Information(std::make_unique<results::InformationForm>(MainForm.get())),
      VosSet(std::make_unique<window::SettingsForm>(MainForm.get())),
      FrmRule(std::make_unique<window::RuleForm>(MainForm.get()))
{
    core.Hooks = UpperHooksOf(*this);
    GameState& g = game;
    tableModel_ = std::make_unique<table::TableModel>(table::TableModel{
        table, *MainForm, g.Players, g.LaidTileImages, g.ScaleX, g.ScaleY,
        table::Decision{g.OpSent, g.AllowedOps, g.Countdown, g.CountdownStart, g.TurnPhase}, plat.clock,
        TableHooksOf(*this)});
    QObject::connect(&plat.tcp, &platform::TcpLink::DataArrival, &wiring_,
                     [this](qint64) { core::Winsock1_DataArrival(*this); });
    QObject::connect(&plat.tcp, &platform::TcpLink::CloseEvent, &wiring_, [this] { core::Winsock1_Close(*this); });
    QObject::connect(MainForm->TimerBong, &QTimer::timeout, &wiring_, [this] { core::TimerBong_Timer(*this); });
    QObject::connect(MainForm->TimerKeepAlive, &QTimer::timeout, &wiring_,
                     [this] { core::TimerKeepAlive_Timer(*this); });
    QObject::connect(MainForm->TimerProp, &QTimer::timeout, &wiring_, [this] { rewards::TimerProp_Timer(*this); });
    MainForm->TimerKeepAlive->SetInterval(core::kKeepAliveMs);
    QObject::connect(frmReconnect->TimerReconnect, &QTimer::timeout, &wiring_,
                     [this] { core::TimerReconnect_Timer(*this); });
    QObject::connect(frmReconnect->TimerCount, &QTimer::timeout, &wiring_, [this] { core::TimerCount_Timer(*this); });
    frmExit->pbCloseMe.Click = [this] { core::frmExit_pbCloseMe_Click(*this); };
    frmExit->pbCancel.Click = [this] { core::frmExit_pbCancel_Click(*this); };
    frmOtherExit->imgOK.Click = [this] { core::frmOtherExit_imgOK_Click(*this); };
    frmOtherExit->imgCancel.Click = [this] { core::frmOtherExit_imgCancel_Click(*this); };
    QObject::connect(MainForm.get(), &window::MainForm::Unload, &wiring_, [this] { core::Form_Unload(*this); });

    // The table window's frame, title bar, web panels and UDP socket.
    window::MainForm& f = *MainForm;
    QObject::connect(&f, &window::MainForm::Resize, &wiring_, [this] { window::Form_Resize(*this); });
    for (int i = 0; i < f.Imgclose.Count(); ++i) {
        const auto index = static_cast<int16_t>(i);
        f.Imgclose[i].MouseDown = [this, index](int16_t, int16_t, float, float) { window::Imgclose_MouseDown(*this, index); };
        f.Imgclose[i].MouseMove = [this, index](int16_t, int16_t, float, float) { window::Imgclose_MouseMove(*this, index); };
        f.Imgclose[i].MouseUp = [this, index](int16_t, int16_t, float, float) { window::Imgclose_MouseUp(*this, index); };
        f.Imgclose[i].Click = [this, index] { window::Imgclose_Click(*this, index); };
    }
    for (int i = 0; i < f.ImgMin.Count(); ++i) {
        const auto index = static_cast<int16_t>(i);
        f.ImgMin[i].MouseDown = [this, index](int16_t, int16_t, float, float) { window::ImgMin_MouseDown(*this, index); };
        f.ImgMin[i].MouseMove = [this, index](int16_t, int16_t, float, float) { window::ImgMin_MouseMove(*this, index); };
        f.ImgMin[i].MouseUp = [this, index](int16_t, int16_t, float, float) { window::ImgMin_MouseUp(*this, index); };
        f.ImgMin[i].Click = [this, index] { window::ImgMin_Click(*this, index); };
    }
    f.LbMove.MouseDown = [this](int16_t button, int16_t, float, float) { window::LbMove_MouseDown(*this, button); };
    f.LbMove.MouseMove = [this](int16_t, int16_t, float, float) { window::LbMove_MouseMove(*this); };
    f.FormMouseMove = [this](int16_t, int16_t, float, float) { window::Form_MouseMove(*this); };
    f.Proponeself.MouseMove = [this](int16_t, int16_t, float x, float y) { rewards::Proponeself_MouseMove(*this, x, y); };
    f.WebBrowser1 = plat.web.Create(f.pic1, QStringLiteral("WebBrowser1"));
    f.WebBrowser2 = plat.web.Create(f.pic1, QStringLiteral("WebBrowser2"));
    QObject::connect(f.WebBrowser1, &platform::WebPanel::DocumentComplete, &wiring_,
                     [this] { window::WebBrowser1_DocumentComplete(*this); });
    QObject::connect(f.WebBrowser1, &platform::WebPanel::NavigateError, &wiring_,
                     [this] { window::WebBrowser1_NavigateError(*this); });
    QObject::connect(f.WebBrowser2, &platform::WebPanel::NavigateError, &wiring_,
                     [this] { window::WebBrowser2_NavigateError(*this); });
    QObject::connect(&plat.udp, &platform::UdpLink::DataArrival, &wiring_,
                     [this](qint64 bytes) { services::WinsckUdp_DataArrival(*this, bytes); });
    // Customer service, the report of a cheater, the membership and web
    // links and the prize exchange: the controls of the table window they
    // drive and what they ask of the layers above them.
    services::TableSide& side = this->services.Table;
    side.Window = &f;
    side.pic1 = f.pic1;
    side.imgLocation = &f.imgLocation;
    side.ImgGm = &f.ImgGm;
    side.cmdImpeach = &f.cmdImpeach;
    side.ImgJadeExch = &f.ImgJadeExch;
    side.img_vip = &f.img_vip;
    side.pic_gskh_back = f.pic_gskh_back;
    side.Bank = &f.Bank;
    this->services.Hooks.Picture = [](int id) { return window::LoadGifPicture(id, QStringLiteral("GIF")); };
    this->services.Hooks.SendMsg = [this](const protocol::GameCmd& cmd) { core::SendMsg(*this, cmd); };
    this->services.Hooks.OpenWebPage = [this](const QString& address) { return window::OpenWebPage(*this, address); };
    this->services.Hooks.GoodsInfoIndex = [this](int32_t goodsId) -> int16_t {
        const std::vector<match::GoodsItem>& goods = match.tables.GoodsInfo;
        for (std::size_t j = 1; j < goods.size(); ++j)
            if (goods[j].id == goodsId)
                return static_cast<int16_t>(j);
        return 0;
    };
    this->services.Hooks.GoodsLook = [this](int16_t index) -> std::pair<int16_t, QString> {
        const std::vector<match::GoodsItem>& goods = match.tables.GoodsInfo;
        if (index <= 0 || static_cast<std::size_t>(index) >= goods.size())
            return {};
        return {goods[static_cast<std::size_t>(index)].PicId, goods[static_cast<std::size_t>(index)].des};
    };
    services::WireServices(*this);
    window::WireClaimInput(*this);
    results::WireResultForms(*this);
    window::WireSettingsForm(*this);
    window::WireNoticeForms(*this);

    // The nine main buttons and the keys; the title bar's close picture acts
    // as the exit button (the minimise picture's own handler runs the
    // minimise button).
    window::WireMainButtons(*this);
    window::keys::WireHotKeys(*this);
    chat::WireChat(*this);
    match::WireMatchPanel(*this);
    // The betting strip and its panels; the chat bar's hover also gives the
    // bag button its normal picture back.
    rewards::WireBets(*this);
    if (platform::MouseHandler chatBar = f.imgLocation.MouseMove)
        f.imgLocation.MouseMove = [this, chatBar](int16_t b, int16_t s, float x, float y) {
            chatBar(b, s, x, y);
            services::Bank_MouseOut(*this);
        };
    f.Imgclose[0].Click = [this] { window::AnNiu_Click(*this, window::AnNiuExit); };
    // The end-of-hand reward sequence has no finishing step yet: the start
    // button's ready command goes out at once.
    window.SkipRewardRolls = [this] { rewards::SkipRewardRolls(*this); };
    window::WireClientDialogs(*this);
}

Client::~Client() = default;
