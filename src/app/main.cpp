#include "app/client.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/local_lobby_link.h"
#include "platform/process.h"
#include "platform/sound_device.h"
#include "platform/tcp_link.h"

#include <QApplication>
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
    std::unique_ptr<platform::SoundDevice> sound = platform::CreateSoundDevice();
    Client client({clock, process, dialogs, tcp, lobby, *sound});

    // Start-up proper comes with the table window; until then the client
    // refuses to run without a lobby's command line.
    const QStringList args = QApplication::arguments().mid(1);
    if (args.join(QLatin1Char(' ')).trimmed().isEmpty()) {
        client.plat.dialogs.MsgBox(QStringLiteral("本游戏需从游戏大厅中启动！"));
        return 0;
    }
    return 0;
}
