// Scanning over real UDP: what the tool lists, and what the modules received.
#include "support/SimulatorProcess.h"
#include "support/ToolRig.h"

#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace kelvane;
using namespace kelvane::e2e;

namespace {
constexpr int Timeout = 5000;
const QString NotFound = QStringLiteral("未检查到网络中的设备！");
const QString SameLan = QStringLiteral("设备与该计算机必须是在同一个交换机或路由器所支持的局域网内，不能经过路由器隔离。");

QString item(const char *hex)
{
    return QStringLiteral("设备 ( ") + QLatin1String(hex) + QStringLiteral(" )");
}
}  // namespace

class ScanTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void findsEveryModuleInOrder();
    void noModuleAnswers_data();
    void noModuleAnswers();
    void duplicateAnswersListEachModuleOnce();
    void fullTableTakes254();
    void resetModuleIsFoundAgainAfterItsRestart();
};

void ScanTest::initTestCase()
{
    QString why;
    if (!insidePrivateNetwork(&why))
        QFAIL(qPrintable(QStringLiteral("refusing to broadcast: ") + why));
}

void ScanTest::findsEveryModuleInOrder()
{
    ToolRig tool;
    SimulatorProcess sim;
    QVERIFY2(sim.start({"--modules", "3"}), qPrintable(sim.failure()));

    tool.engine.scan();
    QTRY_COMPARE_WITH_TIMEOUT(tool.lastLogLine(), QStringLiteral("检测到 3个设备。"), Timeout);
    QCOMPARE(tool.deviceItems(),
             (QStringList{item("024B56000001"), item("024B56000002"), item("024B56000003")}));
    QVERIFY(tool.panel.isEnabled(Control::Device_List));
    QVERIFY(tool.panel.isEnabled(Control::UART_Control));

    // At the modules' end: four bare discovery requests from the tool's
    // port, one round apart, and nothing else.
    QTRY_COMPARE_WITH_TIMEOUT(sim.requests().size(), 4, Timeout);
    const QList<SimDatagram> seen = sim.datagrams();
    qint64 previous = -1;
    for (const SimDatagram &d : seen) {
        if (!d.incoming)
            continue;
        QCOMPARE(d.bytes, QByteArray("SETUP"));
        QCOMPARE(d.port, quint16(65002));
        QCOMPARE(d.host, QStringLiteral("192.0.2.1"));
        if (previous >= 0) {
            QVERIFY2(d.ms - previous > 250 && d.ms - previous < 1000,
                     qPrintable(QStringLiteral("%1 ms between rounds").arg(d.ms - previous)));
        }
        previous = d.ms;
    }
    QCOMPARE(sim.answerCount(), 4 * 3);
}

void ScanTest::noModuleAnswers_data()
{
    QTest::addColumn<bool>("simulated");
    QTest::newRow("nothing on the network") << false;
    QTest::newRow("a network of no modules") << true;
}

void ScanTest::noModuleAnswers()
{
    QFETCH(bool, simulated);
    ToolRig tool;
    SimulatorProcess sim;
    if (simulated)
        QVERIFY2(sim.start({"--modules", "0"}), qPrintable(sim.failure()));

    QVERIFY(tool.scanToEnd());
    QCOMPARE(tool.lastLogLines(2), (QStringList{NotFound, SameLan}));
    // The start entry and the verdict, three lines each.
    QCOMPARE(tool.logLines().size(), 6);
    QCOMPARE(tool.deviceItems(), QStringList());
    QVERIFY(!tool.panel.isEnabled(Control::Device_List));
    if (simulated) {
        // The silence was the modules', not a network that carried nothing.
        QTRY_COMPARE_WITH_TIMEOUT(sim.requests().size(), 4, Timeout);
    }
}

void ScanTest::duplicateAnswersListEachModuleOnce()
{
    ToolRig tool;
    SimulatorProcess sim;
    QVERIFY2(sim.start({"--modules", "3", "--duplicate"}), qPrintable(sim.failure()));

    QVERIFY(tool.scanToEnd());
    QCOMPARE(tool.lastLogLine(), QStringLiteral("检测到 3个设备。"));
    QCOMPARE(tool.deviceItems(),
             (QStringList{item("024B56000001"), item("024B56000002"), item("024B56000003")}));
    QTRY_COMPARE_WITH_TIMEOUT(sim.answerCount(), 4 * 3 * 2, Timeout);
}

void ScanTest::fullTableTakes254()
{
    ToolRig tool;
    SimulatorProcess sim;
    QVERIFY2(sim.start({"--modules", "300"}), qPrintable(sim.failure()));

    QVERIFY(tool.scanToEnd());
    QCOMPARE(tool.lastLogLine(), QStringLiteral("检测到 254个设备。"));
    const QStringList items = tool.deviceItems();
    QCOMPARE(items.size(), 254);
    QCOMPARE(QSet<QString>(items.begin(), items.end()).size(), 254);
    static const QRegularExpression pattern(QStringLiteral("^设备 \\( 024B56[0-9A-F]{6} \\)$"));
    for (const QString &text : items)
        QVERIFY2(pattern.match(text).hasMatch(), qPrintable(text));
}

void ScanTest::resetModuleIsFoundAgainAfterItsRestart()
{
    ToolRig tool;
    SimulatorProcess sim;
    // Longer than a scan, so the first scan runs while the module restarts.
    QVERIFY2(sim.start({"--modules", "3", "--restart-ms", "2000"}), qPrintable(sim.failure()));
    QVERIFY(tool.scanToEnd());
    QCOMPARE(tool.deviceItems().size(), 3);

    // Choosing the module is a click in the list, which reads it.
    QVERIFY(tool.read(1));
    tool.engine.runDevice();
    QCOMPARE(tool.lastLogLine(), QStringLiteral("对设备 2的复位运行成功。"));
    QCOMPARE(tool.deviceItems(), (QStringList{item("024B56000001"), item("024B56000003")}));
    const QByteArray reset = QByteArray::fromHex("024B56000002") + "END";
    QTRY_COMPARE_WITH_TIMEOUT(sim.commands().constLast(), reset, Timeout);

    QVERIFY(tool.scanToEnd());
    QCOMPARE(tool.lastLogLine(), QStringLiteral("检测到 2个设备。"));

    QVERIFY(tool.scanToEnd());
    QCOMPARE(tool.lastLogLine(), QStringLiteral("检测到 3个设备。"));
    QCOMPARE(tool.deviceItems(),
             (QStringList{item("024B56000001"), item("024B56000003"), item("024B56000002")}));
}

QTEST_GUILESS_MAIN(ScanTest)
#include "tst_scan.moc"
