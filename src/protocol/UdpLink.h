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
    QString errorString() const override;
    void send(const QByteArray &datagram) override;
    QString localAddress() const override;

private:
    bool isOpen() const;
    void readPending();

    QUdpSocket m_socket;
    QString m_error;
};

}  // namespace kelvane
