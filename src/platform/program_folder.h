#pragma once

#include <QString>

namespace platform {

// The folder that holds the program, without a trailing separator; the
// current folder when no application object exists yet.
QString ProgramFolder();

} // namespace platform
