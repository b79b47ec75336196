#pragma once

#include "core/numeric.h"

#include <QByteArray>
#include <QSize>
#include <QString>
#include <stdexcept>

class Client;

namespace core {

// A fault during start-up: the client restores the lobby window and ends.
struct StartupFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The process's exit code when start-up ends without a running table (a
// second instance, no command line, or a start-up failure).
inline constexpr int kStartupFailedExit = 1;

// A field read as a 16-bit integer: a number, rounded to the nearest integer
// (halves to even), in -32768..32767. Anything else is a start-up failure.
int16_t ToInt16(const QString& field);
// A port field: a number 1..65535 after rounding (0 too where the port may
// be unused), else a start-up failure.
int32_t ToPort(const QString& field, bool zeroAllowed);

// Reads the command line's "$"-terminated fields into the settings. The line
// is the bytes the lobby passed, in the locale's encoding; a field that is
// not valid text there is a start-up failure.
void ReadCommandLine(Client& c, const QByteArray& trimmedLine);

// Sizes the table window for a screen of the given pixels and fixes the
// layout scale.
void SizeWindow(Client& c, QSize screen);

// Writes the login command into LoginFrame.
void BuildLoginFrame(Client& c);

// The table window's load: refuses a second instance and a missing command
// line, reads the command line, builds the login frame and starts the
// connection. Returns false when the process was ended (with the exit code
// kStartupFailedExit); a start-up failure writes one line to stderr.
bool Form_Load(Client& c, const QByteArray& commandLine, QSize screen);
// The same for a command line already held as text.
bool Form_Load(Client& c, const QString& commandLine, QSize screen);

// The table window was closed: stops the sound and the plug-in, closes the
// other windows and ends the process.
void Form_Unload(Client& c);

} // namespace core
