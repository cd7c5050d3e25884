// SPDX-License-Identifier: Apache-2.0
// The engine without its window: what arriving datagrams mean, and the Step machine
// driven through FakeLink and ManualTimer, frames and log entries compared whole.
#include "support/HeadlessPanel.h"
#include "operations/Engine.h"
#include "protocol/Catalogue.h"
#include "replies/ParameterReply.h"
#include "support/EngineRig.h"

#include <QTest>

using namespace kelvane;
using namespace kelvane::test;
using C = Control;

namespace {
const QStringList ScanStart = {At, "计算机正在扫描网络中的设备... ...",
    "本计算机与设备的IP地址可以不是在同一个网段，但必须是在由交换机或路由器支持的同一个局域网内，不能被路由器隔离。"};
const QStringList NoneFound = {At, "未检查到网络中的设备！",
    "设备与该计算机必须是在同一个交换机或路由器所支持的局域网内，不能经过路由器隔离。"};

// The two exchanges that run through all 17 parameters.
enum class Exchange { Read, Write };

// A read starts with a click on the row; a write works on the row selected last.
void start(EngineRig &rig, Exchange exchange, int row)
{
    if (exchange == Exchange::Read)
        rig.click(row);
    else
        rig.window.setting();
}

// The module answers the query, or acknowledges the write, of rows from..end-1.
void respond(EngineRig &rig, Exchange exchange, int module, int from, int end)
{
    if (exchange == Exchange::Read)
        rig.answer(module, from, end);
    else
        rig.acks(module, end - from);
}

QByteArray frameOf(Exchange exchange, int row, int module)
{
    return exchange == Exchange::Read ? queryFrame(row, module) : writeFrame(row, module);
}
}  // namespace

class EngineTest : public QObject {
    Q_OBJECT

private slots:
    // Odd answers by catalogue row, read or refused.
    void decoders_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QString>("expected");
        QTest::newRow("UB ':' is past the last baud rate") << 0 << QByteArray("0:") << "读取串口通信波特率错误！";
        QTest::newRow("UP without 0 before the digit refused")
            << 4 << QByteArray("12") << "读取串口通信数据校验方式错误！";
        QTest::newRow("BT any five bytes read as digits") << 5 << QByteArray("0\xFF\x80" "09") << "text 2078009";
        QTest::newRow("GA groups, whatever between")
            << 8 << QByteArray("192 168/001x010") << "text 192.168.001.010";
        QTest::newRow("PD 2 names the start mode") << 16 << QByteArray("02") << "mode 2";
    }

    // Each answer, and the same answer one byte short, which fails whatever the row would have said.
    void decoders()
    {
        QFETCH(int, row);
        QFETCH(QByteArray, answer);
        const Parameter &parameter = catalogue()[size_t(row)];
        QTEST(describeAnswer(decodeAnswer(parameter, addr(9) + answer)), "expected");
        QCOMPARE(describeAnswer(decodeAnswer(parameter, addr(9) + answer.chopped(1))), QString("failure"));
    }

    // Nothing selected, nothing sent, until a scan finds modules.
    void startUpAndDiscovery()
    {
        EngineRig rig{EngineRig::Unstarted{}};
        rig.window.startUp();
        QCOMPARE(rig.panel.logText(),
                 logOf({At, "在使用本工具扫描设备之前，请确保所有的设备都在同一个物理局域网内，没有经过路由器隔离。",
                        "请先扫描网络中的设备，然后读取指定设备的参数，并可对每一个设备的参数进行修改。",
                        "扫描设备的过程可能需要几秒钟的时间。"}));
        for (const Parameter &p : catalogue())
            QCOMPARE(rig.panel.selectedIndex(p.control), -1);
        QCOMPARE(rig.link.sent, QByteArrayList());
        QVERIFY(!rig.timer.isActive());
        // Discovery replies: each module listed once, an address too short ignored, no more than 254.
        rig.link.deliver(QByteArray::fromHex("001A2B3C4D5E"));
        rig.link.deliver(addr(0).left(5));
        for (int i = 0; i < 256; ++i)
            rig.link.deliver(addr(i));
        rig.link.deliver(addr(0));
        QCOMPARE(rig.panel.deviceRowCount(), 254);
        QCOMPARE(rig.panel.deviceText(0), QString("设备 ( 001A2B3C4D5E )"));
        QCOMPARE(rig.panel.deviceText(1), QString("设备 ( 001122334400 )"));
        QCOMPARE(rig.panel.deviceText(253), QString("设备 ( 0011223344FC )"));
    }

    void scan_data()
    {
        // Busy: module 0, found earlier, is being read, and Scan is pressed again in round 1.
        QTest::addColumn<bool>("busy");
        QTest::addColumn<int>("found");  // new modules, answering in round 2
        QTest::addColumn<QStringList>("verdict");
        QTest::addColumn<bool>("framesOpen");
        QTest::newRow("nothing found: said so, frames stay shut") << false << 0 << NoneFound << false;
        QTest::newRow("busy: one scan, the module read counts")
            << true << 1 << QStringList{At, "检测到 2个设备。"} << true;
    }

    void scan()
    {
        QFETCH(bool, busy);
        QFETCH(int, found);
        QFETCH(QStringList, verdict);
        EngineRig rig(busy ? 1 : 0);
        if (busy) {
            rig.click(0);
            rig.answer(0, 0, 5);
            rig.link.sent.clear();
        }
        rig.window.scan();
        QCOMPARE(rig.panel.logText(), logOf(ScanStart));
        rig.panel.replaceLog("first round");  // later rounds must leave the log alone
        for (int round = 1; round <= 4; ++round) {
            QCOMPARE(rig.link.sent, QByteArrayList(round, "SETUP"));
            QCOMPARE(rig.timer.lastInterval, 400);
            if (round == 2) {
                for (int i = 0; i < found; ++i)
                    rig.link.deliver(addr(1 + i));
            }
            if (round == 1 && busy)
                rig.window.scan();
            else
                QVERIFY(rig.timer.fire());
        }
        QVERIFY(!rig.timer.isActive());
        QCOMPARE(rig.panel.logText(), logOf(QStringList{"first round"} + verdict));
        for (C c : {C::Device_List, C::UART_Control, C::Ethernet_Control, C::Set_PPPOE})
            QTEST(rig.panel.isEnabled(c), "framesOpen");
    }

    // Module 3 is read, then read or written again: silent `lost` attempts, `answered`
    // rows, then all done, silence (three time-outs) or a refusal; the next one starts afresh.
    void exchange_data()
    {
        QTest::addColumn<Exchange>("exchange");
        QTest::addColumn<int>("lost");
        QTest::addColumn<int>("answered");
        QTest::addColumn<QByteArray>("refusal");
        QTest::addColumn<int>("retries");           // first frames sent again after the answers
        QTest::addColumn<int>("baudRate");          // a failed read restarts emptied, a write leaves the values
        QTest::addColumn<QString>("log");
        QTest::addColumn<QList<bool>>("commands");  // a failed read leaves nothing to write
        const QString read = "读取设备 3参数... ...";
        const QString write = "设置设备 3的参数... ...";
        const QString readFailed =
            logOf({At, read, At, "读取设备 3参数不成功！", "请检查计算机与设备之间的网络连接，重新操作！"});
        const QString writeFailed = logOf({At, write, At, "设置设备 3参数不成功！"});
        const QList<bool> afterRead = {true, false, false, true};
        const QByteArray silence;
        QTest::newRow("read on the third attempt")
            << Exchange::Read << 2 << 17 << silence << 0 << 3 << logOf({At, read, At, "读取设备 3参数成功！"}) << Unlocked;
        QTest::newRow("read silent from the sixth")
            << Exchange::Read << 0 << 5 << silence << 2 << -1 << readFailed << afterRead;
        QTest::newRow("write silent from the tenth")
            << Exchange::Write << 0 << 9 << silence << 2 << 3 << writeFailed << Unlocked;
        QTest::newRow("write refused at the fifth, not retried")
            << Exchange::Write << 0 << 4 << QByteArray("ERROR\r\n") << 0 << 3 << writeFailed << Unlocked;
    }

    void exchange()
    {
        QFETCH(Exchange, exchange);
        QFETCH(int, lost);
        QFETCH(int, answered);
        QFETCH(QByteArray, refusal);
        QFETCH(int, retries);
        QFETCH(QString, log);
        EngineRig rig(3);
        rig.read(2);
        start(rig, exchange, 2);
        for (int attempt = 0; attempt < lost; ++attempt)
            QVERIFY(rig.timer.fire());
        for (int r = 0; r < answered; ++r) {
            QCOMPARE(rig.link.sent.size(), lost + r + 1);
            QCOMPARE(rig.link.sent.last(), frameOf(exchange, r, 2));
            QCOMPARE(rig.commands(), Locked);
            // Another module's refusal, ack and answer, and bytes too short to name a module, change nothing.
            for (const QByteArray &foreign : {addr(1) + "ERROR\r\n", addr(1) + "OK\r\n", addr(1) + "03"})
                rig.link.deliver(foreign);
            rig.link.deliver(addr(2).left(3));
            respond(rig, exchange, 2, r, r + 1);
        }
        if (!refusal.isEmpty()) {
            rig.link.deliver(addr(2) + refusal);
        } else if (answered < ParameterCount) {
            for (int attempt = 0; attempt < 3; ++attempt)
                QVERIFY(rig.timer.fire());
        }
        QVERIFY(!rig.timer.isActive());
        QCOMPARE(rig.link.sent.mid(lost + answered + 1), QByteArrayList(retries, frameOf(exchange, 0, 2)));
        QTEST(rig.panel.selectedIndex(C::Set_Baud_Rate), "baudRate");
        QCOMPARE(rig.panel.logText(), log);
        QTEST(rig.commands(), "commands");
        start(rig, exchange, 2);
        QCOMPARE(rig.panel.logText(), log.section("\r\n", 0, 1));
    }

    // A refused answer is reported and the read goes on; one too short is waited past.
    void oddAnswersDuringARead()
    {
        EngineRig rig(1);
        rig.click(0);
        rig.panel.selectIndex(C::Set_Baud_Rate, 4);
        rig.panel.selectIndex(C::Set_Stream_Control, 1);
        rig.link.deliver(addr(0) + "0/");  // 0x2F clears the baud rate
        rig.link.deliver(addr(0) + "02");  // flow control 2 has no item
        rig.link.deliver(addr(0) + "07");  // 7 data bits are refused
        QCOMPARE(rig.panel.logText(), QString("读取串口通信数据位长度错误！"));
        QCOMPARE(rig.panel.selectedIndex(C::Set_Baud_Rate), -1);
        QCOMPARE(rig.panel.selectedIndex(C::Set_Stream_Control), 1);
        QCOMPARE(rig.link.sent.last(), queryFrame(3));
        rig.answer(0, 3, 16);
        rig.link.deliver(addr(0) + "0");  // too short for the start mode
        QVERIFY(rig.timer.isActive());
        rig.answer(0, 16, 17);
        QVERIFY(rig.panel.isChecked(C::PPPOE));
        QVERIFY(rig.panel.logText().endsWith("读取设备 1参数成功！"));
    }

    void defaults_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<bool>("waits");        // the reply is too short to judge
        QTest::addColumn<QString>("verdict");
        const QString failed = "恢复设备 2默认参数不成功，请重新操作！";
        QTest::newRow("OK CR LF, more after it: restored")
            << QByteArray("OK\r\nOK\r\n") << false << "恢复设备 2默认参数成功，请重新读取该设备参数！";
        QTest::newRow("OK LF LF is no OK CR LF: failed") << QByteArray("OK\n\n") << false << failed;
        QTest::newRow("OK CR is too short: waits, fails") << QByteArray("OK\r") << true << failed;
    }

    void defaults()
    {
        QFETCH(QByteArray, reply);
        QFETCH(bool, waits);
        QFETCH(QString, verdict);
        EngineRig rig(2);
        rig.read(1);
        rig.window.restoreDefaults();
        rig.link.deliver(addr(1) + reply);
        QCOMPARE(rig.timer.isActive(), waits);
        if (waits)
            QVERIFY(rig.timer.fire());
        QVERIFY(!rig.timer.isActive());
        QCOMPARE(rig.panel.logText(), logOf({At, "恢复设备 2默认参数。", At, verdict}));
        QCOMPARE(rig.link.sent, QByteArrayList{QByteArray::fromHex("001122334401 41544446 0D")});
    }

    void resetDropsTheModule()
    {
        EngineRig rig(3);
        rig.read(0);
        rig.window.runDevice();
        QCOMPARE(rig.panel.logText(), logOf({At, "对设备 1的复位运行成功。"}));
        QCOMPARE(rig.engine.deviceTable().entry(0), addr(1));
        // Nothing is selected now: a write is refused before anything goes out.
        rig.link.sent.clear();
        rig.window.setting();
        QCOMPARE(rig.panel.logText(), logOf({At, "没有选择设备！"}));
        QCOMPARE(rig.link.sent, QByteArrayList());
    }
};

QTEST_GUILESS_MAIN(EngineTest)
#include "tst_engine.moc"
