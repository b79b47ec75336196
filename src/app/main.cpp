#include "app/client.h"
#include "core/startup.h"
#include "platform/clock.h"
#include "platform/data_folder.h"
#include "platform/dialogs.h"
#include "platform/http_get.h"
#include "platform/instance_lock.h"
#include "platform/local_lobby_link.h"
#include "platform/process.h"
#include "platform/prop_plugin_loader.h"
#include "platform/shell.h"
#include "platform/sound_device.h"
#include "platform/tcp_link.h"
#include "platform/udp_link.h"
#include "platform/web_panel_module.h"
#include "window/main_form.h"

#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>

namespace {

// Shut until the table window has been painted once: the sound module's
// loader waits for it, so that loading the audio libraries and opening the
// output do not hold up building and painting the table. Opened at the
// latest when main ends.
class PaintGate {
public:
    void Open()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        open_ = true;
        opened_.notify_all();
    }
    void Wait(std::chrono::milliseconds atMost)
    {
        std::unique_lock<std::mutex> lock(mutex_);
        opened_.wait_for(lock, atMost, [this] { return open_; });
    }

private:
    std::mutex mutex_;
    std::condition_variable opened_;
    bool open_ = false;
};

// Opens the gate at the window's first paint. For start-up measurements
// (bench/startup): with MJCLIENT_EXIT_AFTER_FIRST_PAINT set, the program also
// prints "first paint" and ends right after that paint.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(std::shared_ptr<PaintGate> gate)
        : gate_(std::move(gate)), exitAfter_(qEnvironmentVariableIsSet("MJCLIENT_EXIT_AFTER_FIRST_PAINT"))
    {
    }
    ~FirstPaint() override { gate_->Open(); }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !painted_) {
            painted_ = true;
            // After the whole window has been painted.
            QTimer::singleShot(0, [this] {
                gate_->Open();
                if (exitAfter_) {
                    std::fputs("first paint\n", stdout);
                    std::fflush(stdout);
                    QCoreApplication::exit(0);
                }
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::shared_ptr<PaintGate> gate_;
    bool exitAfter_;
    bool painted_ = false;
};

} // namespace

int main(int argc, char** argv)
{
    // The browser engine, loaded later by the first web panel that gets a
    // page, shares its OpenGL contexts; that must be set before the
    // application exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    // The sound module loads on a worker thread once the table has been
    // painted (a window that never paints holds it back for two seconds).
    auto gate = std::make_shared<PaintGate>();
    std::unique_ptr<platform::SoundDevice> sound = platform::CreateSoundDevice(
        QApplication::applicationDirPath(), [gate] { gate->Wait(std::chrono::seconds(2)); });
    QApplication::setApplicationName(QStringLiteral("mjclient"));

    platform::SystemClock clock;
    platform::SystemProcess process;
    platform::WidgetDialogs dialogs;
    platform::QtTcpLink tcp;
    platform::LocalLobbyLink lobby;
    platform::InstanceLock instance;
    platform::ModuleWebPanels web(platform::WebEngineModulePath(QApplication::applicationDirPath()));
    platform::DesktopShell shell;
    platform::QtUdpLink udp;
    platform::LibraryPropPluginLoader plugins;
    platform::QtHttpGet http;
    Client client({clock, process, dialogs, tcp, lobby, instance, *sound, web, shell, udp, plugins, &http});
    client.core.AppPath = QApplication::applicationDirPath();
    client.core.DataPath = platform::DataFolder();

    // The lobby passes one command line; its arguments are joined back. The
    // bytes are kept as passed (after Qt took its own options) so that start-up
    // can refuse a field that is not valid text instead of reading "?" for it.
    QByteArray commandLine;
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            commandLine += ' ';
        commandLine += argv[i];
    }
    // The screen the table is fitted to; MJCLIENT_SCREEN=WxH overrides it
    // (virtual displays report sizes no player has).
    QSize screen = QApplication::primaryScreen() ? QApplication::primaryScreen()->size() : QSize(1024, 768);
    const QStringList forced = qEnvironmentVariable("MJCLIENT_SCREEN").split(QLatin1Char('x'));
    if (forced.size() == 2 && forced[0].toInt() > 0 && forced[1].toInt() > 0)
        screen = QSize(forced[0].toInt(), forced[1].toInt());
    FirstPaint firstPaint(gate);
    client.MainForm->installEventFilter(&firstPaint);
    if (!core::Form_Load(client, commandLine, screen))
        return core::kStartupFailedExit;
    return QApplication::exec();
}
