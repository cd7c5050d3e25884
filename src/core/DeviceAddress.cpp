#include "DeviceAddress.h"

namespace kelvane {

std::optional<DeviceAddress> DeviceAddress::fromFrame(const QByteArray &frame)
{
    if (frame.size() < DeviceAddressSize)
        return std::nullopt;
    std::array<quint8, DeviceAddressSize> bytes{};
    for (int i = 0; i < DeviceAddressSize; ++i)
        bytes[i] = static_cast<quint8>(frame[i]);
    return DeviceAddress(bytes);
}

QByteArray DeviceAddress::toByteArray() const
{
    return QByteArray(reinterpret_cast<const char *>(m_bytes.data()), DeviceAddressSize);
}

QString DeviceAddress::toHex() const
{
    return QString::fromLatin1(toByteArray().toHex().toUpper());
}

}  // namespace kelvane
