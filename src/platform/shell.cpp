#include "platform/shell.h"

#include <QDesktopServices>

namespace platform {

bool DesktopShell::OpenUrl(const QUrl& url) { return QDesktopServices::openUrl(url); }

} // namespace platform
