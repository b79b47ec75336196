#pragma once

#include <stdexcept>

namespace dispatch {

// A received frame that cannot be taken: a value out of its range, a seat
// bit that names no seat, a count that would overrun a table. The
// dispatcher answers it with its failure path (message, lobby restored,
// process ended).
class FrameFault : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace dispatch
