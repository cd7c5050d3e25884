// kelvane-bench: measures the built tool and prints one table: figure,
// measured, target, verdict. `kelvane-bench NAME...` runs only those figures.
// A new figure is a function in a file of its own, using Harness.h, declared
// and listed below.
#include "Harness.h"

#include "Appearance.h"

#include <QApplication>

#include <cstdio>
#include <cstring>
#include <utility>

namespace kelvane::bench {
void exchange();
void discovery();
void startup();
void idle();
void statusLog();
void twoCards();
void cliRead();
void fleet();
}  // namespace kelvane::bench

using namespace kelvane::bench;

namespace {
const std::pair<const char *, void (*)()> Figures[] = {
    {"exchange", exchange}, {"discovery", discovery}, {"two-cards", twoCards}, {"startup", startup},
    {"idle", idle},         {"log", statusLog},       {"cli-read", cliRead},   {"fleet", fleet},
};
}  // namespace

int main(int argc, char *argv[])
{
    const long long entered = steadyNs();
    // Every figure opens port 65002 or sends: never on the real network.
    if (qEnvironmentVariable("KELVANE_PRIVATE_NET") != "inside") {
        std::fputs("kelvane-bench: refusing to run outside scripts/private-net (try `make bench`)\n", stderr);
        return 2;
    }
    if (argc > 1 && std::strcmp(argv[1], WindowChild) == 0)
        return windowChild(argc, argv, entered);

    QApplication app(argc, argv);
    kelvane::setUpApplication();
    const QStringList only = QApplication::arguments().mid(1);
    bool finished = true;
    for (const auto &[name, measure] : Figures) {
        if (!only.isEmpty() && !only.contains(name))
            continue;
        std::fprintf(stderr, "running %s ...\n", name);
        try {
            measure();
        } catch (const Failure &failure) {
            std::fprintf(stderr, "%s: %s\n", name, failure.what());
            row(name, "did not finish", {}, false);
            finished = false;
        }
    }
    summary();
    return finished ? 0 : 1;
}
