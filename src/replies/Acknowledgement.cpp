#include "Acknowledgement.h"

#include "protocol/WriteDispatcher.h"

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

void handleDefaultsAck(Machine &m, const QByteArray &reply)
{
    const AckVerdict verdict = ackVerdict(reply);
    if (verdict == AckVerdict::TooShort)
        return;
    m.Timer1.stop();
    const QString result = verdict == AckVerdict::Positive
                               ? QStringLiteral("默认参数成功，请重新读取该设备参数！")
                               : QStringLiteral("默认参数不成功，请重新操作！");
    m.log.append({QStringLiteral("恢复设备") + m.deviceNumber() + result});
}

void handleWriteAck(Machine &m, const QByteArray &reply)
{
    const AckVerdict verdict = ackVerdict(reply);
    if (verdict == AckVerdict::TooShort)
        return;
    const bool awaitingAck = m.Timer1.isActive();
    m.Timer1.stop();
    switch (verdict) {
    case AckVerdict::Positive:
        dispatchWrite(m);
        break;
    case AckVerdict::Negative:
        // A refused write ends as a failed one does. Once the write is over,
        // a stray refusal has nothing left to end.
        if (awaitingAck)
            failWrite(m);
        break;
    case AckVerdict::TooShort:
        break;
    }
}

}  // namespace kelvane
