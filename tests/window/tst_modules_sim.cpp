// SPDX-License-Identifier: Apache-2.0
// The modules table on the real socket against kelvane-sim on a peer host: an apply that numbers and
// verifies, and a silent module that fails alone.
#include "ModulesWindow.h"
#include "MainForm.h"
#include "support/E2eRig.h"
#include "support/Profiles.h"
#include "support/TestClock.h"

#include <QTableView>

using namespace kelvane;
using namespace kelvane::test;

namespace {
constexpr int RunTimeout = 20000;
}  // namespace

struct SimTable {
    UdpLink link;
    QtOneShotTimer timer;
    MainForm form{link, timer, &fixedNow};
    QTemporaryDir dir;
    QString profilePath = dir.filePath("line3.json");
    QString csvPath = dir.filePath("modules.csv");
    ApplyChoice choice{{}, true, false, 8};
    QStringList messages;
    ModulesWindow *window = nullptr;

    SimTable()
    {
        window = &form.showModules();
        window->setProfileChooser([this] { return profilePath; });
        window->setCsvChooser([this] { return csvPath; });
        window->setApplyAsker([this](int, const QString &) { return std::optional(choice); });
        window->setMessageShower([this](const QString &title, const QString &text) { messages << title + '\n' + text; });
        window->setConfirmer([](const QString &, const QString &) { return true; });
        writeFile(dir, "line3.json", profileOf({{"baud_rate", "115200bps"}, {"socket_mode", "UDP组播"}}));
    }
    bool scan()
    {
        form.presenter().scan();
        return QTest::qWaitFor([this] { return form.engine().machine().ScanRound == 0; }, E2eTimeout);
    }
    bool applyToAll()
    {
        window->view()->selectAll();
        window->applyAction()->trigger();
        return window->running();
    }
    bool ended() { return QTest::qWaitFor([this] { return !window->running(); }, RunTimeout); }
    QList<QByteArray> csv()
    {
        window->exportAction()->trigger();
        QFile file(csvPath);
        return file.open(QIODevice::ReadOnly) ? file.readAll().split('\n') : QList<QByteArray>();
    }
};

class ModulesOnTheWire : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QCOMPARE(outsideCards(), QStringList()); }
    void appliesNumberedAndVerified();
    void silentModuleFailsAlone();
};

void ModulesOnTheWire::appliesNumberedAndVerified()
{
    SimProcess sim;
    QVERIFY(sim.start({"--modules", "3"}));
    SimTable t;
    QVERIFY(t.scan());
    QCOMPARE(t.window->model().rowCount(), 3);
    t.choice.firstIp = "192.0.2.50";
    QVERIFY(t.applyToAll());
    QVERIFY(t.ended());
    QCOMPARE(t.messages, QStringList());
    const QString card = sim.card();
    const QList<QByteArray> lines = t.csv();
    QCOMPARE(lines.size(), 5);
    QCOMPARE(lines[0], "position,address,source,card,card_address,ip_address,baud_rate,socket_mode,warnings,result");
    // Every module answers from the peer host's one address: each is warned of the others. Verified:
    // each module was read back holding its own address and the profile.
    for (int i = 1; i <= 3; ++i) {
        QCOMPARE(QString::fromUtf8(lines[i]),
                 QString("%1,024B5600000%1,192.0.2.2,%2,192.0.2.1,192.000.002.0%3,115200bps,UDP组播,duplicate-ip,verified")
                     .arg(i).arg(card).arg(49 + i));
    }
}

void ModulesOnTheWire::silentModuleFailsAlone()
{
    // Modules 1 and 2 on one card; module 3 on the other answers scans and nothing else.
    SimProcess answering;
    QVERIFY(answering.start({"--modules", "2"}));
    SimProcess silent;
    QVERIFY(silent.start({"--first", "3", "--modules", "1", "--silent-queries"}, 2));
    SimTable t;
    QVERIFY(t.scan());
    QCOMPARE(t.window->model().rowCount(), 3);
    QVERIFY(t.applyToAll());
    QVERIFY(t.ended());
    const int row = t.window->model().rowOf(*DeviceAddress::fromHex(QStringLiteral("024B56000003")));
    const QModelIndex result = t.window->model().index(row, ModulesModel::Result);
    const QString shown = result.data().toString();
    QVERIFY2(shown.startsWith("失败：") && shown.contains("024B56000003"), qPrintable(shown));
    // The rows in list order, which is the order the two LANs answered in.
    QHash<QByteArray, QByteArray> byModule;
    for (const QByteArray &line : t.csv().mid(1))
        byModule.insert(line.split(',').value(1), line);
    for (const QByteArray &module : {QByteArray("024B56000001"), QByteArray("024B56000002")})
        QVERIFY2(byModule.value(module).endsWith(",115200bps,UDP组播,duplicate-ip,verified"), byModule.value(module).constData());
    // Never read, so its values stay empty; alone on its LAN, it shares no address.
    QVERIFY2(byModule.value("024B56000003").endsWith(",198.51.100.1,,,,,failed"), byModule.value("024B56000003").constData());
}

QTEST_MAIN(ModulesOnTheWire)
#include "tst_modules_sim.moc"
