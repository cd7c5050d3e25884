// kelvane's commands: parsed, checked before anything is sent, run on the
// engine the window uses, answered on standard output.
#pragma once

#include <QStringList>

namespace kelvane::cli {

// Runs the command line (arguments[0] is the program) and returns the exit status.
int run(const QStringList &arguments);

}  // namespace kelvane::cli
