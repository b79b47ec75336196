#include "rewards/goods_cmd.h"

#include "app/client.h"
#include "match/match.h"

namespace rewards {

void SendGoodsCmd(Client& c, uint8_t subCode, int32_t goodsId, int32_t count)
{
    core::GameFrame frame{};
    frame[core::frame_byte::Kind] = 93;
    frame[16] = subCode;
    for (int i = 0; i < 4; ++i) {
        frame[static_cast<std::size_t>(17 + i)] = static_cast<uint8_t>(static_cast<uint32_t>(goodsId) >> (8 * i));
        frame[static_cast<std::size_t>(21 + i)] = static_cast<uint8_t>(static_cast<uint32_t>(count) >> (8 * i));
    }
    match::QueueMatchFrame(c, frame);
}

} // namespace rewards
