// Writing the window's values: 17 frames, acknowledgements, time-outs and refusals.
#include "Fixture.h"

#include <QTest>

using namespace kelvane;
using namespace kelvane::test;

namespace {
const QString NoSelection = QStringLiteral("没有选择设备！");

// The frame writing row r of standardRead() sends to module i.
QByteArray writeFrame(int i, int r)
{
    return moduleAddress(i) + "AT" + queryCodes().at(r).toLatin1() + '=' +
           standardRead()[size_t(r)].written + '\r';
}

}  // namespace

class WriteTest : public QObject {
    Q_OBJECT

private slots:
    void fullWrite_data()
    {
        QTest::addColumn<int>("modules");
        QTest::addColumn<int>("row");
        QTest::newRow("first of one") << 1 << 0;
        QTest::newRow("second of three") << 3 << 1;
    }

    void fullWrite()
    {
        QFETCH(int, modules);
        QFETCH(int, row);
        Rig rig(modules, row);
        rig.trace.calls.clear();
        rig.engine.setting();
        QCOMPARE(rig.panel.logText(), entry({writeStart(row + 1)}));
        QCOMPARE(rig.trace.switches(), (QStringList{"disable Device_List", "disable L_Default",
                                                    "disable Setting", "disable Run_Device"}));
        for (int r = 0; r < 17; ++r) {
            QCOMPARE(rig.link.sent.size(), r + 1);
            QCOMPARE(rig.link.sent.last(), writeFrame(row, r));
            QCOMPARE(rig.m.Step, 22 + r);
            QVERIFY(rig.timer.isActive());
            QCOMPARE(rig.timer.lastInterval, 400);
            QCOMPARE(rig.commandsEnabled(), AllOff);
            rig.trace.calls.clear();
            rig.ack(row);
        }
        QCOMPARE(rig.trace.switches(), (QStringList{"enable Device_List", "enable L_Default",
                                                    "enable Setting", "enable Run_Device"}));
        QCOMPARE(rig.link.sent.size(), 17);
        QCOMPARE(rig.link.sent[3].size(), 12 + 4);   // TM, four characters
        QCOMPARE(rig.link.sent[10].size(), 12 + 15); // IP address
        QCOMPARE(rig.m.Step, 38);
        QVERIFY(!rig.timer.isActive());
        QCOMPARE(rig.m.RetryCount, 0);
        QCOMPARE(rig.panel.logText(), entries({{writeStart(row + 1)}, {writeDone(row + 1)}}));

        // A duplicate of the last acknowledgement finishes the write once more.
        rig.panel.setEnabled(Control::Setting, false);
        rig.ack(row);
        QCOMPARE(rig.panel.logText(),
                 entries({{writeStart(row + 1)}, {writeDone(row + 1)}, {writeDone(row + 1)}}));
        QCOMPARE(rig.commandsEnabled(), AllOn);
        QCOMPARE(rig.link.sent.size(), 17);
        QVERIFY(!rig.timer.isActive());
    }

    void silentModule()
    {
        Rig rig(2, 1);
        rig.startTicking();
        rig.engine.setting();
        for (int attempt = 0; attempt < 3; ++attempt) {
            QCOMPARE(rig.m.RetryCount, attempt);
            QCOMPARE(rig.panel.logText(), entryAt(1, {writeStart(2)}));
            QVERIFY(rig.timer.fire());
        }
        QCOMPARE(rig.link.sent, QByteArrayList(3, writeFrame(1, 0)));
        QCOMPARE(rig.panel.logText(), entryAt(1, {writeStart(2)}) + "\r\n" + entryAt(2, {writeFailed(2)}));
        QCOMPARE(rig.m.RetryCount, 0);
        QCOMPARE(rig.m.Step, 22);
        QCOMPARE(rig.commandsEnabled(), AllOn);
        QVERIFY(!rig.timer.isActive());
    }

    void silentFromTenthWriteRestarts()
    {
        Rig rig(1, 0);
        rig.startTicking();
        rig.engine.setting();
        rig.acks(9);
        QCOMPARE(rig.link.sent.last(), writeFrame(0, 9));
        rig.timer.fire();
        QCOMPARE(rig.m.RetryCount, 1);
        QCOMPARE(rig.link.sent.last(), writeFrame(0, 0));
        QCOMPARE(rig.m.Step, 22);
        QCOMPARE(rig.commandsEnabled(), AllOff);
        rig.acks(17);
        QCOMPARE(rig.link.sent.size(), 10 + 17);
        QCOMPARE(rig.m.RetryCount, 0);
        QCOMPARE(rig.panel.logText(), entryAt(1, {writeStart(1)}) + "\r\n" + entryAt(2, {writeDone(1)}));
    }

    void valueReadWhenItsFrameIsBuilt()
    {
        Rig rig(1, 0);
        rig.engine.setting();
        rig.acks(3);  // UB to TM are out
        rig.panel.selectIndex(Control::Set_Baud_Rate, 7);
        rig.panel.setText(Control::S_IP, "10.1.2.3");
        rig.panel.setChecked(Control::Direct, true);
        rig.acks(13);  // the last frame is out
        QCOMPARE(rig.link.sent.size(), 17);
        QCOMPARE(rig.link.sent[0], moduleAddress(0) + "ATUB=3\r");
        QCOMPARE(rig.link.sent[10], moduleAddress(0) + "ATIP=10.1.2.3\r");
        QCOMPARE(rig.link.sent[16], moduleAddress(0) + "ATPD=0\r");

        // A restart reads every control again.
        rig.timer.fire();
        QCOMPARE(rig.link.sent.last(), moduleAddress(0) + "ATUB=7\r");
    }

    void negativeAckEndsWrite_data()
    {
        QTest::addColumn<int>("retries");  // time-outs before the refusal
        QTest::addColumn<int>("acked");    // positive acknowledgements before it
        QTest::addColumn<QByteArray>("refusal");
        QTest::newRow("first frame") << 0 << 0 << QByteArray("ERROR\r\n");
        QTest::newRow("CR missing") << 0 << 4 << QByteArray("OK\n\r\n");
        QTest::newRow("exactly ten bytes") << 0 << 4 << QByteArray("NO\r\n");
        QTest::newRow("on a retry") << 1 << 5 << QByteArray("ERROR\r\n");
        QTest::newRow("last frame") << 2 << 16 << QByteArray("ok\r\n");
    }

    void negativeAckEndsWrite()
    {
        QFETCH(int, retries);
        QFETCH(int, acked);
        QFETCH(QByteArray, refusal);
        Rig rig(3, 2);
        rig.engine.setting();
        for (int i = 0; i < retries; ++i)
            rig.timer.fire();
        rig.acks(acked);
        const int sent = int(rig.link.sent.size());
        const qint16 step = rig.m.Step;

        rig.link.deliver(moduleAddress(2) + refusal);
        QCOMPARE(rig.link.sent.size(), sent);
        QCOMPARE(rig.m.Step, step);
        QCOMPARE(rig.m.RetryCount, 0);
        QCOMPARE(rig.commandsEnabled(), AllOn);
        QVERIFY(!rig.timer.isActive());
        QCOMPARE(rig.panel.logText(), entries({{writeStart(3)}, {writeFailed(3)}}));

        // Once the write is over, another refusal has nothing left to end.
        rig.link.deliver(moduleAddress(2) + refusal);
        QCOMPARE(rig.panel.logText(), entries({{writeStart(3)}, {writeFailed(3)}}));
    }

    void shortAckIgnored()
    {
        Rig rig(1, 0);
        rig.engine.setting();
        rig.acks(2);
        const QString log = rig.panel.logText();
        rig.link.deliver(moduleAddress(0) + "OK\r");
        rig.link.deliver(moduleAddress(0).left(3));
        QVERIFY(rig.timer.isActive());
        QCOMPARE(rig.m.Step, 24);
        QCOMPARE(rig.panel.logText(), log);
        QCOMPARE(rig.link.sent.size(), 3);
        // The time-out still stands and restarts the write.
        rig.timer.fire();
        QCOMPARE(rig.link.sent.last(), writeFrame(0, 0));
        QCOMPARE(rig.m.RetryCount, 1);
    }

    void invalidValueSendsNothing_data()
    {
        QTest::addColumn<int>("control");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");

        const QString choose = QStringLiteral("参数无效，请从列表中选择！");
        const QString single = QStringLiteral("参数无效，只能输入单字节字符！");
        auto add = [](Control c, const char *typed, const QString &label, const QString &tail) {
            QTest::newRow(qPrintable(controlName(c))) << int(c) << QString::fromUtf8(typed) << label + tail;
        };
        using C = Control;
        add(C::Set_Baud_Rate, "9601bps", "波特率", choose);
        add(C::Set_Stream_Control, "", "数据流控制", choose);
        add(C::Set_Bits, "7", "数据位", choose);
        add(C::Set_Time_Delimiter, "１", "时间分割", single);
        add(C::Set_Parity, "偶", "奇偶校验位", choose);
        add(C::Set_Byte_Delimiter, "\u0100", "字节分割", single);
        add(C::Set_Stopbit, "1.5", "停止位", choose);
        add(C::Disp_Mode, "显示", "显示模式", choose);
        add(C::G_IP, "网关", "网关IP地址", single);
        add(C::MASK, "255。255", "子网掩码", single);
        add(C::S_IP, "192.168.0.７", "本机IP地址", single);
        add(C::Port_Number, "八〇", "本机端口号", single);
        add(C::D_IP, "—", "目的IP地址", single);
        add(C::D_Port, "€", "目的端口号", single);
        add(C::Socket_Mode, "TCP", "端口模式", choose);
        add(C::Ethernet_Mode, "自动", "以太网模式", choose);
    }

    void invalidValueSendsNothing()
    {
        QFETCH(int, control);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        Rig rig(2, 1);
        rig.panel.setEnabled(Control::Run_Device, false);
        rig.panel.setText(Control(control), typed);
        const qint16 step = rig.m.Step;

        rig.engine.setting();
        QVERIFY(rig.link.sent.isEmpty());
        QCOMPARE(rig.panel.logText(), entry({message}));
        QCOMPARE(rig.m.Step, step);
        QCOMPARE(rig.m.RetryCount, 0);
        QCOMPARE(rig.commandsEnabled(), (QList<bool>{true, true, true, false}));
        QVERIFY(!rig.timer.isActive());
    }

    void firstInvalidIsNamed()
    {
        Rig rig(1, 0);
        rig.panel.setText(Control::Ethernet_Mode, "x");
        rig.panel.setText(Control::D_IP, "地址");
        rig.panel.setText(Control::Set_Time_Delimiter, "\u00ff");  // still one byte
        rig.engine.setting();
        QVERIFY(rig.link.sent.isEmpty());
        QCOMPARE(rig.panel.logText(), entry({QStringLiteral("目的IP地址参数无效，只能输入单字节字符！")}));
    }

    void valueTurnsInvalidDuringWrite_data()
    {
        QTest::addColumn<bool>("byRetry");
        QTest::newRow("before its frame") << false;
        QTest::newRow("before a restart") << true;
    }

    void valueTurnsInvalidDuringWrite()
    {
        QFETCH(bool, byRetry);
        Rig rig(1, 0);
        rig.engine.setting();
        rig.acks(2);
        rig.panel.setText(Control::Set_Parity, "odd");
        if (byRetry) {
            rig.timer.fire();
        } else {
            rig.ack();  // TM goes out
            rig.ack();  // parity is next
        }
        const int sent = byRetry ? 3 : 4;
        QCOMPARE(rig.link.sent.size(), sent);
        QCOMPARE(rig.panel.logText(), entry({QStringLiteral("奇偶校验位参数无效，请从列表中选择！")}));
        QCOMPARE(rig.commandsEnabled(), AllOn);
        QCOMPARE(rig.m.RetryCount, 0);
        QVERIFY(!rig.timer.isActive());
    }

    void commandsWithoutSelection_data()
    {
        QTest::addColumn<int>("command");
        QTest::newRow("Setting") << 0;
        QTest::newRow("L_Default") << 1;
        QTest::newRow("Run_Device") << 2;
    }

    void commandsWithoutSelection()
    {
        QFETCH(int, command);
        Rig rig(2, 1);
        rig.engine.setting();
        rig.timer.fire();  // a write retried once, then waiting
        rig.panel.selectDeviceRow(-1);
        rig.link.sent.clear();
        const qint16 step = rig.m.Step;
        const QList<bool> enabled = rig.commandsEnabled();

        switch (command) {
        case 0: rig.engine.setting(); break;
        case 1: rig.engine.restoreDefaults(); break;
        default: rig.engine.runDevice(); break;
        }
        QVERIFY(rig.link.sent.isEmpty());
        QCOMPARE(rig.panel.logText(), entry({NoSelection}));
        QCOMPARE(rig.m.Step, step);
        QCOMPARE(rig.m.RetryCount, 1);
        QCOMPARE(rig.commandsEnabled(), enabled);
        QCOMPARE(rig.m.deviceTable.count(), 2);
        QCOMPARE(rig.panel.deviceRowCount(), 2);
    }
};

QTEST_GUILESS_MAIN(WriteTest)
#include "tst_write.moc"
