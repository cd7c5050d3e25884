#include "Harness.h"

#include <QAbstractEventDispatcher>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSysInfo>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <stdexcept>
#include <sys/prctl.h>

namespace kelvane::bench {

namespace {
int met = 0, targets = 0, rows = 0;
// A whole scan's four rounds, and room to spare.
constexpr int ScanMs = ScanRounds * TimeoutMs + 2000;
}  // namespace

void fail(const QString &why)
{
    throw std::runtime_error(why.toStdString());
}

void row(const QString &figure, const QString &measured, const QString &target, std::optional<bool> isMet)
{
    if (rows++ == 0)
        std::printf("%-70s | %-52s | %-18s | verdict\n", "figure", "measured", "target");
    targets += isMet.has_value();
    met += isMet.value_or(false);
    std::printf("%s | %s | %s | %s\n", qPrintable(figure.leftJustified(70)), qPrintable(measured.leftJustified(52)),
                qPrintable(target.leftJustified(18)), !isMet ? "info" : *isMet ? "met" : "MISSED");
    std::fflush(stdout);
}

void summary()
{
    std::printf("\n%d of %d figures within target (%d cores, kernel %s)\n", met, targets,
                QThread::idealThreadCount(), qPrintable(QSysInfo::kernelVersion()));
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t mid = values.size() / 2;
    return values.empty() ? 0.0 : values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

std::optional<double> timeUntil(const std::function<void()> &start, const std::function<bool()> &done,
                                int timeoutMs)
{
    QEventLoop loop;
    QElapsedTimer clock;
    std::optional<double> ms;
    const auto check = [&] {
        if (!ms && done()) {
            ms = double(clock.nsecsElapsed()) / 1e6;
            loop.quit();
        }
    };
    // Asked just before the loop would sleep, so never while datagrams are due.
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, &loop, check);
    // Ends with the wait: a time-out left behind would wake a later idle figure.
    QTimer deadline;
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(timeoutMs);
    clock.start();
    start();
    check();
    if (!ms)
        loop.exec();
    return ms;
}

double command(const QStringList &arguments, QByteArray *output)
{
    QProcess process;
    QElapsedTimer clock;
    clock.start();
    process.start(KELVANE_CLI, arguments);
    const bool exited = process.waitForFinished(120000);
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    if (!exited || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        fail("kelvane " + arguments.join(' ').left(200) + " failed:\n" + process.readAllStandardError() +
             process.readAllStandardOutput().right(2000));
    if (output)
        *output = process.readAllStandardOutput();
    return ms;
}

QStringList listedModules(int expected)
{
    QByteArray listed;
    command({"scan"}, &listed);
    QStringList modules;
    // One line a module: number, address, card...
    for (const QString &line : QString::fromLatin1(listed).split('\n', Qt::SkipEmptyParts))
        modules << line.simplified().section(' ', 1, 1);
    if (modules.size() != expected)
        fail(QStringLiteral("kelvane scan listed %1 modules, not %2").arg(modules.size()).arg(expected));
    return modules;
}

QByteArray Tool::scanOne()
{
    if (!timeUntil([this] { engine.scan(); }, [this] { return engine.machine().ScanRound == 0; }, ScanMs))
        fail("the scan never ended");
    if (panel.deviceRowCount() != 1)
        fail(QStringLiteral("the scan found %1 modules, not the one").arg(panel.deviceRowCount()));
    return engine.machine().deviceTable.address(0).toByteArray();
}

double Tool::run(const std::function<void()> &start, const QString &success)
{
    const auto ms = timeUntil(start, [&] { return panel.logText().endsWith(success); });
    if (!ms)
        fail("no " + success + " in the log:\n" + panel.logText());
    return *ms;
}

Listing scanRuns(int runs, int modules, bool whole, const Hook &before, const Hook &after)
{
    Listing listing{0, modules, modules};
    for (int run = 0; run < runs; ++run) {
        Tool tool;
        if (before)
            before(tool);
        timeUntil([&] { tool.engine.scan(); }, [&] { return tool.panel.deviceRowCount() == modules; }, TimeoutMs - 50);
        if (tool.engine.machine().ScanRound != 1)
            fail("a second discovery round went out before the first round's rows were counted");
        listing.fewestFirstRound = std::min(listing.fewestFirstRound, tool.panel.deviceRowCount());
        if (after)
            after(tool);
        if (whole && !timeUntil([] {}, [&] { return tool.engine.machine().ScanRound == 0; }, ScanMs))
            fail("the scan never ended");
        listing.complete += tool.panel.deviceRowCount() == modules;
        listing.fewest = std::min(listing.fewest, tool.panel.deviceRowCount());
    }
    return listing;
}

Simulator::Simulator(const QStringList &arguments, int lan)
{
    // A benchmark that dies takes its simulator with it.
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(KELVANE_PEER_HOST, QStringList{"--lan", QString::number(lan), KELVANE_SIM} + arguments);
    if (!timeUntil([] {}, [this] { return process.readAllStandardOutput().contains("ready\n"); }, 10000))
        fail(QStringLiteral("kelvane-sim on LAN %1 did not get ready").arg(lan));
}

Simulator::~Simulator()
{
    // peer-host hands TERM on to the simulator and ends with it.
    process.terminate();
    if (!process.waitForFinished())
        process.kill();
}

BareClient::BareClient()
{
    if (!socket.bind(QHostAddress::AnyIPv4, LocalPort))
        fail("bare client: " + socket.errorString());
}

double BareClient::exchange(const QByteArrayList &frames, const QByteArray &from)
{
    qsizetype answered = 0;
    const auto send = [&] { socket.writeDatagram(frames.at(answered), QHostAddress::Broadcast, RemotePort); };
    QObject context;
    QObject::connect(&socket, &QUdpSocket::readyRead, &context, [&] {
        char buffer[2048];
        while (socket.hasPendingDatagrams() && answered < frames.size()) {
            const qint64 size = socket.readDatagram(buffer, sizeof buffer);
            if (size >= 0 && QByteArray::fromRawData(buffer, size).startsWith(from) && ++answered < frames.size())
                send();
        }
    });
    const auto ms = timeUntil(send, [&] { return answered == frames.size(); });
    if (!ms)
        fail("the bare client's exchanges did not complete");
    return *ms;
}

}  // namespace kelvane::bench
