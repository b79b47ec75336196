#pragma once

#include <QString>

namespace platform {

// The native form of a path written with backslashes as separators.
inline QString NativePath(const QString& path)
{
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return p;
}

} // namespace platform
