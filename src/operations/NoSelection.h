// The guard of every command that needs a module chosen in Device_List.
#pragma once

#include "core/Machine.h"

#include <QCoreApplication>

namespace kelvane {

// True, with "没有选择设备！" as the whole log, when no module is selected.
inline bool refuseWithoutSelection(Machine &m, Operation operation)
{
    if (m.panel.selectedDeviceRow() >= 0 && m.selectedAddress())
        return false;
    m.log.replace({QCoreApplication::translate("Machine", "没有选择设备！")});
    m.end(operation, false);
    return true;
}

}  // namespace kelvane
