// Restoring factory settings and resetting a module.
#include "Fixture.h"

#include <QTest>

using namespace kelvane;
using namespace kelvane::test;

namespace {
QString defaultsStart(int n) { return QStringLiteral("恢复设备 %1默认参数。").arg(n); }
QString defaultsDone(int n) { return QStringLiteral("恢复设备 %1默认参数成功，请重新读取该设备参数！").arg(n); }
QString defaultsFailed(int n) { return QStringLiteral("恢复设备 %1默认参数不成功，请重新操作！").arg(n); }
QString resetDone(int n) { return QStringLiteral("对设备 %1的复位运行成功。").arg(n); }
}  // namespace

class DefaultsResetTest : public QObject {
    Q_OBJECT

private slots:
    void defaults_data()
    {
        QTest::addColumn<QByteArrayList>("answers");
        QTest::addColumn<bool>("expires");
        QTest::addColumn<QStringList>("results");

        QTest::newRow("accepted") << QByteArrayList{"OK\r\n"} << false << QStringList{defaultsDone(2)};
        QTest::newRow("accepted with more") << QByteArrayList{"OK\r\nDF"} << false << QStringList{defaultsDone(2)};
        QTest::newRow("refused") << QByteArrayList{"ERROR\r\n"} << false << QStringList{defaultsFailed(2)};
        QTest::newRow("silent") << QByteArrayList{} << true << QStringList{defaultsFailed(2)};
        QTest::newRow("two answers") << QByteArrayList{"OK\r\n", "OK\n\r\n"} << false
                                     << QStringList{defaultsDone(2), defaultsFailed(2)};
        QTest::newRow("short answer, then silence") << QByteArrayList{"OK\r"} << true
                                                    << QStringList{defaultsFailed(2)};
    }

    void defaults()
    {
        QFETCH(QByteArrayList, answers);
        QFETCH(bool, expires);
        QFETCH(QStringList, results);

        Rig rig(2, 1);
        rig.engine.restoreDefaults();
        QCOMPARE(rig.link.sent, QByteArrayList{QByteArray::fromHex("001122334401 41 54 44 46 0D")});
        QCOMPARE(rig.panel.logText(), entry({defaultsStart(2)}));
        QCOMPARE(rig.m.Step, 20);
        QVERIFY(rig.timer.isActive());
        QCOMPARE(rig.timer.lastInterval, 400);

        for (const QByteArray &answer : answers)
            rig.link.deliver(moduleAddress(1) + answer);
        QCOMPARE(rig.timer.fire(), expires);
        QVERIFY(!rig.timer.isActive());

        QList<QStringList> log = {{defaultsStart(2)}};
        for (const QString &line : results)
            log << QStringList{line};
        QCOMPARE(rig.panel.logText(), entries(log));
        QCOMPARE(rig.link.sent.size(), 1);
        QCOMPARE(rig.m.Step, 20);
        QCOMPARE(rig.m.RetryCount, 0);
        // Neither locked nor unlocked, and the window keeps what it read.
        QCOMPARE(rig.commandsEnabled(), AllOn);
        QCOMPARE(rig.panel.selectedIndex(Control::Set_Baud_Rate), 3);
        QCOMPARE(rig.panel.text(Control::S_IP), QStringLiteral("192.168.000.007"));
    }

    void readDuringDefaultsTakesTheExpiry()
    {
        Rig rig(1, 0);
        rig.engine.restoreDefaults();
        rig.click(0);
        rig.link.sent.clear();
        rig.timer.fire();
        QCOMPARE(rig.link.sent, QByteArrayList{queryFrame(0, "UB")});
        QCOMPARE(rig.m.RetryCount, 1);
        QCOMPARE(rig.panel.logText(), entry({readStart(1)}));
    }

    void reset_data()
    {
        QTest::addColumn<int>("modules");
        QTest::addColumn<int>("row");
        QTest::addColumn<QList<int>>("remaining");  // module numbers, in list order
        QTest::newRow("first of three") << 3 << 0 << QList<int>{1, 2};
        QTest::newRow("middle of three") << 3 << 1 << QList<int>{0, 2};
        QTest::newRow("last of three") << 3 << 2 << QList<int>{0, 1};
        QTest::newRow("only one") << 1 << 0 << QList<int>{};
    }

    void reset()
    {
        QFETCH(int, modules);
        QFETCH(int, row);
        QFETCH(QList<int>, remaining);

        Rig rig(modules, row);
        rig.engine.restoreDefaults();  // still waiting when the reset comes
        rig.link.sent.clear();
        const int starts = rig.timer.starts;

        rig.engine.runDevice();
        QCOMPARE(rig.link.sent, QByteArrayList{moduleAddress(row) + QByteArray::fromHex("45 4E 44")});
        QCOMPARE(rig.panel.logText(), entry({resetDone(row + 1)}));
        QCOMPARE(rig.m.deviceTable.count(), modules - 1);
        QCOMPARE(rig.panel.deviceRowCount(), modules - 1);
        for (int i = 0; i < remaining.size(); ++i) {
            QCOMPARE(rig.m.deviceTable.entry(i).left(6), moduleAddress(remaining[i]));
            QCOMPARE(rig.panel.deviceText(i), moduleItem(remaining[i]));
        }
        QCOMPARE(rig.panel.selectedDeviceRow(), -1);
        rig.verifyEmptied();
        QCOMPARE(rig.commandsEnabled(), AllOn);
        // The reset waits for nothing and leaves Step and Timer1 to the defaults.
        QCOMPARE(rig.m.Step, 20);
        QCOMPARE(rig.timer.starts, starts);
        QVERIFY(rig.timer.fire());
        QCOMPARE(rig.panel.logText(), entries({{resetDone(row + 1)}, {defaultsFailed(row + 1)}}));

        // Nothing is selected any more, so the commands refuse.
        rig.link.sent.clear();
        rig.engine.setting();
        QVERIFY(rig.link.sent.isEmpty());
        QCOMPARE(rig.panel.logText(), entry({QStringLiteral("没有选择设备！")}));

        // Items keep their text but not their number: row 0 is now module 1.
        if (!remaining.isEmpty()) {
            rig.click(0);
            QCOMPARE(rig.link.sent, QByteArrayList{queryFrame(remaining[0], "UB")});
            QCOMPARE(rig.panel.logText(), entry({readStart(1)}));
        }
    }

    void resetFullTable_data()
    {
        QTest::addColumn<int>("row");
        QTest::newRow("first") << 0;
        QTest::newRow("last") << 253;
    }

    void resetFullTable()
    {
        QFETCH(int, row);
        Rig rig;
        for (int i = 0; i < 254; ++i)
            rig.link.deliver(moduleAddress(i));
        rig.readModule(row);
        rig.engine.runDevice();
        QCOMPARE(rig.panel.logText(), entry({resetDone(row + 1)}));
        QCOMPARE(rig.m.deviceTable.count(), 253);
        QCOMPARE(rig.panel.deviceRowCount(), 253);
        QCOMPARE(rig.panel.deviceText(252), moduleItem(row == 253 ? 252 : 253));
        QCOMPARE(rig.panel.deviceText(0), moduleItem(row == 0 ? 1 : 0));

        // There is room for one more again.
        rig.engine.scan();
        rig.link.deliver(moduleAddress(254));
        QCOMPARE(rig.m.deviceTable.count(), 254);
        QCOMPARE(rig.panel.deviceText(253), moduleItem(254));
    }

    void newModuleAfterReset()
    {
        Rig rig(5);
        rig.readModule(2);
        rig.engine.runDevice();
        rig.engine.scan();
        rig.link.deliver(moduleAddress(9));
        rig.link.deliver(moduleAddress(2));  // the reset module is back
        for (int i = 0; i < 4; ++i)
            rig.timer.fire();
        const QList<int> order = {0, 1, 3, 4, 9, 2};
        QCOMPARE(rig.panel.deviceRowCount(), order.size());
        for (int i = 0; i < order.size(); ++i) {
            QCOMPARE(rig.panel.deviceText(i), moduleItem(order[i]));
            QCOMPARE(rig.m.deviceTable.entry(i).left(6), moduleAddress(order[i]));
        }
        QVERIFY(rig.panel.logText().endsWith(QStringLiteral("检测到 6个设备。")));
    }

    void lateAnswerForResetModule()
    {
        // A read that failed leaves Run_Device enabled and Step in the read; the
        // module is reset, and its answer comes after all.
        Rig rig(2);
        rig.click(1);
        for (int i = 0; i < 3; ++i)
            rig.timer.fire();
        QCOMPARE(rig.m.Step, 1);
        rig.engine.runDevice();
        rig.link.sent.clear();

        rig.answerRows(1, 0, 1);
        QCOMPARE(rig.panel.selectedIndex(Control::Set_Baud_Rate), 3);
        // Entry 1 is gone: no query can be addressed to it, and nothing comes of the time-out.
        QVERIFY(rig.link.sent.isEmpty());
        rig.timer.fire();
        QVERIFY(rig.link.sent.isEmpty());
        QVERIFY(!rig.timer.isActive());
        QCOMPARE(rig.panel.logText(), entry({resetDone(2)}));
    }
};

QTEST_GUILESS_MAIN(DefaultsResetTest)
#include "tst_defaults_reset.moc"
