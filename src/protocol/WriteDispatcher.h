// SPDX-License-Identifier: Apache-2.0
// Sends the write that belongs to the current Step (21 to 37) and raises Step,
// or finishes the write at Step 38.
#pragma once

#include "core/Machine.h"

namespace kelvane {

void dispatchWrite(Machine &m);

// Ends a write that cannot go on, with its failure entry.
void failWrite(Machine &m, OutcomeKind kind);

}  // namespace kelvane
