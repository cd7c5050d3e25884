// SPDX-License-Identifier: Apache-2.0
// kelvane-sim on a peer host of the private network (scripts/peer-host), and
// the datagrams it heard, for end-to-end tests.
#pragma once

#include <QProcess>
#include <QStringList>
#include <QTest>

#include <csignal>
#include <sys/prctl.h>

namespace kelvane::test {

class SimProcess {
public:
    // peer-host passes TERM on to the simulator.
    ~SimProcess() { stop(); }

    void stop()
    {
        m_process.terminate();
        m_process.waitForFinished();
    }

    // Starts the simulator with these options on LAN `lan` (1: 192.0.2.0/24,
    // 2: 198.51.100.0/24) and waits until it listens. The peer host's card
    // holds `addresses` besides its own, for modules that answer from theirs.
    bool start(const QStringList &options, int lan = 1, const QStringList &addresses = {})
    {
        m_lan = lan;
        QStringList peer = {"--lan", QString::number(lan)};
        for (const QString &address : addresses)
            peer << "--address" << address;
        // Should the test die, the simulator goes with it.
        m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        m_process.start(qEnvironmentVariable("KELVANE_SOURCE_DIR") + "/scripts/peer-host",
                        peer + QStringList{qEnvironmentVariable("KELVANE_BUILD_DIR") + "/kelvane-sim", "--verbose"} +
                            options);
        return QTest::qWaitFor([this] { return m_process.canReadLine() && m_process.readLine() == "ready\n"; },
                               10000);
    }

    // This host's card on the simulator's LAN, as scripts/peer-host names it.
    QString card() const
    {
        const QString prefix = m_lan == 1 ? "kvh" : m_lan == 2 ? "kvhb" : "kvhc";
        return prefix + QString::number(m_process.processId());
    }

    // The datagrams that reached the simulator, as "in  <hex> | <sender>".
    QStringList received()
    {
        m_trace += m_process.readAllStandardError();
        QStringList lines;
        for (const QByteArray &line : m_trace.split('\n')) {
            if (line.startsWith("in "))
                lines << QString::fromLatin1(line.left(line.lastIndexOf(" | ")));
        }
        return lines;
    }

private:
    QProcess m_process;
    QByteArray m_trace;
    int m_lan = 1;
};

}  // namespace kelvane::test
