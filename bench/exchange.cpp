// SPDX-License-Identifier: Apache-2.0
// A full read and a full write of one module: the tool's engine against a bare
// client sending the same 17 + 17 datagrams, turn about, with one simulator.
#include "Harness.h"

#include "protocol/Catalogue.h"

namespace kelvane::bench {

void exchange()
{
    // A fresh engine a round, since only one socket can hold port 65002; its
    // scan costs four Timer1 periods, so a round does several pairs.
    constexpr int Rounds = 10, PairsPerRound = 10;
    Simulator sim({"--modules", "1"});
    QByteArrayList sent;  // the engine's first read and write, for the bare client to send
    QByteArray address;
    const QString n = StatusLog::number(1);

    const auto engineRound = [&](std::vector<double> &ms) {
        Tool tool;
        timeUntil([&] { tool.window.scan(); }, [&] { return tool.engine.machine().ScanRound == 0; },
                  "the scan never ended", ScanMs);
        if (tool.panel.deviceRowCount() != 1)
            fail(QStringLiteral("the scan found %1 modules, not the one").arg(tool.panel.deviceRowCount()));
        address = tool.engine.deviceTable().address(0).toByteArray();
        sent.clear();
        QObject::connect(&tool.link, &Link::traffic, &tool.link, [&](Direction direction, const QByteArray &datagram) {
            if (direction == Direction::Sent && sent.size() < 2 * ParameterCount)
                sent << datagram;
        });
        const auto logged = [&](const std::function<void()> &start, const QString &success) {
            const auto done = [&] { return tool.panel.logText().endsWith(success); };
            return timeUntil(start, done, "no " + success + " in the log");
        };
        const auto read = [&] {
            tool.panel.selectDeviceRow(0);
            tool.window.deviceListClicked();
        };
        for (int pair = 0; pair < PairsPerRound; ++pair)
            ms.push_back(logged(read, "读取设备" + n + "参数成功！") +
                         logged([&] { tool.window.setting(); }, "设置设备" + n + "数据成功！"));
    };
    const auto bareRound = [&](std::vector<double> &ms) {
        if (sent.size() != 2 * ParameterCount)
            fail(QStringLiteral("the engine's read and write sent %1 datagrams, not 34").arg(sent.size()));
        std::ranges::copy(bareExchanges(sent, address, PairsPerRound), std::back_inserter(ms));
    };

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
    rowBelow(QStringLiteral("exchange: read+write, engine against bare client (medians of %1)").arg(engine.size()),
             fixed(median(engine), 2) + " ms against " + fixed(median(bare), 2) + " ms: " + fixed(ratio, 2) + "x",
             ratio, 1.5, "x");
}

}  // namespace kelvane::bench
