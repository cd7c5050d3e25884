#include "UdpShell.h"

#include "core/Constants.h"

#include <QNetworkDatagram>
#include <QVariant>

#include <cstdio>

namespace kelvane::sim {

namespace {
constexpr int SendBufferBytes = 1024 * 1024;
constexpr int RetryMs = 2;
constexpr int MaxFailedSends = 500;  // about a second of a socket that takes nothing
}  // namespace

UdpShell::UdpShell(Responder &responder, Delivery &delivery, bool verbose, QObject *parent)
    : QObject(parent), m_responder(responder), m_delivery(delivery), m_verbose(verbose)
{
    m_clock.start();
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &UdpShell::flush);
    m_due.setSingleShot(true);
    m_due.setTimerType(Qt::PreciseTimer);
    connect(&m_due, &QTimer::timeout, this, &UdpShell::release);
    connect(&m_socket, &QUdpSocket::readyRead, this, &UdpShell::readPending);
}

bool UdpShell::bind()
{
    // A module listens on the tool's remote port, on every address.
    if (!m_socket.bind(QHostAddress::AnyIPv4, RemotePort))
        return false;
    m_socket.setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, QVariant(SendBufferBytes));
    return true;
}

void UdpShell::readPending()
{
    while (m_socket.hasPendingDatagrams()) {
        const QNetworkDatagram datagram = m_socket.receiveDatagram();
        if (!datagram.isValid())
            continue;
        trace("in ", datagram.data(), datagram.senderAddress(), quint16(datagram.senderPort()));
        const qint64 now = m_clock.elapsed();
        m_delivery.post(m_responder.respond(datagram.data(), now), now);
    }
    release();
}

void UdpShell::release()
{
    const qint64 now = m_clock.elapsed();
    m_outbox += m_delivery.takeDue(now);
    if (const std::optional<qint64> next = m_delivery.nextDueMs())
        m_due.start(int(*next - now));
    if (!m_retry.isActive())
        flush();
}

void UdpShell::flush()
{
    const QHostAddress broadcast(QHostAddress::Broadcast);
    while (!m_outbox.isEmpty()) {
        const QByteArray &datagram = m_outbox.first();
        if (m_socket.writeDatagram(datagram, broadcast, LocalPort) < 0) {
            if (++m_failedSends < MaxFailedSends) {
                m_retry.start(RetryMs);
                return;
            }
            std::fprintf(stderr, "kelvane-sim: answer lost: %s\n", qPrintable(m_socket.errorString()));
        } else {
            trace("out", datagram, broadcast, LocalPort);
        }
        m_failedSends = 0;
        m_outbox.removeFirst();
    }
}

void UdpShell::trace(const char *direction, const QByteArray &datagram, const QHostAddress &peer,
                     quint16 port) const
{
    if (!m_verbose)
        return;
    const QByteArray line = QByteArray(direction) + ' ' + datagram.toHex(' ').toUpper() + " | " +
                            peer.toString().toLatin1() + ':' + QByteArray::number(port) + " | " +
                            QByteArray::number(m_clock.elapsed()) + " ms\n";
    std::fputs(line.constData(), stderr);
}

}  // namespace kelvane::sim
