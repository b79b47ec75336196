#pragma once

#include <QString>
#include <QStringList>
#include <array>

namespace window {

// The table window subsystem's own state.
struct WindowState {
    // Picture id tables: decimal resource ids by role.
    QStringList AnNiuPicIds;
    QStringList TilePicIds;
    QStringList OperationPicIds;
    QStringList DiceRollPicIds;
    QStringList AvatarPicIds;
    QStringList DialogPicIds;
    QStringList CompassPicIds;
    QStringList DicePicIds;
    std::array<std::array<QString, 9>, 4> SpeakPicIds; // views 1-3

    // The window draws its own frame (screens larger than the table).
    bool WindowFramed = false;
};

} // namespace window
