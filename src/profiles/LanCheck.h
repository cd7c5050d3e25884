// SPDX-License-Identifier: Apache-2.0
// The settings rules applied to what the link knows: each listed module's
// warnings after a scan, and the addresses an apply would hand out against
// the modules and cards on the LAN.
#pragma once

#include "SettingsCheck.h"
#include "core/DeviceTable.h"
#include "core/Link.h"

#include <QList>

namespace kelvane {

// The card as far as subnets go.
CardSubnet cardSubnet(const NetworkCard &card);

// Every module in the table, in list order, as its discovery reply came in:
// the card and the address it answered from (empty for one never heard).
QList<HeardModule> heardModules(const DeviceTable &table, const Link &link);

// For each row of the table, its warnings: duplicate-ip, other-subnet.
QList<QList<ModuleWarning>> listedModuleWarnings(const DeviceTable &table, const Link &link);

// What an apply would hand out: profiles[i] goes to modules[i]; a profile
// without ip_address hands out nothing. Refused: an address another listed
// module outside the set answered from, an address of one of the link's
// cards, one address for several modules. Warned: an address outside the
// subnet of the card its module was heard on.
QList<Finding> checkHandedOutAddresses(const DeviceTable &table, const Link &link,
                                       const QList<DeviceAddress> &modules, const QList<ParameterValues> &profiles);

}  // namespace kelvane
