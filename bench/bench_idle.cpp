// Idle: once the window is up, and again once a scan and a read have ended,
// nothing should wake the program. Counted from outside the event loop: the
// context switches of every thread of this process (a watcher thread that
// sleeps through the count excepted), the event loop's wake-ups, and the
// timer events delivered, by receiver.
#include "Report.h"
#include "Simulator.h"
#include "Wait.h"

#include "Appearance.h"
#include "MainForm.h"
#include "core/QtOneShotTimer.h"
#include "protocol/UdpLink.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <unistd.h>

using namespace kelvane;
using namespace kelvane::bench;
using namespace std::chrono_literals;

namespace {
constexpr auto Settle = 500ms;
constexpr auto Span = 3s;
constexpr int OperationTimeoutMs = 8000;

// Kept by the GUI thread, read by the watcher.
class Census : public QObject {
public:
    std::atomic<int> wakeUps{0};
    std::atomic<int> timerEvents{0};

    std::map<std::string, int> timersByReceiver()
    {
        const std::lock_guard lock(m_mutex);
        return m_byReceiver;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Timer) {
            ++timerEvents;
            const std::lock_guard lock(m_mutex);
            ++m_byReceiver[describe(watched)];
        }
        return QObject::eventFilter(watched, event);
    }

private:
    static std::string describe(const QObject *o)
    {
        std::string name = o->metaObject()->className();
        if (const QObject *parent = o->parent())
            name += std::string(" in ") + parent->metaObject()->className() + " " + parent->objectName().toStdString();
        return name;
    }

    std::mutex m_mutex;
    std::map<std::string, int> m_byReceiver;
};

// Context switches so far of each thread of this process but the caller, by "tid name".
std::map<std::string, long long> switchesByThread()
{
    std::map<std::string, long long> result;
    const QString self = QString::number(gettid());
    for (const QString &tid : QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (tid == self)
            continue;
        const QString base = QStringLiteral("/proc/self/task/") + tid;
        QFile comm(base + QStringLiteral("/comm"));
        QFile status(base + QStringLiteral("/status"));
        if (!comm.open(QIODevice::ReadOnly) || !status.open(QIODevice::ReadOnly))
            continue;
        long long switches = 0;
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("voluntary_ctxt_switches:") || line.startsWith("nonvoluntary_ctxt_switches:"))
                switches += line.mid(line.indexOf(':') + 1).trimmed().toLongLong();
        }
        result[(tid + QLatin1Char(' ') + QString::fromLatin1(comm.readAll().trimmed())).toStdString()] = switches;
    }
    return result;
}

struct Quiet {
    double wakeUpsPerSecond = 0;
    int loopWakeUps = 0;
    int timerEvents = 0;
    std::string sources;  // the threads and timers behind any of it
};

// Lets the GUI thread sit in its event loop for Span while a watcher thread
// counts; the one wake-up that ends it comes after the count.
Quiet measureQuiet(Census &census)
{
    QEventLoop loop;
    Quiet quiet;
    std::thread watcher([&] {
        std::this_thread::sleep_for(Settle);
        const auto before = switchesByThread();
        const int wakeUps = census.wakeUps;
        const int timers = census.timerEvents;
        const auto timersBefore = census.timersByReceiver();
        std::this_thread::sleep_for(Span);
        const auto after = switchesByThread();
        quiet.loopWakeUps = census.wakeUps - wakeUps;
        quiet.timerEvents = census.timerEvents - timers;
        const auto timersAfter = census.timersByReceiver();
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);

        long long total = 0;
        for (const auto &[thread, count] : after) {
            const auto was = before.find(thread);
            const long long delta = count - (was == before.end() ? 0 : was->second);
            total += delta;
            if (delta > 0)
                quiet.sources += format("thread %s: %lld; ", thread.c_str(), delta);
        }
        for (const auto &[receiver, count] : timersAfter) {
            const auto was = timersBefore.find(receiver);
            const int delta = count - (was == timersBefore.end() ? 0 : was->second);
            if (delta > 0)
                quiet.sources += format("timer %s: %d; ", receiver.c_str(), delta);
        }
        quiet.wakeUpsPerSecond = double(total) / std::chrono::duration<double>(Span).count();
    });
    loop.exec();
    watcher.join();
    return quiet;
}

void report(const std::string &when, const Quiet &quiet, const OneShotTimer &timer1)
{
    const bool armed = timer1.isActive();
    row("idle " + when + ": wake-ups per second",
        format("%.2f/s, loop woke %d, %d timer events, Timer1 %s", quiet.wakeUpsPerSecond, quiet.loopWakeUps,
               quiet.timerEvents, armed ? "ARMED" : "idle"),
        "0/s, Timer1 idle", verdict(quiet.wakeUpsPerSecond == 0 && !armed));
    if (!quiet.sources.empty())
        std::fprintf(stderr, "idle %s: %s\n", when.c_str(), quiet.sources.c_str());
}

template <typename Done>
bool runUntil(Link &link, OneShotTimer &timer, Done done, const std::function<void()> &start)
{
    Wait wait(OperationTimeoutMs);
    const auto check = [&] {
        if (done())
            wait.done();
    };
    QObject::connect(&link, &Link::datagramReceived, wait.context(), check);
    QObject::connect(&timer, &OneShotTimer::expired, wait.context(), check);
    start();
    return wait.exec();
}
}  // namespace

int main(int argc, char *argv[])
{
    requirePrivateNet("bench_idle");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    setUpApplication();

    Census census;
    app.installEventFilter(&census);
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::awake, &census,
                     [&census] { ++census.wakeUps; }, Qt::DirectConnection);

    UdpLink link;
    QtOneShotTimer timer;
    MainForm window(link, timer, &QDateTime::currentDateTime);
    window.show();
    report("after start-up", measureQuiet(census), timer);

    // Then the same once Timer1 has been armed and disarmed many times over.
    Simulator sim;
    if (!sim.start({QStringLiteral("--modules"), QStringLiteral("3")}))
        fail(sim.failure().toStdString());
    auto *scan = window.findChild<QPushButton *>(QStringLiteral("Scan"));
    auto *list = window.findChild<QListWidget *>(QStringLiteral("Device_List"));
    if (!scan || !list)
        fail("bench_idle: the window has no Scan button or Device_List");
    if (!runUntil(link, timer, [&] { return !timer.isActive() && window.logText().endsWith(QStringLiteral("个设备。")); },
                  [&] { scan->click(); }))
        fail("bench_idle: the scan did not end with modules found:\n" + window.logText().toStdString());
    const QString readDone = QStringLiteral("读取设备") + StatusLog::number(1) + QStringLiteral("参数成功！");
    if (!runUntil(link, timer, [&] { return window.logText().endsWith(readDone); },
                  [&] {
                      list->setCurrentRow(0);
                      emit list->itemClicked(list->item(0));
                  }))
        fail("bench_idle: the read did not succeed:\n" + window.logText().toStdString());
    report("after a scan and a read", measureQuiet(census), timer);

    // What Qt itself adds while the operator's caret sits in a text box: the
    // cursor blinks. Not the tool's doing, so shown without a target.
    auto *box = window.findChild<QLineEdit *>(QStringLiteral("G_IP"));
    if (!box)
        fail("bench_idle: the window has no G_IP box");
    box->setFocus();
    const Quiet caret = measureQuiet(census);
    row("idle, caret in a text box (Qt's cursor blink)",
        format("%.2f/s, %d timer events, Timer1 %s, focus %s", caret.wakeUpsPerSecond, caret.timerEvents,
               timer.isActive() ? "ARMED" : "idle",
               QApplication::focusWidget() == box ? "in G_IP" : "NOT in G_IP"),
        "", Info);
    if (!caret.sources.empty())
        std::fprintf(stderr, "idle with the caret in G_IP: %s\n", caret.sources.c_str());
    return 0;
}
