// Idle: once the window is up, and again once a scan and a read have ended,
// nothing should wake the program. Counted from a watcher thread outside the
// event loop: context switches of every other thread, the loop's wake-ups
// and the timer events delivered.
#include "Figures.h"
#include "Harness.h"

#include "MainForm.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMutex>
#include <QPushButton>

#include <atomic>
#include <chrono>
#include <map>
#include <thread>
#include <unistd.h>

namespace kelvane::bench {

namespace {
using namespace std::chrono_literals;
constexpr auto Settle = 500ms;
constexpr auto Span = 3s;
constexpr int OperationTimeoutMs = 8000;

// Wake-ups and timer events on the GUI thread; what sent the timers, for the log.
class Census : public QObject {
public:
    std::atomic<int> wakeUps{0}, timers{0};
    QMutex mutex;
    std::map<QString, int> timersByReceiver;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Timer) {
            ++timers;
            const QMutexLocker lock(&mutex);
            ++timersByReceiver[QString::fromLatin1(watched->metaObject()->className()) + " " + watched->objectName() +
                               " in " + (watched->parent() ? watched->parent()->objectName() : QString())];
        }
        return false;
    }
};

// Context switches of each thread but the caller: only the kernel counts
// them, in /proc/self/task/*/status.
std::map<QString, long long> switchesByThread()
{
    std::map<QString, long long> switches;
    const QString self = QString::number(gettid());
    for (const QString &tid : QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile status(QStringLiteral("/proc/self/task/%1/status").arg(tid));
        if (tid == self || !status.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.contains("ctxt_switches:"))
                switches[tid] += line.mid(line.indexOf(':') + 1).trimmed().toLongLong();
        }
    }
    return switches;
}

// The GUI thread sits in its event loop for Span while the watcher counts;
// the one wake-up that ends it comes after the count.
void measure(const QString &when, Census &census, OneShotTimer &timer1, bool withTarget)
{
    QEventLoop loop;
    long long switches = 0;
    int wakeUps = 0, timers = 0;
    QString sources;
    std::thread watcher([&] {
        std::this_thread::sleep_for(Settle);
        const auto before = switchesByThread();
        const int wakeUpsBefore = census.wakeUps, timersBefore = census.timers;
        const auto receiversBefore = [&] {
            const QMutexLocker lock(&census.mutex);
            return census.timersByReceiver;
        }();
        std::this_thread::sleep_for(Span);
        for (const auto &[thread, count] : switchesByThread()) {
            const long long delta = count - (before.count(thread) ? before.at(thread) : 0);
            switches += delta;
            sources += delta > 0 ? QStringLiteral("thread %1: %2; ").arg(thread).arg(delta) : QString();
        }
        wakeUps = census.wakeUps - wakeUpsBefore;
        timers = census.timers - timersBefore;
        const QMutexLocker lock(&census.mutex);
        for (const auto &[receiver, count] : census.timersByReceiver) {
            const int delta = count - (receiversBefore.count(receiver) ? receiversBefore.at(receiver) : 0);
            sources += delta > 0 ? QStringLiteral("timer %1: %2; ").arg(receiver).arg(delta) : QString();
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    watcher.join();
    const double perSecond = double(switches) / std::chrono::duration<double>(Span).count();
    const QString measured = QStringLiteral("%1/s, loop woke %2, %3 timer events, Timer1 %4")
                                 .arg(fixed(perSecond, 2)).arg(wakeUps).arg(timers)
                                 .arg(timer1.isActive() ? "ARMED" : "idle");
    if (withTarget)
        row("idle " + when + ": wake-ups per second", measured, "0/s, Timer1 idle", perSecond == 0 && !timer1.isActive());
    else
        row("idle " + when, measured);
    if (!sources.isEmpty())
        std::fprintf(stderr, "idle %s: %s\n", qPrintable(when), qPrintable(sources));
}
}  // namespace

void idle()
{
    Census census;
    qApp->installEventFilter(&census);
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::awake, &census,
                     [&census] { ++census.wakeUps; }, Qt::DirectConnection);

    UdpLink link;
    QtOneShotTimer timer;
    MainForm window(link, timer, &QDateTime::currentDateTime);
    window.show();
    measure("after start-up", census, timer, true);

    // Then the same once Timer1 has been armed and disarmed many times over.
    Simulator sim({QStringLiteral("--modules"), QStringLiteral("3")});
    auto *scan = window.findChild<QPushButton *>(QStringLiteral("Scan"));
    auto *list = window.findChild<QListWidget *>(QStringLiteral("Device_List"));
    auto *box = window.findChild<QLineEdit *>(QStringLiteral("G_IP"));
    if (!scan || !list || !box)
        fail(QStringLiteral("the window has no Scan, Device_List or G_IP"));
    if (!timeUntil([&] { scan->click(); },
                   [&] { return !timer.isActive() && window.logText().endsWith(QStringLiteral("个设备。")); },
                   OperationTimeoutMs))
        fail("the scan did not end with modules found:\n" + window.logText());
    const QString read = QStringLiteral("读取设备") + StatusLog::number(1) + QStringLiteral("参数成功！");
    const auto click = [&] {
        list->setCurrentRow(0);
        emit list->itemClicked(list->item(0));
    };
    if (!timeUntil(click, [&] { return window.logText().endsWith(read); }, OperationTimeoutMs))
        fail("the read did not succeed:\n" + window.logText());
    measure("after a scan and a read", census, timer, true);

    // Qt's own cursor blink while the caret sits in a text box: not the tool's doing.
    box->setFocus();
    measure(QStringLiteral("caret in a text box (Qt's cursor blink), focus %1")
                .arg(QApplication::focusWidget() == box ? "in G_IP" : "NOT in G_IP"),
            census, timer, false);
}

}  // namespace kelvane::bench
