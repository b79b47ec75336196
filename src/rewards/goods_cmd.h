#pragma once

#include <cstdint>

class Client;

namespace rewards {

// Queues a goods frame (kind 93): byte 16 the sub-code, bytes 17-20 the
// goods id and 21-24 the count, little-endian.
void SendGoodsCmd(Client& c, uint8_t subCode, int32_t goodsId, int32_t count);

} // namespace rewards
