// kelvane, the command line, as a script runs it: the real program against
// kelvane-sim on a peer host of the private network.
#include "core/HeadlessPanel.h"
#include "core/QtOneShotTimer.h"
#include "operations/Engine.h"
#include "protocol/ParameterValues.h"
#include "protocol/UdpLink.h"
#include "support/CliProcess.h"
#include "support/SimProcess.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

using namespace kelvane;
using namespace kelvane::test;

namespace {
constexpr int Timeout = 20000;
const QString Module1 = "024B56000001";

// Module 1 as the simulator makes it, by parameter name.
const QJsonObject Factory{
    {"baud_rate", "600bps"}, {"flow_control", "无"}, {"data_bits", "9"}, {"time_delimiter", "0003"},
    {"parity", "偶校验"}, {"byte_delimiter", "0040"}, {"stop_bits", "1"}, {"display_mode", "正常显示"},
    {"gateway", "192.168.001.001"}, {"subnet_mask", "255.255.255.000"}, {"ip_address", "192.168.001.010"},
    {"port", "00502"}, {"destination_ip", "010.000.000.001"}, {"destination_port", "01024"},
    {"socket_mode", "TCP服务器"}, {"ethernet_mode", "100M全双工手动握手"}, {"start_mode", "direct"}};

QJsonObject readModule(const QString &module = Module1)
{
    const Ran ran = runCli({"read", module, "--json"});
    return ran.status == 0 ? ran.json().value("parameters").toObject() : QJsonObject();
}

// The JSON parameters with these changed.
QJsonObject with(QJsonObject values, const QJsonObject &changes)
{
    for (auto it = changes.begin(); it != changes.end(); ++it)
        values.insert(it.key(), it.value());
    return values;
}
}  // namespace

class CommandLine : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCOMPARE(qEnvironmentVariable("KELVANE_PRIVATE_NET"), QString("inside"));
    }

    void scanListsEveryModuleOnce()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--modules", "3"}));
        const Ran plain = runCli({"scan"});
        QCOMPARE(plain.status, 0);
        const QStringList lines = QString::fromUtf8(plain.out).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        for (int i = 0; i < 3; ++i) {
            const QStringList fields = lines[i].split(' ', Qt::SkipEmptyParts);
            QCOMPARE(fields.value(0), QString::number(i + 1));
            QCOMPARE(fields.value(1), QString("024B5600000%1").arg(i + 1));
            QCOMPARE(fields.value(2), sim.card());
            QCOMPARE(fields.value(3), QString("192.0.2.1"));
            QCOMPARE(fields.value(4), QString("192.0.2.2"));
        }
        const QJsonArray modules = runCli({"scan", "--json"}).json().value("modules").toArray();
        QCOMPARE(modules.size(), 3);
        QCOMPARE(modules[2].toObject().value("address").toString(), QString("024B56000003"));
        QCOMPARE(modules[2].toObject().value("position").toInt(), 3);
        QCOMPARE(modules[2].toObject().value("source").toString(), QString("192.0.2.2"));
        // Four discovery rounds per scan, nothing else.
        QTRY_COMPARE_WITH_TIMEOUT(sim.received(), QStringList(8, "in  53 45 54 55 50 | 192.0.2.1:65002"), Timeout);
    }

    void readWriteDefaultsReset()
    {
        SimProcess sim;
        // Longer than a scan, so the first scan after the reset misses the module.
        QVERIFY(sim.start({"--modules", "2", "--restart-ms", "2500"}));
        QCOMPARE(readModule(), Factory);
        QCOMPARE(readModule("024b56000001"), Factory);

        const Ran wrote = runCli({"write", Module1, "baud_rate=115200bps", "ip_address=192.168.001.077", "--json"});
        QCOMPARE(wrote.status, 0);
        const QJsonObject changed = wrote.json().value("changed").toObject();
        QCOMPARE(changed.keys(), (QStringList{"baud_rate", "ip_address"}));
        QCOMPARE(changed.value("baud_rate").toObject().value("from").toString(), QString("600bps"));
        QCOMPARE(changed.value("baud_rate").toObject().value("to").toString(), QString("115200bps"));
        const QJsonObject written = with(Factory, {{"baud_rate", "115200bps"}, {"ip_address", "192.168.001.077"}});
        QCOMPARE(readModule(), written);
        // An item's index is as good as its text; the other module is untouched.
        QCOMPARE(runCli({"write", Module1, "parity=0"}).status, 0);
        QCOMPARE(readModule(), with(written, {{"parity", "无校验"}}));
        // So is its English name; JSON keeps the catalogue's item.
        QCOMPARE(runCli({"write", Module1, "parity=Odd"}).status, 0);
        QCOMPARE(readModule(), with(written, {{"parity", "奇校验"}}));
        QVERIFY(readModule("024B56000002") != readModule());

        const Ran defaults = runCli({"defaults", Module1});
        QCOMPARE(defaults.status, 0);
        QCOMPARE(QString::fromUtf8(defaults.out), QString("恢复设备 1默认参数成功，请重新读取该设备参数！\n"));
        QCOMPARE(readModule(), Factory);

        QCOMPARE(runCli({"reset", Module1}).status, 0);
        QCOMPARE(runCli({"scan", "--json"}).json().value("modules").toArray().size(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(runCli({"scan", "--json"}).json().value("modules").toArray().size(), 2, Timeout);
    }

    void badInputSendsNothing_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("says");  // a part of the message
        QTest::newRow("no command") << QStringList{} << 2 << "No command";
        QTest::newRow("unknown command") << QStringList{"flash", Module1} << 2 << "Unknown command";
        QTest::newRow("unknown option") << QStringList{"read", Module1, "--colour"} << 2 << "colour";
        QTest::newRow("malformed address") << QStringList{"read", "024B5600001"} << 2 << "12 hex digits";
        QTest::newRow("address not hex") << QStringList{"read", "024B5600000G"} << 2 << "12 hex digits";
        QTest::newRow("write without values") << QStringList{"write", Module1} << 2 << "Usage";
        QTest::newRow("unknown parameter") << QStringList{"write", Module1, "speed=9600bps"} << 2 << "speed";
        QTest::newRow("value not in the list") << QStringList{"write", Module1, "baud_rate=9601bps"} << 2
                                               << "115200bps";
        QTest::newRow("index past the list") << QStringList{"write", Module1, "parity=3"} << 2 << "parity";
        QTest::newRow("text above U+00FF") << QStringList{"write", Module1, "gateway=192.168.1.1中"} << 2
                                           << "gateway";
        QTest::newRow("start mode") << QStringList{"write", Module1, "start_mode=auto"} << 2 << "pppoe";
        QTest::newRow("unknown card") << QStringList{"scan", "--interface", "nosuchcard0"} << 2 << "nosuchcard0";
        QTest::newRow("module not found") << QStringList{"read", "024B56000009"} << 1 << "024B56000009";
    }

    void badInputSendsNothing()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, says);
        SimProcess sim;
        QVERIFY(sim.start({"--modules", "1"}));
        const Ran ran = runCli(arguments);
        QCOMPARE(ran.status, status);
        QVERIFY2(ran.err.contains(says), qPrintable(ran.err));
        QCOMPARE(ran.out, QByteArray());
        // Exit 2 sends nothing; a module not found was looked for, and no more.
        const QStringList looked = status == 1 ? QStringList(4, "in  53 45 54 55 50 | 192.0.2.1:65002") : QStringList();
        QTest::qWait(200);
        QCOMPARE(sim.received(), looked);
        // With --json, the same status and the message as {"error": ...}.
        const Ran json = runCli(arguments + QStringList{"--json"});
        QCOMPARE(json.status, status);
        QVERIFY2(json.json().value("error").toString().contains(says), json.out.constData());
    }

    void failuresSayWhichEntry()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--modules", "1", "--silent-queries"}));
        const Ran ran = runCli({"read", Module1});
        QCOMPARE(ran.status, 1);
        QCOMPARE(ran.err.trimmed(), QString("读取设备 1参数不成功！ 请检查计算机与设备之间的网络连接，重新操作！"));
    }

    void traceOfARead()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--modules", "1"}));
        const QString path = QDir::temp().filePath("kelvane-trace-%1.txt").arg(QCoreApplication::applicationPid());
        QCOMPARE(runCli({"read", Module1, "--trace", path}).status, 0);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
        file.remove();
        int queries = 0, answers = 0, discoveries = 0;
        for (const QString &line : lines) {
            const QStringList fields = line.split('\t');
            if (line.startsWith('#'))
                continue;
            QCOMPARE(fields.size(), 6);
            queries += fields[1] == "out" && fields[5].startsWith("query ");
            answers += fields[1] == "in" && fields[5].startsWith("answer to ");
            discoveries += fields[1] == "out" && fields[5] == "discovery request";
        }
        QCOMPARE(discoveries, 4);
        QCOMPARE(queries, 17);
        QCOMPARE(answers, 17);
        QVERIFY(lines.join('\n').contains("out\t" + sim.card() + "\t255.255.255.255:65000\t02 4b 56 00 00 01 41 54 55 42 0d\tquery UB (baud_rate)"));
        QVERIFY(lines.join('\n').contains("in\t" + sim.card() + "\t192.0.2.2:65000\t02 4b 56 00 00 01 30 39 0d 0a\tanswer to UB: index 9"));
        // The answer's line comes before the query it caused.
        const qsizetype answer = lines.indexOf(QRegularExpression(".*answer to UB.*"));
        QVERIFY(lines.value(answer + 1).endsWith("query UT (flow_control)"));
    }

    void windowAndCommandLineAgree()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--modules", "2"}));
        ParameterValues shown;
        {
            // The engine as the window drives it, on its own socket, released before kelvane runs.
            HeadlessPanel panel;
            UdpLink link;
            QtOneShotTimer timer;
            Engine engine(panel, link, timer);
            engine.startUp();
            engine.scan();
            QTRY_COMPARE_WITH_TIMEOUT(engine.machine().ScanRound, qint16(0), Timeout);
            panel.selectDeviceRow(1);
            engine.deviceListClicked();
            QTRY_VERIFY_WITH_TIMEOUT(panel.logText().endsWith("读取设备 2参数成功！"), Timeout);
            shown = ParameterValues::fromPanel(panel).value();
        }
        QCOMPARE(readModule("024B56000002"), shown.toJson());
    }
};

QTEST_GUILESS_MAIN(CommandLine)
#include "tst_cli.moc"
