// SPDX-License-Identifier: Apache-2.0
#include "ReceiveHandler.h"

#include "Acknowledgement.h"
#include "DiscoveryReply.h"
#include "ParameterReply.h"
#include "core/Diagnostics.h"
#include "protocol/Catalogue.h"

namespace kelvane {

namespace {
QString dispatch(Machine &m, const QByteArray &reply)
{
    if (m.Step == 0)
        return handleDiscoveryReply(m, reply);
    // The link hands over only the datagrams of the module worked on; one
    // counts only while its answer is awaited.
    if (m.quiet)
        return QStringLiteral("dropped: a copy or a late answer, in the wait before the next frame");
    if (!m.answerAwaited())
        return QStringLiteral("dropped: no answer awaited at Step %1").arg(m.Step);
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
