#include "platform/instance_lock.h"

#include "platform/runtime_dir.h"

#include <QFile>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

InstanceLock::InstanceLock(QString name) : path_(RuntimeDir() + QLatin1Char('/') + name + QStringLiteral(".lock")) {}

InstanceLock::~InstanceLock()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool InstanceLock::TryAcquire()
{
    if (fd_ >= 0)
        return true;
    const QByteArray p = QFile::encodeName(path_);
    const int fd = ::open(p.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return true; // no lock file possible: do not stop the player from playing
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

} // namespace platform
