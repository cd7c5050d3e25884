// SPDX-License-Identifier: Apache-2.0
// What happens to datagrams on their way: some requests lost before a module
// hears them, some answers lost, late or sent twice, all held for a while.
// Seeded, so a run with the same seed loses the same datagrams; driven by the
// caller's clock, so tests need not wait.
#pragma once

#include <QByteArrayList>
#include <QList>
#include <QRandomGenerator>

#include <optional>

namespace kelvane::sim {

// Past the tool's 400 ms time-out, however long --delay holds the rest.
inline constexpr int LateMs = 600;

struct Conditions {
    double dropAnswers = 0.0;   // the fraction of answers lost
    double lateAnswers = 0.0;   // the fraction held LateMs longer than the rest
    double dropRequests = 0.0;  // the fraction of requests to a module lost before it hears them
    bool duplicate = false;     // every answer that goes out goes out twice
    int delayMs = 0;            // every answer held this long
};

class Delivery {
public:
    Delivery(const Conditions &conditions, quint32 seed);

    // Whether a request arrived; a scan's "SETUP" always does.
    bool arrives(const QByteArray &request);
    // The answers to a datagram that arrived at nowMs, a monotonic clock in ms.
    void post(const QByteArrayList &answers, qint64 nowMs);
    // The datagrams to send by nowMs, in the order they fall due (posting
    // order among those due at the same time).
    QByteArrayList takeDue(qint64 nowMs);
    // When the next held datagram falls due; none when nothing is held.
    std::optional<qint64> nextDueMs() const;

private:
    struct Held {
        qint64 dueMs;
        QByteArray datagram;
    };
    void hold(qint64 dueMs, const QByteArray &datagram);

    Conditions m_conditions;
    // One generator per kind of mishap, so that for the same seed adding
    // --late leaves --drop's losses as they were and the other way round.
    // Lost requests leave fewer answers, so they shift both.
    QRandomGenerator m_dropRandom;
    QRandomGenerator m_lateRandom;
    QRandomGenerator m_requestRandom;
    QList<Held> m_held;  // by due time
};

}  // namespace kelvane::sim
