// SPDX-License-Identifier: Apache-2.0
// `kelvane read MODULE` of one module, process start to exit, against the bare
// client reading the same module. The command scans first, four Timer1 periods
// of waiting, so its traffic trace splits the run: the read proper is the first
// query to the last answer, and only that part is set against the bare client.
#include "Harness.h"

#include "protocol/Catalogue.h"

#include <QFile>
#include <QTemporaryDir>

namespace kelvane::bench {

void cliRead()
{
    // Bare reads after each run of the command, turn about with it.
    constexpr int Runs = 5, BareReadsPerRun = 10;
    Simulator sim({"--modules", "1"});
    const QString module = listedModules(1).first();
    const QByteArray address = DeviceAddress::fromHex(module).value_or(DeviceAddress()).toByteArray();
    const QTemporaryDir dir;
    std::vector<double> whole, scan, read, ownShare, bare;
    for (int run = 0; run < Runs; ++run) {
        QFile trace(dir.filePath(QString::number(run)));
        whole.push_back(command({"read", module, "--trace", trace.fileName()}));
        // Lines of ms, direction, card, peer, bytes in hex, what the engine made of it:
        // when the first discovery request and first query went out, and the last answer came.
        double discovered = -1, queried = -1, answered = -1;
        QByteArrayList queries;
        trace.open(QIODevice::ReadOnly);
        for (const QByteArray &line : trace.readAll().split('\n')) {
            const QList<QByteArray> field = line.split('\t');
            if (field.size() < 6 || line.startsWith('#'))
                continue;
            if (field[1] == "out" && field[5] == "discovery request" && discovered < 0)
                discovered = field[0].toDouble();
            if (field[1] == "out" && field[5].startsWith("query ") && queries.isEmpty())
                queried = field[0].toDouble();
            if (field[1] == "out" && field[5].startsWith("query "))
                queries << QByteArray::fromHex(field[4]);
            if (field[1] == "in" && !queries.isEmpty())
                answered = field[0].toDouble();
        }
        if (discovered < 0 || queries.size() != ParameterCount || answered < queried)
            fail("the trace holds no scan followed by a read:\n" + trace.fileName());
        scan.push_back(queried - discovered);
        read.push_back(answered - queried);
        ownShare.push_back(whole.back() - scan.back());
        // The same queries, sent by a client that only waits for each answer.
        std::ranges::copy(bareExchanges(queries, address, BareReadsPerRun), std::back_inserter(bare));
    }
    const double bareMs = median(bare);
    row(QStringLiteral("cli read: `kelvane read`, start to exit, against bare read (%1 runs)").arg(Runs),
        fixed(median(whole), 1) + " ms against " + fixed(bareMs, 2) + " ms: " + fixed(median(whole) / bareMs, 0) + "x");
    // Start-up, read and exit, all of the run but the scan's fixed waiting; a
    // person at a terminal notices a tenth of a second.
    rowBelow("cli read: the run but the scan's waiting (start-up, read, exit)",
             fixed(median(ownShare), 1) + " ms, scan " + fixed(median(scan), 1) + " ms", median(ownShare), 100, " ms");
    // No target for the read proper: it runs once, cold, in a process just
    // started, and pays for two trace lines per exchange; the bare client is warm.
    row("cli read: first query to last answer, against bare read (medians)",
        fixed(median(read), 2) + " ms against " + fixed(bareMs, 2) + " ms: " + fixed(median(read) / bareMs, 2) + "x");
}

}  // namespace kelvane::bench
