// SPDX-License-Identifier: Apache-2.0
// Whether values that are each well formed make sense together: masks, module
// addresses and ports a module cannot work with, addresses handed out twice,
// and what a scan tells about the modules found.
#pragma once

#include "protocol/Catalogue.h"
#include "protocol/ParameterValues.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace kelvane {

struct Finding {
    enum class Severity { Refused, Warned };

    Severity severity = Severity::Refused;
    const Parameter *parameter = nullptr;
    QString value;    // as the values hold it, padding and all
    QString rule;     // a stable English word for callers and tests: "mask-not-contiguous"
    QString message;  // one English sentence naming the parameter, the value and the rule
    QString module;   // the module's 12 hex digits where a finding is about one of several
};

// The rules on a set of values about to be sent, whole or in part. A rule that
// needs a value the set lacks is skipped.
//   refused: a subnet mask that is 0.0.0.0 or not contiguous; port 0; a module
//     ip_address that is its subnet's network or broadcast address (masks up
//     to /30), or lies in 0.0.0.0/8, 127.0.0.0/8, 224.0.0.0/4 or is
//     255.255.255.255;
//   warned: a gateway other than 0.0.0.0 outside the module's subnet; a
//     destination_ip equal to the module's own address.
// In pppoe or dhcp start mode, or with no start mode in the set, the module
// does not start on its own address, so the ip_address rules only warn.
QList<Finding> checkSettings(const ParameterValues &values);

// A card as far as subnets go: its name, its IPv4 address and the length of
// its prefix (-1 when unknown, and then no subnet rule applies).
struct CardSubnet {
    QString name;
    QString address;
    int prefixLength = -1;
};

// An address an apply would hand out.
struct AddressAssignment {
    QString module;   // 12 hex digits
    QString ip;       // the ip_address it would get
    CardSubnet card;  // the card the module was heard on
};

// Refused: an address another module answered from (otherModuleIps: those
// outside the assignments) or one of this PC's cards holds, and one address
// handed to several modules (each of them is named). Warned: an address
// outside the subnet of the card its module was heard on. Addresses may be
// zero-padded.
QList<Finding> checkAssignedAddresses(const QList<AddressAssignment> &assignments,
                                      const QStringList &otherModuleIps, const QStringList &cardAddresses);

// A module as a scan found it.
struct HeardModule {
    QString module;        // 12 hex digits
    QString answeredFrom;  // the IPv4 address its answers came from
    CardSubnet card;       // the card they came in on
};

struct ModuleWarning {
    QString code;  // "duplicate-ip" or "other-subnet"
    QString text;  // for the operator
};

// For each module, in the order given: "duplicate-ip" when other modules
// answered from its address too (the text names them), "other-subnet" when it
// answered from outside its card's subnet.
QList<QList<ModuleWarning>> moduleWarnings(const QList<HeardModule> &modules);

}  // namespace kelvane
