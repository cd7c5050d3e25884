// The state every operation shares: the counters of the Step machine, the
// DeviceTable, and the window, socket and timer they drive.
#pragma once

#include "Constants.h"
#include "DeviceTable.h"
#include "Link.h"
#include "OneShotTimer.h"
#include "Panel.h"
#include "StatusLog.h"

namespace kelvane {

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

    void armTimer1() { Timer1.start(TimeoutMs); }

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
