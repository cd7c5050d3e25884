// The simulator on the wire: one socket on port 65000; every answer is
// broadcast to port 65002, since a module's own IP may not suit the LAN.
#pragma once

#include "Delivery.h"
#include "Responder.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QObject>
#include <QTimer>
#include <QUdpSocket>

namespace kelvane::sim {

class UdpShell : public QObject {
    Q_OBJECT
public:
    UdpShell(Responder &responder, Delivery &delivery, bool verbose, QObject *parent = nullptr);

    bool bind();
    QString errorString() const { return m_socket.errorString(); }

private:
    void readPending();
    // Moves the answers that are due to the outbox and waits for the next.
    void release();
    void flush();
    // "in  53 45 54 55 50 | 192.0.2.1:65002 | 812 ms": one line per datagram on stderr.
    void trace(const char *direction, const QByteArray &datagram, const QHostAddress &peer,
               quint16 port) const;

    Responder &m_responder;
    Delivery &m_delivery;
    bool m_verbose;
    QUdpSocket m_socket;
    QElapsedTimer m_clock;
    // Answers the socket could not take yet: a scan of hundreds of modules
    // answers in one burst.
    QByteArrayList m_outbox;
    QTimer m_retry;
    QTimer m_due;  // the next held answer falls due
    int m_failedSends = 0;
};

}  // namespace kelvane::sim
