// SPDX-License-Identifier: Apache-2.0
// Winsock on a QUdpSocket bound to local port 65002 with broadcast permission,
// sending out of every usable network card, or out of a module's own card.
#pragma once

#include "core/Link.h"

#include <QHash>
#include <QNetworkDatagram>
#include <QStringList>
#include <QTimer>
#include <QUdpSocket>

namespace kelvane {

class UdpLink final : public Link {
    Q_OBJECT
public:
    explicit UdpLink(QObject *parent = nullptr);

    // Only the cards of these names (see checkCardNames); empty: every usable card.
    void setCardNames(const QStringList &names);

    bool open() override;
    QString errorString() const override;
    bool send(const QByteArray &datagram) override;
    QString localAddress() const override;
    std::optional<ModuleRoute> routeOf(const DeviceAddress &module) const override;
    QList<NetworkCard> cards() const override { return m_cards; }
    void drainPending(const DeviceAddress &module) override;
    void readNow() override { readPending(); }

private:
    // Where a module was last heard: the card's index and the sender.
    struct Heard {
        int cardIndex = 0;
        QHostAddress peer;
        quint64 round = 0;  // the discovery request it answered
    };

    bool isOpen() const;
    void readPending();
    QNetworkDatagram take();
    // Why a datagram goes to no one: a stale one, or a copy from another card; empty otherwise.
    QString dropReason(const QNetworkDatagram &datagram, bool stale) const;
    // A new discovery request: the cards as they are now, and routes to be learnt afresh.
    void beginDiscovery();
    void refreshCards();
    void learn(const QByteArray &datagram, int cardIndex, const QHostAddress &peer);
    const NetworkCard *card(int index) const;
    QList<NetworkCard> cardsFor(const QByteArray &datagram) const;
    QString noCardText() const;

    // Datagrams taken in by drainPending and not handed on yet; `stale` for
    // those of the module a frame was about to go to.
    struct Taken {
        QNetworkDatagram datagram;
        bool stale = false;
    };
    QList<Taken> m_taken;
    bool m_reading = false;
    bool m_inReadyRead = false;
    QTimer m_rearm;
    QUdpSocket m_socket;
    QString m_error;
    QStringList m_names;
    QList<NetworkCard> m_cards;
    QHash<QByteArray, Heard> m_heard;  // keyed by DeviceAddress bytes
    quint64 m_round = 0;
};

}  // namespace kelvane
