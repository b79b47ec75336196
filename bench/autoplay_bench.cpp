// One whole automatic decision of a hosted player, on one core.
#include "app/client.h"
#include "autoplay/autoplay.h"
#include "core/rings.h"
#include "core/table_reset.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/instance_lock.h"
#include "platform/lobby_link.h"
#include "platform/process.h"
#include "platform/prop_plugin_loader.h"
#include "platform/shell.h"
#include "platform/sound_device.h"
#include "platform/tcp_link.h"
#include "platform/udp_link.h"
#include "platform/web_panel.h"
#include "table/tiles.h"
#include "window/main_form.h"
#include "window/pictures.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <array>

namespace {

struct NullTcp : platform::TcpLink {
    int State() const override { return Connected; }
    void Connect(const QString&, int) override {}
    void Close() override {}
    void SendData(const QByteArray&) override {}
    QByteArray GetData() override { return {}; }
    qint64 BytesAvailable() const override { return 0; }
    QByteArray Read(qint64) override { return {}; }
};
struct NullLobby : platform::LobbyLink {
    bool FindWindow(const QString&) override { return true; }
    bool SendSysCommand(const QString&, uint32_t) override { return true; }
    bool PostMessage(const QString&, uint32_t) override { return true; }
    void SetMessageHandler(Handler) override {}
};
struct NullDialogs : platform::Dialogs {
    void MsgBox(const QString&, const QString&, Icon) override {}
};
struct NullProcess : platform::Process {
    void endNow(int) override { ended = true; }
    bool ended = false;
};
struct NullWebPanel : platform::WebPanel {
    using WebPanel::WebPanel;
    QString LocationURL() const override { return {}; }
    void Load(const QUrl&) override {}
};
struct NullWebPanels : platform::WebPanels {
    platform::WebPanel* Create(QWidget* parent, const QString& name) override { return new NullWebPanel(parent, name); }
};
struct NullShell : platform::Shell {
    bool OpenUrl(const QUrl&) override { return false; }
};
struct NullUdp : platform::UdpLink {
    bool Bind(int) override { return true; }
    int LocalPort() const override { return 0; }
    void Close() override {}
    QByteArray GetData() override { return {}; }
    bool IsBound() const override { return true; }
    void SetRemote(const QString&, int) override {}
    bool SendData(const QByteArray&) override { return false; }
    bool FromRemote() const override { return false; }
    bool ProbePortInUse(int) override { return false; }
};
struct NoPlugins : platform::PropPluginLoader {
    bool Exists(const QString&) override { return false; }
    std::unique_ptr<platform::PropPlugin> Create(const QString&) override { return nullptr; }
};

struct BenchClient {
    platform::SystemClock clock;
    NullProcess process;
    NullDialogs dialogs;
    NullTcp tcp;
    NullLobby lobby;
    platform::InstanceLock instance{QStringLiteral("mjclient-bench")};
    platform::SilentSoundDevice sound;
    NullWebPanels web;
    NullShell shell;
    NullUdp udp;
    NoPlugins plugins;
    Client client{{clock, process, dialogs, tcp, lobby, instance, sound, web, shell, udp, plugins}};
};

// A hosted player's turn with 14 tiles, a pong, a chow and a concealed kong
// on offer: every claim is judged (and refused), then the pass and the
// discard of the least useful of the 14 tiles go out.
void BM_AutoPlayStep(benchmark::State& state)
{
    BenchClient b;
    Client& c = b.client;
    window::InitPicIds(c);
    c.game.Players[0].SeatBit = 1;
    core::ClearTableTiles(c);
    core::ResetTableDisplay(c);
    core::ResetPlayerState(c);
    c.game.InputEnabled = -1;
    c.game.AutoPlay = -1;
    c.game.TurnPhase = 3;
    c.table.WildTile = 0x49;

    // Sorted as the table keeps it: dots, characters, bamboo, honours.
    const std::array<int16_t, 14> hand{0x81, 0x82, 0x87, 0x89, 0x43, 0x45, 0x45,
                                       0x22, 0x23, 0x23, 0x24, 0x26, 0x28, 0x11};
    table::PlayerRecord& p = c.game.Players[0];
    for (std::size_t i = 0; i < hand.size(); ++i) {
        p.Slots[static_cast<std::size_t>(p.HandFirst) + i] = {1, hand[i], static_cast<int16_t>(i)};
        table::ShowTileImage(c.Table(), static_cast<int>(i), table::TilePicIndex(table::kLargeFaceGroup, hand[i]));
    }
    p.HandCount = static_cast<int16_t>(hand.size());
    c.table.LastDrawnImage = 13;
    c.table.LastDiscardTile = 0x23;
    c.game.AllowedOps = 32;

    int queued = 0;
    for (auto _ : state) {
        c.game.OfferedOps = {2, 2, 2, 0, 2};
        c.game.OpSent = 0;
        c.table.DiscardDue = -1;
        autoplay::AutoPlayStep(c);
        benchmark::DoNotOptimize(c.table.LastDiscardImage);
        // Two frames a decision; the send ring holds 511.
        if (++queued == 200) {
            core::ResetRings(c);
            queued = 0;
        }
    }
    if (b.process.ended || c.game.OpSent != -1)
        state.SkipWithError("the decision failed");
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AutoPlayStep);

} // namespace

int main(int argc, char** argv)
{
    // The client owns its windows, so Qt needs an application object.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
