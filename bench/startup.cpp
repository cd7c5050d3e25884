// Start-up to the window shown, and peak memory: the window started afresh in
// a child each run, timed from just before the spawn to its first paint.
#include "Figures.h"
#include "Harness.h"

#include "Appearance.h"
#include "MainForm.h"

#include <QApplication>
#include <QFile>
#include <QTimer>

#include <chrono>
#include <cstdio>

namespace kelvane::bench {

namespace {
constexpr int Runs = 11;
constexpr double TargetMs = 300;
constexpr double TargetMiB = 60;

// Reports once the first paint, and the flush in the same pass, are done.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(long long enteredNs) : m_enteredNs(enteredNs) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QTimer::singleShot(0, this, [this] {
                std::printf("%lld %lld %lld\n", m_enteredNs, steadyNs(), peakKiB());
                std::fflush(stdout);
                // exit(), not quit(): quit() would close the window, which asks first.
                QCoreApplication::exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    // Peak resident size so far: the kernel's VmHWM, which only /proc/self/status shows.
    static long long peakKiB()
    {
        QFile status(QStringLiteral("/proc/self/status"));
        status.open(QIODevice::ReadOnly);
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("VmHWM:"))
                return line.mid(6).trimmed().split(' ').value(0).toLongLong();
        }
        return 0;
    }

    long long m_enteredNs;
    bool m_seen = false;
};
}  // namespace

long long steadyNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch()).count();
}

int windowChild(int argc, char *argv[], long long enteredNs)
{
    // The window as src/ui/main.cpp starts it, port 65002 and all.
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
        child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(WindowChild)});
        if (!child.waitForFinished() || child.exitCode() != 0)
            fail(QStringLiteral("the window child did not report its first paint"));
        const QList<QByteArray> report = child.readAllStandardOutput().trimmed().split(' ');
        if (report.size() != 3)
            fail(QStringLiteral("the window child reported nothing"));
        shown.push_back(double(report[1].toLongLong() - spawned) / 1e6);
        fromMain.push_back(double(report[1].toLongLong() - report[0].toLongLong()) / 1e6);
        peakMiB.push_back(double(report[2].toLongLong()) / 1024.0);
    }
    const double ms = median(shown);
    row(QStringLiteral("start-up: spawn to window painted (median of %1)").arg(Runs),
        fixed(ms, 1) + " ms (main() to painted " + fixed(median(fromMain), 1) + " ms)",
        QStringLiteral("< %1 ms").arg(TargetMs), ms < TargetMs);
    const double peak = *std::max_element(peakMiB.begin(), peakMiB.end());
    row(QStringLiteral("start-up: peak RSS (largest of %1)").arg(Runs), fixed(peak, 1) + " MiB",
        QStringLiteral("< %1 MiB").arg(TargetMiB), peak < TargetMiB);
}

}  // namespace kelvane::bench
