// kelvane save, apply and diff against kelvane-sim: one profile onto many
// modules at once, each checked on the simulator afterwards.
#include "core/HeadlessPanel.h"
#include "core/QtOneShotTimer.h"
#include "operations/Engine.h"
#include "protocol/ParameterValues.h"
#include "protocol/UdpLink.h"
#include "support/CliProcess.h"
#include "support/SimProcess.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace kelvane;
using namespace kelvane::test;

namespace {
constexpr int Timeout = 60000;

QString moduleName(int number)
{
    return QStringLiteral("024B56%1").arg(number, 6, 16, QLatin1Char('0')).toUpper();
}

// Every module's parameters by its address, read in one scan on a socket
// released before kelvane runs again.
QHash<QString, QJsonObject> readAll()
{
    QHash<QString, QJsonObject> stored;
    HeadlessPanel panel;
    UdpLink link;
    QtOneShotTimer timer;
    Engine engine(panel, link, timer);
    engine.startUp();
    QSignalSpy ended(&engine, &Engine::operationEnded);
    engine.scan();
    if (!ended.wait(Timeout))
        return stored;
    for (int row = 0; row < engine.machine().deviceTable.count(); ++row) {
        ended.clear();
        panel.selectDeviceRow(row);
        engine.deviceListClicked();
        if (!ended.wait(Timeout) || !ended.first().at(1).toBool())
            return {};
        stored.insert(engine.machine().deviceTable.address(row).toHex(),
                      ParameterValues::fromPanel(panel).value().toJson());
    }
    return stored;
}

QJsonObject with(QJsonObject values, const QJsonObject &changes)
{
    for (auto it = changes.begin(); it != changes.end(); ++it)
        values.insert(it.key(), it.value());
    return values;
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(bytes);
    return file.fileName();
}

QByteArray profileOf(const QJsonObject &parameters)
{
    return QJsonDocument(QJsonObject{{"format", "kelvane-profile"}, {"version", 1}, {"parameters", parameters}})
        .toJson();
}

// The result of each module in apply's JSON answer.
QHash<QString, QString> results(const Ran &ran)
{
    QHash<QString, QString> byModule;
    for (const QJsonValue &entry : ran.json().value("modules").toArray())
        byModule.insert(entry.toObject().value("module").toString(), entry.toObject().value("result").toString());
    return byModule;
}
}  // namespace

class Fleet : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCOMPARE(qEnvironmentVariable("KELVANE_PRIVATE_NET"), QString("inside"));
        QVERIFY(m_dir.isValid());
    }

    void savedProfileReachesEveryModuleWithItsOwnAddress_data()
    {
        QTest::addColumn<QString>("parallel");
        QTest::newRow("one at a time") << "1";
        QTest::newRow("all at once") << "20";
    }

    void savedProfileReachesEveryModuleWithItsOwnAddress()
    {
        QFETCH(QString, parallel);
        SimProcess sim;
        QVERIFY(sim.start({"--modules", "20"}));
        QCOMPARE(runCli({"write", moduleName(1), "baud_rate=115200bps", "parity=0", "port=8080"}).status, 0);
        const QString file = m_dir.filePath("saved-" + parallel + ".json");
        QCOMPARE(runCli({"save", moduleName(1), file}).status, 0);
        const QHash<QString, QJsonObject> before = readAll();
        QCOMPARE(before.size(), 20);

        QStringList arguments{"apply", file};
        for (int n = 2; n <= 20; ++n)
            arguments << moduleName(n);
        const Ran ran = runCli(arguments + QStringList{"--ip-from", "10.1.2.3", "--verify", "--parallel", parallel,
                                                       "--json"});
        QVERIFY2(ran.status == 0, ran.out.constData());
        QCOMPARE(ran.json().value("succeeded").toBool(), true);

        const QHash<QString, QJsonObject> after = readAll();
        QCOMPARE(after.value(moduleName(1)), before.value(moduleName(1)));
        for (int n = 2; n <= 20; ++n) {
            const QString ip = QStringLiteral("010.001.002.%1").arg(n + 1, 3, 10, QLatin1Char('0'));
            QCOMPARE(after.value(moduleName(n)), with(before.value(moduleName(1)), {{"ip_address", ip}}));
        }
        QCOMPARE(results(ran).size(), 19);
        QCOMPARE(results(ran).values(), QList<QString>(19, "ok"));
    }

    void partialProfileChangesOnlyItsParameters()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--modules", "3"}));
        const QString file = writeFile(m_dir, "partial.json", profileOf({{"baud_rate", "9600bps"}, {"parity", "奇校验"}}));
        const QHash<QString, QJsonObject> before = readAll();
        const Ran ran = runCli({"apply", file, "--all", "--verify"});
        QCOMPARE(ran.status, 0);
        const QHash<QString, QJsonObject> after = readAll();
        QCOMPARE(after.size(), 3);
        for (const QString &module : before.keys())
            QCOMPARE(after.value(module), with(before.value(module), {{"baud_rate", "9600bps"}, {"parity", "奇校验"}}));
    }

    void verifyCatchesAWriteTheModuleForgot()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--modules", "3", "--forget-writes", "UB"}));
        const QString file = writeFile(m_dir, "forgotten.json", profileOf({{"baud_rate", "9600bps"}}));
        // Without the read-back the acknowledgements are all there is to go by.
        QCOMPARE(runCli({"apply", file, "--all"}).status, 0);
        const Ran ran = runCli({"apply", file, "--all", "--verify", "--json"});
        QCOMPARE(ran.status, 1);
        QCOMPARE(results(ran).values(), QList<QString>(3, "differs"));
        const QJsonObject differs = ran.json().value("modules").toArray().first().toObject().value("differences").toObject();
        QCOMPARE(differs.keys(), QStringList{"baud_rate"});
        QCOMPARE(differs.value("baud_rate").toObject().value("profile").toString(), QString("9600bps"));
        QCOMPARE(differs.value("baud_rate").toObject().value("module").toString(), QString("600bps"));
        const Ran text = runCli({"apply", file, moduleName(2), "--verify"});
        QCOMPARE(text.status, 1);
        QVERIFY2(text.out.contains("differs") && text.out.contains("baud_rate 9600bps != 4800bps"), text.out.constData());
    }

    void oneSilentModuleFailsAlone()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--modules", "20", "--silent-modules", "7"}));
        const QString file = writeFile(m_dir, "silent.json", profileOf({{"stop_bits", "2"}}));
        QStringList arguments{"apply", file, "--verify", "--json"};
        for (int n = 1; n <= 20; ++n)
            arguments << moduleName(n);
        const Ran ran = runCli(arguments);
        QCOMPARE(ran.status, 1);
        QHash<QString, QString> expected;
        for (int n = 1; n <= 20; ++n)
            expected.insert(moduleName(n), n == 7 ? "not found" : "ok");
        QCOMPARE(results(ran), expected);
        const QHash<QString, QJsonObject> after = readAll();
        QCOMPARE(after.size(), 19);
        for (const QJsonObject &stored : after)
            QCOMPARE(stored.value("stop_bits").toString(), QString("2"));
    }

    void diffShowsEachParameterThatDiffers()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--modules", "1"}));
        const QString same = writeFile(m_dir, "same.json", profileOf({{"baud_rate", "600bps"}}));
        const QString other = writeFile(m_dir, "other.json", profileOf({{"baud_rate", "9600bps"}, {"data_bits", "9"}}));
        QCOMPARE(runCli({"diff", same, moduleName(1)}).status, 0);
        const Ran ran = runCli({"diff", other, moduleName(1), "--json"});
        QCOMPARE(ran.status, 1);
        const QJsonObject differences = ran.json().value("differences").toObject();
        QCOMPARE(differences.keys(), QStringList{"baud_rate"});
        QCOMPARE(differences.value("baud_rate").toObject().value("module").toString(), QString("600bps"));
    }

    void badInputSendsNothing_data()
    {
        QTest::addColumn<QByteArray>("profile");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("says");  // besides the file's name
        const QStringList none;
        QTest::newRow("unknown parameter") << profileOf({{"speed", "9600bps"}}) << none << "speed";
        QTest::newRow("value not in the list") << profileOf({{"baud_rate", "9601bps"}}) << none << "115200bps";
        QTest::newRow("text above U+00FF") << profileOf({{"gateway", "192.168.1.1中"}}) << none << "gateway";
        QTest::newRow("start mode") << profileOf({{"start_mode", "auto"}}) << none << "pppoe";
        QTest::newRow("wrong format") << QByteArray(R"({"format": "other", "version": 1, "parameters": {}})") << none
                                      << "format";
        QTest::newRow("not JSON") << QByteArray("baud_rate=9600bps") << none << "";
        QTest::newRow("addresses past .255") << profileOf({}) << QStringList{"--ip-from", "10.0.0.254"} << "ip_address";
        QTest::newRow("start address malformed") << profileOf({}) << QStringList{"--ip-from", "10.0.0"} << "ip_address";
        QTest::newRow("parallel zero") << profileOf({}) << QStringList{"--parallel", "0"} << "--parallel";
    }

    void badInputSendsNothing()
    {
        QFETCH(QByteArray, profile);
        QFETCH(QStringList, options);
        QFETCH(QString, says);
        SimProcess sim;
        QVERIFY(sim.start({"--modules", "3"}));
        const QString file = writeFile(m_dir, QString("bad-%1.json").arg(QTest::currentDataTag()).replace(' ', '-'), profile);
        const Ran ran = runCli(QStringList{"apply", file, moduleName(1), moduleName(2), moduleName(3)} + options);
        QCOMPARE(ran.status, 2);
        QVERIFY2(ran.err.contains(says), qPrintable(ran.err));
        if (!options.contains("--ip-from") && !options.contains("--parallel"))
            QVERIFY2(ran.err.contains(file), qPrintable(ran.err));
        QCOMPARE(ran.out, QByteArray());
        QTest::qWait(200);
        QCOMPARE(sim.received(), QStringList());
    }

    void modulesPastTheLastAddressWithAllStopAfterTheScan()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--modules", "3"}));
        const QString file = writeFile(m_dir, "all-past.json", profileOf({{"baud_rate", "9600bps"}}));
        const Ran ran = runCli({"apply", file, "--all", "--ip-from", "10.0.0.254"});
        QCOMPARE(ran.status, 2);
        QVERIFY2(ran.err.contains("ip_address"), qPrintable(ran.err));
        // The scan only: four discovery rounds, no query, no write.
        QTest::qWait(200);
        QCOMPARE(sim.received(), QStringList(4, "in  53 45 54 55 50 | 192.0.2.1:65002"));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(Fleet)
#include "tst_fleet.moc"
