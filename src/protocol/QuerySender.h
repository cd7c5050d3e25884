// SPDX-License-Identifier: Apache-2.0
// Sends the query that belongs to the current Step, then raises Step.
#pragma once

#include "core/Machine.h"

namespace kelvane {

// Step 0 to 16 names the parameter to ask for; any other Step sends nothing.
void sendQuery(Machine &m);

}  // namespace kelvane
