// Winsock on a QUdpSocket bound to local port 65002 with broadcast permission.
#pragma once

#include "core/Link.h"

#include <QUdpSocket>

namespace kelvane {

class UdpLink final : public Link {
    Q_OBJECT
public:
    explicit UdpLink(QObject *parent = nullptr);

    bool open() override;
    QAbstractSocket::SocketError error() const override;
    QString errorString() const override;
    bool send(const QByteArray &datagram) override;
    QString localAddress() const override;

private:
    bool isOpen() const;
    void remember(const QUdpSocket &socket);
    void readPending();

    QUdpSocket m_socket;
    QAbstractSocket::SocketError m_error = QAbstractSocket::UnknownSocketError;
    QString m_errorString;
};

}  // namespace kelvane
