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

    // Zero: a read or write that times out starts again from its first frame,
    // as the window does. Otherwise each query or write is tried this often on
    // its own, and only an answer of the form its parameter has is taken.
    int frameAttempts = 0;
    int timeoutMs = TimeoutMs;
    // Attempts of the frame in flight beyond the first.
    int frameRetries = 0;
    // After a retry the next frame waits two time-outs, so that a late answer
    // to an earlier attempt is not taken for the next frame's answer; after an
    // answer whose copy would pass for the next frame's it waits settleMs (none
    // when 0), so that such a copy arriving just after it is not taken either:
    // what arrives before the next frame leaves is dropped.
    bool quiet = false;
    int settleMs = 0;
    // An answer of the wrong form came for the frame in flight: if its
    // attempts run out, the module answered what cannot be read.
    bool misfit = false;
    // The answer taken for the frame before, in the read that runs.
    QByteArray lastAnswer;

    bool retriesEachFrame() const { return frameAttempts > 0; }
    void armTimer1() { Timer1.start(timeoutMs); }

    // Whether the answer to a request may still come: Timer1 runs from the
    // send until the answer is handled or its 400 ms are over. A datagram at
    // any other time is not an answer, whatever it holds.
    bool answerAwaited() const { return Timer1.isActive() || overdue; }
    // True while Timer1's expiry first reads what arrived in time: on a busy
    // machine the expiry and the answer can come in one turn of the event loop.
    bool overdue = false;

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
