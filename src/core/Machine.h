// SPDX-License-Identifier: Apache-2.0
// The state of one Step machine: its counters, the DeviceTable it works on,
// and the socket and timer it drives. What it does is told to a Reporter.
#pragma once

#include "Constants.h"
#include "DeviceTable.h"
#include "Link.h"
#include "OneShotTimer.h"
#include "Operation.h"

#include <QByteArrayList>
#include <QStringList>

namespace kelvane {

class Reporter;

struct Machine {
    Machine(Link &socket, OneShotTimer &timer, DeviceTable &table, Reporter &reporter)
        : Winsock(socket), Timer1(timer), deviceTable(table), report(reporter)
    {
    }

    Link &Winsock;
    OneShotTimer &Timer1;
    DeviceTable &deviceTable;
    Reporter &report;

    // Which operation runs and what the next datagram or time-out means.
    qint16 Step = 0;
    // The row of the module the running or last operation works on.
    qint16 SelectedDevice = 0;
    // Discovery broadcasts sent in the running scan; 0 when none runs.
    qint16 ScanRound = 0;
    // Restarts of the running read or write after a time-out.
    qint16 RetryCount = 0;

    // The module the running or last operation works on, and whether one
    // still runs on it.
    std::optional<DeviceAddress> module;
    std::optional<Operation> running;

    // The values of the running write, taken when it was asked for: what goes
    // on the wire does not change with edits made while it runs.
    QByteArrayList writeValues;

    void armTimer1() { Timer1.start(TimeoutMs); }

    // Whether the answer to a request may still come: Timer1 runs from the
    // send until the answer is handled or its 400 ms are over. A datagram at
    // any other time is not an answer, whatever it holds.
    bool answerAwaited() const { return Timer1.isActive(); }

    // Sends one frame; a frame that cannot go out is reported with the reason.
    bool send(const QByteArray &frame);

    // Ends the running operation: the Reporter hears of it once.
    void end(OutcomeKind kind, const QStringList &entry = {});

    // N in messages: the module's position in the list, from 1; or, where a
    // position means nothing (the command line), the module's address.
    QString deviceNumber() const;
    bool namesByAddress = false;
};

}  // namespace kelvane
