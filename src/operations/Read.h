// Reading the selected module: 17 queries, 400 ms each, the whole read tried three times.
#pragma once

#include "core/Machine.h"

namespace kelvane {

// A click in Device_List, and every restart after a time-out.
void startRead(Machine &m);
// Timer1 expired while Step is 1 to 17.
void readTimeout(Machine &m);

// Empties the parameter controls and disables the three option buttons.
void clearParameterControls(Machine &m);

}  // namespace kelvane
