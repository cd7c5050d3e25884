// SPDX-License-Identifier: Apache-2.0
// Discovery replies: a new module becomes an entry of DeviceTable.
#pragma once

#include "core/Machine.h"

namespace kelvane {

// The list text of a module: 设备 ( 001A2B3C4D5E ).
QString deviceItemText(const DeviceAddress &address);

// Adds the sender of a discovery reply unless it is listed already. A reply
// too short to hold an address, or one that finds the table full, is dropped.
QString handleDiscoveryReply(Machine &m, const QByteArray &reply);

}  // namespace kelvane
