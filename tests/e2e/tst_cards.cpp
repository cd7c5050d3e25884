// SPDX-License-Identifier: Apache-2.0
// The tool on a host with two network cards, a simulator on each LAN: one scan
// finds both, every frame for a module leaves by its own card only, and the
// cards can be narrowed down or lost between scans.
#include "support/E2eRig.h"

#include "protocol/Frames.h"

using namespace kelvane;
using namespace kelvane::test;

namespace {
const QString Lan2 = QStringLiteral("198.51.100.1");
const QString Setup1 = heard("SETUP"), Setup2 = heard("SETUP", Lan2 + ":65002");

bool setLink(const QString &card, const char *state)
{
    return QProcess::execute("ip", {"link", "set", "dev", card, state}) == 0;
}

// The frames a simulator heard that are not discovery requests.
QStringList commands(QStringList received)
{
    received.removeAll(Setup1);
    received.removeAll(Setup2);
    return received;
}

}  // namespace

class TwoCards : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QCOMPARE(outsideCards(), QStringList()); }
    void init();
    void cleanup();
    void eachModuleByItsOwnCard();
    void cardDownBetweenScans();
    void namedCardThenNoCardUp();
    void unknownCardBeforeTheWindow();

private:
    std::unique_ptr<SimProcess> m_sim1, m_sim2;
};

void TwoCards::init()
{
    // The command line is checked before any LAN would be used.
    if (QTest::currentTestFunction() == QByteArray("unknownCardBeforeTheWindow"))
        return;
    // Modules 1 and 2 on the first LAN, 2 and 3 on the second.
    m_sim1 = std::make_unique<SimProcess>();
    m_sim2 = std::make_unique<SimProcess>();
    QVERIFY(m_sim1->start({"--modules", "2"}, 1));
    QVERIFY(m_sim2->start({"--modules", "2", "--first", "2"}, 2));
}

void TwoCards::cleanup()
{
    m_sim1.reset();
    m_sim2.reset();
}

void TwoCards::eachModuleByItsOwnCard()
{
    ToolRig tool;
    QVERIFY(tool.scan());
    // Module 2 answers on both LANs and is listed once.
    QCOMPARE(tool.devices().size(), 3);
    QVERIFY(tool.rowOf(1) >= 0 && tool.rowOf(2) >= 0 && tool.rowOf(3) >= 0);

    // One discovery request per round on each LAN, from its own card's address; module 3's
    // 17 queries on the second LAN only, and module 2's on one LAN only.
    QCOMPARE(tool.read(tool.rowOf(3)), 1);
    QCOMPARE(tool.panel.addressDisplay(), "本机IP地址：198.51.100.1    端口号： 65002");
    QCOMPARE(tool.read(tool.rowOf(2)), 1);
    QTRY_COMPARE_WITH_TIMEOUT(commands(m_sim1->received()).size() + commands(m_sim2->received()).size(), 34,
                              E2eTimeout);
    const QString own = QStringLiteral("in  02 4B 56 00 00 03 ");
    const QStringList onLan2 = commands(m_sim2->received());
    QCOMPARE(onLan2.filter(own).size(), 17);
    QCOMPARE(onLan2.filter("| " + Lan2 + ":65002").size(), onLan2.size());
    QCOMPARE(m_sim2->received().first(4), QStringList(4, Setup2));
    QCOMPARE(m_sim1->received().first(4), QStringList(4, Setup1));
    QCOMPARE(commands(m_sim1->received()).filter(own), QStringList());
}

void TwoCards::cardDownBetweenScans()
{
    ToolRig tool;
    QVERIFY(tool.scan());
    QVERIFY(setLink(m_sim2->card(), "down"));

    QVERIFY(tool.scan());
    // No error: the start entry and the count, as in any scan; the list keeps what earlier scans found.
    QCOMPARE(tool.panel.logText().split("\r\n").size(), 5);
    QCOMPARE(tool.log(1), QStringList{"检测到 3个设备。"});
    QTRY_COMPARE_WITH_TIMEOUT(m_sim1->received(), QStringList(8, Setup1), E2eTimeout);
    QCOMPARE(m_sim2->received(), QStringList(4, Setup2));

    // Module 3 is forgotten: a frame for it goes out of every card still up.
    QCOMPARE(tool.read(tool.rowOf(3)), 0);
    QCOMPARE(commands(m_sim1->received()).size(), 3);  // the first query, three attempts

    // Back up, the next scan finds it there again.
    QVERIFY(setLink(m_sim2->card(), "up"));
    QTRY_VERIFY_WITH_TIMEOUT(QNetworkInterface::interfaceFromName(m_sim2->card()).flags().testFlag(QNetworkInterface::IsRunning), E2eTimeout);
    QVERIFY(tool.scan());
    QCOMPARE(tool.read(tool.rowOf(3)), 1);
}

void TwoCards::namedCardThenNoCardUp()
{
    {
        // Limited to one card, as --interface does: discovery leaves by it only.
        UdpLink named;
        named.setCardNames({m_sim2->card()});
        QVERIFY(named.open());
        QVERIFY(named.send(frames::discoveryRequest()));
        QTRY_COMPARE_WITH_TIMEOUT(m_sim2->received(), QStringList{Setup2}, E2eTimeout);
        QCOMPARE(m_sim1->received(), QStringList());
        QVERIFY(setLink(m_sim2->card(), "down"));
        QVERIFY(!named.send(frames::discoveryRequest()));
        QCOMPARE(named.errorString(), "指定的网卡（" + m_sim2->card() + "）都没有连接");
    }
    QVERIFY(setLink(m_sim1->card(), "down"));
    UdpLink link;
    QVERIFY(link.open());
    QVERIFY(!link.send(frames::discoveryRequest()));
    QCOMPARE(link.errorString(), "没有可以广播的网卡：请接上网线或连接网络");
}

void TwoCards::unknownCardBeforeTheWindow()
{
    QProcess tool;
    // No display: the answer must come before the window would need one.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    environment.insert("QT_QPA_PLATFORM", "xcb");
    tool.setProcessEnvironment(environment);
    tool.start(qEnvironmentVariable("KELVANE_BUILD_DIR") + "/kelvane-config", {"--interface", "nosuch0"});
    QVERIFY(tool.waitForFinished(E2eTimeout));
    QCOMPARE(tool.exitCode(), 2);
    QVERIFY(tool.readAllStandardError().startsWith("kelvane-config: no network card is called \"nosuch0\""));
}

QTEST_GUILESS_MAIN(TwoCards)
#include "tst_cards.moc"
