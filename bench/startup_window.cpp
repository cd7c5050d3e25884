// The tool's window started as src/ui/main.cpp starts it. Once the window has
// been painted for the first time it prints the monotonic clock at main() and
// then, and ends: bench_startup reads both.
#include "Appearance.h"
#include "MainForm.h"
#include "Report.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <ctime>

namespace {
constexpr int GiveUpMs = 30000;

long long monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

// Waits for the window's first paint; the report goes out once that paint,
// and the flush to the screen in the same pass, are done.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(long long enteredNs) : m_enteredNs(enteredNs) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QTimer::singleShot(0, this, [this] {
                std::printf("main %lld\nshown %lld\n", m_enteredNs, monotonicNs());
                std::fflush(stdout);
                // exit(), not quit(): quit() would close the window, which asks first.
                QCoreApplication::exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    long long m_enteredNs;
    bool m_seen = false;
};
}  // namespace

int main(int argc, char *argv[])
{
    const long long entered = monotonicNs();
    // It opens port 65002 as the tool does.
    kelvane::bench::requirePrivateNet("bench_startup_window");

    QApplication app(argc, argv);
    kelvane::setUpApplication();

    kelvane::MainForm window;
    FirstPaint probe(entered);
    window.installEventFilter(&probe);
    window.show();

    QTimer::singleShot(GiveUpMs, &app, [] {
        std::fputs("the window was never painted\n", stderr);
        QCoreApplication::exit(1);
    });
    return QApplication::exec();
}
