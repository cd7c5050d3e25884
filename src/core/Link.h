// Winsock: the one UDP socket. Every datagram goes to 255.255.255.255:65000
// from local port 65002; every datagram that arrives is delivered whole.
#pragma once

#include <QAbstractSocket>
#include <QByteArray>
#include <QObject>
#include <QString>

namespace kelvane {

class Link : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Opens the socket if it is not open yet; false, with error(), if it cannot.
    virtual bool open() = 0;
    // Why the last open or send failed, and the system's own words for it.
    virtual QAbstractSocket::SocketError error() const = 0;
    virtual QString errorString() const = 0;

    // False, with error(), when the datagram could not go out.
    virtual bool send(const QByteArray &datagram) = 0;

    // The IPv4 address the broadcasts leave from, in dotted decimal.
    virtual QString localAddress() const = 0;

signals:
    void datagramReceived(const QByteArray &datagram);
};

}  // namespace kelvane
