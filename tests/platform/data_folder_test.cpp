#include "platform/data_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Sets or clears an environment variable for one test, restoring it after.
class EnvGuard {
public:
    EnvGuard(const char* name, const QString& value) : name_(name), had_(qEnvironmentVariableIsSet(name))
    {
        old_ = qgetenv(name);
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value.toLocal8Bit());
    }
    ~EnvGuard()
    {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }

private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

struct FolderCase {
    const char* name;
    const char* override_; // relative to the temporary folder, or null
    const char* xdg;       // relative to the temporary folder, "!rel" for a relative value, or null
    const char* home;      // relative to the temporary folder
    const char* expected;  // relative to the temporary folder
};

void PrintTo(const FolderCase& c, std::ostream* os) { *os << c.name; }

class DataFolderChoice : public testing::TestWithParam<FolderCase> {};

TEST_P(DataFolderChoice, PicksAndCreatesTheFolder)
{
    const FolderCase& fc = GetParam();
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const auto in = [&](const char* rel) { return rel ? tmp.filePath(QString::fromLatin1(rel)) : QString(); };
    const QString xdg = fc.xdg && QByteArray(fc.xdg) == "!rel" ? QStringLiteral("relative/data") : in(fc.xdg);
    EnvGuard over("MJCLIENT_DATA_DIR", in(fc.override_));
    EnvGuard data("XDG_DATA_HOME", xdg);
    EnvGuard home("HOME", in(fc.home));

    const QString folder = platform::DataFolder();
    EXPECT_EQ(folder, QDir(in(fc.expected)).absolutePath());
    EXPECT_TRUE(QFileInfo(folder).isDir());
}

INSTANTIATE_TEST_SUITE_P(
    Paths, DataFolderChoice,
    testing::Values(FolderCase{"override_wins", "mine/deep", "xdg", "home", "mine/deep"},
                    FolderCase{"xdg_data_home", nullptr, "xdg", "home", "xdg/mjclient"},
                    FolderCase{"home_fallback", nullptr, nullptr, "home", "home/.local/share/mjclient"},
                    FolderCase{"relative_xdg_ignored", nullptr, "!rel", "home", "home/.local/share/mjclient"}));

TEST(DataFolder, IsEmptyWhenItCannotBeCreated)
{
    QTemporaryDir tmp;
    QFile blocker(tmp.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EnvGuard over("MJCLIENT_DATA_DIR", tmp.filePath(QStringLiteral("file/sub")));
    EXPECT_TRUE(platform::DataFolder().isEmpty());
}

} // namespace
