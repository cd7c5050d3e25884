#include "Harness.h"

#include <QAbstractEventDispatcher>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSysInfo>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <sys/prctl.h>
#include <utility>

namespace kelvane::bench {

namespace {
int met = 0, targets = 0;
bool headed = false;

void print(const QString &figure, const QString &measured, const QString &target, const char *verdict)
{
    if (!std::exchange(headed, true))
        print("figure", "measured", "target", "verdict");
    std::printf("%s | %s | %s | %s\n", qPrintable(figure.leftJustified(70)), qPrintable(measured.leftJustified(52)),
                qPrintable(target.leftJustified(18)), verdict);
    std::fflush(stdout);
}
}  // namespace

void fail(const QString &why)
{
    throw Failure(why.toStdString());
}

void row(const QString &figure, const QString &measured, const QString &target, std::optional<bool> isMet)
{
    targets += isMet.has_value();
    met += isMet.value_or(false);
    print(figure, measured, target, !isMet ? "info" : *isMet ? "met" : "MISSED");
}

void summary()
{
    std::printf("\n%d of %d figures within target (%d cores, kernel %s)\n", met, targets,
                QThread::idealThreadCount(), qPrintable(QSysInfo::kernelVersion()));
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

long long steadyNs()
{
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
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
    // Asked just before the loop would sleep, so never while datagrams are due.
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, &loop, check);
    // Ends with the wait: a time-out left behind would wake a later idle figure.
    QTimer deadline;
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(timeoutMs);
    clock.start();
    start();
    check();
    if (!ms)
        loop.exec();
    return ms;
}

int Tool::scan()
{
    if (!timeUntil([this] { engine.scan(); }, [this] { return engine.machine().ScanRound == 0; },
                   ScanRounds * TimeoutMs + 2000))
        fail("the scan never ended");
    return panel.deviceRowCount();
}

double Tool::run(const std::function<void()> &start, const QString &success)
{
    const auto ms = timeUntil(start, [&] { return panel.logText().endsWith(success); });
    if (!ms)
        fail("no " + success + " in the log:\n" + panel.logText());
    return *ms;
}

Simulator::Simulator(const QStringList &arguments, int lan)
{
    // A benchmark that dies takes its simulator with it.
    m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(KELVANE_PEER_HOST, QStringList{"--lan", QString::number(lan), KELVANE_SIM} + arguments);
    if (!timeUntil([] {}, [this] { return m_process.readAllStandardOutput().contains("ready\n"); }, 10000))
        fail(QStringLiteral("kelvane-sim on LAN %1 did not get ready").arg(lan));
}

Simulator::~Simulator()
{
    // peer-host hands TERM on to the simulator and ends with it.
    m_process.terminate();
    if (!m_process.waitForFinished())
        m_process.kill();
}

BareClient::BareClient()
{
    if (!m_socket.bind(QHostAddress::AnyIPv4, LocalPort))
        fail("bare client: " + m_socket.errorString());
}

std::optional<double> BareClient::exchange(const QByteArrayList &frames, const QByteArray &from)
{
    qsizetype answered = 0;
    const auto send = [&] { m_socket.writeDatagram(frames.at(answered), QHostAddress::Broadcast, RemotePort); };
    QObject context;
    QObject::connect(&m_socket, &QUdpSocket::readyRead, &context, [&] {
        char buffer[2048];
        while (m_socket.hasPendingDatagrams() && answered < frames.size()) {
            const qint64 size = m_socket.readDatagram(buffer, sizeof buffer);
            if (size >= 0 && QByteArray::fromRawData(buffer, size).startsWith(from) && ++answered < frames.size())
                send();
        }
    });
    return timeUntil(send, [&] { return answered == frames.size(); });
}

}  // namespace kelvane::bench
