// SPDX-License-Identifier: Apache-2.0
// `kelvane read MODULE` of one module, process start to exit, against a bare
// client process that sends the same discovery request and the same 17 queries.
// The read stops looking once its module has answered, so what is left of the
// run is start-up, one discovery exchange, the read and exit; a traced run
// says which part is which.
#include "Harness.h"

#include "protocol/Catalogue.h"

#include <QFile>
#include <QTemporaryDir>

namespace kelvane::bench {

namespace {
// What a traced `kelvane read` did: its frames out, in order, and when its parts began and ended.
struct Traced {
    QByteArrayList frames;  // the discovery requests, then the queries
    int discoveryRequests = 0;
    double discovered = -1, queried = -1, answered = -1;
};

// Lines of ms, direction, card, peer, bytes in hex, what the engine made of it.
Traced parseTrace(const QString &fileName)
{
    QFile trace(fileName);
    if (!trace.open(QIODevice::ReadOnly))
        fail("no trace written: " + fileName);
    Traced traced;
    int queries = 0;
    for (const QByteArray &line : trace.readAll().split('\n')) {
        const QList<QByteArray> field = line.split('\t');
        if (field.size() < 6 || line.startsWith('#'))
            continue;
        const double ms = field[0].toDouble();
        if (field[1] == "out" && field[5] == "discovery request") {
            traced.discovered = traced.discoveryRequests++ ? traced.discovered : ms;
            traced.frames << QByteArray::fromHex(field[4]);
        }
        if (field[1] == "out" && field[5].startsWith("query ")) {
            traced.queried = queries++ ? traced.queried : ms;
            traced.frames << QByteArray::fromHex(field[4]);
        }
        if (field[1] == "in" && queries > 0)
            traced.answered = ms;
    }
    if (traced.discoveryRequests == 0 || queries != ParameterCount || traced.answered < traced.queried)
        fail("the trace holds no discovery followed by a read:\n" + fileName);
    return traced;
}
}  // namespace

void cliRead()
{
    // Each run: the command, the bare client, the command traced, turn about.
    constexpr int Runs = 21;
    Simulator sim({"--modules", "1"});
    const QString module = listedModules(1).first();
    const QTemporaryDir dir;
    const QString traceFile = dir.filePath("trace");
    const Traced first = (command({"read", module, "--trace", traceFile}), parseTrace(traceFile));
    QStringList bareArguments{module};
    for (const QByteArray &frame : first.frames)
        bareArguments << QString::fromLatin1(frame.toHex());

    std::vector<double> whole, bare, traced, discovery, read, rest;
    int mostRequests = 0;
    for (int turn = 0; turn < Runs; ++turn) {
        whole.push_back(command({"read", module}));
        const Exit client = run(KELVANE_BARE_CLIENT, bareArguments);
        if (client.status != 0)
            fail("the bare client had no answer:\n" + client.errors);
        bare.push_back(client.ms);
        traced.push_back(command({"read", module, "--trace", traceFile}));
        const Traced t = parseTrace(traceFile);
        mostRequests = std::max(mostRequests, t.discoveryRequests);
        discovery.push_back(t.queried - t.discovered);
        read.push_back(t.answered - t.queried);
        rest.push_back(traced.back() - (t.answered - t.discovered));
    }
    // The module answers the first request at once: a second one means the read waited for nothing.
    if (mostRequests != 1)
        fail(QStringLiteral("kelvane read sent %1 discovery requests for a module that answers the first").arg(mostRequests));
    const double ratio = median(whole) / median(bare);
    rowBelow(QStringLiteral("cli read: `kelvane read` against the bare client process (%1 runs)").arg(Runs),
             fixed(median(whole), 1) + " ms against " + fixed(median(bare), 1) + " ms: " + fixed(ratio, 2) + "x",
             ratio, 3, "x");
    // The traced run split: start-up and exit weigh most; the trace lines slow the exchanges a little.
    row("cli read, traced: discovery (1 request) / read (17 queries) / the rest",
        fixed(median(discovery), 2) + " / " + fixed(median(read), 2) + " / " + fixed(median(rest), 1) + " ms of " +
            fixed(median(traced), 1) + " ms");
}

}  // namespace kelvane::bench
