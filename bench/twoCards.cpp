// 254 modules on two LANs, half behind each of the tool's two cards, answering
// one scan: does every module reach the list? A fresh engine each run.
#include "Harness.h"

#include <algorithm>

namespace kelvane::bench {

namespace {
constexpr int Modules = DeviceTableCapacity;
constexpr int OnFirstLan = Modules / 2;  // modules 1 to 127; 128 to 254 on the second LAN
constexpr int Runs = 100;
// The first round's replies are counted before Timer1 sends the second round.
constexpr int FirstRoundMs = TimeoutMs - 50;

struct Listed {
    int afterFirstRound = 0;
    int afterScan = 0;
    int cards = 0;
};

Listed scanOnce()
{
    Tool tool;
    Listed listed;
    timeUntil([&] { tool.engine.scan(); }, [&] { return tool.panel.deviceRowCount() == Modules; }, FirstRoundMs);
    if (tool.engine.machine().ScanRound != 1)
        fail("a second discovery round went out before the first round's rows were counted");
    listed.afterFirstRound = tool.panel.deviceRowCount();
    // The link looks for cards as each discovery round goes out.
    listed.cards = int(tool.link.cards().size());
    if (!timeUntil([] {}, [&] { return tool.engine.machine().ScanRound == 0; }, ScanRounds * TimeoutMs + 2000))
        fail("the scan never ended");
    listed.afterScan = tool.panel.deviceRowCount();
    return listed;
}
}  // namespace

void twoCards()
{
    Simulator first({"--first", "1", "--modules", QString::number(OnFirstLan)}, 1);
    Simulator second({"--first", QString::number(OnFirstLan + 1), "--modules", QString::number(Modules - OnFirstLan)},
                     2);
    int complete = 0, fewest = Modules, fewestFirstRound = Modules;
    for (int run = 0; run < Runs; ++run) {
        const Listed listed = scanOnce();
        // Both LANs behind one card would list every module too, and prove nothing.
        if (listed.cards != 2)
            fail(QStringLiteral("the link sees %1 cards, not the two LANs").arg(listed.cards));
        complete += listed.afterScan == Modules;
        fewest = std::min(fewest, listed.afterScan);
        fewestFirstRound = std::min(fewestFirstRound, listed.afterFirstRound);
    }
    row(QStringLiteral("two cards: %1 modules (%2 + %3), one scan, %4 runs")
            .arg(Modules)
            .arg(OnFirstLan)
            .arg(Modules - OnFirstLan)
            .arg(Runs),
        QStringLiteral("%1/%2 runs complete, fewest listed %3").arg(complete).arg(Runs).arg(fewest),
        QStringLiteral("%1/%1, fewest %2").arg(Runs).arg(Modules), complete == Runs);
    row("two cards: listed after the first broadcast round (fewest)",
        QStringLiteral("%1/%2").arg(fewestFirstRound).arg(Modules));
}

}  // namespace kelvane::bench
