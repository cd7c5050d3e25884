// SPDX-License-Identifier: Apache-2.0
#include "UdpLink.h"

#include "NetworkCards.h"
#include "core/Constants.h"
#include "core/Diagnostics.h"
#include "LinkErrorText.h"
#include "protocol/Frames.h"

#include <QCoreApplication>
#include <QNetworkDatagram>
#include <QVariant>

#include <algorithm>

namespace kelvane {

namespace {
// Room for a burst of discovery replies from a full table of modules.
constexpr int ReceiveBufferBytes = 4 * 1024 * 1024;
// Garbage on a LAN could fill the table of routes without end; past this many
// a new sender is not remembered, and frames to it go out on every card.
constexpr qsizetype MaxRoutes = 4 * DeviceTableCapacity;
// Larger than any datagram a module sends.
constexpr qint64 MaxDatagramBytes = 65536;
// The exit frame's address: every module, never one.
const QByteArray EveryModule(DeviceAddressSize, '\xFF');
}  // namespace

UdpLink::UdpLink(QObject *parent) : Link(parent)
{
    connect(&m_socket, &QUdpSocket::readyRead, this, [this] {
        m_inReadyRead = true;
        readPending();
        m_inReadyRead = false;
    });
    // See take(): a look at the socket once the loop has moved on.
    m_rearm.setSingleShot(true);
    m_rearm.setTimerType(Qt::PreciseTimer);
    m_rearm.setInterval(1);
    connect(&m_rearm, &QTimer::timeout, this, [this] {
        if (!isOpen())
            return;
        // Asked for a size, the socket reads even when it holds nothing, and
        // so listens again; what it may have held meanwhile is read as usual.
        QNetworkDatagram datagram = m_socket.receiveDatagram(MaxDatagramBytes);
        if (datagram.isValid())
            m_taken.append({std::move(datagram), false});
        readPending();
    });
}

QNetworkDatagram UdpLink::take()
{
    // The socket stops listening when it tells of datagrams, until the next is
    // read. Read at another time, as here before a send or at a time-out, a
    // datagram may be gone by the time the socket tells of it: it then finds
    // nothing to read and stays deaf, and answers would wait for the next
    // time-out. One look a moment later makes it listen again.
    if (!m_inReadyRead)
        m_rearm.start();
    return m_socket.receiveDatagram();
}

void UdpLink::setCardNames(const QStringList &names)
{
    m_names = names;
    refreshCards();
}

bool UdpLink::open()
{
    if (isOpen())
        return true;
    // Not shared: a second program on 65002 would take some of the answers.
    if (!m_socket.bind(QHostAddress::AnyIPv4, LocalPort, QAbstractSocket::DontShareAddress)) {
        m_error = linkErrorText(m_socket.error());
        qCWarning(lcLink) << "cannot bind port" << LocalPort << ":" << m_socket.errorString();
        m_socket.abort();
        return false;
    }
    m_socket.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, QVariant(ReceiveBufferBytes));
    m_error.clear();
    refreshCards();
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

bool UdpLink::send(const QByteArray &datagram)
{
    if (!isOpen()) {
        if (m_error.isEmpty())
            m_error = QCoreApplication::translate("UdpLink", "本地UDP端口未打开");
        return false;
    }
    if (datagram == frames::discoveryRequest())
        beginDiscovery();
    const QList<NetworkCard> targets = cardsFor(datagram);
    if (targets.isEmpty()) {
        m_error = noCardText();
        qCDebug(lcLink) << "not sent, no card:" << datagram.toHex(' ');
        return false;
    }
    QStringList failures;
    for (const NetworkCard &target : targets) {
        QNetworkDatagram out(datagram, QHostAddress(QHostAddress::Broadcast), RemotePort);
        out.setInterfaceIndex(uint(target.index));
        if (m_socket.writeDatagram(out) != datagram.size()) {
            failures.append(target.name + QStringLiteral("：") + linkErrorText(m_socket.error()));
            qCWarning(lcLink) << "not sent on" << target.name << m_socket.errorString();
            continue;
        }
        emit traffic(Direction::Sent, datagram, target.name, out.destinationAddress(), RemotePort);
    }
    m_error = failures.join(QStringLiteral("; "));
    return failures.size() < targets.size();
}

QString UdpLink::localAddress() const
{
    // Asking the routing table which address a broadcast would leave from;
    // connecting a UDP socket sends nothing.
    QUdpSocket probe;
    probe.connectToHost(QHostAddress::Broadcast, RemotePort);
    const QHostAddress address = probe.localAddress();
    const bool routed = probe.state() == QAbstractSocket::ConnectedState && !address.isNull() &&
                        address != QHostAddress::AnyIPv4;
    // The default route may lead out of a card the tool was told not to use.
    const bool inUse = m_cards.isEmpty() ||
                       std::any_of(m_cards.begin(), m_cards.end(),
                                   [&address](const NetworkCard &c) { return c.address == address; });
    if (routed && inUse)
        return address.toString();
    if (!m_cards.isEmpty())
        return m_cards.first().address.toString();
    return QHostAddress(QHostAddress::LocalHost).toString();
}

std::optional<ModuleRoute> UdpLink::routeOf(const DeviceAddress &module) const
{
    const auto heard = m_heard.constFind(module.toByteArray());
    if (heard == m_heard.constEnd())
        return std::nullopt;
    const NetworkCard *on = card(heard->cardIndex);
    if (!on)
        return std::nullopt;
    return ModuleRoute{*on, heard->peer};
}

void UdpLink::readPending()
{
    const bool outer = !m_reading;
    m_reading = true;
    while (!m_taken.isEmpty() || m_socket.hasPendingDatagrams()) {
        const Taken next = m_taken.isEmpty() ? Taken{take(), false} : m_taken.takeFirst();
        const QNetworkDatagram &datagram = next.datagram;
        if (!datagram.isValid())
            continue;
        learn(datagram.data(), datagram.interfaceIndex(), datagram.senderAddress());
        const NetworkCard *on = card(int(datagram.interfaceIndex()));
        emit traffic(Direction::Received, datagram.data(), on ? on->name : QString(), datagram.senderAddress(),
                     quint16(datagram.senderPort()));
        if (const QString why = dropReason(datagram, next.stale); !why.isEmpty()) {
            qCDebug(lcLink).noquote() << why;
            emit dropped(datagram.data(), why);
            continue;
        }
        arrived(datagram.data());
    }
    if (outer)
        m_reading = false;
}

QString UdpLink::dropReason(const QNetworkDatagram &datagram, bool stale) const
{
    const std::optional<DeviceAddress> module = DeviceAddress::fromFrame(datagram.data());
    if (!module)
        return {};
    if (stale)
        return QStringLiteral("dropped: from %1, arrived before the frame it would answer was sent").arg(module->toHex());
    // Two cards on one LAN hear every broadcast answer twice: the module's
    // own card carries the answer, any other a copy of it.
    const auto heard = m_heard.constFind(module->toByteArray());
    if (heard != m_heard.constEnd() && heard->cardIndex != int(datagram.interfaceIndex())) {
        const NetworkCard *on = card(int(datagram.interfaceIndex()));
        return QStringLiteral("dropped: from %1, a copy on %2 of what its own card carries")
            .arg(module->toHex(), on ? on->name : QStringLiteral("another card"));
    }
    return {};
}

void UdpLink::drainPending(const DeviceAddress &module)
{
    bool took = false;
    while (m_socket.hasPendingDatagrams()) {
        QNetworkDatagram datagram = take();
        const bool stale = DeviceAddress::fromFrame(datagram.data()) == module;
        m_taken.append({std::move(datagram), stale});
        took = true;
    }
    // Handed on once the frame has gone: within the reading under way, or next.
    // Either way another look follows, since the socket tells of new datagrams
    // only to a reader that reads them in its own turn.
    if (took)
        QMetaObject::invokeMethod(this, &UdpLink::readPending, Qt::QueuedConnection);
}

void UdpLink::beginDiscovery()
{
    ++m_round;
    refreshCards();
}

void UdpLink::refreshCards()
{
    m_cards = usableCards(systemInterfaces(), m_names);
    // A module whose card is gone is reached like one never heard from: on every card.
    m_heard.removeIf([this](const QHash<QByteArray, Heard>::iterator it) { return !card(it->cardIndex); });
}

void UdpLink::learn(const QByteArray &datagram, int cardIndex, const QHostAddress &peer)
{
    const QByteArray address = datagram.left(DeviceAddressSize);
    // Answers on a card the tool does not use (loopback, a card left out) teach nothing.
    if (address.size() < DeviceAddressSize || address == EveryModule || !card(cardIndex))
        return;
    const auto heard = m_heard.find(address);
    if (heard == m_heard.end()) {
        if (m_heard.size() < MaxRoutes)
            m_heard.insert(address, {cardIndex, peer, m_round});
        return;
    }
    // The first answer to each discovery request counts: a module on two cards
    // keeps one of them, and a module moved to another card is found there.
    if (heard->round != m_round)
        *heard = {cardIndex, peer, m_round};
}

const NetworkCard *UdpLink::card(int index) const
{
    for (const NetworkCard &c : m_cards) {
        if (c.index == index)
            return &c;
    }
    return nullptr;
}

QList<NetworkCard> UdpLink::cardsFor(const QByteArray &datagram) const
{
    if (const std::optional<DeviceAddress> module = DeviceAddress::fromFrame(datagram)) {
        if (const std::optional<ModuleRoute> route = routeOf(*module))
            return {route->card};
    }
    return m_cards;
}

QString UdpLink::noCardText() const
{
    if (m_names.isEmpty())
        return QCoreApplication::translate("UdpLink", "没有可以广播的网卡：请接上网线或连接网络");
    return QCoreApplication::translate("UdpLink", "指定的网卡（%1）都没有连接").arg(m_names.join(QStringLiteral(", ")));
}

}  // namespace kelvane
