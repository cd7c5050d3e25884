// SPDX-License-Identifier: Apache-2.0
// The modules table: a profile applied with verify to 254 virtual modules from
// the window, start to the last row's result, against `kelvane apply` to the
// same modules; and how long the window's event loop is held up while the 254
// rows change under it.
#include "Harness.h"

#include "MainForm.h"

#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

namespace kelvane::bench {

namespace {
constexpr int Modules = DeviceTableCapacity, Runs = 3;

struct WindowRun {
    double ms = 0;
    double largestGapMs = 0;
};

WindowRun windowApply(const QString &profile)
{
    UdpLink link;
    QtOneShotTimer timer;
    MainForm form(link, timer, &QDateTime::currentDateTime);
    form.show();
    timeUntil([&] { form.presenter().scan(); },
              [&] { return form.engine().machine().ScanRound == 0 && form.engine().deviceTable().count() == Modules; },
              QStringLiteral("the window's scan did not list %1 modules").arg(Modules), ScanMs);
    ModulesWindow &table = form.showModules();
    table.setProfileChooser([&] { return profile; });
    // Addresses other than those the command line hands out, so that every module has something to write.
    table.setApplyAsker([](int, const QString &) { return std::optional(ApplyChoice{"198.51.100.1", true, false, DefaultParallel}); });
    table.setConfirmer([](const QString &, const QString &) { return true; });
    table.setMessageShower([](const QString &, const QString &text) { fail("the table refused the apply: " + text); });
    table.view()->selectAll();

    // A zero timer fires once a turn of the loop: the largest gap between two
    // is the longest the window could not repaint or take a key.
    WindowRun run;
    QTimer turns;
    qint64 last = steadyNs();
    QObject::connect(&turns, &QTimer::timeout, [&] {
        const qint64 now = steadyNs();
        run.largestGapMs = std::max(run.largestGapMs, double(now - last) / 1e6);
        last = now;
    });
    timeUntil([&] {
        last = steadyNs();
        turns.start(0);
        table.applyAction()->trigger();
    }, [&] { return table.runner() && !table.running(); }, QStringLiteral("the table's apply did not end"), 120000);
    turns.stop();
    for (int row = 0; row < table.model().rowCount(); ++row) {
        if (table.model().status(row) != ModulesModel::Status::Verified)
            fail(QStringLiteral("row %1 of the table did not end verified").arg(row + 1));
    }
    run.ms = double(table.lastRunMs());
    return run;
}
}  // namespace

void table()
{
    Simulator sim({"--modules", QString::number(Modules)});
    const QStringList modules = listedModules(Modules);
    const QTemporaryDir dir;
    const QString profile = dir.filePath("profile.json");
    command({"save", modules[0], profile});

    // The command line's apply is its run less a scan's run: both start, scan and exit alike.
    std::vector<double> cli, window, gaps;
    for (int run = 0; run < Runs; ++run) {
        const double scan = command({"scan"});
        const double apply = command(QStringList{"apply", profile} + modules +
                                     QStringList{"--ip-from", "203.0.113.1", "--verify", "--always", "--parallel",
                                                 QString::number(DefaultParallel)});
        cli.push_back(apply - scan);
        const WindowRun shown = windowApply(profile);
        window.push_back(shown.ms);
        gaps.push_back(shown.largestGapMs);
    }
    const double ratio = median(window) / median(cli);
    rowBelow(QStringLiteral("table: apply --verify to %1 from the window against `kelvane apply` less its scan "
                            "(--parallel %2, medians of %3)").arg(Modules).arg(DefaultParallel).arg(Runs),
             fixed(median(window), 0) + " ms against " + fixed(median(cli), 0) + " ms: " + fixed(ratio, 2) + "x",
             ratio, 1.2, "x");
    const double worst = *std::max_element(gaps.begin(), gaps.end());
    rowBelow(QStringLiteral("table: largest gap between two event-loop turns while %1 rows update (worst of %2)")
                 .arg(Modules).arg(Runs),
             fixed(worst, 1) + " ms", worst, 50, "ms");
}

}  // namespace kelvane::bench
