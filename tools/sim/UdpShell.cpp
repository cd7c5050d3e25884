// SPDX-License-Identifier: Apache-2.0
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

UdpShell::UdpShell(Responder &responder, Delivery &delivery, bool verbose, bool answerFromIp,
                   QObject *parent)
    : QObject(parent), m_responder(responder), m_delivery(delivery), m_verbose(verbose),
      m_answerFromIp(answerFromIp)
{
    m_clock.start();
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &UdpShell::flush);
    m_due.setSingleShot(true);
    m_due.setTimerType(Qt::PreciseTimer);
    connect(&m_due, &QTimer::timeout, this, &UdpShell::release);
    connect(&m_socket, &QUdpSocket::readyRead, this, [this] { readPending(m_socket); });
}

bool UdpShell::bind()
{
    // A module listens on the tool's remote port, on every address; shared
    // with the sockets on the modules' own addresses when they answer from those.
    const auto mode = m_answerFromIp ? QAbstractSocket::ShareAddress : QAbstractSocket::DefaultForPlatform;
    if (!m_socket.bind(QHostAddress::AnyIPv4, RemotePort, mode)) {
        m_error = QStringLiteral("cannot open UDP port %1: %2").arg(RemotePort).arg(m_socket.errorString());
        return false;
    }
    m_socket.setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, QVariant(SendBufferBytes));
    if (m_answerFromIp) {
        for (int i = 0; i < m_responder.moduleCount(); ++i) {
            if (!addressSocket(m_responder.module(i).runningIp()))
                return false;
        }
    }
    return true;
}

QUdpSocket *UdpShell::addressSocket(quint32 address)
{
    if (const auto found = m_bySource.find(address); found != m_bySource.end())
        return found->second.get();
    auto socket = std::make_unique<QUdpSocket>();
    const QHostAddress host(address);
    if (!socket->bind(host, RemotePort, QAbstractSocket::ShareAddress)) {
        m_error = QStringLiteral("cannot answer from %1: %2; the address must be on one of this host's cards")
                      .arg(host.toString(), socket->errorString());
        return nullptr;
    }
    socket->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, QVariant(SendBufferBytes));
    // A datagram sent to the module's own address arrives here, not on the shared socket.
    QUdpSocket *bound = socket.get();
    connect(bound, &QUdpSocket::readyRead, this, [this, bound] { readPending(*bound); });
    return m_bySource.emplace(address, std::move(socket)).first->second.get();
}

QUdpSocket &UdpShell::socketFor(const QByteArray &datagram)
{
    if (!m_answerFromIp)
        return m_socket;
    const int module = m_responder.moduleOf(datagram);
    if (module < 0)
        return m_socket;
    const quint32 address = m_responder.module(module).runningIp();
    if (QUdpSocket *own = addressSocket(address))
        return *own;
    // Written to an address this host lacks: the answers still go out, from the host's own.
    if (!m_unbindable.contains(address)) {
        m_unbindable.insert(address);
        std::fprintf(stderr, "kelvane-sim: %s; answering from this host's address\n", qPrintable(m_error));
    }
    return m_socket;
}

void UdpShell::readPending(QUdpSocket &socket)
{
    while (socket.hasPendingDatagrams()) {
        const QNetworkDatagram datagram = socket.receiveDatagram();
        if (!datagram.isValid())
            continue;
        trace("in ", datagram.data(), datagram.senderAddress(), quint16(datagram.senderPort()));
        const qint64 now = m_clock.elapsed();
        if (m_delivery.arrives(datagram.data()))
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
    // Traced once all that is due has gone: a line written between two copies of
    // an answer (--duplicate) would part them by the time it takes, and they are
    // meant to go back to back, as a network that duplicates sends them.
    QByteArrayList sent;
    while (!m_outbox.isEmpty()) {
        const QByteArray &datagram = m_outbox.first();
        QUdpSocket &socket = socketFor(datagram);
        if (socket.writeDatagram(datagram, broadcast, LocalPort) < 0) {
            if (++m_failedSends < MaxFailedSends) {
                m_retry.start(RetryMs);
                break;
            }
            std::fprintf(stderr, "kelvane-sim: answer lost: %s\n", qPrintable(socket.errorString()));
        } else {
            sent.append(datagram);
        }
        m_failedSends = 0;
        m_outbox.removeFirst();
    }
    for (const QByteArray &datagram : sent)
        trace("out", datagram, broadcast, LocalPort);
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
