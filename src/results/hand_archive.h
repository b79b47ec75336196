#pragma once

#include <QString>
#include <cstdint>

class Client;

namespace platform {
class ListBox;
}

// The hand archive "info.zq": the score sheet of every hand played at the
// table, one INI section per hand ("juNum:" and the hand number), in the
// client's data folder.
namespace results {

// The archive's path; empty when the client has no data folder.
QString HandArchivePath(const Client& c);

// Deletes the archive file when it exists (a file left by an earlier run
// would mix its hands with this run's, since hand numbers recur).
void DeleteHandArchive(const Client& c);

// Writes the section of hand `handNo` from the score window: the four seat
// names and avatar numbers, the items of the eight lists and the text colour
// of lists 0-3. Nothing is reported; without a data folder nothing is written.
void SaveHandSheet(Client& c, int16_t handNo);

// Replaces the score window's names, avatars, lists and list colours by the
// section of hand `handNo`; 0 does nothing. Values come back without their
// surrounding spaces, an empty line as one space. A missing or damaged
// section (a count missing, not a number, negative or too large) empties the
// names and the eight lists. Neither shows nor hides the window.
void LoadHandSheet(Client& c, int16_t handNo);

// Text colour of a list box as the sheet keeps it (0x00BBGGRR), 0 until set.
int32_t ListForeColor(const platform::ListBox& list);
void SetListForeColor(platform::ListBox& list, int32_t bgr);

} // namespace results
