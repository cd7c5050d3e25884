// SPDX-License-Identifier: Apache-2.0
#include "Acknowledgement.h"

#include "operations/Reporter.h"
#include "operations/TimeoutDispatch.h"
#include "protocol/Catalogue.h"
#include "protocol/WriteDispatcher.h"

#include <QCoreApplication>

namespace kelvane {

namespace {
constexpr int AckOffset = 6;
constexpr int AckLength = 4;
}  // namespace

AckVerdict ackVerdict(const QByteArray &reply)
{
    if (reply.size() < AckOffset + AckLength)
        return AckVerdict::TooShort;
    return reply.mid(AckOffset, AckLength) == "OK\r\n" ? AckVerdict::Positive : AckVerdict::Negative;
}

// A datagram too short to be an answer is ignored: the time-out still stands
// and reports a module that does not answer properly.

QString handleDefaultsAck(Machine &m, const QByteArray &reply)
{
    const AckVerdict verdict = ackVerdict(reply);
    if (verdict == AckVerdict::TooShort)
        return QStringLiteral("dropped: too short for an acknowledgement");
    m.Timer1.stop();
    const bool positive = verdict == AckVerdict::Positive;
    const QString result = positive ? QCoreApplication::translate("Defaults", "恢复设备%1默认参数成功，请重新读取该设备参数！")
                                    : QCoreApplication::translate("Defaults", "恢复设备%1默认参数不成功，请重新操作！");
    m.end(positive ? OutcomeKind::Done : OutcomeKind::Refused, {result.arg(m.deviceNumber())});
    return positive ? QStringLiteral("defaults acknowledged") : QStringLiteral("defaults refused");
}

QString handleWriteAck(Machine &m, const QByteArray &reply)
{
    const AckVerdict verdict = ackVerdict(reply);
    if (verdict == AckVerdict::TooShort)
        return QStringLiteral("dropped: too short for an acknowledgement");
    // Where every frame has attempts of its own, only "OK" and "ER" answer a write.
    if (m.retriesEachFrame() && verdict == AckVerdict::Negative && reply.mid(AckOffset, AckLength) != "ER\r\n")
        return QStringLiteral("dropped: not the form of an acknowledgement");
    const char *code = catalogue()[m.Step - WriteBase - 1].code;
    m.Timer1.stop();
    if (verdict == AckVerdict::Negative) {
        // A refused write ends as a failed one does.
        failWrite(m, OutcomeKind::Refused);
        return QStringLiteral("write of %1 refused").arg(QLatin1String(code));
    }
    m.report.onAck(m.Step - WriteBase);
    if (m.Step == WriteFinish || !awaitQuiet(m))
        dispatchWrite(m);
    return QStringLiteral("write of %1 acknowledged").arg(QLatin1String(code));
}

}  // namespace kelvane
