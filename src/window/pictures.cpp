#include "window/pictures.h"

#include "app/client.h"
#include "platform/resources.h"
#include "widgets/gif_frames.h"

#include <QHash>
#include <QImage>
#include <cstdint>
#include <limits>
#include <optional>

namespace window {

namespace {

QString Num(int n) { return QString::number(n); }

// The resource number a caller may pass as text: decimal, surrounding
// blanks allowed, within the 16-bit range.
std::optional<int> IdOfText(const QString& text)
{
    bool ok = false;
    const int id = text.trimmed().toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return id;
}

// The resources filed under "GIF" hold GIF, PNG or JPEG data. GIF goes
// through our own decoder (its first frame); the platform reads only the
// other two, named by their signatures.
QImage DecodePictureData(const QByteArray& bytes)
{
    if (bytes.startsWith("\x89PNG\r\n\x1a\n"))
        return QImage::fromData(bytes, "PNG");
    if (bytes.startsWith("\xFF\xD8\xFF"))
        return QImage::fromData(bytes, "JPEG");
    return widgets::GifFirstFrame(bytes);
}

// Reads and decodes the resource; a null picture when anything fails.
// The embedded pictures never change while the program runs and are
// reloaded on every turn (operation buttons, tiles, dice), so each is
// decoded once; QImage shares its pixels, and a copy detaches when written.
platform::Picture Decode(int id, const QString& type)
{
    if (id < std::numeric_limits<int16_t>::min() || id > std::numeric_limits<int16_t>::max())
        return {};
    if (type.compare(QLatin1String("GIF"), Qt::CaseInsensitive) != 0)
        return {};
    static QHash<int, QImage> decoded; // only pictures that decoded; at most one per resource
    platform::Picture picture;
    if (const auto known = decoded.constFind(id); known != decoded.constEnd()) {
        picture.image = *known;
    } else {
        const std::optional<QByteArray> bytes = platform::LoadResData(id, type);
        if (!bytes)
            return {};
        picture.image = DecodePictureData(*bytes);
        if (picture.image.isNull())
            return {};
        decoded.insert(id, picture.image);
    }
    picture.resourceId = id;
    return picture;
}

bool Assign(const platform::Picture& picture, platform::HasPicture& control)
{
    if (picture.isNull())
        return false;
    control.SetPicture(picture);
    return true;
}

} // namespace

void InitPicIds(Client& c)
{
    PicIdTables& t = c.window.PicIds;
    const bool fullScale = c.game.ScaleX == 1.0f;
    for (int i = 0; i < 20; ++i)
        t.AnNiuPicIds[i] = Num(fullScale || i < 2 ? 101 + i : 379 + i);
    for (int v = 0; v <= 4; ++v)
        for (int s = 0; s <= 3; ++s)
            for (int r = 1; r <= 9; ++r)
                t.TilePicIds[36 * v + 9 * s + r - 1] = Num(201 + 36 * v + 9 * s + r - 1);
    for (int i = 0; i < 18; ++i)
        t.OperationPicIds[i] = Num(141 + i);
    for (int i = 0; i < 16; ++i)
        t.DiceRollPicIds[i] = Num(161 + i);
    for (int v = 1; v <= 3; ++v)
        for (int k = 0; k <= 8; ++k)
            t.SpeakPicIds[v][k] = Num(430 + 9 * (v - 1) + k);
    for (int i = 0; i < 20; ++i)
        t.AvatarPicIds[i] = Num(i < 10 ? 191 + i : 391 + i);
    for (int i = 0; i < 8; ++i)
        t.DialogPicIds[i] = Num(130 + i);
    for (int i = 0; i < 4; ++i)
        t.CompassPicIds[i] = Num(126 + i);
    for (int i = 0; i < 6; ++i)
        t.DicePicIds[i] = Num(600 + i);
}

bool LoadGifResource(int id, const QString& type, platform::HasPicture& control)
{
    return Assign(Decode(id, type), control);
}

bool LoadGifResource(const QString& id, const QString& type, platform::HasPicture& control)
{
    const std::optional<int> n = IdOfText(id);
    return n && LoadGifResource(*n, type, control);
}

platform::Picture LoadGifPicture(int id, const QString& type) { return Decode(id, type); }

platform::Picture LoadGifPicture(const QString& id, const QString& type)
{
    const std::optional<int> n = IdOfText(id);
    return n ? Decode(*n, type) : platform::Picture{};
}

} // namespace window
