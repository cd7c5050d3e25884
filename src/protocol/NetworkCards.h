// SPDX-License-Identifier: Apache-2.0
// The network cards the tool broadcasts on: which ones qualify, and the
// --interface names that narrow them down.
#pragma once

#include "core/Link.h"

#include <QCommandLineOption>
#include <QNetworkInterface>
#include <QStringList>

namespace kelvane {

// One address of an interface and the length of its subnet's prefix.
struct InterfaceAddress {
    InterfaceAddress() = default;
    InterfaceAddress(const QHostAddress &address, int prefix = -1) : ip(address), prefixLength(prefix) {}
    QHostAddress ip;
    int prefixLength = -1;  // -1 when unknown
};

// What the system says about one interface, as far as choosing cards goes.
// A plain copy so that the choice can be tried on made-up interfaces.
struct InterfaceState {
    QString name;
    int index = 0;
    QNetworkInterface::InterfaceFlags flags;
    QList<InterfaceAddress> addresses;
};

// Every interface of this machine, as it stands now.
QList<InterfaceState> systemInterfaces();

// The cards that carry broadcasts now: up and running, not loopback, able to
// broadcast, with an IPv4 address. With names, only the cards of those names.
QList<NetworkCard> usableCards(const QList<InterfaceState> &interfaces, const QStringList &names = {});

// Why these names cannot be used: a name no interface has, or one of an
// interface that can never broadcast. None when all of them are fine.
std::optional<QString> checkCardNames(const QList<InterfaceState> &interfaces, const QStringList &names);

// "--interface NAME", repeatable: every front end limits its cards the same way.
QCommandLineOption interfaceOption();

// DISP_IP's tooltip: one line per card, its name and address.
QString cardsToolTip(const QList<NetworkCard> &cards);

}  // namespace kelvane
