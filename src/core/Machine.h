// The state every operation shares: the counters of the Step machine, the
// DeviceTable, and the window, socket and timer they drive.
#pragma once

#include "Constants.h"
#include "DeviceTable.h"
#include "Link.h"
#include "OneShotTimer.h"
#include "Panel.h"
#include "StatusLog.h"

#include <QByteArrayList>

#include <functional>

namespace kelvane {

// What the operator asked for; front ends other than the window wait for its end.
enum class Operation { Scan, Read, Write, Defaults, Reset };

struct Machine {
    Machine(Panel &window, Link &socket, OneShotTimer &timer,
            StatusLog::Clock clock = &QDateTime::currentDateTime)
        : panel(window), Winsock(socket), Timer1(timer), log(window, std::move(clock))
    {
    }

    Panel &panel;
    Link &Winsock;
    OneShotTimer &Timer1;
    StatusLog log;
    DeviceTable deviceTable;

    // Which operation runs and what the next datagram or time-out means.
    qint16 Step = 0;
    qint16 SelectedDevice = 0;
    // Discovery broadcasts sent in the running scan; 0 when none runs.
    qint16 ScanRound = 0;
    // Restarts of the running read or write after a time-out.
    qint16 RetryCount = 0;

    // The values of the running write, taken when it starts: what goes on
    // the wire does not change with edits made while it runs.
    QByteArrayList writeValues;

    // Told once when an operation has ended, and whether it did what was asked.
    std::function<void(Operation, bool succeeded)> ended;
    void end(Operation operation, bool succeeded)
    {
        if (ended)
            ended(operation, succeeded);
    }

    void armTimer1() { Timer1.start(TimeoutMs); }

    // Whether the answer to a request may still come: Timer1 runs from the
    // send until the answer is handled or its 400 ms are over. A datagram at
    // any other time is not an answer, whatever it holds.
    bool answerAwaited() const { return Timer1.isActive(); }

    // Sends one frame; a frame that cannot go out gets a log entry naming the
    // reason, once while the same failure repeats.
    bool send(const QByteArray &frame);

    // The address of the module the operations work on; none when the table
    // no longer holds entry SelectedDevice.
    std::optional<DeviceAddress> selectedAddress() const
    {
        if (SelectedDevice < 0 || SelectedDevice >= deviceTable.count())
            return std::nullopt;
        return deviceTable.address(SelectedDevice);
    }
    // Device_List, L_Default, Setting and Run_Device, in this order: locked
    // while a read or write runs, unlocked when it ends.
    void setCommandsEnabled(bool enabled)
    {
        for (Control c : {Control::Device_List, Control::L_Default, Control::Setting, Control::Run_Device})
            panel.setEnabled(c, enabled);
    }

    // N in messages: the selected module's position in the list, from 1.
    QString deviceNumber() const { return StatusLog::number(SelectedDevice + 1); }
};

}  // namespace kelvane
