#include "Defaults.h"

#include "NoSelection.h"
#include "protocol/Catalogue.h"
#include "protocol/Frames.h"

#include <QCoreApplication>

namespace kelvane {

void restoreDefaults(Machine &m)
{
    if (refuseWithoutSelection(m, Operation::Defaults))
        return;
    m.log.replace({QCoreApplication::translate("Defaults", "恢复设备%1默认参数。").arg(m.deviceNumber())});
    const QByteArray frame = frames::defaults(*m.selectedAddress());
    m.Step = DefaultsStep;
    m.send(frame);
    m.armTimer1();
}

void defaultsTimeout(Machine &m)
{
    m.log.append({QCoreApplication::translate("Defaults", "恢复设备%1默认参数不成功，请重新操作！").arg(m.deviceNumber())});
    m.end(Operation::Defaults, false);
}

}  // namespace kelvane
