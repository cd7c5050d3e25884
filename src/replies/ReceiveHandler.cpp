#include "ReceiveHandler.h"

#include "Acknowledgement.h"
#include "DiscoveryReply.h"
#include "ParameterReply.h"
#include "core/Diagnostics.h"
#include "protocol/Catalogue.h"

namespace kelvane {

namespace {
// Why a datagram cannot be the awaited answer; empty when it can. The one
// place an answer is matched with the module it must come from.
QString refusal(const Machine &m, const QByteArray &reply)
{
    if (!m.answerAwaited())
        return QStringLiteral("dropped: no answer awaited at Step %1").arg(m.Step);
    const std::optional<DeviceAddress> from = DeviceAddress::fromFrame(reply);
    if (!from)
        return QStringLiteral("dropped: too short to name its module");
    const std::optional<DeviceAddress> worked = m.selectedAddress();
    if (from != worked) {
        return QStringLiteral("dropped: from %1, awaiting %2")
            .arg(from->toHex(), worked ? worked->toHex() : QStringLiteral("no module"));
    }
    return {};
}

QString dispatch(Machine &m, const QByteArray &reply)
{
    if (m.Step == 0)
        return handleDiscoveryReply(m, reply);
    if (const QString why = refusal(m, reply); !why.isEmpty())
        return why;
    if (m.Step >= 1 && m.Step <= ParameterCount)
        return handleParameterReply(m, reply);
    if (m.Step == DefaultsStep)
        return handleDefaultsAck(m, reply);
    if (m.Step > WriteBase && m.Step <= WriteFinish)
        return handleWriteAck(m, reply);
    qCWarning(lcEngine) << "an answer awaited at Step" << m.Step << ", which awaits none";
    return QStringLiteral("dropped: Step %1 awaits no answer").arg(m.Step);
}
}  // namespace

QString receive(Machine &m, const QByteArray &reply)
{
    const QString meaning = dispatch(m, reply);
    qCDebug(lcEngine).noquote() << reply.size() << "bytes," << meaning;
    return meaning;
}

}  // namespace kelvane
