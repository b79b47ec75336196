#include "core/startup.h"

#include "platform/instance_lock.h"
#include "support/test_client.h"
#include "window/main_form.h"

#include <gtest/gtest.h>

using namespace core;
using namespace protocol;
using testing_support::TestClient;

namespace {

const QSize kScreen(1280, 1024);

// A lobby line with every field; fields are replaced by index (1-15).
QString Line(std::map<int, QString> changes = {}, bool closed = true)
{
    QStringList f = {QString(),
                     QStringLiteral("alice"),
                     QStringLiteral("secret"),
                     QStringLiteral("127.0.0.1"),
                     QStringLiteral("8000"),
                     QStringLiteral("上海"),
                     QStringLiteral("0"),
                     QStringLiteral("10.0.0.9"),
                     QStringLiteral("1080"),
                     QStringLiteral("puser"),
                     QStringLiteral("ppass"),
                     QStringLiteral("0"),
                     QStringLiteral("Lobby"),
                     QStringLiteral("Table 7"),
                     QStringLiteral("1"),
                     QStringLiteral("42")};
    for (auto& [i, v] : changes)
        f[i] = v;
    QString line;
    for (int i = 1; i <= 15; ++i)
        line += f[i] + QLatin1Char('$');
    if (!closed)
        line.chop(1);
    return line;
}

// The full line as the lobby's bytes, with field `index` replaced by `field`.
QByteArray RawLine(int index, const QByteArray& field)
{
    QList<QByteArray> f = Line().toUtf8().split('$');
    f[index - 1] = field;
    return f.join('$');
}

// Start-up messages, recorded while a test listens.
QStringList g_messages;
void RecordMessage(QtMsgType, const QMessageLogContext&, const QString& text) { g_messages << text; }

} // namespace

enum class Outcome { Runs, Refused, Failed };

struct LineCase {
    const char* name;
    QString line;
    Outcome outcome;
};
void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }

class CommandLineTest : public ::testing::TestWithParam<LineCase> {};

// Which way each line takes: the client runs, refuses with a message (no
// lobby touched) or fails (lobby restored, process ended, nothing shown).
TEST_P(CommandLineTest, Path)
{
    TestClient t;
    t.client.core.LobbyTitle.clear();
    const bool runs = Form_Load(t.client, GetParam().line, kScreen);
    switch (GetParam().outcome) {
    case Outcome::Runs:
        EXPECT_TRUE(runs);
        EXPECT_FALSE(t.process.ended);
        EXPECT_TRUE(t.dialogs.texts.isEmpty());
        break;
    case Outcome::Refused:
        EXPECT_FALSE(runs);
        EXPECT_TRUE(t.process.ended);
        EXPECT_EQ(t.process.code, kStartupFailedExit);
        EXPECT_EQ(t.dialogs.texts, QStringList{QStringLiteral("本游戏需从游戏大厅中启动！")});
        EXPECT_TRUE(t.lobby.commands.empty());
        break;
    case Outcome::Failed:
        EXPECT_FALSE(runs);
        EXPECT_TRUE(t.process.ended);
        EXPECT_EQ(t.process.code, kStartupFailedExit);
        EXPECT_TRUE(t.dialogs.texts.isEmpty());
        EXPECT_FALSE(t.client.MainForm->isVisible());
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Startup, CommandLineTest,
    ::testing::Values(
        LineCase{"full", Line(), Outcome::Runs}, LineCase{"blank", QStringLiteral("   "), Outcome::Refused},
        LineCase{"empty", QString(), Outcome::Refused},
        LineCase{"four_fields", QStringLiteral("bob$key$127.0.0.1$8000$"), Outcome::Runs},
        LineCase{"spectator", QStringLiteral("bob$key$127.0.0.1$8000$北京$123456"), Outcome::Runs},
        LineCase{"spectator_closed_id_too_big", QStringLiteral("bob$key$127.0.0.1$8000$北京$123456$"),
                 Outcome::Failed},
        LineCase{"spectator_closed_mode_4321", QStringLiteral("bob$key$127.0.0.1$8000$北京$4321$"), Outcome::Runs},
        LineCase{"spectator_more_fields", QStringLiteral("bob$key$127.0.0.1$8000$北京$12$x$y"), Outcome::Failed},
        LineCase{"high_port", Line({{4, QStringLiteral("40000")}}), Outcome::Runs},
        LineCase{"port_zero", Line({{4, QStringLiteral("0")}}), Outcome::Failed},
        LineCase{"port_too_big", Line({{4, QStringLiteral("65536")}}), Outcome::Failed},
        LineCase{"port_not_number", Line({{4, QStringLiteral("80a")}}), Outcome::Failed},
        LineCase{"port_empty", Line({{4, QString()}}), Outcome::Failed},
        LineCase{"mode_not_number", Line({{6, QStringLiteral("x")}}), Outcome::Failed},
        LineCase{"mode_too_big", Line({{6, QStringLiteral("40000")}}), Outcome::Failed},
        LineCase{"field14_bad", Line({{14, QStringLiteral("one")}}), Outcome::Failed},
        LineCase{"proxy_user_too_long", Line({{9, QString(256, QLatin1Char('u'))}}), Outcome::Failed},
        LineCase{"proxy_password_255", Line({{10, QString(255, QLatin1Char('p'))}}), Outcome::Runs},
        LineCase{"proxy_mode_without_port", Line({{6, QStringLiteral("5")}, {8, QStringLiteral("0")}}),
                 Outcome::Failed},
        LineCase{"name_double_byte", Line({{1, QStringLiteral("张三")}}), Outcome::Failed},
        LineCase{"name_17_bytes", Line({{1, QString(17, QLatin1Char('n'))}}), Outcome::Failed},
        LineCase{"name_16_bytes", Line({{1, QString(16, QLatin1Char('n'))}}), Outcome::Runs},
        LineCase{"key_reaches_token", Line({{2, QString(229, QLatin1Char('k'))}}), Outcome::Failed},
        LineCase{"key_228", Line({{2, QString(228, QLatin1Char('k'))}}), Outcome::Runs},
        LineCase{"location_64", Line({{5, QString(64, QChar(0x4E0A))}}), Outcome::Runs},
        LineCase{"location_65", Line({{5, QString(65, QLatin1Char('x'))}}), Outcome::Failed},
        LineCase{"sixteen_fields", Line() + QStringLiteral("extra$more$"), Outcome::Runs}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Startup, FullLineSettings)
{
    TestClient t;
    ASSERT_TRUE(Form_Load(t.client, QStringLiteral("  ") + Line({{11, QStringLiteral("0")}}) + QStringLiteral("  "),
                          kScreen));
    const CoreState& s = t.client.core;
    EXPECT_FALSE(t.client.game.WatchMode);
    EXPECT_EQ(s.UserName, QByteArray("alice"));
    EXPECT_EQ(t.client.game.Players[0].Name, QByteArray("alice"));
    EXPECT_EQ(t.client.services.GmAccount, QByteArray("alice"));
    EXPECT_EQ(s.UserKey, QByteArray("secret"));
    EXPECT_EQ(s.ServerHost, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(s.ServerPort, 8000);
    EXPECT_EQ(t.client.MainForm->Location.Caption, QStringLiteral("上海"));
    EXPECT_EQ(s.ConnectMode, 0);
    EXPECT_EQ(s.ProxyHost, QStringLiteral("10.0.0.9"));
    EXPECT_EQ(s.ProxyPort, 1080);
    EXPECT_EQ(s.ProxyUser, QByteArray("puser"));
    EXPECT_EQ(s.ProxyPassword, QByteArray("ppass"));
    EXPECT_FALSE(s.HostedMode);
    EXPECT_EQ(s.CmdLineField14, 1);
    EXPECT_EQ(s.CmdLineField15, 42);
    // The lobby named in field 12 was restored, then the main lobby's title
    // is kept for the rest of the run.
    ASSERT_FALSE(t.lobby.commands.empty());
    EXPECT_EQ(s.LobbyTitle, QStringLiteral("Olvenhall"));
    EXPECT_EQ(t.client.game.CountdownStart, 8);
    EXPECT_EQ(t.client.game.AutoPlay, 0);
    EXPECT_EQ(t.client.game.RoundNo, -1);
    EXPECT_EQ(t.client.game.Players[0].SeatBit, 0);
    // Direct connection: the socket connects and the login task waits.
    EXPECT_EQ(t.tcp.host, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(t.tcp.port, 8000);
    EXPECT_TRUE(s.SchedLogin.On);
    EXPECT_TRUE(t.client.MainForm->TimerBong->Enabled());
    EXPECT_EQ(t.client.MainForm->Sysmsg[0]->List(0), QStringLiteral("正在连接服务器..."));
    EXPECT_TRUE(t.client.MainForm->isVisible());
    EXPECT_TRUE(t.lobby.handler != nullptr);
    // No match document is read yet, so the room counts as a normal one: the
    // betting strip shows and the match box does not.
    EXPECT_EQ(t.client.match.RoomMatchMode, 1);
    ASSERT_NE(t.client.rewards.Bets.Pic_prize, nullptr);
    EXPECT_TRUE(t.client.rewards.Bets.Pic_prize->isVisible());
    EXPECT_FALSE(t.client.MainForm->pic_matchinfo->isVisible());
}

// The lobby closes a table window it has no more use for; the client ends
// as when the user closes the window. Other window messages change nothing.
TEST(Startup, TheLobbysCloseRequestEndsTheClient)
{
    for (auto [message, ends] : {std::pair{platform::LobbyLink::kClose, true}, {0x11u, false}, {0x401u, false}}) {
        TestClient t;
        ASSERT_TRUE(Form_Load(t.client, Line({{11, QStringLiteral("0")}}), kScreen));
        t.lobby.Send(message);
        EXPECT_EQ(t.process.ended, ends) << message;
        EXPECT_EQ(t.client.MainForm->isVisible(), !ends) << message;
    }
}

TEST(Startup, HostedPlayKeepsTheLobbyTitle)
{
    for (auto [field, hosted] : {std::pair{"1", true}, {" 1abc", true}, {"1.0", true}, {"0", false}, {"2", false},
                                 {"", false}, {"x1", false}}) {
        TestClient t;
        t.lobby.title = QStringLiteral("Lobby");
        ASSERT_TRUE(Form_Load(t.client, Line({{11, QString::fromUtf8(field)}}), kScreen)) << field;
        EXPECT_EQ(t.client.core.HostedMode, hosted) << field;
        EXPECT_EQ(t.client.core.LobbyTitle, hosted ? QStringLiteral("Lobby") : QStringLiteral("Olvenhall")) << field;
        EXPECT_EQ(t.client.game.CountdownStart, hosted ? 2 : 8);
        EXPECT_EQ(t.client.game.AutoPlay, hosted ? -1 : 0);
        if (hosted) {
            EXPECT_EQ(t.client.MainForm->windowTitle(), QStringLiteral("Table 7"));
        }
    }
}

TEST(Startup, SpectatorLine)
{
    TestClient t;
    ASSERT_TRUE(Form_Load(t.client, QStringLiteral("bob$key$127.0.0.1$8000$北京$123456"), kScreen));
    EXPECT_TRUE(t.client.game.WatchMode);
    EXPECT_EQ(t.client.game.UserInfos[0].UserId, 123456.0);
    EXPECT_EQ(t.client.core.ConnectMode, 0);
    EXPECT_EQ(t.client.game.RoundNo, 0);
    EXPECT_EQ(t.tcp.connects, 1);
}

TEST(Startup, OtherConnectModesWaitForTheLobby)
{
    TestClient t;
    ASSERT_TRUE(Form_Load(t.client, QStringLiteral("bob$key$127.0.0.1$8000$北京$4321$"), kScreen));
    EXPECT_EQ(t.client.core.ConnectMode, 4321);
    EXPECT_EQ(t.tcp.connects, 0);
    EXPECT_FALSE(t.client.core.SchedLogin.On);
    EXPECT_EQ(t.client.MainForm->Sysmsg[0]->List(0), QStringLiteral("正在连接服务器..."));
}

TEST(Startup, NumbersRoundHalfToEven)
{
    EXPECT_EQ(ToPort(QStringLiteral("8000.5"), false), 8000);
    EXPECT_EQ(ToPort(QStringLiteral("8001.5"), false), 8002);
    EXPECT_EQ(ToInt16(QStringLiteral(" -32768 ")), -32768);
    EXPECT_THROW(ToInt16(QStringLiteral("32767.5")), StartupFailure);
    EXPECT_EQ(LeadingNumber(QStringLiteral("  12.5kg")), 12.5);
    EXPECT_EQ(LeadingNumber(QStringLiteral("kg")), 0.0);
}

TEST(Startup, LongLocationIsTwoPointsSmaller)
{
    TestClient a;
    const float normal = a.client.MainForm->Location.FontSize;
    ASSERT_TRUE(Form_Load(a.client, Line({{5, QStringLiteral("一二三四五六七八九十十一")}}), kScreen));
    EXPECT_EQ(a.client.MainForm->Location.FontSize, normal - 2);
    TestClient b;
    ASSERT_TRUE(Form_Load(b.client, Line({{5, QStringLiteral("一二三四五六七八九十十一")}}), QSize(800, 600)));
    EXPECT_EQ(b.client.MainForm->Location.FontSize, 8);
}

TEST(Startup, LoginFrameBytes)
{
    TestClient t;
    ASSERT_TRUE(Form_Load(t.client, Line({{1, QStringLiteral("alice")}, {2, QStringLiteral("k3y")}}), kScreen));
    GameFrame want{};
    want[3] = 18;
    want[14] = 1;
    std::memcpy(want.data() + 16, "alice", 5);
    std::memcpy(want.data() + 32, "k3y", 3);
    EXPECT_EQ(t.client.core.LoginFrame, want);
}

struct ScreenCase {
    const char* name;
    QSize screen;
    float scale;
    QSize window;
    QRect table;
    bool framed;
};
void PrintTo(const ScreenCase& c, std::ostream* os) { *os << c.name; }

class ScreenTest : public ::testing::TestWithParam<ScreenCase> {};

TEST_P(ScreenTest, WindowAndScale)
{
    const ScreenCase& sc = GetParam();
    TestClient t;
    SizeWindow(t.client, sc.screen);
    EXPECT_EQ(t.client.game.ScaleX, sc.scale);
    EXPECT_EQ(t.client.game.ScaleY, sc.scale);
    EXPECT_EQ(t.client.MainForm->size(), sc.window);
    EXPECT_EQ(t.client.MainForm->pic1->geometry(), sc.table);
    EXPECT_EQ(t.client.window.WindowFramed, sc.framed);
}

INSTANTIATE_TEST_SUITE_P(
    Startup, ScreenTest,
    ::testing::Values(ScreenCase{"s800x600", {800, 600}, 0.78125f, {800, 600}, {0, 0, 800, 600}, false},
                      ScreenCase{"s1024x768", {1024, 768}, 1.0f, {1024, 768}, {0, 0, 1024, 768}, false},
                      ScreenCase{"s1280x1024", {1280, 1024}, 1.0f, {1040, 796}, {8, 20, 1024, 768}, true},
                      ScreenCase{"s1366x768", {1366, 768}, 1.0f, {1040, 768}, {8, 0, 1024, 768}, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Startup, SmallLayoutPlaces)
{
    TestClient t;
    SizeWindow(t.client, {800, 600});
    EXPECT_EQ(t.client.MainForm->Host.Top, 192);
    EXPECT_EQ(t.client.MainForm->Zhuang.Left, 45);
    EXPECT_EQ(t.client.MainForm->Sysmsg[0]->font().pointSize(), 8);
}

TEST(Startup, SecondInstanceIsRefused)
{
    const QString name = TestClient::UniqueLockName();
    {
        platform::InstanceLock running(name);
        ASSERT_TRUE(running.TryAcquire());
        TestClient t(name);
        EXPECT_FALSE(Form_Load(t.client, Line(), kScreen));
        EXPECT_TRUE(t.process.ended);
        EXPECT_EQ(t.dialogs.texts, QStringList{QStringLiteral("Kavelin游戏已经运行！")});
        EXPECT_EQ(t.tcp.connects, 0);
        EXPECT_TRUE(running.TryAcquire()); // the first instance keeps its lock
    }
    // Once the first instance is gone, the next one starts.
    TestClient later(name);
    EXPECT_TRUE(Form_Load(later.client, Line(), kScreen));
}

struct FaultCase {
    const char* name;
    QByteArray line;
    const char* says; // how the stderr line starts after "start-up failed: "
    bool cut;         // the quoted field was cut to 80 characters
};
void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }

class StartupFaultTest : public ::testing::TestWithParam<FaultCase> {};

// A field the start-up refuses: the process ends with the failure code and
// nothing shown, stderr gets one line quoting at most 80 characters of the
// field, and the lobby named in field 12 is restored even when an earlier
// field failed.
TEST_P(StartupFaultTest, EndsWithFailureCodeAndOneShortLine)
{
    const FaultCase& fc = GetParam();
    TestClient t;
    g_messages.clear();
    const QtMessageHandler previous = qInstallMessageHandler(RecordMessage);
    const bool runs = Form_Load(t.client, fc.line, kScreen);
    qInstallMessageHandler(previous);

    EXPECT_FALSE(runs);
    EXPECT_EQ(t.process.calls, 1);
    EXPECT_EQ(t.process.code, kStartupFailedExit);
    EXPECT_TRUE(t.dialogs.texts.isEmpty());
    EXPECT_FALSE(t.client.MainForm->isVisible());
    EXPECT_EQ(t.lobby.commands, std::vector<uint32_t>{platform::LobbyLink::kScRestore});

    ASSERT_EQ(g_messages.size(), 1);
    const QString& message = g_messages[0];
    EXPECT_TRUE(message.startsWith(QStringLiteral("start-up failed: ") + QString::fromUtf8(fc.says))) << message.toStdString();
    EXPECT_FALSE(message.contains(QLatin1Char('\n')));
    const qsizetype open = message.indexOf(QLatin1Char('"'));
    const qsizetype close = message.lastIndexOf(QLatin1Char('"'));
    ASSERT_LT(open, close);
    const QString quoted = message.mid(open + 1, close - open - 1);
    if (fc.cut) {
        EXPECT_EQ(quoted.size(), 81);
        EXPECT_TRUE(quoted.endsWith(QChar(0x2026)));
    } else {
        EXPECT_LE(quoted.size(), 80);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Startup, StartupFaultTest,
    ::testing::Values(
        // GBK bytes of a name and a location on a UTF-8 system.
        FaultCase{"name_invalid_bytes", RawLine(1, "\xD5\xC5\xC8\xFD"), "field 1 (account name): not valid text", false},
        FaultCase{"location_invalid_bytes", RawLine(5, "\xC9\xCF\xBA\xA3"), "field 5 (location): not valid text", false},
        FaultCase{"location_1mb", RawLine(5, QByteArray(1 << 20, 'x')),
                  "field 5 (location): longer than 64 characters", true},
        FaultCase{"port_not_number", RawLine(4, "80a"), "field 4 (server port): port is not a number", false},
        FaultCase{"port_long_with_newline", RawLine(4, QByteArray(100, '9') + "\nx"),
                  "field 4 (server port): port is not a number", true}),
    [](const auto& info) { return std::string(info.param.name); });

// The number at the start of a text, as a lobby's decimal fields give it.
TEST(Startup, LeadingNumberReadsTheNumberAtTheStart)
{
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"  12.5kg", 12.5}, {"kg", 0.0},   {"\t7", 7.0},     {"+.5x", 0.5}, {"-3e2z", -300.0},
        {"4e", 4.0},        {"1e+", 1.0},  {"5.e1", 50.0},   {".e1", 0.0},  {" - 3", 0.0},
        {"", 0.0},          {"-", 0.0},    {"0012", 12.0},   {"1.5.5", 1.5}, {"2E-1", 0.2},
    };
    for (const auto& k : cases)
        EXPECT_DOUBLE_EQ(LeadingNumber(QString::fromUtf8(k.text)), k.value) << k.text;
    EXPECT_EQ(LeadingNumber(QStringLiteral("٣")), 0.0); // only ASCII digits count
}
