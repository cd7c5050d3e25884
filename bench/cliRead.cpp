// `kelvane read MODULE` of one module, process start to exit, against the bare
// client reading the same module. The command scans first, four Timer1 periods
// of waiting, so its traffic trace splits the run: the read proper is the first
// query to the last answer, and only that part is set against the bare client.
#include "Harness.h"

#include "protocol/Catalogue.h"
#include "protocol/Frames.h"

#include <QTemporaryDir>

namespace kelvane::bench {

namespace {
constexpr int Runs = 5;
// Bare reads before each run of the command, turn about with it.
constexpr int BareReadsPerRun = 10;
// Start-up, read and exit, all of the run but the scan's fixed waiting; a
// person at a terminal notices a tenth of a second.
constexpr double OwnShareTargetMs = 100.0;
// The read proper gets no target: it runs once, cold, in a process just
// started, and pays for two trace lines per exchange, while the bare client is
// warm; over a link of some 15 µs an exchange that swings from 1.5 to 6 times.

// Times on the trace's own clock, in ms.
struct Split {
    double firstDiscovery = -1;
    double firstQuery = -1;
    double lastAnswer = -1;
};

// Lines are: ms, direction, card, peer, bytes, what the engine made of it.
Split splitTrace(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        fail("no trace at " + path);
    const QByteArray text = file.readAll();
    Split split;
    for (const QByteArray &line : text.split('\n')) {
        const QList<QByteArray> field = line.split('\t');
        if (line.startsWith('#') || field.size() < 6)
            continue;
        const double ms = field.at(0).toDouble();
        if (field.at(1) == "out" && field.at(5) == "discovery request" && split.firstDiscovery < 0)
            split.firstDiscovery = ms;
        else if (field.at(1) == "out" && field.at(5).startsWith("query ") && split.firstQuery < 0)
            split.firstQuery = ms;
        else if (field.at(1) == "in" && split.firstQuery >= 0)
            split.lastAnswer = ms;
    }
    if (split.firstDiscovery < 0 || split.firstQuery < split.firstDiscovery || split.lastAnswer < split.firstQuery)
        fail("the trace holds no scan followed by a read:\n" + QString::fromUtf8(text));
    return split;
}

struct CommandRun {
    double wholeMs = 0;
    Split split;
};

CommandRun runCommand(const QString &module, const QString &tracePath)
{
    QProcess process;
    const auto ms = timeUntil([&] { process.start(KELVANE_CLI, {"read", module, "--trace", tracePath}); },
                              [&] { return process.state() == QProcess::NotRunning; }, 10000);
    if (!ms || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        fail("kelvane read did not succeed: " + QString::fromLocal8Bit(process.readAllStandardError()));
    // One line per parameter on standard output.
    if (process.readAllStandardOutput().count('\n') != ParameterCount)
        fail("kelvane read did not print the 17 parameters");
    return {*ms, splitTrace(tracePath)};
}
}  // namespace

void cliRead()
{
    Simulator sim({"--modules", "1"});
    // The engine finds the module and builds the frames the bare client sends.
    DeviceAddress module;
    {
        Tool tool;
        if (tool.scan() != 1)
            fail("the scan did not find the one module");
        module = tool.engine.machine().deviceTable.address(0);
    }
    QByteArrayList queries;
    for (const Parameter &p : catalogue())
        queries << frames::query(module, p.code);

    const QTemporaryDir dir;
    std::vector<double> whole, scan, read, ownShare, bare;
    for (int run = 0; run < Runs; ++run) {
        {
            // Only one socket can hold port 65002: the client goes before the command starts.
            BareClient client;
            for (int i = 0; i < BareReadsPerRun; ++i) {
                const auto ms = client.exchange(queries, module.toByteArray());
                if (!ms)
                    fail("the bare client's read did not complete");
                bare.push_back(*ms);
            }
        }
        const CommandRun command = runCommand(module.toHex(), dir.filePath(QString::number(run) + ".trace"));
        whole.push_back(command.wholeMs);
        scan.push_back(command.split.firstQuery - command.split.firstDiscovery);
        read.push_back(command.split.lastAnswer - command.split.firstQuery);
        ownShare.push_back(command.wholeMs - scan.back());
    }
    const double bareMs = median(bare);
    row(QStringLiteral("cli read: `kelvane read`, start to exit, against bare read (%1 runs)").arg(Runs),
        fixed(median(whole), 1) + " ms against " + fixed(bareMs, 2) + " ms: " + fixed(median(whole) / bareMs, 0) +
            "x");
    row("cli read: the run but the scan's waiting (start-up, read, exit)",
        fixed(median(ownShare), 1) +  " ms, scan " + fixed(median(scan), 1) + " ms",
        "< " + fixed(OwnShareTargetMs, 0) + " ms", median(ownShare) < OwnShareTargetMs);
    const double ratio = median(read) / bareMs;
    row("cli read: first query to last answer, against bare read (medians)",
        fixed(median(read), 2) + " ms against " + fixed(bareMs, 2) + " ms: " + fixed(ratio, 2) + "x");
}

}  // namespace kelvane::bench
