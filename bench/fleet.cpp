// SPDX-License-Identifier: Apache-2.0
// `kelvane apply FILE MODULE... --verify --always` as an operator runs it, process
// start to exit, scan included, with 254 virtual modules on the peer host:
// does all of them at full parallelism take less than three times one module?
#include "Harness.h"

#include <QTemporaryDir>

#include <map>

namespace kelvane::bench {

void fleet()
{
    constexpr int Modules = DeviceTableCapacity, Counts[] = {1, 20, Modules}, Parallels[] = {1, Modules}, Runs = 3;
    Simulator sim({"--modules", QString::number(Modules)});
    const QStringList modules = listedModules(Modules);
    const QTemporaryDir dir;
    const QString profile = dir.filePath("profile.json");
    command({"save", modules[0], profile});

    // Each case once a run, so that a slower spell of the machine falls on all alike.
    std::map<std::pair<int, int>, std::vector<double>> ms;
    for (int run = 0; run < Runs; ++run) {
        for (const int count : Counts) {
            for (const int parallel : Parallels) {
                const QStringList arguments = QStringList{"apply", profile} + modules.mid(0, count) +
                                              QStringList{"--ip-from", "203.0.113.1", "--verify", "--always",
                                                          "--parallel", QString::number(parallel)};
                // It exits 0 only once every module named is written and read back alike; --always,
                // for after the first run the modules hold the profile and would be left alone.
                ms[{count, parallel}].push_back(command(arguments));
            }
        }
    }
    const auto s = [&](int count, int parallel) { return median(ms[{count, parallel}]) / 1000; };
    for (const int count : Counts) {
        const double beyondOne = (s(count, 1) - s(1, 1)) * 1000 / std::max(count - 1, 1);
        row(QStringLiteral("fleet: `apply --verify` to %1 of %2, --parallel 1 / %2 (median of %3)")
                .arg(count).arg(Modules).arg(Runs),
            QStringLiteral("%1 s / %2 s").arg(fixed(s(count, 1), 2), fixed(s(count, Modules), 2)) +
                (count > 1 ? "; " + fixed(beyondOne, 1) + " ms a module beyond one" : QString()));
    }
    const double ratio = s(Modules, Modules) / s(1, 1);
    rowBelow(QStringLiteral("fleet: %1 modules at --parallel %1 against 1 module (medians)").arg(Modules),
             fixed(s(Modules, Modules), 2) + " s against " + fixed(s(1, 1), 2) + " s: " + fixed(ratio, 2) + "x",
             ratio, 3, "x");
}

}  // namespace kelvane::bench
