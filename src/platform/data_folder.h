#pragma once

#include <QString>

namespace platform {

// The folder for the files the program writes (the hand archive, logs,
// downloaded documents, saved settings): $MJCLIENT_DATA_DIR when set,
// otherwise $XDG_DATA_HOME/mjclient, otherwise ~/.local/share/mjclient.
// Created on first use; the files the program only reads stay beside it.
// Returns an empty string when the folder cannot be created.
QString DataFolder();

} // namespace platform
