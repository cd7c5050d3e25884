// SPDX-License-Identifier: Apache-2.0
// Restoring a module's factory settings: one frame, one time-out.
#pragma once

#include "core/Machine.h"

namespace kelvane {

void restoreDefaults(Machine &m);
// Timer1 expired while Step is 20.
void defaultsTimeout(Machine &m);

}  // namespace kelvane
