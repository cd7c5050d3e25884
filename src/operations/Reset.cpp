// SPDX-License-Identifier: Apache-2.0
#include "Reset.h"

#include "Reporter.h"
#include "protocol/Frames.h"

#include <QCoreApplication>

namespace kelvane {

std::optional<QStringList> resetDevice(Machine &m, const DeviceAddress &module)
{
    // No answer is awaited: a module that restarts has nothing to say. A
    // frame that never left restarted nothing, and the module stays listed.
    if (!m.send(frames::reset(module)))
        return std::nullopt;
    const QStringList entry = {QCoreApplication::translate("Reset", "对设备%1的复位运行成功。").arg(m.deviceNumber())};
    if (const int row = m.deviceTable.indexOf(module); row >= 0) {
        m.deviceTable.removeAt(row);
        m.report.onRemoved(row, module);
    }
    return entry;
}

}  // namespace kelvane
