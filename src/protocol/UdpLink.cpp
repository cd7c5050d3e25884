#include "UdpLink.h"

#include "core/Constants.h"

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
        m_error = m_socket.errorString();
        m_socket.abort();
        return false;
    }
    m_socket.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, QVariant(ReceiveBufferBytes));
    m_error.clear();
    return true;
}

bool UdpLink::isOpen() const
{
    return m_socket.state() == QAbstractSocket::BoundState;
}

QString UdpLink::errorString() const
{
    return m_error;
}

void UdpLink::send(const QByteArray &datagram)
{
    if (isOpen())
        m_socket.writeDatagram(datagram, QHostAddress::Broadcast, RemotePort);
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
