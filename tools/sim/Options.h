// The simulator's command line.
#pragma once

#include "Responder.h"

#include <QString>
#include <QStringList>

#include <variant>

namespace kelvane::sim {

struct Options {
    int modules = 3;
    int first = 1;  // the number of the first module: two simulators on two LANs need not share addresses
    bool verbose = false;
    quint32 seed = 1;
    int restartMs = 1000;
    double drop = 0.0;
    int delayMs = 0;
    bool duplicate = false;
    Faults faults;
    QString help;  // set when --help or --version was asked for: print it and stop
};

// The options, or the message that says what is wrong with them.
// arguments[0] is the program name, as in QCoreApplication::arguments().
std::variant<Options, QString> parseOptions(const QStringList &arguments);

}  // namespace kelvane::sim
