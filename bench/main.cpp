// SPDX-License-Identifier: Apache-2.0
// kelvane-bench: measures the built tool and prints one table: figure,
// measured, target, verdict. `kelvane-bench NAME...` runs only those figures.
// A new figure is a function in a file of its own, declared and listed here.
#include "Harness.h"

#include "Appearance.h"

#include <QApplication>

#include <cstdio>

namespace kelvane::bench {
void startup(), exchange(), discovery(), twoCards(), idle(), statusLog(), cliRead(), fleet(), table(), reliability();
int windowChild(int argc, char *argv[], long long enteredNs);
}  // namespace kelvane::bench

using namespace kelvane::bench;

int main(int argc, char *argv[])
{
    const long long entered = steadyNs();
    // Every figure opens port 65002 or sends: never on the real network.
    if (qEnvironmentVariable("KELVANE_PRIVATE_NET") != "inside") {
        std::fputs("kelvane-bench: refusing to run outside scripts/private-net (try `make bench`)\n", stderr);
        return 2;
    }
    if (argc > 1 && QByteArrayView(argv[1]) == WindowChild)
        return windowChild(argc, argv, entered);

    QApplication app(argc, argv);
    kelvane::setUpApplication();
    // Start-up first: its peak memory is that of the largest child so far.
    const std::pair<const char *, void (*)()> figures[] = {
        {"startup", startup}, {"exchange", exchange}, {"discovery", discovery}, {"two-cards", twoCards},
        {"idle", idle},       {"log", statusLog},     {"cli-read", cliRead},    {"fleet", fleet},
        {"table", table},     {"reliability", reliability}};
    const QStringList only = QApplication::arguments().mid(1);
    std::printf("%-70s | %-52s | %-18s | verdict\n", "figure", "measured", "target");
    bool finished = true;
    for (const auto &[name, measure] : figures) {
        if (!only.isEmpty() && !only.contains(name))
            continue;
        std::fprintf(stderr, "running %s ...\n", name);
        try {
            measure();
        } catch (const std::runtime_error &failure) {
            std::fprintf(stderr, "%s: %s\n", name, failure.what());
            row(name, "did not finish", {}, false);
            finished = false;
        }
    }
    // A figure that did not finish or missed its target fails the run, so that a script can tell.
    const bool allMet = summary();
    return finished && allMet ? 0 : 1;
}
