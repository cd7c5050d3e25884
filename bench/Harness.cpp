#include "Harness.h"

#include "core/Constants.h"

#include <QAbstractEventDispatcher>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSysInfo>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <sys/prctl.h>

namespace kelvane::bench {

namespace {
constexpr int OperationTimeoutMs = 5000;
constexpr int ScanTimeoutMs = ScanRounds * TimeoutMs + 2000;
constexpr int ReadyTimeoutMs = 10000;

struct Row {
    QString figure, measured, target, verdict;
};
std::vector<Row> rows;
}  // namespace

void fail(const QString &why)
{
    throw Failure(why.toStdString());
}

void requirePrivateNet()
{
    if (qEnvironmentVariable("KELVANE_PRIVATE_NET") == QLatin1String("inside"))
        return;
    std::fputs("kelvane-bench: refusing to run outside scripts/private-net (try `make bench`)\n", stderr);
    std::exit(2);
}

void row(const QString &figure, const QString &measured, const QString &target, std::optional<bool> met)
{
    rows.push_back({figure, measured, target, !met ? "info" : *met ? "met" : "MISSED"});
}

void failedRow(const QString &figure, const QString &why)
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(figure), qPrintable(why));
    rows.push_back({figure, QStringLiteral("did not finish"), {}, QStringLiteral("ERROR")});
}

bool printTable()
{
    Row widths{"figure", "measured", "target", "verdict"};
    std::vector<Row> table{widths};
    table.insert(table.end(), rows.begin(), rows.end());
    qsizetype width[3] = {};
    for (const Row &r : table) {
        width[0] = std::max(width[0], r.figure.size());
        width[1] = std::max(width[1], r.measured.size());
        width[2] = std::max(width[2], r.target.size());
    }
    int met = 0, targets = 0;
    bool finished = true;
    for (const Row &r : table) {
        const QString line = r.figure.leftJustified(width[0]) + " | " + r.measured.leftJustified(width[1]) +
                             " | " + r.target.leftJustified(width[2]) + " | " + r.verdict;
        std::printf("%s\n", qPrintable(line));
        if (&r == &table.front())
            std::printf("%s\n", qPrintable(QString(line.size(), QLatin1Char('-'))));
        else if (r.verdict != QLatin1String("info"))
            ++targets, met += r.verdict == QLatin1String("met");
        finished = finished && r.verdict != QLatin1String("ERROR");
    }
    std::printf("\n%d of %d figures within target (%d cores, kernel %s)\n", met, targets,
                QThread::idealThreadCount(), qPrintable(QSysInfo::kernelVersion()));
    return finished;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2.0;
}

QString fixed(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

std::optional<double> timeUntil(const std::function<void()> &start, const std::function<bool()> &done,
                                int timeoutMs)
{
    QEventLoop loop;
    QElapsedTimer clock;
    std::optional<double> ms;
    const auto check = [&] {
        if (!ms && done()) {
            ms = double(clock.nsecsElapsed()) / 1e6;
            loop.quit();
        }
    };
    // Asked just before the loop would sleep: never while datagrams are due.
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, &loop, check);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    clock.start();
    start();
    check();
    if (!ms)
        loop.exec();
    return ms;
}

int Tool::scan()
{
    if (!timeUntil([this] { engine.scan(); }, [this] { return engine.machine().ScanRound == 0; }, ScanTimeoutMs))
        fail(QStringLiteral("the scan never ended"));
    return panel.deviceRowCount();
}

double Tool::run(const std::function<void()> &start, const QString &success)
{
    const auto ms = timeUntil(start, [&] { return panel.logText().endsWith(success); }, OperationTimeoutMs);
    if (!ms)
        fail(QStringLiteral("no \"%1\" in the log:\n%2").arg(success, panel.logText()));
    return *ms;
}

Simulator::Simulator(const QStringList &arguments)
{
    // A benchmark that dies takes its simulator with it.
    m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral(KELVANE_PEER_HOST), QStringList{QStringLiteral(KELVANE_SIM)} + arguments);
    const auto ready = [this] {
        while (m_process.canReadLine()) {
            if (m_process.readLine() == "ready\n")
                return true;
        }
        return false;
    };
    if (!timeUntil([] {}, ready, ReadyTimeoutMs))
        fail(QStringLiteral("kelvane-sim did not get ready"));
}

Simulator::~Simulator()
{
    // peer-host hands TERM on to the simulator and ends with it.
    m_process.terminate();
    if (!m_process.waitForFinished())
        m_process.kill();
    m_process.waitForFinished();
}

BareClient::BareClient()
{
    if (!m_socket.bind(QHostAddress::AnyIPv4, LocalPort))
        fail(QStringLiteral("bare client: ") + m_socket.errorString());
}

std::optional<double> BareClient::exchange(const QByteArrayList &frames, const QByteArray &from)
{
    qsizetype answered = 0;
    const auto sendNext = [&] { m_socket.writeDatagram(frames.at(answered), QHostAddress::Broadcast, RemotePort); };
    QEventLoop context;
    QObject::connect(&m_socket, &QUdpSocket::readyRead, &context, [&] {
        char buffer[2048];
        while (m_socket.hasPendingDatagrams() && answered < frames.size()) {
            const qint64 size = m_socket.readDatagram(buffer, sizeof buffer);
            if (size >= 0 && QByteArray::fromRawData(buffer, size).startsWith(from) && ++answered < frames.size())
                sendNext();
        }
    });
    return timeUntil(sendNext, [&] { return answered == frames.size(); }, OperationTimeoutMs);
}

}  // namespace kelvane::bench
