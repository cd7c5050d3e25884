// SPDX-License-Identifier: Apache-2.0
// Consecutive module addresses, for setting up a row of modules from one profile.
#pragma once

#include "core/Result.h"
#include "protocol/ParameterValues.h"

#include <QList>
#include <QStringList>

namespace kelvane {

// `count` addresses from `first` (A.B.C.D, with or without leading zeros) up,
// in the zero-padded form the modules answer: "192.168.001.010", ".011", ...
// An error names ip_address when the start is no address, the count is below
// 1 or the last address would run past .255.
Result<QStringList, ValueError> fleetAddresses(const QString &first, int count);

// The profile once per address, each with its ip_address set.
Result<QList<ParameterValues>, ValueError> fleetProfiles(const ParameterValues &profile,
                                                         const QString &first, int count);

}  // namespace kelvane
