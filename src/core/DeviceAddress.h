// SPDX-License-Identifier: Apache-2.0
// The six bytes that identify one module and lead every frame to and from it.
#pragma once

#include "Constants.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

namespace kelvane {

class DeviceAddress {
public:
    DeviceAddress() = default;
    explicit DeviceAddress(const std::array<quint8, DeviceAddressSize> &bytes) : m_bytes(bytes) {}

    // The address a datagram starts with; none when it is shorter than an address.
    static std::optional<DeviceAddress> fromFrame(const QByteArray &frame);

    // Twelve hex digits in any case, as a person types the address the list shows.
    static std::optional<DeviceAddress> fromHex(const QString &hex);

    QByteArray toByteArray() const;
    // Twelve upper-case hex digits, no separators: 001A2B3C4D5E.
    QString toHex() const;

    friend bool operator==(const DeviceAddress &, const DeviceAddress &) = default;

private:
    std::array<quint8, DeviceAddressSize> m_bytes{};
};

}  // namespace kelvane
