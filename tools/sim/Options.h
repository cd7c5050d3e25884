// SPDX-License-Identifier: Apache-2.0
// The simulator's command line.
#pragma once

#include "Delivery.h"
#include "Responder.h"

#include <QHash>
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
    Conditions delivery;
    Faults faults;
    // Each module answers from the address its ip_address held when it started.
    bool answerFromIp = false;
    QHash<int, Value> moduleIps;  // by module index from 0: its factory ip_address
    QString help;  // set when --help or --version was asked for: print it and stop
};

// The options, or the message that says what is wrong with them.
// arguments[0] is the program name, as in QCoreApplication::arguments().
std::variant<Options, QString> parseOptions(const QStringList &arguments);

}  // namespace kelvane::sim
