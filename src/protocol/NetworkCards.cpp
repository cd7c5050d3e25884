// SPDX-License-Identifier: Apache-2.0
#include "NetworkCards.h"

#include <QCoreApplication>

#include <algorithm>

namespace kelvane {

namespace {
std::optional<InterfaceAddress> firstIpv4(const QList<InterfaceAddress> &addresses)
{
    const auto found = std::find_if(addresses.begin(), addresses.end(), [](const InterfaceAddress &a) {
        return a.ip.protocol() == QAbstractSocket::IPv4Protocol;
    });
    if (found == addresses.end())
        return std::nullopt;
    return *found;
}

bool canEverBroadcast(const InterfaceState &interface)
{
    return !interface.flags.testFlag(QNetworkInterface::IsLoopBack) &&
           interface.flags.testFlag(QNetworkInterface::CanBroadcast);
}
}  // namespace

QList<InterfaceState> systemInterfaces()
{
    QList<InterfaceState> states;
    for (const QNetworkInterface &nic : QNetworkInterface::allInterfaces()) {
        InterfaceState state{nic.name(), nic.index(), nic.flags(), {}};
        for (const QNetworkAddressEntry &entry : nic.addressEntries())
            state.addresses.append({entry.ip(), entry.prefixLength()});
        states.append(state);
    }
    return states;
}

QList<NetworkCard> usableCards(const QList<InterfaceState> &interfaces, const QStringList &names)
{
    QList<NetworkCard> cards;
    for (const InterfaceState &interface : interfaces) {
        if (!names.isEmpty() && !names.contains(interface.name))
            continue;
        // A card without carrier takes a datagram and drops it: nobody can answer there.
        const bool up = interface.flags.testFlag(QNetworkInterface::IsUp) &&
                        interface.flags.testFlag(QNetworkInterface::IsRunning);
        const std::optional<InterfaceAddress> address = firstIpv4(interface.addresses);
        if (up && canEverBroadcast(interface) && address)
            cards.append({interface.name, interface.index, address->ip, address->prefixLength});
    }
    return cards;
}

std::optional<QString> checkCardNames(const QList<InterfaceState> &interfaces, const QStringList &names)
{
    QStringList known;
    for (const InterfaceState &interface : interfaces)
        known.append(interface.name);
    for (const QString &name : names) {
        const auto found = std::find_if(interfaces.begin(), interfaces.end(),
                                        [&name](const InterfaceState &i) { return i.name == name; });
        if (found == interfaces.end()) {
            return QCoreApplication::translate("NetworkCards", "no network card is called \"%1\" (cards: %2)")
                .arg(name, known.join(QStringLiteral(", ")));
        }
        if (!canEverBroadcast(*found)) {
            return QCoreApplication::translate("NetworkCards", "network card \"%1\" cannot broadcast").arg(name);
        }
    }
    return std::nullopt;
}

QCommandLineOption interfaceOption()
{
    return QCommandLineOption(
        QStringLiteral("interface"),
        QCoreApplication::translate("NetworkCards",
                                    "Find and reach modules through this network card only. "
                                    "Give it again for more cards. Default: every card that is up."),
        QStringLiteral("NAME"));
}

QString cardsToolTip(const QList<NetworkCard> &cards)
{
    if (cards.isEmpty())
        return QCoreApplication::translate("NetworkCards", "没有可以广播的网卡");
    QStringList lines;
    for (const NetworkCard &card : cards)
        lines.append(card.name + QStringLiteral("：") + card.address.toString());
    return lines.join(QLatin1Char('\n'));
}

}  // namespace kelvane
