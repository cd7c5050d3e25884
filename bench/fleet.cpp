// apply with --verify on many modules at once: each module on an engine of
// its own over the one socket. Does 254 modules at full parallelism take
// less than three times one module?
#include "Harness.h"

#include "cli/FleetRunner.h"
#include "profiles/Fleet.h"
#include "protocol/ParameterNames.h"

#include <QElapsedTimer>

namespace kelvane::bench {

namespace {
constexpr int Modules = DeviceTableCapacity;
constexpr int Runs = 3;
constexpr double TargetRatio = 3.0;

// The median ms of applying, reading back, to the first `count` modules listed.
double applyMs(Tool &tool, int count, int parallel)
{
    ParameterValues profile;
    profile.set(*parameterByKey(u"baud_rate"), QStringLiteral("9600bps"));
    const auto profiles = fleetProfiles(profile, QStringLiteral("10.0.0.1"), count);
    if (!profiles)
        fail(profiles.error().message);
    QList<cli::JobPlan> plans;
    const DeviceTable &table = tool.engine.machine().deviceTable;
    for (int row = 0; row < count; ++row)
        plans.append({table.address(row), table.entry(row), profiles.value().at(row), true, false});

    std::vector<double> ms;
    for (int run = 0; run < Runs; ++run) {
        QElapsedTimer clock;
        clock.start();
        const auto jobs = cli::runFleet(tool.link, plans, parallel);
        ms.push_back(double(clock.nsecsElapsed()) / 1e6);
        for (const auto &job : jobs) {
            if (job->outcome().result != cli::JobOutcome::Succeeded)
                fail(QStringLiteral("%1: %2 %3").arg(job->plan().module.toHex(),
                                                     cli::resultName(job->outcome().result), job->outcome().message));
        }
    }
    return median(ms);
}
}  // namespace

void fleet()
{
    Simulator sim({"--modules", QString::number(Modules)});
    Tool tool;
    if (tool.scan() != Modules)
        fail(QStringLiteral("the scan listed %1 of %2 modules").arg(tool.panel.deviceRowCount()).arg(Modules));

    const double one = applyMs(tool, 1, 1);
    row("fleet: apply --verify, 1 module", fixed(one, 1) + " ms");
    for (const int count : {20, Modules}) {
        const double serial = applyMs(tool, count, 1);
        row(QStringLiteral("fleet: %1 modules, --parallel 1").arg(count),
            QStringLiteral("%1 ms, %2 ms a module").arg(fixed(serial, 1), fixed(serial / count, 2)));
        const double parallel = applyMs(tool, count, Modules);
        const double ratio = parallel / one;
        const bool full = count == Modules;
        row(QStringLiteral("fleet: %1 modules, --parallel %2, against 1 module").arg(count).arg(Modules),
            QStringLiteral("%1 ms, %2x").arg(fixed(parallel, 1), fixed(ratio, 2)),
            full ? QStringLiteral("< %1x").arg(fixed(TargetRatio, 0)) : QString(),
            full ? std::optional<bool>(ratio < TargetRatio) : std::nullopt);
    }
}

}  // namespace kelvane::bench
