#include "Wait.h"

namespace kelvane::bench {

Wait::Wait(int timeoutMs)
{
    m_deadline.setSingleShot(true);
    m_deadline.setInterval(timeoutMs);
    QObject::connect(&m_deadline, &QTimer::timeout, &m_loop, &QEventLoop::quit);
}

void Wait::done()
{
    m_done = true;
    m_loop.quit();
}

bool Wait::exec()
{
    // done() may already have come from within the call that started the work.
    if (m_done)
        return true;
    m_deadline.start();
    m_loop.exec();
    m_deadline.stop();
    return m_done;
}

}  // namespace kelvane::bench
