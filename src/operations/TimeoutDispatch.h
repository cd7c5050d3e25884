// SPDX-License-Identifier: Apache-2.0
// Timer1's expiry goes to the operation that Step says is waiting.
#pragma once

#include "core/Machine.h"

namespace kelvane {

void timer1Expired(Machine &m);

}  // namespace kelvane
