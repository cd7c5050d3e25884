// SPDX-License-Identifier: Apache-2.0
#include "WriteDispatcher.h"

#include "Catalogue.h"
#include "Frames.h"
#include "core/Diagnostics.h"

#include <QCoreApplication>

namespace kelvane {

void failWrite(Machine &m, OutcomeKind kind)
{
    m.RetryCount = 0;
    m.end(kind, {QCoreApplication::translate("Write", "设置设备%1参数不成功！").arg(m.deviceNumber())});
}

void dispatchWrite(Machine &m)
{
    m.Timer1.stop();

    if (m.Step == WriteFinish) {
        m.RetryCount = 0;
        m.end(OutcomeKind::Done, {QCoreApplication::translate("Write", "设置设备%1数据成功！").arg(m.deviceNumber())});
        return;
    }
    const std::optional<DeviceAddress> address = m.module;
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
