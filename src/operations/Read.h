// SPDX-License-Identifier: Apache-2.0
// Reading a module: 17 queries, 400 ms each, the whole read tried three times.
#pragma once

#include "core/Machine.h"

namespace kelvane {

// The start of a read, and every restart after a time-out.
void startRead(Machine &m);
// Timer1 expired while Step is 1 to 17.
void readTimeout(Machine &m);
// The 17th answer taken: the read is done.
void readDone(Machine &m);

}  // namespace kelvane
