// SPDX-License-Identifier: Apache-2.0
#include "Write.h"

#include "Reporter.h"
#include "protocol/WriteDispatcher.h"

#include <QCoreApplication>

namespace kelvane {

void startWrite(Machine &m)
{
    m.report.onAttempt(Operation::Write, m.RetryCount,
                            m.RetryCount == 0 ? QStringList{QCoreApplication::translate("Write", "设置设备%1的参数... ...")
                                                                .arg(m.deviceNumber())}
                                              : QStringList{});
    m.Step = WriteBase;
    m.frameRetries = 0;
    m.quiet = false;
    dispatchWrite(m);
}

void writeTimeout(Machine &m)
{
    if (m.retriesEachFrame() && m.frameRetries + 1 < m.frameAttempts) {
        // The same write again: Step names the row after it.
        ++m.frameRetries;
        --m.Step;
        dispatchWrite(m);
        return;
    }
    if (!m.retriesEachFrame() && m.RetryCount < MaxRetries) {
        ++m.RetryCount;
        startWrite(m);
        return;
    }
    failWrite(m, OutcomeKind::NoAnswer);
}

}  // namespace kelvane
