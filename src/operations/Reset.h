// Restarting the selected module, which then leaves the list until a scan finds it again.
#pragma once

#include "core/Machine.h"

namespace kelvane {

// Pressing Run_Device.
void resetDevice(Machine &m);

}  // namespace kelvane
