// Start-up to the window shown, and peak memory: the window started afresh in
// a child each run, timed from just before the spawn to its first paint.
#include "Harness.h"

#include "Appearance.h"
#include "MainForm.h"

#include <QApplication>
#include <QFile>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <utility>

namespace kelvane::bench {

namespace {
constexpr int Runs = 11;
constexpr double TargetMs = 300;
constexpr double TargetMiB = 60;

// Peak resident size so far: the kernel's VmHWM, which only /proc/self/status shows.
QByteArray peakKiB()
{
    QFile status("/proc/self/status");
    status.open(QIODevice::ReadOnly);
    const QByteArray text = status.readAll();
    return text.mid(text.indexOf("VmHWM:") + 6).split('k').value(0).trimmed();
}

// Reports once the first paint, and the flush in the same pass, are done.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(long long enteredNs) : m_enteredNs(enteredNs) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !std::exchange(m_seen, true)) {
            QTimer::singleShot(0, this, [this] {
                std::printf("%lld %lld %s\n", m_enteredNs, steadyNs(), peakKiB().constData());
                // exit(), not quit(): quit() would close the window, which asks first.
                QCoreApplication::exit(0);
            });
        }
        return false;
    }

private:
    long long m_enteredNs;
    bool m_seen = false;
};
}  // namespace

int windowChild(int argc, char *argv[], long long enteredNs)
{
    // As src/ui/main.cpp starts the tool, port 65002 and all.
    QApplication app(argc, argv);
    setUpApplication();
    MainForm window;
    FirstPaint probe(enteredNs);
    window.installEventFilter(&probe);
    window.show();
    return QApplication::exec();
}

void startup()
{
    std::vector<double> shown, fromMain, peakMiB;
    for (int run = 0; run < Runs; ++run) {
        QProcess child;
        const long long spawned = steadyNs();
        child.start(QCoreApplication::applicationFilePath(), {WindowChild});
        const QList<QByteArray> report = child.waitForFinished() ? child.readAllStandardOutput().split(' ') : QList<QByteArray>();
        if (report.size() != 3)
            fail("the window did not report its first paint");
        shown.push_back(double(report[1].toLongLong() - spawned) / 1e6);
        fromMain.push_back(double(report[1].toLongLong() - report[0].toLongLong()) / 1e6);
        peakMiB.push_back(report[2].trimmed().toDouble() / 1024.0);
    }
    const double ms = median(shown), peak = *std::max_element(peakMiB.begin(), peakMiB.end());
    row(QStringLiteral("start-up: spawn to window painted (median of %1)").arg(Runs),
        fixed(ms, 1) + " ms (main() to painted " + fixed(median(fromMain), 1) + " ms)",
        QStringLiteral("< %1 ms").arg(TargetMs), ms < TargetMs);
    row(QStringLiteral("start-up: peak RSS (largest of %1)").arg(Runs), fixed(peak, 1) + " MiB",
        QStringLiteral("< %1 MiB").arg(TargetMiB), peak < TargetMiB);
}

}  // namespace kelvane::bench
