// SPDX-License-Identifier: Apache-2.0
// Writing 17 values to a module, three attempts at most.
#pragma once

#include "core/Machine.h"

namespace kelvane {

// The start of a write with m.writeValues, and every restart after a time-out.
void startWrite(Machine &m);
// Timer1 expired while a write awaits an acknowledgement.
void writeTimeout(Machine &m);

}  // namespace kelvane
