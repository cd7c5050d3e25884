// The status pane on the real window: the cost of one more entry, with its
// repaint, at 100, 1,000 and 10,000 entries already there. It should not grow.
// One window per level, timed in turn, so that whatever else the machine is
// doing falls on every level alike.
#include "Report.h"

#include "Appearance.h"
#include "MainForm.h"
#include "core/QtOneShotTimer.h"

#include <QApplication>
#include <QElapsedTimer>

#include <iterator>
#include <memory>

using namespace kelvane;
using namespace kelvane::bench;

namespace {
constexpr int Levels[] = {100, 1000, 10000};
constexpr int LevelCount = int(std::size(Levels));
constexpr int Samples = 101;
// Untimed appends with their repaint before timing starts, in every window alike.
constexpr int WarmUps = 10;
constexpr double MaxRatio = 2.0;

// Three windows cannot all hold port 65002, and the pane needs no socket.
class NoLink final : public Link {
public:
    bool open() override { return true; }
    QString errorString() const override { return {}; }
    bool send(const QByteArray &) override { return true; }
    QString localAddress() const override { return QStringLiteral("127.0.0.1"); }
};

struct Pane {
    NoLink link;
    QtOneShotTimer timer;
    MainForm window{link, timer, &QDateTime::currentDateTime};
    StatusLog log{window};  // the writer the operations use
    int entries = 1;        // start-up's own

    // An entry as the operations write it: a timestamp line and a message.
    void append()
    {
        log.append({QStringLiteral("读取设备") + StatusLog::number(entries % 254 + 1) + QStringLiteral("参数成功！")});
        ++entries;
    }
};

struct Sample {
    double appendUs;
    double shownUs;
};

Sample timeOne(Pane &pane)
{
    QElapsedTimer clock;
    clock.start();
    pane.append();
    const qint64 appended = clock.nsecsElapsed();
    QCoreApplication::processEvents();
    return Sample{double(appended) / 1e3, double(clock.nsecsElapsed()) / 1e3};
}
}  // namespace

int main(int argc, char *argv[])
{
    requirePrivateNet("bench_log");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    setUpApplication();

    std::vector<std::unique_ptr<Pane>> panes;
    for (const int level : Levels) {
        panes.push_back(std::make_unique<Pane>());
        Pane &pane = *panes.back();
        pane.window.show();
        while (pane.entries < level - WarmUps)
            pane.append();
        QCoreApplication::processEvents();
        while (pane.entries < level)
            timeOne(pane);
    }

    std::vector<double> appendUs[LevelCount], shownUs[LevelCount];
    for (int i = 0; i < Samples; ++i) {
        for (int level = 0; level < LevelCount; ++level) {
            const Sample s = timeOne(*panes[level]);
            appendUs[level].push_back(s.appendUs);
            shownUs[level].push_back(s.shownUs);
        }
    }

    const auto levels = [](const std::vector<double> (&us)[LevelCount]) {
        return format("%.1f / %.1f / %.1f us", median(us[0]), median(us[1]), median(us[2]));
    };
    row(format("log: one append + repaint at 100 / 1k / 10k entries (median of %d)", Samples), levels(shownUs),
        "", Info);
    row("log: the append alone, same levels", levels(appendUs), "", Info);
    const double ratio = median(shownUs[2]) / median(shownUs[0]);
    row("log: append + repaint, 10k vs 100 entries", format("%.2fx", ratio), format("< %.0fx", MaxRatio),
        verdict(ratio < MaxRatio));
    return 0;
}
