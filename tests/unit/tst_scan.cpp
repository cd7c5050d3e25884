// The scan: four discovery rounds 400 ms apart, then the count.
#include "Fixture.h"

#include <QTest>

using namespace kelvane;
using namespace kelvane::test;

namespace {
const QStringList ScanStart = {
    QStringLiteral("计算机正在扫描网络中的设备... ..."),
    QStringLiteral("本计算机与设备的IP地址可以不是在同一个网段，但必须是在由交换机或路由器支持的同一个局域网内，不能被路由器隔离。")};
const QStringList NoneFound = {
    QStringLiteral("未检查到网络中的设备！"),
    QStringLiteral("设备与该计算机必须是在同一个交换机或路由器所支持的局域网内，不能经过路由器隔离。")};
const QStringList PortTaken = {QStringLiteral("无法打开本地UDP端口 65002：Address in use"),
                               QStringLiteral("请关闭占用该端口的程序，然后重新扫描设备。")};

QStringList found(int n)
{
    return {QStringLiteral("检测到 %1个设备。").arg(n)};
}
}  // namespace

class ScanTest : public QObject {
    Q_OBJECT

private slots:
    void fourRoundsThenCount_data()
    {
        QTest::addColumn<int>("modules");
        QTest::newRow("none") << 0;
        QTest::newRow("one") << 1;
        QTest::newRow("three") << 3;
    }

    void fourRoundsThenCount()
    {
        QFETCH(int, modules);
        Rig rig;
        rig.startTicking();
        rig.engine.scan();
        const QString start = entryAt(1, ScanStart);
        QCOMPARE(rig.panel.logText(), start);
        QVERIFY(!rig.panel.isEnabled(Control::Device_List));

        for (int round = 1; round <= 4; ++round) {
            QCOMPARE(rig.link.sent.size(), round);
            QCOMPARE(rig.link.sent.last(), QByteArray("SETUP"));
            QCOMPARE(rig.m.ScanRound, round);
            QCOMPARE(rig.m.Step, 0);
            QVERIFY(rig.timer.isActive());
            QCOMPARE(rig.timer.lastInterval, 400);
            // Modules answer in the second round; later rounds only repeat the entry.
            if (round == 2) {
                for (int i = 0; i < modules; ++i)
                    rig.link.deliver(moduleAddress(i));
            }
            QCOMPARE(rig.panel.logText(), start);
            rig.trace.calls.clear();
            QVERIFY(rig.timer.fire());
        }
        const QStringList switched = {"enable Ethernet_Control", "enable UART_Control",
                                      "enable Device_List", "enable Set_PPPOE"};
        QCOMPARE(rig.trace.calls, QStringList("append log") + (modules ? switched : QStringList()));

        QCOMPARE(rig.link.sent.size(), 4);
        QCOMPARE(rig.m.ScanRound, 0);
        QVERIFY(!rig.timer.isActive());
        QCOMPARE(rig.panel.logText(), start + "\r\n" + entryAt(2, modules ? found(modules) : NoneFound));
        QCOMPARE(rig.panel.isEnabled(Control::Device_List), modules > 0);
        QCOMPARE(rig.panel.isEnabled(Control::UART_Control), modules > 0);
        QCOMPARE(rig.panel.deviceRowCount(), modules);
    }

    void secondPressCountsAsRound()
    {
        Rig rig;
        rig.startTicking();
        rig.engine.scan();
        rig.link.deliver(moduleAddress(0));
        rig.engine.scan();
        QCOMPARE(rig.m.ScanRound, 2);
        QCOMPARE(rig.link.sent.size(), 2);
        QCOMPARE(rig.timer.starts, 2);
        QCOMPARE(rig.panel.logText(), entryAt(1, ScanStart));

        // Two more expiries reach round 4; the third ends the scan.
        rig.timer.fire();
        rig.timer.fire();
        QCOMPARE(rig.m.ScanRound, 4);
        QCOMPARE(rig.panel.logText(), entryAt(1, ScanStart));
        rig.timer.fire();
        QCOMPARE(rig.link.sent, QByteArrayList(4, "SETUP"));
        QCOMPARE(rig.m.ScanRound, 0);
        QCOMPARE(rig.panel.logText(), entryAt(1, ScanStart) + "\r\n" + entryAt(2, found(1)));
        QVERIFY(!rig.timer.fire());
    }

    void newScanKeepsEarlierModules()
    {
        Rig rig(2);
        rig.engine.scan();
        QCOMPARE(rig.panel.logText(), entry(ScanStart));
        rig.link.deliver(moduleAddress(1));  // known already
        rig.link.deliver(moduleAddress(5));
        for (int i = 0; i < 4; ++i)
            rig.timer.fire();
        QCOMPARE(rig.panel.logText(), entries({ScanStart, found(3)}));
        QCOMPARE(rig.panel.deviceText(0), moduleItem(0));
        QCOMPARE(rig.panel.deviceText(1), moduleItem(1));
        QCOMPARE(rig.panel.deviceText(2), moduleItem(5));
    }

    void lateReplyStillAdded()
    {
        Rig rig(1);
        const QString log = rig.panel.logText();
        rig.link.deliver(moduleAddress(4));
        QCOMPARE(rig.m.deviceTable.count(), 2);
        QCOMPARE(rig.panel.deviceText(1), moduleItem(4));
        // The count is not reported again, and no timer starts.
        QCOMPARE(rig.panel.logText(), log);
        QVERIFY(!rig.timer.isActive());
    }

    void scanAbandonsRunningOperation_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::newRow("read") << "read";
        QTest::newRow("read retried") << "retry";
        QTest::newRow("write") << "write";
        QTest::newRow("defaults") << "defaults";
    }

    void scanAbandonsRunningOperation()
    {
        QFETCH(QString, operation);
        Rig rig(1);
        rig.readModule(0);
        if (operation == "read") {
            rig.click(0);
            rig.answerRows(0, 0, 5);
        } else if (operation == "retry") {
            rig.click(0);
            rig.timer.fire();
        } else if (operation == "write") {
            rig.engine.setting();
            rig.ack();
        } else {
            rig.engine.restoreDefaults();
        }
        const qint16 retries = rig.m.RetryCount;
        rig.link.sent.clear();

        rig.engine.scan();
        QCOMPARE(rig.m.Step, 0);
        QCOMPARE(rig.m.ScanRound, 1);
        QCOMPARE(rig.panel.logText(), entry(ScanStart));
        // The answer the operation waited for now counts as a discovery reply.
        rig.link.deliver(moduleAddress(6) + "OK\r\n");
        for (int i = 0; i < 4; ++i)
            rig.timer.fire();
        QCOMPARE(rig.link.sent, QByteArrayList(4, "SETUP"));
        QCOMPARE(rig.panel.logText(), entries({ScanStart, found(2)}));
        QCOMPARE(rig.m.RetryCount, retries);
        QVERIFY(rig.panel.isEnabled(Control::Device_List));
        if (operation != "defaults") {
            QVERIFY(!rig.panel.isEnabled(Control::L_Default));
            QVERIFY(!rig.panel.isEnabled(Control::Setting));
        }
    }

    void portTaken()
    {
        Rig rig{Rig::NotStarted{}};
        rig.link.setPortTaken(true);
        rig.engine.startUp();
        QVERIFY(rig.panel.logText().endsWith(QStringLiteral("\r\n") + entry(PortTaken)));

        rig.engine.scan();
        QCOMPARE(rig.panel.logText(), entry(PortTaken));
        QVERIFY(rig.link.sent.isEmpty());
        QCOMPARE(rig.m.ScanRound, 0);
        QCOMPARE(rig.m.Step, 0);
        QCOMPARE(rig.timer.starts, 0);
        QVERIFY(!rig.timer.isActive());

        // Once the port is free, the next press opens it and scans.
        rig.link.setPortTaken(false);
        rig.engine.scan();
        QCOMPARE(rig.link.sent, QByteArrayList{"SETUP"});
        QCOMPARE(rig.m.ScanRound, 1);
        QCOMPARE(rig.panel.logText(), entry(ScanStart));
    }
};

QTEST_GUILESS_MAIN(ScanTest)
#include "tst_scan.moc"
