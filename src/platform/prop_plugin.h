#pragma once

#include "platform/picture.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

namespace platform {

// The prop plug-in: a component outside the client that draws props, video
// and treasure boxes and talks to the server through the client. These are
// the calls the client makes on it, by their names, and nothing else; what
// the plug-in does inside them is its own business. Arguments that the
// plug-in fills are non-const references. Every call happens on the GUI
// thread and may take its time.
//
// A plug-in is a shared library that exports the C function named by
// kPropPluginFactory (see prop_plugin_loader.h and the README).
class PropPlugin {
public:
    virtual ~PropPlugin() = default;

    // Where the treasure boxes are drawn and what they look like, in pixels
    // of the table window; filled by GetBaoInfo.
    struct BaoInfo {
        std::array<std::array<int32_t, 2>, 15> BoxPositions{}; // left, top of box k; three groups of five
        std::array<int32_t, 2> BoxOpenPoint{};                 // centre where a picked box opens
        std::array<std::array<int32_t, 2>, 4> SeatPrizePoints{}; // by view, where the open box flies
        std::array<int32_t, 2> PropNoticePoint{};              // horizontal centre and top of the notice
        std::array<int16_t, 2> PropTimerSettings{};            // result-step interval (ms), number of steps
        Picture ClosedBoxPicture;
        std::array<int32_t, 2> ClosedBoxSize{};                // width, height
        Picture OpenBoxPicture;
        std::array<int32_t, 2> OpenBoxSize{};
    };

    // Start. The texts "DLL" and "dorvak" are the fixed second and third
    // texts the client hands over; scale is 1 at full size and 2 on the small
    // layout; field15 is command-line field 15. False: the plug-in is not
    // used.
    virtual bool Initdll(const QByteArray& userName, const QByteArray& userKey, const QString& dll,
                         quintptr windowHandle, const QString& tag, int16_t scale, int16_t field15) = 0;
    // Fills the treasure-box geometry; true enables the treasure boxes.
    virtual bool GetBaoInfo(BaoInfo& info) = 0;
    // A seat's user. False: the plug-in cannot take the user.
    virtual bool SetUserinfo(const QString& nickname, const QByteArray& seatName, int16_t seatBit, int16_t view,
                             bool flag, uint8_t sex, const QString& title, const QString& avatar) = 0;
    // State changes: (3, link up), (2, seated or not, view), (1, sound on, 0).
    virtual void rec_state(int16_t what, bool on, int16_t view) = 0;

    // The number of outputs waiting for the client.
    virtual int16_t CheckSendBuff() = 0;
    // Hands over one output: a picture, a text (also read as a number), a
    // 272-byte frame to send, the output type (0-5), the notice box (four
    // values) and the notice style (five values). The text comes in holding
    // what the client left in it.
    virtual void GetSendBuff(Picture& picture, QString& text, QByteArray& frame, int16_t& type,
                             std::vector<int32_t>& params, std::array<int32_t, 5>& extra) = 0;
    // A received 272-byte frame meant for the plug-in.
    virtual void Rec_MSG(std::array<uint8_t, 272>& frame) = 0;

    // The hand's end: the prop results by view (seat lines, coin changes,
    // box labels and items); 1 when filled, anything else: ask again.
    virtual int16_t GetScoreInfo(std::array<QString, 4>& seatNames, std::array<double, 4>& coinDelta,
                                 std::array<std::array<QString, 4>, 2>& seatEntries) = 0;
    virtual void InitShowNext(bool show) = 0;
    virtual void InitShowEnd() = 0;
    virtual void ShowGif(int16_t which, bool show) = 0;

    virtual void ClearUser(int16_t view) = 0;
    virtual void SetKeyDown(int16_t keyCode) = 0;
    virtual void setbankstate(int16_t state) = 0;
    // The table window is shown again.
    virtual void FixBuffPos() = 0;
    // Shows or closes the video over a seat; true when shown.
    virtual bool ShowZqVideo(int16_t view, bool show, int16_t mode) = 0;
    // Users left the table; names a file of the plug-in.
    virtual void Ainit(const QString& fileName) = 0;
    // The local player is leaving the table.
    virtual void UpdataMyProp(bool update) = 0;
    // Stops the plug-in; flag 1 when the table window unloads, else 0.
    virtual void InitExit(int16_t flag) = 0;
};

} // namespace platform
