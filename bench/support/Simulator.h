// kelvane-sim on a second private host (scripts/peer-host), quiet: a trace
// line per datagram would slow its answers and so the figures.
#pragma once

#include <QProcess>
#include <QStringList>

namespace kelvane::bench {

class Simulator {
public:
    Simulator();
    ~Simulator();
    Simulator(const Simulator &) = delete;
    Simulator &operator=(const Simulator &) = delete;

    // Starts it with these arguments and waits for its "ready"; false, with
    // failure() saying why, if that never came.
    bool start(const QStringList &arguments, int timeoutMs = 10000);
    void stop();
    QString failure() const { return m_failure; }

private:
    QProcess m_process;
    QString m_failure;
};

}  // namespace kelvane::bench
