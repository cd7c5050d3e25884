// What happens to answers on their way out: some lost, some sent twice.
// Seeded, so a run with the same seed loses the same answers.
#pragma once

#include <QByteArrayList>
#include <QRandomGenerator>

namespace kelvane::sim {

class Delivery {
public:
    Delivery(double dropFraction, bool duplicate, quint32 seed);

    // The datagrams to send for these answers, in order.
    QByteArrayList apply(const QByteArrayList &answers);

private:
    double m_dropFraction;
    bool m_duplicate;
    QRandomGenerator m_random;
};

}  // namespace kelvane::sim
