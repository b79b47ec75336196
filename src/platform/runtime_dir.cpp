#include "platform/runtime_dir.h"

#include <QDir>
#include <QFileInfo>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

QString RuntimeDir()
{
    const QString xdg = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!xdg.isEmpty() && QFileInfo(xdg).isDir())
        return xdg;
    const QString dir = QDir::tempPath() + QStringLiteral("/mjclient-%1").arg(::getuid());
    const QByteArray path = QFile::encodeName(dir);
    if (::mkdir(path.constData(), 0700) != 0) {
        struct stat st {};
        // An existing folder is only trusted when it is ours and private.
        if (::lstat(path.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid())
            return QDir::tempPath();
        ::chmod(path.constData(), 0700);
    }
    return dir;
}

} // namespace platform
