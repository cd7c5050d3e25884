// A full read and a full write of one module: the tool's engine against a bare
// client sending the same 17 + 17 datagrams, turn about, with one simulator.
#include "Harness.h"

#include "protocol/Catalogue.h"

namespace kelvane::bench {

namespace {
// A fresh engine each round, since only one socket can hold port 65002; its
// scan costs four Timer1 periods, so a round does several pairs.
constexpr int Rounds = 10, PairsPerRound = 10;
constexpr double TargetRatio = 1.5;

// What the engine's first read and write sent, for the bare client to send, and its module.
QByteArrayList sent;
QByteArray address;

void engineRound(std::vector<double> &ms)
{
    Tool tool;
    address = tool.scanOne();
    sent.clear();
    QObject::connect(&tool.link, &Link::traffic, &tool.link, [](Direction direction, const QByteArray &datagram) {
        if (direction == Direction::Sent && sent.size() < 2 * ParameterCount)
            sent << datagram;
    });
    const QString n = StatusLog::number(1);
    const auto read = [&] {
        tool.panel.selectDeviceRow(0);
        tool.engine.deviceListClicked();
    };
    for (int pair = 0; pair < PairsPerRound; ++pair)
        ms.push_back(tool.run(read, "读取设备" + n + "参数成功！") +
                     tool.run([&] { tool.engine.setting(); }, "设置设备" + n + "数据成功！"));
}

void bareRound(std::vector<double> &ms)
{
    if (sent.size() != 2 * ParameterCount)
        fail(QStringLiteral("the engine's read and write sent %1 datagrams, not 34").arg(sent.size()));
    BareClient client;
    for (int pair = 0; pair < PairsPerRound; ++pair)
        ms.push_back(client.exchange(sent, address));
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
        QStringLiteral("< %1x").arg(TargetRatio), ratio < TargetRatio);
}

}  // namespace kelvane::bench
