// The server over real sockets on 127.0.0.1: a scripted client logs in,
// follows the seating and plays one hand against three robots to its
// settlement; broken clients are dropped without harm to the others.
#include "helpers.h"
#include "server.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHostAddress>
#include <QProcess>
#include <QTemporaryDir>
#include <QTcpSocket>
#include <gtest/gtest.h>

using namespace tableserver;
using ts_test::SeatPlayer;

namespace {

template <typename Pred>
bool WaitFor(Pred pred, int ms = 10000)
{
    QElapsedTimer t;
    t.start();
    while (!pred()) {
        if (t.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// A client on a real socket that plays like SeatPlayer.
class ScriptedClient {
public:
    explicit ScriptedClient(quint16 port, std::string name = "alice") : name_(std::move(name))
    {
        socket_.connectToHost(QHostAddress::LocalHost, port);
        QObject::connect(&socket_, &QTcpSocket::readyRead, [this] { Read(); });
    }
    bool Connected() { return WaitFor([this] { return socket_.state() == QAbstractSocket::ConnectedState; }, 5000); }
    void Send(const protocol::GameFrame& f) { socket_.write(reinterpret_cast<const char*>(f.data()), protocol::kFrameSize); }
    void SendRaw(const QByteArray& bytes) { socket_.write(bytes); }
    void Login() { Send(ts_test::LoginFrame(name_)); }
    int Count(int k) const
    {
        const auto kinds = player.Kinds();
        return static_cast<int>(std::count(kinds.begin(), kinds.end(), k));
    }
    bool Closed() const { return socket_.state() == QAbstractSocket::UnconnectedState; }
    void Abort() { socket_.abort(); }

    SeatPlayer player;
    bool answer = true;

private:
    void Read()
    {
        buffer_.append(socket_.readAll());
        while (buffer_.size() >= protocol::kFrameSize) {
            protocol::GameFrame f{};
            std::memcpy(f.data(), buffer_.constData(), protocol::kFrameSize);
            buffer_.remove(0, protocol::kFrameSize);
            // The seat is the one whose seat-name frame carries our name.
            if (ts_test::Kind(f) == protocol::MsgSeatName && proto::LoginName(f) == name_)
                player.seat = __builtin_ctz(static_cast<unsigned>(ts_test::SeatOf(f)));
            const auto replies = player.Receive({Outgoing{player.seat, f, 0}});
            if (answer)
                for (const auto& r : replies)
                    Send(r);
        }
    }

    std::string name_;
    QTcpSocket socket_;
    QByteArray buffer_;
};

ServerOptions Options(int hands = 1, int robotWaitMs = 0)
{
    ServerOptions o;
    o.port = 0;
    o.trace = true;
    o.table.seed = 2024;
    o.table.hands = hands;
    o.table.robotWaitMs = robotWaitMs;
    o.table.robotDelayMs = 0;
    return o;
}

struct Traced {
    explicit Traced(const ServerOptions& o) : server(o)
    {
        server.SetTraceSink([this](const QString& line) { lines << line; });
        EXPECT_TRUE(server.Listen());
    }
    int Lines(const QString& prefix) const
    {
        int n = 0;
        for (const QString& l : lines)
            n += l.startsWith(prefix);
        return n;
    }
    TableServer server;
    QStringList lines;
};

} // namespace

TEST(Loopback, SeatingThenOneHandToTheSettlement)
{
    Traced t(Options());
    int finished = 0;
    QObject::connect(&t.server, &TableServer::finished, [&] { ++finished; });
    ScriptedClient c(t.server.Port());
    ASSERT_TRUE(c.Connected());
    c.Login();
    ASSERT_TRUE(WaitFor([&] { return c.Count(protocol::MsgSettlement) == 16; })) << c.player.Kinds().size();

    const auto kinds = c.player.Kinds();
    const std::vector<int> seating{18, 3, 3, 3, 3, 20, 20, 20, 20, 16, 4, 1, 5, 5, 5, 5, 5, 14};
    ASSERT_GT(kinds.size(), seating.size());
    EXPECT_EQ(std::vector<int>(kinds.begin(), kinds.begin() + static_cast<long>(seating.size())), seating);
    EXPECT_EQ(c.player.seat, 0);
    EXPECT_EQ(c.Count(protocol::MsgSeatResult), 4);
    // The results come after the hands are turned up, and the settlement
    // frames right after the four results.
    const auto firstResult = std::find(kinds.begin(), kinds.end(), protocol::MsgSeatResult) - kinds.begin();
    ASSERT_LT(firstResult + 20, static_cast<long>(kinds.size()) + 1);
    EXPECT_EQ(kinds[static_cast<std::size_t>(firstResult - 1)], protocol::MsgWallReveal);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(kinds[static_cast<std::size_t>(firstResult + i)], protocol::MsgSeatResult);
    for (int i = 4; i < 20; ++i)
        EXPECT_EQ(kinds[static_cast<std::size_t>(firstResult + i)], protocol::MsgSettlement);

    // The game of one hand ends: the game-over status, then the server is done.
    ASSERT_TRUE(WaitFor([&] { return finished == 1; }));
    EXPECT_EQ(c.player.Kinds().back(), protocol::MsgTableStatus);

    // One trace line per frame each way.
    EXPECT_EQ(t.Lines(QStringLiteral("OUT seat=0 ")), static_cast<int>(c.player.received.size()));
    EXPECT_GE(t.Lines(QStringLiteral("IN seat=0 kind=2 ")), 1);
    EXPECT_EQ(t.Lines(QStringLiteral("IN seat=- kind=18 ")), 1);
    EXPECT_TRUE(t.lines.filter(QStringLiteral("OUT seat=0 kind=6 ")).first().contains(QStringLiteral("prompt bit=1")));
}

TEST(Loopback, ClaimPromptsAreAnsweredOverTheSocket)
{
    // A player that takes pongs and wins: whatever it claims goes through
    // and the hand still settles.
    Traced t(Options(2));
    ScriptedClient c(t.server.Port());
    c.player.claimOps = protocol::OpPong | protocol::OpWin;
    ASSERT_TRUE(c.Connected());
    c.Login();
    ASSERT_TRUE(WaitFor([&] { return c.Count(protocol::MsgSettlement) == 32; }));
    EXPECT_EQ(t.Lines(QStringLiteral("NOTE seat=0 refused")), 0);
}

TEST(Loopback, MalformedFramesDropOnlyTheirClient)
{
    Traced t(Options(0, 60000)); // no robots yet: the table keeps waiting
    ScriptedClient good(t.server.Port(), "good");
    ASSERT_TRUE(good.Connected());
    good.Login();
    ASSERT_TRUE(WaitFor([&] { return good.Count(protocol::MsgLoginReply) == 1; }));

    // A broken header.
    ScriptedClient broken(t.server.Port(), "broken");
    ASSERT_TRUE(broken.Connected());
    auto bad = ts_test::LoginFrame("broken");
    bad[0] = 0xFF;
    broken.Send(bad);
    EXPECT_TRUE(WaitFor([&] { return broken.Closed(); }));

    // A first frame that is no login.
    ScriptedClient stranger(t.server.Port(), "stranger");
    ASSERT_TRUE(stranger.Connected());
    stranger.Send(ts_test::ClientFrame(protocol::CmdKeepAlive, 0, 0, {}, 0));
    EXPECT_TRUE(WaitFor([&] { return stranger.Closed(); }));

    // Half a frame, then gone.
    {
        ScriptedClient shortOne(t.server.Port(), "short");
        ASSERT_TRUE(shortOne.Connected());
        shortOne.SendRaw(QByteArray(100, '\x01'));
        WaitFor([] { return false; }, 100);
        shortOne.Abort();
    }
    // Garbage of every kind from a logged-in client is refused or ignored.
    for (int k = 0; k < 256; ++k) {
        auto junk = ts_test::ClientFrame(k, 1, 77, {0xFFFF, 0x4FFF, 0x2000, 0xFFFF}, good.player.token);
        for (int i = 16; i < 272; ++i)
            junk[static_cast<std::size_t>(i)] = static_cast<uint8_t>(i * 7 + k);
        proto::SetToken(junk, good.player.token);
        if (k == protocol::MsgTableStatus)
            junk[15] = 1; // a ready frame, not a leave
        good.Send(junk);
    }
    WaitFor([] { return false; }, 200);
    EXPECT_FALSE(good.Closed());
    EXPECT_TRUE(t.server.GetTable().Connected(0));

    // The server still takes a new player.
    ScriptedClient late(t.server.Port(), "late");
    ASSERT_TRUE(late.Connected());
    late.Login();
    ASSERT_TRUE(WaitFor([&] { return late.Count(protocol::MsgLoginReply) == 1; }));
    EXPECT_EQ(ts_test::DataLow(late.player.received[0], 3), protocol::LoginAccepted);
    EXPECT_EQ(t.server.GetTable().SeatControl(1), Control::Human);

    // A seated client that sends a broken frame is dropped and its seat
    // counts as lost.
    auto seatedBad = ts_test::ClientFrame(protocol::CmdKeepAlive, 1, 0, {}, good.player.token);
    seatedBad[2] = 1;
    good.Send(seatedBad);
    EXPECT_TRUE(WaitFor([&] { return good.Closed(); }));
    EXPECT_EQ(t.server.GetTable().SeatControl(0), Control::Empty); // before the start the seat is freed
    EXPECT_GE(t.Lines(QStringLiteral("NOTE seat=- dropped: malformed frame header")), 1);
}

TEST(Loopback, LeaveClosesTheConnectionAndFreesTheTable)
{
    ServerOptions o = Options(0);
    o.table.robotDelayMs = 1000;
    Traced t(o);
    ScriptedClient c(t.server.Port());
    c.answer = false;
    ASSERT_TRUE(c.Connected());
    c.Login();
    ASSERT_TRUE(WaitFor([&] { return c.Count(protocol::MsgTurnPrompt) >= 1; }));
    c.Send(ts_test::ClientFrame(protocol::CmdLeaveTable, 1, 0, {0, 0, 0, 0}, 0)); // no echo token in a leave
    ASSERT_TRUE(WaitFor([&] { return c.Closed(); }));
    EXPECT_EQ(t.server.GetTable().CurrentPhase(), Phase::Waiting);
    ScriptedClient next(t.server.Port(), "bob");
    ASSERT_TRUE(next.Connected());
    next.Login();
    ASSERT_TRUE(WaitFor([&] { return next.Count(protocol::MsgSeatName) == 4; }));
    EXPECT_EQ(next.player.seat, 0);
}

TEST(Loopback, ReconnectWithTheIdOfTheGameStart)
{
    ServerOptions o = Options(0);
    o.table.robotDelayMs = 50;
    Traced t(o);
    auto first = std::make_unique<ScriptedClient>(t.server.Port());
    first->answer = false; // keeps its first prompt open
    ASSERT_TRUE(first->Connected());
    first->Login();
    ASSERT_TRUE(WaitFor([&] { return first->Count(protocol::MsgTurnPrompt) >= 1; }));
    uint32_t id = 0;
    for (const auto& f : first->player.received)
        if (ts_test::Kind(f) == protocol::MsgTableStatus)
            id = proto::ReconnectIdOf(f);
    ASSERT_NE(id, 0u);
    const uint16_t token = first->player.token;
    first->Abort();
    ASSERT_TRUE(WaitFor([&] { return !t.server.GetTable().Connected(0); }));

    ScriptedClient wrong(t.server.Port());
    ASSERT_TRUE(wrong.Connected());
    auto bad = ts_test::LoginFrame("alice", protocol::CmdReconnect);
    proto::PutLittle(bad, 268, id ^ 1, 4);
    wrong.Send(bad);
    ASSERT_TRUE(WaitFor([&] { return wrong.Count(protocol::MsgReconnectReply) == 1; }));
    EXPECT_EQ(ts_test::DataLow(wrong.player.received[0], 3), 0);
    EXPECT_TRUE(WaitFor([&] { return wrong.Closed(); }));

    // The client comes back with the table it had: its prompt is still open.
    ScriptedClient back(t.server.Port());
    ASSERT_TRUE(back.Connected());
    back.player = first->player;
    back.player.received.clear();
    auto again = ts_test::LoginFrame("alice", protocol::CmdReconnect);
    proto::PutLittle(again, 268, id, 4);
    proto::SetToken(again, token);
    back.Send(again);
    ASSERT_TRUE(WaitFor([&] { return back.Count(protocol::MsgReconnectReply) == 1; }));
    EXPECT_EQ(ts_test::DataLow(back.player.received[0], 3), 1);
    EXPECT_TRUE(t.server.GetTable().Connected(0));
    // Its answer to the open prompt is taken, and the game goes on.
    const SeatPlayer& p = back.player;
    back.Send(ts_test::ClientFrame(protocol::CmdOperation, 1, p.stamp, {protocol::OpPass, 0, 0, 0}, p.token));
    back.Send(ts_test::ClientFrame(protocol::CmdDiscard, 1, p.stamp, {0, 1, 0, 0x4000 | p.hand.front()}, p.token));
    ASSERT_TRUE(WaitFor([&] { return back.Count(protocol::MsgDiscard) >= 1; }));
    EXPECT_EQ(t.Lines(QStringLiteral("NOTE seat=0 refused")), 0);
}

TEST(Program, OptionsTraceAndEnd)
{
    const QString program = QStringLiteral(TABLESERVER_PROGRAM);
    if (!QFileInfo::exists(program))
        GTEST_SKIP() << "the tableserver program is not built";
    QProcess p;
    p.start(program, {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--seed"), QStringLiteral("5"),
                      QStringLiteral("--hands"), QStringLiteral("1"), QStringLiteral("--robot-wait"),
                      QStringLiteral("0"), QStringLiteral("--robot-delay"), QStringLiteral("0"),
                      QStringLiteral("--trace")});
    ASSERT_TRUE(p.waitForStarted(5000));
    QByteArray out;
    ASSERT_TRUE(WaitFor([&] {
        out += p.readAllStandardOutput();
        return out.contains('\n');
    }));
    const QByteArray first = out.left(out.indexOf('\n'));
    ASSERT_TRUE(first.startsWith("tableserver listening on 127.0.0.1:")) << first.constData();
    const quint16 port = static_cast<quint16>(first.mid(first.lastIndexOf(':') + 1).split(' ').first().toUInt());
    ASSERT_NE(port, 0);
    ScriptedClient c(port);
    ASSERT_TRUE(c.Connected());
    c.Login();
    ASSERT_TRUE(WaitFor([&] { return p.state() == QProcess::NotRunning; }, 20000));
    EXPECT_EQ(p.exitCode(), 0);
    out += p.readAllStandardOutput();
    EXPECT_TRUE(out.contains("OUT seat=0 kind=17 "));
    EXPECT_TRUE(out.contains("IN seat=- kind=18 "));
    EXPECT_EQ(c.Count(protocol::MsgSettlement), 16);

    QProcess bad;
    bad.start(program, {QStringLiteral("--port"), QStringLiteral("99999")});
    ASSERT_TRUE(bad.waitForFinished(5000));
    EXPECT_NE(bad.exitCode(), 0);
}

TEST(Program, PresetGameOverTheSocket)
{
    const QString program = QStringLiteral(TABLESERVER_PROGRAM);
    if (!QFileInfo::exists(program))
        GTEST_SKIP() << "the tableserver program is not built";
    QProcess p;
    p.start(program, {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--hands"), QStringLiteral("2"),
                      QStringLiteral("--robot-wait"), QStringLiteral("0"), QStringLiteral("--robot-delay"),
                      QStringLiteral("0"), QStringLiteral("--preset"),
                      QStringLiteral(TABLESERVER_PRESETS "/client_win.preset")});
    ASSERT_TRUE(p.waitForStarted(5000));
    QByteArray out;
    ASSERT_TRUE(WaitFor([&] {
        out += p.readAllStandardOutput();
        return out.contains('\n');
    }));
    const QByteArray first = out.left(out.indexOf('\n'));
    const quint16 port = static_cast<quint16>(first.mid(first.lastIndexOf(':') + 1).split(' ').first().toUInt());
    ASSERT_NE(port, 0);
    ScriptedClient c(port);
    c.player.claimOps = protocol::OpWin;
    ASSERT_TRUE(c.Connected());
    c.Login();
    ASSERT_TRUE(WaitFor([&] { return p.state() == QProcess::NotRunning; }, 20000));
    EXPECT_EQ(p.exitCode(), 0);
    // Seat 0 won on a discard (20), then self-drawn as the banker (90).
    std::vector<int64_t> won;
    for (const auto& f : c.player.received)
        if (ts_test::Kind(f) == protocol::MsgSeatResult && ts_test::SeatOf(f) == 1)
            won.push_back(ts_test::ResultAmount(f));
    EXPECT_EQ(won, (std::vector<int64_t>{20, 90}));
}

TEST(Program, ABadPresetIsRefusedWithItsLine)
{
    const QString program = QStringLiteral(TABLESERVER_PROGRAM);
    if (!QFileInfo::exists(program))
        GTEST_SKIP() << "the tableserver program is not built";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("bad.preset"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("hand\nbanker 1\ndice 1 2 3 9\n");
    f.close();
    struct Case {
        QString path;
        QByteArray error;
    };
    for (const Case& c : {Case{file, "tableserver: preset " + file.toUtf8() + ": line 3: a die must be a number from 1 to 6"},
                          Case{dir.filePath(QStringLiteral("missing.preset")), "tableserver: cannot read the preset "}}) {
        QProcess p;
        p.start(program, {QStringLiteral("--preset"), c.path});
        ASSERT_TRUE(p.waitForFinished(5000));
        EXPECT_EQ(p.exitCode(), 2);
        EXPECT_TRUE(p.readAllStandardError().startsWith(c.error)) << c.path.toStdString();
    }
}
