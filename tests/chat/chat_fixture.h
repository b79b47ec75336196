#pragma once

// A client seated at a table for the chat tests, and the chat frames the
// server relays to it.

#include "chat/chat.h"
#include "chat/talk_form.h"
#include "core/messages.h"
#include "core/rings.h"
#include "platform/gbk.h"
#include "support/table_fixture.h"
#include "support/test_client.h"
#include "window/main_form.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

namespace chat_test {

using protocol::GameFrame;

// The seat names as the server sends them (GBK), by seat index.
inline QByteArray SeatName(int seat)
{
    static const char* const names[4] = {"张三", "李四", "王五", "赵六"};
    return platform::gbk::Encode(QString::fromUtf8(names[seat]));
}
inline QString Nickname(int seat)
{
    static const char* const nicks[4] = {"小张", "小李", "小王", "小赵"};
    return QString::fromUtf8(nicks[seat]);
}

// A chat frame as the server relays it: the sender's seat bit, the mode and
// item number, the text (GBK) and the sender's name at 217, the relay
// length at 236.
inline GameFrame ChatFrame(int seatBit, int mode, int item, const QString& text, const QByteArray& name = {},
                           uint32_t relay = 0)
{
    GameFrame f{};
    f[protocol::frame_byte::Kind] = 19;
    f[protocol::frame_byte::Seat] = static_cast<uint8_t>(seatBit);
    f[9] = static_cast<uint8_t>(mode);
    f[15] = static_cast<uint8_t>(item);
    const QByteArray bytes = platform::gbk::Encode(text);
    for (int i = 0; i < bytes.size() && 16 + i < 216; ++i)
        f[static_cast<std::size_t>(16 + i)] = static_cast<uint8_t>(bytes[i]);
    for (int i = 0; i < name.size() && i < 16; ++i)
        f[static_cast<std::size_t>(217 + i)] = static_cast<uint8_t>(name[i]);
    for (int i = 0; i < 4; ++i)
        f[static_cast<std::size_t>(236 + i)] = static_cast<uint8_t>(relay >> (24 - 8 * i));
    return f;
}

// A client at seat index `own` of a table of four named players, the
// quick phrases of chat.ini in its program folder, sound on.
struct ChatTable : testing_support::TestClient {
    QTemporaryDir dir;
    Client& c = client;
    window::MainForm& f = *client.MainForm;

    explicit ChatTable(int own = 0)
    {
        c.core.AppPath = dir.path();
        c.window.Sound.VoicePath = dir.path() + QStringLiteral("/voice/");
        for (int v = 0; v < 4; ++v) {
            const int seat = (own - v + 4) & 3;
            table::PlayerRecord& p = c.game.Players[static_cast<std::size_t>(v)];
            p.SeatBit = static_cast<uint8_t>(1 << seat);
            p.Name = SeatName(seat);
            core::UserInfo& u = c.game.UserInfos[static_cast<std::size_t>(v)];
            u.Nickname = Nickname(seat);
            u.Voice1 = QStringLiteral("27");
            u.Voice2 = QStringLiteral("10");
            u.Sex = static_cast<uint8_t>(seat % 2);
            u.VoiceKind = 2;
        }
        c.chat.BubblesAllowed = -1;
        c.game.InputEnabled = -1;
    }

    // Writes chat.ini (GBK) with the two phrase lists.
    void WritePhrases(const QStringList& list1, const QStringList& list2, const QString& num1 = {})
    {
        QString ini = QStringLiteral("[Phrase1]\r\nnum=%1\r\n").arg(num1.isEmpty() ? QString::number(list1.size()) : num1);
        for (int i = 0; i < list1.size(); ++i)
            ini += QStringLiteral("%1=%2\r\n").arg(i + 1).arg(list1[i]);
        ini += QStringLiteral("[Phrase2]\r\nnum=%1\r\n").arg(list2.size());
        for (int i = 0; i < list2.size(); ++i)
            ini += QStringLiteral("%1=%2\r\n").arg(i + 1).arg(list2[i]);
        QFile file(dir.filePath(QStringLiteral("chat.ini")));
        file.open(QIODevice::WriteOnly);
        file.write(platform::gbk::Encode(ini));
    }

    // Takes the frame from the receive ring as the scheduler's receive task
    // does (the chat frame is shown by the reader).
    void Receive(const GameFrame& frame)
    {
        c.core.RecvRing.Append(frame.data(), protocol::kFrameSize);
        core::ReadMsg(c);
    }

    int SeatBitOf(int view) const { return c.game.Players[static_cast<std::size_t>(view)].SeatBit; }
    QByteArray NameOf(int view) const { return c.game.Players[static_cast<std::size_t>(view)].Name; }

    QStringList History() const
    {
        QStringList lines;
        for (int i = 0; i < c.Talk->Text1->ListCount(); ++i)
            lines << c.Talk->Text1->List(i);
        return lines;
    }
    QString Box(int i) const
    {
        const platform::ListBox& box = *f.Sysmsg[static_cast<std::size_t>(i)];
        return box.ListCount() > 0 ? box.List(0) : QString();
    }
};

} // namespace chat_test
