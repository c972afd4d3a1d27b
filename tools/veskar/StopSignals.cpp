// One stop flag for the process, set from the signal handler.
#include "StopSignals.h"

#include <csignal>

namespace {

std::atomic<bool> g_bStopRequested{false};

void OnStopSignal(int)
{
    g_bStopRequested = true;
}

}  // namespace

std::atomic<bool>& CatchStopSignals()
{
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    return g_bStopRequested;
}
