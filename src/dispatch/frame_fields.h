#pragma once

#include "dispatch/frame_checks.h"
#include "protocol/tile_code.h"
#include "protocol/frame.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

class Client;

// Reading the fields of a received frame: numbers, texts, seats and tiles,
// each checked where a bad value could do harm.
namespace dispatch {

// Unsigned little-endian numbers of 4 and 8 bytes from `first` on.
uint32_t LittleEndian32(const protocol::GameFrame& f, int first);
uint64_t LittleEndian64(const protocol::GameFrame& f, int first);

// A 32-bit little-endian number that must lie in 0 to 2^31 - 1; a larger
// one is a FrameFault naming `what`.
int32_t NonNegative32(const protocol::GameFrame& f, int first, const char* what);

// An 8-byte little-endian amount: negative when its last byte is above
// 0x80 (two's complement), otherwise taken as unsigned. Exact up to the
// precision of a double; no overflow for any bytes.
double Amount64(const protocol::GameFrame& f, int first);

// One character per byte from `first` up to the first zero byte, at most up
// to `last`.
QByteArray ByteChars(const protocol::GameFrame& f, int first, int last);

// A GBK text from `first`: a zero byte ends it, a byte below 0x80 is one
// character, a byte of 0x80 or more takes the next byte as its trail. Only
// characters that start before `end` are read, so a lead byte at end - 1
// still takes its trail from `end`.
QString GbkText(const protocol::GameFrame& f, int first, int end);

using protocol::IsSeatBit;

// The view of a seat named by its seat bit; any other value is a
// FrameFault.
int ViewOfSeat(const Client& c, int seatBit);

// The decimal text of a number held as a double: integral values without a
// decimal point.
QString Decimal(double value);

} // namespace dispatch
