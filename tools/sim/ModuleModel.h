// SPDX-License-Identifier: Apache-2.0
// One virtual module: its address, its 17 parameter values and its factory defaults.
#pragma once

#include "core/DeviceAddress.h"
#include "protocol/Catalogue.h"

#include <QByteArray>

#include <array>
#include <optional>

namespace kelvane::sim {

// A parameter value as the module keeps it: a list index or start-mode digit,
// a number (delimiters, ports), or an IPv4 address packed high byte first.
using Value = quint32;
using Values = std::array<Value, ParameterCount>;

// The answer to a query, after the address, in the layout the tool decodes.
QByteArray encodeAnswer(const Parameter &parameter, Value value);
// The value a write carries; none when the module cannot take it.
std::optional<Value> parseWrite(const Parameter &parameter, const QByteArray &text);

// Catalogue row of a two-letter code; -1 when no parameter has it.
int rowOfCode(const QByteArray &code);

class ModuleModel {
public:
    // Module i of the simulated network. Its address and factory values
    // differ from its neighbours', so that a test can tell whom it read;
    // factoryIp, when given, replaces its factory ip_address.
    explicit ModuleModel(int index, std::optional<Value> factoryIp = std::nullopt);

    static DeviceAddress addressOf(int index);
    static Values factoryValues(int index);

    int index() const { return m_index; }
    const DeviceAddress &address() const { return m_address; }
    // Address, model name, CR LF: what the module says to "SETUP".
    QByteArray discoveryReply() const;

    Value value(int row) const { return m_values.at(row); }
    QByteArray answer(int row) const;
    // "024B56000001 UB=09 UT=00 ... PD=00": its address and every value it holds,
    // each as its answer carries it, so that a test can see what it holds
    // without asking it over the wire.
    QByteArray held() const;
    // Stores a written value; false, and nothing changes, when it cannot be taken.
    bool write(int row, const QByteArray &text);
    void restoreDefaults();

    // The ip_address it started with: a module takes a new one when it restarts.
    Value runningIp() const { return m_runningIp; }
    void restart();

private:
    int m_index;
    DeviceAddress m_address;
    std::optional<Value> m_factoryIp;
    Values m_values;
    Value m_runningIp = 0;
};

}  // namespace kelvane::sim
