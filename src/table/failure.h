#pragma once

#include "table/players.h"

#include <array>
#include <cstddef>
#include <stdexcept>
#include <string>

namespace table {

// A value that would index outside its table. Thrown instead of reading or
// writing out of bounds; the failure handling of whoever armed it takes it.
class IndexFault : public std::out_of_range {
public:
    using std::out_of_range::out_of_range;
};

// A failure inside a procedure whose own failure handling ends the client
// without a message: whoever catches it restores the lobby window and ends
// the process.
class TableFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline void RequireIndex(int i, int size, const char* what)
{
    if (i < 0 || i >= size)
        throw IndexFault(std::string(what) + " index " + std::to_string(i) + " outside 0-" + std::to_string(size - 1));
}

// Bounds-checked element of a fixed table.
template <typename T, std::size_t N>
T& At(std::array<T, N>& a, int i, const char* what = "table")
{
    RequireIndex(i, static_cast<int>(N), what);
    return a[static_cast<std::size_t>(i)];
}

// Bounds-checked tile slot (0 to 17) of a seat.
inline TileSlot& SlotAt(PlayerRecord& p, int i) { return At(p.Slots, i, "slot"); }

// Runs the part of a procedure after which any failure ends the client
// without a message: a failure inside it comes out as a TableFailure.
template <typename Body>
void RunOrEnd(Body&& body)
{
    try {
        body();
    } catch (const TableFailure&) {
        throw;
    } catch (const std::exception& e) {
        throw TableFailure(e.what());
    }
}

} // namespace table
