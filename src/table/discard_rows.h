#pragma once

#include <cstdint>

class Client;

namespace table {

// The first step of every draw: lays the discard standing in the middle of
// the table into its discarder's row (eight tiles to a row), or a discarded
// red dragon, green dragon or wild tile into the discarder's special-kong
// row. A single draw (count 1) pauses 0.4 s first. Nothing is laid after a
// kong or when there is no last discard.
void LayLastDiscard(Client& c, uint8_t seat, uint8_t count);

} // namespace table
