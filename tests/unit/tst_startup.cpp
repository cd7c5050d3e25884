// The window's first state, and the farewell broadcast.
#include "Fixture.h"

#include "operations/Startup.h"

#include <QTest>

using namespace kelvane;
using namespace kelvane::test;

namespace {
const QStringList StartText = {
    QStringLiteral("在使用本工具扫描设备之前，请确保所有的设备都在同一个物理局域网内，没有经过路由器隔离。"),
    QStringLiteral("请先扫描网络中的设备，然后读取指定设备的参数，并可对每一个设备的参数进行修改。"),
    QStringLiteral("扫描设备的过程可能需要几秒钟的时间。")};
}  // namespace

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void comboItems_data()
    {
        QTest::addColumn<int>("combo");
        QTest::addColumn<QStringList>("items");
        using C = Control;
        auto add = [](C c, const QStringList &items) {
            QTest::newRow(qPrintable(controlName(c))) << int(c) << items;
        };
        add(C::Set_Baud_Rate, {"1200bps", "2400bps", "4800bps", "9600bps", "19200bps", "38400bps",
                               "57600bps", "115200bps", "230400bps", "600bps"});
        add(C::Set_Stream_Control, {"无", "RTS/CTS"});
        add(C::Set_Bits, {"8", "9"});
        add(C::Set_Parity, {"无校验", "奇校验", "偶校验"});
        add(C::Set_Stopbit, {"1", "2"});
        add(C::Disp_Mode, {"不显示", "正常显示", "兼容模式"});
        add(C::Socket_Mode, {"TCP服务器", "TCP客户端", "UDP模式0", "UDP模式1", "UDP模式2", "UDP组播"});
        add(C::Ethernet_Mode, {"自动握手", "100M全双工自动握手", "100M全双工手动握手",
                               "100M半双工手动握手", "10M全双工手动握手", "10M半双工手动握手"});
    }

    void comboItems()
    {
        QFETCH(int, combo);
        QFETCH(QStringList, items);
        Rig rig;
        QCOMPARE(rig.panel.items(Control(combo)), items);
        QCOMPARE(rig.panel.selectedIndex(Control(combo)), -1);
        QCOMPARE(rig.panel.text(Control(combo)), QString());
    }

    void startOrder()
    {
        Rig rig;
        const QStringList expected = {
            "items Socket_Mode", "items Set_Baud_Rate", "items Set_Stream_Control", "items Set_Bits",
            "items Set_Parity", "items Set_Stopbit", "items Disp_Mode", "items Ethernet_Mode",
            "replace log", "address",
            "disable User_ID", "disable User_Password",
            "disable Set_PPPOE", "disable Ethernet_Control", "disable UART_Control",
            "disable L_Default", "disable Setting", "disable Run_Device"};
        QCOMPARE(rig.trace.calls, expected);
    }

    void startState()
    {
        Rig rig;
        // Four lines: the stamp and the three of the text, no CR LF at the end.
        QCOMPARE(rig.panel.logText(), entry(StartText));
        QCOMPARE(rig.panel.logText().split("\r\n").size(), 4);
        QVERIFY(rig.link.sent.isEmpty());
        QVERIFY(rig.link.isOpen());
        QCOMPARE(rig.timer.starts, 0);
        QCOMPARE(rig.panel.deviceRowCount(), 0);
        for (Control c : {Control::Direct, Control::PPPOE, Control::DHCP})
            QVERIFY(!rig.panel.isChecked(c));
        QCOMPARE(rig.panel.addressDisplay(), QStringLiteral("本机IP地址：192.0.2.1    端口号： 65002"));
        QCOMPARE(kelvane::addressDisplay("10.20.30.40"), QStringLiteral("本机IP地址：10.20.30.40    端口号： 65002"));

        using C = Control;
        for (C c : {C::Scan, C::Device_List, C::Exit_Command, C::Direct, C::PPPOE, C::DHCP, C::G_IP})
            QVERIFY2(rig.panel.isEnabled(c), qPrintable(controlName(c)));
        for (C c : {C::UART_Control, C::Ethernet_Control, C::Set_PPPOE, C::L_Default, C::Setting,
                    C::Run_Device, C::User_ID, C::User_Password})
            QVERIFY2(!rig.panel.isEnabled(c), qPrintable(controlName(c)));
    }

    void exitFrame_data()
    {
        QTest::addColumn<bool>("reading");
        QTest::newRow("idle") << false;
        QTest::newRow("during a read") << true;
    }

    void exitFrame()
    {
        QFETCH(bool, reading);
        Rig rig(1);
        if (reading)
            rig.click(0);
        rig.link.sent.clear();
        const qint16 step = rig.m.Step;
        rig.engine.exitConfirmed();
        QCOMPARE(rig.link.sent, QByteArrayList{QByteArray::fromHex("FF FF FF FF FF FF 45 4E 44")});
        QCOMPARE(rig.m.Step, step);
    }
};

QTEST_GUILESS_MAIN(StartupTest)
#include "tst_startup.moc"
