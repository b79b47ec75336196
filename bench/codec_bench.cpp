// Frames through the codec and the rings, on one core.
#include "app/client.h"
#include "core/messages.h"
#include "core/rings.h"
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
#include "protocol/kinds.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstring>

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
    void endNow(int) override {}
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

// SendMsg encodes into the send ring; the send task's side takes the frame
// back out as the bytes it would write to the socket.
void BM_EncodeQueueAndTake(benchmark::State& state)
{
    BenchClient b;
    protocol::GameCmd cmd;
    cmd.Kind = protocol::CmdOperation;
    cmd.Seat = 2;
    cmd.Data = {8, 0x1234, 3, -1};
    protocol::GameFrame out{};
    core::FrameRing& ring = b.client.core.SendRing;
    for (auto _ : state) {
        core::SendMsg(b.client, cmd);
        std::memcpy(out.data(), ring.FrontFrame(), protocol::kFrameSize);
        ring.PopFrame();
        benchmark::DoNotOptimize(out);
        ++cmd.Data[2];
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * protocol::kFrameSize);
}
BENCHMARK(BM_EncodeQueueAndTake);

// Bytes arrive in bursts of 64 frames; ReadMsg takes them one by one.
void BM_ArriveAndReadMsg(benchmark::State& state)
{
    BenchClient b;
    constexpr int kBurst = 64;
    QByteArray burst;
    for (int i = 0; i < kBurst; ++i) {
        protocol::GameFrame f{};
        f[protocol::frame_byte::Kind] = static_cast<uint8_t>(i % 2 ? protocol::MsgDraw : protocol::MsgSettlement);
        f[protocol::frame_byte::Seat] = 4;
        f[9] = static_cast<uint8_t>(i);
        burst.append(reinterpret_cast<const char*>(f.data()), protocol::kFrameSize);
    }
    core::FrameRing& ring = b.client.core.RecvRing;
    for (auto _ : state) {
        ring.Append(reinterpret_cast<const uint8_t*>(burst.constData()), burst.size());
        while (ring.HasFrame()) {
            core::ReadMsg(b.client);
            benchmark::DoNotOptimize(b.client.core.CurMsg);
        }
    }
    state.SetItemsProcessed(state.iterations() * kBurst);
}
BENCHMARK(BM_ArriveAndReadMsg);

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
