// The tool's engine on its real socket and timer against kelvane-sim on a peer
// host: the simulator's answers decoded by the tool, the tool's requests seen
// at the simulator's end.
#include "core/HeadlessPanel.h"
#include "core/QtOneShotTimer.h"
#include "core/StatusLog.h"
#include "operations/Engine.h"
#include "protocol/Catalogue.h"
#include "protocol/UdpLink.h"

#include <QNetworkInterface>
#include <QProcess>
#include <QTest>

#include <csignal>
#include <sys/prctl.h>

using namespace kelvane;

namespace {
constexpr int Timeout = 5000;
constexpr Control StartModes[] = {Control::Direct, Control::PPPOE, Control::DHCP};
// Module 1 as the simulator makes it: 600bps is the last baud item, 9 data bits the second.
const QStringList Factory = {"600bps", "无", "9", "0003", "偶校验", "0040", "1", "正常显示",
                             "192.168.001.001", "255.255.255.000", "192.168.001.010", "00502",
                             "010.000.000.001", "01024", "TCP服务器", "100M全双工手动握手", "Direct"};
// Each differs from the factory value, typed the way the module answers it.
const QStringList Written = {"115200bps", "RTS/CTS", "8", "0007", "奇校验", "0012", "2", "兼容模式",
                             "010.001.002.254", "255.255.000.000", "192.168.000.007", "08080",
                             "172.016.005.009", "65535", "UDP组播", "自动握手", "PPPOE"};

QString item(int module) { return QStringLiteral("设备 ( 024B5600000%1 )").arg(module); }

// The tool as the window drives it, and the simulated modules it talks to.
struct Rig {
    HeadlessPanel panel;
    UdpLink link;
    QtOneShotTimer timer;
    Engine engine{panel, link, timer};
    QProcess sim;
    QByteArray trace;

    Rig() { engine.startUp(); }
    ~Rig() { sim.terminate(); sim.waitForFinished(); }  // peer-host passes TERM on to the simulator
    bool start(const QStringList &options)
    {
        // Should this test die, the simulator goes with it.
        sim.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        sim.start(qEnvironmentVariable("KELVANE_SOURCE_DIR") + "/scripts/peer-host",
                  QStringList{qEnvironmentVariable("KELVANE_BUILD_DIR") + "/kelvane-sim", "--verbose"}
                      + options);
        return QTest::qWaitFor([this] { return sim.canReadLine() && sim.readLine() == "ready\n"; }, 10000);
    }
    // The datagrams that reached the simulator, as "in  <hex> | <sender>".
    QStringList received()
    {
        trace += sim.readAllStandardError();
        QStringList lines;
        for (const QByteArray &line : trace.split('\n')) {
            if (line.startsWith("in "))
                lines << QString::fromLatin1(line.left(line.lastIndexOf(" | ")));
        }
        return lines;
    }
    QStringList log(qsizetype n) const { return panel.logText().split("\r\n").last(n); }
    QStringList devices() const
    {
        QStringList items;
        for (int row = 0; row < panel.deviceRowCount(); ++row)
            items << panel.deviceText(row);
        return items;
    }
    // Device_List, L_Default, Setting and Run_Device, "1" for enabled.
    QString commands() const
    {
        QString enabled;
        for (Control c : {Control::Device_List, Control::L_Default, Control::Setting, Control::Run_Device})
            enabled += panel.isEnabled(c) ? '1' : '0';
        return enabled;
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
    void enter(const QStringList &values)
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
    }
    bool scan()
    {
        engine.scan();
        return QTest::qWaitFor([this] { return engine.machine().ScanRound == 0; }, Timeout);
    }
    // Clicks the row and waits for the read's verdict: true for success.
    bool read(int row)
    {
        panel.selectDeviceRow(row);
        engine.deviceListClicked();
        const QString done = "读取设备" + StatusLog::number(row + 1) + "参数成功！";
        return QTest::qWaitFor([this] { return panel.isEnabled(Control::Device_List); }, Timeout) &&
               log(1) == QStringList{done};
    }
};
}  // namespace

class EndToEnd : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void scanListsModulesInOrder();
    void writeDefaultsAndResetRoundTrip();
    void faults_data();
    void faults();
};

void EndToEnd::initTestCase()
{
    // Refuse to broadcast anywhere but in a namespace of scripts/private-net and its peer hosts.
    QCOMPARE(qEnvironmentVariable("KELVANE_PRIVATE_NET"), QStringLiteral("inside"));
    for (const QNetworkInterface &nic : QNetworkInterface::allInterfaces()) {
        QVERIFY2(nic.type() == QNetworkInterface::Loopback || nic.name().startsWith("kvh"),
                 qPrintable(nic.name() + " may reach a real network"));
    }
}

void EndToEnd::scanListsModulesInOrder()
{
    Rig rig;
    QVERIFY(rig.start({"--modules", "3"}));
    QVERIFY(rig.scan());
    QCOMPARE(rig.log(1), QStringList{"检测到 3个设备。"});
    QCOMPARE(rig.devices(), (QStringList{item(1), item(2), item(3)}));
    // Four bare discovery requests from the tool's port, and nothing else.
    QTRY_COMPARE_WITH_TIMEOUT(rig.received(), QStringList(4, "in  53 45 54 55 50 | 192.0.2.1:65002"),
                              Timeout);
}

void EndToEnd::writeDefaultsAndResetRoundTrip()
{
    Rig rig;
    // Longer than a scan, so the first scan after the reset misses the module.
    QVERIFY(rig.start({"--modules", "3", "--restart-ms", "2000"}));
    QVERIFY(rig.scan());
    QVERIFY(rig.read(0));
    QCOMPARE(rig.shown(), Factory);
    QCOMPARE(rig.panel.selectedIndex(Control::Set_Baud_Rate), 9);
    QCOMPARE(rig.panel.selectedIndex(Control::Set_Bits), 1);

    rig.enter(Written);
    rig.engine.setting();
    QTRY_COMPARE_WITH_TIMEOUT(rig.log(1), QStringList{"设置设备 1数据成功！"}, Timeout);
    QVERIFY(rig.read(0));
    QCOMPARE(rig.shown(), Written);

    rig.engine.restoreDefaults();
    QTRY_COMPARE_WITH_TIMEOUT(rig.log(1), QStringList{"恢复设备 1默认参数成功，请重新读取该设备参数！"}, Timeout);
    QVERIFY(rig.read(0));
    QCOMPARE(rig.shown(), Factory);

    rig.engine.runDevice();
    QCOMPARE(rig.log(1), QStringList{"对设备 1的复位运行成功。"});
    QCOMPARE(rig.devices(), (QStringList{item(2), item(3)}));
    QVERIFY(rig.scan());
    QCOMPARE(rig.log(1), QStringList{"检测到 2个设备。"});
    QVERIFY(rig.scan());
    QCOMPARE(rig.devices(), (QStringList{item(2), item(3), item(1)}));
}

void EndToEnd::faults_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("steps");  // after the scan: 1 reads module 1, 2 also writes it
    QTest::addColumn<int>("listed");
    QTest::addColumn<QString>("enabled");  // Device_List, L_Default, Setting, Run_Device
    QTest::addColumn<QStringList>("ending");
    const QStringList none = {"未检查到网络中的设备！",
                              "设备与该计算机必须是在同一个交换机或路由器所支持的局域网内，不能经过路由器隔离。"};
    const QStringList silent = {"读取设备 1参数不成功！", "请检查计算机与设备之间的网络连接，重新操作！"};
    const QStringList full = {"检测到 254个设备。"}, refused = {"设置设备 1参数不成功！"};
    QTest::newRow("no module") << QStringList{"--modules", "0"} << 0 << 0 << "0000" << none;
    QTest::newRow("300 modules") << QStringList{"--modules", "300"} << 0 << 254 << "1000" << full;
    QTest::newRow("silent module") << QStringList{"--silent-queries"} << 1 << 3 << "1001" << silent;
    QTest::newRow("refused write") << QStringList{"--refuse-write", "IP"} << 2 << 3 << "1111" << refused;
}

void EndToEnd::faults()
{
    QFETCH(QStringList, options);
    QFETCH(int, steps);
    QFETCH(QStringList, ending);
    Rig rig;
    QVERIFY(rig.start(options));
    QVERIFY(rig.scan());
    if (steps > 0 && rig.read(0) && steps > 1)
        rig.engine.setting();
    QTRY_COMPARE_WITH_TIMEOUT(rig.log(ending.size()), ending, Timeout);
    QTEST(int(rig.devices().size()), "listed");
    QTEST(rig.commands(), "enabled");
}

QTEST_GUILESS_MAIN(EndToEnd)
#include "tst_e2e.moc"
