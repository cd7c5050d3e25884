// SPDX-License-Identifier: Apache-2.0
#include "ModuleModel.h"

#include <QList>

namespace kelvane::sim {

namespace {
const QByteArray CrLf = QByteArrayLiteral("\r\n");
constexpr Value MaxFourDigits = 9999;
constexpr Value MaxPort = 65535;

Value ipv4(Value a, Value b, Value c, Value d)
{
    return a << 24 | b << 16 | c << 8 | d;
}

QByteArray zeroPadded(Value number, int width)
{
    return QByteArray::number(number).rightJustified(width, '0');
}

// 1 to maxDigits ASCII digits, nothing else: no sign, no blank.
std::optional<Value> parseDigits(const QByteArray &text, int maxDigits, Value max)
{
    if (text.isEmpty() || text.size() > maxDigits)
        return std::nullopt;
    Value number = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        number = number * 10 + Value(c - '0');
    }
    if (number > max)
        return std::nullopt;
    return number;
}

std::optional<Value> parseAddress(const QByteArray &text)
{
    const QList<QByteArray> groups = text.split('.');
    if (groups.size() != 4)
        return std::nullopt;
    Value address = 0;
    for (const QByteArray &group : groups) {
        const std::optional<Value> octet = parseDigits(group, 3, 255);
        if (!octet)
            return std::nullopt;
        address = address << 8 | *octet;
    }
    return address;
}

// The one byte a choice or start-mode write carries, as an index from 0.
std::optional<Value> parseDigit(const QByteArray &text, int digitOffset, qsizetype choices)
{
    if (text.size() != 1)
        return std::nullopt;
    const int index = text.at(0) - '0' - digitOffset;
    if (index < 0 || index >= choices)
        return std::nullopt;
    return Value(index);
}

constexpr int StartModes = 3;

int ipRow()
{
    static const int row = rowOfCode("IP");
    return row;
}
}  // namespace

QByteArray encodeAnswer(const Parameter &parameter, Value value)
{
    switch (parameter.answer) {
    case AnswerLayout::Choice:
        return QByteArray("0") + char('0' + parameter.digitOffset + int(value)) + CrLf;
    case AnswerLayout::StartMode:
        return QByteArray("0") + char('0' + int(value)) + CrLf;
    case AnswerLayout::FourDigits:
        return QByteArray("0") + zeroPadded(value, 4) + CrLf;
    case AnswerLayout::FiveDigits:
        return zeroPadded(value, 5) + CrLf;
    case AnswerLayout::Address:
        return zeroPadded(value >> 24 & 0xFF, 3) + '.' + zeroPadded(value >> 16 & 0xFF, 3) + '.' +
               zeroPadded(value >> 8 & 0xFF, 3) + '.' + zeroPadded(value & 0xFF, 3) + CrLf;
    }
    return CrLf;
}

std::optional<Value> parseWrite(const Parameter &parameter, const QByteArray &text)
{
    switch (parameter.answer) {
    case AnswerLayout::Choice:
        return parseDigit(text, parameter.digitOffset, parameter.items.size());
    case AnswerLayout::StartMode:
        return parseDigit(text, 0, StartModes);
    case AnswerLayout::FourDigits:
        return parseDigits(text, 4, MaxFourDigits);
    case AnswerLayout::FiveDigits:
        return parseDigits(text, 5, MaxPort);
    case AnswerLayout::Address:
        return parseAddress(text);
    }
    return std::nullopt;
}

int rowOfCode(const QByteArray &code)
{
    for (int row = 0; row < ParameterCount; ++row) {
        if (code == catalogue()[row].code)
            return row;
    }
    return -1;
}

ModuleModel::ModuleModel(int index, std::optional<Value> factoryIp)
    : m_index(index), m_address(addressOf(index)), m_factoryIp(factoryIp)
{
    restoreDefaults();
    restart();
}

DeviceAddress ModuleModel::addressOf(int index)
{
    // Three fixed bytes, then the module number from 1, high byte first.
    const auto n = quint32(index + 1);
    return DeviceAddress({0x02, 0x4B, 0x56, quint8(n >> 16), quint8(n >> 8), quint8(n)});
}

Values ModuleModel::factoryValues(int index)
{
    const auto i = Value(index);
    // Subnets of 240 hosts, so that every module's own address is distinct.
    const Value subnet = 1 + i / 240;
    return {
        (9 + 3 * i) % 10,                   // UB: module 0 runs at 600bps, the last item
        i % 2,                              // UT
        (i + 1) % 2,                        // UD: module 0 has 9 data bits
        (3 + 11 * i) % 10000,               // TM: leading zeros show
        (i + 2) % 3,                        // UP
        (40 + i) % 10000,                   // BT
        i % 2,                              // US
        (i + 1) % 3,                        // CM
        ipv4(192, 168, subnet, 1),          // GA
        ipv4(255, 255, 255, 0),             // SM
        ipv4(192, 168, subnet, 10 + i % 240),  // IP
        (502 + i) % 65536,                  // PT: a five-digit field with leading zeros
        ipv4(10, 0, (i / 250) % 256, 1 + i % 250),  // DA
        (1024 + i) % 65536,                 // DP
        i % 6,                              // SR
        (i + 2) % 6,                        // ET
        i % 3,                              // PD: Direct, PPPOE, DHCP in turn
    };
}

QByteArray ModuleModel::discoveryReply() const
{
    return m_address.toByteArray() + "KVS-100" + CrLf;
}

QByteArray ModuleModel::answer(int row) const
{
    return m_address.toByteArray() + encodeAnswer(catalogue().at(row), m_values.at(row));
}

QByteArray ModuleModel::held() const
{
    QByteArray line = m_address.toHex().toLatin1();
    for (int row = 0; row < ParameterCount; ++row) {
        const Parameter &parameter = catalogue().at(row);
        line += ' ' + QByteArray(parameter.code) + '=' + encodeAnswer(parameter, m_values.at(row)).chopped(CrLf.size());
    }
    return line;
}

bool ModuleModel::write(int row, const QByteArray &text)
{
    const std::optional<Value> value = parseWrite(catalogue().at(row), text);
    if (!value)
        return false;
    m_values.at(row) = *value;
    return true;
}

void ModuleModel::restoreDefaults()
{
    m_values = factoryValues(m_index);
    if (m_factoryIp)
        m_values.at(ipRow()) = *m_factoryIp;
}

void ModuleModel::restart()
{
    m_runningIp = m_values.at(ipRow());
}

}  // namespace kelvane::sim
