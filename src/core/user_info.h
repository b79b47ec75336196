#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

class Client;
namespace platform {
class HasPicture;
}

namespace core {

// The user record of one seat, decoded from a user-info frame (kind 20).
struct UserInfo {
    QString Nickname;
    QString AvatarId; // a letter ("m" or "w") and a number
    uint8_t Sex = 0;  // 0 woman, otherwise man
    QString CardText;
    double Points = 0;
    double MemberLevel = 0;
    double Coins = 0;
    double Value104 = 0;
    QString LevelText;
    double Value128 = 0;
    double Value136 = 0;
    double RoomGrade = 0;
    int32_t Count152 = 0;
    int32_t Count156 = 0;
    int32_t Count160 = 0;
    int32_t Count164 = 0;
    QByteArray Account; // as the frame carries it, one byte per character
    QString Title;
    QString Voice1;
    QString Voice2;
    uint8_t VoiceKind = 0;
    int16_t SnapshotMark = 0;
    double UserId = 0;
    int16_t VipLevel = 0;

    // The voice fields name files: only letters and digits make a usable
    // voice; anything else and the seat plays no voice.
    bool HasSafeVoice() const;

    // Empties the record as a seat is left: every field goes but the
    // account, title, voices, voice kind, snapshot mark and user id.
    void ClearSeatFields();
};

// Decodes the user fields of a kind-20 frame into `record`; VoiceKind and
// SnapshotMark keep their values.
void ParseUserInfo(UserInfo& record, const uint8_t* frame);

// The avatar picture number 0-19 of an avatar id: one digit, or two digits
// for ids 10 and above, minus 1 (10 or more count as 0), plus 10 for a
// woman's "w". Nothing when the id names no picture.
std::optional<int> AvatarNumber(const QString& avatarId);

// Shows the avatar of `avatarId` on a picture control; an id that names no
// picture leaves the control as it is.
void ShowAvatar(Client& c, const QString& avatarId, platform::HasPicture& control);

// Fills the seat panel of a view (and its avatar and name on the score and
// history windows) from the view's user record.
void ShowSeatPanel(Client& c, int view);

// Seats a watched table from the four buffered user-info frames and fills
// the seat panels (spectator mode).
void ShowUserInfo(Client& c);

} // namespace core
