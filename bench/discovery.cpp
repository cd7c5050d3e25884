// 254 modules answering one discovery broadcast at once: does every reply
// reach the list? A fresh engine each run, one broadcast, rows counted once
// the replies have stopped and before Timer1 would send a second round.
#include "Harness.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

#include <netinet/in.h>
#include <sys/socket.h>

namespace kelvane::bench {

namespace {
constexpr int Modules = DeviceTableCapacity;
constexpr int Runs = 100;
constexpr int QuietMs = 100;  // the replies have stopped once none came for this long
// What a 4 MiB request gets where net.core.rmem_max is the kernel's stock
// 212992: the kernel caps the request there and doubles it for overhead.
constexpr int StockRmemMax = 212992;

// The link keeps its socket to itself: /proc/self/fd finds the one on port 65002.
int toolSocket()
{
    for (const QString &entry : QDir("/proc/self/fd").entryList(QDir::System)) {
        sockaddr_in address{};
        socklen_t length = sizeof address;
        if (::getsockname(entry.toInt(), reinterpret_cast<sockaddr *>(&address), &length) == 0 &&
            address.sin_family == AF_INET && ntohs(address.sin_port) == LocalPort)
            return entry.toInt();
    }
    fail("the engine's socket on port 65002 is not open");
}

// Datagrams lost for want of buffer room: only the kernel counts them, in /proc/net/snmp.
long long receiveBufferErrors()
{
    QFile file("/proc/net/snmp");
    file.open(QIODevice::ReadOnly);
    QList<QByteArray> udp;  // the names, then the values
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.startsWith("Udp: "))
            udp += line.split(' ');
    }
    return udp.value(udp.indexOf("RcvbufErrors") + udp.size() / 2).toLongLong();
}

struct Pass {
    int complete = 0, fewest = Modules, bufferKiB = 0;
    long long drops = 0;
    std::vector<double> burstMs;  // first reply to last, as the tool received them
};

Pass pass(std::optional<int> forcedBytes)
{
    Pass p;
    const long long dropsBefore = receiveBufferErrors();
    for (int run = 0; run < Runs; ++run) {
        Tool tool;
        const int fd = toolSocket();
        if (forcedBytes)
            ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &*forcedBytes, sizeof *forcedBytes);
        int bytes = 0;
        socklen_t length = sizeof bytes;
        ::getsockopt(fd, SOL_SOCKET, SO_RCVBUF, &bytes, &length);
        p.bufferKiB = bytes / 1024;

        QTimer quiet;
        quiet.setSingleShot(true);
        QElapsedTimer clock;
        qint64 first = -1, last = -1;
        QObject::connect(&tool.link, &Link::datagramReceived, &quiet, [&] {
            last = clock.nsecsElapsed();
            first = first < 0 ? last : first;
            quiet.start(QuietMs);
        });
        const auto scan = [&] {
            clock.start();
            tool.engine.scan();
            quiet.start(QuietMs);
        };
        timeUntil(scan, [&] { return !quiet.isActive(); }, TimeoutMs - 50);
        if (tool.engine.machine().ScanRound != 1)
            fail("a second discovery round went out before the rows were counted");
        const int listed = tool.panel.deviceRowCount();
        p.complete += listed == Modules;
        p.fewest = std::min(p.fewest, listed);
        p.burstMs.push_back(double(last - first) / 1e6);
    }
    p.drops = receiveBufferErrors() - dropsBefore;
    return p;
}

QString outcome(const Pass &p)
{
    return QStringLiteral("%1/%2 runs complete, fewest listed %3, %4 dropped")
        .arg(p.complete).arg(Runs).arg(p.fewest).arg(p.drops);
}
}  // namespace

void discovery()
{
    Simulator sim({"--modules", QString::number(Modules)});
    const Pass asIs = pass(std::nullopt);
    const Pass stock = pass(StockRmemMax);
    row(QStringLiteral("discovery: %1 modules, one broadcast, %2 runs, socket %3 KiB").arg(Modules).arg(Runs).arg(asIs.bufferKiB),
        outcome(asIs), QStringLiteral("%1/%1, fewest %2").arg(Runs).arg(Modules), asIs.complete == Runs);
    row("discovery: first to last reply at the tool (median)", fixed(median(asIs.burstMs), 2) + " ms");
    row(QStringLiteral("discovery: same, socket as a stock kernel sizes it (%1 KiB)").arg(stock.bufferKiB),
        outcome(stock));
}

}  // namespace kelvane::bench
