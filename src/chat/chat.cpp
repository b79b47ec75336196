#include "chat/chat.h"

#include "app/client.h"
#include "chat/talk_form.h"
#include "platform/gbk.h"
#include "table/utilities.h"

namespace chat {

namespace {
constexpr int kRelayLength = 236;
constexpr int kTextFirst = 16;
constexpr int kTextBytes = 201; // 16-215, and the trail byte of a character starting at 215
constexpr int16_t kHistoryWidth = 46;
} // namespace

bool IsRelayFrame(const uint8_t* f)
{
    const uint32_t len = uint32_t(f[kRelayLength]) << 24 | uint32_t(f[kRelayLength + 1]) << 16 |
                         uint32_t(f[kRelayLength + 2]) << 8 | f[kRelayLength + 3];
    return len == 272 || len == 260;
}

void OnChatFrame(Client& c)
{
    const uint8_t* f = c.core.RecvFrame.data();
    if (IsRelayFrame(f))
        return; // no prop plug-in runs yet to take it
    // The trail byte of a double-byte character that starts at byte 215 is
    // byte 216, so the window is one byte wider than the text field.
    const QString text = platform::gbk::Decode(f + kTextFirst, kTextBytes);
    table::WrapToList(*c.Talk->Text1, text, kHistoryWidth);
}

} // namespace chat
