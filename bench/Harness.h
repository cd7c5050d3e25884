// SPDX-License-Identifier: Apache-2.0
// What every figure shares: the simulator on the peer host, the engine, whole
// `kelvane` commands, a bare client, timing and the table.
#pragma once

#include "Presenter.h"
#include "support/HeadlessPanel.h"
#include "core/QtOneShotTimer.h"
#include "operations/Engine.h"
#include "protocol/UdpLink.h"

#include <QDeadlineTimer>
#include <QProcess>

#include <functional>
#include <optional>
#include <stdexcept>
#include <map>
#include <vector>

namespace kelvane::bench {

// A whole scan's four rounds, and room to spare.
inline constexpr int ScanMs = ScanRounds * TimeoutMs + 2000;
// The window as the tool starts it, run as a child of the start-up figure.
inline constexpr const char *WindowChild = "--window-child";

// A figure that cannot be measured throws; the table says so.
[[noreturn]] inline void fail(const QString &why) { throw std::runtime_error(why.toStdString()); }
// One row of the table; without a verdict, information only.
void row(const QString &figure, const QString &measured, const QString &target = {}, std::optional<bool> met = {});
// A row whose target is `value` below `limit`, in `unit`.
void rowBelow(const QString &figure, const QString &measured, double value, double limit, const QString &unit);
// The closing line: how many targets were met, on what machine; true when all were.
bool summary();
double median(std::vector<double> values);
inline QString fixed(double value, int decimals) { return QString::number(value, 'f', decimals); }
// The same clock in every process.
inline qint64 steadyNs() { return QDeadlineTimer::current().deadlineNSecs(); }

// Runs the event loop from start() until done() holds, asked whenever the loop
// has handled all it had; the ms that took. After timeoutMs it fails with
// `failure`, or with none given returns -1.
double timeUntil(const std::function<void()> &start, const std::function<bool()> &done, const QString &failure,
                 int timeoutMs = 5000);

// A whole process: how long from start to exit, how it ended, what it printed.
struct Exit {
    double ms;
    int status;
    QByteArray output, errors;
};
// PROGRAM ARGUMENTS, process start to exit, whatever its exit status. One
// that crashes or does not exit within two minutes fails the figure.
Exit run(const QString &program, const QStringList &arguments);
// `kelvane ARGUMENTS`, process start to exit; its ms, and its standard output
// in `output` if given. A run that does not exit 0 fails the figure.
double command(const QStringList &arguments, QByteArray *output = nullptr);
// The modules `kelvane scan` lists, by address; failing unless there are `expected`.
QStringList listedModules(int expected);
// The factory profile of a module, all but ip_address, saved to `file` by
// `kelvane save`: applied to many modules, it needs no address handed out,
// so an apply that names them starts each as soon as it has answered.
void saveProfileWithoutAddress(const QString &module, const QString &file);

// The engine as the window runs it, on the real socket and Timer1.
struct Tool {
    HeadlessPanel panel;
    UdpLink link;
    QtOneShotTimer timer;
    Engine engine{link, timer};
    Presenter window{panel, engine};
    Tool() { window.startUp(); }
};

// kelvane-sim on the peer host of one LAN (1 to 3, see scripts/peer-host),
// without --verbose: tracing would slow it.
struct Simulator {
    QProcess process;
    explicit Simulator(const QStringList &arguments, int lan = 1);
    // With scripts/peer-host's own options (--lan N, --bridged, ...) before the simulator.
    Simulator(const QStringList &peerOptions, const QStringList &arguments);
    ~Simulator() { stop(); }
    // Ends it, and with it its peer host.
    void stop();
    // What its modules hold, by address, each as CODE=answer fields in catalogue
    // order: the simulator's own account (SIGUSR1), not what any tool read.
    std::map<QString, QStringList> held();
};

// A client on the tool's port with nothing of the engine, `times` over: each
// frame goes out once the one before has an answer that starts with `from`.
// The ms of all the frames, each time.
std::vector<double> bareExchanges(const QByteArrayList &frames, const QByteArray &from, int times);

}  // namespace kelvane::bench
