// Choosing network cards: which interfaces carry the broadcasts, how --interface
// names are checked.
#include "protocol/NetworkCards.h"

#include <QTest>

using namespace kelvane;
using Flags = QNetworkInterface::InterfaceFlags;

namespace {
constexpr Flags Ethernet = Flags(QNetworkInterface::IsUp) | QNetworkInterface::IsRunning |
                           QNetworkInterface::CanBroadcast | QNetworkInterface::CanMulticast;
const QHostAddress V4a(QStringLiteral("192.0.2.1"));
const QHostAddress V4b(QStringLiteral("198.51.100.1"));
const QHostAddress V6(QStringLiteral("fe80::1"));

// A machine with loopback, a wired card, a wireless card and a tunnel.
QList<InterfaceState> laptop()
{
    return {
        {"lo", 1, Flags(QNetworkInterface::IsUp) | QNetworkInterface::IsRunning | QNetworkInterface::IsLoopBack,
         {QHostAddress(QHostAddress::LocalHost)}},
        {"eth0", 2, Ethernet, {V6, V4a}},
        {"wlan0", 3, Ethernet, {V4b}},
        {"tun0", 4, Flags(QNetworkInterface::IsUp) | QNetworkInterface::IsRunning | QNetworkInterface::IsPointToPoint,
         {QHostAddress(QStringLiteral("203.0.113.9"))}},
    };
}

QStringList names(const QList<NetworkCard> &cards)
{
    QStringList list;
    for (const NetworkCard &card : cards)
        list << card.name + '=' + QString::number(card.index) + '=' + card.address.toString();
    return list;
}
}  // namespace

class Cards : public QObject {
    Q_OBJECT

private slots:
    void oneCard_data()
    {
        QTest::addColumn<Flags>("flags");
        QTest::addColumn<QList<QHostAddress>>("addresses");
        QTest::addColumn<QStringList>("expected");  // empty when the card is left out
        QTest::newRow("IPv6 first, IPv4 taken") << Ethernet << QList<QHostAddress>{V6, V4b, V4a}
                                                << QStringList{"eth1=7=198.51.100.1"};
        QTest::newRow("down") << (Ethernet & ~Flags(QNetworkInterface::IsUp)) << QList<QHostAddress>{V4a} << QStringList{};
        QTest::newRow("up without carrier") << (Ethernet & ~Flags(QNetworkInterface::IsRunning))
                                            << QList<QHostAddress>{V4a} << QStringList{};
        QTest::newRow("loopback") << (Ethernet | QNetworkInterface::IsLoopBack) << QList<QHostAddress>{V4a} << QStringList{};
        QTest::newRow("IPv6 only") << Ethernet << QList<QHostAddress>{V6} << QStringList{};
        QTest::newRow("no address") << Ethernet << QList<QHostAddress>{} << QStringList{};
    }
    void oneCard()
    {
        QFETCH(Flags, flags);
        QFETCH(QList<QHostAddress>, addresses);
        QTEST(names(usableCards({{"eth1", 7, flags, addresses}})), "expected");
    }

    // Loopback and the tunnel never broadcast, even when named.
    void chosenByName_data()
    {
        QTest::addColumn<QStringList>("only");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("no names: every usable card, in system order")
            << QStringList{} << QStringList{"eth0=2=192.0.2.1", "wlan0=3=198.51.100.1"};
        QTest::newRow("both names, reversed")
            << QStringList{"wlan0", "eth0"} << QStringList{"eth0=2=192.0.2.1", "wlan0=3=198.51.100.1"};
        QTest::newRow("one name") << QStringList{"wlan0", "tun0", "lo"} << QStringList{"wlan0=3=198.51.100.1"};
    }
    void chosenByName()
    {
        QFETCH(QStringList, only);
        QTEST(names(usableCards(laptop(), only)), "expected");
    }

    void checkNames_data()
    {
        QTest::addColumn<QStringList>("given");
        QTest::addColumn<QString>("error");  // "" when every name is fine
        QTest::newRow("known cards") << QStringList{"eth0", "wlan0"} << "";
        QTest::newRow("unknown name, case matters, cards listed")
            << QStringList{"eth0", "ETH0"} << "no network card is called \"ETH0\" (cards: lo, eth0, wlan0, tun0)";
        QTest::newRow("loopback") << QStringList{"lo"} << "network card \"lo\" cannot broadcast";
        QTest::newRow("tunnel") << QStringList{"tun0"} << "network card \"tun0\" cannot broadcast";
    }
    void checkNames()
    {
        QFETCH(QStringList, given);
        QTEST(checkCardNames(laptop(), given).value_or(QString()), "error");
    }

    void downCardIsStillKnown()
    {
        // A card unplugged at start may come back: naming it is no mistake.
        QList<InterfaceState> interfaces = laptop();
        interfaces[1].flags &= ~Flags(QNetworkInterface::IsUp);
        QCOMPARE(checkCardNames(interfaces, {"eth0"}), std::nullopt);
        QCOMPARE(usableCards(interfaces, {"eth0"}), QList<NetworkCard>());
    }
};

QTEST_GUILESS_MAIN(Cards)
#include "tst_cards.moc"
