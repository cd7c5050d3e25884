// SPDX-License-Identifier: Apache-2.0
#include "Read.h"

#include "Reporter.h"
#include "protocol/Catalogue.h"
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
    m.frameRetries = 0;
    m.quiet = false;
    m.lastAnswer.clear();
    sendQuery(m);
    m.armTimer1();
}

void readTimeout(Machine &m)
{
    if (m.retriesEachFrame() && m.frameRetries + 1 < m.frameAttempts) {
        // The same query again: Step names the row after it.
        ++m.frameRetries;
        --m.Step;
        sendQuery(m);
        m.armTimer1();
        return;
    }
    if (!m.retriesEachFrame() && m.RetryCount < MaxRetries) {
        ++m.RetryCount;
        startRead(m);
        return;
    }
    m.RetryCount = 0;
    const QStringList failure = {QCoreApplication::translate("Read", "读取设备%1参数不成功！").arg(m.deviceNumber()),
                                 QCoreApplication::translate("Read", "请检查计算机与设备之间的网络连接，重新操作！")};
    if (m.retriesEachFrame() && m.misfit) {
        // It answered, but nothing the decoder can read: that parameter could not be read.
        m.report.onAnswer(catalogue()[m.Step - 1], answer::Failure{}, m.Step);
        m.end(OutcomeKind::BadAnswer, failure);
        return;
    }
    m.end(OutcomeKind::NoAnswer, failure);
}

void readDone(Machine &m)
{
    m.RetryCount = 0;
    m.end(OutcomeKind::Done, {QCoreApplication::translate("Read", "读取设备%1参数成功！").arg(m.deviceNumber())});
}

}  // namespace kelvane
