#include "Reset.h"

#include "NoSelection.h"
#include "Read.h"
#include "protocol/Frames.h"

namespace kelvane {

void resetDevice(Machine &m)
{
    if (refuseWithoutSelection(m))
        return;
    // No answer is awaited: a module that restarts has nothing to say.
    m.Winsock.send(frames::reset(*m.selectedAddress()));
    m.log.replace({QStringLiteral("对设备") + m.deviceNumber() + QStringLiteral("的复位运行成功。")});
    m.panel.removeDevice(m.SelectedDevice);
    m.deviceTable.removeAt(m.SelectedDevice);
    clearParameterControls(m);
}

}  // namespace kelvane
