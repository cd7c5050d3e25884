// What every figure shares: the guard that keeps it off the real network, the
// tool's engine and the simulator on the peer host, timing, and the table.
#pragma once

#include "core/HeadlessPanel.h"
#include "core/QtOneShotTimer.h"
#include "operations/Engine.h"
#include "protocol/UdpLink.h"

#include <QProcess>
#include <QUdpSocket>

#include <functional>
#include <optional>
#include <stdexcept>
#include <vector>

namespace kelvane::bench {

// A figure that cannot be measured throws this; its row says so.
struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};
[[noreturn]] void fail(const QString &why);

// Ends the program unless scripts/private-net started it.
void requirePrivateNet();

// One row of the table; without a verdict it is information only.
void row(const QString &figure, const QString &measured, const QString &target = {},
         std::optional<bool> met = std::nullopt);
void failedRow(const QString &figure, const QString &why);
// Prints every row as one table; false when a figure failed.
bool printTable();

double median(std::vector<double> values);
QString fixed(double value, int decimals);

// Runs the event loop from start() until done() holds, asked each time the
// loop has handled all it had; the ms that took, none after timeoutMs.
std::optional<double> timeUntil(const std::function<void()> &start, const std::function<bool()> &done,
                                int timeoutMs);

// The engine as the window runs it, on the real socket and Timer1, started up.
struct Tool {
    HeadlessPanel panel;
    UdpLink link;
    QtOneShotTimer timer;
    Engine engine{panel, link, timer};

    Tool() { engine.startUp(); }
    // A full scan, all four rounds; the modules listed.
    int scan();
    // Starts an operation and waits for the log to end with `success`; its ms.
    double run(const std::function<void()> &start, const QString &success);
};

// kelvane-sim on the peer host, quiet: a trace line a datagram would slow it.
class Simulator {
public:
    explicit Simulator(const QStringList &arguments);
    ~Simulator();

private:
    QProcess m_process;
};

// A bare client on the tool's port: each frame goes out once the one before
// has its answer from `from`, the address a module's answers start with.
class BareClient {
public:
    BareClient();
    // The ms for all frames; none when an answer is missing.
    std::optional<double> exchange(const QByteArrayList &frames, const QByteArray &from);

private:
    QUdpSocket m_socket;
};

}  // namespace kelvane::bench
