// SPDX-License-Identifier: Apache-2.0
// Answers to the 17 parameter queries, as the read receives them.
#pragma once

#include "Answer.h"
#include "core/Machine.h"

namespace kelvane {

// Step 1 to 17: applies the answer to the query sent at Step - 1 and asks
// for the next parameter, or ends the read at Step 17.
QString handleParameterReply(Machine &m, const QByteArray &reply);

}  // namespace kelvane
