// A small stand-in lobby: owns one or more window titles on the lobby link,
// starts the table client with a command line, prints every message the
// client sends and sends the client the lobby's messages typed on stdin.
//
//   lobby [--title T]... [--client PATH] [--screen WxH] -- COMMANDLINE
//
// Printed lines (one per event, flushed at once):
//   listening <title>                 a title is owned
//   started <pid>                     the client runs
//   message 0x303 <title>             the client posted a message
//   syscommand restore|minimize <title>
//   closing the client                the client left its table (0x400 that
//                                     answers no question of the lobby): the
//                                     lobby closes its window (0x10), as a
//                                     lobby with no other table for it does
//   exited <code>                     the client ended; the lobby ends too
// Lines read from stdin:
//   send 0x16 | send 0x303 | send 0x400 | send 0x465
//   quit                              (end of input just stops reading)
#include "platform/local_lobby_link.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QSocketNotifier>
#include <QTextStream>
#include <QTimer>
#include <QtEndian>
#include <cstdio>
#include <functional>
#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

void Say(const QString& line)
{
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

QString Hex(uint32_t v) { return QStringLiteral("0x%1").arg(v, 0, 16); }

struct Link {
    QLocalSocket* socket;
    QString title;
    QByteArray pending;
};

class Lobby : public QObject {
public:
    // Runs after the lobby asked the client's window to close.
    std::function<void()> ClientClosing;

    bool Listen(const QString& title)
    {
        const QString path = platform::LocalLobbyLink::LobbySocketPath(title);
        QLocalServer::removeServer(path);
        auto* server = new QLocalServer(this);
        server->setSocketOptions(QLocalServer::UserAccessOption);
        if (!server->listen(path)) {
            Say(QStringLiteral("error cannot listen for %1: %2").arg(title, server->errorString()));
            return false;
        }
        connect(server, &QLocalServer::newConnection, this, [this, server, title] {
            while (QLocalSocket* s = server->nextPendingConnection()) {
                links_.push_back({s, title, {}});
                connect(s, &QLocalSocket::readyRead, this, [this, s] { Read(s); });
                connect(s, &QLocalSocket::disconnected, this, [this, s] {
                    std::erase_if(links_, [s](const Link& l) { return l.socket == s; });
                    s->deleteLater();
                });
            }
        });
        Say(QStringLiteral("listening %1").arg(title));
        return true;
    }

    // Sends a message to the table window over every open link.
    void Send(uint32_t message)
    {
        char rec[12] = {};
        qToLittleEndian<quint32>(message, rec);
        for (Link& l : links_) {
            l.socket->write(rec, sizeof rec);
            l.socket->flush();
        }
        // The client answers "is a hand played?" with 0x465 or 0x400.
        if (message == kInGame)
            inGameAsked_ = true;
        Say(QStringLiteral("sent %1 to %2 link(s)").arg(Hex(message)).arg(links_.size()));
    }

private:
    void Read(QLocalSocket* s)
    {
        auto it = std::find_if(links_.begin(), links_.end(), [s](const Link& l) { return l.socket == s; });
        if (it == links_.end())
            return;
        it->pending += s->readAll();
        while (it->pending.size() >= 12) {
            const char* p = it->pending.constData();
            const uint32_t msg = qFromLittleEndian<quint32>(p);
            const uint32_t w = qFromLittleEndian<quint32>(p + 4);
            it->pending.remove(0, 12);
            if (msg == platform::LobbyLink::kSysCommand)
                Say(QStringLiteral("syscommand %1 %2")
                        .arg(w == platform::LobbyLink::kScRestore    ? QStringLiteral("restore")
                             : w == platform::LobbyLink::kScMinimize ? QStringLiteral("minimize")
                                                                     : Hex(w),
                             it->title));
            else
                Say(QStringLiteral("message %1 %2").arg(Hex(msg), it->title));
            if (msg == kInGame || msg == kIdle) {
                const bool answer = inGameAsked_;
                inGameAsked_ = false;
                if (msg == kIdle && !answer)
                    CloseClient(s);
            }
        }
    }

    // The client sits at no table and this lobby has none to send it to:
    // its window is closed, which ends it.
    void CloseClient(QLocalSocket* s)
    {
        char rec[12] = {};
        qToLittleEndian<quint32>(platform::LobbyLink::kClose, rec);
        s->write(rec, sizeof rec);
        s->flush();
        Say(QStringLiteral("closing the client"));
        if (ClientClosing)
            ClientClosing();
    }

    static constexpr uint32_t kIdle = 0x400;
    static constexpr uint32_t kInGame = 0x465;
    bool inGameAsked_ = false;
    std::vector<Link> links_;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    QStringList titles;
    QString client = QCoreApplication::applicationDirPath() + QStringLiteral("/../../src/mjclient");
    QString screen;
    QString commandLine;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--title") && i + 1 < args.size())
            titles << args[++i];
        else if (a == QLatin1String("--client") && i + 1 < args.size())
            client = args[++i];
        else if (a == QLatin1String("--screen") && i + 1 < args.size())
            screen = args[++i];
        else if (a == QLatin1String("--")) {
            commandLine = args.mid(i + 1).join(QLatin1Char(' '));
            break;
        } else {
            Say(QStringLiteral("usage: lobby [--title T]... [--client PATH] [--screen WxH] -- COMMANDLINE"));
            return 2;
        }
    }
    if (titles.isEmpty())
        titles << QStringLiteral("Olvenhall");

    Lobby lobby;
    for (const QString& t : titles)
        if (!lobby.Listen(t))
            return 1;

    QProcess proc;
    proc.setProcessChannelMode(QProcess::ForwardedChannels);
    // The client goes with the lobby that started it, however the lobby ends.
    proc.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    if (!screen.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("MJCLIENT_SCREEN"), screen);
        proc.setProcessEnvironment(env);
    }
    QObject::connect(&proc, &QProcess::finished, &app, [&](int code, QProcess::ExitStatus) {
        Say(QStringLiteral("exited %1").arg(code));
        app.exit(code);
    });
    QObject::connect(&proc, &QProcess::errorOccurred, &app, [&](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart) {
            Say(QStringLiteral("error cannot start %1").arg(client));
            app.exit(1);
        }
    });
    proc.start(client, commandLine.isEmpty() ? QStringList() : QStringList{commandLine});
    if (proc.waitForStarted(5000))
        Say(QStringLiteral("started %1").arg(proc.processId()));

    // A client that does not close within a few seconds is ended.
    lobby.ClientClosing = [&proc] {
        QTimer::singleShot(5000, &proc, [&proc] {
            if (proc.state() != QProcess::NotRunning)
                proc.terminate();
        });
    };

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QTextStream in(stdin);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        const QString line = in.readLine();
        if (line.isNull()) {
            input.setEnabled(false); // no more commands; the client runs on
            return;
        }
        if (line.trimmed() == QLatin1String("quit")) {
            input.setEnabled(false);
            proc.terminate();
            if (!proc.waitForFinished(3000))
                proc.kill();
            return;
        }
        const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        bool ok = false;
        if (words.size() == 2 && words[0] == QLatin1String("send")) {
            const uint32_t msg = words[1].toUInt(&ok, 0);
            if (ok)
                lobby.Send(msg);
        }
        if (!ok)
            Say(QStringLiteral("error unknown command: %1").arg(line));
    });
    return QCoreApplication::exec();
}
