#include "Delivery.h"

namespace kelvane::sim {

Delivery::Delivery(double dropFraction, bool duplicate, quint32 seed)
    : m_dropFraction(dropFraction), m_duplicate(duplicate), m_random(seed)
{
}

QByteArrayList Delivery::apply(const QByteArrayList &answers)
{
    QByteArrayList out;
    for (const QByteArray &answer : answers) {
        // One draw per answer whatever the fraction, so runs stay comparable.
        if (m_random.generateDouble() < m_dropFraction)
            continue;
        out.append(answer);
        if (m_duplicate)
            out.append(answer);
    }
    return out;
}

}  // namespace kelvane::sim
