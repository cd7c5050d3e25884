// Only an awaited answer from the module being worked on moves the engine:
// late, repeated and foreign datagrams change nothing, a write sends the values
// of the moment it was asked for, and failures to send are reported.
#include "protocol/Catalogue.h"
#include "support/EngineRig.h"

#include <QSignalSpy>
#include <QTest>

using namespace kelvane;
using namespace kelvane::test;
using C = Control;

namespace {
// Plays a script on module 0, one step a letter: s scan, f a found module, t a
// time-out, c a click, a the next answer, w Setting, k an ack, n a refusal,
// u the start mode cleared, d defaults, r reset.
void play(EngineRig &rig, const QString &script)
{
    int answered = 0;
    for (QChar step : script) {
        switch (step.toLatin1()) {
        case 's': rig.engine.scan(); break;
        case 'f': rig.link.deliver(addr(0)); break;
        case 't': QVERIFY(rig.timer.fire()); break;
        case 'c': rig.click(0); break;
        case 'a': rig.answer(0, answered, answered + 1); ++answered; break;
        case 'w': rig.engine.setting(); break;
        case 'k': rig.acks(0, 1); break;
        case 'n': rig.link.deliver(addr(0) + "ERROR\r\n"); break;
        case 'u': rig.panel.setChecked(C::PPPOE, false); break;
        case 'd': rig.engine.restoreDefaults(); break;
        case 'r': rig.engine.runDevice(); break;
        }
    }
}

const QString ReadAll = "c" + QString(17, 'a');
const QString WriteAll = "w" + QString(17, 'k');
}  // namespace

class AwaitedTest : public QObject {
    Q_OBJECT

private slots:
    void endedOperationStaysEnded_data()
    {
        QTest::addColumn<QString>("how");  // the script that ended the last operation
        QTest::addColumn<QByteArray>("stray");
        const QByteArray ok = addr(0) + "OK\r\n";
        const QByteArray refused = addr(0) + "ERROR\r\n";
        QTest::newRow("positive ack after a failed write") << "wkkkkttt" << ok;
        QTest::newRow("negative ack after a failed write") << "wkkkkttt" << refused;
        QTest::newRow("positive ack after a refused write") << "wkkkkn" << ok;
        QTest::newRow("duplicate ack of the last write") << WriteAll << ok;
        QTest::newRow("answer after a failed read") << "caaattt" << addr(0) + "03";
        QTest::newRow("late duplicate of the last answer") << ReadAll << addr(0) + "02";
        QTest::newRow("second defaults ack") << "dk" << refused;
        QTest::newRow("defaults ack after its time-out") << "dt" << ok;
    }

    void endedOperationStaysEnded()
    {
        QFETCH(QString, how);
        QFETCH(QByteArray, stray);
        EngineRig rig(1);
        rig.read(0);
        play(rig, how);
        QVERIFY(!rig.timer.isActive());
        const QString log = rig.panel.logText();
        const QList<bool> commands = rig.commands();
        const int checkedPppoe = rig.panel.isChecked(C::PPPOE);
        rig.link.sent.clear();

        rig.link.deliver(stray);

        QCOMPARE(rig.link.sent, QByteArrayList());
        QVERIFY(!rig.timer.isActive());
        QCOMPARE(rig.panel.logText(), log);
        QCOMPARE(rig.commands(), commands);
        QCOMPARE(rig.panel.isChecked(C::PPPOE), bool(checkedPppoe));
        QVERIFY(!rig.timer.fire());
    }

    void foreignAcksDuringWrite()
    {
        EngineRig rig(2);
        rig.read(0);
        rig.engine.setting();
        for (int r = 0; r < 17; ++r) {
            QCOMPARE(rig.link.sent.last(), writeFrame(r));
            // Another tool's module refuses and acknowledges; neither ends nor advances this write.
            rig.link.deliver(addr(1) + "ERROR\r\n");
            rig.acks(1, 1);
            QCOMPARE(rig.link.sent.size(), r + 1);
            QCOMPARE(rig.commands(), Locked);
            rig.acks(0, 1);
        }
        QCOMPARE(rig.panel.logText(), logOf({At, "设置设备 1的参数... ...", At, "设置设备 1数据成功！"}));
        QCOMPARE(rig.commands(), Unlocked);
    }

    void tooShortToNameAModule()
    {
        EngineRig rig(1);
        rig.click(0);
        rig.link.deliver(QByteArray("\x00\x11\x22", 3));
        QCOMPARE(rig.link.sent.size(), 1);
        QVERIFY(rig.timer.isActive());
    }

    void writeSendsValuesOfThePress()
    {
        EngineRig rig(1);
        rig.read(0);
        rig.engine.setting();
        rig.acks(0, 2);
        // Edits while the write runs: a row already sent, a row still to come,
        // and a combo box cleared, which once stopped the write halfway.
        rig.panel.setText(C::Set_Baud_Rate, "600bps");
        rig.panel.setText(C::S_IP, "9");
        rig.panel.selectIndex(C::Socket_Mode, -1);
        rig.acks(0, 15);
        QByteArrayList expected;
        for (int r = 0; r < 17; ++r)
            expected << writeFrame(r);
        QCOMPARE(rig.link.sent, expected);
        QVERIFY(rig.panel.logText().endsWith("设置设备 1数据成功！"));
    }

    void retryTakesValuesAgain()
    {
        EngineRig rig(1);
        rig.read(0);
        rig.engine.setting();
        rig.panel.setText(C::S_IP, "9");
        QVERIFY(rig.timer.fire());
        rig.acks(0, 10);
        QCOMPARE(rig.link.sent.last(), addr(0) + "ATIP=9\r");
    }

    // A write that cannot go out sends nothing and says why.
    void refusedBeforeSending_data()
    {
        QTest::addColumn<QString>("spoil");  // what changes after the read
        QTest::addColumn<bool>("atRetry");   // the write had started; a time-out retries it
        QTest::addColumn<QString>("expected");
        const QString startMode = "运行设置参数无效，请选择一种启动方式！";
        QTest::newRow("start mode unselected, first attempt") << "start mode" << false << startMode;
        QTest::newRow("start mode unselected, at a retry") << "start mode" << true << startMode;
        QTest::newRow("baud rate not in the list") << "baud rate" << false << "波特率参数无效，请从列表中选择！";
        QTest::newRow("module reset, nothing selected") << "reset" << false << "没有选择设备！";
    }

    void refusedBeforeSending()
    {
        QFETCH(QString, spoil);
        QFETCH(bool, atRetry);
        QFETCH(QString, expected);
        EngineRig rig(3);
        rig.read(0);
        if (atRetry)
            rig.engine.setting();
        if (spoil == "start mode")
            rig.panel.setChecked(C::PPPOE, false);
        else if (spoil == "baud rate")
            rig.panel.setText(C::Set_Baud_Rate, "9601bps");
        else
            rig.engine.runDevice();
        rig.link.sent.clear();
        if (atRetry)
            QVERIFY(rig.timer.fire());
        else
            rig.engine.setting();
        QCOMPARE(rig.link.sent, QByteArrayList());
        QCOMPARE(rig.panel.logText(), logOf({At, expected}));
        if (spoil != "reset") {
            QCOMPARE(rig.commands(), Unlocked);
            QVERIFY(!rig.timer.isActive());
            QCOMPARE(rig.machine().RetryCount, qint16(0));
        }
    }

    void scanDuringReadRetryStartsClean()
    {
        EngineRig rig(1);
        rig.click(0);
        QVERIFY(rig.timer.fire());
        QVERIFY(rig.timer.fire());
        QCOMPARE(rig.machine().RetryCount, qint16(2));
        rig.engine.scan();
        rig.link.deliver(addr(0));
        for (int round = 0; round < 4; ++round)
            QVERIFY(rig.timer.fire());
        QCOMPARE(rig.machine().RetryCount, qint16(0));
        rig.click(0);
        QCOMPARE(rig.panel.logText(), logOf({At, "读取设备 1参数... ..."}));
        // Its first lost answer is retried, not the end of it.
        QVERIFY(rig.timer.fire());
        QVERIFY(rig.timer.isActive());
    }

    void sendFailureIsReported()
    {
        const QString failed = "发送数据失败：网络不可用，请检查网线和网络设置";
        EngineRig rig(2);
        rig.read(0);
        rig.link.unreachable = true;
        rig.click(0);
        // Three attempts fail alike: one entry for the cause, then the read's own verdict.
        for (int attempt = 0; attempt < 3; ++attempt)
            QVERIFY(rig.timer.fire());
        QCOMPARE(rig.panel.logText(), logOf({At, "读取设备 1参数... ...", At, failed, At,
                                             "读取设备 1参数不成功！", "请检查计算机与设备之间的网络连接，重新操作！"}));
        // A reset that never left is no success, and the module stays listed.
        rig.engine.runDevice();
        QVERIFY(rig.panel.logText().endsWith(At + "\r\n" + failed));
        QVERIFY(!rig.panel.logText().contains("复位运行成功"));
        QCOMPARE(rig.panel.deviceRowCount(), 2);
    }

    void portBusyInChinese()
    {
        EngineRig rig(0, true);
        rig.engine.scan();
        QCOMPARE(rig.panel.logText(), logOf({At, "无法打开本地UDP端口 65002：端口已被其他程序占用",
                                             "请关闭占用该端口的程序，然后重新扫描设备。"}));
        QCOMPARE(rig.link.sent, QByteArrayList());
        QVERIFY(!rig.timer.isActive());
    }

    void everyOperationEndsOnce_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("operation");
        QTest::addColumn<bool>("succeeded");
        const int scan = int(Operation::Scan), read = int(Operation::Read), write = int(Operation::Write);
        const int defaults = int(Operation::Defaults), reset = int(Operation::Reset);
        // Module 0 is listed and read, unless the script starts with "-": no module is known.
        QTest::newRow("scan finds a module") << "sftttt" << scan << true;
        QTest::newRow("scan finds nothing") << "-stttt" << scan << false;
        QTest::newRow("read succeeds") << ReadAll << read << true;
        QTest::newRow("read times out") << "caattt" << read << false;
        QTest::newRow("write succeeds") << WriteAll << write << true;
        QTest::newRow("write refused by the module") << "wkkn" << write << false;
        QTest::newRow("write refused before sending") << "uw" << write << false;
        QTest::newRow("write times out") << "wkttt" << write << false;
        QTest::newRow("defaults restored") << "dk" << defaults << true;
        QTest::newRow("defaults refused") << "dn" << defaults << false;
        QTest::newRow("defaults time out") << "dt" << defaults << false;
        QTest::newRow("reset") << "r" << reset << true;
    }

    void everyOperationEndsOnce()
    {
        QFETCH(QString, script);
        QFETCH(int, operation);
        QFETCH(bool, succeeded);
        const bool known = !script.startsWith('-');
        EngineRig rig(known ? 1 : 0);
        if (known)
            rig.read(0);
        QList<QPair<int, bool>> ends;
        connect(&rig.engine, &Engine::operationEnded, this,
                [&ends](Operation op, bool ok) { ends.append({int(op), ok}); });
        play(rig, script);
        QCOMPARE(ends, (QList<QPair<int, bool>>{{operation, succeeded}}));
    }

    void everyDatagramIsExplained()
    {
        EngineRig rig(2);
        QSignalSpy handled(&rig.engine, &Engine::datagramHandled);
        rig.link.deliver(addr(0) + "03");
        rig.click(0);
        rig.link.deliver(addr(1) + "03");
        rig.link.deliver(addr(0) + "03");
        QCOMPARE(handled.size(), 3);
        QCOMPARE(handled[0][1].toString(), QString("discovery reply: 001122334400, listed already as module 1"));
        QCOMPARE(handled[1][1].toString(), QString("dropped: from 001122334401, awaiting 001122334400"));
        QCOMPARE(handled[2][1].toString(), QString("answer to UB: index 3"));
    }
};

QTEST_GUILESS_MAIN(AwaitedTest)
#include "tst_awaited.moc"
