// 254 modules answering one discovery broadcast at once: does every reply
// reach the list before Timer1 would send a second round? A fresh engine and
// one broadcast a run; then again with the socket a stock kernel would give.
#include "Harness.h"

#include <QFile>

#include <netinet/in.h>
#include <sys/socket.h>

namespace kelvane::bench {

namespace {
constexpr int Modules = DeviceTableCapacity;
constexpr int Runs = 100;

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

// The runs, the socket's buffer shrunk to forcedBytes first if given.
void pass(const QString &figure, std::optional<int> forcedBytes)
{
    int bytes = 0;
    const auto size = [&](Tool &) {
        bytes = 0;
        // The link keeps its socket to itself: the open descriptor bound to port 65002.
        for (int fd = 3; fd < 1024; ++fd) {
            sockaddr_in address{};
            socklen_t length = sizeof address;
            if (::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length) != 0 ||
                address.sin_family != AF_INET || ntohs(address.sin_port) != LocalPort)
                continue;
            if (forcedBytes)
                ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &*forcedBytes, sizeof *forcedBytes);
            length = sizeof bytes;
            ::getsockopt(fd, SOL_SOCKET, SO_RCVBUF, &bytes, &length);
        }
        if (bytes == 0)
            fail("the engine's socket on port 65002 is not open");
    };
    const long long dropsBefore = receiveBufferErrors();
    const Listing listed = scanRuns(Runs, Modules, false, size);
    row(figure.arg(bytes / 1024),
        QStringLiteral("%1/%2 runs complete, fewest listed %3, %4 dropped")
            .arg(listed.complete).arg(Runs).arg(listed.fewest).arg(receiveBufferErrors() - dropsBefore),
        forcedBytes ? QString() : QStringLiteral("%1/%1, fewest %2").arg(Runs).arg(Modules),
        forcedBytes ? std::nullopt : std::optional<bool>(listed.complete == Runs));
}
}  // namespace

void discovery()
{
    Simulator sim({"--modules", QString::number(Modules)});
    pass(QStringLiteral("discovery: %1 modules, one broadcast, %2 runs").arg(Modules).arg(Runs) + ", socket %1 KiB",
         std::nullopt);
    // What a 4 MiB request gets where net.core.rmem_max is the kernel's stock
    // 212992: the kernel caps the request there and doubles it for overhead.
    pass("discovery: same, socket as a stock kernel sizes it (%1 KiB)", 212992);
}

}  // namespace kelvane::bench
