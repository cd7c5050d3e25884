// SPDX-License-Identifier: Apache-2.0
// The status pane on the real window: the cost of one more entry, with its
// repaint, at 100, 1,000 and 10,000 entries already there. It should not grow.
// One window per level, timed in turn, so that whatever else the machine is
// doing falls on every level alike.
#include "Harness.h"

#include "MainForm.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <array>

namespace kelvane::bench {

namespace {
// Three windows cannot all hold port 65002, and the pane needs no socket.
struct NoLink final : Link {
    bool open() override { return true; }
    QString errorString() const override { return {}; }
    bool send(const QByteArray &) override { return true; }
    QString localAddress() const override { return "127.0.0.1"; }
};

struct Pane {
    NoLink link;
    QtOneShotTimer timer;
    MainForm window{link, timer, &QDateTime::currentDateTime};
    StatusLog log{window};  // the writer the operations use
    int entries = 1;        // start-up's own
    std::vector<double> us;
};

// One entry as the operations write it, and its repaint; its µs.
double append(Pane &pane)
{
    QElapsedTimer clock;
    clock.start();
    pane.log.append({"读取设备" + StatusLog::number(pane.entries++ % 254 + 1) + "参数成功！"});
    QCoreApplication::processEvents();
    return double(clock.nsecsElapsed()) / 1e3;
}
}  // namespace

void statusLog()
{
    constexpr int Levels[] = {100, 1000, 10000}, Samples = 101;
    std::array<Pane, 3> panes;
    for (int level = 0; level < 3; ++level) {
        panes[level].window.show();
        while (panes[level].entries < Levels[level])
            append(panes[level]);
    }
    for (int i = 0; i < Samples; ++i) {
        for (Pane &pane : panes)
            pane.us.push_back(append(pane));
    }
    const double us[] = {median(panes[0].us), median(panes[1].us), median(panes[2].us)}, ratio = us[2] / us[0];
    rowBelow(QStringLiteral("log: one append + repaint at 100 / 1k / 10k entries (median of %1)").arg(Samples),
             fixed(us[0], 0) + " / " + fixed(us[1], 0) + " / " + fixed(us[2], 0) + " us: " + fixed(ratio, 2) + "x",
             ratio, 2, "x");
}

}  // namespace kelvane::bench
