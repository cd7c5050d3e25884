// SPDX-License-Identifier: Apache-2.0
// kelvane-sim on its real sockets, on a peer host of the private network:
// the address each module's answers come from, and the state it leaves behind.
#include "support/SimProcess.h"

#include <QFile>
#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QTemporaryDir>
#include <QUdpSocket>

using kelvane::test::SimProcess;

namespace {
constexpr int WaitMs = 3000;
const QHostAddress Broadcast(QHostAddress::Broadcast);

// Datagrams to the simulator from this host's port 65002, as the tool sends them.
struct Tool {
    QUdpSocket socket;

    bool open() { return socket.bind(QHostAddress::AnyIPv4, 65002, QAbstractSocket::ShareAddress); }

    // What `count` answers to one request say, as "024B56000001 192.0.2.10 <text>".
    QStringList ask(const QByteArray &request, int count)
    {
        QStringList answers;
        socket.writeDatagram(request, Broadcast, 65000);
        // Too few answers show in the caller's comparison.
        (void)QTest::qWaitFor(
            [&] {
                while (socket.hasPendingDatagrams()) {
                    const QNetworkDatagram d = socket.receiveDatagram();
                    answers << QString::fromLatin1(d.data().left(6).toHex().toUpper()) + ' ' +
                                   QHostAddress(d.senderAddress().toIPv4Address()).toString() + ' ' +
                                   QString::fromLatin1(d.data().mid(6).trimmed());
                }
                return answers.size() >= count;
            },
            WaitMs);
        answers.sort();
        return answers;
    }
};

QByteArray module1(const QByteArray &command)
{
    return QByteArray::fromHex("024B56000001") + command;
}
}  // namespace

class SimWire : public QObject {
    Q_OBJECT

private slots:
    // Sent only inside scripts/private-net, where every card but loopback leads to a peer host.
    void initTestCase()
    {
        QCOMPARE(qEnvironmentVariable("KELVANE_PRIVATE_NET"), QString("inside"));
        for (const QNetworkInterface &nic : QNetworkInterface::allInterfaces())
            QVERIFY2(nic.type() == QNetworkInterface::Loopback || nic.name().startsWith("kv"), qPrintable(nic.name()));
    }

    void answeredFrom_data()
    {
        QTest::addColumn<QStringList>("addresses");  // on the peer's card besides 192.0.2.2
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("without --answer-from-ip: the host's own address")
            << QStringList{} << QStringList{"--modules", "2", "--module-ip", "1=192.0.2.10"}
            << QStringList{"024B56000001 192.0.2.2 KVS-100", "024B56000002 192.0.2.2 KVS-100"};
        QTest::newRow("each its own, two sharing one, one in another subnet")
            << QStringList{"192.0.2.10", "192.168.1.12"}
            << QStringList{"--answer-from-ip", "--module-ip", "1=192.0.2.10", "--module-ip", "2=192.0.2.10"}
            << QStringList{"024B56000001 192.0.2.10 KVS-100", "024B56000002 192.0.2.10 KVS-100",
                           "024B56000003 192.168.1.12 KVS-100"};
    }

    void answeredFrom()
    {
        QFETCH(QStringList, addresses);
        QFETCH(QStringList, options);
        QFETCH(QStringList, found);
        SimProcess sim;
        QVERIFY(sim.start(options, 1, addresses));
        Tool tool;
        QVERIFY(tool.open());
        QCOMPARE(tool.ask("SETUP", int(found.size())), found);
    }

    // A written address is the one answers come from once the module has restarted.
    void newAddressAfterRestart()
    {
        SimProcess sim;
        QVERIFY(sim.start({"--answer-from-ip", "--modules", "1", "--module-ip", "1=192.0.2.10", "--restart-ms", "50"},
                          1, {"192.0.2.10", "192.0.2.20"}));
        Tool tool;
        QVERIFY(tool.open());
        QCOMPARE(tool.ask(module1("ATIP=192.0.2.20\r"), 1), QStringList{"024B56000001 192.0.2.10 OK"});
        QCOMPARE(tool.ask(module1("ATIP\r"), 1), QStringList{"024B56000001 192.0.2.10 192.000.002.020"});
        tool.socket.writeDatagram(module1("END"), Broadcast, 65000);
        QTest::qWait(200);
        QCOMPARE(tool.ask("SETUP", 1), QStringList{"024B56000001 192.0.2.20 KVS-100"});
    }
};

QTEST_GUILESS_MAIN(SimWire)
#include "tst_sim_wire.moc"
