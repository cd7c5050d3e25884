// Choosing network cards: which interfaces carry the broadcasts, how --interface
// names are checked, and what DISP_IP shows for the module being read.
#include "protocol/NetworkCards.h"
#include "support/EngineRig.h"

#include <QTest>

using namespace kelvane;
using namespace kelvane::test;
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
        QTest::addColumn<QString>("expected");  // "" when the card is left out
        QTest::newRow("wired card, IPv4 only") << Ethernet << QList<QHostAddress>{V4a} << "eth1=7=192.0.2.1";
        QTest::newRow("IPv6 first, IPv4 taken") << Ethernet << QList<QHostAddress>{V6, V4b, V4a}
                                                << "eth1=7=198.51.100.1";
        QTest::newRow("down") << (Ethernet & ~Flags(QNetworkInterface::IsUp)) << QList<QHostAddress>{V4a} << "";
        QTest::newRow("up without carrier") << (Ethernet & ~Flags(QNetworkInterface::IsRunning))
                                            << QList<QHostAddress>{V4a} << "";
        QTest::newRow("cannot broadcast") << (Ethernet & ~Flags(QNetworkInterface::CanBroadcast))
                                          << QList<QHostAddress>{V4a} << "";
        QTest::newRow("loopback") << (Ethernet | QNetworkInterface::IsLoopBack) << QList<QHostAddress>{V4a} << "";
        QTest::newRow("IPv6 only") << Ethernet << QList<QHostAddress>{V6} << "";
        QTest::newRow("no address") << Ethernet << QList<QHostAddress>{} << "";
    }
    void oneCard()
    {
        QFETCH(Flags, flags);
        QFETCH(QList<QHostAddress>, addresses);
        const QList<NetworkCard> cards = usableCards({{"eth1", 7, flags, addresses}});
        QTEST(names(cards).join(','), "expected");
    }

    void chosenByName_data()
    {
        QTest::addColumn<QStringList>("only");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("no names: every usable card, in system order")
            << QStringList{} << QStringList{"eth0=2=192.0.2.1", "wlan0=3=198.51.100.1"};
        QTest::newRow("one name") << QStringList{"wlan0"} << QStringList{"wlan0=3=198.51.100.1"};
        QTest::newRow("both names, reversed")
            << QStringList{"wlan0", "eth0"} << QStringList{"eth0=2=192.0.2.1", "wlan0=3=198.51.100.1"};
        QTest::newRow("a named card that cannot broadcast gives nothing") << QStringList{"tun0"} << QStringList{};
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
        QTest::newRow("none given") << QStringList{} << "";
        QTest::newRow("known cards") << QStringList{"eth0", "wlan0"} << "";
        QTest::newRow("unknown name, cards listed")
            << QStringList{"eth0", "eth9"} << "no network card is called \"eth9\" (cards: lo, eth0, wlan0, tun0)";
        QTest::newRow("case matters") << QStringList{"ETH0"}
                                      << "no network card is called \"ETH0\" (cards: lo, eth0, wlan0, tun0)";
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

    void toolTip()
    {
        QCOMPARE(cardsToolTip({{"eth0", 2, V4a}, {"wlan0", 3, V4b}}), "eth0：192.0.2.1\nwlan0：198.51.100.1");
        QCOMPARE(cardsToolTip({}), "没有可以广播的网卡");
    }

    void addressDisplayFollowsTheModule()
    {
        EngineRig rig{EngineRig::Unstarted{}};
        // Neither is the fake's default-route address, 192.0.2.1.
        const NetworkCard wired{"eth0", 2, QHostAddress(QStringLiteral("203.0.113.1"))}, wireless{"wlan0", 3, V4b};
        const QString display = "本机IP地址：%1    端口号： 65002";
        rig.link.cardList = {wired, wireless};
        rig.engine.startUp();
        // Before any read: the card of the default route, every card in the tooltip.
        QCOMPARE(rig.panel.addressDisplay(), display.arg("192.0.2.1"));
        QCOMPARE(rig.panel.addressToolTip(), "eth0：203.0.113.1\nwlan0：198.51.100.1");

        rig.engine.scan();
        for (int i = 0; i < 3; ++i)
            rig.link.deliver(addr(i));
        while (rig.timer.fire()) {}
        rig.link.routes.insert(addr(1), {wireless, QHostAddress(QStringLiteral("198.51.100.2"))});
        rig.link.routes.insert(addr(2), {wired, QHostAddress(QStringLiteral("203.0.113.2"))});
        rig.click(1);
        QCOMPARE(rig.panel.addressDisplay(), display.arg("198.51.100.1"));
        // A retry after a time-out shows the same card.
        QVERIFY(rig.timer.fire());
        QCOMPARE(rig.panel.addressDisplay(), display.arg("198.51.100.1"));

        // Cards come and go between scans: the tooltip shows those in use now.
        rig.link.cardList = {wireless};
        rig.click(2);
        QCOMPARE(rig.panel.addressDisplay(), display.arg("203.0.113.1"));
        QCOMPARE(rig.panel.addressToolTip(), "wlan0：198.51.100.1");
        // A module the link cannot place: the default route's card again.
        rig.click(0);
        QCOMPARE(rig.panel.addressDisplay(), display.arg("192.0.2.1"));
    }
};

QTEST_GUILESS_MAIN(Cards)
#include "tst_cards.moc"
