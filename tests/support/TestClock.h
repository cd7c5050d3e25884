// SPDX-License-Identifier: Apache-2.0
// A fixed clock, so that log entries can be compared whole.
#pragma once

#include <QDateTime>

namespace kelvane::test {

inline QDateTime fixedNow()
{
    return QDateTime(QDate(2026, 12, 6), QTime(9, 5, 7));
}

// The timestamp line every entry starts with under fixedNow().
inline constexpr const char *FixedStamp = "2026-12-06 09:05:07";

}  // namespace kelvane::test
