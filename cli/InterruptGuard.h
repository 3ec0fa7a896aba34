#pragma once

#include <csignal>

// While it lives, Ctrl-C (SIGINT) and SIGTERM do not end the process but mark an abort
// that a transfer sees between its chunks, as a click on Abort would be. The previous
// handling comes back on destruction.
class TInterruptGuard
{
public:
    TInterruptGuard();
    ~TInterruptGuard();
    TInterruptGuard(const TInterruptGuard&) = delete;
    TInterruptGuard& operator=(const TInterruptGuard&) = delete;

    /// True once SIGINT or SIGTERM came while this guard was installed.
    bool IsInterrupted() const;

private:
    struct sigaction m_PreviousInterrupt;
    struct sigaction m_PreviousTerminate;
};
