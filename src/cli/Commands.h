// SPDX-License-Identifier: Apache-2.0
// kelvane's commands: one table of names, arguments, options and handlers.
// Each command parses its own options, checks everything before anything is
// sent, and answers on standard output.
#pragma once

#include "Arguments.h"
#include "Output.h"
#include "Session.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>

#include <functional>

namespace kelvane::cli {

// What a command's handler is given: its parsed line, its arguments after
// the command's name, and the session, made on first use.
struct Invocation {
    const QCommandLineParser &parser;
    QStringList arguments;
    const Output &out;
    FrameRetries retries;
    std::function<Session &()> session;
};

struct Command {
    const char *name;
    const char *arguments;
    const char *summary;
    std::function<QList<QCommandLineOption>()> options;  // beyond the common ones
    std::function<int(Invocation &)> run;
};

// The commands, in the order help lists them.
const QList<Command> &commands();

// Runs the command line (arguments[0] is the program) and returns the exit status.
int run(const QStringList &arguments);

// Messages of the command line's own.
QString tr(const char *text);

}  // namespace kelvane::cli
