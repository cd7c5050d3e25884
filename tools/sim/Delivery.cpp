// SPDX-License-Identifier: Apache-2.0
#include "Delivery.h"

#include <algorithm>

namespace kelvane::sim {

Delivery::Delivery(const Conditions &conditions, quint32 seed)
    : m_conditions(conditions), m_dropRandom(seed), m_lateRandom({seed, 1u}), m_requestRandom({seed, 2u})
{
}

bool Delivery::arrives(const QByteArray &request)
{
    if (request == "SETUP")
        return true;
    return m_requestRandom.generateDouble() >= m_conditions.dropRequests;
}

void Delivery::post(const QByteArrayList &answers, qint64 nowMs)
{
    for (const QByteArray &answer : answers) {
        // One draw of each kind per answer whatever the fractions, so runs stay comparable.
        const bool lost = m_dropRandom.generateDouble() < m_conditions.dropAnswers;
        const bool late = m_lateRandom.generateDouble() < m_conditions.lateAnswers;
        if (lost)
            continue;
        const qint64 due = nowMs + m_conditions.delayMs + (late ? LateMs : 0);
        hold(due, answer);
        if (m_conditions.duplicate)
            hold(due, answer);
    }
}

void Delivery::hold(qint64 dueMs, const QByteArray &datagram)
{
    const auto after = std::upper_bound(m_held.begin(), m_held.end(), dueMs,
                                        [](qint64 due, const Held &held) { return due < held.dueMs; });
    m_held.insert(after, {dueMs, datagram});
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
