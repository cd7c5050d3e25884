// Reading a module over real UDP: the controls show that module's values.
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

// The simulated modules are 02 4B 56 00 00 01, ...02, ...03, listed in that order.
QByteArray addressOfRow(int row)
{
    QByteArray address = QByteArray::fromHex("024B56000000");
    address[5] = char(row + 1);
    return address;
}

QByteArrayList queriesTo(const QByteArray &address)
{
    QByteArrayList frames;
    for (const Parameter &p : catalogue())
        frames << address + "AT" + p.code + "\r";
    return frames;
}

QString success(int row)
{
    return QStringLiteral("读取设备") + StatusLog::number(row + 1) + QStringLiteral("参数成功！");
}
}  // namespace

class ReadTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void showsTheChosenModule_data();
    void showsTheChosenModule();
    void silentModuleFailsAfterThreeAttempts();
    void refusedAnswerIsReportedAndTheReadGoesOn_data();
    void refusedAnswerIsReportedAndTheReadGoesOn();
    void slowModuleIsReadWithoutRetry();
    void lostAnswersAreMadeUp();
};

void ReadTest::initTestCase()
{
    QString why;
    if (!insidePrivateNetwork(&why))
        QFAIL(qPrintable(QStringLiteral("refusing to broadcast: ") + why));
}

void ReadTest::showsTheChosenModule_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("baudIndex");
    QTest::addColumn<int>("bitsIndex");
    QTest::newRow("module 1: 600bps, 9 data bits") << 0 << 9 << 1;
    QTest::newRow("module 2") << 1 << 2 << 0;
    QTest::newRow("module 3") << 2 << 5 << 1;
}

void ReadTest::showsTheChosenModule()
{
    QFETCH(int, row);
    QFETCH(int, baudIndex);
    QFETCH(int, bitsIndex);
    ToolRig tool;
    SimulatorProcess sim;
    QVERIFY2(sim.start({"--modules", "3"}), qPrintable(sim.failure()));
    QVERIFY(tool.scanToEnd());

    tool.panel.selectDeviceRow(row);
    tool.engine.deviceListClicked();
    QTRY_COMPARE_WITH_TIMEOUT(tool.lastLogLine(), success(row), Timeout);
    QCOMPARE(shownParameters(tool.panel), factoryShown(row));
    QCOMPARE(tool.panel.selectedIndex(Control::Set_Baud_Rate), baudIndex);
    QCOMPARE(tool.panel.selectedIndex(Control::Set_Bits), bitsIndex);
    QCOMPARE(tool.commandsEnabled(), AllEnabled);

    // The module saw the 17 queries in order, each addressed to it alone.
    QTRY_COMPARE_WITH_TIMEOUT(sim.commands(), queriesTo(addressOfRow(row)), Timeout);
}

void ReadTest::silentModuleFailsAfterThreeAttempts()
{
    ToolRig tool;
    SimulatorProcess sim;
    QVERIFY2(sim.start({"--modules", "3", "--silent-queries"}), qPrintable(sim.failure()));
    QVERIFY(tool.scanToEnd());

    tool.panel.selectDeviceRow(0);
    tool.engine.deviceListClicked();
    QTRY_COMPARE_WITH_TIMEOUT(tool.lastLogLines(2),
                              (QStringList{QStringLiteral("读取设备 1参数不成功！"),
                                           QStringLiteral("请检查计算机与设备之间的网络连接，重新操作！")}),
                              Timeout);
    // The start entry and the failure: the retries write nothing.
    QCOMPARE(tool.logLines().size(), 5);
    QCOMPARE(tool.commandsEnabled(), (QList<bool>{true, false, false, true}));
    const QByteArray first = addressOfRow(0) + "ATUB\r";
    QTRY_COMPARE_WITH_TIMEOUT(sim.commands(), (QByteArrayList{first, first, first}), Timeout);
}

void ReadTest::refusedAnswerIsReportedAndTheReadGoesOn_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("parameter");
    QTest::addColumn<QString>("message");
    QTest::newRow("baud rate") << "UB" << 0 << "读取串口通信波特率错误！";
    QTest::newRow("data bits") << "UD" << 2 << "读取串口通信数据位长度错误！";
    QTest::newRow("stop bits") << "US" << 6 << "读取串口通信数据停止位错误！";
    QTest::newRow("ethernet mode") << "ET" << 15 << "以太网工作模式读取错误！";
}

void ReadTest::refusedAnswerIsReportedAndTheReadGoesOn()
{
    QFETCH(QString, code);
    QFETCH(int, parameter);
    QFETCH(QString, message);
    ToolRig tool;
    SimulatorProcess sim;
    QVERIFY2(sim.start({"--modules", "3", "--reject", code}), qPrintable(sim.failure()));
    QVERIFY(tool.scanToEnd());

    QVERIFY(tool.read(0));
    // The refusal replaced the log; the success entry followed it.
    const QStringList lines = tool.logLines();
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines.first(), message);
    // That control stays as the start of the read left it; the rest are read.
    QStringList expected = factoryShown(0);
    expected[parameter] = QString();
    QCOMPARE(shownParameters(tool.panel), expected);
    QCOMPARE(tool.commandsEnabled(), AllEnabled);
}

void ReadTest::slowModuleIsReadWithoutRetry()
{
    constexpr int DelayMs = 150;
    ToolRig tool;
    SimulatorProcess sim;
    QVERIFY2(sim.start({"--modules", "3", "--delay", QString::number(DelayMs)}), qPrintable(sim.failure()));
    QVERIFY(tool.scanToEnd());

    QElapsedTimer clock;
    clock.start();
    QVERIFY(tool.read(1, 10000));
    QVERIFY2(clock.elapsed() >= ParameterCount * DelayMs - 100, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(shownParameters(tool.panel), factoryShown(1));
    // Each answer came within its 400 ms: no query was sent twice.
    QTRY_COMPARE_WITH_TIMEOUT(sim.commands(), queriesTo(addressOfRow(1)), Timeout);
}

void ReadTest::lostAnswersAreMadeUp()
{
    ToolRig tool;
    SimulatorProcess sim;
    // Drops are drawn per answer from the seed, so this run always loses
    // some scan answers and one answer in the middle of the first read.
    QVERIFY2(sim.start({"--modules", "3", "--drop", "0.1", "--seed", "10"}), qPrintable(sim.failure()));
    QVERIFY(tool.scanToEnd());
    QCOMPARE(tool.lastLogLine(), QStringLiteral("检测到 3个设备。"));
    QVERIFY(sim.answerCount() < 4 * 3);

    QVERIFY(tool.read(0));
    QCOMPARE(shownParameters(tool.panel), factoryShown(0));
    // The start entry and the success: the restart wrote nothing.
    QCOMPARE(tool.logLines().size(), 4);
    // The first attempt broke off and the second ran from the first query.
    const QByteArrayList all = queriesTo(addressOfRow(0));
    QTRY_VERIFY_WITH_TIMEOUT(sim.commands().size() > ParameterCount, Timeout);
    const QByteArrayList sent = sim.commands();
    const QByteArrayList firstAttempt = sent.mid(0, sent.size() - ParameterCount);
    QVERIFY(firstAttempt.size() < ParameterCount);
    QCOMPARE(firstAttempt, all.mid(0, firstAttempt.size()));
    QCOMPARE(sent.mid(firstAttempt.size()), all);
}

QTEST_GUILESS_MAIN(ReadTest)
#include "tst_read.moc"
