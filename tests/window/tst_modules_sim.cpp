// SPDX-License-Identifier: Apache-2.0
// The modules table on the real socket against kelvane-sim on two LANs: an apply that numbers and
// verifies the modules that answer, while a silent one on the other card fails alone.
#include "ModulesWindow.h"
#include "MainForm.h"
#include "support/E2eRig.h"
#include "support/Profiles.h"
#include "support/TestClock.h"

#include <QTableView>

using namespace kelvane;
using namespace kelvane::test;

class ModulesOnTheWire : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QCOMPARE(outsideCards(), QStringList()); }
    void appliesAndFailsAlone();
};

void ModulesOnTheWire::appliesAndFailsAlone()
{
    // Modules 1 and 2 on one card; module 3 on the other answers scans and nothing else.
    SimProcess answering;
    QVERIFY(answering.start({"--modules", "2"}));
    SimProcess silent;
    QVERIFY(silent.start({"--first", "3", "--modules", "1", "--silent-queries"}, 2));
    UdpLink link;
    QtOneShotTimer timer;
    MainForm form{link, timer, &fixedNow};
    QTemporaryDir dir;
    writeFile(dir, "line3.json", profileOf({{"baud_rate", "115200bps"}, {"socket_mode", "UDP组播"}}));
    ModulesWindow *window = &form.showModules();
    window->setProfileChooser([&] { return dir.filePath("line3.json"); });
    window->setCsvChooser([&] { return dir.filePath("modules.csv"); });
    window->setApplyAsker([](int, const QString &) { return std::optional(ApplyChoice{"192.0.2.50", true, false, 8}); });
    QStringList messages;
    window->setMessageShower([&](const QString &title, const QString &text) { messages << title + '\n' + text; });
    window->setConfirmer([](const QString &, const QString &) { return true; });

    form.presenter().scan();
    QVERIFY(QTest::qWaitFor([&] { return form.engine().machine().ScanRound == 0; }, E2eTimeout));
    QCOMPARE(window->model().rowCount(), 3);
    window->view()->selectAll();
    window->applyAction()->trigger();
    QVERIFY(window->running());
    QVERIFY(QTest::qWaitFor([&] { return !window->running(); }, 20000));
    QCOMPARE(messages, QStringList());
    const int row = window->model().rowOf(*DeviceAddress::fromHex(QStringLiteral("024B56000003")));
    const QString shown = window->model().index(row, ModulesModel::Result).data().toString();
    QVERIFY2(shown.startsWith("失败：") && shown.contains("024B56000003"), qPrintable(shown));

    window->exportAction()->trigger();
    QFile file(dir.filePath("modules.csv"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QHash<QByteArray, QByteArray> byModule;
    for (const QByteArray &line : file.readAll().split('\n').mid(1))
        byModule.insert(line.split(',').value(1), line);
    // Both answer from the peer host's one address: each is warned of the other. Verified: each was
    // read back holding its own number and the profile.
    for (int i = 1; i <= 2; ++i) {
        const QString line = QString::fromUtf8(byModule.value("024B5600000" + QByteArray::number(i)));
        QVERIFY2(line.endsWith(QString(",192.0.2.2,%1,192.0.2.1,192.000.002.05%2,115200bps,UDP组播,duplicate-ip,verified")
                                   .arg(answering.card()).arg(i - 1)),
                 qPrintable(line));
    }
    // Never read, so its values stay empty; alone on its LAN, it shares no address.
    QVERIFY2(byModule.value("024B56000003").endsWith(",198.51.100.1,,,,,failed"), byModule.value("024B56000003").constData());
}

QTEST_MAIN(ModulesOnTheWire)
#include "tst_modules_sim.moc"
