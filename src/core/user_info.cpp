#include "core/user_info.h"

#include "app/client.h"
#include "platform/gbk.h"
#include "protocol/frame.h"
#include "table/animations.h"
#include "window/main_form.h"
#include "window/pictures.h"
#include "results/result_forms.h"

#include <QRegularExpression>

namespace core {
namespace {

// One single-byte character per byte, up to the first zero byte.
QByteArray ByteChars(const uint8_t* f, int first, int last)
{
    QByteArray out;
    for (int i = first; i <= last && f[i] != 0; ++i)
        out += static_cast<char>(f[i]);
    return out;
}

// Two bytes at a time, each pair one GBK character, up to a pair whose
// first byte is zero.
QString PairChars(const uint8_t* f, int first, int last)
{
    QString out;
    for (int i = first; i + 1 <= last && f[i] != 0; i += 2)
        out += platform::gbk::Decode(f + i, 2);
    return out;
}

double Unsigned64(const uint8_t* f, int first)
{
    uint64_t v = 0;
    for (int i = 7; i >= 0; --i)
        v = v << 8 | f[first + i];
    return static_cast<double>(v);
}

int32_t Signed32(const uint8_t* f, int first)
{
    const uint32_t v = uint32_t(f[first]) | uint32_t(f[first + 1]) << 8 | uint32_t(f[first + 2]) << 16 |
                       uint32_t(f[first + 3]) << 24;
    return static_cast<int32_t>(v);
}

} // namespace

bool UserInfo::HasSafeVoice() const
{
    static const QRegularExpression kSafe(QStringLiteral("^[0-9A-Za-z]*$"));
    return kSafe.match(Voice1).hasMatch() && kSafe.match(Voice2).hasMatch();
}

void UserInfo::ClearSeatFields()
{
    UserInfo kept;
    kept.Account = Account;
    kept.Title = Title;
    kept.Voice1 = Voice1;
    kept.Voice2 = Voice2;
    kept.VoiceKind = VoiceKind;
    kept.SnapshotMark = SnapshotMark;
    kept.UserId = UserId;
    *this = kept;
}

void ParseUserInfo(UserInfo& r, const uint8_t* f)
{
    namespace ub = protocol::user_info_byte;
    r.Account = ByteChars(f, ub::Account, ub::Account + 15);
    r.Nickname = platform::gbk::Decode(f + ub::Nickname, 32);
    r.AvatarId = QString::fromLatin1(ByteChars(f, ub::Avatar, ub::Avatar + 15));
    if (r.AvatarId.isEmpty())
        r.AvatarId = QStringLiteral("m1");
    r.Sex = f[ub::Sex];
    r.CardText = PairChars(f, ub::CardText, ub::CardText + 7);
    r.Points = Unsigned64(f, ub::Points);
    r.MemberLevel = Unsigned64(f, ub::MemberLevel);
    r.Coins = Unsigned64(f, ub::Coins);
    r.Value104 = Unsigned64(f, ub::Value104);
    r.Value128 = Unsigned64(f, ub::Value128);
    r.Value136 = Unsigned64(f, ub::Value136);
    r.RoomGrade = Unsigned64(f, ub::RoomGrade);
    r.LevelText = PairChars(f, ub::Level, ub::Level + 15);
    r.Count152 = Signed32(f, ub::Count152);
    r.Count156 = Signed32(f, ub::Count156);
    r.Count160 = Signed32(f, ub::Count160);
    r.Count164 = Signed32(f, ub::Count164);
    r.Title = PairChars(f, ub::Title, ub::Title + 23);
    r.Voice1 = QString::fromLatin1(ByteChars(f, ub::Voice1, ub::Voice1 + 7));
    r.Voice2 = QString::fromLatin1(ByteChars(f, ub::Voice2, ub::Voice2 + 7));
    r.UserId = Unsigned64(f, ub::UserId);
    r.VipLevel = f[ub::VipLevel];
}

std::optional<int> AvatarNumber(const QString& a)
{
    auto digit = [&](int i) -> int { return a[i].isDigit() ? a[i].digitValue() : -100; };
    int n;
    if (a.size() == 2)
        n = digit(1) - 1;
    else if (a.size() == 3)
        n = 10 * digit(1) + digit(2) - 1;
    else
        return std::nullopt;
    if (n < -1)
        return std::nullopt; // not a number
    if (n >= 10)
        n = 0;
    if (a.startsWith(QLatin1Char('w')))
        n += 10;
    if (n < 0 || n > 19)
        return std::nullopt;
    return n;
}

} // namespace core

namespace core {
namespace {

int PosMod(int a, int m) { return ((a % m) + m) % m; }

} // namespace

void ShowUserInfo(Client& c)
{
    GameState& g = c.game;
    std::array<UserInfo, 4> L;
    for (int i = 0; i < 4; ++i) {
        ParseUserInfo(L[static_cast<std::size_t>(i)], g.WatchFrames[static_cast<std::size_t>(i)].data());
    }

    int watched = -1;
    for (int i = 0; i < 4 && watched < 0; ++i)
        if (L[static_cast<std::size_t>(i)].UserId == g.UserInfos[0].UserId)
            watched = i;
    if (watched >= 0) {
        const int o = g.WatchFrames[static_cast<std::size_t>(watched)][protocol::frame_byte::Seat] & 0x0F;
        g.Players[0].SeatBit = static_cast<uint8_t>(o);
        g.Players[0].Name = L[static_cast<std::size_t>(watched)].Account;
        table::ShowSeatCompass(c.Table());
        g.UserInfos[0] = L[static_cast<std::size_t>(watched)];
        for (int j = 0; j < 4; ++j) {
            uint8_t& seatByte = g.WatchFrames[static_cast<std::size_t>(j)][protocol::frame_byte::Seat];
            seatByte &= 0x0F;
            const int s = seatByte;
            int v = -1;
            if (s == 2 * o || (s == 1 && o == 8))
                v = 3;
            else if (s == 4 * o || o == 4 * s)
                v = 2;
            else if (o == 2 * s || (s == 8 && o == 1))
                v = 1;
            if (v < 0)
                continue;
            g.Players[static_cast<std::size_t>(v)].SeatBit = static_cast<uint8_t>(s);
            g.Players[static_cast<std::size_t>(v)].Name = L[static_cast<std::size_t>(j)].Account;
            g.UserInfos[static_cast<std::size_t>(v)] = L[static_cast<std::size_t>(j)];
        }
    }

    for (int v = 0; v < 4; ++v) {
        if (g.Players[static_cast<std::size_t>(v)].SeatBit != g.DealerSeat)
            continue;
        g.Players[static_cast<std::size_t>(v)].BankerMark = -1;
        const int a = g.RoundHeaderArgs[0];
        const int b = g.RoundHeaderArgs[1];
        c.table.WallHead = static_cast<int16_t>(PosMod((PosMod(v + 13 - a, 4) * 17 + a + b) * 2, 136));
        c.table.WallTail = static_cast<int16_t>((c.table.WallHead + 134) % 136);
        break;
    }

    for (int v = 0; v < 4; ++v)
        ShowSeatPanel(c, v);
}

void ShowAvatar(Client& c, const QString& avatarId, platform::HasPicture& control)
{
    const std::optional<int> n = AvatarNumber(avatarId);
    if (!n)
        return;
    window::LoadGifResource(c.window.PicIds.AvatarPicIds[static_cast<std::size_t>(*n)], QStringLiteral("GIF"), control);
}

void ShowSeatPanel(Client& c, int v)
{
    const UserInfo& u = c.game.UserInfos[static_cast<std::size_t>(v)];
    window::MainForm& f = *c.MainForm;
    ShowAvatar(c, u.AvatarId, f.Tou[v]);
    ShowAvatar(c, u.AvatarId, c.Score->Tou[v]);
    ShowAvatar(c, u.AvatarId, c.Hero->Tou[v]);
    f.Nid[v].SetCaption(QStringLiteral("[") + u.Title + QStringLiteral("] ") + u.Nickname);
    f.Cash[v].SetCaption(QString::number(u.Coins, 'f', 0) + QStringLiteral("金币"));
    f.Level[v].SetCaption(u.LevelText);
    c.Score->ID[v].SetCaption(u.Nickname);
    c.Hero->ID[v].SetCaption(u.Nickname);
}

} // namespace core
