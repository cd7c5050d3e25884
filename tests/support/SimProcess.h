// SPDX-License-Identifier: Apache-2.0
// kelvane-sim on a peer host of the private network (scripts/peer-host), the
// datagrams it heard and what its modules hold, for end-to-end tests.
#pragma once

#include <QHash>
#include <QProcess>
#include <QStringList>
#include <QTest>

#include <csignal>
#include <sys/prctl.h>

namespace kelvane::test {

class SimProcess {
public:
    // peer-host passes TERM on to the simulator, and USR1.
    ~SimProcess()
    {
        m_process.terminate();
        m_process.waitForFinished();
    }

    // Starts the simulator with these options on LAN `lan` (1: 192.0.2.0/24,
    // 2: 198.51.100.0/24) and waits until it listens. The peer host's card
    // holds `addresses` besides its own, for modules that answer from theirs.
    bool start(const QStringList &options, int lan = 1, const QStringList &addresses = {})
    {
        QStringList peer = {"--lan", QString::number(lan)};
        for (const QString &address : addresses)
            peer << "--address" << address;
        return launch(peer, options, lan);
    }

    // As start, on LAN 1 reached by two cards of this host (192.0.2.1 and .3)
    // that a bridge on the peer host joins: every broadcast answer arrives on both.
    bool startBridged(const QStringList &options)
    {
        m_bridged = true;
        return launch({"--bridged"}, options, 1);
    }

    // This host's card on the simulator's LAN, as scripts/peer-host names it.
    QString card() const
    {
        const QString prefix = m_lan == 1 ? "kvh" : m_lan == 2 ? "kvhb" : "kvhc";
        return prefix + QString::number(m_process.processId());
    }
    // Its second card on a bridged LAN.
    QString secondCard() const { return m_bridged ? card() + "-2" : QString(); }

    // What every module holds, by the simulator's own account (SIGUSR1), by its
    // address: its 17 values in catalogue order, each as its answer carries it
    // ("09", "00003", "192.168.001.010"). Empty when no account came within ms.
    QHash<QString, QStringList> held(int ms = 5000)
    {
        m_process.readAllStandardOutput();  // an earlier account, or "ready"
        m_out.clear();
        if (::kill(pid_t(m_process.processId()), SIGUSR1) != 0)
            return {};
        const bool told = QTest::qWaitFor([this] {
            m_out += m_process.readAllStandardOutput();
            return m_out.contains("held end\n");
        }, ms);
        QHash<QString, QStringList> modules;
        if (!told)
            return modules;
        for (const QByteArray &line : m_out.left(m_out.indexOf("held end\n")).split('\n')) {
            QList<QByteArray> fields = line.split(' ');
            if (fields.size() < 2 || fields.takeFirst() != "held")
                continue;
            const QString address = QString::fromLatin1(fields.takeFirst());
            QStringList values;
            for (const QByteArray &field : fields)
                values << QString::fromLatin1(field.mid(field.indexOf('=') + 1));
            modules.insert(address, values);
        }
        m_out.clear();
        return modules;
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

    // received(), once the trace has caught up with the last run (still for 150 ms;
    // after 6 s, whatever it heard by then).
    QStringList settled()
    {
        QStringList lines = received();
        for (int round = 0; round < 40; ++round) {
            QTest::qWait(150);
            const QStringList now = received();
            if (now.size() == lines.size())
                break;
            lines = now;
        }
        return lines;
    }

private:
    bool launch(const QStringList &peer, const QStringList &options, int lan)
    {
        m_lan = lan;
        // Should the test die, the simulator goes with it.
        m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        m_process.start(qEnvironmentVariable("KELVANE_SOURCE_DIR") + "/scripts/peer-host",
                        peer + QStringList{qEnvironmentVariable("KELVANE_BUILD_DIR") + "/kelvane-sim", "--verbose"} +
                            options);
        return QTest::qWaitFor([this] { return m_process.canReadLine() && m_process.readLine() == "ready\n"; },
                               10000);
    }

    QProcess m_process;
    QByteArray m_trace;
    QByteArray m_out;  // standard output since the last account of what the modules hold
    int m_lan = 1;
    bool m_bridged = false;
};

}  // namespace kelvane::test
