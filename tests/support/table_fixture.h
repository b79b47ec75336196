#pragma once

#include "core/rings.h"
#include "core/scheduler.h"
#include "core/table_reset.h"
#include "platform/tcp_link.h"
#include "protocol/frame.h"
#include "support/frame_builder.h"
#include "support/test_client.h"
#include "support/wave_file.h"
#include "table/tiles.h"
#include "window/main_form.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <cstring>
#include <vector>

namespace testing_support {

// A client seated at a cleared table, connected, with input enabled: frames
// go in through the receive ring and the real scheduler, frames the client
// sends come out of the fake socket.
struct TableClient {
    TestClient t;
    Client& c = t.client;
    window::MainForm& f = *t.client.MainForm;

    // ownSeat: the local player's seat index 0-3.
    explicit TableClient(int ownSeat = 0, float scale = 1.0f)
    {
        c.game.ScaleX = c.game.ScaleY = scale;
        for (int v = 0; v < 4; ++v)
            c.game.Players[static_cast<std::size_t>(v)].SeatBit = static_cast<uint8_t>(1 << ((ownSeat - v + 4) & 3));
        core::ClearTableTiles(c);
        core::ResetTableDisplay(c);
        core::ResetPlayerState(c);
        c.table.WallHead = 0;
        c.table.WallTail = 134;
        c.game.InputEnabled = -1;
        t.tcp.state = platform::TcpLink::Connected;
    }

    uint8_t SeatBitOf(int view) const { return c.game.Players[static_cast<std::size_t>(view)].SeatBit; }
    table::PlayerRecord& Player(int view) { return c.game.Players[static_cast<std::size_t>(view)]; }

    // One frame through the receive ring and the scheduler, then a few more
    // ticks so that what the client queued goes out.
    void Deliver(const protocol::GameFrame& frame)
    {
        core::RecvRingAppend(c, frame.data(), protocol::kFrameSize);
        for (int i = 0; i < 8 && c.core.RecvRing.HasFrame(); ++i)
            core::TimerBong_Timer(c);
        Flush();
    }
    void Flush()
    {
        for (int i = 0; i < 8 && c.core.SendRing.HasFrame(); ++i)
            core::TimerBong_Timer(c);
    }

    // The frames written to the socket since the last call.
    std::vector<protocol::GameFrame> TakeSent()
    {
        Flush();
        std::vector<protocol::GameFrame> out;
        for (qsizetype at = 0; at + protocol::kFrameSize <= t.tcp.sent.size(); at += protocol::kFrameSize) {
            protocol::GameFrame frame;
            std::memcpy(frame.data(), t.tcp.sent.constData() + at, protocol::kFrameSize);
            out.push_back(frame);
        }
        t.tcp.sent.clear();
        return out;
    }

    // Puts tiles into the local hand as if dealt: slot HandFirst on, images
    // from `firstImage` on, face up in the hand row.
    void GiveOwnHand(const std::vector<int>& codes, int firstImage = 0)
    {
        table::PlayerRecord& p = Player(0);
        int s = p.HandFirst + p.HandCount;
        int image = firstImage;
        for (int code : codes) {
            p.Slots[static_cast<std::size_t>(s)] = {1, static_cast<int16_t>(code), static_cast<int16_t>(image)};
            f.MJ_Image[image].Move(p.HandX + s * 48.0f, p.HandY, 48, 78);
            table::ShowTileImage(c.Table(), image, table::TilePicIndex(table::kLargeFaceGroup, code));
            ++s;
            ++image;
            ++p.HandCount;
        }
    }
    // Hidden tiles in another seat's hand, images from `firstImage` on.
    void GiveOtherHand(int view, int count, int firstImage)
    {
        table::PlayerRecord& p = Player(view);
        for (int i = 0; i < count; ++i) {
            p.Slots[static_cast<std::size_t>(p.HandFirst + p.HandCount)] = {1, 0, static_cast<int16_t>(firstImage + i)};
            ++p.HandCount;
        }
    }

    std::vector<int16_t> OwnHandCodes()
    {
        std::vector<int16_t> out;
        const table::PlayerRecord& p = Player(0);
        for (int i = p.HandFirst; i < p.HandFirst + p.HandCount; ++i)
            out.push_back(p.Slots[static_cast<std::size_t>(i)].TileCode);
        return out;
    }
};

// The header word i of a frame, high byte first.
inline int WordOf(const protocol::GameFrame& f, int i)
{
    return f[static_cast<std::size_t>(8 + 2 * i)] << 8 | f[static_cast<std::size_t>(9 + 2 * i)];
}

} // namespace testing_support
