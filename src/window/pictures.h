#pragma once

#include "platform/picture.h"

#include <QString>
#include <array>

class Client;

namespace window {

// The picture id tables: every picture of the table window named by role,
// each entry the decimal text of a resource number. Filled once by
// InitPicIds at start-up, read everywhere after.
struct PicIdTables {
    // Ten pairs (normal, highlighted) of main buttons: 发送 聊天 开始 继续 设置
    // 隐藏 战绩 历史 规则 退出; the small layout has its own smaller pictures.
    std::array<QString, 20> AnNiuPicIds;
    // Tile faces and backs by picture index: 36 per view, views 0-4.
    std::array<QString, 180> TilePicIds;
    // Claim buttons 吃 碰 杠 胡 过 and a report button: idle, offered,
    // highlighted picture of each.
    std::array<QString, 18> OperationPicIds;
    // The large die: faces 1-6, then ten frames of a tumbling die.
    std::array<QString, 16> DiceRollPicIds;
    // Speech bubble of operation k (0-8) for views 1-3; row 0 is unused so
    // that the table reads SpeakPicIds[view][k].
    std::array<std::array<QString, 9>, 4> SpeakPicIds;
    // Twenty avatar portraits.
    std::array<QString, 20> AvatarPicIds;
    // OK and cancel (normal, highlighted), off, on, Mandarin, local dialect.
    std::array<QString, 8> DialogPicIds;
    // The compass turned for the local player's seat index 0-3.
    std::array<QString, 4> CompassPicIds;
    // Small dice faces 1-6.
    std::array<QString, 6> DicePicIds;
};

// Fills every id table. Reads ScaleX only: the small layout gets the small
// main-button pictures.
void InitPicIds(Client& c);

// Puts the picture of resource (id, type) on the control and returns true.
// Returns false when anything fails (no such resource, a type other than
// "GIF", data that cannot be decoded) and leaves the control's picture as it
// was. The id is a 16-bit resource number, or its decimal text as the id
// tables hold it.
bool LoadGifResource(int id, const QString& type, platform::HasPicture& control);
bool LoadGifResource(const QString& id, const QString& type, platform::HasPicture& control);

// The same route, returning the picture instead of assigning it; a null
// picture on failure.
platform::Picture LoadGifPicture(int id, const QString& type);
platform::Picture LoadGifPicture(const QString& id, const QString& type);

} // namespace window
