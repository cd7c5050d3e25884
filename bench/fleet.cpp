// SPDX-License-Identifier: Apache-2.0
// `kelvane apply FILE MODULE... --verify --always` as an operator runs it, process
// start to exit, with 254 virtual modules on the peer host. A profile without
// ip_address lets the apply start each module named as soon as it has answered;
// beside it the commands that still wait for the whole scan: `kelvane scan`,
// and `apply --all`, which cannot know how many modules there are.
#include "Harness.h"

#include "profiles/FleetRunner.h"

#include <QTemporaryDir>

#include <map>

namespace kelvane::bench {

void fleet()
{
    constexpr int Modules = DeviceTableCapacity, Counts[] = {1, 20, Modules}, Parallels[] = {1, DefaultParallel, Modules}, Runs = 5;
    Simulator sim({"--modules", QString::number(Modules)});
    const QStringList modules = listedModules(Modules);
    const QTemporaryDir dir;
    const QString profile = dir.filePath("profile.json"), whole = dir.filePath("whole.json");
    saveProfileWithoutAddress(modules[0], profile);
    command({"save", modules[0], whole});

    // Each case once a run, so that a slower spell of the machine falls on all alike.
    std::map<std::pair<int, int>, std::vector<double>> ms;
    std::vector<double> all, scan;
    for (int run = 0; run < Runs; ++run) {
        for (const int count : Counts) {
            for (const int parallel : Parallels) {
                const QStringList arguments = QStringList{"apply", profile} + modules.mid(0, count) +
                                              QStringList{"--verify", "--always", "--parallel", QString::number(parallel)};
                // It exits 0 only once every module named is written and read back alike; --always,
                // for after the first run the modules hold the profile and would be left alone.
                ms[{count, parallel}].push_back(command(arguments));
            }
        }
        // Every address is handed out, and checked against every module that answered.
        all.push_back(command({"apply", whole, "--all", "--ip-from", "203.0.113.1", "--verify", "--always",
                               "--parallel", QString::number(Modules)}));
        scan.push_back(command({"scan"}));
    }
    const auto s = [&](int count, int parallel) { return median(ms[{count, parallel}]) / 1000; };
    for (const int count : Counts) {
        const double beyondOne = (s(count, 1) - s(1, 1)) * 1000 / std::max(count - 1, 1);
        row(QStringLiteral("fleet: apply --verify, %1 named, --parallel 1 / %2 / %3 (medians of %4)")
                .arg(count).arg(DefaultParallel).arg(Modules).arg(Runs),
            QStringLiteral("%1 s / %2 s / %3 s")
                    .arg(fixed(s(count, 1), 3), fixed(s(count, DefaultParallel), 3), fixed(s(count, Modules), 3)) +
                (count > 1 ? "; " + fixed(beyondOne, 1) + " ms a module beyond one" : QString()));
    }
    // Working on several modules at once must not be slower than one after another.
    const double ratio = s(Modules, DefaultParallel) / s(Modules, 1);
    rowBelow(QStringLiteral("fleet: %1 named, --parallel %2 against --parallel 1 (medians)").arg(Modules).arg(DefaultParallel),
             fixed(s(Modules, DefaultParallel), 2) + " s against " + fixed(s(Modules, 1), 2) + " s: " + fixed(ratio, 2) + "x",
             ratio, 1, "x");
    row(QStringLiteral("fleet: apply --all --ip-from --verify, --parallel %1 (median of %2)")
            .arg(Modules).arg(Runs),
        fixed(median(all) / 1000, 2) + " s against " + fixed(s(Modules, Modules), 2) + " s for the " +
            QString::number(Modules) + " named");
    row(QStringLiteral("fleet: kelvane scan, %1 modules, four rounds (median of %2)").arg(Modules).arg(Runs),
        fixed(median(scan) / 1000, 2) + " s");
}

}  // namespace kelvane::bench
