// The commands that run until told to stop (searchd, spelld, worker) end
// their work cleanly on SIGINT or SIGTERM instead of dying mid-answer.
#pragma once

#include <atomic>

// Installs the handlers; the flag turns true on the first signal.
std::atomic<bool>& CatchStopSignals();
