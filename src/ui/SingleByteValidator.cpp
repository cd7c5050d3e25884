// SPDX-License-Identifier: Apache-2.0
#include "SingleByteValidator.h"

#include "protocol/WriteSenders.h"

namespace kelvane {

QValidator::State SingleByteValidator::validate(QString &input, int &) const
{
    // Only what a write can carry, by the rule the write itself applies.
    return isSingleByteText(input) ? Acceptable : Invalid;
}

}  // namespace kelvane
