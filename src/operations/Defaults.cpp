#include "Defaults.h"

#include "NoSelection.h"
#include "protocol/Catalogue.h"
#include "protocol/Frames.h"

namespace kelvane {

void restoreDefaults(Machine &m)
{
    if (refuseWithoutSelection(m, Operation::Defaults))
        return;
    m.log.replace({QStringLiteral("恢复设备") + m.deviceNumber() + QStringLiteral("默认参数。")});
    const QByteArray frame = frames::defaults(*m.selectedAddress());
    m.Step = DefaultsStep;
    m.send(frame);
    m.armTimer1();
}

void defaultsTimeout(Machine &m)
{
    m.log.append({QStringLiteral("恢复设备") + m.deviceNumber() + QStringLiteral("默认参数不成功，请重新操作！")});
    m.end(Operation::Defaults, false);
}

}  // namespace kelvane
