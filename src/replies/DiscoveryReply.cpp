#include "DiscoveryReply.h"

namespace kelvane {

QString deviceItemText(const DeviceAddress &address)
{
    return QStringLiteral("设备 ( ") + address.toHex() + QStringLiteral(" )");
}

void handleDiscoveryReply(Machine &m, const QByteArray &reply)
{
    const std::optional<DeviceAddress> address = DeviceAddress::fromFrame(reply);
    if (!address || m.deviceTable.indexOf(*address) >= 0 || m.deviceTable.isFull())
        return;
    m.deviceTable.append(reply);
    m.panel.appendDevice(deviceItemText(*address));
}

}  // namespace kelvane
