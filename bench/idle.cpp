// SPDX-License-Identifier: Apache-2.0
// Idle: once the window is up, and again once a scan and a read have ended,
// nothing should wake the program. A watcher thread counts, from outside the
// event loop, the context switches of every other thread.
#include "Harness.h"

#include "DeviceList.h"
#include "MainForm.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

#include <sys/resource.h>
#include <thread>

namespace kelvane::bench {

namespace {
// The GUI thread sits in its event loop for three seconds while the watcher
// counts; the one wake-up that ends it comes after the count. Wake-ups a second.
double wakeUps()
{
    using namespace std::chrono_literals;
    // Only getrusage counts a thread's context switches: the process's less the watcher's own.
    const auto othersSwitches = [] {
        rusage process{}, thread{};
        getrusage(RUSAGE_SELF, &process);
        getrusage(RUSAGE_THREAD, &thread);
        return process.ru_nvcsw + process.ru_nivcsw - thread.ru_nvcsw - thread.ru_nivcsw;
    };
    QEventLoop loop;
    long long counted = 0;
    std::thread watcher([&] {
        std::this_thread::sleep_for(500ms);
        const long long before = othersSwitches();
        std::this_thread::sleep_for(3s);
        counted = othersSwitches() - before;
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    watcher.join();
    return double(counted) / 3;
}
}  // namespace

void idle()
{
    UdpLink link;
    QtOneShotTimer timer;
    MainForm window(link, timer, &QDateTime::currentDateTime);
    window.show();
    const double afterStartUp = wakeUps();

    // Then the same once Timer1 has been armed and disarmed many times over.
    Simulator sim({"--modules", "3"});
    auto *list = window.findChild<DeviceList *>("Device_List");
    timeUntil([&] { window.findChild<QPushButton *>("Scan")->click(); },
              [&] { return !timer.isActive() && window.logText().endsWith("个设备。"); },
              "the scan did not end with modules found");
    const auto click = [&] {
        list->setCurrentRow(0);
        emit list->chosen();
    };
    timeUntil(click, [&] { return window.logText().endsWith("读取设备" + StatusLog::number(1) + "参数成功！"); },
              "the read did not succeed");
    const double afterRead = wakeUps();
    row("idle after start-up / after a scan and a read: wake-ups per second",
        fixed(afterStartUp, 2) + " / " + fixed(afterRead, 2) + "/s, Timer1 " + (timer.isActive() ? "ARMED" : "idle"),
        "0/s, Timer1 idle", afterStartUp == 0 && afterRead == 0 && !timer.isActive());

    // Qt blinks the caret in a text box with the focus: not the tool's doing, so no target.
    auto *box = window.findChild<QLineEdit *>("G_IP");
    box->setFocus();
    row("idle, caret in a text box (Qt's cursor blink)",
        fixed(wakeUps(), 2) + "/s, focus " + (QApplication::focusWidget() == box ? "in G_IP" : "NOT in G_IP"));
}

}  // namespace kelvane::bench
