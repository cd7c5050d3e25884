// What every figure shares: the guard that keeps it off the real network, the
// engine, the simulator on the peer host, a bare client, timing and the table.
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

// A figure that cannot be measured throws this; the table says so.
struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};
[[noreturn]] void fail(const QString &why);

// One row of the table, on stdout at once; without a verdict, information only.
void row(const QString &figure, const QString &measured, const QString &target = {},
         std::optional<bool> met = std::nullopt);
// The closing line: how many targets were met, on what machine.
void summary();

double median(std::vector<double> values);
QString fixed(double value, int decimals);
long long steadyNs();  // the same clock in every process

// Runs the event loop from start() until done() holds, asked whenever the
// loop has handled all it had; the ms that took, none after timeoutMs.
std::optional<double> timeUntil(const std::function<void()> &start, const std::function<bool()> &done,
                                int timeoutMs = 5000);

// The engine as the window runs it, on the real socket and Timer1.
struct Tool {
    HeadlessPanel panel;
    UdpLink link;
    QtOneShotTimer timer;
    Engine engine{panel, link, timer};

    Tool() { engine.startUp(); }
    int scan();  // all four rounds; the modules listed
    // Starts an operation and waits for the log to end with `success`; its ms.
    double run(const std::function<void()> &start, const QString &success);
};

// kelvane-sim on the peer host of one LAN (1 to 3, see scripts/peer-host),
// without --verbose: tracing would slow it.
class Simulator {
public:
    explicit Simulator(const QStringList &arguments, int lan = 1);
    ~Simulator();

private:
    QProcess m_process;
};

// A client on the tool's port with nothing of the engine: each frame goes out
// once the one before has an answer that starts with `from`.
class BareClient {
public:
    BareClient();
    std::optional<double> exchange(const QByteArrayList &frames, const QByteArray &from);

private:
    QUdpSocket m_socket;
};

// The window as the tool starts it, run as a child of the start-up figure.
inline constexpr const char *WindowChild = "--window-child";
int windowChild(int argc, char *argv[], long long enteredNs);

}  // namespace kelvane::bench
