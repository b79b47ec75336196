#include "platform/process.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/wait.h>

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kLeakChecked = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kLeakChecked = true;
#else
constexpr bool kLeakChecked = false;
#endif
#else
constexpr bool kLeakChecked = false;
#endif

void* volatile g_sink = nullptr;

void LeakThenEnd(int exitCode)
{
    g_sink = std::malloc(64);
    g_sink = nullptr;
    platform::SystemProcess().endNow(exitCode);
}

bool ExitedWith0(int status) { return WIFEXITED(status) && WEXITSTATUS(status) == 0; }

} // namespace

TEST(SystemProcessDeathTest, EndsWithTheGivenCode)
{
    EXPECT_EXIT(platform::SystemProcess().endNow(3), testing::ExitedWithCode(3), "");
    EXPECT_EXIT(platform::SystemProcess().endNow(0), testing::ExitedWithCode(0), "");
}

// Under AddressSanitizer the immediate end still runs the leak check: a
// leak ends the process with the sanitizer's report instead of a clean 0.
TEST(SystemProcessDeathTest, ImmediateEndReportsLeaksUnderTheSanitizer)
{
    if (!kLeakChecked)
        GTEST_SKIP() << "not a sanitizer build";
    const char* options = std::getenv("ASAN_OPTIONS");
    if (options && std::string(options).find("detect_leaks=0") != std::string::npos)
        GTEST_SKIP() << "leak detection switched off";
    EXPECT_EXIT(LeakThenEnd(0), [](int status) { return !ExitedWith0(status); }, "LeakSanitizer");
}
