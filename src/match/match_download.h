#pragma once

#include "protocol/frame.h"

#include <QString>
#include <cstdint>

class Client;

namespace platform {
struct HttpReply;
}

namespace match {

// What a match-info announcement (kind 80) carries.
struct MatchInfoAnnouncement {
    QString md5; // as sent, untrimmed
    QString url; // as sent, untrimmed
    bool hasSettings = false; // the byte after the address is its NUL
    uint8_t region = 0;       // price region as sent
    uint32_t reserve = 0;     // reserve as sent
    int afterUrl = 0;         // the byte right after the address
};

// Reads a kind-80 frame; never past byte 271.
MatchInfoAnnouncement DecodeMatchInfoUrl(const protocol::GameFrame& frame);

// The folder the match-info document is kept in: "matches" in the data
// folder, made when missing; "" when there is no data folder.
QString MatchFolder(Client& c);

// A file name the document may be stored under: 1 to 64 of A-Z a-z 0-9 . _ -,
// not starting with a dot, and none of the names the program uses itself.
bool IsPlainMatchFileName(const QString& name);

// The handler of kind 80: records the document's address, MD5 and the room
// settings, then loads the stored copy when its MD5 matches or starts the
// download.
void MsgMatchInfoUrl(Client& c, const protocol::GameFrame& frame);

// MatchInfoFile from the announced address; false when there is none or it
// is not a plain file name (the matches then stay off).
bool GetMatchFileName(Client& c);

// True when the stored copy exists and its MD5 is the announced one (letter
// case ignored).
bool checkMd5(Client& c);

// The end of a download: a good answer is written to "tmp.xml", checked by
// MD5, moved over the stored copy and loaded; anything else leaves the stored
// copy as it was and switches the match data off.
void OnMatchInfoFetched(Client& c, const platform::HttpReply& reply);

} // namespace match
