#pragma once

#include <QImage>

namespace platform {

// What a control's Picture property holds: the image shown and the picture
// resource it was loaded from (0 when it came from elsewhere), so that the
// table state can be read without looking at pixels.
struct Picture {
    int resourceId = 0;
    QImage image;
    bool isNull() const { return image.isNull(); }
};

// A control or window that has a Picture property.
class HasPicture {
public:
    virtual ~HasPicture() = default;
    virtual void SetPicture(const Picture& picture) = 0;
    virtual const Picture& GetPicture() const = 0;
};

} // namespace platform
