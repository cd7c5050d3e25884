// kelvane, the command line, as a script runs it: the real program against
// kelvane-sim on a peer host of the private network.
#include "support/CliProcess.h"
#include "support/SimProcess.h"

#include <QJsonArray>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <memory>

using namespace kelvane;
using namespace kelvane::test;

namespace {
constexpr int Timeout = 20000;
const QString Module1 = "024B56000001";
const QString Discovery = "in  53 45 54 55 50 | 192.0.2.1:65002";

// Module 1 as the simulator makes it, by parameter name.
const QJsonObject Factory{
    {"baud_rate", "600bps"}, {"flow_control", "无"}, {"data_bits", "9"}, {"time_delimiter", "0003"},
    {"parity", "偶校验"}, {"byte_delimiter", "0040"}, {"stop_bits", "1"}, {"display_mode", "正常显示"},
    {"gateway", "192.168.001.001"}, {"subnet_mask", "255.255.255.000"}, {"ip_address", "192.168.001.010"},
    {"port", "00502"}, {"destination_ip", "010.000.000.001"}, {"destination_port", "01024"},
    {"socket_mode", "TCP服务器"}, {"ethernet_mode", "100M全双工手动握手"}, {"start_mode", "direct"}};
}  // namespace

class CommandLine : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCOMPARE(qEnvironmentVariable("KELVANE_PRIVATE_NET"), QString("inside"));
        QVERIFY(m_dir.isValid());
    }

    // One simulator for every command in turn, each checked on the modules.
    void everyCommandOnThreeModules()
    {
        SimProcess sim;
        // Longer than a scan, so the first scan after the reset misses the module.
        QVERIFY(sim.start({"--modules", "3", "--restart-ms", "2500"}));
        const Ran scan = runCli({"scan"});
        QCOMPARE(scan.status, 0);
        const QStringList lines = QString::fromUtf8(scan.out).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(lines[i].split(' ', Qt::SkipEmptyParts),
                     (QStringList{QString::number(i + 1), QString("024B5600000%1").arg(i + 1), sim.card(),
                                  "192.0.2.1", "192.0.2.2"}));
        // Four discovery rounds, nothing else.
        QTRY_COMPARE_WITH_TIMEOUT(sim.received(), QStringList(4, Discovery), Timeout);

        // The trace explains each datagram of a read.
        const QString path = m_dir.filePath("read.trace");
        QCOMPARE(runCli({"read", Module1, "--json", "--trace", path}).json().value("parameters").toObject(), Factory);
        const QStringList trace = readTrace(path);
        QCOMPARE(trace.filter(QRegularExpression("^(out|in)\t[^\t]+\t[^\t]+:\\d+\t[0-9a-f ]+\t[^\t]+$")).size(),
                 trace.size());
        QCOMPARE(trace.filter(QRegularExpression("^out\t.*\tdiscovery request$")).size(), 4);
        QCOMPARE(trace.filter(QRegularExpression("^out\t.*\tquery ")).size(), 17);
        QCOMPARE(trace.filter(QRegularExpression("^in\t.*\tanswer to ")).size(), 17);
        QVERIFY(trace.contains(
            "out\t" + sim.card() + "\t255.255.255.255:65000\t02 4b 56 00 00 01 41 54 55 42 0d\tquery UB (baud_rate)"));
        // The answer's line comes before the query it caused.
        const QString ubAnswer = "\t192.0.2.2:65000\t02 4b 56 00 00 01 30 39 0d 0a\tanswer to UB: index 9";
        const qsizetype answer = trace.indexOf("in\t" + sim.card() + ubAnswer);
        QVERIFY(answer >= 0);
        QVERIFY2(trace.value(answer + 1).endsWith("query UT (flow_control)"), qPrintable(trace.value(answer + 1)));

        // Names, an item's index and its English name all write, and the window's engine reads
        // what was written; the other modules keep their own.
        const Ran wrote = runCli({"write", "024b56000001", "baud_rate=115200bps", "ip_address=192.168.001.077",
                                  "parity=Odd", "data_bits=0", "--json"});
        QCOMPARE(wrote.status, 0);
        const QJsonObject changed = wrote.json().value("changed").toObject();
        QCOMPARE(changed.keys(), (QStringList{"baud_rate", "data_bits", "ip_address", "parity"}));
        QCOMPARE(changed.value("baud_rate").toObject(), (QJsonObject{{"from", "600bps"}, {"to", "115200bps"}}));
        const QHash<QString, QJsonObject> written = readAll();
        QCOMPARE(written.value(Module1), with(Factory, {{"baud_rate", "115200bps"}, {"ip_address", "192.168.001.077"},
                                                        {"parity", "奇校验"}, {"data_bits", "8"}}));
        QCOMPARE(written.value("024B56000002").value("baud_rate"), "4800bps");
        QCOMPARE(written.value("024B56000003").value("baud_rate"), "38400bps");

        const Ran defaults = runCli({"defaults", Module1});
        QCOMPARE(defaults.status, 0);
        QCOMPARE(defaults.out, QString("恢复设备 1默认参数成功，请重新读取该设备参数！\n").toUtf8());
        // A restarted module is silent for a while, then back with the factory values.
        QCOMPARE(runCli({"reset", Module1}).status, 0);
        const QJsonArray listed = runCli({"scan", "--json"}).json().value("modules").toArray();
        QCOMPARE(listed.size(), 2);
        QCOMPARE(listed[1].toObject(),
                 (QJsonObject{{"position", 2}, {"address", "024B56000003"}, {"card", sim.card()},
                              {"card_address", "192.0.2.1"}, {"source", "192.0.2.2"}}));
        QTRY_COMPARE_WITH_TIMEOUT(readAll().value(Module1), Factory, Timeout);
    }

    void failuresSayWhy()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--modules", "1", "--silent-queries"}));
        // A module not found was looked for, and no more.
        const Ran missing = runCli({"read", "024B56000009"});
        QCOMPARE(missing.status, 1);
        QVERIFY2(missing.err.contains("024B56000009"), qPrintable(missing.err));
        QCOMPARE(missing.out, QByteArray());
        QCOMPARE(sim.received(), QStringList(4, Discovery));
        const Ran ran = runCli({"read", Module1, "--json"});
        QCOMPARE(ran.status, 1);
        QCOMPARE(ran.json().value("error").toString(),
                 QString("读取设备 1参数不成功！ 请检查计算机与设备之间的网络连接，重新操作！"));
    }

    // A profile, when a row has one, is run in place of FILE; "|" parts the pieces of the message.
    void badInputSendsNothing_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("says");
        QTest::addColumn<QByteArray>("profile");
        const auto row = [](const char *name, const QStringList &arguments, const QString &says,
                            const QByteArray &profile = {}) { QTest::newRow(name) << arguments << says << profile; };
        const QStringList apply{"apply", "FILE", Module1, "024B56000002"};
        row("no command", {}, "No command");
        row("unknown command", {"flash", Module1}, "Unknown command");
        row("unknown option", {"read", Module1, "--colour"}, "colour");
        row("malformed address", {"read", "024B5600001"}, "12 hex digits");
        row("address not hex", {"read", "024B5600000G"}, "12 hex digits");
        row("write without values", {"write", Module1}, "Usage");
        row("unknown parameter", {"write", Module1, "speed=9600bps"}, "speed");
        row("value not in the list", {"write", Module1, "baud_rate=9601bps"}, "115200bps");
        row("index past the list", {"write", Module1, "parity=3"}, "parity");
        row("text above U+00FF", {"write", Module1, "gateway=192.168.1.1中"}, "gateway");
        row("start mode", {"write", Module1, "start_mode=auto"}, "pppoe");
        row("unknown card", {"scan", "--interface", "nosuchcard0"}, "nosuchcard0");
        row("apply option elsewhere", {"read", Module1, "--verify"}, "--verify");
        row("profile: unknown parameter", apply, "FILE|speed", profileOf({{"speed", "9600bps"}}));
        row("profile: value not in the list", apply, "FILE|115200bps", profileOf({{"baud_rate", "9601bps"}}));
        row("profile: text above U+00FF", apply, "FILE|gateway", profileOf({{"gateway", "192.168.1.1中"}}));
        row("profile: start mode", apply, "FILE|pppoe", profileOf({{"start_mode", "auto"}}));
        row("profile: wrong format", apply, "FILE|format", R"({"format": "other", "version": 1, "parameters": {}})");
        row("profile: not JSON", apply, "FILE", "baud_rate=9600bps");
        row("profile of diff", {"diff", "FILE", Module1}, "FILE|speed", profileOf({{"speed", "1"}}));
        row("addresses past .255", apply + QStringList{"--ip-from", "10.0.0.255"}, "ip_address", profileOf({}));
        row("start address malformed", apply + QStringList{"--ip-from", "10.0.0"}, "ip_address", profileOf({}));
        row("parallel zero", apply + QStringList{"--parallel", "0"}, "--parallel", profileOf({}));
        row("module named twice", {"apply", "FILE", Module1, "024b56000001"}, "twice", profileOf({}));
    }

    void badInputSendsNothing()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, says);
        QFETCH(QByteArray, profile);
        // One quiet simulator for every row; cleanupTestCase has the last word on what it heard.
        if (!m_idle) {
            m_idle = std::make_unique<SimProcess>();
            QVERIFY(m_idle->start({"--modules", "2"}));
        }
        const QString file = writeFile(m_dir, QString(QTest::currentDataTag()).replace(' ', '-') + ".json", profile);
        arguments.replaceInStrings("FILE", file);
        says.replace("FILE", file);
        // With --json, the same status and the message as {"error": ...}.
        const QList<Ran> runs = runClis({arguments, arguments + QStringList{"--json"}});
        const Ran &ran = runs[0];
        const Ran &json = runs[1];
        QCOMPARE(ran.status, 2);
        QCOMPARE(json.status, 2);
        QCOMPARE(ran.out, QByteArray());
        for (const QString &part : says.split('|')) {
            QVERIFY2(ran.err.contains(part), qPrintable(ran.err));
            QVERIFY2(json.json().value("error").toString().contains(part), json.out.constData());
        }
        QCOMPARE(m_idle->received(), QStringList());
    }

    void cleanupTestCase()
    {
        // A datagram sent by the last row may still be on its way.
        if (m_idle) {
            QTest::qWait(200);
            QCOMPARE(m_idle->received(), QStringList());
        }
    }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<SimProcess> m_idle;
};

QTEST_GUILESS_MAIN(CommandLine)
#include "tst_cli.moc"
