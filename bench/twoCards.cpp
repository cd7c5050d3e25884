// 254 modules on two LANs, half behind each of the tool's two cards, answering
// one scan: does every module reach the list? A fresh engine each run.
#include "Harness.h"

namespace kelvane::bench {

void twoCards()
{
    constexpr int Modules = DeviceTableCapacity, OnFirstLan = Modules / 2, Runs = 100;
    Simulator first({"--first", "1", "--modules", QString::number(OnFirstLan)}, 1);
    Simulator second({"--first", QString::number(OnFirstLan + 1), "--modules", QString::number(Modules - OnFirstLan)},
                     2);
    // Both LANs behind one card would list every module too, and prove nothing.
    const auto cards = [](Tool &tool) {
        if (tool.link.cards().size() != 2)
            fail(QStringLiteral("the link sees %1 cards, not the two LANs").arg(tool.link.cards().size()));
    };
    const Listing listed = scanRuns(Runs, Modules, true, {}, cards);
    row(QStringLiteral("two cards: %1 modules (%2 + %3), one scan, %4 runs")
            .arg(Modules).arg(OnFirstLan).arg(Modules - OnFirstLan).arg(Runs),
        QStringLiteral("%1/%2 runs complete, fewest listed %3").arg(listed.complete).arg(Runs).arg(listed.fewest),
        QStringLiteral("%1/%1, fewest %2").arg(Runs).arg(Modules), listed.complete == Runs);
    row("two cards: listed after the first broadcast round (fewest)",
        QStringLiteral("%1/%2").arg(listed.fewestFirstRound).arg(Modules));
}

}  // namespace kelvane::bench
