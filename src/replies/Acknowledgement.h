// Acknowledgements of writes and of restoring defaults: "OK" CR LF after the address.
#pragma once

#include "core/Machine.h"

namespace kelvane {

enum class AckVerdict { Positive, Negative, TooShort };

AckVerdict ackVerdict(const QByteArray &reply);

// Step 20: every datagram reports the result of restoring defaults.
void handleDefaultsAck(Machine &m, const QByteArray &reply);
// Step 21 and above: a positive answer sends the next write, a negative one ends the write.
void handleWriteAck(Machine &m, const QByteArray &reply);

}  // namespace kelvane
