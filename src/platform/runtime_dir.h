#pragma once

#include <QString>

namespace platform {

// The user's private runtime folder: $XDG_RUNTIME_DIR when set, otherwise a
// folder of this user's own under the temporary folder, created with mode
// 0700 on first use.
QString RuntimeDir();

} // namespace platform
