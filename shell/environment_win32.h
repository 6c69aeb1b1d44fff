// The process's environment variables for ExpandEnvironment.
#pragma once

#include "core/environment.h"

namespace kestrin {

// Reads each name from the environment at the time of the call (GetEnvironmentVariableA).
EnvironmentLookup ProcessEnvironment();

// The verb for an entry chosen now: the modifier keys as the choosing message left them.
const char* LaunchVerbForHeldKeys();

}  // namespace kestrin
