// Sends the write that belongs to the current Step (21 to 37) and raises Step,
// or finishes the write at Step 38.
#pragma once

#include "core/Machine.h"

namespace kelvane {

void dispatchWrite(Machine &m);

// Ends a write that cannot go on: unlocks the commands and reports the failure.
void failWrite(Machine &m);

// Ends a write whose next value cannot be sent, naming the parameter.
void refuseWrite(Machine &m, const QString &message);

}  // namespace kelvane
