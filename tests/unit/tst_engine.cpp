// The engine without its window: frames byte for byte, what arriving datagrams mean, and
// the Step machine driven through FakeLink and ManualTimer, every log entry compared whole.
#include "core/HeadlessPanel.h"
#include "operations/Engine.h"
#include "protocol/Catalogue.h"
#include "protocol/Frames.h"
#include "protocol/WriteSenders.h"
#include "replies/Acknowledgement.h"
#include "replies/ParameterReply.h"
#include "support/FakeLink.h"
#include "support/ManualTimer.h"
#include "support/TestClock.h"

#include <QTest>

using namespace kelvane;
using namespace kelvane::test;
using C = Control;

namespace {
const QByteArrayList Codes = {"UB", "UT", "UD", "TM", "UP", "BT", "US", "CM", "GA",
                              "SM", "IP", "PT", "DA", "DP", "SR", "ET", "PD"};
// A module's answers to the 17 queries, in their shortest form.
const QByteArrayList Answers = {"03", "01", "09", "00012", "02", "00034", "02", "01", "192.168.000.001",
                                "255.255.255.000", "010.000.000.007", "08080", "192.168.000.100", "00502",
                                "03", "05", "01"};
const QString At = FixedStamp;  // the stamp every log entry starts with
const QStringList ScanStart = {At, "计算机正在扫描网络中的设备... ...",
    "本计算机与设备的IP地址可以不是在同一个网段，但必须是在由交换机或路由器支持的同一个局域网内，不能被路由器隔离。"};
const QStringList NoneFound = {At, "未检查到网络中的设备！",
    "设备与该计算机必须是在同一个交换机或路由器所支持的局域网内，不能经过路由器隔离。"};

// Module i is 00 11 22 33 44 i.
QByteArray addr(int i) { return QByteArray::fromHex("0011223344") + char(i); }

// Query r to module i, or the write of the value answer r shows: addresses and ports
// (rows 8 to 13) whole, the rest without the leading 0.
QByteArray frame(bool write, int r, int i = 0)
{
    const QByteArray value = r >= 8 && r <= 13 ? Answers[r] : Answers[r].mid(1);
    return addr(i) + "AT" + Codes[r] + (write ? "=" + value : QByteArray()) + '\r';
}

// The log text of these lines: every entry starts with the stamp of the fixed clock.
QString log(const QStringList &lines) { return lines.join("\r\n"); }

QString describe(const Answer &a)
{
    if (const auto *i = std::get_if<answer::Index>(&a)) return "index " + QString::number(i->index);
    if (const auto *t = std::get_if<answer::Text>(&a)) return "text " + t->text;
    if (const auto *s = std::get_if<answer::StartMode>(&a)) return "mode " + QString::number(s->digit);
    if (const auto *r = std::get_if<answer::Rejected>(&a)) return r->message;
    return "failure";
}

struct Rig {
    HeadlessPanel panel;
    FakeLink link;
    ManualTimer timer;
    Engine engine{panel, link, timer, &fixedNow};

    // Started, modules 0 .. n-1 found by a scan and list row `readRow` read; nothing counted as sent.
    explicit Rig(int modules = 0, int readRow = -1, bool portTaken = false)
    {
        link.setPortTaken(portTaken);
        engine.startUp();
        if (modules > 0) engine.scan();
        for (int i = 0; i < modules; ++i) link.deliver(addr(i));
        while (timer.fire()) {}
        if (readRow >= 0) click(readRow), answer(readRow, 0, 17);
        link.sent.clear();
    }
    void click(int row) { panel.selectDeviceRow(row), engine.deviceListClicked(); }
    void answer(int i, int from, int end) { while (from < end) link.deliver(addr(i) + Answers[from++]); }
    void acks(int n) { while (n-- > 0) link.deliver(addr(engine.machine().SelectedDevice) + "OK\r\n"); }
    // Device_List, L_Default, Setting and Run_Device: what a read or write locks.
    QList<bool> commands() const { return {panel.isEnabled(C::Device_List), panel.isEnabled(C::L_Default),
                                           panel.isEnabled(C::Setting), panel.isEnabled(C::Run_Device)}; }
};
}  // namespace

class EngineTest : public QObject {
    Q_OBJECT

private slots:
    void codec_data()
    {
        // What the engine builds, or reads from an answer, and what it must be.
        QTest::addColumn<QByteArray>("actual");
        QTest::addColumn<QByteArray>("expected");
        Rig rig;
        const DeviceAddress address = *DeviceAddress::fromFrame(addr(0x55));
        const QByteArray at = addr(0x55) + "AT";
        // Row r's control shows `value` as if typed: a combo box selects the item of that text.
        auto write = [&](int r, const QString &value) {
            const Parameter &p = catalogue()[size_t(r)];
            rig.panel.setText(p.control, value);
            return frames::write(address, p.code, writeValue(rig.panel, p).value_or("refused"));
        };
        QTest::newRow("UB") << frames::query(address, "UB") << QByteArray::fromHex("001122334455415455420D");
        QTest::newRow("9600bps") << write(0, "9600bps") << addr(0x55) + QByteArray::fromHex("415455423D330D");
        QTest::newRow("600bps is last") << write(0, "600bps") << at + "UB=9\r";
        QTest::newRow("data bits 9") << write(2, "9") << at + "UD=9\r";
        QTest::newRow("stop bits 2") << write(6, "2") << at + "US=2\r";
        QTest::newRow("even parity") << write(4, "偶校验") << at + "UP=2\r";
        QTest::newRow("address") << write(10, "192.168.0.7") << at + "IP=192.168.0.7\r";
        QTest::newRow("blanks kept") << write(3, " 1 ") << at + "TM= 1 \r";
        QTest::newRow("empty text") << write(5, "") << at + "BT=\r";
        QTest::newRow("Direct") << (rig.panel.setChecked(C::Direct, true), write(16, {})) << at + "PD=0\r";
        QTest::newRow("PPPOE") << (rig.panel.setChecked(C::PPPOE, true), write(16, {})) << at + "PD=1\r";
        QTest::newRow("DHCP") << (rig.panel.setChecked(C::DHCP, true), write(16, {})) << at + "PD=2\r";

        // Row r's answer decoded, and decoded one byte short, which must fail. Plain answers
        // of every row are read back by the write in readAndWrite.
        auto decode = [](int r, const QByteArray &a, const QString &expected) {
            const Parameter &p = catalogue()[size_t(r)];
            QTest::addRow("%s %s", p.code, a.toHex().constData())
                << describe(decodeAnswer(p, addr(9) + a)).toUtf8() << expected.toUtf8();
            QTest::addRow("%s %s short", p.code, a.toHex().constData())
                << describe(decodeAnswer(p, addr(9) + a.chopped(1))).toUtf8() << QByteArray("failure");
        };
        decode(0, "0:", "读取串口通信波特率错误！");
        decode(1, "03", "读取串口通信数据流控制错误！");
        decode(2, "07", "读取串口通信数据位长度错误！");
        decode(3, "0 .\rA", "text -16-2-3517");
        decode(4, "0/", "index -1");
        decode(4, "12", "读取串口通信数据校验方式错误！");
        decode(5, "0\xFF\x80" "09", "text 2078009");
        decode(6, "00", "读取串口通信数据停止位错误！");
        decode(7, "03", "显示模式读取错误！");
        decode(8, "192 168/001x010", "text 192.168.001.010");
        decode(14, "06", "读取端口工作模式错误！");
        decode(15, "06", "以太网工作模式读取错误！");
        decode(16, "02", "mode 2");
    }

    void codec()
    {
        QFETCH(QByteArray, actual);
        QFETCH(QByteArray, expected);
        QCOMPARE(actual, expected);
    }

    void ackVerdicts()
    {
        QCOMPARE(ackVerdict(addr(3) + "OK\r\nOK\r\n"), AckVerdict::Positive);
        QCOMPARE(ackVerdict(addr(3) + "OK\n\n"), AckVerdict::Negative);
        QCOMPARE(ackVerdict(addr(3) + "OK\r"), AckVerdict::TooShort);
    }

    void discovery()
    {
        Rig rig;
        // A repeated address, one too short to be an address, then more than the 254 the table holds.
        for (const QByteArray &r : {QByteArray::fromHex("001A2B3C4D5E"), addr(1), addr(1), addr(2).left(5)})
            rig.link.deliver(r);
        QCOMPARE(rig.panel.deviceText(0), QString("设备 ( 001A2B3C4D5E )"));
        QCOMPARE(rig.panel.deviceRowCount(), 2);
        for (int i = 2; i < 256; ++i) rig.link.deliver(addr(i));
        QCOMPARE(rig.panel.deviceRowCount(), 254);
    }

    void startUp()
    {
        Rig rig;
        QCOMPARE(rig.panel.logText(), log({At, "在使用本工具扫描设备之前，请确保所有的设备都在同一个物理局域网内，没有经过路由器隔离。",
                                           "请先扫描网络中的设备，然后读取指定设备的参数，并可对每一个设备的参数进行修改。",
                                           "扫描设备的过程可能需要几秒钟的时间。"}));
        for (const Parameter &p : catalogue())
            QVERIFY(rig.panel.items(p.control) == p.items && rig.panel.selectedIndex(p.control) == -1);
        for (C c : {C::UART_Control, C::Ethernet_Control, C::Set_PPPOE, C::L_Default, C::Setting,
                    C::Run_Device})
            QVERIFY(!rig.panel.isEnabled(c));
        rig.engine.exitConfirmed();  // the only frame sent
        QCOMPARE(rig.link.sent, QByteArrayList{QByteArray::fromHex("FFFFFFFFFFFF 454E44")});
    }

    void scan_data()
    {
        QTest::addColumn<int>("known");  // found by an earlier scan; the first is being read
        QTest::addColumn<int>("found");  // new modules, answering in round 2
        QTest::addColumn<bool>("pressAgain");
        QTest::newRow("nothing found") << 0 << 0 << false;
        QTest::newRow("Scan pressed again") << 0 << 2 << true;
        QTest::newRow("during a read") << 1 << 1 << false;
    }

    void scan()
    {
        QFETCH(int, known);
        QFETCH(int, found);
        QFETCH(bool, pressAgain);
        Rig rig(known);
        if (known)
            rig.click(0), rig.answer(0, 0, 5), rig.link.sent.clear();
        rig.engine.scan();
        QCOMPARE(rig.panel.logText(), log(ScanStart));
        rig.panel.replaceLog("first round");  // later rounds must leave the log alone
        for (int round = 1; round <= 4; ++round) {
            QCOMPARE(rig.link.sent, QByteArrayList(round, "SETUP"));
            QCOMPARE(rig.timer.lastInterval, 400);
            for (int i = 0; round == 2 && i < found; ++i)
                rig.link.deliver(addr(known + i));
            round == 1 && pressAgain ? rig.engine.scan() : void(rig.timer.fire());
        }
        const int n = known + found;
        const QStringList count = {At, QString("检测到 %1个设备。").arg(n)};
        QCOMPARE(rig.panel.logText(), log(QStringList{"first round"} + (n ? count : NoneFound)));
        for (C c : {C::Device_List, C::UART_Control, C::Ethernet_Control, C::Set_PPPOE})
            QCOMPARE(rig.panel.isEnabled(c), n > 0);
    }

    void readAndWrite_data()
    {
        // After `lost` silent attempts the module answers everything; the next read or write starts afresh.
        QTest::addColumn<bool>("write");
        QTest::addColumn<int>("lost");
        QTest::newRow("read on a retry") << false << 2;
        QTest::newRow("write on a retry") << true << 1;
    }

    void readAndWrite()
    {
        QFETCH(bool, write);
        QFETCH(int, lost);
        const QString start = write ? "设置设备 3的参数... ..." : "读取设备 3参数... ...";
        Rig rig(3, write ? 2 : -1);
        write ? rig.engine.setting() : rig.click(2);
        for (int i = 0; i < lost; ++i) rig.timer.fire();
        for (int r = 0; r < 17; ++r) {
            QCOMPARE(rig.link.sent.size(), lost + r + 1);
            QCOMPARE(rig.link.sent.last(), frame(write, r, 2));
            QCOMPARE(rig.commands(), QList<bool>(4, false));
            write ? rig.acks(1) : rig.answer(2, r, r + 1);
        }
        QCOMPARE(rig.panel.logText(), log({At, start, At, write ? "设置设备 3数据成功！" : "读取设备 3参数成功！"}));
        QCOMPARE(rig.commands(), QList<bool>(4, true));
        write ? rig.engine.setting() : rig.click(2);
        QCOMPARE(rig.panel.logText(), log({At, start}));
    }

    void failures_data()
    {
        QTest::addColumn<bool>("write");
        QTest::addColumn<int>("done");            // answers before the module falls silent or refuses
        QTest::addColumn<QByteArray>("refusal");  // none: silence
        QTest::newRow("read") << false << 0 << QByteArray();
        QTest::newRow("read, silent from the sixth") << false << 5 << QByteArray();
        QTest::newRow("write") << true << 0 << QByteArray();
        QTest::newRow("write, silent from the tenth") << true << 9 << QByteArray();
        QTest::newRow("write refused") << true << 4 << QByteArray("ERROR\r\n");
    }

    void failures()
    {
        QFETCH(bool, write);
        QFETCH(int, done);
        QFETCH(QByteArray, refusal);
        Rig rig(1, write ? 0 : -1);
        write ? rig.engine.setting() : rig.click(0);
        write ? rig.acks(done) : rig.answer(0, 0, done);
        if (!refusal.isEmpty()) rig.link.deliver(addr(0) + refusal);
        for (int i = 0; refusal.isEmpty() && i < 3; ++i)
            QVERIFY(rig.timer.fire());
        QCOMPARE(rig.panel.selectedIndex(C::Set_Baud_Rate), write ? 3 : -1);  // a read restarts emptied
        QCOMPARE(rig.link.sent.mid(done + 1), QByteArrayList(refusal.isEmpty() ? 2 : 0, frame(write, 0)));
        QCOMPARE(rig.panel.logText(), write ? log({At, "设置设备 1的参数... ...", At, "设置设备 1参数不成功！"})
                                            : log({At, "读取设备 1参数... ...", At, "读取设备 1参数不成功！",
                                                   "请检查计算机与设备之间的网络连接，重新操作！"}));
        QCOMPARE(rig.commands(), (QList<bool>{true, write, write, true}));
        QVERIFY(!rig.timer.isActive());
        write ? rig.engine.setting() : rig.click(0);  // the next one starts afresh
        QCOMPARE(rig.panel.logText(), log({At, write ? "设置设备 1的参数... ..." : "读取设备 1参数... ..."}));
    }

    void refusedAnswer()
    {
        Rig rig(1);
        rig.click(0);
        rig.panel.selectIndex(C::Set_Baud_Rate, 4), rig.panel.selectIndex(C::Set_Stream_Control, 1);
        rig.link.deliver(addr(0) + "0/");  // 0x2F clears the baud rate
        rig.link.deliver(addr(0) + "02");  // flow control 2 has no item
        rig.link.deliver(addr(0) + "07");  // 7 data bits are refused, and the read goes on
        QCOMPARE(rig.panel.logText(), QString("读取串口通信数据位长度错误！"));
        QCOMPARE(rig.panel.selectedIndex(C::Set_Baud_Rate), -1);
        QCOMPARE(rig.panel.selectedIndex(C::Set_Stream_Control), 1);
        QCOMPARE(rig.link.sent.last(), frame(false, 3));
    }

    void shortLastAnswer()
    {
        Rig rig(1);
        rig.click(0);
        rig.answer(0, 0, 16);
        rig.link.deliver(addr(0) + "0");  // too short for the start mode: the read waits on
        QVERIFY(rig.timer.isActive());
        rig.answer(0, 16, 17);
        QVERIFY(rig.panel.isChecked(C::PPPOE));
        QVERIFY(rig.panel.logText().endsWith("读取设备 1参数成功！"));
    }

    void defaults()
    {
        const QString start = "恢复设备 2默认参数。", failed = "恢复设备 2默认参数不成功，请重新操作！";
        Rig rig(2, 1);
        rig.engine.restoreDefaults();
        rig.link.deliver(addr(1) + "OK\r\n");
        QVERIFY(!rig.timer.fire());
        QCOMPARE(rig.panel.logText(), log({At, start, At, "恢复设备 2默认参数成功，请重新读取该设备参数！"}));
        rig.engine.restoreDefaults();
        rig.link.deliver(addr(1) + "OK\n\r\n");
        QCOMPARE(rig.panel.logText(), log({At, start, At, failed}));
        rig.engine.restoreDefaults();
        QVERIFY(rig.timer.fire());
        QCOMPARE(rig.panel.logText(), log({At, start, At, failed}));
        QCOMPARE(rig.link.sent, QByteArrayList(3, QByteArray::fromHex("001122334401 41544446 0D")));
    }

    void reset()
    {
        Rig rig(3, 0);
        rig.panel.setText(C::Set_Baud_Rate, "9601bps");
        rig.engine.setting();
        QCOMPARE(rig.panel.logText(), log({At, "波特率参数无效，请从列表中选择！"}));
        rig.engine.runDevice();
        QCOMPARE(rig.panel.logText(), log({At, "对设备 1的复位运行成功。"}));
        QCOMPARE(rig.panel.deviceText(0) + rig.panel.deviceText(1), "设备 ( 001122334401 )设备 ( 001122334402 )");
        QCOMPARE(rig.engine.machine().deviceTable.entry(0), addr(1));
        rig.engine.setting();
        QCOMPARE(rig.panel.logText(), log({At, "没有选择设备！"}));
        // Neither refused write sent anything.
        QCOMPARE(rig.link.sent, QByteArrayList{QByteArray::fromHex("001122334400 454E44")});
    }
};

QTEST_GUILESS_MAIN(EngineTest)
#include "tst_engine.moc"
