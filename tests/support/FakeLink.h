// A link that keeps what is sent and delivers datagrams a test hands it.
#pragma once

#include "core/Link.h"

#include <QByteArrayList>

namespace kelvane::test {

class FakeLink final : public Link {
public:
    bool open() override
    {
        m_open = !m_portTaken;
        return m_open;
    }
    QAbstractSocket::SocketError error() const override
    {
        return m_open ? QAbstractSocket::NetworkError : QAbstractSocket::AddressInUseError;
    }
    QString errorString() const override { return m_open ? "Network unreachable" : "Address in use"; }
    bool send(const QByteArray &datagram) override
    {
        if (!m_open || unreachable)
            return false;
        sent.append(datagram);
        return true;
    }
    QString localAddress() const override { return QStringLiteral("192.0.2.1"); }

    // What a module would answer.
    void deliver(const QByteArray &datagram) { emit datagramReceived(datagram); }
    // Another program holds local port 65002 while this is true.
    void setPortTaken(bool taken) { m_portTaken = taken; }

    QByteArrayList sent;
    // The cable is out: every send fails.
    bool unreachable = false;

private:
    bool m_open = false;
    bool m_portTaken = false;
};

}  // namespace kelvane::test
