#include "Simulator.h"

#include <QDeadlineTimer>

#include <csignal>
#include <sys/prctl.h>

namespace kelvane::bench {

namespace {
constexpr int StopTimeoutMs = 5000;
}

Simulator::Simulator()
{
    // A benchmark that dies takes its simulator with it.
    m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    // Its complaints, such as an answer it could not send, show with the run.
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
}

Simulator::~Simulator()
{
    stop();
}

bool Simulator::start(const QStringList &arguments, int timeoutMs)
{
    m_process.start(QStringLiteral(KELVANE_PEER_HOST), QStringList{QStringLiteral(KELVANE_SIM)} + arguments);
    QByteArray out;
    const QDeadlineTimer deadline(timeoutMs);
    while (!out.contains("ready\n")) {
        if (!m_process.waitForReadyRead(int(deadline.remainingTime()))) {
            m_failure = QStringLiteral("kelvane-sim did not get ready (exit code %1): %2")
                            .arg(m_process.exitCode())
                            .arg(QString::fromLocal8Bit(out));
            stop();
            return false;
        }
        out += m_process.readAllStandardOutput();
    }
    return true;
}

void Simulator::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    // peer-host hands TERM on to the simulator and ends with it.
    m_process.terminate();
    if (!m_process.waitForFinished(StopTimeoutMs)) {
        m_process.kill();
        m_process.waitForFinished(StopTimeoutMs);
    }
}

}  // namespace kelvane::bench
