// SPDX-License-Identifier: Apache-2.0
// Winsock: how datagrams travel. Every datagram goes to 255.255.255.255:65000
// from local port 65002, out of every network card or out of the one card a
// module answers on; every datagram that arrives is delivered whole.
#pragma once

#include "DeviceAddress.h"

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QMetaMethod>
#include <QList>
#include <QObject>
#include <QString>

#include <optional>

namespace kelvane {

enum class Direction { Sent, Received };

// One card a datagram can be sent out of.
struct NetworkCard {
    QString name;          // as the system calls it: eth0, wlp2s0, ...
    int index = 0;         // QNetworkInterface::index(), what a datagram is pinned to
    QHostAddress address;  // its first IPv4 address, the source of its broadcasts
    int prefixLength = -1;  // of that address's subnet; -1 when the system does not say

    friend bool operator==(const NetworkCard &, const NetworkCard &) = default;
};

// Where a module was heard: the card its discovery reply came in on, and from whom.
struct ModuleRoute {
    NetworkCard card;
    QHostAddress peer;
};

// The datagrams of one module, for whatever works on that module now.
class ModuleInbox : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Whether anything works on the module now.
    bool claimed() const { return isSignalConnected(QMetaMethod::fromSignal(&ModuleInbox::received)); }

signals:
    void received(const QByteArray &datagram);
};

class Link : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Where the datagrams that name this module arrive; made on first use,
    // it lives as long as the link.
    ModuleInbox &inbox(const DeviceAddress &module)
    {
        ModuleInbox *&box = m_inboxes[module.toByteArray()];
        if (!box)
            box = new ModuleInbox(this);
        return *box;
    }

    // Opens the socket if it is not open yet; false with errorString() if it cannot.
    virtual bool open() = 0;
    // Why the last open or send failed, in the words of the status pane.
    virtual QString errorString() const = 0;

    // False, with errorString() saying why, when the datagram went out on no
    // card it was meant for.
    virtual bool send(const QByteArray &datagram) = 0;

    // The IPv4 address a broadcast leaves from when no card is chosen for it
    // (the card of the default route), in dotted decimal.
    virtual QString localAddress() const = 0;

    // The card a module was found on; none for a module never heard from.
    virtual std::optional<ModuleRoute> routeOf(const DeviceAddress &) const { return std::nullopt; }
    // Hands on now every datagram that has arrived and waits to be read.
    virtual void readNow() {}
    // Takes in every datagram that has arrived and waits to be read, before
    // a frame for `module` goes out: those of that module cannot answer the
    // frame (a repeated answer to the last one, most often) and are dropped;
    // the others are handed on as usual.
    virtual void drainPending(const DeviceAddress &module) { Q_UNUSED(module); }
    // The cards broadcasts go out on.
    virtual QList<NetworkCard> cards() const { return {}; }

    // The address the tool talks to this module from.
    QString localAddressFor(const DeviceAddress &module) const
    {
        const std::optional<ModuleRoute> route = routeOf(module);
        return route ? route->card.address.toString() : localAddress();
    }

signals:
    // Every datagram that arrived for no module's inbox, for whoever listens
    // to them all (a scan).
    void datagramReceived(const QByteArray &datagram);
    // Every datagram sent (once per card) or received, before it is handled; for traces.
    void traffic(kelvane::Direction direction, const QByteArray &datagram, const QString &card,
                 const QHostAddress &peer, quint16 port);
    // A datagram that arrived and is handed to no one, and why; for traces.
    void dropped(const QByteArray &datagram, const QString &why);

protected:
    // Each arrival, whole, sorted here once: to the inbox of the module it
    // names while something works on that module, else to every listener of
    // all datagrams (a scan, which lists the modules no one works on yet).
    void arrived(const QByteArray &datagram)
    {
        if (const std::optional<DeviceAddress> from = DeviceAddress::fromFrame(datagram)) {
            ModuleInbox *box = m_inboxes.value(from->toByteArray());
            if (box && box->claimed()) {
                emit box->received(datagram);
                return;
            }
        }
        emit datagramReceived(datagram);
    }

private:
    QHash<QByteArray, ModuleInbox *> m_inboxes;
};

}  // namespace kelvane
