#pragma once

#include <QUrl>

namespace platform {

// Opens web addresses in the user's browser. Never a command line.
class Shell {
public:
    virtual ~Shell() = default;
    // True when the desktop took the address.
    virtual bool OpenUrl(const QUrl& url) = 0;
};

// The real shell: QDesktopServices.
class DesktopShell : public Shell {
public:
    bool OpenUrl(const QUrl& url) override;
};

} // namespace platform
