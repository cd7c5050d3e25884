// SPDX-License-Identifier: Apache-2.0
// Only an awaited answer from the module being worked on moves the engine:
// late, repeated and foreign datagrams change nothing, a write sends the values
// of the moment it was asked for, and failures to send are reported.
#include "support/EngineRig.h"

#include <QSignalSpy>
#include <QTest>

using namespace kelvane;
using namespace kelvane::test;
using C = Control;

namespace {
// Plays a script on module 0, one step a letter: s scan, f a found module, t a
// time-out, c a click, a the next answer, w Setting, k an ack, n a refusal,
// u the start mode cleared, b a baud rate no list holds, d defaults, r reset.
void play(EngineRig &rig, const QString &script)
{
    int answered = 0;
    for (QChar step : script) {
        switch (step.toLatin1()) {
        case 's': rig.window.scan(); break;
        case 'f': rig.link.deliver(addr(0)); break;
        case 't': QVERIFY(rig.timer.fire()); break;
        case 'c': rig.click(0); break;
        case 'a': rig.answer(0, answered, answered + 1); ++answered; break;
        case 'w': rig.window.setting(); break;
        case 'k': rig.acks(0, 1); break;
        case 'n': rig.link.deliver(addr(0) + "ERROR\r\n"); break;
        case 'u': rig.panel.setChecked(C::PPPOE, false); break;
        case 'b': rig.panel.setText(C::Set_Baud_Rate, "9601bps"); break;
        case 'd': rig.window.restoreDefaults(); break;
        case 'r': rig.window.runDevice(); break;
        }
    }
}
}  // namespace

class AwaitedTest : public QObject {
    Q_OBJECT

private slots:
    // Each operation ends once, leaves no retry counted, and what arrives after its end changes nothing.
    void everyOperationEndsOnce_data()
    {
        QTest::addColumn<QString>("script");  // module 0 is listed and read first
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<bool>("succeeded");
        QTest::addColumn<QByteArray>("stray");  // from module 0 after the end
        const QByteArray ok = "OK\r\n";
        const QByteArray refused = "ERROR\r\n";
        QTest::newRow("scan during a read's retries") << "cttsftttt" << Operation::Scan << true << ok;
        const QString read = "c" + QString(17, 'a');
        const QString write = "w" + QString(17, 'k');
        QTest::newRow("read succeeds, late duplicate") << read << Operation::Read << true << QByteArray("02");
        QTest::newRow("read times out, then answered") << "caattt" << Operation::Read << false << QByteArray("03");
        QTest::newRow("write succeeds, duplicate ack") << write << Operation::Write << true << ok;
        QTest::newRow("write refused, then acked") << "wkkn" << Operation::Write << false << ok;
        QTest::newRow("write times out, then refused") << "wkkkkttt" << Operation::Write << false << refused;
        QTest::newRow("defaults restored, second ack") << "dk" << Operation::Defaults << true << refused;
        QTest::newRow("defaults ack after its time-out") << "dt" << Operation::Defaults << false << ok;
        QTest::newRow("reset") << "r" << Operation::Reset << true << ok;
    }

    void everyOperationEndsOnce()
    {
        QFETCH(QString, script);
        QFETCH(Operation, operation);
        QFETCH(bool, succeeded);
        QFETCH(QByteArray, stray);
        EngineRig rig(1);
        rig.read(0);
        QList<QPair<int, bool>> ends;
        connect(&rig.engine, &Engine::finished, this,
                [&ends](const Outcome &outcome) {
                    // A read the scan took over from ends too, as superseded.
                    if (outcome.kind != OutcomeKind::Superseded)
                        ends.append({int(outcome.operation), outcome.succeeded()});
                });
        play(rig, script);
        QVERIFY(!rig.timer.isActive());
        const QString log = rig.panel.logText();
        const QList<bool> commands = rig.commands();
        const bool checkedPppoe = rig.panel.isChecked(C::PPPOE);
        rig.link.sent.clear();

        rig.link.deliver(addr(0) + stray);

        QCOMPARE(rig.link.sent, QByteArrayList());
        QVERIFY(!rig.timer.isActive());
        QCOMPARE(rig.panel.logText(), log);
        QCOMPARE(rig.commands(), commands);
        QCOMPARE(rig.panel.isChecked(C::PPPOE), checkedPppoe);
        QCOMPARE(rig.engine.machine().RetryCount, qint16(0));
        QCOMPARE(ends, (QList<QPair<int, bool>>{{int(operation), succeeded}}));
    }

    // Edits while the write runs, to a row already sent, a row still to come and
    // a combo box cleared, change nothing sent, in any attempt.
    void writeSnapshot()
    {
        EngineRig rig(1);
        rig.read(0);
        rig.window.setting();
        rig.acks(0, 2);
        rig.panel.setText(C::Set_Baud_Rate, "600bps");
        rig.panel.setText(C::S_IP, "9");
        rig.panel.selectIndex(C::Socket_Mode, -1);
        rig.acks(0, 15);
        QByteArrayList expected;
        for (int r = 0; r < 17; ++r)
            expected << writeFrame(r);
        QCOMPARE(rig.link.sent, expected);
        QVERIFY(rig.panel.logText().endsWith("设置设备 1数据成功！"));

        rig.read(0);
        rig.window.setting();
        rig.panel.setText(C::S_IP, "9");
        QVERIFY(rig.timer.fire());
        rig.acks(0, 10);
        QCOMPARE(rig.link.sent.last(), writeFrame(10));
    }

    void sendFailure()
    {
        const QString failed = "发送数据失败：网络不可用，请检查网线和网络设置";
        EngineRig rig(2);
        rig.read(0);
        rig.link.unreachable = true;
        // Three attempts fail alike: one entry for the cause, then the read's own verdict.
        play(rig, "cttt");
        const QString verdict = "读取设备 1参数不成功！\r\n请检查计算机与设备之间的网络连接，重新操作！";
        QCOMPARE(rig.panel.logText(), logOf({At, "读取设备 1参数... ...", At, failed, At, verdict}));
        // A reset that never left is no success, and the module stays listed.
        rig.window.runDevice();
        QVERIFY(rig.panel.logText().endsWith(At + "\r\n" + failed));
        QVERIFY(!rig.panel.logText().contains("复位运行成功"));
        QCOMPARE(rig.panel.deviceRowCount(), 2);
    }

    // The link hands a read only its own module's datagrams; what the engine is handed it explains.
    void everyDatagramIsExplained()
    {
        EngineRig rig(2);
        QSignalSpy handled(&rig.engine, &Engine::datagramHandled);
        rig.link.deliver(addr(0) + "03");
        rig.click(0);
        rig.link.deliver(addr(1) + "03");
        rig.link.deliver(addr(0) + "03");
        QCOMPARE(handled.size(), 2);
        QCOMPARE(handled[0][1].toString(), "discovery reply: 001122334400, listed already as module 1");
        QCOMPARE(handled[1][1].toString(), "answer to UB: index 3");
    }
};

QTEST_GUILESS_MAIN(AwaitedTest)
#include "tst_awaited.moc"
