// SPDX-License-Identifier: Apache-2.0
#include "QtOneShotTimer.h"

namespace kelvane {

QtOneShotTimer::QtOneShotTimer(QObject *parent) : OneShotTimer(parent)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &OneShotTimer::expired);
}

void QtOneShotTimer::start(int intervalMs)
{
    m_timer.start(intervalMs);
}

void QtOneShotTimer::stop()
{
    m_timer.stop();
}

bool QtOneShotTimer::isActive() const
{
    return m_timer.isActive();
}

}  // namespace kelvane
