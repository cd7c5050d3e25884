// The simulated network's answers, byte for byte, with and without faults.
#include "sim/Delivery.h"
#include "sim/Options.h"
#include "sim/Responder.h"

#include "replies/Acknowledgement.h"
#include "replies/ParameterReply.h"

#include <QTest>

using namespace kelvane;
using namespace kelvane::sim;

namespace {
QByteArray address(int index)
{
    return ModuleModel::addressOf(index).toByteArray();
}
const QByteArray A1 = address(0);
const QByteArray A2 = address(1);
const QByteArray A3 = address(2);
const QByteArray Ok = "OK\r\n";
const QByteArray Er = "ER\r\n";

QByteArray discovery(const QByteArray &addr)
{
    return addr + "KVS-100\r\n";
}
}  // namespace

class ResponderTest : public QObject {
    Q_OBJECT

private slots:
    void answers_data();
    void answers();
    void writeReachesOnlyTheAddressedModule();
    void defaultsRestoreFactoryValues();
    void resetModuleIsDeafUntilRestarted();
    void faults_data();
    void faults();
    void toolRefusesTheAnswersMeantToBeRefused_data();
    void toolRefusesTheAnswersMeantToBeRefused();
    void delivery_data();
    void delivery();
    void dropsAreSeededAndNearTheFraction();
    void badOptionsAreRefused_data();
    void badOptionsAreRefused();
    void optionsAreTaken();
};

void ResponderTest::answers_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArrayList>("expected");

    const QByteArrayList none;
    QTest::newRow("setup: every module, in order")
        << QByteArray("SETUP") << QByteArrayList{discovery(A1), discovery(A2), discovery(A3)};
    QTest::newRow("setup with CR") << QByteArray("SETUP\r") << none;
    QTest::newRow("setup cut short") << QByteArray("SETU") << none;
    QTest::newRow("lower-case setup") << QByteArray("setup") << none;
    QTest::newRow("baud of module 2") << A2 + "ATUB\r" << QByteArrayList{A2 + "02\r\n"};
    QTest::newRow("data bits of module 1") << A1 + "ATUD\r" << QByteArrayList{A1 + "09\r\n"};
    QTest::newRow("stop bits of module 2") << A2 + "ATUS\r" << QByteArrayList{A2 + "02\r\n"};
    QTest::newRow("time delimiter of module 1") << A1 + "ATTM\r" << QByteArrayList{A1 + "00003\r\n"};
    QTest::newRow("port of module 3") << A3 + "ATPT\r" << QByteArrayList{A3 + "00504\r\n"};
    QTest::newRow("own address of module 3") << A3 + "ATIP\r" << QByteArrayList{A3 + "192.168.001.012\r\n"};
    QTest::newRow("start mode of module 2") << A2 + "ATPD\r" << QByteArrayList{A2 + "01\r\n"};
    QTest::newRow("query without CR") << A1 + "ATUB" << none;
    QTest::newRow("query to nobody") << address(7) + "ATUB\r" << none;
    QTest::newRow("address alone") << A1 << none;
    QTest::newRow("shorter than an address") << A1.left(3) << none;
    QTest::newRow("unknown code") << A1 + "ATZZ\r" << QByteArrayList{A1 + Er};
    QTest::newRow("malformed command") << A1 + "ATUBX\r" << QByteArrayList{A1 + Er};
    QTest::newRow("write") << A1 + "ATUB=3\r" << QByteArrayList{A1 + Ok};
    QTest::newRow("write out of range") << A1 + "ATUB=:\r" << QByteArrayList{A1 + Er};
    QTest::newRow("empty text write") << A1 + "ATTM=\r" << QByteArrayList{A1 + Er};
    QTest::newRow("defaults") << A2 + "ATDF\r" << QByteArrayList{A2 + Ok};
    QTest::newRow("reset: restarts silently") << A1 + "END" << none;
    QTest::newRow("exit frame") << QByteArray(6, '\xFF') + "END" << none;
}

void ResponderTest::answers()
{
    QFETCH(QByteArray, request);
    QFETCH(QByteArrayList, expected);
    Responder responder(3);
    QCOMPARE(responder.respond(request, 0), expected);
}

void ResponderTest::writeReachesOnlyTheAddressedModule()
{
    Responder responder(3);
    QCOMPARE(responder.respond(A2 + "ATIP=192.168.0.7\r", 0), QByteArrayList{A2 + Ok});
    QCOMPARE(responder.respond(A2 + "ATIP\r", 0), QByteArrayList{A2 + "192.168.000.007\r\n"});
    QCOMPARE(responder.respond(A1 + "ATIP\r", 0), QByteArrayList{A1 + "192.168.001.010\r\n"});
    QCOMPARE(responder.respond(A3 + "ATIP\r", 0), QByteArrayList{A3 + "192.168.001.012\r\n"});
}

void ResponderTest::defaultsRestoreFactoryValues()
{
    Responder responder(2);
    responder.respond(A1 + "ATUB=0\r", 0);
    responder.respond(A1 + "ATPT=8080\r", 0);
    QCOMPARE(responder.respond(A1 + "ATPT\r", 0), QByteArrayList{A1 + "08080\r\n"});
    QCOMPARE(responder.respond(A1 + "ATDF\r", 0), QByteArrayList{A1 + Ok});
    QCOMPARE(responder.respond(A1 + "ATUB\r", 0), QByteArrayList{A1 + "09\r\n"});
    QCOMPARE(responder.respond(A1 + "ATPT\r", 0), QByteArrayList{A1 + "00502\r\n"});
}

void ResponderTest::resetModuleIsDeafUntilRestarted()
{
    Responder responder(3, {}, 1000);
    QCOMPARE(responder.respond(A2 + "END", 100), QByteArrayList());
    QVERIFY(responder.isRestarting(1, 100));

    QCOMPARE(responder.respond("SETUP", 600), (QByteArrayList{discovery(A1), discovery(A3)}));
    QCOMPARE(responder.respond(A2 + "ATUB\r", 600), QByteArrayList());
    // What reaches a restarting module is lost, writes included.
    QCOMPARE(responder.respond(A2 + "ATUB=0\r", 600), QByteArrayList());
    // A second reset while it restarts does not lengthen the pause.
    QCOMPARE(responder.respond(A2 + "END", 700), QByteArrayList());
    QCOMPARE(responder.respond("SETUP", 1099), (QByteArrayList{discovery(A1), discovery(A3)}));

    QCOMPARE(responder.respond("SETUP", 1100),
             (QByteArrayList{discovery(A1), discovery(A2), discovery(A3)}));
    QCOMPARE(responder.respond(A2 + "ATUB\r", 1100), QByteArrayList{A2 + "02\r\n"});
}

void ResponderTest::faults_data()
{
    QTest::addColumn<bool>("silentQueries");
    QTest::addColumn<bool>("noWriteAcks");
    QTest::addColumn<QByteArray>("reject");
    QTest::addColumn<QByteArray>("refuseWrite");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArrayList>("expected");
    // A query made afterwards with the faults off, to see what was stored.
    QTest::addColumn<QByteArray>("probe");
    QTest::addColumn<QByteArray>("probeAnswer");

    const QByteArray none;
    QTest::newRow("silent: query unanswered")
        << true << false << none << none << A1 + "ATUB\r" << QByteArrayList() << none << none;
    QTest::newRow("silent: still found")
        << true << false << none << none << QByteArray("SETUP")
        << QByteArrayList{discovery(A1), discovery(A2)} << none << none;
    QTest::newRow("silent: writes acknowledged")
        << true << false << none << none << A1 + "ATUB=3\r" << QByteArrayList{A1 + Ok}
        << A1 + "ATUB\r" << A1 + "03\r\n";
    QTest::newRow("no acks: write stored unanswered")
        << false << true << none << none << A1 + "ATUB=3\r" << QByteArrayList()
        << A1 + "ATUB\r" << A1 + "03\r\n";
    QTest::newRow("no acks: defaults acknowledged")
        << false << true << none << none << A1 + "ATDF\r" << QByteArrayList{A1 + Ok} << none << none;
    QTest::newRow("reject: out-of-range digit")
        << false << false << QByteArray("UB") << none << A1 + "ATUB\r"
        << QByteArrayList{A1 + "0:\r\n"} << none << none;
    QTest::newRow("reject: other codes answered")
        << false << false << QByteArray("UB") << none << A2 + "ATUT\r"
        << QByteArrayList{A2 + "01\r\n"} << none << none;
    QTest::newRow("refuse: ER and not stored")
        << false << false << none << QByteArray("UB") << A1 + "ATUB=3\r"
        << QByteArrayList{A1 + Er} << A1 + "ATUB\r" << A1 + "09\r\n";
    QTest::newRow("refuse: other writes taken")
        << false << false << none << QByteArray("UB") << A1 + "ATIP=1.2.3.4\r"
        << QByteArrayList{A1 + Ok} << A1 + "ATIP\r" << A1 + "001.002.003.004\r\n";
}

void ResponderTest::faults()
{
    QFETCH(bool, silentQueries);
    QFETCH(bool, noWriteAcks);
    QFETCH(QByteArray, reject);
    QFETCH(QByteArray, refuseWrite);
    QFETCH(QByteArray, request);
    QFETCH(QByteArrayList, expected);
    QFETCH(QByteArray, probe);
    QFETCH(QByteArray, probeAnswer);

    Faults faults;
    faults.silentQueries = silentQueries;
    faults.noWriteAcks = noWriteAcks;
    faults.rejectCode = reject;
    faults.refuseWriteCode = refuseWrite;
    Responder responder(2, faults);
    QCOMPARE(responder.respond(request, 0), expected);
    if (probe.isEmpty())
        return;
    // The same modules seen without the faults: what the request left behind.
    QCOMPARE(responder.module(0).answer(rowOfCode(probe.mid(8, 2))), probeAnswer);
}

void ResponderTest::toolRefusesTheAnswersMeantToBeRefused_data()
{
    QTest::addColumn<QByteArray>("code");
    for (const Parameter &p : catalogue()) {
        if (p.kind == ValueKind::Choice)
            QTest::newRow(p.code) << QByteArray(p.code);
    }
}

void ResponderTest::toolRefusesTheAnswersMeantToBeRefused()
{
    QFETCH(QByteArray, code);
    Faults faults;
    faults.rejectCode = code;
    faults.refuseWriteCode = code;
    Responder responder(1, faults);

    const QByteArrayList answer = responder.respond(A1 + "AT" + code + "\r", 0);
    QCOMPARE(answer.size(), 1);
    const Answer decoded = decodeAnswer(catalogue()[rowOfCode(code)], answer.first());
    QVERIFY(std::holds_alternative<answer::Rejected>(decoded));

    const QByteArrayList ack = responder.respond(A1 + "AT" + code + "=1\r", 0);
    QCOMPARE(ack.size(), 1);
    QCOMPARE(ackVerdict(ack.first()), AckVerdict::Negative);
}

void ResponderTest::delivery_data()
{
    QTest::addColumn<double>("drop");
    QTest::addColumn<bool>("duplicate");
    QTest::addColumn<QByteArrayList>("expected");

    QTest::newRow("as they are") << 0.0 << false << QByteArrayList{"a", "b", "c"};
    QTest::newRow("each twice, in turn") << 0.0 << true << QByteArrayList{"a", "a", "b", "b", "c", "c"};
    QTest::newRow("all lost") << 1.0 << false << QByteArrayList();
    QTest::newRow("all lost, none doubled") << 1.0 << true << QByteArrayList();
}

void ResponderTest::delivery()
{
    QFETCH(double, drop);
    QFETCH(bool, duplicate);
    QFETCH(QByteArrayList, expected);
    Delivery delivery(drop, duplicate, 1);
    QCOMPARE(delivery.apply({"a", "b", "c"}), expected);
}

void ResponderTest::dropsAreSeededAndNearTheFraction()
{
    QByteArrayList answers;
    for (int i = 0; i < 4000; ++i)
        answers.append(QByteArray::number(i));
    Delivery first(0.25, false, 7);
    Delivery again(0.25, false, 7);
    Delivery other(0.25, false, 8);
    const QByteArrayList kept = first.apply(answers);
    QCOMPARE(again.apply(answers), kept);
    QVERIFY(other.apply(answers) != kept);
    QVERIFY2(kept.size() > 2880 && kept.size() < 3120, qPrintable(QString::number(kept.size())));
}

void ResponderTest::badOptionsAreRefused_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("complaint");

    QTest::newRow("negative count") << QStringList{"--modules", "-1"} << "--modules";
    QTest::newRow("count not a number") << QStringList{"--modules", "three"} << "--modules";
    QTest::newRow("drop above 1") << QStringList{"--drop", "1.5"} << "--drop";
    QTest::newRow("drop below 0") << QStringList{"--drop", "-0.1"} << "--drop";
    QTest::newRow("negative delay") << QStringList{"--delay", "-5"} << "--delay";
    QTest::newRow("reject a text row") << QStringList{"--reject", "IP"} << "--reject";
    QTest::newRow("reject the start mode") << QStringList{"--reject", "PD"} << "--reject";
    QTest::newRow("reject lower case") << QStringList{"--reject", "ub"} << "--reject";
    QTest::newRow("refuse an unknown code") << QStringList{"--refuse-write", "XX"} << "--refuse-write";
    QTest::newRow("unknown option") << QStringList{"--louder"} << "louder";
    QTest::newRow("stray argument") << QStringList{"7"} << "7";
}

void ResponderTest::badOptionsAreRefused()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, complaint);
    const auto parsed = parseOptions(QStringList{"kelvane-sim"} + arguments);
    const auto *error = std::get_if<QString>(&parsed);
    QVERIFY(error);
    QVERIFY2(error->contains(complaint), qPrintable(*error));
}

void ResponderTest::optionsAreTaken()
{
    const auto defaults = parseOptions({"kelvane-sim"});
    QVERIFY(std::holds_alternative<Options>(defaults));
    QCOMPARE(std::get<Options>(defaults).modules, 3);
    QCOMPARE(std::get<Options>(defaults).restartMs, 1000);

    const auto parsed = parseOptions({"kelvane-sim", "--modules", "300", "--verbose", "--seed", "42",
                                      "--drop", "0.5", "--delay", "150", "--restart-ms", "2000",
                                      "--silent-queries", "--no-write-acks", "--reject", "UD",
                                      "--refuse-write", "IP", "--duplicate"});
    const auto *options = std::get_if<Options>(&parsed);
    QVERIFY(options);
    QCOMPARE(options->modules, 300);
    QVERIFY(options->verbose);
    QCOMPARE(options->seed, 42u);
    QCOMPARE(options->drop, 0.5);
    QCOMPARE(options->delayMs, 150);
    QCOMPARE(options->restartMs, 2000);
    QVERIFY(options->faults.silentQueries);
    QVERIFY(options->faults.noWriteAcks);
    QCOMPARE(options->faults.rejectCode, QByteArray("UD"));
    QCOMPARE(options->faults.refuseWriteCode, QByteArray("IP"));
    QVERIFY(options->duplicate);
}

QTEST_GUILESS_MAIN(ResponderTest)
#include "tst_responder.moc"
