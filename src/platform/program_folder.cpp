#include "platform/program_folder.h"

#include <QCoreApplication>
#include <QDir>

namespace platform {

QString ProgramFolder()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QDir::currentPath();
}

} // namespace platform
