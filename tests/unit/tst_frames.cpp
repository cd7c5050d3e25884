// Query and write frames byte for byte. The defaults, reset and exit frames are
// checked where their operations send them.
#include "Fixture.h"

#include "protocol/Frames.h"
#include "protocol/QuerySender.h"
#include "protocol/WriteDispatcher.h"

#include <QTest>

using namespace kelvane;
using namespace kelvane::test;

namespace {
const QByteArray Address = QByteArray::fromHex("001122334455");
}

class FramesTest : public QObject {
    Q_OBJECT

private slots:
    void discoveryIsBareSetup()
    {
        QCOMPARE(frames::discoveryRequest(), QByteArray::fromHex("5345545550"));
        Rig rig;
        rig.engine.scan();
        QCOMPARE(rig.link.sent, QByteArrayList{"SETUP"});
    }

    void queryFollowsStep_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<QByteArray>("frame");
        for (int step = 0; step < 17; ++step) {
            const QByteArray code = queryCodes().at(step).toLatin1();
            QTest::addRow("%d %s", step, code.constData()) << step << Address + "AT" + code + "\r";
        }
    }

    void queryFollowsStep()
    {
        QFETCH(int, step);
        QFETCH(QByteArray, frame);
        Rig rig;
        rig.m.deviceTable.append(Address + "rest of the reply");
        rig.m.Step = qint16(step);
        sendQuery(rig.m);
        QCOMPARE(rig.link.sent, QByteArrayList{frame});
        QCOMPARE(rig.link.sent.first().size(), 11);
        QCOMPARE(rig.m.Step, step + 1);
    }

    void nothingBuiltOutsideRange_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("selected");
        QTest::newRow("query after the last") << 17 << 0;
        QTest::newRow("query at step 18") << 18 << 0;
        QTest::newRow("query at a negative step") << -1 << 0;
        QTest::newRow("query beyond the table") << 0 << 1;
        QTest::newRow("query, negative selection") << 0 << -1;
        QTest::newRow("write beyond the table") << 21 << 1;
        QTest::newRow("write at step 39") << 39 << 0;
    }

    void nothingBuiltOutsideRange()
    {
        QFETCH(int, step);
        QFETCH(int, selected);
        Rig rig;
        rig.m.deviceTable.append(Address);
        rig.m.Step = qint16(step);
        rig.m.SelectedDevice = qint16(selected);
        if (step > 20)
            dispatchWrite(rig.m);
        else
            sendQuery(rig.m);
        QVERIFY(rig.link.sent.isEmpty());
        QCOMPARE(rig.m.Step, step);
        QVERIFY(!rig.timer.isActive());
    }

    void writeFrame_data()
    {
        // index: the item to select, or -1 to type `text` instead
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("control");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("tail");

        using C = Control;
        auto choice = [](const char *name, int step, C c, int index, const QByteArray &tail) {
            QTest::newRow(name) << step << int(c) << index << QString() << tail;
        };
        auto text = [](const char *name, int step, C c, const QString &t, const QByteArray &tail) {
            QTest::newRow(name) << step << int(c) << -1 << t << tail;
        };
        choice("baud 9600bps", 21, C::Set_Baud_Rate, 3, QByteArray::fromHex("41 54 55 42 3D 33 0D"));
        choice("baud 1200bps", 21, C::Set_Baud_Rate, 0, "ATUB=0\r");
        choice("baud 600bps is last", 21, C::Set_Baud_Rate, 9, "ATUB=9\r");
        choice("flow RTS/CTS", 22, C::Set_Stream_Control, 1, "ATUT=1\r");
        choice("data bits 8", 23, C::Set_Bits, 0, "ATUD=8\r");
        choice("data bits 9", 23, C::Set_Bits, 1, "ATUD=9\r");
        text("time delimiter", 24, C::Set_Time_Delimiter, "0012", "ATTM=0012\r");
        text("time delimiter blanks kept", 24, C::Set_Time_Delimiter, " 1 ", "ATTM= 1 \r");
        text("time delimiter Latin-1", 24, C::Set_Time_Delimiter, QStringLiteral("\u00e9"), "ATTM=\xE9\r");
        choice("parity even", 25, C::Set_Parity, 2, "ATUP=2\r");
        text("byte delimiter empty", 26, C::Set_Byte_Delimiter, "", "ATBT=\r");
        choice("stop bits 1", 27, C::Set_Stopbit, 0, "ATUS=1\r");
        choice("stop bits 2", 27, C::Set_Stopbit, 1, "ATUS=2\r");
        choice("display compatible", 28, C::Disp_Mode, 2, "ATCM=2\r");
        text("gateway", 29, C::G_IP, "10.0.0.1", "ATGA=10.0.0.1\r");
        text("mask", 30, C::MASK, "255.255.255.0", "ATSM=255.255.255.0\r");
        text("own address", 31, C::S_IP, "192.168.0.7",
             QByteArray::fromHex("41 54 49 50 3D 31 39 32 2E 31 36 38 2E 30 2E 37 0D"));
        text("port", 32, C::Port_Number, "8080", "ATPT=8080\r");
        text("destination", 33, C::D_IP, "192.168.0.100", "ATDA=192.168.0.100\r");
        text("destination port", 34, C::D_Port, "502", "ATDP=502\r");
        choice("socket multicast", 35, C::Socket_Mode, 5, "ATSR=5\r");
        choice("ethernet 10M full", 36, C::Ethernet_Mode, 4, "ATET=4\r");
        choice("start direct", 37, C::Direct, 1, "ATPD=0\r");
        choice("start PPPoE", 37, C::PPPOE, 1, "ATPD=1\r");
        choice("start DHCP", 37, C::DHCP, 1, "ATPD=2\r");
        choice("start none", 37, C::DHCP, 0, "ATPD=2\r");
    }

    void writeFrame()
    {
        QFETCH(int, step);
        QFETCH(int, control);
        QFETCH(int, index);
        QFETCH(QString, text);
        QFETCH(QByteArray, tail);

        Rig rig;
        rig.m.deviceTable.append(Address);
        const auto c = Control(control);
        if (step == 37)
            rig.panel.setChecked(c, index == 1);
        else if (index >= 0)
            QVERIFY(rig.panel.selectIndex(c, index));
        else
            rig.panel.setText(c, text);

        rig.m.Step = qint16(step);
        dispatchWrite(rig.m);
        QCOMPARE(rig.link.sent, QByteArrayList{Address + tail});
        if (index < 0)
            QCOMPARE(rig.link.sent.first().size(), 12 + text.size());
        else
            QCOMPARE(rig.link.sent.first().size(), 13);
        // The frame goes out first, then Step moves on and the time-out runs.
        QCOMPARE(rig.m.Step, step + 1);
        QVERIFY(rig.timer.isActive());
        QCOMPARE(rig.timer.lastInterval, 400);
    }

    void framesForTwoModulesDifferOnlyInAddress()
    {
        // Read, write, defaults and reset of module 1 and then of module 2.
        QList<QByteArrayList> perModule;
        for (int row = 0; row < 2; ++row) {
            Rig rig(2);
            rig.readModule(row);
            rig.engine.setting();
            for (int i = 0; i < 17; ++i)
                rig.ack(row);
            rig.engine.restoreDefaults();
            rig.engine.runDevice();
            perModule << rig.link.sent;
        }
        QCOMPARE(perModule[0].size(), 17 + 17 + 2);
        QCOMPARE(perModule[1].size(), perModule[0].size());
        for (int i = 0; i < perModule[0].size(); ++i) {
            QCOMPARE(perModule[0][i].left(6), moduleAddress(0));
            QCOMPARE(perModule[1][i].left(6), moduleAddress(1));
            QCOMPARE(perModule[1][i].mid(6), perModule[0][i].mid(6));
        }
        QCOMPARE(perModule[0].last().mid(6), QByteArray("END"));
    }
};

QTEST_GUILESS_MAIN(FramesTest)
#include "tst_frames.moc"
