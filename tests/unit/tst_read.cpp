// Reading the selected module: 17 queries, time-outs, retries and the end of the read.
#include "Fixture.h"

#include <QTest>

using namespace kelvane;
using namespace kelvane::test;

namespace {
QStringList readFailed(int n)
{
    return {QStringLiteral("读取设备 %1参数不成功！").arg(n),
            QStringLiteral("请检查计算机与设备之间的网络连接，重新操作！")};
}

const QList<Control> Options = {Control::Direct, Control::PPPOE, Control::DHCP};
}  // namespace

class ReadTest : public QObject {
    Q_OBJECT

private slots:
    void fullRead_data()
    {
        QTest::addColumn<int>("modules");
        QTest::addColumn<int>("row");
        QTest::newRow("first of one") << 1 << 0;
        QTest::newRow("third of three") << 3 << 2;
    }

    void fullRead()
    {
        QFETCH(int, modules);
        QFETCH(int, row);
        Rig rig(modules);
        // Values from an earlier read must not survive the new one.
        rig.panel.setText(Control::G_IP, "1.1.1.1");
        rig.panel.setChecked(Control::DHCP, true);

        rig.trace.calls.clear();
        rig.click(row);
        QCOMPARE(rig.trace.switches(),
                 (QStringList{"disable Direct", "disable PPPOE", "disable DHCP", "disable Device_List",
                              "disable L_Default", "disable Setting", "disable Run_Device"}));
        QCOMPARE(rig.m.SelectedDevice, row);
        QCOMPARE(rig.panel.logText(), entry({readStart(row + 1)}));
        QCOMPARE(rig.commandsEnabled(), AllOff);
        rig.verifyEmptied();

        for (int i = 0; i < 17; ++i) {
            QCOMPARE(rig.link.sent.size(), i + 1);
            QCOMPARE(rig.link.sent.last(), queryFrame(row, qPrintable(queryCodes().at(i))));
            QCOMPARE(rig.m.Step, i + 1);
            QVERIFY(rig.timer.isActive());
            QCOMPARE(rig.timer.lastInterval, 400);
            QCOMPARE(rig.commandsEnabled(), AllOff);
            rig.trace.calls.clear();
            rig.answerRows(row, i, i + 1);
        }
        QCOMPARE(rig.trace.switches(),
                 (QStringList{"enable Device_List", "enable Direct", "enable DHCP", "enable L_Default",
                              "enable Setting", "enable Run_Device"}));
        QCOMPARE(rig.link.sent.size(), 17);
        QCOMPARE(rig.m.Step, 17);
        QVERIFY(!rig.timer.isActive());
        QCOMPARE(rig.m.RetryCount, 0);
        QCOMPARE(rig.panel.logText(), entries({{readStart(row + 1)}, {readDone(row + 1)}}));
        QCOMPARE(rig.commandsEnabled(), AllOn);
        rig.verifyShown();
        // Direct and DHCP are enabled again, PPPOE and the user boxes are not.
        QVERIFY(rig.panel.isEnabled(Control::Direct) && rig.panel.isEnabled(Control::DHCP));
        QVERIFY(!rig.panel.isEnabled(Control::PPPOE));
        QVERIFY(!rig.panel.isEnabled(Control::User_ID) && !rig.panel.isEnabled(Control::User_Password));
    }

    void silentModule()
    {
        Rig rig(1);
        rig.startTicking();
        rig.click(0);
        for (int attempt = 1; attempt <= 3; ++attempt) {
            QCOMPARE(rig.link.sent.size(), attempt);
            QCOMPARE(rig.link.sent.last(), queryFrame(0, "UB"));
            QCOMPARE(rig.m.RetryCount, attempt - 1);
            QCOMPARE(rig.panel.logText(), entryAt(1, {readStart(1)}));
            rig.trace.calls.clear();
            QVERIFY(rig.timer.fire());
        }
        QCOMPARE(rig.link.sent.size(), 3);
        QVERIFY(!rig.timer.isActive());
        QCOMPARE(rig.m.RetryCount, 0);
        QCOMPARE(rig.m.Step, 1);
        QCOMPARE(rig.panel.logText(), entryAt(1, {readStart(1)}) + "\r\n" + entryAt(2, readFailed(1)));
        QCOMPARE(rig.trace.switches(), (QStringList{"enable Device_List", "enable Run_Device"}));
        QCOMPARE(rig.commandsEnabled(), (QList<bool>{true, false, false, true}));
    }

    void silentHalfwayRestartsFromFirstQuery()
    {
        Rig rig(2);
        rig.click(1);
        rig.timer.fire();  // first attempt lost at once
        rig.answerRows(1, 0, 5);
        QCOMPARE(rig.panel.selectedIndex(Control::Set_Parity), 2);
        rig.link.sent.clear();

        rig.timer.fire();  // the sixth answer does not come
        QCOMPARE(rig.link.sent, QByteArrayList{queryFrame(1, "UB")});
        QCOMPARE(rig.m.RetryCount, 2);
        QCOMPARE(rig.m.Step, 1);
        rig.verifyEmptied();
        QCOMPARE(rig.panel.logText(), entry({readStart(2)}));

        rig.answerRows(1, 0, 3);
        rig.timer.fire();
        QCOMPARE(rig.panel.logText(), entries({{readStart(2)}, readFailed(2)}));
        // What the last attempt filled in stays.
        QCOMPARE(rig.panel.selectedIndex(Control::Set_Bits), 1);
        QCOMPARE(rig.panel.text(Control::Set_Time_Delimiter), QString());
    }

    void retrySuccessResetsRetryCount()
    {
        Rig rig(1);
        rig.click(0);
        rig.timer.fire();
        rig.timer.fire();
        QCOMPARE(rig.m.RetryCount, 2);
        rig.answerRows(0);
        QCOMPARE(rig.m.RetryCount, 0);
        QCOMPARE(rig.panel.logText(), entries({{readStart(1)}, {readDone(1)}}));

        rig.click(0);
        QCOMPARE(rig.panel.logText(), entry({readStart(1)}));
    }

    void rejectedAnswerReplacesLog()
    {
        Rig rig(1);
        rig.click(0);
        rig.answerRows(0, 0, 7);
        rig.link.deliver(moduleAddress(0) + "07\r\n");  // display mode 7
        QCOMPARE(rig.panel.logText(), QStringLiteral("显示模式读取错误！"));
        QCOMPARE(rig.link.sent.last(), queryFrame(0, "GA"));
        rig.answerRows(0, 8, 17);
        QCOMPARE(rig.panel.logText(), QStringLiteral("显示模式读取错误！\r\n") + entry({readDone(1)}));
        QCOMPARE(rig.panel.selectedIndex(Control::Disp_Mode), -1);
        QCOMPARE(rig.commandsEnabled(), AllOn);
    }

    void shortLastAnswerEndsNothing()
    {
        Rig rig(1);
        rig.readModule(0);
        QVERIFY(rig.panel.isChecked(Control::PPPOE));
        rig.click(0);
        rig.timer.fire();
        rig.answerRows(0, 0, 16);
        rig.panel.setChecked(Control::Direct, true);
        const int sent = int(rig.link.sent.size());

        rig.link.deliver(moduleAddress(0) + "0");
        for (Control c : Options)
            QVERIFY(!rig.panel.isChecked(c));
        QCOMPARE(rig.panel.logText(), entry({readStart(1)}));
        QCOMPARE(rig.commandsEnabled(), AllOff);
        QCOMPARE(rig.m.RetryCount, 1);
        QCOMPARE(rig.link.sent.size(), sent);
        QVERIFY(!rig.timer.isActive());
        QCOMPARE(rig.m.Step, 17);
    }

    void extraAnswerShiftsDecoding()
    {
        Rig rig(1);
        rig.click(0);
        rig.answerRows(0, 0, 1);
        // The baud-rate answer comes twice; each later answer lands one row too far.
        rig.answerRows(0, 0, 1);
        QCOMPARE(rig.panel.logText(), QStringLiteral("读取串口通信数据流控制错误！"));
        rig.answerRows(0, 1, 2);
        QCOMPARE(rig.panel.logText(), QStringLiteral("读取串口通信数据位长度错误！"));
        QCOMPARE(rig.panel.selectedIndex(Control::Set_Stream_Control), -1);
        QCOMPARE(rig.panel.selectedIndex(Control::Set_Bits), -1);
        QCOMPARE(rig.m.Step, 4);
        QCOMPARE(rig.sentCodes(), (QStringList{"UB", "UT", "UD", "TM"}));
    }

    void lateAnswerAtEndRepeatsSuccess_data()
    {
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<int>("checked");  // index into Options, -1 for none
        QTest::newRow("0 direct") << QByteArray("00\r\n") << 0;
        QTest::newRow("1 PPPoE, a duplicate") << QByteArray("01\r\n") << 1;
        QTest::newRow("2 DHCP") << QByteArray("02\r\n") << 2;
        QTest::newRow("3 none") << QByteArray("03\r\n") << -1;
        QTest::newRow("slash none") << QByteArray("0/") << -1;
    }

    void lateAnswerAtEndRepeatsSuccess()
    {
        QFETCH(QByteArray, payload);
        QFETCH(int, checked);
        Rig rig(1);
        rig.readModule(0);
        rig.panel.setEnabled(Control::Setting, false);
        rig.link.deliver(moduleAddress(0) + payload);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(rig.panel.isChecked(Options[i]), i == checked);
        QVERIFY(rig.panel.isEnabled(Control::Setting));
        QCOMPARE(rig.panel.logText(), entries({{readStart(1)}, {readDone(1)}, {readDone(1)}}));
        QCOMPARE(rig.link.sent.size(), 17);
        QVERIFY(!rig.timer.isActive());
    }

    void clickWithoutSelection()
    {
        Rig rig(2);
        const QString log = rig.panel.logText();
        rig.click(-1);
        QVERIFY(rig.link.sent.isEmpty());
        QCOMPARE(rig.panel.logText(), log);
        QCOMPARE(rig.m.Step, 0);
        QVERIFY(!rig.timer.isActive());
        QVERIFY(rig.panel.isEnabled(Control::Device_List));
    }
};

QTEST_GUILESS_MAIN(ReadTest)
#include "tst_read.moc"
