// 254 modules answering one discovery broadcast at once: does every reply
// reach the list? A fresh engine each run, one broadcast, rows counted once
// the replies have stopped and before Timer1 would send a second round.
#include "Report.h"
#include "Simulator.h"
#include "Wait.h"

#include "core/HeadlessPanel.h"
#include "core/QtOneShotTimer.h"
#include "operations/Engine.h"
#include "protocol/UdpLink.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QUdpSocket>

#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <optional>

using namespace kelvane;
using namespace kelvane::bench;

namespace {
constexpr int Modules = DeviceTableCapacity;
constexpr int Runs = 100;
// The replies have stopped once none came for this long.
constexpr int QuietMs = 100;
// Counted before Timer1 ends the round and broadcasts again.
constexpr int CountBeforeMs = TimeoutMs - 50;
// What a 4 MiB request gets where net.core.rmem_max is the kernel's stock
// 212992: the kernel caps the request there and doubles it for overhead.
constexpr int StockRmemMax = 212992;
constexpr int StalledRuns = 5;
constexpr auto StallFor = std::chrono::milliseconds(200);

struct Run {
    int listed = 0;
    double burstMs = 0;  // first reply to last, as the tool received them
};

// The descriptor of this process's socket on local UDP port 65002: the
// engine's, whose buffer the benchmark reads and, for the second pass, resizes.
std::optional<int> toolSocket()
{
    for (const QString &entry : QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System)) {
        bool ok = false;
        const int fd = entry.toInt(&ok);
        sockaddr_in address{};
        socklen_t length = sizeof address;
        int type = 0;
        socklen_t typeLength = sizeof type;
        if (!ok || ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length) != 0 ||
            address.sin_family != AF_INET || ntohs(address.sin_port) != LocalPort ||
            ::getsockopt(fd, SOL_SOCKET, SO_TYPE, &type, &typeLength) != 0 || type != SOCK_DGRAM)
            continue;
        return fd;
    }
    return std::nullopt;
}

int receiveBuffer(int fd)
{
    int bytes = 0;
    socklen_t length = sizeof bytes;
    ::getsockopt(fd, SOL_SOCKET, SO_RCVBUF, &bytes, &length);
    return bytes;
}

// Datagrams this network namespace dropped for want of receive-buffer room.
long long receiveBufferErrors()
{
    QFile file(QStringLiteral("/proc/net/snmp"));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    QList<QByteArray> names;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (!line.startsWith("Udp: "))
            continue;
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (names.isEmpty()) {
            names = fields;
            continue;
        }
        const qsizetype column = names.indexOf("RcvbufErrors");
        return column > 0 && column < fields.size() ? fields.at(column).toLongLong() : -1;
    }
    return -1;
}

QString readSysctl(const char *path)
{
    QFile file(QString::fromLatin1(path));
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll().trimmed()) : QStringLiteral("?");
}

// One run; with a size, the engine's socket is first shrunk to what a stock
// kernel would have granted it. grantedBytes gets what the socket holds.
Run discover(std::optional<int> forcedBytes, int *grantedBytes)
{
    HeadlessPanel panel;
    UdpLink link;
    QtOneShotTimer timer;
    Engine engine(panel, link, timer);
    engine.startUp();

    const std::optional<int> fd = toolSocket();
    if (!fd)
        fail("bench_discovery: the engine's socket on port 65002 is not open");
    if (forcedBytes)
        ::setsockopt(*fd, SOL_SOCKET, SO_RCVBUF, &*forcedBytes, sizeof *forcedBytes);
    *grantedBytes = receiveBuffer(*fd);

    Wait wait(CountBeforeMs);
    QTimer quiet;
    quiet.setSingleShot(true);
    quiet.setInterval(QuietMs);
    QObject::connect(&quiet, &QTimer::timeout, wait.context(), [&] { wait.done(); });
    QElapsedTimer clock;
    qint64 first = -1, last = -1;
    QObject::connect(&link, &Link::datagramReceived, wait.context(), [&] {
        last = clock.nsecsElapsed();
        if (first < 0)
            first = last;
        quiet.start();
    });
    clock.start();
    engine.scan();
    quiet.start();
    wait.exec();
    if (engine.machine().ScanRound != 1)
        fail("bench_discovery: a second discovery round went out before the rows were counted");
    return Run{panel.deviceRowCount(), first < 0 ? 0.0 : double(last - first) / 1e6};
}

// How much of the burst the kernel keeps for a reader busy with something
// else the whole time: a bare socket on port 65002, sized like the engine's
// (or forced), read only once the burst is long over. The fewest of a few runs.
int heldWhileStalled(std::optional<int> forcedBytes)
{
    int fewest = Modules;
    for (int i = 0; i < StalledRuns; ++i) {
        QUdpSocket socket;
        if (!socket.bind(QHostAddress::AnyIPv4, LocalPort))
            fail("bench_discovery: cannot bind port 65002 for the stalled reader");
        socket.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, QVariant(4 * 1024 * 1024));
        if (forcedBytes)
            ::setsockopt(int(socket.socketDescriptor()), SOL_SOCKET, SO_RCVBUF, &*forcedBytes, sizeof *forcedBytes);
        socket.writeDatagram(QByteArrayLiteral("SETUP"), QHostAddress::Broadcast, RemotePort);
        std::this_thread::sleep_for(StallFor);
        int held = 0;
        while (socket.hasPendingDatagrams()) {
            char buffer[2048];
            if (socket.readDatagram(buffer, sizeof buffer) >= 0)
                ++held;
        }
        fewest = std::min(fewest, held);
    }
    return fewest;
}

struct Pass {
    int complete = 0;
    int minListed = Modules;
    std::vector<double> bursts;
    int grantedBytes = 0;
    long long drops = 0;
};

Pass pass(std::optional<int> forcedBytes)
{
    Pass p;
    const long long dropsBefore = receiveBufferErrors();
    for (int i = 0; i < Runs; ++i) {
        const Run run = discover(forcedBytes, &p.grantedBytes);
        p.complete += run.listed == Modules ? 1 : 0;
        p.minListed = std::min(p.minListed, run.listed);
        p.bursts.push_back(run.burstMs);
    }
    p.drops = receiveBufferErrors() - dropsBefore;
    return p;
}

std::string completeText(const Pass &p)
{
    return format("%d/%d runs complete, min listed %d", p.complete, Runs, p.minListed);
}
}  // namespace

int main(int argc, char *argv[])
{
    requirePrivateNet("bench_discovery");
    QCoreApplication app(argc, argv);

    Simulator sim;
    if (!sim.start({QStringLiteral("--modules"), QString::number(Modules)}))
        fail(sim.failure().toStdString());

    const Pass asIs = pass(std::nullopt);
    const Pass stock = pass(StockRmemMax);
    const int stalledAsIs = heldWhileStalled(std::nullopt);
    const int stalledStock = heldWhileStalled(StockRmemMax);

    row(format("discovery: %d modules, one broadcast, %d runs", Modules, Runs), completeText(asIs),
        format("%d/%d, min %d", Runs, Runs, Modules), verdict(asIs.complete == Runs));
    row("discovery: first to last reply at the tool (median)", format("%.2f ms", median(asIs.bursts)), "", Info);
    row("discovery: engine socket SO_RCVBUF here",
        format("%d KiB (rmem_max %s, 4 MiB asked)", asIs.grantedBytes / 1024,
               qPrintable(readSysctl("/proc/sys/net/core/rmem_max"))),
        "", Info);
    row("discovery: UDP RcvbufErrors during the runs", format("%lld", asIs.drops), "", Info);
    row(format("discovery: same, socket as a stock kernel sizes it (%d KiB)", stock.grantedBytes / 1024),
        completeText(stock) + format(", %lld drops", stock.drops), "", Info);
    row(format("discovery: reader stalled through the burst, fewest held of %d", StalledRuns),
        format("%d/%d at %d KiB, %d/%d at %d KiB", stalledAsIs, Modules, asIs.grantedBytes / 1024, stalledStock,
               Modules, stock.grantedBytes / 1024),
        "", Info);
    return 0;
}
