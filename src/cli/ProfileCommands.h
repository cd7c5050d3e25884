// SPDX-License-Identifier: Apache-2.0
// save, apply and diff: a module's parameters against a profile file.
#pragma once

#include "Commands.h"

namespace kelvane::cli {

int saveCommand(Invocation &call);
int applyCommand(Invocation &call);
int diffCommand(Invocation &call);

// save's own options.
QList<QCommandLineOption> saveOptions();
// apply's own options.
QList<QCommandLineOption> applyOptions();

}  // namespace kelvane::cli
