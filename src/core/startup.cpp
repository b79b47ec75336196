#include "core/startup.h"

#include "app/client.h"
#include "core/lobby.h"
#include "core/exit_windows.h"
#include "core/proxy.h"
#include "core/reconnect.h"
#include "core/rings.h"
#include "core/scheduler.h"
#include "platform/dialogs.h"
#include "platform/gbk.h"
#include "platform/instance_lock.h"
#include "platform/lobby_link.h"
#include "platform/process.h"
#include "platform/tcp_link.h"
#include "window/web_panels.h"
#include "protocol/kinds.h"
#include "results/hand_archive.h"
#include "results/result_forms.h"
#include "window/layout.h"
#include "window/main_form.h"
#include "window/pictures.h"
#include "window/sound.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <cmath>
#include <string>
#include <vector>

namespace core {

namespace {

const QString kWarning = QStringLiteral("警告");
const QString kMainLobbyTitle = QStringLiteral("Olvenhall");
// At most this many characters of a field are shown in a start-up message.
constexpr qsizetype kQuotedChars = 80;
// The location label holds at most this many characters.
constexpr qsizetype kLocationChars = 64;
const char* const kFieldNames[15] = {"account name",   "account key",        "server address", "server port",
                                     "location",       "connection mode",    "proxy address",  "proxy port",
                                     "proxy user",     "proxy password",     "hosted play",    "lobby title",
                                     "window caption", "prop plug-in switch", "prop plug-in number"};

// Blanks at both ends removed (spaces only, as the lobby writes them).
template <typename Text>
Text TrimBlanks(const Text& s)
{
    const auto blank = typename Text::value_type(u' ');
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && s[b] == blank)
        ++b;
    while (e > b && s[e - 1] == blank)
        --e;
    return s.mid(b, e - b);
}

// Characters of a text, a surrogate pair counting as one.
qsizetype CharCount(QStringView text)
{
    qsizetype n = 0;
    for (qsizetype i = 0; i < text.size(); ++i)
        if (!(text[i].isLowSurrogate() && i > 0 && text[i - 1].isHighSurrogate()))
            ++n;
    return n;
}

// A field as a start-up message shows it: quoted, cut after 80 characters
// with an ellipsis, control characters as "?" so the message stays one line.
std::string Quoted(QStringView field)
{
    QString out = QStringLiteral("\"");
    qsizetype i = 0;
    for (qsizetype chars = 0; i < field.size() && chars < kQuotedChars; ++chars) {
        const bool pair = field[i].isHighSurrogate() && i + 1 < field.size() && field[i + 1].isLowSurrogate();
        const char16_t u = field[i].unicode();
        if (u < 0x20 || u == 0x7F)
            out += QLatin1Char('?');
        else
            out += field.mid(i, pair ? 2 : 1);
        i += pair ? 2 : 1;
    }
    if (i < field.size())
        out += QChar(0x2026);
    out += QLatin1Char('"');
    return out.toStdString();
}

// Bytes of the command line as text in the locale's encoding; bytes that are
// not valid text there are refused, not turned into replacement characters.
QString Decoded(QByteArrayView bytes)
{
    QStringDecoder decode(QStringDecoder::System);
    const QString text = decode.decode(bytes);
    if (decode.hasError())
        throw StartupFailure("not valid text: " + Quoted(text));
    return text;
}

// A number field: the whole text (blanks around it allowed) is one number.
std::optional<double> WholeNumber(const QString& field)
{
    bool ok = false;
    const double v = TrimBlanks(field).toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

// GBK text whose every character takes one byte (no lead bytes).
const QByteArray& SingleByteText(const QByteArray& gbk, const char* what)
{
    for (char b : gbk)
        if (static_cast<uint8_t>(b) >= 0x81 && static_cast<uint8_t>(b) <= 0xFE)
            throw StartupFailure(std::string(what) + " holds a double-byte character");
    return gbk;
}

} // namespace

int16_t ToInt16(const QString& field)
{
    const std::optional<double> v = WholeNumber(field);
    if (!v)
        throw StartupFailure("not a number: " + Quoted(field));
    const double r = std::nearbyint(*v);
    if (r < -32768 || r > 32767)
        throw StartupFailure("out of range: " + Quoted(field));
    return static_cast<int16_t>(r);
}

int32_t ToPort(const QString& field, bool zeroAllowed)
{
    const std::optional<double> v = WholeNumber(field);
    if (!v)
        throw StartupFailure("port is not a number: " + Quoted(field));
    const double r = std::nearbyint(*v);
    if (r < (zeroAllowed ? 0 : 1) || r > 65535)
        throw StartupFailure("port out of range: " + Quoted(field));
    return static_cast<int32_t>(r);
}

namespace {

// Stores field n (1-15) of the command line; `after` is the text after its "$".
void StoreField(Client& c, int n, const QString& field, QByteArrayView after)
{
    CoreState& s = c.core;
    GameState& g = c.game;
    window::MainForm& f = *c.MainForm;
    switch (n) {
    case 1: {
        const QByteArray name = platform::gbk::Encode(field);
        g.Players[0].Name = name;
        s.UserName = name;
        c.services.GmUserName = name;
        c.services.GmAccount = name;
        break;
    }
    case 2: s.UserKey = platform::gbk::Encode(field); break;
    case 3: s.ServerHost = field; break;
    case 4: s.ServerPort = ToPort(field, false); break;
    case 5:
        if (CharCount(field) > kLocationChars)
            throw StartupFailure("longer than 64 characters: " + Quoted(field));
        if (g.ScaleX < 1.0f)
            f.Location.FontSize = 10;
        if (field.size() > 10)
            f.Location.FontSize -= 2;
        f.Location.SetCaption(field);
        if (g.WatchMode) {
            QStringDecoder decode(QStringDecoder::System);
            const QString text = decode.decode(after);
            const std::optional<double> id = decode.hasError() ? std::nullopt : WholeNumber(text);
            if (!id)
                throw StartupFailure("the watched user id is not a number");
            g.UserInfos[0].UserId = *id;
        }
        break;
    case 6: s.ConnectMode = ToInt16(field); break;
    case 7: s.ProxyHost = field; break;
    case 8: s.ProxyPort = ToPort(field, true); break;
    case 9:
    case 10: {
        const QByteArray bytes = platform::gbk::Encode(field);
        if (bytes.size() > 255)
            throw StartupFailure("proxy user or password longer than 255 bytes");
        (n == 9 ? s.ProxyUser : s.ProxyPassword) = bytes;
        break;
    }
    case 11:
        if (LeadingNumber(field) == 1.0)
            s.HostedMode = true;
        break;
    case 12: s.LobbyTitle = field; break;
    case 13: s.WindowCaption = field; break;
    case 14: s.CmdLineField14 = ToInt16(field); break;
    case 15: s.CmdLineField15 = ToInt16(field); break;
    }
}

} // namespace

void ReadCommandLine(Client& c, const QByteArray& line)
{
    CoreState& s = c.core;
    GameState& g = c.game;
    g.WatchMode = !line.endsWith('$');

    // The fields, each with the text after its "$"; fields that are absent
    // (no further "$") are not listed. "$" is one byte in every encoding the
    // lobby uses, so the line is split before it is decoded.
    std::vector<std::pair<QByteArrayView, QByteArrayView>> fields;
    QByteArrayView rest = line;
    while (fields.size() < 15) {
        const qsizetype dollar = rest.indexOf('$');
        if (dollar < 0)
            break;
        fields.emplace_back(rest.first(dollar), rest.sliced(dollar + 1));
        rest = rest.sliced(dollar + 1);
    }
    // The lobby's title is taken first, so that a failure in an earlier
    // field can still restore the lobby window.
    if (fields.size() >= 12) {
        try {
            s.LobbyTitle = Decoded(fields[11].first);
        } catch (const StartupFailure&) {
            // reported in its turn below
        }
    }

    for (int n = 1; n <= static_cast<int>(fields.size()); ++n) {
        const auto& [bytes, after] = fields[static_cast<std::size_t>(n - 1)];
        try {
            StoreField(c, n, Decoded(bytes), after);
        } catch (const StartupFailure& e) {
            throw StartupFailure("field " + std::to_string(n) + " (" + kFieldNames[n - 1] + "): " + e.what());
        }
    }
    if (s.ConnectMode == 5 && s.ProxyPort == 0)
        throw StartupFailure("no proxy port for a proxy connection");
}

void SizeWindow(Client& c, QSize screen)
{
    window::MainForm& f = *c.MainForm;
    GameState& g = c.game;
    const bool tall = screen.height() > 768;
    const bool wide = screen.width() > 1024;
    const int height = tall ? 796 : screen.height();
    const int width = wide ? 1040 : screen.width();
    f.setFixedSize(width, height);
    f.move(0, 0);
    f.pic1->setGeometry(wide ? 8 : 0, tall ? 20 : 0, wide ? width - 16 : width, tall ? height - 28 : height);
    if (tall || wide)
        window::DrawWindowFrame(c);

    if (screen.height() >= 768 && screen.width() >= 1024) {
        g.ScaleX = g.ScaleY = 1.0f;
        f.Host.Move(0, f.Host.Top);
    } else {
        g.ScaleY = 600.0f / 768.0f;
        g.ScaleX = 800.0f / 1024.0f;
        f.pic1->lower();
        f.Host.Move(0, 192);
        f.Zhuang.Move(45, 192);
        for (platform::ListBox* list : f.Sysmsg) {
            QFont font = list->font();
            font.setPointSize(8);
            list->setFont(font);
        }
    }
}

void BuildLoginFrame(Client& c)
{
    CoreState& s = c.core;
    // One byte per character; the name has room for 16 bytes and the key
    // must end before the echo token, so longer ones are refused rather
    // than overwritten or spilled into the token.
    const QByteArray& name = SingleByteText(s.UserName, "account name");
    const QByteArray& key = SingleByteText(s.UserKey, "account key");
    if (name.size() > protocol::kNameBytes)
        throw StartupFailure("account name longer than 16 bytes");
    if (protocol::login_byte::Key + key.size() > protocol::frame_byte::EchoToken)
        throw StartupFailure("account key too long for the login frame");
    s.LoginFrame.fill(0);
    s.LoginFrame[protocol::login_byte::Marker] = 1;
    s.LoginFrame[protocol::frame_byte::KindHigh] = 0;
    s.LoginFrame[protocol::frame_byte::Kind] = protocol::CmdLogin;
    std::memcpy(s.LoginFrame.data() + protocol::login_byte::Name, name.constData(),
                static_cast<std::size_t>(name.size()));
    std::memcpy(s.LoginFrame.data() + protocol::login_byte::Key, key.constData(),
                static_cast<std::size_t>(key.size()));
}

bool Form_Load(Client& c, const QString& commandLine, QSize screen)
{
    QStringEncoder encode(QStringEncoder::System);
    return Form_Load(c, QByteArray(encode.encode(commandLine)), screen);
}

bool Form_Load(Client& c, const QByteArray& commandLine, QSize screen)
{
    CoreState& s = c.core;
    GameState& g = c.game;
    window::MainForm& f = *c.MainForm;
    try {
        ResetRings(c);
        if (!c.plat.instance.TryAcquire()) {
            c.plat.dialogs.MsgBox(QStringLiteral("Kavelin游戏已经运行！"), kWarning, platform::Dialogs::Warning);
            RestoreLobbyWindow(c);
            c.plat.process.endNow(kStartupFailedExit);
            return false;
        }
        // A hand archive left by an earlier run would answer for this run's
        // hands, whose numbers start again at 1.
        results::DeleteHandArchive(c);
        g.HoverEnabled = -1;
        g.AutoPlay = 0;
        g.CountdownStart = 8;
        s.KeepAliveHold = false;
        window::HideWebPanel(c, 2);
        c.window.ChromeNormal = -1;
        SizeWindow(c, screen);

        c.window.WebNavError = 0;
        for (SchedTask* t : {&s.SchedSend, &s.SchedReceive, &s.SchedLogin, &s.SchedBlink, &s.SchedWatch,
                             &s.SchedDecision, &s.SchedReady})
            t->On = false;
        s.SchedWatch.Count = 0;

        g.SpeakShown = 0;
        c.chat.ChatAllowed = -1;
        s.LoginPending = false;
        window::SoundState& snd = c.window.Sound;
        snd.MusicOn = snd.EffectsOn = snd.SoundOn = -1;
        window::InitSoundPaths(c);
        if (snd.SoundOn) {
            window::InitDirectSound(c);
            window::StopWave(c);
            window::PlayWave(c, snd.SoundFiles[window::SoundMusic], 1);
            window::SetWaveVolume(c, 3000);
        }

        s.ReconnectArmed = false;
        for (int i = 1; i <= 3; ++i)
            g.OtherSeatNames[static_cast<std::size_t>(i)].clear();
        c.window.ShuffleStep = 0;
        c.window.ShuffleFlagA = 0;
        f.TimerShuffle->SetEnabled(false);
        f.LblShuffle.SetVisible(false);
        f.ImgShuffle.SetVisible(false);
        c.window.ShuffleShowOn = 0;
        c.window.ShuffleLabelOn = 0;
        c.window.ShuffleCaptions = {QStringLiteral("正在随机换座中.."), QStringLiteral("正在随机换座中..."),
                             QStringLiteral("正在随机换座中...."), QStringLiteral("正在随机换座中.....")};
        g.TableCleared = g.SeatedCount = g.HandStartedFlag = g.AnNiuClicked = 0;

        g.LayoutInProgress = -1;
        window::InitPicIds(c);
        window::LayoutTableControls(c);
        g.LayoutInProgress = 0;

        g.RoundNo = -1;
        c.rewards.DeferredBuyOn = 0;
        c.rewards.DeferredBuy = 0;
        c.rewards.BuyDeferred = 0;
        c.table.LastDiscardImage = c.table.PrevDiscardImage = -1;

        s.Hooks.InitMatch();
        s.Hooks.InitChipPanel();
        c.match.RoomMatchMode = 0;

        const QByteArray line = TrimBlanks(commandLine);
        if (line.isEmpty()) {
            c.plat.dialogs.MsgBox(QStringLiteral("本游戏需从游戏大厅中启动！"), kWarning, platform::Dialogs::Warning);
            c.plat.process.endNow(kStartupFailedExit);
            return false;
        }
        ReadCommandLine(c, line);

        c.match.RoomMatchMode = s.Hooks.MatchModeOf(s.MatchId);
        s.Hooks.ShowMainFormByMatchType();

        f.Sysmsg[0]->Clear();
        f.Sysmsg[0]->AddItem(QStringLiteral("正在连接服务器..."));
        f.TimerBong->SetEnabled(false);
        s.DirectConnection = true;
        BuildLoginFrame(c);

        if (s.ConnectMode == 0) {
            c.plat.tcp.Connect(s.ServerHost, s.ServerPort);
            f.TimerBong->SetEnabled(true);
            s.SchedLogin.Start();
        } else if (s.ConnectMode == 5) {
            s.SchedLogin.Stop();
            ProxyConnect(c);
        }

        RestoreLobbyWindow(c);
        f.show();
        if (s.HostedMode) {
            f.setWindowTitle(s.WindowCaption);
            g.CountdownStart = 2;
            g.AutoPlay = -1;
        } else {
            s.LobbyTitle = kMainLobbyTitle;
        }
        window::LayoutPlayControls(c);
        s.Hooks.InitJadeTask();

        g.Players[0].SeatBit = 0;
        s.QuickLeave = false;
        s.LeaveAfterHand = false;
        if (g.WatchMode)
            g.RoundNo = 0;

        // Messages that are not the lobby's own go to the window's default
        // handling: a close request closes the table window as the user's
        // close does.
        c.plat.lobby.SetMessageHandler([&c](uint32_t msg, uint32_t w, uint32_t l) {
            if (!MainWndProc(c, msg, w, l) && msg == platform::LobbyLink::kClose)
                c.MainForm->close();
        });
        // Open the link now, so that the lobby can reach the table window.
        c.plat.lobby.FindWindow(s.LobbyTitle);
        return true;
    } catch (const std::exception& e) {
        // One line on stderr; nothing is shown. The lobby window named so far
        // is restored (a lobby that is gone changes nothing: the start-up has
        // failed either way) and the process ends with a failure code.
        qWarning("start-up failed: %s", e.what());
        if (!s.LobbyTitle.trimmed().isEmpty())
            c.plat.lobby.SendSysCommand(s.LobbyTitle, platform::LobbyLink::kScRestore);
        c.plat.process.endNow(kStartupFailedExit);
        return false;
    }
}

void Form_Unload(Client& c)
{
    c.plat.lobby.SetMessageHandler({});
    if (c.window.Sound.MusicOn)
        window::StopMusic(c);
    if (c.window.Sound.SoundOn)
        window::StopWave(c);
    if (c.rewards.PropPluginState > 0)
        c.core.Hooks.ExitPropPlugin(1);
    // The plug-in object goes with the table window, whatever its state.
    c.rewards.PropPlugin.reset();
    c.frmExit->hide();
    c.frmOtherExit->hide();
    UnloadReconnectWindow(c);
    c.Hero->hide();
    c.Score->hide();
    c.core.Hooks.HideTalkWindow();
    c.plat.process.endNow();
}

} // namespace core
