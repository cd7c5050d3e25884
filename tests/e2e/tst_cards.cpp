// The tool on a host with two network cards, a simulator on each LAN: one scan
// finds both, every frame for a module leaves by its own card only, and the
// cards can be narrowed down or lost between scans.
#include "support/SimProcess.h"

#include "core/HeadlessPanel.h"
#include "core/QtOneShotTimer.h"
#include "core/StatusLog.h"
#include "operations/Engine.h"
#include "protocol/Catalogue.h"
#include "protocol/Frames.h"
#include "protocol/UdpLink.h"

#include <QNetworkInterface>
#include <QSignalSpy>

using namespace kelvane;
using namespace kelvane::test;

namespace {
constexpr int Timeout = 5000;
const QString Lan1 = QStringLiteral("192.0.2.1"), Lan2 = QStringLiteral("198.51.100.1");
const QString Setup1 = "in  53 45 54 55 50 | 192.0.2.1:65002";
const QString Setup2 = "in  53 45 54 55 50 | 198.51.100.1:65002";
constexpr Control StartModes[] = {Control::Direct, Control::PPPOE, Control::DHCP};
// Module 3 as the simulator makes it.
const QStringList Module3 = {"38400bps", "无", "9", "0025", "奇校验", "0042", "1", "不显示",
                             "192.168.001.001", "255.255.255.000", "192.168.001.012", "00504",
                             "010.000.000.003", "01026", "UDP模式0", "10M全双工手动握手", "DHCP"};
// Each differs from module 3's own value, typed the way the module answers it.
const QStringList Written = {"115200bps", "RTS/CTS", "8", "0007", "偶校验", "0012", "2", "兼容模式",
                             "010.001.002.254", "255.255.000.000", "192.168.000.007", "08080",
                             "172.016.005.009", "65535", "UDP组播", "自动握手", "PPPOE"};

QString item(int module) { return QStringLiteral("设备 ( 024B5600000%1 )").arg(module); }
DeviceAddress address(int module) { return DeviceAddress({0x02, 0x4B, 0x56, 0, 0, quint8(module)}); }

// The name of this host's card with this address; empty when there is none.
QString cardWith(const QString &ip)
{
    for (const QNetworkInterface &nic : QNetworkInterface::allInterfaces()) {
        for (const QNetworkAddressEntry &entry : nic.addressEntries()) {
            if (entry.ip().toString() == ip)
                return nic.name();
        }
    }
    return {};
}

bool setLink(const QString &card, const char *state)
{
    return QProcess::execute("ip", {"link", "set", "dev", card, state}) == 0;
}

// The frames a simulator heard that are not discovery requests.
QStringList commands(const QStringList &received)
{
    QStringList frames;
    for (const QString &line : received) {
        if (!line.startsWith("in  53 45 54 55 50 |"))
            frames << line;
    }
    return frames;
}

// The tool's engine on its real socket, limited to `cards` when given.
struct Tool {
    HeadlessPanel panel;
    UdpLink link;
    QtOneShotTimer timer;
    Engine engine{panel, link, timer};

    explicit Tool(const QStringList &cards = {})
    {
        link.setCardNames(cards);
        engine.startUp();
    }
    QStringList log(qsizetype n) const { return panel.logText().split("\r\n").last(n); }
    bool scan()
    {
        engine.scan();
        return QTest::qWaitFor([this] { return engine.machine().ScanRound == 0; }, Timeout);
    }
    QStringList devices() const
    {
        QStringList items;
        for (int row = 0; row < panel.deviceRowCount(); ++row)
            items << panel.deviceText(row);
        return items;
    }
    QStringList sortedDevices() const
    {
        QStringList items = devices();
        items.sort();
        return items;
    }
    // The read's or write's verdict once Device_List is back: true for its success entry.
    bool ended(const QString &success)
    {
        return QTest::qWaitFor([this] { return panel.isEnabled(Control::Device_List); }, Timeout) &&
               log(1) == QStringList{success};
    }
    bool read(int module)
    {
        const int row = int(devices().indexOf(item(module)));
        if (row < 0)
            return false;
        panel.selectDeviceRow(row);
        engine.deviceListClicked();
        return ended("读取设备" + StatusLog::number(row + 1) + "参数成功！");
    }
    bool write(const QStringList &values)
    {
        for (int row = 0; row < ParameterCount - 1; ++row) {
            const Parameter &p = catalogue()[row];
            if (p.kind == ValueKind::Choice)
                panel.selectIndex(p.control, int(p.items.indexOf(values[row])));
            else
                panel.setText(p.control, values[row]);
        }
        for (Control c : StartModes)
            panel.setChecked(c, controlName(c) == values.last());
        engine.setting();
        return ended("设置设备" + StatusLog::number(panel.selectedDeviceRow() + 1) + "数据成功！");
    }
    QStringList shown() const
    {
        QStringList values;
        for (Control c : valueControls())
            values << panel.text(c);
        for (Control c : StartModes)
            values += panel.isChecked(c) ? QStringList{controlName(c)} : QStringList();
        return values;
    }
    QString routeOf(int module) const
    {
        const std::optional<ModuleRoute> route = link.routeOf(address(module));
        return route ? route->card.address.toString() + " from " + route->peer.toString() : QString("none");
    }
    QStringList cardAddresses() const
    {
        QStringList addresses;
        for (const NetworkCard &card : link.cards())
            addresses << card.address.toString();
        return addresses;
    }
};
}  // namespace

class TwoCards : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void oneScanFindsBothLans();
    void frameForAModuleLeavesByItsCard();
    void moduleOnBothLansListedOnce();
    void interfaceOptionLimitsDiscovery();
    void cardDownBetweenScans();
    void noCardUp();
    void commandLine_data();
    void commandLine();

private:
    std::unique_ptr<SimProcess> m_sim1, m_sim2;
    QString m_card1, m_card2;
};

void TwoCards::initTestCase()
{
    // Refuse to broadcast anywhere but in a namespace of scripts/private-net and its peer hosts.
    QCOMPARE(qEnvironmentVariable("KELVANE_PRIVATE_NET"), QStringLiteral("inside"));
    for (const QNetworkInterface &nic : QNetworkInterface::allInterfaces()) {
        QVERIFY2(nic.type() == QNetworkInterface::Loopback || nic.name().startsWith("kvh"),
                 qPrintable(nic.name() + " may reach a real network"));
    }
}

void TwoCards::init()
{
    // Modules 1 and 2 on the first LAN, 3 and 4 on the second, unless a test starts its own.
    m_sim1 = std::make_unique<SimProcess>();
    m_sim2 = std::make_unique<SimProcess>();
    const bool same = QByteArray(QTest::currentTestFunction()) == "moduleOnBothLansListedOnce";
    QVERIFY(m_sim1->start({"--modules", "2"}, 1));
    QVERIFY(m_sim2->start({"--modules", "2", "--first", same ? "1" : "3"}, 2));
    m_card1 = m_sim1->card();
    m_card2 = m_sim2->card();
    QCOMPARE(cardWith(Lan1), m_card1);
    QCOMPARE(cardWith(Lan2), m_card2);
}

void TwoCards::cleanup()
{
    m_sim1.reset();
    m_sim2.reset();
}

void TwoCards::oneScanFindsBothLans()
{
    Tool tool;
    QCOMPARE(tool.cardAddresses(), (QStringList{Lan1, Lan2}));
    QVERIFY(tool.scan());
    QCOMPARE(tool.sortedDevices(), (QStringList{item(1), item(2), item(3), item(4)}));
    QCOMPARE(tool.log(1), QStringList{"检测到 4个设备。"});
    // One request per round on each LAN, each from its own card's address.
    QTRY_COMPARE_WITH_TIMEOUT(m_sim1->received(), QStringList(4, Setup1), Timeout);
    QTRY_COMPARE_WITH_TIMEOUT(m_sim2->received(), QStringList(4, Setup2), Timeout);
    QCOMPARE(tool.routeOf(1), "192.0.2.1 from 192.0.2.2");
    QCOMPARE(tool.routeOf(4), "198.51.100.1 from 198.51.100.2");
    QCOMPARE(tool.routeOf(5), "none");

    // Leaving, the tool tells the modules of both LANs, once each.
    tool.engine.exitConfirmed();
    const QString exit = "in  FF FF FF FF FF FF 45 4E 44 | ";
    QTRY_COMPARE_WITH_TIMEOUT(m_sim1->received().mid(4), QStringList{exit + "192.0.2.1:65002"}, Timeout);
    QTRY_COMPARE_WITH_TIMEOUT(m_sim2->received().mid(4), QStringList{exit + "198.51.100.1:65002"}, Timeout);
}

void TwoCards::frameForAModuleLeavesByItsCard()
{
    Tool tool;
    QVERIFY(tool.scan());
    QVERIFY(tool.read(3));
    QCOMPARE(tool.shown(), Module3);
    QCOMPARE(tool.panel.addressDisplay(), "本机IP地址：198.51.100.1    端口号： 65002");
    QCOMPARE(tool.panel.addressToolTip(), m_card1 + "：192.0.2.1\n" + m_card2 + "：198.51.100.1");
    QVERIFY(tool.write(Written));
    QVERIFY(tool.read(3));
    QCOMPARE(tool.shown(), Written);
    const QString n = StatusLog::number(tool.panel.selectedDeviceRow() + 1);
    tool.engine.restoreDefaults();
    QTRY_COMPARE_WITH_TIMEOUT(tool.log(1), QStringList{"恢复设备" + n + "默认参数成功，请重新读取该设备参数！"}, Timeout);
    tool.engine.runDevice();
    QCOMPARE(tool.log(1), QStringList{"对设备" + n + "的复位运行成功。"});

    // Two reads, a write, the defaults and the reset: 17 + 17 + 17 + 1 + 1 frames,
    // every one on the second LAN, none on the first.
    const QString own = address(3).toHex();
    QTRY_COMPARE_WITH_TIMEOUT(commands(m_sim2->received()).size(), 53, Timeout);
    for (QString frame : commands(m_sim2->received())) {
        QVERIFY2(frame.remove(' ').startsWith("in" + own) && frame.endsWith("|198.51.100.1:65002"),
                 qPrintable(frame));
    }
    QCOMPARE(commands(m_sim1->received()), QStringList());

    // The module on the first LAN is shown with the first card.
    QVERIFY(tool.read(1));
    QCOMPARE(tool.panel.addressDisplay(), "本机IP地址：192.0.2.1    端口号： 65002");
}

void TwoCards::moduleOnBothLansListedOnce()
{
    Tool tool;
    QVERIFY(tool.scan());
    QCOMPARE(tool.devices().size(), 2);
    QCOMPARE(tool.sortedDevices(), (QStringList{item(1), item(2)}));
    QCOMPARE(tool.log(1), QStringList{"检测到 2个设备。"});
    QVERIFY(tool.read(1));
    // The read went out of one card only: 17 queries in all, not 17 on each LAN.
    QTRY_COMPARE_WITH_TIMEOUT(commands(m_sim1->received()).size() + commands(m_sim2->received()).size(), 17,
                              Timeout);
    QVERIFY(commands(m_sim1->received()).isEmpty() || commands(m_sim2->received()).isEmpty());
}

void TwoCards::interfaceOptionLimitsDiscovery()
{
    Tool tool({m_card2});
    QCOMPARE(tool.cardAddresses(), QStringList{Lan2});
    QCOMPARE(tool.panel.addressDisplay(), "本机IP地址：198.51.100.1    端口号： 65002");
    QVERIFY(tool.scan());
    QCOMPARE(tool.sortedDevices(), (QStringList{item(3), item(4)}));
    QTRY_COMPARE_WITH_TIMEOUT(m_sim2->received(), QStringList(4, Setup2), Timeout);
    QVERIFY(tool.read(4));
    // The exit frame goes out of the named card only too.
    tool.engine.exitConfirmed();
    QTRY_COMPARE_WITH_TIMEOUT(m_sim2->received().last(), "in  FF FF FF FF FF FF 45 4E 44 | 198.51.100.1:65002",
                              Timeout);
    QCOMPARE(m_sim1->received(), QStringList());
}

void TwoCards::cardDownBetweenScans()
{
    Tool tool;
    QVERIFY(tool.scan());
    QCOMPARE(tool.devices().size(), 4);
    QVERIFY(setLink(m_card2, "down"));

    QSignalSpy heard(&tool.link, &Link::datagramReceived);
    QVERIFY(tool.scan());
    // No error: the start entry and the count, as in any scan; the list keeps what earlier scans found.
    QCOMPARE(tool.panel.logText().split("\r\n").size(), 5);
    QCOMPARE(tool.log(1), QStringList{"检测到 4个设备。"});
    QCOMPARE(tool.cardAddresses(), QStringList{Lan1});
    QSet<QString> answered;
    for (const QList<QVariant> &arguments : heard)
        answered.insert(DeviceAddress::fromFrame(arguments.at(0).toByteArray())->toHex());
    QCOMPARE(answered, (QSet<QString>{address(1).toHex(), address(2).toHex()}));
    QTRY_COMPARE_WITH_TIMEOUT(m_sim1->received(), QStringList(8, Setup1), Timeout);
    QCOMPARE(m_sim2->received(), QStringList(4, Setup2));

    // Its modules are forgotten: a frame for one goes out of every card still up.
    QCOMPARE(tool.routeOf(3), "none");
    QVERIFY(!tool.read(3));
    QCOMPARE(commands(m_sim1->received()).size(), 3);  // the first query, three attempts

    // Back up, the next scan finds them on it again.
    QVERIFY(setLink(m_card2, "up"));
    QTRY_VERIFY_WITH_TIMEOUT(QNetworkInterface::interfaceFromName(m_card2).flags().testFlag(QNetworkInterface::IsRunning), Timeout);
    QVERIFY(tool.scan());
    QCOMPARE(tool.routeOf(3), "198.51.100.1 from 198.51.100.2");
    QVERIFY(tool.read(3));
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

    Tool tool;
    QVERIFY(!tool.link.send(frames::discoveryRequest()));
    QCOMPARE(tool.link.errorString(), "没有可以广播的网卡：请接上网线或连接网络");
    QCOMPARE(tool.panel.addressToolTip(), "没有可以广播的网卡");
    QTest::qWait(300);
    QCOMPARE(m_sim1->received(), QStringList());
    QCOMPARE(m_sim2->received(), QStringList());
}

void TwoCards::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");  // what standard output or standard error starts with
    QTest::newRow("unknown card") << QStringList{"--interface", "nosuch0"} << 2
                                  << "kelvane-config: no network card is called \"nosuch0\" (cards: lo";
    QTest::newRow("loopback, then unknown") << QStringList{"--interface", "lo", "--interface", "nosuch0"} << 2
                                           << "kelvane-config: network card \"lo\" cannot broadcast";
    QTest::newRow("no name") << QStringList{"--interface"} << 2
                             << "kelvane-config: Missing value after '--interface'.";
    QTest::newRow("help") << QStringList{"--help"} << 0 << "Usage: kelvane-config [options]\n";
    QTest::newRow("version") << QStringList{"--version"} << 0 << "kelvane-config 3.0\n";
}

void TwoCards::commandLine()
{
    QFETCH(QStringList, arguments);
    QProcess tool;
    // No display: every answer here comes before the window would need one.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    environment.insert("QT_QPA_PLATFORM", "xcb");
    tool.setProcessEnvironment(environment);
    tool.start(qEnvironmentVariable("KELVANE_BUILD_DIR") + "/kelvane-config", arguments);
    QVERIFY(tool.waitForFinished(Timeout));
    QCOMPARE(tool.exitStatus(), QProcess::NormalExit);
    QTEST(tool.exitCode(), "status");
    const QString said = QString::fromLocal8Bit(tool.exitCode() == 0 ? tool.readAllStandardOutput()
                                                                     : tool.readAllStandardError());
    QFETCH(QString, out);
    QVERIFY2(said.startsWith(out), qPrintable(said));
    if (arguments == QStringList{"--help"})
        QVERIFY2(said.contains("--interface <NAME>"), qPrintable(said));
}

QTEST_GUILESS_MAIN(TwoCards)
#include "tst_cards.moc"
