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

// What the engine sent, for the bare client to send the same bytes.
QByteArray address;
QByteArrayList queries, writes;

void engineRound(std::vector<double> &ms)
{
    Tool tool;
    if (tool.scan() != 1)
        fail("the scan did not find the one module");
    const auto read = [&] {
        tool.panel.selectDeviceRow(0);
        tool.engine.deviceListClicked();
    };
    for (int pair = 0; pair < PairsPerRound; ++pair) {
        ms.push_back(tool.run(read, "读取设备" + StatusLog::number(1) + "参数成功！") +
                     tool.run([&] { tool.engine.setting(); }, "设置设备" + StatusLog::number(1) + "数据成功！"));
    }
    const DeviceAddress module = tool.engine.machine().deviceTable.address(0);
    address = module.toByteArray();
    queries.clear();
    writes.clear();
    for (const Parameter &p : catalogue()) {
        queries << frames::query(module, p.code);
        writes << frames::write(module, p.code, writeValue(tool.panel, p).value_or(QByteArray()));
    }
}

void bareRound(std::vector<double> &ms)
{
    BareClient client;
    for (int pair = 0; pair < PairsPerRound; ++pair) {
        const auto read = client.exchange(queries, address);
        const auto write = client.exchange(writes, address + "OK\r\n");
        if (!read || !write)
            fail("the bare client's read or write did not complete");
        ms.push_back(*read + *write);
    }
}
}  // namespace

void exchange()
{
    Simulator sim({"--modules", "1"});
    std::vector<double> engine, bare, warmUp;
    // A first round, not counted, warms both up and gives the bare client its frames.
    engineRound(warmUp);
    bareRound(warmUp);
    for (int round = 1; round <= Rounds; ++round) {
        // Turn about, so that neither always runs right after the other.
        if (round % 2 == 1)
            bareRound(bare);
        engineRound(engine);
        if (round % 2 == 0)
            bareRound(bare);
    }
    const double ratio = median(engine) / median(bare);
    row(QStringLiteral("exchange: read+write, engine against bare client (medians of %1)").arg(engine.size()),
        fixed(median(engine), 2) + " ms against " + fixed(median(bare), 2) + " ms: " + fixed(ratio, 2) + "x",
        "< 1.5x", ratio < 1.5);
}

}  // namespace kelvane::bench
