// SPDX-License-Identifier: Apache-2.0
#include "Engine.h"

#include "Defaults.h"
#include "Read.h"
#include "Reset.h"
#include "Scan.h"
#include "TimeoutDispatch.h"
#include "Write.h"

#include <algorithm>
#include "protocol/Frames.h"
#include "protocol/ParameterValue.h"
#include "protocol/WriteSenders.h"
#include "replies/DiscoveryReply.h"
#include "replies/ReceiveHandler.h"

namespace kelvane {

Engine::Engine(Link &winsock, OneShotTimer &timer1, QObject *parent)
    : QObject(parent), m_machine(winsock, timer1, m_table, *this)
{
    qRegisterMetaType<Outcome>();
    // Discovery replies come from every module, and count at Step 0. The
    // module worked on sends to its inbox, whatever it means.
    connect(&winsock, &Link::datagramReceived, this, [this](const QByteArray &datagram) {
        if (m_listening && m_hearsDiscovery && m_machine.Step == 0)
            handle(datagram);
    });
    connect(&timer1, &OneShotTimer::expired, this, [this] { timer1Expired(m_machine); });
}

bool Engine::open()
{
    return m_machine.Winsock.open();
}

void Engine::handle(const QByteArray &datagram)
{
    emit datagramHandled(datagram, receive(m_machine, datagram));
}

bool Engine::begin(Operation operation, const std::optional<DeviceAddress> &module)
{
    const int row = module ? m_table.indexOf(*module) : 0;
    if (row < 0) {
        emit finished({operation, module, OutcomeKind::NotFound, {}, {}, {}});
        return false;
    }
    if (busy()) {
        m_machine.Timer1.stop();
        m_machine.end(OutcomeKind::Superseded);
    }
    m_machine.running = operation;
    m_machine.RetryCount = 0;
    if (!module)
        return true;
    m_machine.SelectedDevice = qint16(row);
    if (m_inboxModule != module) {
        disconnect(m_inbox);
        m_inboxModule = module;
        m_inbox = connect(&m_machine.Winsock.inbox(*module), &ModuleInbox::received, this,
                          [this](const QByteArray &datagram) {
                              if (m_listening)
                                  handle(datagram);
                          });
    }
    m_machine.module = module;
    return true;
}

void Engine::scan(const ScanGoal &goal)
{
    // Pressed again while it runs, the scan goes on with one more round.
    if (m_machine.running != Operation::Scan) {
        if (!begin(Operation::Scan, std::nullopt))
            return;
        m_scanRounds = 0;
        m_stoppedEarly = false;
    }
    m_goal = goal;
    scanRound(m_machine);
}

void Engine::read(const DeviceAddress &module)
{
    if (begin(Operation::Read, module))
        startRead(m_machine);
}

void Engine::write(const DeviceAddress &module, const ParameterValues &values)
{
    const auto bytes = wireValues(values);
    if (const auto *missing = std::get_if<const Parameter *>(&bytes)) {
        emit finished({Operation::Write, module, OutcomeKind::InvalidValue, values, {},
                       {invalidValueMessage(**missing)}});
        return;
    }
    if (!begin(Operation::Write, module))
        return;
    m_values = values;
    m_machine.writeValues = std::get<QByteArrayList>(bytes);
    startWrite(m_machine);
}

void Engine::restoreDefaults(const DeviceAddress &module)
{
    if (begin(Operation::Defaults, module))
        kelvane::restoreDefaults(m_machine);
}

void Engine::reset(const DeviceAddress &module)
{
    const int row = m_table.indexOf(module);
    if (row < 0) {
        emit finished({Operation::Reset, module, OutcomeKind::NotFound, {}, {}, {}});
        return;
    }
    // A scan goes on beside a reset; an exchange with the module restarted does not.
    if (busy() && m_machine.running != Operation::Scan && m_machine.module == module) {
        m_machine.Timer1.stop();
        m_machine.end(OutcomeKind::Superseded);
    }
    m_machine.SelectedDevice = qint16(row);
    m_machine.module = module;
    std::optional<QStringList> entry = resetDevice(m_machine, module);
    emit finished({Operation::Reset, module, entry ? OutcomeKind::Done : OutcomeKind::SendFailed, {}, {},
                   entry.value_or(QStringList())});
}

void Engine::sendExit()
{
    m_machine.send(frames::exit());
}

bool Engine::adoptModule(const QByteArray &discoveryReply)
{
    handleDiscoveryReply(m_machine, discoveryReply);
    const std::optional<DeviceAddress> address = DeviceAddress::fromFrame(discoveryReply);
    return address && m_table.indexOf(*address) >= 0;
}

void Engine::onScanRound(int round, const QStringList &entry)
{
    m_scanRounds = round;
    emit scanRoundSent(round, entry);
}

void Engine::onListed(int row)
{
    emit moduleListed(row, m_table.address(row));
    if (m_machine.running != Operation::Scan || (m_goal.modules.isEmpty() && m_goal.count == 0))
        return;
    const bool named = !m_goal.modules.isEmpty() &&
                       std::all_of(m_goal.modules.begin(), m_goal.modules.end(),
                                   [this](const DeviceAddress &m) { return m_table.indexOf(m) >= 0; });
    if (named || (m_goal.count > 0 && m_table.count() >= m_goal.count)) {
        m_stoppedEarly = m_scanRounds < ScanRounds;
        finishScan(m_machine);
    }
}

void Engine::onRemoved(int row, const DeviceAddress &module)
{
    emit moduleRemoved(row, module);
}

void Engine::onAttempt(Operation operation, int attempt, const QStringList &entry)
{
    if (operation == Operation::Read) {
        m_values = {};
        m_unreadable.clear();
    }
    emit attemptStarted(operation, *m_machine.module, attempt, entry);
}

void Engine::onAnswer(const Parameter &parameter, const Answer &answer, int done)
{
    std::optional<QString> value;
    if (const auto *index = std::get_if<answer::Index>(&answer)) {
        if (index->index >= 0 && index->index < parameter.items.size())
            value = parameter.items.at(index->index);
    } else if (const auto *text = std::get_if<answer::Text>(&answer)) {
        value = text->text;
    } else if (const auto *mode = std::get_if<answer::StartMode>(&answer)) {
        if (mode->digit >= 0 && mode->digit < startModeNames().size())
            value = startModeNames().at(mode->digit);
    }
    // A value the engine cannot hold is no value of the module's.
    if (!value || m_values.set(parameter, *value))
        m_unreadable.append(&parameter);
    emit answered(*m_machine.module, parameter, answer, done);
}

void Engine::onAck(int done)
{
    emit acknowledged(*m_machine.module, done);
}

void Engine::onSendFailed(const QString &entry)
{
    emit sendFailed(entry);
}

void Engine::onEnded(Operation operation, OutcomeKind kind, const QStringList &entry)
{
    Outcome outcome{operation, std::nullopt, kind, {}, {}, entry};
    if (operation != Operation::Scan)
        outcome.module = m_machine.module;
    if (operation == Operation::Read || operation == Operation::Write)
        outcome.values = m_values;
    if (operation == Operation::Read) {
        outcome.unreadable = m_unreadable;
        if (kind == OutcomeKind::Done && !m_unreadable.isEmpty())
            outcome.kind = OutcomeKind::BadAnswer;
    }
    emit finished(outcome);
}

}  // namespace kelvane
