// SPDX-License-Identifier: Apache-2.0
// kelvane-sim without its socket: what each module answers and stores, how it
// restarts, and that its losses, delays and copies do what their options say,
// on a clock the test sets.
#include "sim/Delivery.h"
#include "sim/ModuleModel.h"
#include "sim/Options.h"
#include "sim/Responder.h"

#include "replies/AnswerForm.h"

#include <QTest>

using namespace kelvane::sim;

namespace {
const QByteArray Ok = QByteArrayLiteral("OK\r\n");

// Module n, numbered from 1 as on the command line, is 02 4B 56 and n in three bytes.
QByteArray addr(int n)
{
    return QByteArray::fromHex("024B56") + char(n >> 16 & 0xFF) + char(n >> 8 & 0xFF) + char(n & 0xFF);
}
QByteArray query(int n, const QByteArray &code) { return addr(n) + "AT" + code + '\r'; }
QByteArray write(int n, const QByteArray &code, const QByteArray &value)
{
    return addr(n) + "AT" + code + '=' + value + '\r';
}
QByteArray reply(int n, const QByteArray &text) { return addr(n) + text; }
QByteArray found(int n) { return reply(n, "KVS-100\r\n"); }

// A step's datagrams on one readable line, so that a failed comparison says which step and what.
QString shown(const QByteArrayList &datagrams)
{
    return QString::fromLatin1(datagrams.join(" | ").toPercentEncoding(" |.-"));
}

// One datagram to the simulator at atMs, or with no request only time
// passing; the datagrams it sends by then.
struct Exchange {
    qint64 atMs;
    QByteArray request;
    QByteArrayList answers;
};
using Script = QList<Exchange>;

// Module n asked code at 0 ms answers text.
Exchange asked(int n, const QByteArray &code, const QByteArray &text)
{
    return {0, query(n, code), {reply(n, text + "\r\n")}};
}
// Module n written value for code at 0 ms acknowledges with ack.
Exchange wrote(int n, const QByteArray &code, const QByteArray &value, const QByteArray &ack)
{
    return {0, write(n, code, value), {reply(n, ack)}};
}
}  // namespace

Q_DECLARE_METATYPE(Script)

class TestSim : public QObject {
    Q_OBJECT
private slots:
    void scenarios_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<Script>("script");
        const QByteArrayList all = {found(1), found(2), found(3)};
        const auto row = [](const char *name, const Script &script) { QTest::newRow(name) << QStringList() << script; };

        row("another module's address is ignored",
            {{0, query(4, "UB"), {}}, {0, write(4, "UB", "1"), {}}, {0, addr(4) + "END", {}}});

        // A module's own defaults are read back end to end.
        row("ATDF acknowledged, another module keeps its values",
            {wrote(2, "UB", "0", Ok), {0, query(1, "DF"), {reply(1, Ok)}}, asked(2, "UB", "00")});
        QTest::newRow("END: deaf for restart-ms, then found again")
            << QStringList{"--restart-ms", "2000"}
            << Script{{1000, addr(2) + "END", {}}, {2999, query(2, "UB"), {}}, {2999, write(2, "UB", "5"), {}},
                      {2999, "SETUP", {found(1), found(3)}}, {3000, "SETUP", all}};
        row("END: written values survive the restart",
            {wrote(1, "UB", "5", Ok), {0, addr(1) + "END", {}}, {1000, query(1, "UB"), {reply(1, "05\r\n")}}});

        QTest::newRow("--duplicate: every answer twice")
            << QStringList{"--duplicate"} << Script{{0, query(1, "UB"), {reply(1, "09\r\n"), reply(1, "09\r\n")}}};
        QTest::newRow("--delay 350: held 350 ms, in order")
            << QStringList{"--delay", "350"}
            << Script{{1000, query(1, "UB"), {}}, {1100, query(2, "UB"), {}}, {1349, {}, {}},
                      {1350, {}, {reply(1, "09\r\n")}}, {1449, {}, {}}, {1450, {}, {reply(2, "02\r\n")}}};
        QTest::newRow("--drop 1: every answer lost")
            << QStringList{"--drop", "1"} << Script{{0, "SETUP", {}}, {0, query(1, "UB"), {}}};
        QTest::newRow("--late 1 --delay 100: 600 ms past the delay, the order kept")
            << QStringList{"--late", "1", "--delay", "100"}
            << Script{{0, query(1, "UB"), {}}, {10, query(2, "UB"), {}}, {699, {}, {}},
                      {700, {}, {reply(1, "09\r\n")}}, {710, {}, {reply(2, "02\r\n")}}};
        QTest::newRow("--drop-requests 1: restarts and writes unheard, scans answered")
            << QStringList{"--drop-requests", "1"}
            << Script{{0, addr(1) + "END", {}}, {1, "SETUP", all}, {1, write(1, "UB", "5"), {}},
                      {1, query(1, "UB"), {}}};
        QTest::newRow("--duplicate --late 1: both copies late")
            << QStringList{"--duplicate", "--late", "1"}
            << Script{{0, query(1, "UB"), {}}, {599, {}, {}},
                      {600, {}, {reply(1, "09\r\n"), reply(1, "09\r\n")}}};
    }

    void scenarios()
    {
        QFETCH(QStringList, arguments);
        QFETCH(Script, script);
        const auto parsed = parseOptions(QStringList{"kelvane-sim"} + arguments);
        const Options *options = std::get_if<Options>(&parsed);
        QVERIFY(options);
        Responder responder(options->modules, options->faults, options->restartMs, options->first - 1,
                            options->moduleIps);
        Delivery delivery(options->delivery, options->seed);
        QStringList sent, expected;
        for (const Exchange &e : script) {
            if (!e.request.isEmpty() && delivery.arrives(e.request))
                delivery.post(responder.respond(e.request, e.atMs), e.atMs);
            sent << shown(delivery.takeDue(e.atMs));
            expected << shown(e.answers);
        }
        QCOMPARE(sent, expected);
    }

    // Module 1's answer to every code, written out byte by byte: the simulator encodes
    // with the tool's own catalogue, so a mistake the two share shows only here. What
    // SIGUSR1 prints of a module is its address and each value as its answer carries it,
    // after a write and after defaults too.
    void everyAnswerOfModule1()
    {
        const QByteArray factory = "024B56000001 UB=09 UT=00 UD=09 TM=00003 UP=02 BT=00040 US=01 CM=01 "
                                   "GA=192.168.001.001 SM=255.255.255.000 IP=192.168.001.010 PT=00502 "
                                   "DA=010.000.000.001 DP=01024 SR=00 ET=02 PD=00";
        Responder responder(1);
        const QByteArrayList fields = factory.split(' ').mid(1);
        QCOMPARE(fields.size(), kelvane::ParameterCount);
        for (int row = 0; row < kelvane::ParameterCount; ++row) {
            const QByteArray code = fields[row].left(2);
            const QByteArrayList answers = responder.respond(query(1, code), 0);
            QCOMPARE(shown(answers), shown({reply(1, fields[row].mid(3) + "\r\n")}));
            QVERIFY2(kelvane::answerFits(kelvane::catalogue().at(row), answers.first()), code.constData());
        }
        QCOMPARE(responder.module(0).held(), factory);
        responder.respond(write(1, "PT", "8080"), 0);
        responder.respond(write(1, "GA", "10.0.0.1"), 0);
        QCOMPARE(responder.module(0).held(),
                 QByteArray(factory).replace("PT=00502", "PT=08080").replace("GA=192.168.001.001", "GA=010.000.000.001"));
        responder.respond(query(1, "DF"), 0);
        QCOMPARE(responder.module(0).held(), factory);
    }

    // About 30% lost, late or unheard; the same seed picks the same datagrams, another seed
    // others. Losses and late answers are drawn for every answer, so adding one of them
    // leaves the other's picks as they were.
    void fractions_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("other");  // empty: no other mishap to combine with
        QTest::newRow("--drop") << QStringList{"--drop", "0.3"} << QStringList{"--late", "0.5"};
        QTest::newRow("--late") << QStringList{"--late", "0.3"} << QStringList{"--drop", "0.5"};
        QTest::newRow("--drop-requests") << QStringList{"--drop-requests", "0.3"} << QStringList{};
    }

    void fractions()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, other);
        // Each datagram both as a request and as its own answer: what goes out on time.
        const auto onTime = [](const QStringList &options) {
            const auto parsed = parseOptions(QStringList{"kelvane-sim"} + options);
            Delivery delivery(std::get<Options>(parsed).delivery, std::get<Options>(parsed).seed);
            for (int i = 0; i < 2000; ++i) {
                const QByteArray datagram = QByteArray::number(i);
                if (delivery.arrives(datagram))
                    delivery.post({datagram}, 0);
            }
            return delivery.takeDue(0);
        };
        const QByteArrayList picked = onTime(arguments + QStringList{"--seed", "1"});
        QVERIFY2(qAbs(picked.size() - 1400) < 80, qPrintable(QString::number(picked.size())));
        QCOMPARE(onTime(arguments + QStringList{"--seed", "1"}), picked);
        QVERIFY(onTime(arguments + QStringList{"--seed", "2"}) != picked);
        if (other.isEmpty())
            return;
        // Together, on time is what each alone leaves on time.
        const QByteArrayList alone = onTime(other + QStringList{"--seed", "1"});
        QByteArrayList expected;
        for (const QByteArray &datagram : picked) {
            if (alone.contains(datagram))
                expected << datagram;
        }
        QCOMPARE(onTime(arguments + other + QStringList{"--seed", "1"}), expected);
    }

};

QTEST_GUILESS_MAIN(TestSim)
#include "tst_sim.moc"
