// 254 modules on two LANs, half on each of the tool's two cards, answering one
// scan: does every module reach the list? A fresh engine each run.
#include "Report.h"
#include "Wait.h"

#include "core/HeadlessPanel.h"
#include "core/QtOneShotTimer.h"
#include "operations/Engine.h"
#include "protocol/UdpLink.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <memory>
#include <sys/prctl.h>

using namespace kelvane;
using namespace kelvane::bench;

namespace {
constexpr int Modules = DeviceTableCapacity;
constexpr int FirstLan = Modules / 2;  // modules 1 to 127; 128 to 254 on the second LAN
constexpr int Runs = 100;
constexpr int QuietMs = 100;
constexpr int CountBeforeMs = TimeoutMs - 50;
constexpr int ScanMs = (ScanRounds + 1) * TimeoutMs;

// kelvane-sim on a peer host of one LAN, quiet.
std::unique_ptr<QProcess> simulate(int lan, int first, int count)
{
    auto process = std::make_unique<QProcess>();
    process->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start(QStringLiteral(KELVANE_PEER_HOST),
                   {QStringLiteral("--lan"), QString::number(lan), QStringLiteral(KELVANE_SIM),
                    QStringLiteral("--first"), QString::number(first), QStringLiteral("--modules"),
                    QString::number(count)});
    QByteArray out;
    const QDeadlineTimer deadline(10000);
    while (!out.contains("ready\n")) {
        if (!process->waitForReadyRead(int(deadline.remainingTime())))
            fail(format("bench_two_cards: kelvane-sim on LAN %d did not get ready", lan));
        out += process->readAllStandardOutput();
    }
    return process;
}

struct Run {
    int afterFirstRound = 0;
    int afterScan = 0;
    int cards = 0;
};

Run scan()
{
    HeadlessPanel panel;
    UdpLink link;
    QtOneShotTimer timer;
    Engine engine(panel, link, timer);
    engine.startUp();

    Run run;
    run.cards = int(link.cards().size());
    {
        // The first round's replies, counted once they stop and before the second round.
        Wait wait(CountBeforeMs);
        QTimer quiet;
        quiet.setSingleShot(true);
        quiet.setInterval(QuietMs);
        QObject::connect(&quiet, &QTimer::timeout, wait.context(), [&] { wait.done(); });
        QObject::connect(&link, &Link::datagramReceived, wait.context(), [&] { quiet.start(); });
        engine.scan();
        quiet.start();
        wait.exec();
        run.afterFirstRound = panel.deviceRowCount();
    }
    Wait ended(ScanMs);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, ended.context(), [&] {
        if (engine.machine().ScanRound == 0)
            ended.done();
    });
    poll.start(10);
    if (!ended.exec())
        fail("bench_two_cards: the scan did not end");
    run.afterScan = panel.deviceRowCount();
    return run;
}
}  // namespace

int main(int argc, char *argv[])
{
    requirePrivateNet("bench_two_cards");
    QCoreApplication app(argc, argv);

    const std::unique_ptr<QProcess> lan1 = simulate(1, 1, FirstLan);
    const std::unique_ptr<QProcess> lan2 = simulate(2, FirstLan + 1, Modules - FirstLan);

    int complete = 0, minListed = Modules, minFirstRound = Modules, cards = 0;
    for (int i = 0; i < Runs; ++i) {
        const Run run = scan();
        complete += run.afterScan == Modules ? 1 : 0;
        minListed = std::min(minListed, run.afterScan);
        minFirstRound = std::min(minFirstRound, run.afterFirstRound);
        cards = run.cards;
    }
    row(format("two cards: %d modules (%d + %d), one scan, %d runs", Modules, FirstLan, Modules - FirstLan, Runs),
        format("%d/%d runs complete, min listed %d", complete, Runs, minListed),
        format("%d/%d, min %d", Runs, Runs, Modules), verdict(complete == Runs && cards == 2));
    row("two cards: listed after the first broadcast round (fewest)", format("%d/%d", minFirstRound, Modules), "",
        Info);
    // peer-host hands TERM on to its simulator and ends with it.
    for (QProcess *sim : {lan1.get(), lan2.get()}) {
        sim->terminate();
        sim->waitForFinished(5000);
    }
    return 0;
}
