// SPDX-License-Identifier: Apache-2.0
// The tool's engine on its real socket and timer against kelvane-sim on a peer
// host: the simulator's answers decoded by the tool, the tool's requests seen
// at the simulator's end.
#include "support/E2eRig.h"

#include <QTimer>
#include <QUdpSocket>

using namespace kelvane;
using namespace kelvane::test;

namespace {
const QByteArray Address1 = QByteArray::fromHex("024B56000001");
const QByteArrayList Codes = QByteArray("UB UT UD TM UP BT US CM GA SM IP PT DA DP SR ET PD").split(' ');

// The 17 queries of a read of module 1, in the order the module is asked.
QStringList readFrames()
{
    QStringList frames;
    for (const QByteArray &code : Codes)
        frames << heard(Address1 + "AT" + code + '\r');
    return frames;
}

// Another module on the same LAN: its answers, shaped like the ones the tool awaits,
// arrive every few milliseconds while it runs.
struct ForeignModule {
    QUdpSocket socket;
    QTimer timer;
    QByteArrayList datagrams;
    int next = 0;

    explicit ForeignModule(const QByteArrayList &replayed) : datagrams(replayed)
    {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            socket.writeDatagram(datagrams[next++ % datagrams.size()], QHostAddress::LocalHost, LocalPort);
        });
        timer.start(3);
    }
};
}  // namespace

class EndToEnd : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QCOMPARE(outsideCards(), QStringList()); }
    void wireAndRoundTrip();
};

void EndToEnd::wireAndRoundTrip()
{
    // Another program holds the tool's port: the scan says so and sends nothing.
    QUdpSocket holder;
    QVERIFY(holder.bind(QHostAddress::AnyIPv4, LocalPort));
    ToolRig tool;
    SimProcess sim;
    QVERIFY(sim.start({}));
    QVERIFY(tool.log(2)[0].startsWith("无法打开本地UDP端口 65002："));
    QVERIFY(tool.scan());
    holder.close();

    QVERIFY(tool.scan());
    QCOMPARE(tool.devices(), (QStringList{item(1), item(2), item(3)}));
    const QByteArray module2 = QByteArray::fromHex("024B56000002");
    {
        // Another module's answers, each of which would show a wrong value or end the read
        // were it taken for module 1's.
        ForeignModule other({module2 + "05", module2 + "00001", module2 + "010.020.030.040", module2 + "07"});
        QCOMPARE(tool.read(0), 1);
        QCOMPARE(tool.shown(), Module1);
    }
    QCOMPARE(tool.write(Written), 1);
    QCOMPARE(tool.read(0), 1);
    QCOMPARE(tool.shown(), Written);
    tool.window.restoreDefaults();
    QTRY_COMPARE_WITH_TIMEOUT(tool.log(1), QStringList{"恢复设备 1默认参数成功，请重新读取该设备参数！"}, E2eTimeout);
    QCOMPARE(tool.read(0), 1);
    QCOMPARE(tool.shown(), Module1);
    tool.window.runDevice();
    QCOMPARE(tool.devices(), (QStringList{item(2), item(3)}));

    // Byte for byte, all from port 65002: nothing while the port was held, then four bare
    // discovery requests, a read, a write of every value, a read, defaults, a read, the reset.
    const QByteArrayList values = QByteArray("7 1 8 0007 0 0012 2 2 192.168.002.254 255.255.000.000 "
                                             "192.168.000.007 08080 172.016.005.009 65535 5 0 1").split(' ');
    QStringList wire = QStringList(4, heard("SETUP")) + readFrames();
    for (qsizetype row = 0; row < Codes.size(); ++row)
        wire << heard(Address1 + "AT" + Codes[row] + '=' + values[row] + '\r');
    wire += readFrames() + QStringList{heard(Address1 + "ATDF\r")} + readFrames() + QStringList{heard(Address1 + "END")};
    QTRY_COMPARE_WITH_TIMEOUT(sim.received(), wire, E2eTimeout);
}

QTEST_GUILESS_MAIN(EndToEnd)
#include "tst_e2e.moc"
