#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>
#include <utility>

// INI files read and written like the classic profile functions: sections in
// square brackets, key=value lines, names compared without regard to ASCII
// case, text handled as raw bytes (the callers pass GBK). Every call goes to
// the file; nothing is cached.
namespace platform::profile {

// Looks up key in section of the file at path and copies the value (or
// `def` when the file, section or key is missing) into buffer, at most
// size - 1 bytes followed by a NUL. Bytes of buffer past the NUL are left
// as they were. A value enclosed in matching quotes loses the quotes.
// Returns the number of bytes copied, not counting the NUL.
int GetString(const QByteArray& section, const QByteArray& key, const QByteArray& def, char* buffer, int size,
              const QString& path);

// Writes key=value into section, creating file, section and key as needed.
// No key: the whole section is removed. No value: the key is removed.
// The file is replaced as a whole, so a failed write leaves the old file.
// Returns false when the file could not be written.
bool WriteString(const QByteArray& section, const std::optional<QByteArray>& key,
                 const std::optional<QByteArray>& value, const QString& path);

// Writes several key=value pairs into section, in order, with one read of
// the file and one replacement of it: the file ends exactly as after one
// WriteString call per pair, without rewriting it for every key. No pairs:
// the file is not touched. Returns false when the file could not be written.
bool WriteStrings(const QByteArray& section, const QList<std::pair<QByteArray, QByteArray>>& pairs,
                  const QString& path);

} // namespace platform::profile
