#include "Delivery.h"

namespace kelvane::sim {

Delivery::Delivery(double dropFraction, bool duplicate, int delayMs, quint32 seed)
    : m_dropFraction(dropFraction), m_duplicate(duplicate), m_delayMs(delayMs), m_random(seed)
{
}

void Delivery::post(const QByteArrayList &answers, qint64 nowMs)
{
    const qint64 due = nowMs + m_delayMs;
    for (const QByteArray &answer : answers) {
        // One draw per answer whatever the fraction, so runs stay comparable.
        if (m_random.generateDouble() < m_dropFraction)
            continue;
        m_held.append({due, answer});
        if (m_duplicate)
            m_held.append({due, answer});
    }
}

QByteArrayList Delivery::takeDue(qint64 nowMs)
{
    QByteArrayList due;
    while (!m_held.isEmpty() && m_held.first().dueMs <= nowMs)
        due.append(m_held.takeFirst().datagram);
    return due;
}

std::optional<qint64> Delivery::nextDueMs() const
{
    if (m_held.isEmpty())
        return std::nullopt;
    return m_held.first().dueMs;
}

}  // namespace kelvane::sim
