// SPDX-License-Identifier: Apache-2.0
// Acknowledgements of writes and of restoring defaults: "OK" CR LF after the address.
#pragma once

#include "core/Machine.h"

namespace kelvane {

enum class AckVerdict { Positive, Negative, TooShort };

AckVerdict ackVerdict(const QByteArray &reply);

// Step 20: the awaited answer reports the result of restoring defaults.
QString handleDefaultsAck(Machine &m, const QByteArray &reply);
// Step 22 to 38: a positive answer sends the next write, a negative one ends the write.
QString handleWriteAck(Machine &m, const QByteArray &reply);

}  // namespace kelvane
