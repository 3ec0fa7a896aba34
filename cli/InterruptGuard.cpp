#include "cli/InterruptGuard.h"

namespace
{
// A signal handler can only reach state of static storage; this flag is its one write.
volatile std::sig_atomic_t g_Interrupted = 0;

extern "C" void OnInterrupt(int)
{
    g_Interrupted = 1;
}
} // namespace

TInterruptGuard::TInterruptGuard() : m_PreviousInterrupt{}, m_PreviousTerminate{}
{
    g_Interrupted = 0;
    struct sigaction action = {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    // Restart interrupted calls: the exchange in flight finishes, the transfer stops after it.
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, &m_PreviousInterrupt);
    sigaction(SIGTERM, &action, &m_PreviousTerminate);
}

TInterruptGuard::~TInterruptGuard()
{
    sigaction(SIGTERM, &m_PreviousTerminate, nullptr);
    sigaction(SIGINT, &m_PreviousInterrupt, nullptr);
}

bool TInterruptGuard::IsInterrupted() const
{
    return g_Interrupted != 0;
}
