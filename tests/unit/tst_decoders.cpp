// What each kind of arriving datagram means: parameter answers, acknowledgements
// and discovery replies.
#include "Fixture.h"

#include "replies/Acknowledgement.h"
#include "replies/DiscoveryReply.h"
#include "replies/ParameterReply.h"

#include <QTest>

using namespace kelvane;
using namespace kelvane::test;

namespace {
QString describe(const Answer &a)
{
    if (const auto *i = std::get_if<answer::Index>(&a))
        return QStringLiteral("index %1").arg(i->index);
    if (const auto *t = std::get_if<answer::Text>(&a))
        return QStringLiteral("text ") + t->text;
    if (const auto *r = std::get_if<answer::Rejected>(&a))
        return QStringLiteral("rejected ") + r->message;
    if (const auto *s = std::get_if<answer::StartMode>(&a))
        return QStringLiteral("mode %1").arg(s->digit);
    return QStringLiteral("failure");
}

bool isCombo(Control c)
{
    return !QList<Control>{Control::Set_Time_Delimiter, Control::Set_Byte_Delimiter, Control::G_IP,
                           Control::MASK, Control::S_IP, Control::Port_Number, Control::D_IP,
                           Control::D_Port}
                .contains(c);
}

const QString BaudError = QStringLiteral("读取串口通信波特率错误！");
}  // namespace

class DecodersTest : public QObject {
    Q_OBJECT

private slots:
    void decodeAnswer_data()
    {
        QTest::addColumn<int>("row");  // 1-based, in query order
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<QString>("expected");

        auto add = [](const char *name, int row, const QByteArray &payload, const QString &expected) {
            QTest::newRow(name) << row << payload << expected;
        };
        add("baud 9600", 1, "03\r\n", "index 3");
        add("baud 9 is the tenth item", 1, "09\r\n", "index 9");
        add("baud offset 6 not read", 1, "73", "index 3");
        add("baud 0x3A", 1, "0:\r\n", "rejected " + BaudError);
        add("baud high byte is unsigned", 1, "0\x80", "rejected " + BaudError);
        add("baud 0x2F clears", 1, "0/", "index -1");
        add("baud blank passes the signed test", 1, "0 ", "index -16");
        add("baud eight bytes suffice", 1, "05", "index 5");
        add("baud seven bytes", 1, "0", "failure");
        add("flow 1", 2, "01", "index 1");
        add("flow 2 passes the test", 2, "02", "index 2");
        add("flow 3", 2, "03", "rejected 读取串口通信数据流控制错误！");
        add("bits 8", 3, "08", "index 0");
        add("bits 9", 3, "09", "index 1");
        add("bits 7", 3, "07", "rejected 读取串口通信数据位长度错误！");
        add("bits 0x2F", 3, "0/", "rejected 读取串口通信数据位长度错误！");
        add("bits 0x3A", 3, "0:", "rejected 读取串口通信数据位长度错误！");
        add("time delimiter", 4, "00012\r\n", "text 0012");
        add("time delimiter odd bytes", 4, "0 .\rA", "text -16-2-3517");
        add("time delimiter eleven bytes", 4, "01234", "text 1234");
        add("time delimiter ten bytes", 4, "0001", "failure");
        add("parity even", 5, "02", "index 2");
        add("parity clears", 5, "0/", "index -1");
        add("parity offset 6 not zero", 5, "12", "rejected 读取串口通信数据校验方式错误！");
        add("parity 3", 5, "03", "rejected 读取串口通信数据校验方式错误！");
        add("byte delimiter", 6, "09999", "text 9999");
        add("byte delimiter high bytes", 6, "0\xFF\x80" "09", "text 2078009");
        add("stop 1", 7, "01", "index 0");
        add("stop 2", 7, "02", "index 1");
        add("stop 0", 7, "00", "rejected 读取串口通信数据停止位错误！");
        add("stop 3", 7, "03", "rejected 读取串口通信数据停止位错误！");
        add("stop offset 6 not zero", 7, "11", "rejected 读取串口通信数据停止位错误！");
        add("display 2", 8, "02", "index 2");
        add("display 3", 8, "03", "rejected 显示模式读取错误！");
        add("gateway leading zeros", 9, "192.168.001.010\r\n", "text 192.168.001.010");
        add("gateway odd separators", 9, "192-168/001x010", "text 192.168.001.010");
        add("gateway blank and high byte", 9, "1 2.168.001.\x80" "10", "text 1-162.168.001.8010");
        add("gateway twenty bytes", 9, "192.168.001.01", "failure");
        add("mask", 10, "255.255.255.000", "text 255.255.255.000");
        add("own address", 11, "010.000.000.007", "text 010.000.000.007");
        add("port leading zeros", 12, "00080", "text 00080");
        add("port ten bytes", 12, "0008", "failure");
        add("destination", 13, "224.000.000.251", "text 224.000.000.251");
        add("destination port", 14, "65535", "text 65535");
        add("destination port odd bytes", 14, "6.5\r5", "text 6-25-355");
        add("socket 5", 15, "05", "index 5");
        add("socket 6", 15, "06", "rejected 读取端口工作模式错误！");
        add("ethernet 5", 16, "05", "index 5");
        add("ethernet 6", 16, "06", "rejected 以太网工作模式读取错误！");
        add("start direct", 17, "00", "mode 0");
        add("start DHCP", 17, "02", "mode 2");
        add("start unknown", 17, "07", "mode 7");
        add("start blank", 17, "0 ", "mode -16");
        add("start seven bytes", 17, "0", "failure");
    }

    void decodeAnswer()
    {
        QFETCH(int, row);
        QFETCH(QByteArray, payload);
        QFETCH(QString, expected);
        const Parameter &p = catalogue()[size_t(row - 1)];
        QCOMPARE(QString::fromLatin1(p.code), queryCodes().at(row - 1));
        QCOMPARE(describe(kelvane::decodeAnswer(p, moduleAddress(9) + payload)), expected);
    }

    void answerApplied_data()
    {
        // What one answer does to its control and the log in the middle of a read.
        // An empty message means the log is left alone.
        QTest::addColumn<int>("step");
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<QVariant>("before");
        QTest::addColumn<QVariant>("after");
        QTest::addColumn<QString>("message");

        auto add = [](const char *name, int step, const QByteArray &payload, const QVariant &before,
                      const QVariant &after, const QString &message = {}) {
            QTest::newRow(name) << step << payload << before << after << message;
        };
        add("baud 0x2F clears", 1, "0/", 4, -1);
        add("baud 0x3A rejected", 1, "0:", 4, 4, BaudError);
        add("baud blank not applicable", 1, "0 ", 4, 4);
        add("flow 2 not applicable", 2, "02", 1, 1);
        add("bits rejected", 3, "07", 1, 1, "读取串口通信数据位长度错误！");
        add("time delimiter too short", 4, "0001", "9999", "9999");
        add("parity rejected", 5, "12", 1, 1, "读取串口通信数据校验方式错误！");
        add("stop bits 0 rejected", 7, "00", 0, 0, "读取串口通信数据停止位错误！");
        add("gateway dotted", 9, "010 020;030,040", "1.2.3.4", "010.020.030.040");
        add("port too short", 12, "0808", "1", "1");
        add("ethernet rejected", 16, "06", 2, 2, "以太网工作模式读取错误！");
    }

    void answerApplied()
    {
        QFETCH(int, step);
        QFETCH(QByteArray, payload);
        QFETCH(QVariant, before);
        QFETCH(QVariant, after);
        QFETCH(QString, message);

        Rig rig(1);
        rig.click(0);
        rig.answerRows(0, 0, step - 1);
        QCOMPARE(rig.m.Step, step);

        const Control c = standardRead()[size_t(step - 1)].control;
        if (isCombo(c))
            QVERIFY(rig.panel.selectIndex(c, before.toInt()));
        else
            rig.panel.setText(c, before.toString());
        const QString logBefore = rig.panel.logText();
        rig.link.sent.clear();

        rig.link.deliver(moduleAddress(0) + payload);

        if (isCombo(c))
            QCOMPARE(rig.panel.selectedIndex(c), after.toInt());
        else
            QCOMPARE(rig.panel.text(c), after.toString());
        QCOMPARE(rig.panel.logText(), message.isEmpty() ? logBefore : message);
        // Whatever the answer held, the read goes on with the next query.
        QCOMPARE(rig.link.sent, QByteArrayList{queryFrame(0, qPrintable(queryCodes().at(step)))});
        QCOMPARE(rig.m.Step, step + 1);
        QVERIFY(rig.timer.isActive());
    }

    void ackVerdict_data()
    {
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<int>("verdict");
        const int pos = int(AckVerdict::Positive), neg = int(AckVerdict::Negative),
                  shortOne = int(AckVerdict::TooShort);
        QTest::newRow("OK CR LF") << QByteArray("OK\r\n") << pos;
        QTest::newRow("trailing bytes") << QByteArray("OK\r\nOK\r\n") << pos;
        QTest::newRow("CR missing") << QByteArray("OK\n\n") << neg;
        QTest::newRow("lower case") << QByteArray("ok\r\n") << neg;
        QTest::newRow("error") << QByteArray("ERROR\r\n") << neg;
        QTest::newRow("ten zero bytes") << QByteArray(4, '\0') << neg;
        QTest::newRow("nine bytes") << QByteArray("OK\r") << shortOne;
        QTest::newRow("address only") << QByteArray() << shortOne;
    }

    void ackVerdict()
    {
        QFETCH(QByteArray, payload);
        QFETCH(int, verdict);
        QCOMPARE(int(kelvane::ackVerdict(moduleAddress(3) + payload)), verdict);
    }

    void itemText_data()
    {
        QTest::addColumn<QByteArray>("address");
        QTest::addColumn<QString>("item");
        QTest::newRow("mixed") << QByteArray::fromHex("001A2B3C4D5E") << "设备 ( 001A2B3C4D5E )";
        QTest::newRow("0x05 keeps its zero") << QByteArray::fromHex("050505050505") << "设备 ( 050505050505 )";
        QTest::newRow("upper case") << QByteArray::fromHex("abcdefabcdef") << "设备 ( ABCDEFABCDEF )";
        QTest::newRow("zeros") << QByteArray(6, '\0') << "设备 ( 000000000000 )";
        QTest::newRow("ones") << QByteArray(6, '\xFF') << "设备 ( FFFFFFFFFFFF )";
    }

    void itemText()
    {
        QFETCH(QByteArray, address);
        QFETCH(QString, item);
        Rig rig;
        rig.link.deliver(address + "tail");
        QCOMPARE(rig.panel.deviceRowCount(), 1);
        QCOMPARE(rig.panel.deviceText(0), item);
    }

    void discoveryReplies_data()
    {
        QTest::addColumn<QByteArrayList>("replies");
        QTest::addColumn<QByteArrayList>("stored");
        const QByteArray one = moduleAddress(1), two = moduleAddress(2);
        QByteArray forty = moduleAddress(7);
        for (char c = 'a'; forty.size() < 40; ++c)
            forty += c;
        QTest::newRow("duplicates dropped") << QByteArrayList{one + "first", one + "again", two, one}
                                            << QByteArrayList{one + "first", two};
        QTest::newRow("40 bytes stored whole") << QByteArrayList{forty} << QByteArrayList{forty};
        QTest::newRow("shorter than an address") << QByteArrayList{one.left(5), {}, one}
                                                 << QByteArrayList{one};
    }

    void discoveryReplies()
    {
        QFETCH(QByteArrayList, replies);
        QFETCH(QByteArrayList, stored);
        Rig rig;
        rig.engine.scan();
        const QString log = rig.panel.logText();
        for (const QByteArray &reply : replies)
            rig.link.deliver(reply);
        QCOMPARE(rig.m.deviceTable.count(), stored.size());
        QCOMPARE(rig.panel.deviceRowCount(), stored.size());
        for (int i = 0; i < stored.size(); ++i) {
            QCOMPARE(rig.m.deviceTable.entry(i), stored[i]);
            QCOMPARE(rig.panel.deviceText(i), moduleItem(quint8(stored[i][5])));
        }
        // Replies neither touch Timer1 nor write to the log.
        QCOMPARE(rig.panel.logText(), log);
        QVERIFY(rig.timer.isActive());
        QCOMPARE(rig.timer.starts, 1);
    }

    void fullTableDropsNewModules()
    {
        Rig rig;
        for (int i = 0; i < 254; ++i)
            rig.link.deliver(moduleAddress(i));
        QCOMPARE(rig.m.deviceTable.count(), 254);
        rig.link.deliver(moduleAddress(254));
        rig.link.deliver(moduleAddress(0));
        QCOMPARE(rig.m.deviceTable.count(), 254);
        QCOMPARE(rig.panel.deviceRowCount(), 254);
        QCOMPARE(rig.panel.deviceText(253), moduleItem(253));
    }
};

QTEST_GUILESS_MAIN(DecodersTest)
#include "tst_decoders.moc"
