// kelvane-bench: measures the built tool and prints one table of figures,
// measured values, targets and verdicts. `kelvane-bench NAME...` runs only
// those figures. A new figure is a function in a file of its own, declared in
// Figures.h and listed below; Harness.h has what it needs.
#include "Figures.h"
#include "Harness.h"

#include "Appearance.h"

#include <QApplication>

#include <cstring>
#include <utility>

using namespace kelvane::bench;

namespace {
const std::pair<const char *, void (*)()> Figures[] = {
    {"exchange", exchange},
    {"discovery", discovery},
    {"startup", startup},
    {"idle", idle},
    {"log", statusLog},
};
}  // namespace

int main(int argc, char *argv[])
{
    const long long entered = steadyNs();
    // Every figure opens port 65002 or sends, so none runs on the real network.
    requirePrivateNet();
    if (argc > 1 && std::strcmp(argv[1], WindowChild) == 0)
        return windowChild(argc, argv, entered);

    QApplication app(argc, argv);
    kelvane::setUpApplication();
    const QStringList only = QApplication::arguments().mid(1);
    for (const auto &[name, measure] : Figures) {
        if (!only.isEmpty() && !only.contains(QLatin1String(name)))
            continue;
        std::fprintf(stderr, "running %s ...\n", name);
        try {
            measure();
        } catch (const Failure &failure) {
            failedRow(QLatin1String(name), QString::fromStdString(failure.what()));
        }
    }
    std::printf("\n");
    return printTable() ? 0 : 1;
}
