// A full read and a full write of one module: the tool's engine against a bare
// socket doing the same 17 + 17 exchanges, turn about, with one simulator.
#include "Report.h"
#include "Simulator.h"
#include "Wait.h"

#include "core/HeadlessPanel.h"
#include "core/QtOneShotTimer.h"
#include "operations/Engine.h"
#include "protocol/Catalogue.h"
#include "protocol/Frames.h"
#include "protocol/UdpLink.h"
#include "protocol/WriteSenders.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QUdpSocket>

#include <functional>
#include <optional>

using namespace kelvane;
using namespace kelvane::bench;

namespace {
constexpr int Rounds = 20;
// Read-write pairs per round: a round's scan costs four Timer1 periods, the pairs little.
constexpr int PairsPerRound = 5;
constexpr int OperationTimeoutMs = 5000;
// A full scan is four rounds of Timer1.
constexpr int ScanTimeoutMs = ScanRounds * TimeoutMs + 2000;

struct Timing {
    double readMs = 0;
    double writeMs = 0;
};

// What the bare socket sends: the query frames, and the write frames with the
// values the engine wrote, so both put the same bytes on the wire.
struct Frames {
    QByteArray address;
    QByteArrayList queries;
    QByteArrayList writes;
};

double msSince(const QElapsedTimer &clock)
{
    return double(clock.nsecsElapsed()) / 1e6;
}

// The engine as the window runs it, on the real socket and Timer1. A fresh
// one each round: only one socket can hold port 65002.
struct Tool {
    HeadlessPanel panel;
    UdpLink link;
    QtOneShotTimer timer;
    Engine engine{panel, link, timer};
};

// Runs one operation and waits for its success line; its time in ms.
template <typename Start>
std::optional<double> timeOperation(Tool &tool, const QString &success, Start start)
{
    Wait wait(OperationTimeoutMs);
    // Connected after the engine, so this sees each datagram once the engine has handled it.
    QObject::connect(&tool.link, &Link::datagramReceived, wait.context(), [&] {
        if (tool.panel.logText().endsWith(success))
            wait.done();
    });
    QElapsedTimer clock;
    clock.start();
    start();
    if (!wait.exec())
        return std::nullopt;
    return msSince(clock);
}

std::optional<std::vector<Timing>> engineRound(Frames &frames)
{
    Tool tool;
    tool.engine.startUp();
    {
        Wait wait(ScanTimeoutMs);
        QObject::connect(&tool.timer, &OneShotTimer::expired, wait.context(), [&] {
            if (tool.engine.machine().ScanRound == 0)
                wait.done();
        });
        tool.engine.scan();
        if (!wait.exec() || tool.panel.deviceRowCount() != 1) {
            qWarning("scan did not find the one module:\n%s", qPrintable(tool.panel.logText()));
            return std::nullopt;
        }
    }

    std::vector<Timing> timings;
    tool.panel.selectDeviceRow(0);
    const QString number = StatusLog::number(1);
    for (int pair = 0; pair < PairsPerRound; ++pair) {
        const auto read = timeOperation(tool, QStringLiteral("读取设备") + number + QStringLiteral("参数成功！"),
                                        [&] { tool.engine.deviceListClicked(); });
        const auto write = timeOperation(tool, QStringLiteral("设置设备") + number + QStringLiteral("数据成功！"),
                                         [&] { tool.engine.setting(); });
        if (!read || !write) {
            qWarning("the engine's read or write did not succeed:\n%s", qPrintable(tool.panel.logText()));
            return std::nullopt;
        }
        timings.push_back(Timing{*read, *write});
    }

    if (frames.queries.isEmpty()) {
        const DeviceAddress address = tool.engine.machine().deviceTable.address(0);
        frames.address = address.toByteArray();
        for (const Parameter &p : catalogue()) {
            frames.queries << frames::query(address, p.code);
            frames.writes << frames::write(address, p.code, writeValue(tool.panel, p).value_or(QByteArray()));
        }
    }
    return timings;
}

// Sends each frame once its predecessor is answered; the time in ms, none
// when an answer is missing or not what the frame asks for.
std::optional<double> exchange(QUdpSocket &socket, const QByteArrayList &frames,
                               const std::function<bool(const QByteArray &)> &accept)
{
    Wait wait(OperationTimeoutMs);
    qsizetype next = 0;
    bool refused = false;
    const auto sendNext = [&] {
        socket.writeDatagram(frames.at(next), QHostAddress::Broadcast, RemotePort);
    };
    QObject::connect(&socket, &QUdpSocket::readyRead, wait.context(), [&] {
        char buffer[2048];
        while (socket.hasPendingDatagrams()) {
            const qint64 size = socket.readDatagram(buffer, sizeof buffer);
            if (size < 0)
                continue;
            if (!accept(QByteArray::fromRawData(buffer, size))) {
                refused = true;
                wait.done();
                return;
            }
            if (++next == frames.size()) {
                wait.done();
                return;
            }
            sendNext();
        }
    });
    QElapsedTimer clock;
    clock.start();
    sendNext();
    if (!wait.exec() || refused)
        return std::nullopt;
    return msSince(clock);
}

std::optional<std::vector<Timing>> bareRound(const Frames &frames)
{
    QUdpSocket socket;
    if (!socket.bind(QHostAddress::AnyIPv4, LocalPort)) {
        qWarning("bare socket: %s", qPrintable(socket.errorString()));
        return std::nullopt;
    }
    const QByteArray ok = frames.address + "OK\r\n";
    std::vector<Timing> timings;
    for (int pair = 0; pair < PairsPerRound; ++pair) {
        const auto read = exchange(socket, frames.queries, [&](const QByteArray &answer) {
            return answer.size() > frames.address.size() && answer.startsWith(frames.address);
        });
        const auto write = exchange(socket, frames.writes, [&](const QByteArray &answer) { return answer == ok; });
        if (!read || !write) {
            qWarning("the bare socket's read or write did not complete");
            return std::nullopt;
        }
        timings.push_back(Timing{*read, *write});
    }
    return timings;
}
}  // namespace

int main(int argc, char *argv[])
{
    requirePrivateNet("bench_exchange");
    QCoreApplication app(argc, argv);

    Simulator sim;
    if (!sim.start({QStringLiteral("--modules"), QStringLiteral("1")}))
        fail(sim.failure().toStdString());

    Frames frames;
    std::vector<double> engineRead, engineWrite, engineTotal, bareRead, bareWrite, bareTotal;
    // Round 0 warms both up and gives the bare socket its frames; it is not counted.
    for (int round = 0; round <= Rounds; ++round) {
        std::optional<std::vector<Timing>> tool, bare;
        // Turn about, so that neither always runs right after the other.
        if (round % 2 == 0) {
            tool = engineRound(frames);
            bare = tool ? bareRound(frames) : std::nullopt;
        } else {
            bare = bareRound(frames);
            tool = engineRound(frames);
        }
        if (!tool || !bare)
            fail(format("bench_exchange: round %d failed", round));
        if (round == 0)
            continue;
        for (const Timing &t : *tool) {
            engineRead.push_back(t.readMs);
            engineWrite.push_back(t.writeMs);
            engineTotal.push_back(t.readMs + t.writeMs);
        }
        for (const Timing &t : *bare) {
            bareRead.push_back(t.readMs);
            bareWrite.push_back(t.writeMs);
            bareTotal.push_back(t.readMs + t.writeMs);
        }
    }

    const auto ms = [](const std::vector<double> &v) { return format("%.2f ms", median(v)); };
    const std::string of = format(" (median of %d)", Rounds * PairsPerRound);
    row("exchange: read, engine" + of, ms(engineRead), "", Info);
    row("exchange: read, bare socket" + of, ms(bareRead), "", Info);
    row("exchange: write, engine" + of, ms(engineWrite), "", Info);
    row("exchange: write, bare socket" + of, ms(bareWrite), "", Info);
    const double ratio = median(engineTotal) / median(bareTotal);
    row("exchange: read+write, engine / bare socket", format("%.2fx (%.2f / %.2f ms)", ratio,
        median(engineTotal), median(bareTotal)), "< 1.5x", verdict(ratio < 1.5));
    return 0;
}
