// Writing the window's values to the selected module, three attempts at most.
#pragma once

#include "core/Machine.h"

namespace kelvane {

// Pressing Setting, and every restart after a time-out.
void startWrite(Machine &m);
// Timer1 expired while a write awaits an acknowledgement.
void writeTimeout(Machine &m);

}  // namespace kelvane
