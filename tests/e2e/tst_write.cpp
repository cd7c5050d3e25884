// Writing settings and restoring defaults over real UDP, read back from the module.
#include "support/Parameters.h"
#include "support/SimulatorProcess.h"
#include "support/ToolRig.h"

#include "protocol/Catalogue.h"

#include <QElapsedTimer>
#include <QTest>

using namespace kelvane;
using namespace kelvane::e2e;

namespace {
constexpr int Timeout = 5000;
const QList<bool> AllEnabled = {true, true, true, true};
const QByteArray Module1 = QByteArray::fromHex("024B56000001");
const QByteArray Module3 = QByteArray::fromHex("024B56000003");

// Every value differs from module 3's factory value; texts are typed short.
const QStringList Entered = {"600bps", "RTS/CTS", "8", "7", "偶校验", "12", "2", "兼容模式",
                             "10.1.2.254", "255.255.0.0", "192.168.0.7", "8080", "172.16.5.9",
                             "65535", "UDP组播", "自动握手", "PPPOE"};
// What goes after "=" for each of them.
const QByteArrayList OnTheWire = {"9", "1", "8", "7", "2", "12", "2", "2", "10.1.2.254",
                                  "255.255.0.0", "192.168.0.7", "8080", "172.16.5.9", "65535",
                                  "5", "0", "1"};
// What the module answers afterwards: its own fixed-width layout.
const QStringList ReadBack = {"600bps", "RTS/CTS", "8", "0007", "偶校验", "0012", "2", "兼容模式",
                              "010.001.002.254", "255.255.000.000", "192.168.000.007", "08080",
                              "172.016.005.009", "65535", "UDP组播", "自动握手", "PPPOE"};

QByteArrayList writeFrames(const QByteArray &address)
{
    QByteArrayList frames;
    for (int row = 0; row < ParameterCount; ++row)
        frames << address + "AT" + catalogue()[row].code + "=" + OnTheWire[row] + "\r";
    return frames;
}

QByteArrayList writesIn(const QByteArrayList &commands)
{
    QByteArrayList writes;
    for (const QByteArray &c : commands) {
        if (c.size() > 11 && c.at(10) == '=')
            writes << c;
    }
    return writes;
}
}  // namespace

class WriteTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void writtenValuesReadBack();
    void defaultsBringBackTheFactoryValues();
    void refusedWriteEndsTheWrite_data();
    void refusedWriteEndsTheWrite();
    void unacknowledgedWriteFailsAfterThreeAttempts();

private:
    // Reads module 3, enters the new values and writes them.
    bool writeModule3(ToolRig &tool);
};

void WriteTest::initTestCase()
{
    QString why;
    if (!insidePrivateNetwork(&why))
        QFAIL(qPrintable(QStringLiteral("refusing to broadcast: ") + why));
}

bool WriteTest::writeModule3(ToolRig &tool)
{
    if (!tool.read(2) || !enterParameters(tool.panel, Entered))
        return false;
    tool.engine.setting();
    const QString success = QStringLiteral("设置设备 3数据成功！");
    if (QTest::qWaitFor([&] { return tool.lastLogLine() == success; }, Timeout))
        return true;
    qWarning("write did not succeed:\n%s", qPrintable(tool.panel.logText()));
    return false;
}

void WriteTest::writtenValuesReadBack()
{
    ToolRig tool;
    SimulatorProcess sim;
    QVERIFY2(sim.start({"--modules", "3"}), qPrintable(sim.failure()));
    QVERIFY(tool.scanToEnd());

    QVERIFY(writeModule3(tool));
    QCOMPARE(tool.commandsEnabled(), AllEnabled);
    QTRY_COMPARE_WITH_TIMEOUT(writesIn(sim.commands()), writeFrames(Module3), Timeout);

    QVERIFY(tool.read(2));
    QCOMPARE(shownParameters(tool.panel), ReadBack);
    // The write went to module 3 alone.
    QVERIFY(tool.read(0));
    QCOMPARE(shownParameters(tool.panel), factoryShown(0));
}

void WriteTest::defaultsBringBackTheFactoryValues()
{
    ToolRig tool;
    SimulatorProcess sim;
    QVERIFY2(sim.start({"--modules", "3"}), qPrintable(sim.failure()));
    QVERIFY(tool.scanToEnd());
    QVERIFY(writeModule3(tool));

    tool.engine.restoreDefaults();
    QTRY_COMPARE_WITH_TIMEOUT(tool.lastLogLine(),
                              QStringLiteral("恢复设备 3默认参数成功，请重新读取该设备参数！"), Timeout);
    QCOMPARE(sim.commands().constLast(), Module3 + "ATDF\r");
    // The window keeps what it showed until the module is read again.
    QCOMPARE(shownParameters(tool.panel), Entered);

    QVERIFY(tool.read(2));
    QCOMPARE(shownParameters(tool.panel), factoryShown(2));
}

void WriteTest::refusedWriteEndsTheWrite_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("sent");
    QTest::newRow("first write refused") << "UB" << 1;
    QTest::newRow("eleventh write refused") << "IP" << 11;
    QTest::newRow("last write refused") << "PD" << 17;
}

void WriteTest::refusedWriteEndsTheWrite()
{
    QFETCH(QString, code);
    QFETCH(int, sent);
    ToolRig tool;
    SimulatorProcess sim;
    QVERIFY2(sim.start({"--modules", "3", "--refuse-write", code}), qPrintable(sim.failure()));
    QVERIFY(tool.scanToEnd());
    QVERIFY(tool.read(0));

    tool.engine.setting();
    QTRY_COMPARE_WITH_TIMEOUT(tool.lastLogLine(), QStringLiteral("设置设备 1参数不成功！"), Timeout);
    QCOMPARE(tool.commandsEnabled(), AllEnabled);
    // Nothing left to time out: the refusal is not retried.
    QVERIFY(!tool.timer.isActive());
    QTRY_COMPARE_WITH_TIMEOUT(writesIn(sim.commands()).size(), sent, Timeout);
    QVERIFY(writesIn(sim.commands()).constLast().startsWith(Module1 + "AT" + code.toLatin1() + "="));
}

void WriteTest::unacknowledgedWriteFailsAfterThreeAttempts()
{
    ToolRig tool;
    SimulatorProcess sim;
    QVERIFY2(sim.start({"--modules", "3", "--no-write-acks"}), qPrintable(sim.failure()));
    QVERIFY(tool.scanToEnd());
    QVERIFY(tool.read(0));

    QElapsedTimer clock;
    clock.start();
    tool.engine.setting();
    QTRY_COMPARE_WITH_TIMEOUT(tool.lastLogLine(), QStringLiteral("设置设备 1参数不成功！"), Timeout);
    QVERIFY2(clock.elapsed() >= 1100, qPrintable(QString::number(clock.elapsed())));
    // The start entry and the failure: the retries write nothing.
    QCOMPARE(tool.logLines().size(), 4);
    QCOMPARE(tool.commandsEnabled(), AllEnabled);
    // Each attempt starts over with the baud rate, and gets no further.
    const QByteArray first = Module1 + "ATUB=9\r";
    QTRY_COMPARE_WITH_TIMEOUT(writesIn(sim.commands()), (QByteArrayList{first, first, first}), Timeout);
}

QTEST_GUILESS_MAIN(WriteTest)
#include "tst_write.moc"
