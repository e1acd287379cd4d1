#include "platform/sys/Signals.h"

#include <atomic>
#include <csignal>

namespace platform {

namespace {

// Only lock-free atomics and async-signal-safe calls below, in the handler.
std::atomic<int> g_pending{0};
static_assert(std::atomic<int>::is_always_lock_free);

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void OnTerminationSignal(int sig) {
    if (g_pending.exchange(sig) != 0) {
        // Asked twice and the loop has not got to it: end now.
        std::signal(sig, SIG_DFL);
        std::raise(sig);
    }
}

void SetAll(void (*handler)(int)) {
    struct sigaction sa {};
    sa.sa_handler = handler;
    sigemptyset(&sa.sa_mask);
    // Reads and writes that a signal interrupts carry on (a save to a pipe must not fail just
    // because the program is asked to end); waits such as poll return early whatever this says.
    sa.sa_flags = SA_RESTART;
    for (int sig : kSignals)
        sigaction(sig, &sa, nullptr);
}

} // namespace

void CatchTerminationSignals() {
    g_pending.store(0);
    SetAll(&OnTerminationSignal);
}

void ReleaseTerminationSignals() {
    SetAll(SIG_DFL);
    g_pending.store(0);
}

bool TerminationPending() {
    return g_pending.load() != 0;
}

bool TakeTerminationRequest() {
    return g_pending.exchange(0) != 0;
}

} // namespace platform
