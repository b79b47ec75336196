#include "rewards/goods_cmd.h"

#include "app/client.h"
#include "match/match.h"
#include "protocol/kinds.h"

namespace rewards {

void SendGoodsCmd(Client& c, uint8_t subCode, int32_t goodsId, int32_t count)
{
    protocol::GameFrame frame{};
    frame[protocol::frame_byte::Kind] = protocol::CmdGoods;
    frame[protocol::goods_byte::SubCode] = subCode;
    for (int i = 0; i < 4; ++i) {
        frame[static_cast<std::size_t>(protocol::goods_byte::GoodsId + i)] =
            static_cast<uint8_t>(static_cast<uint32_t>(goodsId) >> (8 * i));
        frame[static_cast<std::size_t>(protocol::goods_byte::Count + i)] =
            static_cast<uint8_t>(static_cast<uint32_t>(count) >> (8 * i));
    }
    match::QueueMatchFrame(c, frame);
}

} // namespace rewards
