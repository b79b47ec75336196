#pragma once

#include "platform/prop_plugin.h"

#include <QString>
#include <memory>

namespace platform {

// A prop plug-in library exports this C function:
//
//   extern "C" platform::PropPlugin* mj_create_prop_plugin(int interfaceVersion);
//
// It returns a new plug-in object (the client deletes it through its
// virtual destructor) or nullptr when it does not speak that version of the
// interface.
inline constexpr char kPropPluginFactory[] = "mj_create_prop_plugin";
inline constexpr int kPropPluginInterfaceVersion = 1;
using PropPluginFactory = PropPlugin* (*)(int interfaceVersion);

// The plug-in library of a program folder: <folder>/plugin/tools/Tamsel.so.
QString PropPluginPath(const QString& programFolder);

// Finds and starts the prop plug-in of the program's folder.
class PropPluginLoader {
public:
    virtual ~PropPluginLoader() = default;
    // Whether the plug-in's library file is there.
    virtual bool Exists(const QString& programFolder) = 0;
    // A new plug-in object, or nullptr when the library is missing, cannot
    // be loaded, lacks the factory or refuses the interface version.
    virtual std::unique_ptr<PropPlugin> Create(const QString& programFolder) = 0;
};

// The real loader: loads the library by its absolute path with QLibrary.
// The library stays loaded for the rest of the run.
class LibraryPropPluginLoader : public PropPluginLoader {
public:
    bool Exists(const QString& programFolder) override;
    std::unique_ptr<PropPlugin> Create(const QString& programFolder) override;
};

} // namespace platform
