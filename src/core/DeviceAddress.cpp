// SPDX-License-Identifier: Apache-2.0
#include "DeviceAddress.h"

namespace kelvane {

namespace {
bool isAsciiHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}
}  // namespace

std::optional<DeviceAddress> DeviceAddress::fromFrame(const QByteArray &frame)
{
    if (frame.size() < DeviceAddressSize)
        return std::nullopt;
    std::array<quint8, DeviceAddressSize> bytes{};
    for (int i = 0; i < DeviceAddressSize; ++i)
        bytes[i] = static_cast<quint8>(frame[i]);
    return DeviceAddress(bytes);
}

std::optional<DeviceAddress> DeviceAddress::fromHex(const QString &hex)
{
    if (hex.size() != 2 * DeviceAddressSize)
        return std::nullopt;
    for (QChar c : hex) {
        if (!isAsciiHexDigit(c))
            return std::nullopt;
    }
    return fromFrame(QByteArray::fromHex(hex.toLatin1()));
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
