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
#include <QRandomGenerator>
#include <QTimer>
#include <QTest>
#include <QUdpSocket>

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

// Seeded random bytes of every length up to 64, then the largest datagram UDP carries, to the tool's port.
void spray()
{
    QRandomGenerator random(65002);
    QUdpSocket junk;
    for (int size = 0; size <= 65; ++size) {
        QByteArray datagram(size > 64 ? 65507 : size, '\0');
        for (char &byte : datagram)
            byte = char(random.bounded(256));
        QCOMPARE(junk.writeDatagram(datagram, QHostAddress::LocalHost, LocalPort), qint64(datagram.size()));
    }
}

// Another tool's module on the same LAN: its answers and acknowledgements, shaped like the
// ones the tool awaits, arrive every few milliseconds while it runs.
struct ForeignModule {
    QUdpSocket socket;
    QTimer timer;
    QByteArrayList datagrams;
    int next = 0;

    explicit ForeignModule(const QByteArrayList &replayed) : datagrams(replayed)
    {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            socket.writeDatagram(datagrams[next++ % datagrams.size()], QHostAddress::LocalHost, LocalPort);
        });
        timer.start(3);
    }
};

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
    bool scan(bool garbage = false)
    {
        engine.scan();
        if (garbage)
            spray();
        return QTest::qWaitFor([this] { return engine.machine().ScanRound == 0; }, Timeout);
    }
    // How the running read or write ended once Device_List is back: 1 its success entry,
    // 0 its failure entry, -1 neither within ms.
    int outcome(const QStringList &success, const QStringList &failure, int ms)
    {
        const bool ended = QTest::qWaitFor([&] {
            return panel.isEnabled(Control::Device_List) && (log(1) == success || log(failure.size()) == failure);
        }, ms);
        return ended ? int(log(1) == success) : -1;
    }
    // Clicks the row and waits for the read's verdict.
    int read(int row, int ms = Timeout)
    {
        panel.selectDeviceRow(row);
        engine.deviceListClicked();
        const QString n = StatusLog::number(row + 1);
        return outcome({"读取设备" + n + "参数成功！"},
                       {"读取设备" + n + "参数不成功！", "请检查计算机与设备之间的网络连接，重新操作！"}, ms);
    }
    int write(const QStringList &values, int ms = Timeout)
    {
        enter(values);
        engine.setting();
        const QString n = StatusLog::number(panel.selectedDeviceRow() + 1);
        return outcome({"设置设备" + n + "数据成功！"}, {"设置设备" + n + "参数不成功！"}, ms);
    }
    // Returns once the simulator has heard nothing for half a second: stray answers are over.
    void settle()
    {
        for (qsizetype heard = -1; heard != received().size(); QTest::qWait(500))
            heard = received().size();
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
    void disturbed_data();
    void disturbed();
    void foreignModuleIgnored();
    void ackAfterFailedWrite();
    void garbage_data();
    void garbage();
    void portHeld();
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
    QCOMPARE(rig.read(0), 1);
    QCOMPARE(rig.shown(), Factory);
    QCOMPARE(rig.panel.selectedIndex(Control::Set_Baud_Rate), 9);
    QCOMPARE(rig.panel.selectedIndex(Control::Set_Bits), 1);

    rig.enter(Written);
    rig.engine.setting();
    QTRY_COMPARE_WITH_TIMEOUT(rig.log(1), QStringList{"设置设备 1数据成功！"}, Timeout);
    QCOMPARE(rig.read(0), 1);
    QCOMPARE(rig.shown(), Written);

    rig.engine.restoreDefaults();
    QTRY_COMPARE_WITH_TIMEOUT(rig.log(1), QStringList{"恢复设备 1默认参数成功，请重新读取该设备参数！"}, Timeout);
    QCOMPARE(rig.read(0), 1);
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
    if (steps > 0 && rig.read(0) == 1 && steps > 1)
        rig.engine.setting();
    QTRY_COMPARE_WITH_TIMEOUT(rig.log(ending.size()), ending, Timeout);
    QTEST(int(rig.devices().size()), "listed");
    QTEST(rig.commands(), "enabled");
}

void EndToEnd::disturbed_data()
{
    QTest::addColumn<QStringList>("options");
    // How the read, then a write, of module 1 end: 1 success, 0 failure entry. A seeded loss
    // drops the same datagrams every run. Answers carry no code, so a repeated or late one is
    // taken for the next and values may shift: there, -1, both only have to end.
    QTest::addColumn<int>("readEnds");
    QTest::addColumn<int>("writeEnds");
    QTest::newRow("10% loss, seed 1") << QStringList{"--drop", "0.1", "--seed", "1"} << 1 << 1;
    QTest::newRow("10% loss, seed 4") << QStringList{"--drop", "0.1", "--seed", "4"} << 0 << 0;
    QTest::newRow("30% loss, seed 1") << QStringList{"--drop", "0.3", "--seed", "1"} << 0 << 0;
    QTest::newRow("60% loss, seed 1") << QStringList{"--drop", "0.6", "--seed", "1"} << 0 << 0;
    QTest::newRow("duplicates") << QStringList{"--duplicate"} << -1 << -1;
    QTest::newRow("350 ms late") << QStringList{"--delay", "350"} << -1 << -1;
    QTest::newRow("450 ms late") << QStringList{"--delay", "450"} << -1 << -1;
}

void EndToEnd::disturbed()
{
    QFETCH(QStringList, options);
    QFETCH(int, readEnds);
    QFETCH(int, writeEnds);
    Rig rig;
    QVERIFY(rig.start(options));
    // Loss may hide module 1 from a scan, but no scan lists a module twice.
    for (int scans = 0; scans < 3 && !rig.devices().contains(item(1)); ++scans) {
        QVERIFY(rig.scan());
        QCOMPARE(rig.devices().removeDuplicates(), 0);
    }
    const int row = int(rig.devices().indexOf(item(1)));
    QVERIFY(row >= 0);
    const int read = rig.read(row, 25000);
    const int wrote = rig.write(Written, 25000);
    // Both end with their own entry and give the commands back, whatever came.
    QVERIFY(read >= 0);
    QVERIFY(wrote >= 0);
    QCOMPARE(rig.commands(), "1111");
    if (readEnds < 0)
        return;
    QCOMPARE(read, readEnds);
    QCOMPARE(wrote, writeEnds);
    if (wrote != 1)
        return;
    // What a successful write reported is what the module stores.
    for (int reads = 0; reads < 10 && rig.read(row) != 1; ++reads) {
    }
    QCOMPARE(rig.shown(), Written);
}

void EndToEnd::foreignModuleIgnored()
{
    Rig rig;
    QVERIFY(rig.start({"--modules", "3"}));
    QVERIFY(rig.scan());
    const QByteArray module2 = QByteArray::fromHex("024B56000002");
    {
        // Each of these, taken as module 1's, would show a wrong value or end the read.
        ForeignModule other({module2 + "05", module2 + "00001", module2 + "010.020.030.040", module2 + "07"});
        QCOMPARE(rig.read(0), 1);
        QCOMPARE(rig.shown(), Factory);
    }
    {
        // An acknowledgement taken as module 1's would skip a row; a refusal would end the write.
        ForeignModule other({module2 + "OK\r\n", module2 + "ERROR\r\n"});
        QCOMPARE(rig.write(Written), 1);
    }
    QCOMPARE(rig.read(0), 1);
    QCOMPARE(rig.shown(), Written);
}

void EndToEnd::ackAfterFailedWrite()
{
    Rig rig;
    QVERIFY(rig.start({"--modules", "1", "--no-write-acks"}));
    QVERIFY(rig.scan());
    QCOMPARE(rig.read(0), 1);
    QCOMPARE(rig.write(Factory, 5000), 0);
    rig.settle();
    const qsizetype heard = rig.received().size();
    QUdpSocket late;
    late.writeDatagram(QByteArray::fromHex("024B56000001") + "OK\r\n", QHostAddress::LocalHost, LocalPort);
    // Neither the next row nor, 400 ms later, a restarted write goes out.
    QTest::qWait(1000);
    QCOMPARE(rig.received().size(), heard);
    QCOMPARE(rig.log(1), QStringList{"设置设备 1参数不成功！"});
    QCOMPARE(rig.commands(), "1111");
}

void EndToEnd::garbage_data()
{
    QTest::addColumn<int>("during");  // 0 idle, 1 a scan, 2 a read, 3 a write
    QTest::newRow("idle") << 0;
    QTest::newRow("scan") << 1;
    QTest::newRow("read") << 2;
    QTest::newRow("write") << 3;
}

void EndToEnd::garbage()
{
    QFETCH(int, during);
    Rig rig;
    QVERIFY(rig.start({"--modules", "3"}));
    QVERIFY(rig.scan(during == 1));
    const int row = int(rig.devices().indexOf(item(1)));
    QVERIFY(row >= 0);
    QCOMPARE(rig.read(row), 1);
    if (during == 2) {
        rig.panel.selectDeviceRow(row);
        rig.engine.deviceListClicked();
    } else if (during == 3) {
        rig.enter(Factory);  // so the module holds its own values however far the write gets
        rig.engine.setting();
    }
    if (during != 1)
        spray();
    // Whatever the garbage was taken for, the operation ends and a clean read gets the truth.
    QVERIFY(QTest::qWaitFor([&] { return rig.panel.isEnabled(Control::Device_List); }, Timeout));
    rig.settle();
    QCOMPARE(rig.read(row), 1);
    QCOMPARE(rig.shown(), Factory);
}

void EndToEnd::portHeld()
{
    QUdpSocket holder;
    QVERIFY(holder.bind(QHostAddress::AnyIPv4, LocalPort));
    Rig rig;
    const QStringList held = rig.log(2);
    const QString prefix = "无法打开本地UDP端口 65002：";
    QVERIFY2(held[0].startsWith(prefix) && held[0].size() > prefix.size(), qPrintable(held[0]));
    QCOMPARE(held[1], "请关闭占用该端口的程序，然后重新扫描设备。");
    QVERIFY(rig.start({}));
    QVERIFY(rig.scan());
    QCOMPARE(rig.panel.logText().split("\r\n").mid(1), held);
    QTest::qWait(500);
    QCOMPARE(rig.received(), QStringList());
    holder.close();
    QVERIFY(rig.scan());
    QCOMPARE(rig.devices(), (QStringList{item(1), item(2), item(3)}));
}

QTEST_GUILESS_MAIN(EndToEnd)
#include "tst_e2e.moc"
