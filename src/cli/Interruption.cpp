// SPDX-License-Identifier: Apache-2.0
#include "Interruption.h"

#include <atomic>
#include <csignal>

namespace kelvane::cli {

namespace {

std::atomic<bool> interruptRequested = false;
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

extern "C" void onInterrupt(int)
{
    interruptRequested = true;
    // The next Ctrl+C takes the default way out.
    std::signal(SIGINT, SIG_DFL);
}

}  // namespace

Interruption::Interruption()
{
    interruptRequested = false;
    std::signal(SIGINT, onInterrupt);
}

Interruption::~Interruption()
{
    std::signal(SIGINT, SIG_DFL);
}

bool Interruption::requested()
{
    return interruptRequested;
}

}  // namespace kelvane::cli
