#include "UdpLink.h"

#include "core/Constants.h"
#include "core/Diagnostics.h"

#include <QNetworkDatagram>
#include <QVariant>

namespace kelvane {

namespace {
// Room for a burst of discovery replies from a full table of modules.
constexpr int ReceiveBufferBytes = 4 * 1024 * 1024;
}

UdpLink::UdpLink(QObject *parent) : Link(parent)
{
    connect(&m_socket, &QUdpSocket::readyRead, this, &UdpLink::readPending);
}

bool UdpLink::open()
{
    if (isOpen())
        return true;
    // Not shared: a second program on 65002 would take some of the answers.
    if (!m_socket.bind(QHostAddress::AnyIPv4, LocalPort, QAbstractSocket::DontShareAddress)) {
        remember(m_socket);
        m_socket.abort();
        return false;
    }
    m_socket.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, QVariant(ReceiveBufferBytes));
    return true;
}

bool UdpLink::isOpen() const
{
    return m_socket.state() == QAbstractSocket::BoundState;
}

QAbstractSocket::SocketError UdpLink::error() const
{
    return m_error;
}

QString UdpLink::errorString() const
{
    return m_errorString;
}

void UdpLink::remember(const QUdpSocket &socket)
{
    m_error = socket.error();
    m_errorString = socket.errorString();
}

bool UdpLink::send(const QByteArray &datagram)
{
    if (!isOpen()) {
        m_error = QAbstractSocket::SocketAddressNotAvailableError;
        m_errorString = QStringLiteral("local port not open");
        return false;
    }
    if (m_socket.writeDatagram(datagram, QHostAddress::Broadcast, RemotePort) == datagram.size())
        return true;
    remember(m_socket);
    qCWarning(lcLink) << "cannot send" << datagram.size() << "bytes:" << m_errorString;
    return false;
}

QString UdpLink::localAddress() const
{
    // Asking the routing table which address a broadcast would leave from;
    // connecting a UDP socket sends nothing.
    QUdpSocket probe;
    probe.connectToHost(QHostAddress::Broadcast, RemotePort);
    const QHostAddress address = probe.localAddress();
    if (probe.state() == QAbstractSocket::ConnectedState && !address.isNull() && address != QHostAddress::AnyIPv4)
        return address.toString();
    return QHostAddress(QHostAddress::LocalHost).toString();
}

void UdpLink::readPending()
{
    while (m_socket.hasPendingDatagrams()) {
        const QNetworkDatagram datagram = m_socket.receiveDatagram();
        if (datagram.isValid())
            emit datagramReceived(datagram.data());
    }
}

}  // namespace kelvane
