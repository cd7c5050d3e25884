#include "SimulatorProcess.h"

#include <QDeadlineTimer>
#include <QNetworkInterface>
#include <QRegularExpression>

#include <csignal>
#include <sys/prctl.h>

namespace kelvane::e2e {

namespace {
constexpr int StopTimeoutMs = 5000;

// "in  53 45 54 55 50 | 192.0.2.1:65002 | 812 ms"
std::optional<SimDatagram> parseTrace(const QByteArray &line)
{
    static const QRegularExpression pattern(
        QStringLiteral(R"(^(in |out) ([0-9A-F ]*) \| ([0-9.]+):(\d+) \| (\d+) ms$)"));
    const QRegularExpressionMatch match = pattern.match(QString::fromLatin1(line));
    if (!match.hasMatch())
        return std::nullopt;
    SimDatagram d;
    d.incoming = match.captured(1) == QLatin1String("in ");
    d.bytes = QByteArray::fromHex(match.captured(2).toLatin1());
    d.host = match.captured(3);
    d.port = quint16(match.captured(4).toUInt());
    d.ms = match.captured(5).toLongLong();
    return d;
}
}  // namespace

SimulatorProcess::SimulatorProcess()
{
    // Should this test die, its wrapper takes the simulator down with it.
    m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
}

SimulatorProcess::~SimulatorProcess()
{
    stop();
}

bool SimulatorProcess::start(const QStringList &arguments, int timeoutMs)
{
    const QString source = qEnvironmentVariable("KELVANE_SOURCE_DIR");
    const QString build = qEnvironmentVariable("KELVANE_BUILD_DIR");
    if (source.isEmpty() || build.isEmpty()) {
        m_failure = QStringLiteral("KELVANE_SOURCE_DIR and KELVANE_BUILD_DIR must be set");
        return false;
    }
    m_process.setReadChannel(QProcess::StandardOutput);
    m_process.start(source + QStringLiteral("/scripts/peer-host"),
                    QStringList{build + QStringLiteral("/kelvane-sim"), QStringLiteral("--verbose")} + arguments);

    QByteArray out;
    const QDeadlineTimer deadline(timeoutMs);
    while (!out.contains("ready\n")) {
        if (!m_process.waitForReadyRead(int(deadline.remainingTime()))) {
            collect();
            m_failure = QStringLiteral("kelvane-sim did not get ready (state %1, exit code %2): %3 %4")
                            .arg(int(m_process.state()))
                            .arg(m_process.exitCode())
                            .arg(QString::fromLocal8Bit(out),
                                 QString::fromLocal8Bit(m_process.readAllStandardError()));
            return false;
        }
        out += m_process.readAllStandardOutput();
    }
    return true;
}

void SimulatorProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    // peer-host passes TERM on to the simulator and then ends.
    m_process.terminate();
    if (!m_process.waitForFinished(StopTimeoutMs)) {
        m_process.kill();
        m_process.waitForFinished(StopTimeoutMs);
    }
}

void SimulatorProcess::collect()
{
    m_pending += m_process.readAllStandardError();
    qsizetype end;
    while ((end = m_pending.indexOf('\n')) >= 0) {
        const QByteArray line = m_pending.left(end);
        m_pending.remove(0, end + 1);
        if (const std::optional<SimDatagram> d = parseTrace(line))
            m_datagrams.append(*d);
        else
            qWarning("kelvane-sim: %s", line.constData());
    }
}

QList<SimDatagram> SimulatorProcess::datagrams()
{
    collect();
    return m_datagrams;
}

QByteArrayList SimulatorProcess::requests()
{
    QByteArrayList list;
    for (const SimDatagram &d : datagrams()) {
        if (d.incoming)
            list.append(d.bytes);
    }
    return list;
}

QByteArrayList SimulatorProcess::commands()
{
    QByteArrayList list = requests();
    list.removeAll(QByteArrayLiteral("SETUP"));
    return list;
}

int SimulatorProcess::answerCount()
{
    int count = 0;
    for (const SimDatagram &d : datagrams())
        count += d.incoming ? 0 : 1;
    return count;
}

bool insidePrivateNetwork(QString *why)
{
    if (qEnvironmentVariable("KELVANE_PRIVATE_NET") != QLatin1String("inside")) {
        *why = QStringLiteral("not started by scripts/private-net");
        return false;
    }
    for (const QNetworkInterface &nic : QNetworkInterface::allInterfaces()) {
        const bool ours = nic.type() == QNetworkInterface::Loopback ||
                          nic.name().startsWith(QLatin1String("kvh"));
        if (!ours) {
            *why = QStringLiteral("interface %1 may reach a real network").arg(nic.name());
            return false;
        }
    }
    return true;
}

}  // namespace kelvane::e2e
