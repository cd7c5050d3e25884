// Runs the event loop until something happens or a deadline passes. Unlike a
// polling wait, it never sleeps while datagrams are due, so it adds nothing
// to what is being timed.
#pragma once

#include <QEventLoop>
#include <QTimer>

namespace kelvane::bench {

class Wait {
public:
    explicit Wait(int timeoutMs);

    // Connections made for one wait use this as their context, so they end with it.
    QObject *context() { return &m_loop; }
    void done();
    // True when done() ended the wait, false when the deadline did.
    bool exec();

private:
    QEventLoop m_loop;
    QTimer m_deadline;
    bool m_done = false;
};

}  // namespace kelvane::bench
