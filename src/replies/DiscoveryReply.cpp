// SPDX-License-Identifier: Apache-2.0
#include "DiscoveryReply.h"

#include "operations/Reporter.h"

#include <QCoreApplication>

namespace kelvane {

QString deviceItemText(const DeviceAddress &address)
{
    return QCoreApplication::translate("Scan", "设备 ( %1 )").arg(address.toHex());
}

QString handleDiscoveryReply(Machine &m, const QByteArray &reply)
{
    const std::optional<DeviceAddress> address = DeviceAddress::fromFrame(reply);
    if (!address)
        return QStringLiteral("dropped: too short for a discovery reply");
    if (const int index = m.deviceTable.indexOf(*address); index >= 0)
        return QStringLiteral("discovery reply: %1, listed already as module %2").arg(address->toHex()).arg(index + 1);
    if (m.deviceTable.isFull())
        return QStringLiteral("dropped: discovery reply from %1, the list is full").arg(address->toHex());
    m.deviceTable.append(reply);
    m.report.onListed(m.deviceTable.count() - 1);
    return QStringLiteral("discovery reply: %1 listed as module %2").arg(address->toHex()).arg(m.deviceTable.count());
}

}  // namespace kelvane
