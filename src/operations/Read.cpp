// SPDX-License-Identifier: Apache-2.0
#include "Read.h"

#include "Reporter.h"
#include "protocol/QuerySender.h"

#include <QCoreApplication>

namespace kelvane {

void startRead(Machine &m)
{
    m.report.onAttempt(Operation::Read, m.RetryCount,
                            m.RetryCount == 0 ? QStringList{QCoreApplication::translate("Read", "读取设备%1参数... ...")
                                                                .arg(m.deviceNumber())}
                                              : QStringList{});
    m.Step = 0;
    sendQuery(m);
    m.armTimer1();
}

void readTimeout(Machine &m)
{
    if (m.RetryCount < MaxRetries) {
        ++m.RetryCount;
        startRead(m);
        return;
    }
    m.RetryCount = 0;
    m.end(OutcomeKind::NoAnswer,
          {QCoreApplication::translate("Read", "读取设备%1参数不成功！").arg(m.deviceNumber()),
           QCoreApplication::translate("Read", "请检查计算机与设备之间的网络连接，重新操作！")});
}

}  // namespace kelvane
