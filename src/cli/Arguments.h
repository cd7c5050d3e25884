// SPDX-License-Identifier: Apache-2.0
// Checks of a command's arguments, each before anything is sent: the exit
// status 2 with the message written, or the value.
#pragma once

#include "Output.h"
#include "core/Constants.h"
#include "core/DeviceAddress.h"
#include "protocol/ParameterValues.h"

#include <QCommandLineParser>
#include <QList>
#include <QStringList>

#include <variant>

namespace kelvane::cli {

// Module addresses, 12 hex digits each, none named twice.
std::variant<QList<DeviceAddress>, int> moduleArguments(const Output &out, const QStringList &texts);
// NAME=VALUE pairs, each name once.
std::variant<ParameterValues, int> assignmentArguments(const Output &out, const QStringList &texts);
// A profile file.
std::variant<ParameterValues, int> profileArgument(const Output &out, const QString &file);

// How hard a command tries each query and write: --attempts and --timeout.
struct FrameRetries {
    int attempts = DefaultFrameAttempts;
    int timeoutMs = TimeoutMs;
};
QList<QCommandLineOption> frameRetryOptions();
std::variant<FrameRetries, int> frameRetryArguments(const Output &out, const QCommandLineParser &parser);

// "Usage: kelvane NAME ARGUMENTS", exit status 2.
int usage(const Output &out, const char *name, const char *arguments);

}  // namespace kelvane::cli
