#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace platform {

// The program's own resources: the pictures made by tools/resgen, embedded
// as Qt resources ":/gif/<id>.gif" and all filed under the type "GIF",
// whatever their data (GIF, JPEG or PNG). Returns the bytes of resource
// (type, id) whole, or nothing when the program has no such resource.
std::optional<QByteArray> LoadResData(int id, const QString& type);

} // namespace platform
