#pragma once

#include "platform/picture.h"

#include <QString>
#include <QStringList>
#include <cstdint>

class Client;

namespace window {

// Fills the picture id tables (decimal resource ids by role). Reads ScaleX.
void InitPicIds(Client& c);

// Puts GIF resource `id` on the control and returns true; returns false and
// leaves the control as it was when the resource cannot be loaded.
bool LoadGifResource(Client& c, int id, const QString& type, platform::HasPicture& control);

} // namespace window
