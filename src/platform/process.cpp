#include "platform/process.h"

#include <cstdio>
#include <cstdlib>

#if defined(__SANITIZE_ADDRESS__)
#define MJ_LEAK_CHECK 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MJ_LEAK_CHECK 1
#endif
#endif

#ifdef MJ_LEAK_CHECK
#include <sanitizer/lsan_interface.h>
#endif

namespace platform {

void SystemProcess::endNow(int exitCode)
{
    std::fflush(nullptr);
#ifdef MJ_LEAK_CHECK
    // _Exit skips the leak check that a normal exit runs; run it here so a
    // sanitizer build still reports what the client leaked. It ends the
    // process itself when it finds a leak.
    __lsan_do_leak_check();
#endif
    std::_Exit(exitCode);
}

} // namespace platform
