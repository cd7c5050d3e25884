// SPDX-License-Identifier: Apache-2.0
#include "Responder.h"

namespace kelvane::sim {

namespace {
const QByteArray Ok = QByteArrayLiteral("OK\r\n");
const QByteArray Refused = QByteArrayLiteral("ER\r\n");
// ':' follows '9': every choice row's test rejects it.
const QByteArray OutOfRange = QByteArrayLiteral("0:\r\n");
constexpr qsizetype QueryCommandSize = 5;  // "AT", code, CR
}  // namespace

Responder::Responder(int moduleCount, Faults faults, int restartMs, int firstIndex,
                     const QHash<int, Value> &factoryIps)
    : m_faults(std::move(faults)), m_restartMs(restartMs)
{
    m_modules.reserve(moduleCount);
    for (int i = 0; i < moduleCount; ++i) {
        const auto ip = factoryIps.constFind(i);
        const std::optional<Value> factoryIp = ip == factoryIps.constEnd() ? std::nullopt : std::optional(*ip);
        m_modules.append(ModuleModel(firstIndex + i, factoryIp));
        m_byAddress.insert(m_modules.last().address().toByteArray(), i);
    }
    m_silentUntil.fill(0, moduleCount);
}

bool Responder::isAnswering(int index, qint64 nowMs) const
{
    return !m_faults.silentModules.contains(index) && !isRestarting(index, nowMs);
}

int Responder::moduleOf(const QByteArray &datagram) const
{
    return m_byAddress.value(datagram.left(DeviceAddressSize), -1);
}

QByteArrayList Responder::respond(const QByteArray &request, qint64 nowMs)
{
    if (request == "SETUP")
        return discover(nowMs);
    const int index = moduleOf(request);
    if (index < 0 || !isAnswering(index, nowMs))
        return {};
    const QByteArray rest = request.mid(DeviceAddressSize);
    if (rest == "END") {
        // Restarting: deaf to everything until it is up again, on the address it holds now.
        m_silentUntil[index] = nowMs + m_restartMs;
        m_modules[index].restart();
        return {};
    }
    return command(m_modules[index], rest);
}

QByteArrayList Responder::discover(qint64 nowMs) const
{
    QByteArrayList replies;
    for (int i = 0; i < moduleCount(); ++i) {
        if (isAnswering(i, nowMs))
            replies.append(m_modules.at(i).discoveryReply());
    }
    return replies;
}

QByteArrayList Responder::command(ModuleModel &module, const QByteArray &command)
{
    if (!command.startsWith("AT") || !command.endsWith('\r') || command.size() < QueryCommandSize)
        return {};
    const QByteArray code = command.mid(2, 2);
    const QByteArray address = module.address().toByteArray();
    if (command.size() == QueryCommandSize) {
        if (code == "DF") {
            module.restoreDefaults();
            return {address + Ok};
        }
        return query(module, code);
    }
    if (command.at(4) != '=')
        return {address + Refused};
    return write(module, code, command.mid(5, command.size() - 6));
}

QByteArrayList Responder::query(const ModuleModel &module, const QByteArray &code) const
{
    if (m_faults.silentQueries)
        return {};
    const QByteArray address = module.address().toByteArray();
    const int row = rowOfCode(code);
    if (row < 0)
        return {address + Refused};
    if (code == m_faults.rejectCode)
        return {address + OutOfRange};
    return {module.answer(row)};
}

QByteArrayList Responder::write(ModuleModel &module, const QByteArray &code, const QByteArray &value)
{
    const QByteArray address = module.address().toByteArray();
    const int row = rowOfCode(code);
    if (row < 0 || code == m_faults.refuseWriteCode)
        return {address + Refused};
    if (m_faults.forgetWriteCodes.contains(code)) {
        // Checked as a real write is, so that only a good value is acknowledged.
        if (!parseWrite(catalogue().at(row), value))
            return {address + Refused};
    } else if (!module.write(row, value)) {
        return {address + Refused};
    }
    if (m_faults.noWriteAcks)
        return {};
    return {address + Ok};
}

}  // namespace kelvane::sim
