// SPDX-License-Identifier: Apache-2.0
// Choosing network cards: which interfaces carry the broadcasts, how --interface
// names are checked.
#include "protocol/NetworkCards.h"

#include <QTest>

using namespace kelvane;
using Flags = QNetworkInterface::InterfaceFlags;

Q_DECLARE_METATYPE(kelvane::InterfaceAddress)

namespace {
constexpr Flags Ethernet = Flags(QNetworkInterface::IsUp) | QNetworkInterface::IsRunning |
                           QNetworkInterface::CanBroadcast | QNetworkInterface::CanMulticast;
const QHostAddress V4a(QStringLiteral("192.0.2.1"));
const QHostAddress V4b(QStringLiteral("198.51.100.1"));
const QHostAddress V6(QStringLiteral("fe80::1"));

// A machine with loopback, a wired card, a wired card that is down, a wireless card and a tunnel.
QList<InterfaceState> laptop()
{
    return {
        {"lo", 1, Flags(QNetworkInterface::IsUp) | QNetworkInterface::IsRunning | QNetworkInterface::IsLoopBack,
         {QHostAddress(QHostAddress::LocalHost)}},
        {"eth0", 2, Ethernet, {{V6, 64}, {V4a, 24}}},
        {"eth1", 5, Ethernet & ~Flags(QNetworkInterface::IsUp), {QHostAddress(QStringLiteral("192.0.2.5"))}},
        {"wlan0", 3, Ethernet, {{V4b, 22}}},
        {"tun0", 4,
         Flags(QNetworkInterface::IsUp) | QNetworkInterface::IsRunning | QNetworkInterface::IsPointToPoint,
         {QHostAddress(QStringLiteral("203.0.113.9"))}},
    };
}

QStringList names(const QList<NetworkCard> &cards)
{
    QStringList list;
    for (const NetworkCard &card : cards)
        list << card.name + '=' + QString::number(card.index) + '=' + card.address.toString() + '/' +
                    QString::number(card.prefixLength);
    return list;
}
}  // namespace

class Cards : public QObject {
    Q_OBJECT

private slots:
    void oneCard_data()
    {
        QTest::addColumn<Flags>("flags");
        QTest::addColumn<QList<InterfaceAddress>>("addresses");
        QTest::addColumn<QStringList>("expected");  // empty when the card is left out
        QTest::newRow("first IPv4 taken, with its own prefix")
            << Ethernet << QList<InterfaceAddress>{{V6, 64}, {V4b, 25}, {V4a, 24}}
            << QStringList{"eth1=7=198.51.100.1/25"};
        QTest::newRow("prefix unknown") << Ethernet << QList<InterfaceAddress>{V4a} << QStringList{"eth1=7=192.0.2.1/-1"};
        QTest::newRow("up without carrier") << (Ethernet & ~Flags(QNetworkInterface::IsRunning))
                                            << QList<InterfaceAddress>{V4a} << QStringList{};
        QTest::newRow("IPv6 only") << Ethernet << QList<InterfaceAddress>{{V6, 64}} << QStringList{};
    }
    void oneCard()
    {
        QFETCH(Flags, flags);
        QFETCH(QList<InterfaceAddress>, addresses);
        QTEST(names(usableCards({{"eth1", 7, flags, addresses}})), "expected");
    }

    // Cards named with --interface: the usable ones among them, in system order, and
    // the first name that is no card or a card that can never broadcast.
    void chosenByName_data()
    {
        QTest::addColumn<QStringList>("only");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QString>("error");  // "" when every name is fine
        const QStringList both = {"eth0=2=192.0.2.1/24", "wlan0=3=198.51.100.1/22"};
        QTest::newRow("no names: every usable card") << QStringList{} << both << "";
        QTest::newRow("both names, reversed") << QStringList{"wlan0", "eth0"} << both << "";
        QTest::newRow("unknown name, case matters, cards listed")
            << QStringList{"eth0", "ETH0"} << QStringList{"eth0=2=192.0.2.1/24"}
            << "no network card is called \"ETH0\" (cards: lo, eth0, eth1, wlan0, tun0)";
        QTest::newRow("tunnel") << QStringList{"wlan0", "tun0"} << QStringList{"wlan0=3=198.51.100.1/22"}
                                << "network card \"tun0\" cannot broadcast";
        // A card unplugged at start may come back: naming it is no mistake.
        QTest::newRow("down: still known") << QStringList{"eth1"} << QStringList{} << "";
    }
    void chosenByName()
    {
        QFETCH(QStringList, only);
        QTEST(names(usableCards(laptop(), only)), "expected");
        QTEST(checkCardNames(laptop(), only).value_or(QString()), "error");
    }
};

QTEST_GUILESS_MAIN(Cards)
#include "tst_cards.moc"
