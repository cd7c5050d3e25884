#include "WriteDispatcher.h"

#include "Catalogue.h"
#include "Frames.h"
#include "core/Diagnostics.h"

#include <QCoreApplication>

namespace kelvane {

void failWrite(Machine &m)
{
    m.RetryCount = 0;
    m.setCommandsEnabled(true);
    m.log.append({QCoreApplication::translate("Write", "设置设备%1参数不成功！").arg(m.deviceNumber())});
    m.end(Operation::Write, false);
}

void refuseWrite(Machine &m, const QString &message)
{
    m.RetryCount = 0;
    m.setCommandsEnabled(true);
    m.log.replace({message});
    m.end(Operation::Write, false);
}

void dispatchWrite(Machine &m)
{
    m.Timer1.stop();

    if (m.Step == WriteFinish) {
        m.setCommandsEnabled(true);
        m.RetryCount = 0;
        m.log.append({QCoreApplication::translate("Write", "设置设备%1数据成功！").arg(m.deviceNumber())});
        m.end(Operation::Write, true);
        return;
    }
    const std::optional<DeviceAddress> address = m.selectedAddress();
    const int row = m.Step - WriteBase;
    if (row < 0 || row >= ParameterCount || m.writeValues.size() != ParameterCount || !address) {
        qCWarning(lcEngine) << "no write to send at Step" << m.Step << "with"
                            << m.writeValues.size() << "values taken";
        return;
    }
    const Parameter &parameter = catalogue()[row];
    m.send(frames::write(*address, parameter.code, m.writeValues.at(row)));
    ++m.Step;
    m.armTimer1();
}

}  // namespace kelvane
