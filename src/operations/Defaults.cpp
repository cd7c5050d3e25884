// SPDX-License-Identifier: Apache-2.0
#include "Defaults.h"

#include "Reporter.h"
#include "protocol/Frames.h"

#include <QCoreApplication>

namespace kelvane {

void restoreDefaults(Machine &m)
{
    m.report.onAttempt(Operation::Defaults, 0,
                            {QCoreApplication::translate("Defaults", "恢复设备%1默认参数。").arg(m.deviceNumber())});
    m.Step = DefaultsStep;
    m.send(frames::defaults(*m.module));
    m.armTimer1();
}

void defaultsTimeout(Machine &m)
{
    m.end(OutcomeKind::NoAnswer,
          {QCoreApplication::translate("Defaults", "恢复设备%1默认参数不成功，请重新操作！").arg(m.deviceNumber())});
}

}  // namespace kelvane
