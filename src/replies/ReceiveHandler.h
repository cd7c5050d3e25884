// SPDX-License-Identifier: Apache-2.0
// The one entry for every datagram the engine is handed: its meaning comes
// from Step, and only an awaited answer counts.
#pragma once

#include "core/Machine.h"

namespace kelvane {

// Handles one datagram and says what was made of it, for traces and the
// kelvane.engine log category: "answer to UB: index 3", "dropped: ...".
QString receive(Machine &m, const QByteArray &reply);

}  // namespace kelvane
