#pragma once

#include <QString>

namespace platform {

// Tells whether another instance of the program runs: the first instance
// holds an exclusive lock on a file in the runtime folder for as long as it
// lives; the lock goes with the process, however it ends.
class InstanceLock {
public:
    explicit InstanceLock(QString name = QStringLiteral("mjclient"));
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Takes the lock; false when another process holds it.
    bool TryAcquire();

private:
    QString path_;
    int fd_ = -1;
};

} // namespace platform
