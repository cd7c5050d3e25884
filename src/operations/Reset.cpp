#include "Reset.h"

#include "NoSelection.h"
#include "Read.h"
#include "protocol/Frames.h"

#include <QCoreApplication>

namespace kelvane {

void resetDevice(Machine &m)
{
    if (refuseWithoutSelection(m, Operation::Reset))
        return;
    // No answer is awaited: a module that restarts has nothing to say. A
    // frame that never left restarted nothing, and the module stays listed.
    if (!m.send(frames::reset(*m.selectedAddress()))) {
        m.end(Operation::Reset, false);
        return;
    }
    m.log.replace({QCoreApplication::translate("Reset", "对设备%1的复位运行成功。").arg(m.deviceNumber())});
    m.panel.removeDevice(m.SelectedDevice);
    m.deviceTable.removeAt(m.SelectedDevice);
    clearParameterControls(m);
    m.end(Operation::Reset, true);
}

}  // namespace kelvane
