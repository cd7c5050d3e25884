// kelvane-sim on a second private host, started the way the tests need it:
// verbose, so that every datagram it sees can be checked at its end.
#pragma once

#include <QByteArrayList>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace kelvane::e2e {

// One line of the simulator's trace.
struct SimDatagram {
    bool incoming = false;  // sent to the simulator
    QByteArray bytes;
    QString host;           // the sender of an incoming datagram, the destination of an answer
    quint16 port = 0;
    qint64 ms = 0;          // the simulator's clock
};

class SimulatorProcess {
public:
    SimulatorProcess();
    ~SimulatorProcess();
    SimulatorProcess(const SimulatorProcess &) = delete;
    SimulatorProcess &operator=(const SimulatorProcess &) = delete;

    // Starts scripts/peer-host kelvane-sim --verbose ARGUMENTS and waits for
    // "ready". False, with failure() saying why, if it never came.
    bool start(const QStringList &arguments, int timeoutMs = 10000);
    void stop();
    QString failure() const { return m_failure; }

    // What the simulator has traced so far, in order.
    QList<SimDatagram> datagrams();
    // The datagrams it received, bytes only.
    QByteArrayList requests();
    // The same without the discovery requests: what a read or write sent.
    QByteArrayList commands();
    int answerCount();

private:
    void collect();

    QProcess m_process;
    QByteArray m_pending;  // a trace line not yet complete
    QList<SimDatagram> m_datagrams;
    QString m_failure;
};

// True inside a namespace made by scripts/private-net: loopback and the
// pairs made by scripts/peer-host, nothing that reaches a real network.
bool insidePrivateNetwork(QString *why);

}  // namespace kelvane::e2e
