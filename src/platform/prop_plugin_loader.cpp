#include "platform/prop_plugin_loader.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace platform {

QString PropPluginPath(const QString& programFolder)
{
    return QDir(programFolder).absoluteFilePath(QStringLiteral("plugin/tools/Tamsel.so"));
}

bool LibraryPropPluginLoader::Exists(const QString& programFolder)
{
    const QFileInfo file(PropPluginPath(programFolder));
    return file.isFile();
}

std::unique_ptr<PropPlugin> LibraryPropPluginLoader::Create(const QString& programFolder)
{
    // Only the exact file is loaded, never a library found on a search path.
    if (!Exists(programFolder))
        return nullptr;
    QLibrary library(PropPluginPath(programFolder));
    if (!library.load()) {
        qWarning("prop plug-in not loaded: %s", qPrintable(library.errorString()));
        return nullptr;
    }
    const auto factory = reinterpret_cast<PropPluginFactory>(library.resolve(kPropPluginFactory));
    if (!factory) {
        qWarning("prop plug-in %s has no %s", qPrintable(library.fileName()), kPropPluginFactory);
        return nullptr;
    }
    return std::unique_ptr<PropPlugin>(factory(kPropPluginInterfaceVersion));
}

} // namespace platform
