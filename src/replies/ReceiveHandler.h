// The one entry for every datagram that arrives: its meaning comes from Step alone.
#pragma once

#include "core/Machine.h"

namespace kelvane {

void receive(Machine &m, const QByteArray &reply);

}  // namespace kelvane
