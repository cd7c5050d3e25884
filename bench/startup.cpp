// SPDX-License-Identifier: Apache-2.0
// Start-up to the window shown, and peak memory: the window started afresh in
// a child each run, timed from just before the spawn to its first paint.
#include "Harness.h"

#include "Appearance.h"
#include "MainForm.h"

#include <QApplication>
#include <QTimer>

#include <sys/resource.h>

namespace kelvane::bench {

namespace {
// Reports once the first paint, and the flush in the same pass, are done.
struct FirstPaint : QObject {
    long long enteredNs = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && enteredNs) {
            QTimer::singleShot(0, this, [entered = std::exchange(enteredNs, 0)] {
                std::printf("%lld %lld\n", entered, steadyNs());
                // exit(), not quit(): quit() would close the window, which asks first.
                QCoreApplication::exit(0);
            });
        }
        return false;
    }
};
}  // namespace

int windowChild(int argc, char *argv[], long long enteredNs)
{
    // As src/ui/main.cpp starts the tool, port 65002 and all.
    QApplication app(argc, argv);
    setUpApplication();
    MainForm window;
    FirstPaint probe;
    probe.enteredNs = enteredNs;
    window.installEventFilter(&probe);
    window.show();
    return QApplication::exec();
}

void startup()
{
    constexpr int Runs = 11;
    std::vector<double> shown, fromMain;
    for (int run = 0; run < Runs; ++run) {
        QProcess child;
        const long long spawned = steadyNs();
        child.start(QCoreApplication::applicationFilePath(), {WindowChild});
        child.waitForFinished();
        const QList<QByteArray> ns = child.readAllStandardOutput().split(' ');
        if (ns.size() != 2)
            fail("the window did not report its first paint");
        shown.push_back(double(ns[1].toLongLong() - spawned) / 1e6);
        fromMain.push_back(double(ns[1].toLongLong() - ns[0].toLongLong()) / 1e6);
    }
    // Qt has no peak memory of a process; the kernel keeps that of the largest
    // child waited for: the windows, as this figure runs first.
    rusage children{};
    getrusage(RUSAGE_CHILDREN, &children);
    const double ms = median(shown), peakMiB = double(children.ru_maxrss) / 1024;
    rowBelow(QStringLiteral("start-up: spawn to window painted (median of %1)").arg(Runs),
             fixed(ms, 1) + " ms (main() to painted " + fixed(median(fromMain), 1) + " ms)", ms, 300, " ms");
    rowBelow(QStringLiteral("start-up: peak RSS (largest of %1)").arg(Runs), fixed(peakMiB, 1) + " MiB", peakMiB, 60,
             " MiB");
}

}  // namespace kelvane::bench
