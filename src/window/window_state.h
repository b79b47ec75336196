#pragma once

namespace window {

// The table window subsystem's own state.
struct WindowState {};

} // namespace window
