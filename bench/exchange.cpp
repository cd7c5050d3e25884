// A full read and a full write of one module: the tool's engine against a bare
// client doing the same 17 + 17 exchanges, turn about, with one simulator.
#include "Harness.h"

#include "protocol/Catalogue.h"
#include "protocol/Frames.h"
#include "protocol/WriteSenders.h"

namespace kelvane::bench {

namespace {
// A fresh engine each round, since only one socket can hold port 65002; its
// scan costs four Timer1 periods, so a round does several pairs.
constexpr int Rounds = 10;
constexpr int PairsPerRound = 10;

struct Samples {
    std::vector<double> read, write, total;
    void add(double readMs, double writeMs)
    {
        read.push_back(readMs);
        write.push_back(writeMs);
        total.push_back(readMs + writeMs);
    }
};

// The bare client sends the bytes the engine sent.
struct Frames {
    QByteArray address;
    QByteArrayList queries, writes;
};

void engineRound(Samples &samples, Frames &frames)
{
    Tool tool;
    if (tool.scan() != 1)
        fail("the scan did not find the one module");
    const QString number = StatusLog::number(1);
    const auto read = [&] {
        tool.panel.selectDeviceRow(0);
        tool.engine.deviceListClicked();
    };
    for (int pair = 0; pair < PairsPerRound; ++pair) {
        const double readMs = tool.run(read, "读取设备" + number + "参数成功！");
        samples.add(readMs, tool.run([&] { tool.engine.setting(); }, "设置设备" + number + "数据成功！"));
    }
    const DeviceAddress address = tool.engine.machine().deviceTable.address(0);
    frames = {address.toByteArray(), {}, {}};
    for (const Parameter &p : catalogue()) {
        frames.queries << frames::query(address, p.code);
        frames.writes << frames::write(address, p.code, writeValue(tool.panel, p).value_or(QByteArray()));
    }
}

void bareRound(Samples &samples, const Frames &frames)
{
    BareClient client;
    for (int pair = 0; pair < PairsPerRound; ++pair) {
        const auto read = client.exchange(frames.queries, frames.address);
        const auto write = client.exchange(frames.writes, frames.address + "OK\r\n");
        if (!read || !write)
            fail("the bare client's read or write did not complete");
        samples.add(*read, *write);
    }
}

QString versus(const std::vector<double> &engine, const std::vector<double> &bare)
{
    return fixed(median(engine), 2) + " ms against " + fixed(median(bare), 2) + " ms";
}
}  // namespace

void exchange()
{
    Simulator sim({"--modules", "1"});
    Samples engine, bare, warmUp;
    Frames frames;
    // A first round, not counted, warms both up and gives the bare client its frames.
    engineRound(warmUp, frames);
    bareRound(warmUp, frames);
    for (int round = 1; round <= Rounds; ++round) {
        // Turn about, so that neither always runs right after the other.
        if (round % 2 == 1)
            bareRound(bare, frames);
        engineRound(engine, frames);
        if (round % 2 == 0)
            bareRound(bare, frames);
    }
    const QString of = QStringLiteral(" (medians of %1)").arg(Rounds * PairsPerRound);
    row("exchange: read, engine against bare client" + of, versus(engine.read, bare.read));
    row("exchange: write, engine against bare client" + of, versus(engine.write, bare.write));
    const double ratio = median(engine.total) / median(bare.total);
    row("exchange: read+write, engine / bare client", fixed(ratio, 2) + "x (" + versus(engine.total, bare.total) + ")",
        "< 1.5x", ratio < 1.5);
}

}  // namespace kelvane::bench
