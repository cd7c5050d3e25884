// SPDX-License-Identifier: Apache-2.0
// Restarting a module: one frame, no answer, and the module leaves the list.
#pragma once

#include "core/Machine.h"

#include <optional>

namespace kelvane {

// The entry the window shows, or none when the frame never left.
std::optional<QStringList> resetDevice(Machine &m, const DeviceAddress &module);

}  // namespace kelvane
