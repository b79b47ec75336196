// Feeds random sequences of server frames, mixed with the local player's
// clicks, through the frame dispatcher of a client over test doubles. Every
// frame is read from the receive ring and dispatched as the scheduler does.
//
// Each input starts a new hand at a cleared table; its first bytes choose
// the seating, the layout scale, the wall and the wild tile (the frames
// that set those up are not under test here), the rest is a sequence of
// events.

#include "app/client.h"
#include "chat/talk_form.h"
#include "core/messages.h"
#include "core/scheduler.h"
#include "dispatch/dispatcher.h"
#include "platform/instance_lock.h"
#include "platform/prop_plugin.h"
#include "protocol/kinds.h"
#include "support/fake_prop_plugin.h"
#include "support/fakes.h"
#include "support/test_client.h"
#include "core/table_reset.h"
#include "table/tiles.h"
#include "window/claim_input.h"
#include "window/main_form.h"
#include "window/pictures.h"

#include <QApplication>
#include <QCoreApplication>
#include <QPointer>
#include <QSet>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <memory>
#include <vector>

namespace {

using namespace testing_support;

class QuietPlugin : public FakePropPlugin {
public:
    void Rec_MSG(std::array<uint8_t, 272>& frame) override
    {
        // A plug-in may fail; the dispatcher must take its failure path then.
        if (frame[4] == 0xEE)
            throw std::runtime_error("plug-in failed");
    }
};

// The client under fuzz: a test client over the platform doubles.
using Harness = TestClient;

Harness* harness = nullptr;
unsigned long long framesDispatched = 0;
// MJ_FUZZ_FRAMES: end the run once this many frames went through.
unsigned long long framesWanted = 0;

// Every tile of the game, and a few values that are none.
constexpr int kTiles[] = {0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28,
                          0x29, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x81, 0x82, 0x83, 0x84, 0x85,
                          0x86, 0x87, 0x88, 0x89, 0x00, 0x20, 0x18, 0x8A, 0x35, 0xFF};
constexpr int kSeatBits[] = {1, 2, 4, 8};
constexpr int kPlayKinds[] = {1, 2, 5, 6, 7, 2, 5, 6, 7, 5, 2, 7};

// The values below are drawn densely, mostly one byte each, so that the
// short inputs of a run carry many frames: a byte picks from a list of
// values, and its top sixteenth (or the like) stands for a byte of its own
// that follows.

// One of `values` by a byte; a byte of its own when the first one falls in
// the last `1 / anyOneIn` of the range.
template <std::size_t N>
int PickOrAny(FuzzedDataProvider& in, const int (&values)[N], int anyOneIn)
{
    const int b = in.ConsumeIntegral<uint8_t>();
    if (b >= 256 - 256 / anyOneIn)
        return in.ConsumeIntegral<uint8_t>();
    return values[static_cast<std::size_t>(b) % N];
}

// Mostly real tiles, now and then anything at all.
int Tile(FuzzedDataProvider& in) { return PickOrAny(in, kTiles, 16); }

int Seat(FuzzedDataProvider& in) { return PickOrAny(in, kSeatBits, 16); }

// The names the fuzzed table is seated with.
const char* const kNames[] = {"p0", "p1", "p2", "p3"};

// A frame of the kinds that lay out a table from scratch, empty a seat or
// carry chat: 40 (seat snapshot), 41 (hand header), 21 (a user leaves) and
// 19 (chat, read by the frame reader itself).
protocol::GameFrame MakeTableFrame(FuzzedDataProvider& in)
{
    protocol::GameFrame f{};
    const int kind = in.PickValueInArray({40, 40, 41, 21, 19, 19});
    f[3] = static_cast<uint8_t>(kind);
    f[6] = static_cast<uint8_t>(Seat(in));
    f[7] = in.ConsumeIntegralInRange<int>(0, 3) == 0 ? in.ConsumeIntegral<uint8_t>()
                                                      : in.ConsumeIntegralInRange<uint8_t>(0, 12);
    for (int w = 0; w < 4; ++w)
        f[static_cast<std::size_t>(9 + 2 * w)] =
            static_cast<uint8_t>(in.ConsumeBool() ? Tile(in) : in.ConsumeIntegral<uint8_t>());
    switch (kind) {
    case 40: {
        const int entries = in.ConsumeIntegralInRange<int>(0, 24);
        for (int k = 0; k < entries; ++k) {
            f[static_cast<std::size_t>(16 + 2 * k)] = static_cast<uint8_t>(
                in.ConsumeIntegralInRange<int>(0, 7) == 0 ? in.ConsumeIntegral<uint8_t>() : in.PickValueInArray({0x10, 0x20}));
            f[static_cast<std::size_t>(17 + 2 * k)] = static_cast<uint8_t>(Tile(in));
        }
        break;
    }
    case 21: {
        f[8] = in.ConsumeIntegralInRange<uint8_t>(0, 1);
        const std::string name = in.ConsumeBool() ? std::string(in.PickValueInArray(kNames))
                                                  : in.ConsumeRandomLengthString(16);
        for (std::size_t i = 0; i < name.size() && i < 16; ++i)
            f[16 + i] = static_cast<uint8_t>(name[i]);
        if (f[8] == 1 && f[16] != 0)
            ++f[16];
        break;
    }
    case 19: {
        f[9] = in.ConsumeIntegralInRange<uint8_t>(0, 4);
        const std::string text = in.ConsumeRandomLengthString(200);
        for (std::size_t i = 0; i < text.size(); ++i)
            f[16 + i] = static_cast<uint8_t>(text[i]);
        const std::string name = in.ConsumeBool() ? std::string(in.PickValueInArray(kNames))
                                                  : in.ConsumeRandomLengthString(16);
        for (std::size_t i = 0; i < name.size() && i < 16; ++i)
            f[217 + i] = static_cast<uint8_t>(name[i]);
        const uint32_t relay = in.PickValueInArray({0u, 0u, 260u, 272u, in.ConsumeIntegral<uint32_t>()});
        for (int i = 0; i < 4; ++i)
            f[static_cast<std::size_t>(236 + i)] = static_cast<uint8_t>(relay >> (24 - 8 * i));
        break;
    }
    default:
        break;
    }
    f[260] = in.ConsumeIntegral<uint8_t>();
    f[261] = in.ConsumeIntegral<uint8_t>();
    return f;
}

// A frame of the play; `shape` (0-15) chooses its kind: 0 and 1 a table
// frame, 2 and 3 any kind at all, the others one of kPlayKinds.
protocol::GameFrame MakeFrame(FuzzedDataProvider& in, int shape)
{
    if (shape < 2)
        return MakeTableFrame(in);
    protocol::GameFrame f{};
    int kind = 0;
    if (shape < 4) {
        kind = in.ConsumeIntegral<uint8_t>();
        if (kind == protocol::MsgChat)
            kind = 8;
    } else {
        kind = kPlayKinds[static_cast<std::size_t>(shape - 4)];
    }
    // Now and then a byte 2, a broken word or an echo token, from one byte.
    const int odd = in.ConsumeIntegral<uint8_t>();
    f[2] = (odd & 15) == 0 ? in.ConsumeIntegral<uint8_t>() : 0;
    f[3] = static_cast<uint8_t>(kind);
    f[4] = in.ConsumeIntegral<uint8_t>();
    f[6] = static_cast<uint8_t>(Seat(in));
    f[7] = in.ConsumeIntegral<uint8_t>();
    switch (kind) {
    case 1:
        f[9] = static_cast<uint8_t>(PickOrAny(in, {12, 13, 4, 8, 2}, 5));
        for (int i = 0; i < 12; ++i) {
            const int code = Tile(in);
            f[static_cast<std::size_t>(16 + 2 * i)] = static_cast<uint8_t>(code & 0x0F);
            f[static_cast<std::size_t>(17 + 2 * i)] = static_cast<uint8_t>(code >> 4);
        }
        break;
    case 6:
        f[9] = in.ConsumeIntegral<uint8_t>();
        f[11] = in.ConsumeIntegralInRange<uint8_t>(0, 1);
        f[100] = in.ConsumeIntegral<uint8_t>();
        break;
    case 7:
        f[9] = static_cast<uint8_t>(PickOrAny(in, {1, 4, 8, 16, 32, 64, 128, 129}, 8));
        for (int w = 1; w <= 3; ++w)
            f[static_cast<std::size_t>(9 + 2 * w)] = static_cast<uint8_t>(Tile(in));
        break;
    default:
        f[11] = in.ConsumeIntegralInRange<uint8_t>(0, 1);
        f[15] = static_cast<uint8_t>(Tile(in));
        break;
    }
    if (((odd >> 4) & 7) == 0)
        f[static_cast<std::size_t>(8 + 2 * in.ConsumeIntegralInRange<int>(0, 3))] = in.ConsumeIntegral<uint8_t>();
    if (odd & 128) {
        f[260] = in.ConsumeIntegral<uint8_t>();
        f[261] = in.ConsumeIntegral<uint8_t>();
    }
    return f;
}

// Every input ends with the windows shown and the timers running that the
// client had when it was made. Without the event loop, the window system's
// events of every show and hide would pile up from input to input, and a
// timer left running would start the next input in another state.
class WindowWatch : public QObject {
public:
    // What the client shows and runs now counts as its first state.
    void NoteStart()
    {
        Collect();
        for (QWidget* w : windows_)
            if (w && w->isVisible())
                shownAtStart_.insert(w);
        for (QTimer* t : timers_)
            if (t && t->isActive())
                runningAtStart_.insert(t);
    }

    // Hides the windows the input showed and stops the timers it started,
    // then lets Qt handle what that queued.
    void Restore()
    {
        if (changed_)
            Collect();
        for (QWidget* w : windows_)
            if (w && w->isVisible() && !shownAtStart_.contains(w))
                w->hide();
        for (QTimer* t : timers_)
            if (t && t->isActive() != runningAtStart_.contains(t)) {
                if (t->isActive())
                    t->stop();
                else
                    t->start();
            }
        if (shownOrHidden_)
            QCoreApplication::processEvents();
        else
            QCoreApplication::sendPostedEvents();
        shownOrHidden_ = false;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::ChildAdded:
            changed_ = true; // perhaps a timer or a window
            break;
        case QEvent::Show:
        case QEvent::Hide:
            if (watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow()) {
                shownOrHidden_ = true;
                changed_ = true;
            }
            break;
        default:
            break;
        }
        return false;
    }

private:
    // The windows and their timers, listed again only after the client made
    // a new object or window: listing them takes longer than most inputs.
    void Collect()
    {
        windows_.clear();
        timers_.clear();
        for (QWidget* w : QApplication::topLevelWidgets()) {
            windows_.emplace_back(w);
            for (QTimer* t : w->findChildren<QTimer*>())
                timers_.emplace_back(t);
        }
        changed_ = false;
    }

    // Guarded: the client may delete a window or a timer in between.
    std::vector<QPointer<QWidget>> windows_;
    std::vector<QPointer<QTimer>> timers_;
    QSet<QWidget*> shownAtStart_;
    QSet<QTimer*> runningAtStart_;
    bool changed_ = true;
    bool shownOrHidden_ = false;
};

WindowWatch* windowWatch = nullptr;

// The rewards state starts afresh, but for the controls and animations of
// its panels and the jade table read at start-up, which stay with the window.
void ClearRewards(rewards::RewardsState& r)
{
    r.DeferredBuy = 0;
    r.DeferredBuyOn = r.BuyDeferred = 0;
    r.PropPluginState = r.PropAniOn = 0;
    r.PropAniTicks = {};
    r.PropAniState = {};
    r.LeaveResetDue = r.PropHandEndDue = 0;
    r.PropSeatNames = {};
    r.PropCoinDelta = {};
    r.PropSeatEntries = {};
    r.PropPlugin.reset();
    r.PropScoreInfoDue = r.PropPluginReady = r.PropMenuOpen = 0;
    r.PropSendPicture = {};
    r.PropSendText.clear();
    r.PropSendFrame.clear();
    r.PropSendType = -1;
    r.PropNoticeParams.clear();
    r.PropNoticeExtra = {};
    r.PropCaptionOn = r.PropCaptionTicks = r.PropCaptionLimit = 0;
    r.PropBaoInfo = {};
    r.TreasureCountdownOn = r.TreasureTickCount = r.TreasureSecondsLeft = 0;
    r.TreasurePicks = {-1, -1, -1, -1};
    r.PropRandom.seed();
    r.MyPrizeRolling = r.JadeRewardActive = r.FinishPending = r.PoolRolling = 0;
    r.JadeRewardText.clear();
    r.JadeShowTick = 0;
    r.JadeShowing = 0;
    r.PropTimerOn = r.PropTimerTicks = r.PropTimerLimit = 0;
    r.TreasureSeatLabels = {};
    r.TreasureCoinStep = {};
    r.TreasureCoinShown = {};
    r.TreasureLabelWidth = r.TreasureDigits = 0;
    r.PropOneSelfShown = r.PropOneSelfHover = 0;
    r.PrizePool = 0;
    r.PoolRollTick = 0;
    r.PoolRollDigit = r.PoolRollStep = 0;
    r.MyPrize = 0;
    r.MyPrizeRollTick = 0;
    r.MyPrizeRollDigit = r.MyPrizeRollState = 0;
    r.PrizeRandom.seed();
    r.LotteryPending = 0;
    r.RewardStepTick = 0;
    rewards::BetsState& b = r.Bets;
    b.MaxChip = 0;
    b.WinList = {};
    b.BigPrizeList = {};
    b.BigPrizeCount = 0;
    b.PrizeListFlag = 0;
    b.PrizeListFirstOpen = -1;
    b.InChipChange = b.InBuyNumChange = false;
}

// The service state's data starts afresh; its controls, windows, hooks and
// the table's side stay.
void ClearServices(services::ServicesState& s)
{
    s.GmServiceHost.clear();
    s.GmServiceOn = 0;
    s.gm_iNum = 0;
    s.GmUserName.clear();
    s.GmAccount.clear();
    s.GmReplyIdBytes = {};
    s.GmDisplayText.clear();
    s.GmEchoText.clear();
    s.GmLastSentText.clear();
    s.gm_byteCheck = 0;
    s.gm_byteCheckRet.reset();
    s.FrmGmOpen = 0;
    s.GmLastSendTime.reset();
    s.MemberRechargeLinkCache.clear();
    s.MyGoods.assign(1, services::GoodsStack{});
    s.GoodsStacks.assign(1, services::GoodsStack{});
    s.BankHoverShown = 0;
}

// Clears what a hand leaves in the client and the doubles. Run after every
// input as well as before the first, so that an input frees what it
// allocated and libFuzzer does not run it again to look for a leak.
void ClearClient(Client& c)
{
    c.game = GameState{};
    c.results = results::ResultsState{};
    ClearRewards(c.rewards);
    ClearServices(c.services);
    {
        // The hand's fields of the window, chat and match states start afresh
        // too; their pictures, sounds and windows stay.
        const window::WindowState w;
        c.window.ChromeNormal = w.ChromeNormal;
        c.window.WebNavError = w.WebNavError;
        c.window.AnNiuHoverShown = w.AnNiuHoverShown;
        c.window.ShuffleShowOn = w.ShuffleShowOn;
        c.window.ShuffleLabelOn = w.ShuffleLabelOn;
        c.window.ShuffleFlagA = w.ShuffleFlagA;
        c.window.ShuffleStep = w.ShuffleStep;
        c.window.ShuffleCaptions = w.ShuffleCaptions;
        c.window.GameAdFile = w.GameAdFile;
        c.window.GameAdName = w.GameAdName;
        c.window.WebBrowser1Panel = w.WebBrowser1Panel;
        c.window.WebBrowser2Panel = w.WebBrowser2Panel;
        const chat::ChatState h;
        c.chat.ChatAllowed = h.ChatAllowed;
        c.chat.BubblesAllowed = h.BubblesAllowed;
        c.chat.DBQS_flag = h.DBQS_flag;
        c.chat.DBQS_Num = h.DBQS_Num;
        c.chat.DBQ_click_time = h.DBQ_click_time;
        c.chat.SeatVoiceFolders = h.SeatVoiceFolders;
        c.chat.WhisperSeat = h.WhisperSeat;
        c.chat.WhisperPrefix = h.WhisperPrefix;
        c.chat.ChatBlinkCount = h.ChatBlinkCount;
        const match::MatchState m;
        c.match.RoomMatchMode = m.RoomMatchMode;
        c.match.MatchPanelMode = m.MatchPanelMode;
        c.match.ReservedMoney = m.ReservedMoney;
    }
    c.table = table::TableState{};
    // A new session's chat history is empty. Left to grow over the whole
    // run it would make every later line lay out all earlier ones.
    c.Talk->Text1->Clear();
    for (platform::ListBox* box : c.MainForm->Sysmsg)
        box->Clear();
    core::CoreState& s = c.core;
    s.RecvRing.Read = s.RecvRing.Write = 0;
    s.SendRing.Read = s.SendRing.Write = 0;
    s.EchoToken = {};
    s.TurnStamp = 0;
    for (core::SchedTask* t : {&s.SchedSend, &s.SchedReceive, &s.SchedDecision, &s.SchedReady})
        t->Stop();
    harness->dialogs.texts.clear();
    harness->process.ended = false;
    harness->lobby.commands.clear();
    harness->lobby.posted.clear();
    harness->sound.buffers.clear();
    harness->shell.opened.clear();
    harness->tcp.sent.clear();
    windowWatch->Restore();
}

// A new hand at a cleared table.
void SetUpTable(Client& c, FuzzedDataProvider& in)
{
    // The choices of the set-up, two bits for an even one, more for the odd.
    uint32_t bits = in.ConsumeIntegral<uint32_t>();
    const auto take = [&bits](int count) {
        const uint32_t value = bits & ((1u << count) - 1);
        bits >>= count;
        return static_cast<int>(value);
    };
    const int own = take(2);
    for (int v = 0; v < 4; ++v) {
        c.game.Players[static_cast<std::size_t>(v)].SeatBit = static_cast<uint8_t>(1 << ((own - v + 4) & 3));
        c.game.Players[static_cast<std::size_t>(v)].Name = kNames[v];
    }
    c.game.ScaleX = c.game.ScaleY = take(1) ? 1.0f : 0.78125f;
    core::ClearTableTiles(c);
    core::ResetTableDisplay(c);
    core::ResetPlayerState(c);

    table::TableState& t = c.table;
    t.WallHead = static_cast<int16_t>(2 * in.ConsumeIntegralInRange<int>(0, 67));
    t.WallTail = static_cast<int16_t>((t.WallHead + 134) % 136);
    if (take(1)) {
        t.PiZiTile = static_cast<int16_t>(in.PickValueInArray(kTiles) & 0xFF);
        t.PiZiImage = t.WallHead;
        t.WallHead = static_cast<int16_t>((t.WallHead + 1) % 136);
        t.WildTile = static_cast<int16_t>(in.PickValueInArray(kTiles));
    }
    c.game.Players[static_cast<std::size_t>(take(2))].BankerMark = -1;
    c.game.InputEnabled = take(3) == 0 ? 0 : -1;
    c.game.WatchMode = take(4) == 0;
    const bool plugin = take(2) == 0;
    const bool failedPlugin = take(3) == 0;
    if (plugin) {
        c.rewards.PropPluginState = 1;
        c.rewards.PropPlugin = failedPlugin ? nullptr : std::make_shared<QuietPlugin>();
    }
    c.window.Sound.SoundOn = static_cast<int16_t>(take(1) ? -1 : 0);
}

// A click of the local player: a tile, a button, a choice picture, as
// `what` (0-3) says.
void Click(Client& c, FuzzedDataProvider& in, int what)
{
    const table::PlayerRecord& p = c.game.Players[0];
    switch (what) {
    case 0: {
        int image = in.ConsumeIntegralInRange<int>(0, 135);
        const int slot = p.HandFirst + in.ConsumeIntegralInRange<int>(0, 13);
        if (in.ConsumeBool() && slot >= 0 && slot < 18)
            image = p.Slots[static_cast<std::size_t>(slot)].Image;
        if (image >= 0 && image < 136)
            c.MainForm->MJ_Image[image].MouseDown(in.ConsumeIntegralInRange<int16_t>(1, 2), 0, 0, 0);
        break;
    }
    case 1:
        c.MainForm->Operation[in.ConsumeIntegralInRange<int>(0, 4)].Click();
        break;
    case 2:
        c.MainForm->Chi[in.ConsumeIntegralInRange<int>(0, 5)].Click();
        break;
    default:
        c.MainForm->Gang[in.ConsumeIntegralInRange<int>(0, 4)].Click();
        break;
    }
}

void Report() { std::fprintf(stderr, "frames dispatched: %llu\n", framesDispatched); }

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    // Kept for the whole run and never destroyed: Qt's teardown at exit is
    // not under test.
    new QApplication(*argc, *argv);
    harness = new Harness;
    windowWatch = new WindowWatch;
    windowWatch->NoteStart();
    qApp->installEventFilter(windowWatch);
    ClearClient(harness->client);
    if (const char* wanted = std::getenv("MJ_FUZZ_FRAMES"))
        framesWanted = std::strtoull(wanted, nullptr, 10);
    std::atexit(Report);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    Client& c = harness->client;
    SetUpTable(c, in);
    while (in.remaining_bytes() > 0) {
        // One byte: what happens, and the kind of frame or click.
        const int head = in.ConsumeIntegral<uint8_t>();
        const int event = head & 15;
        if (event < 12) {
            const protocol::GameFrame frame = MakeFrame(in, head >> 4);
            c.core.RecvRing.Append(frame.data(), protocol::kFrameSize);
            if (event == 0) {
                // Now and then through the scheduler's own receive task.
                c.core.SchedReceive.Start();
                for (int i = 0; i < 3 && c.core.RecvRing.HasFrame(); ++i)
                    core::TimerBong_Timer(c);
            } else {
                core::ReadMsg(c);
                dispatch::DispatchServerMsg(c, c.core.CurMsg);
            }
            ++framesDispatched;
        } else {
            Click(c, in, (head >> 4) & 3);
        }
        // What the client queued is not sent anywhere.
        c.core.SendRing.Read = c.core.SendRing.Write;
    }
    ClearClient(c);
    if (framesWanted > 0 && framesDispatched >= framesWanted) {
        // A plain exit would count as the target's own failure.
        Report();
        std::fflush(stderr);
        std::_Exit(0);
    }
    return 0;
}
