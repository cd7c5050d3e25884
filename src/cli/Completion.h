// SPDX-License-Identifier: Apache-2.0
// Shell completion for kelvane, written from its command table and the parameter catalogue.
#pragma once

#include "Commands.h"

#include <QCommandLineOption>
#include <QString>

namespace kelvane::cli {

// A bash script that completes kelvane: the commands, each command's options
// beside the common ones (those hidden from help are left out), file names
// where an argument or an option's value is a FILE, write's NAME= and, after
// it, every spelling of the values the parameter takes. Nothing else about
// the line is guessed: a MODULE or a number is the operator's to type.
QString bashCompletion(const QList<QCommandLineOption> &common, const QList<Command> &commands);

}  // namespace kelvane::cli
