// The tool on a host with two network cards, a simulator on each LAN: one scan
// finds both, every frame for a module leaves by its own card only, and the
// cards can be narrowed down or lost between scans.
#include "support/E2eRig.h"

#include "protocol/Frames.h"

using namespace kelvane;
using namespace kelvane::test;

namespace {
const QString Lan1 = QStringLiteral("192.0.2.1"), Lan2 = QStringLiteral("198.51.100.1");
const QString Setup1 = heard("SETUP"), Setup2 = heard("SETUP", Lan2 + ":65002");
const QByteArray Exit = QByteArray(6, '\xFF') + "END";

DeviceAddress address(int module) { return DeviceAddress({0x02, 0x4B, 0x56, 0, 0, quint8(module)}); }

bool setLink(const QString &card, const char *state)
{
    return QProcess::execute("ip", {"link", "set", "dev", card, state}) == 0;
}

// The frames a simulator heard that are not discovery requests.
QStringList commands(QStringList received)
{
    received.removeAll(Setup1);
    received.removeAll(Setup2);
    return received;
}

QStringList sorted(QStringList items)
{
    items.sort();
    return items;
}

QString routeOf(const UdpLink &link, int module)
{
    const std::optional<ModuleRoute> route = link.routeOf(address(module));
    return route ? route->card.address.toString() + " from " + route->peer.toString() : QString("none");
}

QStringList cardAddresses(const UdpLink &link)
{
    QStringList addresses;
    for (const NetworkCard &card : link.cards())
        addresses << card.address.toString();
    return addresses;
}
}  // namespace

class TwoCards : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QCOMPARE(outsideCards(), QStringList()); }
    void init();
    void cleanup();
    void eachModuleByItsOwnCard();
    void interfaceOptionLimitsDiscovery();
    void cardDownBetweenScans();
    void noCardUp();
    void unknownCardBeforeTheWindow();

private:
    std::unique_ptr<SimProcess> m_sim1, m_sim2;
    QString m_card1, m_card2;
};

void TwoCards::init()
{
    // The command line is checked before any LAN would be used.
    if (QTest::currentTestFunction() == QByteArray("unknownCardBeforeTheWindow"))
        return;
    // Modules 1 and 2 on the first LAN, 2 and 3 on the second.
    m_sim1 = std::make_unique<SimProcess>();
    m_sim2 = std::make_unique<SimProcess>();
    QVERIFY(m_sim1->start({"--modules", "2"}, 1));
    QVERIFY(m_sim2->start({"--modules", "2", "--first", "2"}, 2));
    m_card1 = m_sim1->card();
    m_card2 = m_sim2->card();
}

void TwoCards::cleanup()
{
    m_sim1.reset();
    m_sim2.reset();
}

void TwoCards::eachModuleByItsOwnCard()
{
    ToolRig tool;
    QCOMPARE(cardAddresses(tool.link), (QStringList{Lan1, Lan2}));
    QVERIFY(tool.scan());
    // Module 2 answers on both LANs and is listed once.
    QCOMPARE(sorted(tool.devices()), (QStringList{item(1), item(2), item(3)}));
    QCOMPARE(tool.log(1), QStringList{"检测到 3个设备。"});
    QCOMPARE(routeOf(tool.link, 1), "192.0.2.1 from 192.0.2.2");
    QCOMPARE(routeOf(tool.link, 3), "198.51.100.1 from 198.51.100.2");
    QCOMPARE(routeOf(tool.link, 4), "none");

    QCOMPARE(tool.read(tool.rowOf(3)), 1);
    QCOMPARE(tool.panel.text(Control::S_IP), "192.168.001.012");  // module 3's own address
    QCOMPARE(tool.panel.addressDisplay(), "本机IP地址：198.51.100.1    端口号： 65002");
    QCOMPARE(tool.panel.addressToolTip(), m_card1 + "：192.0.2.1\n" + m_card2 + "：198.51.100.1");
    QCOMPARE(tool.write(Written), 1);
    const QString n = StatusLog::number(tool.rowOf(3) + 1);
    tool.engine.restoreDefaults();
    QTRY_COMPARE_WITH_TIMEOUT(tool.log(1), QStringList{"恢复设备" + n + "默认参数成功，请重新读取该设备参数！"}, E2eTimeout);
    tool.engine.runDevice();
    QCOMPARE(tool.log(1), QStringList{"对设备" + n + "的复位运行成功。"});

    // One discovery request per round on each LAN, from its own card's address. Then a read,
    // a write, the defaults and the reset of module 3: 17 + 17 + 1 + 1 frames, every one on
    // the second LAN, none on the first.
    const QString own = address(3).toHex();
    QTRY_COMPARE_WITH_TIMEOUT(commands(m_sim2->received()).size(), 36, E2eTimeout);
    QCOMPARE(m_sim2->received().first(4), QStringList(4, Setup2));
    for (QString frame : commands(m_sim2->received())) {
        QVERIFY2(frame.remove(' ').startsWith("in" + own) && frame.endsWith("|198.51.100.1:65002"),
                 qPrintable(frame));
    }
    QCOMPARE(m_sim1->received(), QStringList(4, Setup1));

    // Module 2's read goes out of one card only: 17 queries in all, not 17 on each LAN.
    QCOMPARE(tool.read(tool.rowOf(2)), 1);
    QTRY_COMPARE_WITH_TIMEOUT(commands(m_sim1->received()).size() + commands(m_sim2->received()).size(), 36 + 17,
                              E2eTimeout);
    // The module on the first LAN only is shown with the first card.
    QCOMPARE(tool.read(tool.rowOf(1)), 1);
    QCOMPARE(tool.panel.addressDisplay(), "本机IP地址：192.0.2.1    端口号： 65002");

    // Leaving, the tool tells the modules of both LANs, once each.
    tool.engine.exitConfirmed();
    QTRY_COMPARE_WITH_TIMEOUT(m_sim1->received().last(), heard(Exit), E2eTimeout);
    QTRY_COMPARE_WITH_TIMEOUT(m_sim2->received().last(), heard(Exit, Lan2 + ":65002"), E2eTimeout);
    QCOMPARE(m_sim1->received().count(heard(Exit)) + m_sim2->received().count(heard(Exit, Lan2 + ":65002")), 2);
}

void TwoCards::interfaceOptionLimitsDiscovery()
{
    ToolRig tool({m_card2});
    QCOMPARE(cardAddresses(tool.link), QStringList{Lan2});
    QCOMPARE(tool.panel.addressDisplay(), "本机IP地址：198.51.100.1    端口号： 65002");
    QVERIFY(tool.scan());
    QCOMPARE(sorted(tool.devices()), (QStringList{item(2), item(3)}));
    QTRY_COMPARE_WITH_TIMEOUT(m_sim2->received(), QStringList(4, Setup2), E2eTimeout);
    QCOMPARE(tool.read(tool.rowOf(2)), 1);
    // The exit frame goes out of the named card only too.
    tool.engine.exitConfirmed();
    QTRY_COMPARE_WITH_TIMEOUT(m_sim2->received().last(), heard(Exit, Lan2 + ":65002"), E2eTimeout);
    QCOMPARE(m_sim1->received(), QStringList());
}

void TwoCards::cardDownBetweenScans()
{
    ToolRig tool;
    QVERIFY(tool.scan());
    QCOMPARE(tool.devices().size(), 3);
    QVERIFY(setLink(m_card2, "down"));

    QVERIFY(tool.scan());
    // No error: the start entry and the count, as in any scan; the list keeps what earlier scans found.
    QCOMPARE(tool.panel.logText().split("\r\n").size(), 5);
    QCOMPARE(tool.log(1), QStringList{"检测到 3个设备。"});
    QCOMPARE(cardAddresses(tool.link), QStringList{Lan1});
    QTRY_COMPARE_WITH_TIMEOUT(m_sim1->received(), QStringList(8, Setup1), E2eTimeout);
    QCOMPARE(m_sim2->received(), QStringList(4, Setup2));

    // Module 3 is forgotten: a frame for it goes out of every card still up.
    QCOMPARE(routeOf(tool.link, 3), "none");
    QCOMPARE(tool.read(tool.rowOf(3)), 0);
    QCOMPARE(commands(m_sim1->received()).size(), 3);  // the first query, three attempts

    // Back up, the next scan finds it there again.
    QVERIFY(setLink(m_card2, "up"));
    QTRY_VERIFY_WITH_TIMEOUT(QNetworkInterface::interfaceFromName(m_card2).flags().testFlag(QNetworkInterface::IsRunning), E2eTimeout);
    QVERIFY(tool.scan());
    QCOMPARE(routeOf(tool.link, 3), "198.51.100.1 from 198.51.100.2");
    QCOMPARE(tool.read(tool.rowOf(3)), 1);
}

void TwoCards::noCardUp()
{
    {
        UdpLink named;
        named.setCardNames({m_card2});
        QVERIFY(named.open());
        QVERIFY(setLink(m_card2, "down"));
        QVERIFY(!named.send(frames::discoveryRequest()));
        QCOMPARE(named.errorString(), "指定的网卡（" + m_card2 + "）都没有连接");
        QVERIFY(named.cards().isEmpty());
    }
    QVERIFY(setLink(m_card1, "down"));
    ToolRig tool;
    QVERIFY(!tool.link.send(frames::discoveryRequest()));
    QCOMPARE(tool.link.errorString(), "没有可以广播的网卡：请接上网线或连接网络");
    QCOMPARE(tool.panel.addressToolTip(), "没有可以广播的网卡");
}

void TwoCards::unknownCardBeforeTheWindow()
{
    QProcess tool;
    // No display: the answer must come before the window would need one.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    environment.insert("QT_QPA_PLATFORM", "xcb");
    tool.setProcessEnvironment(environment);
    tool.start(qEnvironmentVariable("KELVANE_BUILD_DIR") + "/kelvane-config", {"--interface", "nosuch0"});
    QVERIFY(tool.waitForFinished(E2eTimeout));
    QCOMPARE(tool.exitStatus(), QProcess::NormalExit);
    QCOMPARE(tool.exitCode(), 2);
    const QString said = QString::fromLocal8Bit(tool.readAllStandardError());
    QVERIFY2(said.startsWith("kelvane-config: no network card is called \"nosuch0\" (cards: lo"), qPrintable(said));
}

QTEST_GUILESS_MAIN(TwoCards)
#include "tst_cards.moc"
