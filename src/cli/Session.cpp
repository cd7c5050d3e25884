// SPDX-License-Identifier: Apache-2.0
#include "Session.h"

#include "operations/Scan.h"
#include "profiles/ModuleJob.h"

#include <QEventLoop>

#include <memory>

namespace kelvane::cli {

Session::Session() : m_engine(m_link, m_timer)
{
    m_engine.nameModulesByAddress();
}

Outcome Session::run(const std::function<void()> &start)
{
    std::optional<Outcome> ended;
    QEventLoop loop;
    const auto connection = QObject::connect(&m_engine, &Engine::finished, &loop, [&](const Outcome &outcome) {
        ended = outcome;
        loop.quit();
    });
    start();
    // A verb refused at once (no port, a module not listed) has ended already.
    if (!ended)
        loop.exec();
    QObject::disconnect(connection);
    return *ended;
}

std::optional<QString> Session::traceTo(const QString &path)
{
    m_trace = std::make_unique<Trace>();
    if (!m_trace->open(path))
        return m_trace->errorString();
    m_trace->attach(m_link, m_engine);
    return std::nullopt;
}

void Session::handOverLink()
{
    QObject::disconnect(&m_link, &Link::datagramReceived, &m_engine, nullptr);
}

FleetWatch Session::jobWatch() const
{
    FleetWatch watch;
    if (Trace *trace = m_trace.get())
        watch.started = [trace](ModuleJob &job) { trace->explain(job.engine()); };
    return watch;
}

std::optional<Outcome> Session::startScan(const ScanGoal &goal)
{
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = QObject::connect(&m_engine, &Engine::finished, &m_engine, [this, goal, connection](const Outcome &outcome) {
        if (outcome.operation != Operation::Scan)
            return;
        QObject::disconnect(*connection);
        if (!m_trace || outcome.kind == OutcomeKind::PortUnavailable)
            return;
        const QString rounds =
            QStringLiteral("scan: %1 of %2 discovery requests sent, ").arg(m_engine.scanRounds()).arg(ScanRounds);
        if (!m_engine.scanStoppedEarly())
            m_trace->note(rounds + QStringLiteral("the scan ran its course"));
        else if (!goal.modules.isEmpty())
            m_trace->note(rounds + QStringLiteral("stopped: every module named had answered"));
        else
            m_trace->note(rounds + QStringLiteral("stopped: %1 modules had answered").arg(goal.count));
    });
    m_engine.scan(goal);
    // A scan that could not start has ended already.
    if (!m_engine.scanning() && !m_engine.link().open())
        return Outcome{Operation::Scan, std::nullopt, OutcomeKind::PortUnavailable, {}, {},
                       portUnavailableMessage(m_engine.link())};
    return std::nullopt;
}

Outcome Session::scan(const ScanGoal &goal)
{
    return run([&] { startScan(goal); });
}

Outcome Session::read(const DeviceAddress &module)
{
    return run([&] { m_engine.read(module); });
}

Outcome Session::restoreDefaults(const DeviceAddress &module)
{
    return run([&] { m_engine.restoreDefaults(module); });
}

Outcome Session::reset(const DeviceAddress &module)
{
    return run([&] { m_engine.reset(module); });
}

std::optional<QString> Session::noCard() const
{
    if (m_engine.deviceTable().count() > 0 || !m_link.cards().isEmpty())
        return std::nullopt;
    return m_link.errorString();
}

std::optional<QString> Session::find(const DeviceAddress &module, bool wholeScan)
{
    const Outcome scanned = scan(wholeScan ? ScanGoal{} : ScanGoal{{module}, 0});
    if (scanned.kind == OutcomeKind::PortUnavailable)
        return scanned.entry.join(QLatin1Char(' '));
    if (m_engine.deviceTable().indexOf(module) < 0)
        return noCard().value_or(notFoundMessage(module));
    return std::nullopt;
}

}  // namespace kelvane::cli
