// kelvane save, apply and diff against kelvane-sim: one profile onto many
// modules at once, each checked on the simulator afterwards.
#include "support/CliProcess.h"
#include "support/SimProcess.h"

#include <QJsonArray>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace kelvane;
using namespace kelvane::test;

namespace {
const QString Discovery = "in  53 45 54 55 50 | 192.0.2.1:65002";

QString moduleName(int number)
{
    return QStringLiteral("024B56%1").arg(number, 6, 16, QLatin1Char('0')).toUpper();
}

// The result of each module in apply's JSON answer.
QHash<QString, QString> results(const Ran &ran)
{
    QHash<QString, QString> byModule;
    for (const QJsonValue &entry : ran.json().value("modules").toArray())
        byModule.insert(entry.toObject().value("module").toString(), entry.toObject().value("result").toString());
    return byModule;
}

// The progress lines on standard error: "i/N MODULE how" in the order the modules ended.
QStringList progress(const Ran &ran)
{
    static const QRegularExpression line("^kelvane: (\\d+/\\d+ \\w{12} [a-z ]+)$");
    QStringList lines;
    for (const QString &text : ran.err.split('\n', Qt::SkipEmptyParts))
        lines << line.match(text).captured(1);
    return lines;
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

    // One at a time and all at once store the same; a silent module fails alone.
    void savedProfileReachesEveryModuleWithItsOwnAddress()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--modules", "20", "--silent-modules", "7"}));
        const QString file = m_dir.filePath("saved.json");
        QCOMPARE(runCli({"save", moduleName(1), file}).status, 0);
        // Module 1 is read back untouched below: the profile is what it holds.
        QFile saved(file);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QJsonObject profile = QJsonDocument::fromJson(saved.readAll()).object().value("parameters").toObject();
        QCOMPARE(profile.size(), 17);

        QStringList modules;
        QHash<QString, QString> expected;
        for (int n = 2; n <= 20; ++n) {
            modules << moduleName(n);
            expected.insert(moduleName(n), n == 7 ? "not found" : "ok");
        }
        for (const QString &parallel : QStringList{"1", "20"}) {
            const QString from = "10." + parallel + ".2.3";
            const Ran ran = runCli(QStringList{"apply", file} + modules +
                                   QStringList{"--ip-from", from, "--verify", "--parallel", parallel, "--json"});
            QCOMPARE(ran.status, 1);
            QCOMPARE(ran.json().value("succeeded").toBool(true), false);
            QCOMPARE(results(ran), expected);
            // One line per module as it ends, on standard error only.
            const QStringList lines = progress(ran);
            QCOMPARE(lines.size(), 19);
            QCOMPARE(lines.filter(QRegularExpression(" 024B56000007 not found$")).size(), 1);
            QCOMPARE(lines.filter(QRegularExpression(" verified$")).size(), 18);
            for (int i = 0; i < 19; ++i)
                QVERIFY2(lines[i].startsWith(QString("%1/19 ").arg(i + 1)), qPrintable(lines[i]));

            const QHash<QString, QJsonObject> after = readAll();
            QCOMPARE(after.size(), 19);
            QCOMPARE(after.value(moduleName(1)), profile);
            for (int n = 2; n <= 20; ++n) {
                const QString ip = QString("010.%1.002.%2").arg(parallel, 3, '0').arg(n + 1, 3, 10, QChar('0'));
                if (n != 7)
                    QCOMPARE(after.value(moduleName(n)), with(profile, {{"ip_address", ip}}));
            }
        }
    }

    // Module 1 holds the profile's baud rate already; the others forget it.
    void onlyVerifiedModulesRestart()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--modules", "3", "--forget-writes", "UB"}));
        const QString file = writeFile(m_dir, "forgotten.json", profileOf({{"baud_rate", "600bps"}}));
        // Without the read-back the acknowledgements are all there is to go by.
        QCOMPARE(runCli({"apply", file, "--all"}).status, 0);
        const QString path = m_dir.filePath("apply.trace");
        const Ran ran = runCli({"apply", file, "--all", "--reset", "--json", "--trace", path});
        QCOMPARE(ran.status, 1);
        QCOMPARE(results(ran), (QHash<QString, QString>{{moduleName(1), "ok"}, {moduleName(2), "differs"},
                                                        {moduleName(3), "differs"}}));
        QCOMPARE(ran.json().value("modules").toArray().at(1).toObject().value("differences").toObject(),
                 (QJsonObject{{"baud_rate", QJsonObject{{"profile", "600bps"}, {"module", "4800bps"}}}}));
        QCOMPARE(sim.received().filter(" 45 4E 44"), QStringList{"in  02 4B 56 00 00 01 45 4E 44 | 192.0.2.1:65002"});
        QCOMPARE(progress(ran).filter(" 024B56000001 restarted").size(), 1);
        QCOMPARE(progress(ran).filter(" differs").size(), 2);

        // Every answer of the apply is read by the engine of its module's job.
        const QStringList trace = readTrace(path);
        QCOMPARE(trace.filter(QRegularExpression("^in\t.*\t(not handled|dropped.*)$")), QStringList());
        QCOMPARE(trace.filter(QRegularExpression("^in\t.*\tanswer to ")).size(), 2 * 3 * 17);
        QCOMPARE(trace.filter(QRegularExpression("^in\t.*\twrite of .. acknowledged$")).size(), 3 * 17);
        QCOMPARE(trace.filter(QRegularExpression("\treset$")).size(), 1);

        const Ran text = runCli({"apply", file, moduleName(3), "--verify"});
        QCOMPARE(text.status, 1);
        QVERIFY2(text.out.contains("differs") && text.out.contains("baud_rate 600bps != 38400bps"),
                 text.out.constData());
        QCOMPARE(text.err, "kelvane: 1/1 024B56000003 differs\n");
    }

    void partialProfileChangesOnlyItsParameters()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--modules", "3"}));
        const QJsonObject partial{{"baud_rate", "9600bps"}, {"parity", "奇校验"}};
        const QString file = writeFile(m_dir, "partial.json", profileOf(partial));
        // With --all the addresses are counted after the scan, and nothing follows it.
        const Ran past = runCli({"apply", file, "--all", "--ip-from", "10.0.0.254"});
        QCOMPARE(past.status, 2);
        QVERIFY2(past.err.contains("ip_address"), qPrintable(past.err));
        QTest::qWait(200);
        QCOMPARE(sim.received(), QStringList(4, Discovery));

        const QHash<QString, QJsonObject> before = readAll();
        QCOMPARE(runCli({"apply", file, "--all", "--verify"}).status, 0);
        const QHash<QString, QJsonObject> after = readAll();
        QCOMPARE(after.size(), 3);
        for (const QString &module : before.keys())
            QCOMPARE(after.value(module), with(before.value(module), partial));

        // diff: exit 0 when the module holds the profile, else 1 and what differs.
        QCOMPARE(runCli({"diff", file, moduleName(1)}).status, 0);
        const QString other = writeFile(m_dir, "other.json", profileOf({{"baud_rate", "600bps"}, {"data_bits", "9"}}));
        const Ran diff = runCli({"diff", other, moduleName(1), "--json"});
        QCOMPARE(diff.status, 1);
        QCOMPARE(diff.json().value("differences").toObject(),
                 (QJsonObject{{"baud_rate", QJsonObject{{"profile", "600bps"}, {"module", "9600bps"}}}}));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(Fleet)
#include "tst_fleet.moc"
