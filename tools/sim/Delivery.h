// What happens to answers on their way out: some lost, some sent twice, all
// held for a while. Seeded, so a run with the same seed loses the same
// answers; driven by the caller's clock, so tests need not wait.
#pragma once

#include <QByteArrayList>
#include <QList>
#include <QRandomGenerator>

#include <optional>

namespace kelvane::sim {

class Delivery {
public:
    Delivery(double dropFraction, bool duplicate, int delayMs, quint32 seed);

    // The answers to a datagram that arrived at nowMs, a monotonic clock in ms.
    void post(const QByteArrayList &answers, qint64 nowMs);
    // The datagrams to send by nowMs, in the order they were posted.
    QByteArrayList takeDue(qint64 nowMs);
    // When the next held datagram falls due; none when nothing is held.
    std::optional<qint64> nextDueMs() const;

private:
    struct Held {
        qint64 dueMs;
        QByteArray datagram;
    };

    double m_dropFraction;
    bool m_duplicate;
    int m_delayMs;
    QRandomGenerator m_random;
    // One delay for all, so due times never decrease along the queue.
    QList<Held> m_held;
};

}  // namespace kelvane::sim
