#include "platform/data_folder.h"

#include <QDir>

namespace platform {

QString DataFolder()
{
    QString dir = qEnvironmentVariable("MJCLIENT_DATA_DIR");
    if (dir.isEmpty()) {
        QString base = qEnvironmentVariable("XDG_DATA_HOME");
        // A relative XDG_DATA_HOME is invalid and ignored.
        if (base.isEmpty() || QDir::isRelativePath(base))
            base = QDir::homePath() + QStringLiteral("/.local/share");
        dir = base + QStringLiteral("/mjclient");
    }
    if (!QDir().mkpath(dir))
        return QString();
    return QDir(dir).absolutePath();
}

} // namespace platform
