// SPDX-License-Identifier: Apache-2.0
// The modules found, one row each as a scan and the jobs on them leave it, and
// the list written as CSV: what the window's table shows and `kelvane scan --csv`.
#pragma once

#include "SettingsCheck.h"
#include "core/DeviceAddress.h"
#include "core/DeviceTable.h"
#include "core/Link.h"
#include "protocol/ParameterValues.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace kelvane {

struct ModuleRow {
    DeviceAddress module;
    int position = 0;  // in the engine's list, from 1
    // Where its discovery reply came from; empty when the link does not know.
    QString source;
    CardSubnet card;
    QList<ModuleWarning> warnings;
    // What the last read of it or write to it left; empty before one.
    QString ipAddress;
    QString baudRate;
    QString socketMode;
    QString result;  // resultName()'s word of the last job, empty before one
};

// The columns of modulesCsv, in order.
inline constexpr char ModulesCsvHeader[] =
    "position,address,source,card,card_address,ip_address,baud_rate,socket_mode,warnings,result";

// A module as the link heard it; no warnings yet.
ModuleRow heardRow(const DeviceAddress &module, int position, const Link &link);
// Every module of the table in its order, with its warnings.
QList<ModuleRow> scannedRows(const DeviceTable &table, const Link &link);
// Sets each row's warnings from what every row says of where it answered from.
void updateWarnings(QList<ModuleRow> &rows);
// Takes the three values the table shows from a read or a write.
void takeValues(ModuleRow &row, const ParameterValues &values);

// The header and one line per row, UTF-8, comma-separated, quoted where a
// value needs it; values as the command line's JSON holds them, warnings as
// their codes separated by ';'.
QByteArray modulesCsv(const QList<ModuleRow> &rows);

}  // namespace kelvane
