// SPDX-License-Identifier: Apache-2.0
// The window's command line: its options, and the answers that need no window.
#pragma once

#include <QString>
#include <QStringList>

#include <variant>

namespace kelvane {

// What the command line asks of the window. A new option adds a field here and
// its QCommandLineOption in CommandLine.cpp.
struct WindowOptions {
    QStringList cards;  // --interface: only these network cards; empty: all
    QString trace;      // --trace: the traffic trace's file; empty: none
    QString language;   // --lang: "zh" or "en"; empty: the locale's
};

// Help, the version or a complaint: the text to print and the status to exit
// with. Status 0 prints on standard output, anything else on standard error.
struct EarlyAnswer {
    QString text;
    int exitStatus = 0;
};

// Help and version win over everything else on the line, so that they are
// answered even beside options only QApplication knows (-platform, -style).
// A card no interface has, or a --lang other than zh and en, is a complaint (status 2), and so, when `strict`,
// is an option the window does not know or an argument: before QApplication
// has taken its own options, pass false. Needs no application object: the
// names come from nameApplication().
std::variant<WindowOptions, EarlyAnswer> readCommandLine(const QStringList &arguments, bool strict = true);

// argv as given, before any application object exists to decode it.
QStringList rawArguments(int argc, const char *const *argv);

// Prints the answer where it belongs and returns its exit status.
int printAnswer(const EarlyAnswer &answer);

}  // namespace kelvane
