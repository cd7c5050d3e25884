// What every figure shares: the simulator on the peer host, the engine, a bare
// client, whole `kelvane` commands, timing and the table.
#pragma once

#include "core/HeadlessPanel.h"
#include "core/QtOneShotTimer.h"
#include "operations/Engine.h"
#include "protocol/UdpLink.h"

#include <QProcess>
#include <QUdpSocket>

#include <chrono>
#include <functional>
#include <optional>
#include <vector>

namespace kelvane::bench {

// A figure that cannot be measured throws; the table says so.
[[noreturn]] void fail(const QString &why);
// One row of the table, on stdout at once; without a verdict, information only.
void row(const QString &figure, const QString &measured, const QString &target = {},
         std::optional<bool> met = std::nullopt);
// The closing line: how many targets were met, on what machine.
void summary();

double median(std::vector<double> values);
inline QString fixed(double value, int decimals) { return QString::number(value, 'f', decimals); }
// The same clock in every process.
inline long long steadyNs()
{
    return std::chrono::nanoseconds(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Runs the event loop from start() until done() holds, asked whenever the
// loop has handled all it had; the ms that took, none after timeoutMs.
std::optional<double> timeUntil(const std::function<void()> &start, const std::function<bool()> &done,
                                int timeoutMs = 5000);

// `kelvane ARGUMENTS`, process start to exit; its ms, and its standard output
// in `output` if given. A run that does not exit 0 fails the figure.
double command(const QStringList &arguments, QByteArray *output = nullptr);
// The modules `kelvane scan` lists, by address; failing unless there are `expected`.
QStringList listedModules(int expected);

// The engine as the window runs it, on the real socket and Timer1.
struct Tool {
    HeadlessPanel panel;
    UdpLink link;
    QtOneShotTimer timer;
    Engine engine{panel, link, timer};

    Tool() { engine.startUp(); }
    // A whole scan, all four rounds, that must find exactly one module; its address.
    QByteArray scanOne();
    // Starts an operation and waits for the log to end with `success`; its ms.
    double run(const std::function<void()> &start, const QString &success);
};

// Runs of one scan each by a fresh engine, with before() ahead of the scan and
// after() once the first round is in: the runs that listed all `modules`, and
// the fewest listed when Timer1 would send the second round and, if `whole`,
// once the scan has ended.
struct Listing {
    int complete = 0, fewestFirstRound = 0, fewest = 0;
};
using Hook = std::function<void(Tool &)>;
Listing scanRuns(int runs, int modules, bool whole, const Hook &before = {}, const Hook &after = {});

// kelvane-sim on the peer host of one LAN (1 to 3, see scripts/peer-host),
// without --verbose: tracing would slow it.
struct Simulator {
    QProcess process;
    explicit Simulator(const QStringList &arguments, int lan = 1);
    ~Simulator();
};

// A client on the tool's port with nothing of the engine: each frame goes out
// once the one before has an answer that starts with `from`; the ms of them all.
struct BareClient {
    QUdpSocket socket;
    BareClient();
    double exchange(const QByteArrayList &frames, const QByteArray &from);
};

// The window as the tool starts it, run as a child of the start-up figure.
inline constexpr const char *WindowChild = "--window-child";
int windowChild(int argc, char *argv[], long long enteredNs);

}  // namespace kelvane::bench
