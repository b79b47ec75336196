// Finding and starting the prop plug-in library of a program folder.
#include "platform/prop_plugin_loader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using platform::LibraryPropPluginLoader;

TEST(PropPluginLoader, LibraryLiesInThePluginToolsFolder)
{
    EXPECT_EQ(platform::PropPluginPath(QStringLiteral("/opt/mj")), QStringLiteral("/opt/mj/plugin/tools/Tamsel.so"));
}

TEST(PropPluginLoader, LoadsTheLibraryAndMakesAPluginOfTheInterfaceVersion)
{
    LibraryPropPluginLoader loader;
    const QString folder = QStringLiteral(MJ_TEST_PLUGIN_FOLDER);
    ASSERT_TRUE(loader.Exists(folder));
    std::unique_ptr<platform::PropPlugin> plugin = loader.Create(folder);
    ASSERT_NE(plugin, nullptr);
    // The test library's own answers: the calls reach its code.
    EXPECT_EQ(plugin->CheckSendBuff(), 2);
    EXPECT_TRUE(plugin->Initdll("alice", "key", QStringLiteral("DLL"), 0, QStringLiteral("dorvak"), 1, 42));
    EXPECT_FALSE(plugin->Initdll("alice", "key", QStringLiteral("DLL"), 0, QStringLiteral("dorvak"), 2, 42));
    // A second plug-in from the same, still loaded, library.
    EXPECT_NE(loader.Create(folder), nullptr);
}

TEST(PropPluginLoader, AbsentWithoutTheLibrary)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    LibraryPropPluginLoader loader;
    EXPECT_FALSE(loader.Exists(folder.path()));
    EXPECT_EQ(loader.Create(folder.path()), nullptr);
    // A folder of that name is no library either.
    ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("plugin/tools/Tamsel.so")));
    EXPECT_FALSE(loader.Exists(folder.path()));
    EXPECT_EQ(loader.Create(folder.path()), nullptr);
}

TEST(PropPluginLoader, AFileThatIsNoLibraryMakesNoPlugin)
{
    QTemporaryDir folder;
    ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("plugin/tools")));
    QFile file(platform::PropPluginPath(folder.path()));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a library");
    file.close();
    LibraryPropPluginLoader loader;
    EXPECT_TRUE(loader.Exists(folder.path()));
    EXPECT_EQ(loader.Create(folder.path()), nullptr);
}
