// SPDX-License-Identifier: Apache-2.0
#include "LanCheck.h"

#include "protocol/ParameterNames.h"

#include <QSet>

namespace kelvane {

namespace {
// A socket reports an IPv4 sender as "::ffff:a.b.c.d" on a dual-stack bind.
QString ipv4Text(const QHostAddress &address)
{
    bool ok = false;
    const quint32 ip = address.toIPv4Address(&ok);
    return ok ? QHostAddress(ip).toString() : address.toString();
}
}  // namespace

CardSubnet cardSubnet(const NetworkCard &card)
{
    return {card.name, ipv4Text(card.address), card.prefixLength};
}

QList<HeardModule> heardModules(const DeviceTable &table, const Link &link)
{
    QList<HeardModule> heard;
    for (int row = 0; row < table.count(); ++row) {
        const DeviceAddress module = table.address(row);
        HeardModule entry{module.toHex(), {}, {}};
        if (const std::optional<ModuleRoute> route = link.routeOf(module)) {
            entry.answeredFrom = ipv4Text(route->peer);
            entry.card = cardSubnet(route->card);
        }
        heard.append(entry);
    }
    return heard;
}

QList<QList<ModuleWarning>> listedModuleWarnings(const DeviceTable &table, const Link &link)
{
    return moduleWarnings(heardModules(table, link));
}

QList<Finding> checkHandedOutAddresses(const DeviceTable &table, const Link &link,
                                       const QList<DeviceAddress> &modules, const QList<ParameterValues> &profiles)
{
    const Parameter &ip = *parameterByKey(u"ip_address");
    QSet<QString> inSet;
    for (const DeviceAddress &module : modules)
        inSet.insert(module.toHex());
    // A module of the set gives up the address it answers from.
    QStringList others;
    for (const HeardModule &heard : heardModules(table, link)) {
        if (!inSet.contains(heard.module) && !heard.answeredFrom.isEmpty())
            others << heard.answeredFrom;
    }
    QStringList cards;
    for (const NetworkCard &card : link.cards())
        cards << ipv4Text(card.address);

    QList<AddressAssignment> assignments;
    for (int i = 0; i < modules.size() && i < profiles.size(); ++i) {
        if (!profiles[i].contains(ip))
            continue;
        AddressAssignment assignment{modules[i].toHex(), profiles[i].value(ip), {}};
        if (const std::optional<ModuleRoute> route = link.routeOf(modules[i]))
            assignment.card = cardSubnet(route->card);
        assignments.append(assignment);
    }
    return checkAssignedAddresses(assignments, others, cards);
}

}  // namespace kelvane
