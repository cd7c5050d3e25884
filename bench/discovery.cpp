// 254 modules answering one discovery broadcast at once: does every reply
// reach the list before Timer1 would send a second round? A fresh engine and
// one broadcast a run; then again with the socket a stock kernel would give.
#include "Harness.h"

#include <QDir>
#include <QFile>

#include <netinet/in.h>
#include <sys/socket.h>

namespace kelvane::bench {

namespace {
constexpr int Modules = DeviceTableCapacity;
constexpr int Runs = 100;
// What a 4 MiB request gets where net.core.rmem_max is the kernel's stock
// 212992: the kernel caps the request there and doubles it for overhead.
constexpr int StockRmemMax = 212992;

// The link keeps its socket to itself: /proc/self/fd finds the one on port 65002.
int toolSocket()
{
    for (const QString &fd : QDir("/proc/self/fd").entryList(QDir::System)) {
        sockaddr_in address{};
        socklen_t length = sizeof address;
        if (::getsockname(fd.toInt(), reinterpret_cast<sockaddr *>(&address), &length) == 0 &&
            address.sin_family == AF_INET && ntohs(address.sin_port) == LocalPort)
            return fd.toInt();
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

// Runs of one broadcast each; the socket's buffer shrunk to forcedBytes first, if given.
void pass(const QString &figure, std::optional<int> forcedBytes)
{
    int complete = 0, fewest = Modules, bytes = 0;
    const long long dropsBefore = receiveBufferErrors();
    for (int run = 0; run < Runs; ++run) {
        Tool tool;
        const int fd = toolSocket();
        if (forcedBytes)
            ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &*forcedBytes, sizeof *forcedBytes);
        socklen_t length = sizeof bytes;
        ::getsockopt(fd, SOL_SOCKET, SO_RCVBUF, &bytes, &length);
        timeUntil([&] { tool.engine.scan(); }, [&] { return tool.panel.deviceRowCount() == Modules; }, TimeoutMs - 50);
        if (tool.engine.machine().ScanRound != 1)
            fail("a second discovery round went out before the rows were counted");
        complete += tool.panel.deviceRowCount() == Modules;
        fewest = std::min(fewest, tool.panel.deviceRowCount());
    }
    const long long drops = receiveBufferErrors() - dropsBefore;
    row(figure.arg(bytes / 1024),
        QStringLiteral("%1/%2 runs complete, fewest listed %3, %4 dropped").arg(complete).arg(Runs).arg(fewest).arg(drops),
        forcedBytes ? QString() : QStringLiteral("%1/%1, fewest %2").arg(Runs).arg(Modules),
        forcedBytes ? std::nullopt : std::optional<bool>(complete == Runs));
}
}  // namespace

void discovery()
{
    Simulator sim({"--modules", QString::number(Modules)});
    pass(QStringLiteral("discovery: %1 modules, one broadcast, %2 runs").arg(Modules).arg(Runs) + ", socket %1 KiB",
         std::nullopt);
    pass("discovery: same, socket as a stock kernel sizes it (%1 KiB)", StockRmemMax);
}

}  // namespace kelvane::bench
