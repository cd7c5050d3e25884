// Choosing network cards: which interfaces carry the broadcasts, how --interface
// names are checked, and what DISP_IP shows for the module being read.
#include "core/HeadlessPanel.h"
#include "operations/Engine.h"
#include "protocol/NetworkCards.h"
#include "support/FakeLink.h"
#include "support/ManualTimer.h"
#include "support/TestClock.h"

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

// m 00 00 00 00 00 0i
QByteArray module(int i) { return QByteArray(5, '\0') + char(i); }
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
        HeadlessPanel panel;
        FakeLink link;
        ManualTimer timer;
        Engine engine{panel, link, timer, &fixedNow};
        // Neither is the fake's default-route address, 192.0.2.1.
        const NetworkCard wired{"eth0", 2, QHostAddress(QStringLiteral("203.0.113.1"))}, wireless{"wlan0", 3, V4b};
        link.cardList = {wired, wireless};
        engine.startUp();
        // Before any read: the card of the default route, every card in the tooltip.
        QCOMPARE(panel.addressDisplay(), "本机IP地址：192.0.2.1    端口号： 65002");
        QCOMPARE(panel.addressToolTip(), "eth0：203.0.113.1\nwlan0：198.51.100.1");

        engine.scan();
        for (int i = 1; i <= 3; ++i)
            link.deliver(module(i));
        while (timer.fire()) {}
        link.routes.insert(module(2), {wireless, QHostAddress(QStringLiteral("198.51.100.2"))});
        link.routes.insert(module(3), {wired, QHostAddress(QStringLiteral("203.0.113.2"))});

        panel.selectDeviceRow(1);
        engine.deviceListClicked();
        QCOMPARE(panel.addressDisplay(), "本机IP地址：198.51.100.1    端口号： 65002");
        // A retry after a time-out shows the same card.
        QVERIFY(timer.fire());
        QCOMPARE(panel.addressDisplay(), "本机IP地址：198.51.100.1    端口号： 65002");

        // Cards come and go between scans: the tooltip shows those in use now.
        link.cardList = {wireless};
        panel.selectDeviceRow(2);
        engine.deviceListClicked();
        QCOMPARE(panel.addressDisplay(), "本机IP地址：203.0.113.1    端口号： 65002");
        QCOMPARE(panel.addressToolTip(), "wlan0：198.51.100.1");

        // A module the link cannot place: the default route's card again.
        panel.selectDeviceRow(0);
        engine.deviceListClicked();
        QCOMPARE(panel.addressDisplay(), "本机IP地址：192.0.2.1    端口号： 65002");
    }
};

QTEST_GUILESS_MAIN(Cards)
#include "tst_cards.moc"
