#include "app/client.h"
#include "core/startup.h"
#include "platform/clock.h"
#include "platform/data_folder.h"
#include "platform/dialogs.h"
#include "platform/instance_lock.h"
#include "platform/local_lobby_link.h"
#include "platform/process.h"
#include "platform/prop_plugin_loader.h"
#include "platform/shell.h"
#include "platform/sound_device.h"
#include "platform/tcp_link.h"
#include "platform/udp_link.h"
#include "platform/webengine/web_engine_panel.h"

#include <QApplication>
#include <QScreen>
#include <memory>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("mjclient"));

    platform::SystemClock clock;
    platform::SystemProcess process;
    platform::WidgetDialogs dialogs;
    platform::QtTcpLink tcp;
    platform::LocalLobbyLink lobby;
    platform::InstanceLock instance;
    std::unique_ptr<platform::SoundDevice> sound = platform::CreateSoundDevice();
    platform::EngineWebPanels web;
    platform::DesktopShell shell;
    platform::QtUdpLink udp;
    platform::LibraryPropPluginLoader plugins;
    Client client({clock, process, dialogs, tcp, lobby, instance, *sound, web, shell, udp, plugins});
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
    if (!core::Form_Load(client, commandLine, screen))
        return core::kStartupFailedExit;
    return QApplication::exec();
}
