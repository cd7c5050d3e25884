// SPDX-License-Identifier: Apache-2.0
// The simulator on the wire: one socket on port 65000; every answer is
// broadcast to port 65002, since a module's own IP may not suit the LAN.
// With --answer-from-ip each module answers through a socket bound to its
// own address instead, as a real module on the LAN would.
#pragma once

#include "Delivery.h"
#include "Responder.h"

#include <QElapsedTimer>
#include <QHash>
#include <QHostAddress>
#include <QObject>
#include <QSet>
#include <QTimer>
#include <QUdpSocket>

#include <memory>
#include <unordered_map>

namespace kelvane::sim {

class UdpShell : public QObject {
    Q_OBJECT
public:
    UdpShell(Responder &responder, Delivery &delivery, bool verbose, bool answerFromIp,
             QObject *parent = nullptr);

    // Opens port 65000 and, with --answer-from-ip, a socket on every module's address.
    bool bind();
    QString errorString() const { return m_error; }

private:
    void readPending(QUdpSocket &socket);
    // Moves the answers that are due to the outbox and waits for the next.
    void release();
    void flush();
    // The socket this datagram leaves through: its module's own, or the shared one.
    QUdpSocket &socketFor(const QByteArray &datagram);
    // A socket bound to this address on port 65000; nullptr with m_error set when the
    // address is on none of this host's cards.
    QUdpSocket *addressSocket(quint32 address);
    // "in  53 45 54 55 50 | 192.0.2.1:65002 | 812 ms": one line per datagram on stderr.
    void trace(const char *direction, const QByteArray &datagram, const QHostAddress &peer,
               quint16 port) const;

    Responder &m_responder;
    Delivery &m_delivery;
    bool m_verbose;
    bool m_answerFromIp;
    QUdpSocket m_socket;
    std::unordered_map<quint32, std::unique_ptr<QUdpSocket>> m_bySource;
    QSet<quint32> m_unbindable;  // said once, then answered from the shared socket
    QString m_error;
    QElapsedTimer m_clock;
    // Answers the socket could not take yet: a scan of hundreds of modules
    // answers in one burst.
    QByteArrayList m_outbox;
    QTimer m_retry;
    QTimer m_due;  // the next held answer falls due
    int m_failedSends = 0;
};

}  // namespace kelvane::sim
