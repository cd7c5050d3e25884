// SPDX-License-Identifier: Apache-2.0
// A link that keeps what is sent and delivers datagrams a test hands it.
#pragma once

#include "core/Link.h"

#include <QByteArrayList>
#include <QHash>

namespace kelvane::test {

class FakeLink final : public Link {
public:
    bool open() override
    {
        m_open = true;
        return true;
    }
    // Why a send failed: the cable is out.
    QString errorString() const override { return QStringLiteral("网络不可用，请检查网线和网络设置"); }
    bool send(const QByteArray &datagram) override
    {
        if (!m_open || unreachable)
            return false;
        sent.append(datagram);
        emit traffic(Direction::Sent, datagram, cardList.value(0).name, QHostAddress::Broadcast, 65000);
        return true;
    }
    QString localAddress() const override { return QStringLiteral("192.0.2.1"); }
    QList<NetworkCard> cards() const override { return cardList; }
    std::optional<ModuleRoute> routeOf(const DeviceAddress &module) const override
    {
        const auto route = routes.constFind(module.toByteArray());
        return route == routes.constEnd() ? std::nullopt : std::optional<ModuleRoute>(*route);
    }
    // The module's answers come from `peer`, on card `card` of cardList, as a UdpLink learns it.
    void answersFrom(const QByteArray &module, const QString &peer, int card = 0)
    {
        routes.insert(module, {cardList.value(card), QHostAddress(peer)});
    }

    // What a module would answer.
    void deliver(const QByteArray &datagram) { arrived(datagram); }
    // Arrived, and read only when the engine drains the link before a send:
    // the module's own are dropped then, the others handed on.
    void queue(const QByteArray &datagram) { waiting.append(datagram); }
    void drainPending(const DeviceAddress &module) override
    {
        while (!waiting.isEmpty()) {
            const QByteArray datagram = waiting.takeFirst();
            if (DeviceAddress::fromFrame(datagram) == module)
                emit dropped(datagram, QStringLiteral("dropped: arrived before the frame it would answer was sent"));
            else
                arrived(datagram);
        }
    }
    QByteArrayList sent;
    QByteArrayList waiting;
    // The cable is out: every send fails.
    bool unreachable = false;
    // The cards in use: one card, the one localAddress() names.
    QList<NetworkCard> cardList{{QStringLiteral("eth0"), 2, QHostAddress(QStringLiteral("192.0.2.1"))}};
    // Where each module was heard, by its six address bytes; none unless a test says.
    QHash<QByteArray, ModuleRoute> routes;

private:
    bool m_open = false;
};

}  // namespace kelvane::test
