// SPDX-License-Identifier: Apache-2.0
// kelvane, the command line, as a script runs it: the real program against
// kelvane-sim on a peer host of the private network, every command checked on
// the modules afterwards, apply on up to 48 of them at once.
#include "support/CliProcess.h"
#include "support/SimProcess.h"

#include <QRegularExpression>

#include <csignal>

#include <memory>

using namespace kelvane;
using namespace kelvane::test;

namespace {
constexpr int Timeout = 20000;
const QString Module1 = "024B56000001";
const QString Discovery = "in  53 45 54 55 50 | 192.0.2.1:65002";

// Four modules answering from their own addresses: 1 and 2 from 192.0.2.10, 3 from its
// factory 192.168.1.12, 4 from 192.0.2.40; the peer's card holds them all.
const QStringList Addressed = {"--modules", "4", "--answer-from-ip", "--module-ip", "1=192.0.2.10",
                               "--module-ip", "2=192.0.2.10", "--module-ip", "4=192.0.2.40"};
const QStringList AddressedHost = {"192.0.2.10", "192.168.1.12", "192.0.2.40"};

// How the simulator's trace shows a frame to this module arriving: its address bytes.
QString lead(const QString &module)
{
    return "in  " + QByteArray::fromHex(module.toLatin1()).toHex(' ').toUpper();
}

// The frames that reached the simulator for this module: writes carry "=" after
// address, "AT" and the two-letter code; a restart is address and "END".
QStringList writesTo(const QStringList &received, const QString &module)
{
    return received.filter(QRegularExpression("^" + lead(module) + " 41 54 \\S\\S \\S\\S 3D "));
}

QStringList restartsOf(const QStringList &received, const QString &module)
{
    return received.filter(QRegularExpression("^" + lead(module) + " 45 4E 44 \\|"));
}
}  // namespace

class CommandLine : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCOMPARE(qEnvironmentVariable("KELVANE_PRIVATE_NET"), QString("inside"));
        QVERIFY(m_dir.isValid());
    }

    // KELVANE_TEST_PART=K/N runs every N-th test function from the K-th on, so that
    // ctest can run the parts side by side; without it, all of them.
    void init()
    {
        const QStringList part = qEnvironmentVariable("KELVANE_TEST_PART").split('/');
        if (part.size() != 2)
            return;
        const QMetaObject *meta = metaObject();
        const int index = meta->indexOfMethod(QByteArray(QTest::currentTestFunction()) + "()");
        if ((index - meta->methodOffset()) % part[1].toInt() != part[0].toInt())
            QSKIP("in another part");
    }

    // Before any simulator's host is up the private network has no card but loopback:
    // nothing can be asked, and that is a failure with one message, not an empty LAN.
    void noCardIsAFailure()
    {
        for (const QStringList &arguments : {QStringList{"scan"}, QStringList{"read", Module1}}) {
            const Ran ran = runCli(arguments);
            QCOMPARE(ran.status, 1);
            QCOMPARE(ran.err.count('\n'), 1);
            // The tests run in a C locale: the command line's English.
            QVERIFY2(ran.err.contains("No network card can broadcast"), qPrintable(ran.err));
        }
    }

    // One simulator for every command in turn, each checked on the modules.
    void everyCommandOnThreeModules()
    {
        SimProcess sim;
        // Longer than a scan, so the first scan after the reset misses the module.
        QVERIFY(sim.start({"--modules", "3", "--restart-ms", "2500"}));
        // The trace explains each datagram of a read; what it read is the yardstick of the
        // write and of the restart below.
        const QString path = m_dir.filePath("read.trace");
        const Ran read = runCli({"read", Module1, "--json", "--trace", path});
        const QJsonObject factory = read.json().value("parameters").toObject();
        const QStringList trace = readTrace(path);
        QCOMPARE(trace.filter(QRegularExpression("^in\t.*\tanswer to ")).size(), 17);
        QVERIFY(trace.contains(
            "out\t" + sim.card() + "\t255.255.255.255:65000\t02 4b 56 00 00 01 41 54 55 42 0d\tquery UB (baud_rate)"));
        // The answer's line comes before the query it caused.
        const QString ubAnswer = "\t192.0.2.2:65000\t02 4b 56 00 00 01 30 39 0d 0a\tanswer to UB: index 9";
        const qsizetype answer = trace.indexOf("in\t" + sim.card() + ubAnswer);
        QVERIFY2(trace.value(answer + 1).endsWith("query UT (flow_control)"), qPrintable(trace.value(answer + 1)));
        // The reply that ends the search is read as such, and why the search ended follows it.
        const qsizetype listed = trace.indexOf(QRegularExpression(".*\tdiscovery reply: 024B56000001 listed as module 1"));
        QVERIFY2(listed >= 0, qPrintable(trace.join('\n')));
        QCOMPARE(trace.value(listed + 1),
                 "note\t-\t-\t-\tscan: 1 of 4 discovery requests sent, stopped: every module named had answered");

        // Names, an item's index and its English name all write, and the window's engine reads
        // what was written.
        const Ran wrote = runCli({"write", "024b56000001", "baud_rate=115200bps", "ip_address=192.168.001.077",
                                  "parity=Odd", "data_bits=0", "--json"});
        QCOMPARE(wrote.status, 0);
        const QJsonObject changed = wrote.json().value("changed").toObject();
        QCOMPARE(changed.keys(), (QStringList{"baud_rate", "data_bits", "ip_address", "parity"}));
        QCOMPARE(changed.value("baud_rate").toObject(), (QJsonObject{{"from", "600bps"}, {"to", "115200bps"}}));
        const QHash<QString, QJsonObject> written = readAll();
        QCOMPARE(written.value(Module1), with(factory, {{"baud_rate", "115200bps"}, {"ip_address", "192.168.001.077"},
                                                        {"parity", "奇校验"}, {"data_bits", "8"}}));

        // Plain output names list items in the language of its messages (English in the tests'
        // C locale); JSON, above, keeps them as the module's lists hold them.
        QVERIFY2(runCli({"read", Module1}).out.contains("\nparity           Odd\n"), "English item");
        QVERIFY2(runCli({"read", Module1, "--lang", "zh"}).out.contains("\nparity           奇校验\n"), "Chinese item");

        // Defaults and a restart: silent for a while, then back with the factory values.
        QCOMPARE(runCli({"defaults", Module1}).status, 0);
        QCOMPARE(runCli({"reset", Module1}).status, 0);
        const Ran scan = runCli({"scan"});
        QCOMPARE(scan.status, 0);
        const QStringList lines = QString::fromUtf8(scan.out).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0].split(' ', Qt::SkipEmptyParts).first(), "POS");
        // Every module of this simulator answers from the peer host's own address.
        QCOMPARE(lines[2].split(' ', Qt::SkipEmptyParts),
                 (QStringList{"2", "024B56000003", sim.card(), "192.0.2.1", "192.0.2.2", "duplicate-ip"}));
        QTRY_COMPARE_WITH_TIMEOUT(readAll().value(Module1), factory, Timeout);
    }

    // A command that names modules stops sending discovery requests once they have answered;
    // the frames on the simulator's wire say so, one command after another.
    void namedModulesEndTheSearch()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--modules", "3"}));
        auto heard = [&sim, seen = qsizetype(0)]() mutable {
            const QStringList all = sim.received();
            const QStringList fresh = all.mid(seen);
            seen = all.size();
            QStringList shown;  // D a discovery request, W a write, Q any other frame
            for (const QString &line : fresh)
                shown << (line.startsWith(Discovery.left(18)) ? "D" : line.mid(34, 2) == "3D" ? "W" : "Q");
            return shown;
        };
        QCOMPARE(runCli({"read", moduleName(2)}).status, 0);
        QCOMPARE(heard(), QStringList{"D"} + QStringList(17, "Q"));

        QCOMPARE(runCli({"scan", "--expect", "2"}).status, 0);
        QCOMPARE(heard(), QStringList{"D"});
        QCOMPARE(runCli({"scan", "--expect", "4"}).status, 1);
        QCOMPARE(heard(), QStringList(4, "D"));
        QCOMPARE(runCli({"scan"}).status, 0);
        QCOMPARE(heard(), QStringList(4, "D"));

        // The module present is read and written while the absent one is still looked for.
        const QString file = writeFile(m_dir, "early.json", profileOf({{"data_bits", "8"}}));
        const Ran ran = runCli({"apply", file, moduleName(3), "024B56000009", "--json"});
        QCOMPARE(ran.status, 1);
        const QStringList apply = heard();
        QCOMPARE(apply.count("D"), 4);
        const qsizetype lastWrite = apply.lastIndexOf("W");
        QVERIFY2(lastWrite > 0 && apply.indexOf("D", 1) > lastWrite, qPrintable(apply.join(' ')));
        QCOMPARE(fieldOf(ran.json(), "result"), (QStringList{"written", "not-found"}));
    }

    // A module silent to queries, or one whose answer cannot be read: a failed read that says
    // which, and nothing printed as read, saved or compared.
    void failedReadsSayWhy_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<QString>("says");
        QTest::newRow("no answer") << QStringList{"--silent-queries"} << "no-answer"
                                   << "024B56000001 failed!";
        QTest::newRow("unreadable answer") << QStringList{"--reject", "UB"} << "bad-answer"
                                           << "could not be read for: baud_rate.";
    }

    void failedReadsSayWhy()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, says);
        SimProcess sim;
        QVERIFY(sim.start(QStringList{"--modules", "1"} + options));
        const QString file = m_dir.filePath("unreadable.json");
        for (const QStringList &arguments : {QStringList{"read", Module1}, QStringList{"save", Module1, file},
                                             QStringList{"diff", writeFile(m_dir, "any.json", profileOf({})), Module1}}) {
            const Ran ran = runCli(arguments);
            QCOMPARE(ran.status, 1);
            QCOMPARE(ran.out, QByteArray());
            QVERIFY2(ran.err.contains(says), qPrintable(ran.err));
        }
        QVERIFY(!QFile::exists(file));
        QTEST(runCli({"read", Module1, "--json"}).json().value("outcome").toString(), "outcome");
    }

    // The modules forget every baud rate written; module 1 holds the profile's already.
    void onlyWhatIsNamedIsWrittenAndOnlyVerifiedModulesRestart()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--modules", "3", "--forget-writes", "UB"}));
        const QJsonObject partial{{"data_bits", "8"}, {"parity", "奇校验"}};
        const QString file = writeFile(m_dir, "partial.json", profileOf(partial));
        // With --all the addresses are counted after the scan, and nothing follows it.
        const Ran past = runCli({"apply", file, "--all", "--ip-from", "10.0.0.254"});
        QCOMPARE(past.status, 2);
        QVERIFY2(past.err.contains("ip_address"), qPrintable(past.err));
        QCOMPARE(sim.received(), QStringList(4, Discovery));

        const QHash<QString, QJsonObject> before = readAll();
        QCOMPARE(runCli({"apply", file, "--all", "--verify"}).status, 0);
        const QHash<QString, QJsonObject> after = readAll();
        for (const QString &module : before.keys())
            QCOMPARE(after.value(module), with(before.value(module), partial));

        const QString forgotten = writeFile(m_dir, "forgotten.json", profileOf({{"baud_rate", "600bps"}}));
        // Without the read-back the acknowledgements are all there is to go by.
        QCOMPARE(runCli({"apply", forgotten, "--all"}).status, 0);
        const QString path = m_dir.filePath("apply.trace");
        // --always: module 1 holds the profile already and is written, read back and restarted all the same.
        const Ran ran = runCli({"apply", forgotten, "--all", "--reset", "--always", "--json", "--trace", path});
        QCOMPARE(ran.status, 1);
        QCOMPARE(fieldOf(ran.json(), "result"), (QStringList{"restarted", "differs", "differs"}));
        QCOMPARE(entries(ran).value(moduleName(2)).value("differences").toObject(),
                 (QJsonObject{{"baud_rate", QJsonObject{{"profile", "600bps"}, {"module", "4800bps"}}}}));
        QCOMPARE(sim.received().filter(" 45 4E 44"), QStringList{"in  02 4B 56 00 00 01 45 4E 44 | 192.0.2.1:65002"});
        // Every answer of the apply is read by the engine of its module's job.
        const QStringList trace = readTrace(path);
        QCOMPARE(trace.filter(QRegularExpression("^in\t.*\t(not handled|dropped.*)$")), QStringList());
        QCOMPARE(trace.filter(QRegularExpression("^in\t.*\tanswer to ")).size(), 2 * 3 * 17);

        const Ran diff = runCli({"diff", forgotten, moduleName(2)});
        QCOMPARE(diff.status, 1);
        QVERIFY2(diff.out.contains("profile 600bps, module 4800bps"), diff.out.constData());
    }

    // --all hands out addresses in the order of the modules' addresses, not of their answers:
    // module 1, on a second LAN, answers the scan last and still gets the first address.
    void allIsNumberedByAddress()
    {
        SimProcess late, early;
        QVERIFY(late.start({"--modules", "1", "--delay", "100"}, 2));
        QVERIFY(early.start({"--modules", "2", "--first", "2"}, 1));
        const QString file = writeFile(m_dir, "numbered.json", profileOf({{"data_bits", "8"}}));
        const Ran ran = runCli({"apply", file, "--all", "--ip-from", "192.0.2.10", "--check", "--json"});
        QCOMPARE(ran.status, 1);  // each would change
        QVERIFY2(ran.err.contains("kelvane: 3 modules found\n"), qPrintable(ran.err));
        QCOMPARE(fieldOf(ran.json(), "address"), moduleNames(1, 3));
        QCOMPARE(fieldOf(ran.json(), "ip_address"),
                 (QStringList{"192.000.002.010", "192.000.002.011", "192.000.002.012"}));
        QCOMPARE(writesTo(late.received(), moduleName(1)), QStringList());
    }

    // Ctrl+C once: the module being written is finished and read back, no other is started,
    // and the table says which were not. Twice: the program ends there and then.
    void ctrlCStopsInGoodOrder()
    {
        SimProcess sim;
        // Slow answers, so that each module takes a while.
        QVERIFY(sim.start({"--modules", "4", "--delay", "15"}));
        const QString file = m_dir.filePath("interrupted.json");
        QCOMPARE(runCli({"save", moduleName(1), file}).status, 0);
        const auto interrupted = [&](int presses) {
            QProcess apply;
            apply.start(qEnvironmentVariable("KELVANE_BUILD_DIR") + "/kelvane",
                        QStringList{"apply", file} + moduleNames(1, 4) +
                            QStringList{"--ip-from", "192.0.2.50", "--verify", "--parallel", "1", "--json"});
            // Pressed while module 2 is being written, once module 1 has ended.
            QString err;
            const bool firstEnded = QTest::qWaitFor([&] {
                err += QString::fromUtf8(apply.readAllStandardError());
                return err.contains("kelvane: 1/4 ") || apply.state() == QProcess::NotRunning;
            }, Timeout);
            for (int press = 0; press < presses; ++press) {
                ::kill(pid_t(apply.processId()), SIGINT);
                QTest::qWait(20);
            }
            const bool over = QTest::qWaitFor([&] { return apply.state() == QProcess::NotRunning; }, Timeout);
            return std::tuple{firstEnded && over, apply.exitStatus() == QProcess::NormalExit ? apply.exitCode() : -1,
                              QJsonDocument::fromJson(apply.readAllStandardOutput()).object()};
        };

        const auto [ended, status, json] = interrupted(1);
        QVERIFY(ended);
        QCOMPARE(status, 130);
        QCOMPARE(fieldOf(json, "result"), (QStringList{"verified", "verified", "not-started", "not-started"}));
        QCOMPARE(writesTo(sim.settled(), moduleName(3)), QStringList());

        const auto [ended2, status2, json2] = interrupted(2);
        QVERIFY(ended2);
        QCOMPARE(status2, -1);  // ended by the signal itself
        QCOMPARE(json2, QJsonObject());
        QCOMPARE(writesTo(sim.settled(), moduleName(4)), QStringList());
    }

    // The modules already right are read and left alone, on the wire too; --check
    // writes nothing.
    void applyChangesOnlyWhatDiffers()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--modules", "3", "--restart-ms", "0"}));
        const QString file = m_dir.filePath("line.json");
        QCOMPARE(runCli({"save", Module1, file}).status, 0);
        // Each keeps the address it has: 192.168.001.010 and on.
        const QStringList all = moduleNames(1, 3) + QStringList{"--ip-from", "192.168.1.10"};
        const QHash<QString, QJsonObject> factory = readAll();
        QCOMPARE(factory.size(), 3);

        // A check with --reset on its line restarts nothing either.
        qsizetype mark = sim.settled().size();
        const Ran check = runCli(QStringList{"apply", file} + all + QStringList{"--check", "--reset", "--json"});
        QCOMPARE(check.status, 1);
        QCOMPARE(sim.settled().mid(mark).filter(QRegularExpression(" 3D | 45 4E 44 \\|")), QStringList());
        QCOMPARE(fieldOf(check.json(), "result"), (QStringList{"unchanged", "would-change", "would-change"}));
        const QJsonObject baud = entries(check).value(all[1]).value("changes").toObject().value("baud_rate").toObject();
        QCOMPARE(baud, (QJsonObject{{"from", factory.value(all[1]).value("baud_rate")}, {"to", "600bps"}}));

        mark = sim.settled().size();
        // The table: module, address and result; the wire: only the two that differ written and restarted.
        const Ran first = runCli(QStringList{"apply", file} + all + QStringList{"--verify", "--reset"});
        QCOMPARE(first.status, 0);
        const QStringList rows = QString::fromUtf8(first.out).split('\n', Qt::SkipEmptyParts).mid(1);
        QCOMPARE(rows.size(), 3);
        const QStringList wire = sim.settled().mid(mark);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(rows[i].split(' ', Qt::SkipEmptyParts).mid(0, 3),
                     (QStringList{all[i], factory.value(all[i]).value("ip_address").toString(),
                                  i ? "restarted" : "unchanged"}));
            QCOMPARE(writesTo(wire, all[i]).size(), i ? 17 : 0);
            QCOMPARE(restartsOf(wire, all[i]).size(), i ? 1 : 0);
        }
    }

    // One row per way of refusing; FILE is the row's profile, and "|" parts the pieces of the message.
    void badInputSendsNothing_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("says");
        QTest::addColumn<QByteArray>("profile");
        const auto row = [](const char *name, const QStringList &arguments, const QString &says,
                            const QByteArray &profile = {}) { QTest::newRow(name) << arguments << says << profile; };
        const QStringList apply{"apply", "FILE", Module1, "024B56000002"};
        row("unknown command", {"flash", Module1}, "Unknown command");
        row("unknown option, in JSON", {"read", Module1, "--colour", "--json"}, "colour");
        row("unknown card", {"scan", "--interface", "nosuchcard0"}, "nosuchcard0");
        row("address not hex", {"read", "024B5600000G"}, "12 hex digits");
        row("save over a file, no clobbering", {"save", Module1, "FILE", "--no-clobber"}, "FILE|exists", profileOf({}));
        // A value the module cannot take stops the whole write, also after good ones.
        row("an address that is a word", {"write", Module1, "baud_rate=115200bps", "ip_address=hello"},
            "ip_address|hello|not an address");
        row("profile of apply, in JSON", apply + QStringList{"--json"}, "FILE|speed", profileOf({{"speed", "1"}}));
        row("check and always", apply + QStringList{"--check", "--always"}, "--always", profileOf({}));
    }

    void badInputSendsNothing()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, says);
        QFETCH(QByteArray, profile);
        QVERIFY(keep(m_idle, {"--modules", "2"}));
        const QString file = writeFile(m_dir, QString(QTest::currentDataTag()).replace(' ', '-') + ".json", profile);
        arguments.replaceInStrings("FILE", file);
        says.replace("FILE", file);
        const Ran ran = runCli(arguments);
        QCOMPARE(ran.status, 2);
        // With --json the message is the document's error; else standard output stays empty.
        QCOMPARE(ran.out.isEmpty(), !arguments.contains("--json"));
        const QString said = ran.err + ran.json().value("error").toString();
        for (const QString &part : says.split('|'))
            QVERIFY2(said.contains(part), qPrintable(said));
        QCOMPARE(m_idle->received(), QStringList());
    }

    // Each command reaches the module it names, and no other: the frames after the discovery
    // requests all lead with that module's address, and there are some. Module 2 of three
    // has a module before it and one after it.
    void everyCommandReachesOnlyItsModule_data()
    {
        // FILE stands for a profile, SAVED for what save wrote of module 2.
        QTest::addColumn<QStringList>("arguments");
        const QString module = moduleName(2);
        QTest::newRow("read") << QStringList{"read", module};
        QTest::newRow("write") << QStringList{"write", module, "parity=Odd"};
        QTest::newRow("defaults") << QStringList{"defaults", module};
        QTest::newRow("save") << QStringList{"save", module, "SAVED"};
        // What save read is what diff reads: the same module.
        QTest::newRow("diff") << QStringList{"diff", "SAVED", module};
        QTest::newRow("apply") << QStringList{"apply", "FILE", module, "--verify", "--reset"};
        QTest::newRow("reset") << QStringList{"reset", module};
    }

    void everyCommandReachesOnlyItsModule()
    {
        QFETCH(QStringList, arguments);
        QVERIFY(keep(m_three, {"--modules", "3", "--restart-ms", "0"}));
        const QString file = writeFile(m_dir, "only.json", profileOf({{"data_bits", "9"}}));
        arguments.replaceInStrings("FILE", file).replaceInStrings("SAVED", m_dir.filePath("saved-2.json"));
        const qsizetype before = m_three->received().size();
        const Ran ran = runCli(arguments);
        QVERIFY2(ran.status == 0, qPrintable(ran.err));
        const QStringList frames = m_three->received().mid(before).filter(QRegularExpression("^in  (?!53 45 54 55 50\\b)"));
        QVERIFY(!frames.isEmpty());
        for (const QString &frame : frames)
            QVERIFY2(frame.startsWith(lead(moduleName(2))), qPrintable(frame));
    }

    // Modules 1 and 2 share 192.0.2.10, module 3 answers from 192.168.1.12 outside the card's
    // 192.0.2.0/24, module 4 from 192.0.2.40 of its own: scan flags them, as text and as CSV,
    // and check lists them beside the rules' findings.
    void sharedAndForeignAddressesAreFlagged()
    {
        aloneOnTheLan();
        SimProcess sim;
        QVERIFY(sim.start(Addressed, 1, AddressedHost));
        // As text, the warnings go to standard error, one line each.
        QCOMPARE(runCli({"scan"}).err.count("kelvane: warning: "), 3);

        // The columns the window's table exports, those a scan knows filled in.
        const Ran csv = runCli({"scan", "--csv"});
        QCOMPARE(csv.status, 0);
        const QString card = ',' + sim.card() + ",192.0.2.1,,,,";
        QCOMPARE(QString::fromUtf8(csv.out).split('\n', Qt::SkipEmptyParts),
                 (QStringList{"position,address,source,card,card_address,ip_address,baud_rate,socket_mode,warnings,result",
                              "1,024B56000001,192.0.2.10" + card + "duplicate-ip,",
                              "2,024B56000002,192.0.2.10" + card + "duplicate-ip,",
                              "3,024B56000003,192.168.1.12" + card + "other-subnet,", "4,024B56000004,192.0.2.40" + card + ','}));

        const auto found = [](const Ran &ran) {
            QStringList lines;
            for (const QJsonValue &f : ran.json().value("findings").toArray())
                lines << f.toObject().value("severity").toString() + ' ' + f.toObject().value("rule").toString();
            for (const QJsonValue &warning : ran.json().value("warnings").toArray())
                lines << "warned " + warning.toObject().value("code").toString();
            return lines;
        };
        // A file is checked without a datagram; a rule that refuses makes it exit 1.
        const qsizetype heard = sim.settled().size();
        const QString file = writeFile(m_dir, "check.json",
                                       profileOf({{"subnet_mask", "255.255.255.0"}, {"ip_address", "192.0.2.0"},
                                                  {"start_mode", "direct"}, {"gateway", "198.51.100.1"}}));
        const Ran refused = runCli({"check", file, "--json"});
        QCOMPARE(refused.status, 1);
        QCOMPARE(found(refused), (QStringList{"refused ip-network-address", "warned gateway-outside-subnet"}));
        QCOMPARE(refused.json().value("refused").toBool(), true);
        QCOMPARE(sim.settled().size(), heard);
        // A module, after a scan: module 1 keeps its factory gateway 192.168.1.1 beside the
        // address it was given.
        const Ran module = runCli({"check", Module1, "--json"});
        QCOMPARE(module.status, 0);
        QCOMPARE(found(module), (QStringList{"warned gateway-outside-subnet", "warned duplicate-ip"}));
        QCOMPARE(module.json().value("refused").toBool(), false);
    }

    // The rules before a write or an apply on the modules of Addressed and this PC's card:
    // refused, exit 2 and no write frame; warned or --force, written and held.
    void rulesDecideWhatIsWritten_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("says");
        const auto row = [](const char *name, const QStringList &arguments, int status, const QString &says) {
            QTest::newRow(name) << arguments << status << says;
        };
        const QStringList apply{"apply", "FILE", moduleName(3), moduleName(4)};
        row("a value, in JSON", {"write", Module1, "port=0", "--json"}, 2, "port|no port");
        row("a value, forced", {"write", Module1, "subnet_mask=255.0.255.0", "--force"}, 0, "--force|not a subnet mask");
        row("a value, warned", {"write", Module1, "gateway=10.0.0.1"}, 0,
            "warning: gateway: 10.0.0.1 lies outside the module's subnet");
        // Module 4 would get .10, where modules 1 and 2 answer.
        row("an address onto another module", apply + QStringList{"--ip-from", "192.0.2.9"}, 2,
            "192.000.002.010 for module 024B56000004 is the address another module answered from");
        row("an address, forced", apply + QStringList{"--ip-from", "192.0.2.9", "--force"}, 0,
            "written all the same (--force)");
        row("an address, warned", {"apply", "FILE", moduleName(4), "--ip-from", "203.0.113.7"}, 0,
            "warning: ip_address: 203.000.113.007 for module 024B56000004 lies outside 192.0.2.0/24");
    }

    void rulesDecideWhatIsWritten()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, says);
        aloneOnTheLan();
        SimProcess sim;
        QVERIFY(sim.start(Addressed, 1, AddressedHost));
        arguments.replaceInStrings("FILE", writeFile(m_dir, "rules.json", profileOf({{"data_bits", "8"}})));
        const QHash<QString, QStringList> before = sim.held();
        const Ran ran = runCli(arguments);
        QCOMPARE(ran.status, status);
        const QString said = ran.err + ran.json().value("error").toString();
        for (const QString &part : says.split('|'))
            QVERIFY2(said.contains(part), qPrintable(said));
        QCOMPARE(sim.held() != before, status == 0);
        // A write frame is the only one with '='.
        QCOMPARE(sim.settled().filter(" 3D ").isEmpty(), status == 2);
    }

private:
    // The simulators kept for the tables above would answer as modules 1 to 3 too.
    void aloneOnTheLan()
    {
        m_idle.reset();
        m_three.reset();
    }

    // The simulator kept for every row of a table, started alone on the LAN at the first.
    bool keep(std::unique_ptr<SimProcess> &sim, const QStringList &options, const QStringList &addresses = {})
    {
        if (sim)
            return true;
        aloneOnTheLan();
        sim = std::make_unique<SimProcess>();
        return sim->start(options, 1, addresses);
    }

    QTemporaryDir m_dir;
    std::unique_ptr<SimProcess> m_idle;
    std::unique_ptr<SimProcess> m_three;
};

QTEST_GUILESS_MAIN(CommandLine)
#include "tst_cli.moc"
