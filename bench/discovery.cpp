// SPDX-License-Identifier: Apache-2.0
// 254 modules answering one scan, a fresh engine each run: does every reply
// reach the list? All behind one card, before Timer1 would send a second round,
// also with the socket a stock kernel would give; then half behind each of the
// tool's two cards, over the whole scan.
#include "Harness.h"

#include <QFile>

#include <netinet/in.h>
#include <sys/socket.h>

namespace kelvane::bench {

namespace {
constexpr int Modules = DeviceTableCapacity, Runs = 100;

struct Listing {
    int complete = 0, fewestFirstRound = Modules, fewest = Modules;
};

// The runs, each engine prepared first: how many listed every module, and the
// fewest listed when the second round would go out and, if `whole`, at the end.
Listing scanRuns(bool whole, const std::function<void(Tool &)> &prepare)
{
    Listing listing;
    for (int run = 0; run < Runs; ++run) {
        Tool tool;
        prepare(tool);
        timeUntil([&] { tool.window.scan(); }, [&] { return tool.panel.deviceRowCount() == Modules; }, {},
                  TimeoutMs - 50);
        if (tool.engine.machine().ScanRound != 1)
            fail("a second discovery round went out before the first round's rows were counted");
        listing.fewestFirstRound = std::min(listing.fewestFirstRound, tool.panel.deviceRowCount());
        if (whole)
            timeUntil([] {}, [&] { return tool.engine.machine().ScanRound == 0; }, "the scan never ended", ScanMs);
        listing.complete += tool.panel.deviceRowCount() == Modules;
        listing.fewest = std::min(listing.fewest, tool.panel.deviceRowCount());
    }
    return listing;
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

// The engine's receive buffer in bytes, set to `forced` first if given. The link
// keeps its socket to itself: the open descriptor bound to port 65002 is it.
int receiveBuffer(std::optional<int> forced)
{
    for (int fd = 3; fd < 1024; ++fd) {
        sockaddr_in address{};
        socklen_t length = sizeof address;
        if (::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length) != 0 ||
            address.sin_family != AF_INET || ntohs(address.sin_port) != LocalPort)
            continue;
        if (forced)
            ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &*forced, sizeof *forced);
        int bytes = 0;
        length = sizeof bytes;
        ::getsockopt(fd, SOL_SOCKET, SO_RCVBUF, &bytes, &length);
        return bytes;
    }
    fail("the engine's socket on port 65002 is not open");
}

void pass(const QString &figure, std::optional<int> forced)
{
    int bytes = 0;
    const long long dropsBefore = receiveBufferErrors();
    const Listing listed = scanRuns(false, [&](Tool &) { bytes = receiveBuffer(forced); });
    row(figure.arg(bytes / 1024),
        QStringLiteral("%1/%2 runs complete, fewest listed %3, %4 dropped")
            .arg(listed.complete).arg(Runs).arg(listed.fewest).arg(receiveBufferErrors() - dropsBefore),
        forced ? QString() : QStringLiteral("%1/%1, fewest %2").arg(Runs).arg(Modules),
        forced ? std::nullopt : std::optional<bool>(listed.complete == Runs));
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

void twoCards()
{
    constexpr int OnFirstLan = Modules / 2;
    Simulator first({"--first", "1", "--modules", QString::number(OnFirstLan)}, 1);
    Simulator second({"--first", QString::number(OnFirstLan + 1), "--modules", QString::number(Modules - OnFirstLan)},
                     2);
    // Both LANs behind one card would list every module too, and prove nothing.
    if (Tool().link.cards().size() != 2)
        fail("the link does not see the two LANs as two cards");
    const Listing listed = scanRuns(true, [](Tool &) {});
    row(QStringLiteral("two cards: %1 modules (%2 + %3), one scan, %4 runs")
            .arg(Modules).arg(OnFirstLan).arg(Modules - OnFirstLan).arg(Runs),
        QStringLiteral("%1/%2 runs complete, fewest listed %3").arg(listed.complete).arg(Runs).arg(listed.fewest),
        QStringLiteral("%1/%1, fewest %2").arg(Runs).arg(Modules), listed.complete == Runs);
    row("two cards: listed after the first broadcast round (fewest)",
        QStringLiteral("%1/%2").arg(listed.fewestFirstRound).arg(Modules));
}

}  // namespace kelvane::bench
