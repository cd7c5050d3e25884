// kelvane-sim without its socket: what each module answers and stores, how it
// restarts, its faults and its command line, on a clock the test sets.
#include "sim/Delivery.h"
#include "sim/ModuleModel.h"
#include "sim/Options.h"
#include "sim/Responder.h"

#include <QTest>

#include <optional>

using namespace kelvane::sim;

namespace {
const QByteArray Ok = QByteArrayLiteral("OK\r\n");
const QByteArray Er = QByteArrayLiteral("ER\r\n");

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

// Datagrams as one readable line, led by the step they belong to, so that a
// failed comparison says where and what.
QString show(const QByteArrayList &datagrams, qsizetype step = 0)
{
    QStringList shown;
    for (const QByteArray &d : datagrams) {
        QString text = QString::fromLatin1(d.mid(6));
        text.replace(QLatin1String("\r"), QLatin1String("\\r")).replace(QLatin1String("\n"), QLatin1String("\\n"));
        shown << QString::fromLatin1(d.left(6).toHex().toUpper()) + QLatin1Char(' ') + text;
    }
    return QStringLiteral("step %1: [%2]").arg(step).arg(shown.join(QLatin1String(" | ")));
}

std::optional<Options> parsed(const QStringList &arguments)
{
    const auto result = parseOptions(QStringList{QStringLiteral("kelvane-sim")} + arguments);
    if (const auto *options = std::get_if<Options>(&result))
        return *options;
    qWarning("%s", qPrintable(std::get<QString>(result)));
    return std::nullopt;
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
}  // namespace

Q_DECLARE_METATYPE(Script)

class TestSim : public QObject {
    Q_OBJECT
private slots:
    void discoveryReply_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QByteArray>("address");
        QTest::newRow("module 1") << 0 << QByteArray("024B56000001");
        QTest::newRow("module 256 carries into the fifth byte") << 255 << QByteArray("024B56000100");
        QTest::newRow("the last module fills all three bytes") << 0xFFFFFE << QByteArray("024B56FFFFFF");
    }

    void discoveryReply()
    {
        QFETCH(int, index);
        QFETCH(QByteArray, address);
        QCOMPARE(ModuleModel(index).discoveryReply(), QByteArray::fromHex(address) + "KVS-100\r\n");
    }

    void queryAnswers_data()
    {
        QTest::addColumn<QByteArray>("code");
        QTest::addColumn<QByteArray>("first");   // module 1's answer after its address
        QTest::addColumn<QByteArray>("second");  // module 2's
        const auto row = [](const char *name, const char *code, const char *first, const char *second) {
            QTest::newRow(name) << QByteArray(code) << QByteArray(first) + "\r\n" << QByteArray(second) + "\r\n";
        };
        row("UB baud: 600bps is item 9", "UB", "09", "02");
        row("UT flow control", "UT", "00", "01");
        row("UD data bits: the digit itself", "UD", "09", "08");
        row("TM four digits after a 0", "TM", "00003", "00014");
        row("UP parity", "UP", "02", "00");
        row("BT four digits after a 0", "BT", "00040", "00041");
        row("US stop bits: the digit itself", "US", "01", "02");
        row("CM display mode", "CM", "01", "02");
        row("GA groups of three", "GA", "192.168.001.001", "192.168.001.001");
        row("SM groups of three", "SM", "255.255.255.000", "255.255.255.000");
        row("IP one per module", "IP", "192.168.001.010", "192.168.001.011");
        row("PT five digits", "PT", "00502", "00503");
        row("DA groups of three", "DA", "010.000.000.001", "010.000.000.002");
        row("DP five digits", "DP", "01024", "01025");
        row("SR socket mode", "SR", "00", "01");
        row("ET Ethernet mode", "ET", "02", "03");
        row("PD start mode", "PD", "00", "01");
    }

    void queryAnswers()
    {
        QFETCH(QByteArray, code);
        QFETCH(QByteArray, first);
        QFETCH(QByteArray, second);
        Responder responder(2);
        QCOMPARE(show(responder.respond(query(1, code), 0)), show({reply(1, first)}));
        QCOMPARE(show(responder.respond(query(2, code), 0)), show({reply(2, second)}));
    }

    void writes_data()
    {
        QTest::addColumn<QByteArray>("code");
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QByteArray>("ack");
        QTest::addColumn<QByteArray>("readBack");  // module 1's answer to the query that follows
        const auto row = [](const char *name, const char *code, const char *value, const QByteArray &ack,
                            const char *readBack) {
            QTest::newRow(name) << QByteArray(code) << QByteArray(value) << ack << QByteArray(readBack) + "\r\n";
        };
        row("UB 115200bps stored", "UB", "7", Ok, "07");
        row("UD 8 bits stored", "UD", "8", Ok, "08");
        row("TM two digits padded back", "TM", "12", Ok, "00012");
        row("BT largest stored", "BT", "9999", Ok, "09999");
        row("US 2 stop bits stored", "US", "2", Ok, "02");
        row("GA stored, padded back", "GA", "10.1.2.254", Ok, "010.001.002.254");
        row("DP highest port stored", "DP", "65535", Ok, "65535");
        row("SR multicast stored", "SR", "5", Ok, "05");
        row("ET auto stored", "ET", "0", Ok, "00");
        row("PD PPPOE stored", "PD", "1", Ok, "01");

        row("UB ':' past the last item refused", "UB", ":", Er, "09");
        row("UB two digits refused", "UB", "10", Er, "09");
        row("UT 2 past two items refused", "UT", "2", Er, "00");
        row("UD 7 below the first item refused", "UD", "7", Er, "09");
        row("US 0 below the first item refused", "US", "0", Er, "01");
        row("TM five digits refused", "TM", "12345", Er, "00003");
        row("TM empty refused", "TM", "", Er, "00003");
        row("TM signed refused", "TM", "-1", Er, "00003");
        row("DP 65536 refused", "DP", "65536", Er, "01024");
        row("IP three groups refused", "IP", "192.168.1", Er, "192.168.001.010");
        row("IP octet 256 refused", "IP", "192.168.1.256", Er, "192.168.001.010");
        row("IP four-digit group refused", "IP", "192.168.0001.1", Er, "192.168.001.010");
        row("PD 3 past DHCP refused", "PD", "3", Er, "00");
        row("unknown code refused", "ZZ", "1", Er, "ER");
    }

    void writes()
    {
        QFETCH(QByteArray, code);
        QFETCH(QByteArray, value);
        QFETCH(QByteArray, ack);
        QFETCH(QByteArray, readBack);
        Responder responder(2);
        const QByteArrayList neighbour = responder.respond(query(2, code), 0);
        QCOMPARE(show(responder.respond(write(1, code, value), 0)), show({reply(1, ack)}));
        QCOMPARE(show(responder.respond(query(1, code), 0)), show({reply(1, readBack)}));
        // Only the module addressed takes the write.
        QCOMPARE(show(responder.respond(query(2, code), 0)), show(neighbour));
    }

    void scenarios_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<Script>("script");
        const QByteArrayList all = {found(1), found(2), found(3)};
        const QByteArray exit = QByteArray(6, char(0xFF)) + "END";

        QTest::newRow("SETUP: every module answers, in order") << QStringList() << Script{{0, "SETUP", all}};
        QTest::newRow("SETUP with a CR is no discovery") << QStringList() << Script{{0, "SETUP\r", {}}};
        QTest::newRow("--modules 0: nobody answers") << QStringList{"--modules", "0"} << Script{{0, "SETUP", {}}};
        QTest::newRow("another module's address is ignored")
            << QStringList() << Script{{0, query(4, "UB"), {}}, {0, write(4, "UB", "1"), {}}, {0, addr(4) + "END", {}}};
        QTest::newRow("the exit frame restarts nobody") << QStringList() << Script{{0, exit, {}}, {1, "SETUP", all}};
        QTest::newRow("shorter than an address is ignored") << QStringList() << Script{{0, addr(1).left(5), {}}};
        QTest::newRow("a query without its CR is ignored") << QStringList() << Script{{0, addr(1) + "ATUB", {}}};
        QTest::newRow("an unknown query is refused") << QStringList() << Script{{0, query(1, "ZZ"), {reply(1, Er)}}};

        QTest::newRow("ATDF acknowledged, that module's factory values back")
            << QStringList()
            << Script{{0, write(1, "UB", "7"), {reply(1, Ok)}}, {0, write(1, "IP", "10.9.8.7"), {reply(1, Ok)}},
                      {0, write(2, "UB", "0"), {reply(2, Ok)}}, {0, query(1, "DF"), {reply(1, Ok)}}, asked(1, "UB", "09"),
                      asked(1, "IP", "192.168.001.010"), asked(2, "UB", "00")};
        QTest::newRow("END: deaf for restart-ms, then found again")
            << QStringList{"--restart-ms", "2000"}
            << Script{{1000, addr(2) + "END", {}}, {2999, query(2, "UB"), {}}, {2999, write(2, "UB", "5"), {}},
                      {2999, "SETUP", {found(1), found(3)}}, {3000, "SETUP", all}};
        QTest::newRow("END: written values survive the restart")
            << QStringList() << Script{{0, write(1, "UB", "5"), {reply(1, Ok)}}, {0, addr(1) + "END", {}},
                                       {1000, query(1, "UB"), {reply(1, "05\r\n")}}};
        QTest::newRow("END with a CR restarts nothing") << QStringList() << Script{{0, addr(1) + "END\r", {}}, asked(1, "UB", "09")};
        QTest::newRow("--restart-ms 0: up again at once")
            << QStringList{"--restart-ms", "0"} << Script{{0, addr(1) + "END", {}}, asked(1, "UB", "09")};

        QTest::newRow("--silent-queries: queries unanswered, the rest as usual")
            << QStringList{"--silent-queries"} << Script{{0, query(1, "PD"), {}}, {0, "SETUP", all},
                                                         {0, write(1, "UB", "3"), {reply(1, Ok)}},
                                                         {0, query(1, "DF"), {reply(1, Ok)}}};
        QTest::newRow("--reject UB: a digit past the list, UT as usual")
            << QStringList{"--reject", "UB"} << Script{asked(1, "UB", "0:"), asked(1, "UT", "00")};
        QTest::newRow("--no-write-acks: stored without a word")
            << QStringList{"--no-write-acks"} << Script{{0, write(1, "UB", "3"), {}}, asked(1, "UB", "03")};
        QTest::newRow("--refuse-write IP: ER and kept, GA taken")
            << QStringList{"--refuse-write", "IP"}
            << Script{{0, write(1, "IP", "10.0.0.9"), {reply(1, Er)}}, asked(1, "IP", "192.168.001.010"),
                      {0, write(1, "GA", "10.0.0.1"), {reply(1, Ok)}}, asked(1, "GA", "010.000.000.001")};
        QTest::newRow("--forget-writes TM,IP: OK, old values read back, BT stored")
            << QStringList{"--forget-writes", "TM,IP"}
            << Script{{0, write(1, "TM", "0077"), {reply(1, Ok)}}, asked(1, "TM", "00003"),
                      {0, write(2, "IP", "10.0.0.9"), {reply(2, Ok)}}, asked(2, "IP", "192.168.001.011"),
                      {0, write(1, "BT", "0001"), {reply(1, Ok)}}, asked(1, "BT", "00001")};
        QTest::newRow("--forget-writes TM: a bad value still refused")
            << QStringList{"--forget-writes", "TM"} << Script{{0, write(1, "TM", "12345"), {reply(1, Er)}}};
        QTest::newRow("--silent-modules 2: never found, never answers; 1 and 3 do")
            << QStringList{"--silent-modules", "2"}
            << Script{{0, "SETUP", {found(1), found(3)}}, {0, query(2, "UB"), {}}, {0, write(2, "UB", "3"), {}},
                      {0, query(2, "DF"), {}}, asked(3, "UB", "05")};
        QTest::newRow("--silent-modules 1,3: only 2 found")
            << QStringList{"--silent-modules", "1,3"} << Script{{0, "SETUP", {found(2)}}};
        QTest::newRow("--duplicate: every answer twice")
            << QStringList{"--duplicate", "--modules", "2"}
            << Script{{0, query(1, "UB"), {reply(1, "09\r\n"), reply(1, "09\r\n")}},
                      {0, "SETUP", {found(1), found(1), found(2), found(2)}}};
        QTest::newRow("--delay 350: held 350 ms, in order")
            << QStringList{"--delay", "350"}
            << Script{{1000, query(1, "UB"), {}}, {1100, query(2, "UB"), {}}, {1349, {}, {}},
                      {1350, {}, {reply(1, "09\r\n")}}, {1449, {}, {}}, {1450, {}, {reply(2, "02\r\n")}}};
        QTest::newRow("--drop 1: every answer lost")
            << QStringList{"--drop", "1"} << Script{{0, "SETUP", {}}, {0, query(1, "UB"), {}}};
    }

    void scenarios()
    {
        QFETCH(QStringList, arguments);
        QFETCH(Script, script);
        const std::optional<Options> options = parsed(arguments);
        QVERIFY(options);
        Responder responder(options->modules, options->faults, options->restartMs);
        Delivery delivery(options->drop, options->duplicate, options->delayMs, options->seed);
        for (qsizetype step = 0; step < script.size(); ++step) {
            const Exchange &e = script.at(step);
            if (!e.request.isEmpty())
                delivery.post(responder.respond(e.request, e.atMs), e.atMs);
            QCOMPARE(show(delivery.takeDue(e.atMs), step), show(e.answers, step));
        }
    }

    void dropFraction_data()
    {
        QTest::addColumn<double>("fraction");
        QTest::addColumn<quint32>("seed");
        QTest::newRow("10% lost, seed 1") << 0.1 << 1u;
        QTest::newRow("60% lost, seed 1") << 0.6 << 1u;
    }

    void dropFraction()
    {
        QFETCH(double, fraction);
        QFETCH(quint32, seed);
        constexpr int Answers = 2000;
        QByteArrayList answers;
        for (int i = 0; i < Answers; ++i)
            answers << QByteArray::number(i);
        const auto survivors = [&](quint32 s) {
            Delivery delivery(fraction, false, 0, s);
            delivery.post(answers, 0);
            return delivery.takeDue(0);
        };
        const QByteArrayList kept = survivors(seed);
        const double lost = 1.0 - double(kept.size()) / Answers;
        QVERIFY2(qAbs(lost - fraction) < 0.04, qPrintable(QStringLiteral("lost %1").arg(lost)));
        // The same seed loses the same answers; another seed, others.
        QCOMPARE(survivors(seed), kept);
        QVERIFY(survivors(seed + 1) != kept);
    }

    void optionErrors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("error");
        const QString modules = "--modules takes a number from 0 to 16777215.";
        const QString times = "--restart-ms and --delay take milliseconds from 0 to 3600000.";
        const QString drop = "--drop takes a fraction from 0 to 1.";
        const QString silent = "--silent-modules takes module numbers from 1 to 3, separated by commas.";
        const QString forget = "--forget-writes takes parameter codes such as UB or IP, separated by commas.";
        QTest::newRow("unknown option") << QStringList{"--frobnicate"} << "Unknown option 'frobnicate'.";
        QTest::newRow("option without its value") << QStringList{"--modules"} << "Missing value after '--modules'.";
        QTest::newRow("stray argument") << QStringList{"12"} << "Unexpected argument: 12";
        QTest::newRow("--modules negative") << QStringList{"--modules", "-1"} << modules;
        QTest::newRow("--modules not a number") << QStringList{"--modules", "three"} << modules;
        QTest::newRow("--modules past three address bytes") << QStringList{"--modules", "16777216"} << modules;
        QTest::newRow("--seed negative") << QStringList{"--seed", "-1"} << "--seed takes a number from 0 to 4294967295.";
        QTest::newRow("--restart-ms over an hour") << QStringList{"--restart-ms", "3600001"} << times;
        QTest::newRow("--drop above 1") << QStringList{"--drop", "1.5"} << drop;
        QTest::newRow("--drop negative") << QStringList{"--drop", "-0.1"} << drop;
        QTest::newRow("--reject a text code") << QStringList{"--reject", "TM"}
                                              << "--reject takes one of: UB UT UD UP US CM SR ET";
        QTest::newRow("--refuse-write lower case") << QStringList{"--refuse-write", "ip"}
                                                   << "--refuse-write takes a parameter code such as UB or IP.";
        QTest::newRow("--forget-writes empty item") << QStringList{"--forget-writes", "UB,,IP"} << forget;
        QTest::newRow("--forget-writes unknown code") << QStringList{"--forget-writes", "UB,XX"} << forget;
        QTest::newRow("--forget-writes blank after comma") << QStringList{"--forget-writes", "UB, IP"} << forget;
        QTest::newRow("--silent-modules 0: numbers start at 1")
            << QStringList{"--silent-modules", "0"} << silent;
        QTest::newRow("--silent-modules past --modules")
            << QStringList{"--modules", "20", "--silent-modules", "1,21"}
            << "--silent-modules takes module numbers from 1 to 20, separated by commas.";
        QTest::newRow("--silent-modules not a number")
            << QStringList{"--silent-modules", "1,b"} << silent;
    }

    void optionErrors()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, error);
        const auto result = parseOptions(QStringList{"kelvane-sim"} + arguments);
        const QString *message = std::get_if<QString>(&result);
        QVERIFY(message);
        QCOMPARE(*message, error);
    }

    void helpNamesEveryOption()
    {
        const std::optional<Options> options = parsed({"--help"});
        QVERIFY(options);
        for (const char *name : {"--modules", "--verbose", "--seed", "--restart-ms", "--silent-queries", "--drop",
                                 "--delay", "--reject", "--no-write-acks", "--refuse-write", "--duplicate",
                                 "--forget-writes", "--silent-modules"})
            QVERIFY2(options->help.contains(QLatin1String(name)), name);
    }
};

QTEST_GUILESS_MAIN(TestSim)
#include "tst_sim.moc"
