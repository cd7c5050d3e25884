#include "WriteDispatcher.h"

#include "Catalogue.h"
#include "Frames.h"
#include "WriteSenders.h"

namespace kelvane {

void failWrite(Machine &m)
{
    m.RetryCount = 0;
    m.setCommandsEnabled(true);
    m.log.append({QStringLiteral("设置设备") + m.deviceNumber() + QStringLiteral("参数不成功！")});
}

void refuseWrite(Machine &m, const QString &message)
{
    m.RetryCount = 0;
    m.setCommandsEnabled(true);
    m.log.replace({message});
}

void dispatchWrite(Machine &m)
{
    m.Timer1.stop();

    if (m.Step == WriteFinish) {
        m.setCommandsEnabled(true);
        m.RetryCount = 0;
        m.log.append({QStringLiteral("设置设备") + m.deviceNumber() + QStringLiteral("数据成功！")});
        return;
    }
    const std::optional<DeviceAddress> address = m.selectedAddress();
    if (m.Step < WriteBase || m.Step > WriteFinish || !address)
        return;

    // The value is read now, so a change made before this row goes out is written.
    const Parameter &parameter = catalogue()[m.Step - WriteBase];
    const std::optional<QByteArray> value = writeValue(m.panel, parameter);
    if (!value) {
        refuseWrite(m, invalidValueMessage(parameter));
        return;
    }
    m.Winsock.send(frames::write(*address, parameter.code, *value));
    ++m.Step;
    m.armTimer1();
}

}  // namespace kelvane
