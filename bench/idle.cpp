// Idle: once the window is up, and again once a scan and a read have ended,
// nothing should wake the program. A watcher thread counts, from outside the
// event loop, the context switches of every other thread.
#include "Harness.h"

#include "MainForm.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <chrono>
#include <thread>
#include <unistd.h>

namespace kelvane::bench {

namespace {
using namespace std::chrono_literals;
constexpr auto Settle = 500ms;
constexpr auto Span = 3s;

// Context switches so far of every thread but the caller's: only the kernel
// counts a thread's wake-ups, in /proc/self/task/*/status.
long long switches()
{
    long long total = 0;
    for (const QString &tid : QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile status("/proc/self/task/" + tid + "/status");
        if (tid.toInt() == gettid() || !status.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.contains("ctxt_switches:"))
                total += line.mid(line.indexOf(':') + 1).trimmed().toLongLong();
        }
    }
    return total;
}

// The GUI thread sits in its event loop for Span while the watcher counts;
// the one wake-up that ends it comes after the count. Wake-ups a second.
double wakeUps()
{
    QEventLoop loop;
    long long counted = 0;
    std::thread watcher([&] {
        std::this_thread::sleep_for(Settle);
        const long long before = switches();
        std::this_thread::sleep_for(Span);
        counted = switches() - before;
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    watcher.join();
    return double(counted) / std::chrono::duration<double>(Span).count();
}

void idleRow(const QString &when, OneShotTimer &timer1)
{
    const double perSecond = wakeUps();
    row("idle " + when + ": wake-ups per second",
        fixed(perSecond, 2) + "/s, Timer1 " + (timer1.isActive() ? "ARMED" : "idle"), "0/s, Timer1 idle",
        perSecond == 0 && !timer1.isActive());
}
}  // namespace

void idle()
{
    UdpLink link;
    QtOneShotTimer timer;
    MainForm window(link, timer, &QDateTime::currentDateTime);
    window.show();
    idleRow("after start-up", timer);

    // Then the same once Timer1 has been armed and disarmed many times over.
    Simulator sim({"--modules", "3"});
    auto *scan = window.findChild<QPushButton *>("Scan");
    auto *list = window.findChild<QListWidget *>("Device_List");
    auto *box = window.findChild<QLineEdit *>("G_IP");
    if (!scan || !list || !box)
        fail("the window has no Scan, Device_List or G_IP");
    if (!timeUntil([&] { scan->click(); }, [&] { return !timer.isActive() && window.logText().endsWith("个设备。"); }))
        fail("the scan did not end with modules found:\n" + window.logText());
    const auto click = [&] {
        list->setCurrentRow(0);
        emit list->itemClicked(list->item(0));
    };
    if (!timeUntil(click, [&] { return window.logText().endsWith("读取设备" + StatusLog::number(1) + "参数成功！"); }))
        fail("the read did not succeed:\n" + window.logText());
    idleRow("after a scan and a read", timer);

    // Qt blinks the caret in a text box with the focus: not the tool's doing, so no target.
    box->setFocus();
    row("idle, caret in a text box (Qt's cursor blink)",
        fixed(wakeUps(), 2) + "/s, focus " + (QApplication::focusWidget() == box ? "in G_IP" : "NOT in G_IP"));
}

}  // namespace kelvane::bench
