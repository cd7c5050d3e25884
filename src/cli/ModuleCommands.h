// SPDX-License-Identifier: Apache-2.0
// The commands on one module or on the list: scan, read, write, defaults, reset.
#pragma once

#include "Commands.h"

namespace kelvane::cli {

// --csv: the list as the window's table exports it.
QList<QCommandLineOption> scanOptions();
int scanCommand(Invocation &call);
// scan's own options.
QList<QCommandLineOption> scanOptions();
int readCommand(Invocation &call);
int writeCommand(Invocation &call);
int defaultsCommand(Invocation &call);
int resetCommand(Invocation &call);

// The module's 17 values, or the exit status with the error written: every
// answer taken, or it is a failed read naming what could not be read.
std::variant<ParameterValues, int> readModule(Invocation &call, const DeviceAddress &module);

// The error of an operation that did not do what was asked.
int failed(const Output &out, const Outcome &outcome);

}  // namespace kelvane::cli
