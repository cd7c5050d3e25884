// SPDX-License-Identifier: Apache-2.0
// Only an awaited answer from the module being worked on moves the engine:
// late, repeated and foreign datagrams change nothing, a write sends the values
// of the moment it was asked for, and failures to send are reported.
#include "support/EngineRig.h"
#include "replies/AnswerForm.h"

#include <QSignalSpy>
#include <QTest>

#include <numeric>

using namespace kelvane;
using namespace kelvane::test;
using C = Control;

namespace {
// Plays a script on module 0, one step a letter: s scan, f a found module, t a
// time-out, c a click, a the next answer, w Setting, k an ack, n a refusal (ER,
// as kelvane-sim refuses), d defaults, r reset.
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
        case 'n': rig.link.deliver(addr(0) + "ER\r\n"); break;
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
        // An acknowledgement after the write has failed is no longer awaited.
        QTest::newRow("write refused, then acked") << "wkkn" << Operation::Write << false << ok;
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

    // A repeated answer that waits in the socket when the next query goes out is
    // dropped then, in the window's engine too: the next query gets its own answer.
    void repeatedAnswerIsNotTheNextOne()
    {
        EngineRig rig(1);
        rig.click(0);
        rig.link.queue(addr(0) + Answers[0]);
        rig.answer(0, 0, 1);
        QCOMPARE(rig.link.waiting, QByteArrayList());
        rig.answer(0, 1, 17);
        QCOMPARE(rig.panel.text(C::Set_Stream_Control), QString("RTS/CTS"));
        QVERIFY(rig.panel.logText().endsWith("读取设备 1参数成功！"));
    }

    // On the command line a copy of an answer may come only once the answer has been
    // taken (a LAN that repeats datagrams, the copy a little behind). Where the copy
    // would pass for the next answer (every ack; US's "02" as a display mode, an
    // address for the next address) the next frame waits SettleMs and the copy is
    // dropped in that wait; any other goes at once and its copy is dropped when it
    // comes: TM's for UP by its form, UB's "03" for UT as no flow control there is.
    void trailingCopyIsNotTheNextAnswer_data()
    {
        QTest::addColumn<bool>("write");
        QTest::newRow("read") << false;
        QTest::newRow("write") << true;
    }

    void trailingCopyIsNotTheNextAnswer()
    {
        QFETCH(bool, write);
        EngineRig rig(1);
        rig.read(0);
        const ParameterValues held = ParameterValues::fromPanel(rig.panel).value();
        rig.engine.retryEachFrame(DefaultFrameAttempts, TimeoutMs, SettleMs);
        QList<Outcome> ended;
        connect(&rig.engine, &Engine::finished, this, [&ended](const Outcome &outcome) { ended << outcome; });
        QSignalSpy handled(&rig.engine, &Engine::datagramHandled);
        if (write)
            rig.window.setting();
        else
            rig.window.deviceListClicked();
        for (int r = 0; r < ParameterCount; ++r) {
            QCOMPARE(rig.link.sent.size(), r + 1);
            const QByteArray answer = addr(0) + (write ? QByteArray("OK") : Answers[r]) + "\r\n";
            rig.link.deliver(answer);
            rig.link.deliver(answer);
            if (r + 1 == ParameterCount)
                continue;
            const Parameter &next = catalogue()[r + 1];
            const QList<int> passesForTheNext = {6, 8, 9, 14, 15};
            if (write || passesForTheNext.contains(r)) {
                // A copy that could pass for the next answer goes into the wait, SettleMs long.
                QCOMPARE(handled.last().at(1).toString(),
                         "dropped: a copy or a late answer, in the wait before the next frame");
                QCOMPARE(rig.timer.lastInterval, SettleMs);
                QVERIFY(rig.timer.fire());
            } else if (answerFits(next, answer)) {
                QCOMPARE(handled.last().at(1).toString(),
                         QString("dropped: the answer before again, which cannot answer %1").arg(next.code));
            } else {
                QCOMPARE(handled.last().at(1).toString(),
                         QString("dropped: not the form of an answer to %1").arg(next.code));
            }
        }
        QCOMPARE(ended.size(), 1);
        QCOMPARE(ended.first().kind, OutcomeKind::Done);
        QList<int> rows;
        for (const QByteArray &frame : rig.link.sent)
            rows << int(Codes.indexOf(frame.mid(8, 2)));
        QList<int> once;
        for (int r = 0; r < ParameterCount; ++r)
            once << r;
        QCOMPARE(rows, once);
        if (!write)
            QCOMPARE(ended.first().values, held);
    }

    // Each frame tried on its own, as the command line and fleets do: the script's
    // letters are a the next answer, l the frame's answer lost (its time-out),
    // d the retried frame's second answer after its first came late, f a datagram
    // of another form, q the quiet wait after a retry running out, k an ack, e a refusal.
    void frameRetries_data()
    {
        QTest::addColumn<bool>("write");
        QTest::addColumn<QString>("script");
        QTest::addColumn<OutcomeKind>("kind");
        QTest::addColumn<QList<int>>("sentRows");  // the rows of the frames sent, in order
        QList<int> once(17);
        std::iota(once.begin(), once.end(), 0);
        QTest::newRow("read, one answer lost, its copy late")
            << false << "aladq" + QString(15, 'a') << OutcomeKind::Done << QList<int>{0, 1, 1} + once.mid(2);
        // The read ends only after the quiet wait, so the next operation cannot take the late copy.
        QTest::newRow("read, last answer lost, its copy late")
            << false << QString(16, 'a') + "ladq" << OutcomeKind::Done << once + QList<int>{16};
        QTest::newRow("read, a discovery reply is no answer")
            << false << "fa" + QString(16, 'a') << OutcomeKind::Done << once;
        QTest::newRow("read, every attempt lost") << false << "alll" << OutcomeKind::NoAnswer << QList<int>{0, 1, 1, 1};
        // UB's "03" names no flow control: dropped as a copy each time, and the module
        // that answers nothing else gave an answer that cannot be read.
        QTest::newRow("read, the answer before again each time")
            << false << "adldldl" << OutcomeKind::BadAnswer << QList<int>{0, 1, 1, 1};
        QTest::newRow("write, one ack lost") << true << "klkq" + QString(15, 'k') << OutcomeKind::Done
                                               << QList<int>{0, 1, 1} + once.mid(2);
        QTest::newRow("write, another form, then refused") << true << "kfe" << OutcomeKind::Refused << QList<int>{0, 1};
    }

    void frameRetries()
    {
        QFETCH(bool, write);
        QFETCH(QString, script);
        EngineRig rig(1);
        rig.read(0);
        const ParameterValues held = ParameterValues::fromPanel(rig.panel).value();
        rig.engine.retryEachFrame(3, 400);
        QList<Outcome> ended;
        connect(&rig.engine, &Engine::finished, this, [&ended](const Outcome &outcome) { ended << outcome; });
        // Answers as a module sends them, CR LF included: only those fit their parameter.
        QByteArrayList answers;
        for (const QByteArray &answer : Answers)
            answers << addr(0) + answer + "\r\n";
        if (write)
            rig.window.setting();
        else
            rig.window.deviceListClicked();
        int next = 0;
        for (QChar step : script) {
            switch (step.toLatin1()) {
            case 'a': rig.link.deliver(answers[next++]); break;
            case 'k': rig.link.deliver(addr(0) + "OK\r\n"); break;
            case 'e': rig.link.deliver(addr(0) + "ER\r\n"); break;
            case 'd': rig.link.deliver(answers[next - 1]); break;
            case 'f': rig.link.deliver(addr(0) + "KVS-100\r\n"); break;
            case 'l': QVERIFY(rig.timer.fire()); break;
            case 'q':
                // Two time-outs: the late answer of the attempt that was retried is still dropped.
                QCOMPARE(rig.timer.lastInterval, 2 * 400);
                QVERIFY(rig.timer.fire());
                break;
            }
        }
        QCOMPARE(ended.size(), 1);
        QTEST(ended.first().kind, "kind");
        QList<int> rows;
        for (const QByteArray &frame : rig.link.sent)
            rows << int(Codes.indexOf(frame.mid(8, 2)));
        QTEST(rows, "sentRows");
        if (!write && ended.first().succeeded())
            QCOMPARE(ended.first().values, held);
    }
};

QTEST_GUILESS_MAIN(AwaitedTest)
#include "tst_awaited.moc"
