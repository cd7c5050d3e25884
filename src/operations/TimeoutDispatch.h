// SPDX-License-Identifier: Apache-2.0
// Timer1's expiry goes to the operation that Step says is waiting.
#pragma once

#include "core/Machine.h"

namespace kelvane {

void timer1Expired(Machine &m);

// The frame after an answer: the next query, or the next write (or the end).
void nextFrame(Machine &m);
// After an answer: true, with Timer1 armed for the quiet wait (two time-outs
// after a retried frame; Machine::settleMs after any other whose copy would
// pass for the next frame's answer), when the next frame must wait; false
// when it may go now.
bool awaitQuiet(Machine &m, bool copyWouldAnswer = true);

}  // namespace kelvane
