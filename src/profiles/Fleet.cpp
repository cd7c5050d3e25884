// SPDX-License-Identifier: Apache-2.0
#include "Fleet.h"

#include "protocol/ParameterNames.h"

#include <QCoreApplication>

#include <array>
#include <optional>

namespace kelvane {

namespace {
struct Text {
    Q_DECLARE_TR_FUNCTIONS(kelvane::Fleet)
};

const QString AddressKey = QStringLiteral("ip_address");

std::optional<std::array<int, 4>> parseAddress(const QString &text)
{
    const QStringList parts = text.split(u'.');
    if (parts.size() != 4)
        return std::nullopt;
    std::array<int, 4> groups{};
    for (int i = 0; i < 4; ++i) {
        const QString &part = parts[i];
        if (part.isEmpty() || part.size() > 3)
            return std::nullopt;
        for (QChar c : part) {
            if (c < u'0' || c > u'9')
                return std::nullopt;
        }
        groups[i] = part.toInt();
        if (groups[i] > 255)
            return std::nullopt;
    }
    return groups;
}

QString padded(const std::array<int, 4> &groups)
{
    QStringList parts;
    for (int group : groups)
        parts.append(QStringLiteral("%1").arg(group, 3, 10, QLatin1Char('0')));
    return parts.join(u'.');
}
}  // namespace

Result<QStringList, ValueError> fleetAddresses(const QString &first, int count)
{
    const auto start = parseAddress(first);
    if (!start) {
        return ValueError{AddressKey,
                          Text::tr("%1: \"%2\" is not an address A.B.C.D with parts from 0 to 255")
                              .arg(AddressKey, first)};
    }
    if (count < 1) {
        return ValueError{AddressKey, Text::tr("%1: %2 modules from %3; the count must be at least 1")
                                          .arg(AddressKey)
                                          .arg(count)
                                          .arg(first)};
    }
    // Every address handed out must be a host's: never .0 or .255, nor in
    // 0.0.0.0/8, loopback or multicast and above.
    const int a = (*start)[0];
    if (a == 0 || a == 127 || a >= 224 || (*start)[3] == 0) {
        return ValueError{AddressKey, Text::tr("%1: %2 is not a host address to hand out").arg(AddressKey, first)};
    }
    if ((*start)[3] + qint64(count) - 1 > 254) {
        return ValueError{AddressKey, Text::tr("%1: %2 modules from %3 run past .254")
                                          .arg(AddressKey)
                                          .arg(count)
                                          .arg(first)};
    }
    QStringList addresses;
    std::array<int, 4> address = *start;
    for (int i = 0; i < count; ++i) {
        addresses.append(padded(address));
        ++address[3];
    }
    return addresses;
}

Result<QList<ParameterValues>, ValueError> fleetProfiles(const ParameterValues &profile,
                                                         const QString &first, int count)
{
    auto addresses = fleetAddresses(first, count);
    if (!addresses)
        return addresses.error();
    const Parameter &address = *parameterByKey(AddressKey);
    QList<ParameterValues> fleet;
    for (const QString &ip : addresses.value()) {
        ParameterValues values = profile;
        values.set(address, ip);
        fleet.append(values);
    }
    return fleet;
}

}  // namespace kelvane
