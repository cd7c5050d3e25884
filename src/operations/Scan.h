// SPDX-License-Identifier: Apache-2.0
// Finding modules: four discovery broadcasts 400 ms apart, then the count.
#pragma once

#include "core/Machine.h"
#include "core/StatusLog.h"

namespace kelvane {

// One round: the start of a scan, and each scan time-out before the fourth.
void scanRound(Machine &m);
// Timer1 expired while Step is 0.
void scanTimeout(Machine &m);
// The scan's end, after its last round or once it found what it looked for.
void finishScan(Machine &m);

// What the log says while local port 65002 cannot be opened.
QStringList portUnavailableMessage(const Link &link);

}  // namespace kelvane
