#pragma once

namespace platform {

// Ending the process at once, without unwinding. Tests substitute a process
// that records the call, so callers must return right after endNow().
class Process {
public:
    virtual ~Process() = default;
    virtual void endNow(int exitCode = 0) = 0;
};

class SystemProcess : public Process {
public:
    void endNow(int exitCode = 0) override;
};

} // namespace platform
