#include "FleetJob.h"

#include <QCoreApplication>

namespace kelvane::cli {

FleetJob::FleetJob(Link &link, JobPlan plan, QObject *parent)
    : QObject(parent), m_plan(std::move(plan)), m_link(link), m_engine(m_panel, m_link, m_timer)
{
    connect(&m_engine, &Engine::operationEnded, this, &FleetJob::ended);
}

void FleetJob::start()
{
    if (m_plan.discoveryReply.isEmpty()) {
        finish(JobOutcome::NotFound,
               QCoreApplication::translate("kelvane::cli", "Module %1 was not found on the network.")
                   .arg(m_plan.module.toHex()));
        return;
    }
    // Fills the lists the profile's items are chosen from.
    m_engine.startUp();
    const int row = m_engine.adoptModule(m_plan.discoveryReply);
    m_panel.selectDeviceRow(row);
    begin(Phase::Read);
}

void FleetJob::deliver(const QByteArray &datagram)
{
    if (m_outcome.result == JobOutcome::Pending)
        m_link.deliver(datagram);
}

void FleetJob::ended(Operation operation, bool succeeded)
{
    // The engine is still inside its handler; the next step starts after it.
    QMetaObject::invokeMethod(this, [this, operation, succeeded] { next(operation, succeeded); },
                              Qt::QueuedConnection);
}

void FleetJob::next(Operation operation, bool succeeded)
{
    if (m_outcome.result != JobOutcome::Pending)
        return;
    if (!succeeded) {
        finish(JobOutcome::Failed, lastEntry());
        return;
    }
    switch (m_phase) {
    case Phase::Read: {
        if (operation != Operation::Read)
            return;
        const Result<ParameterValues, ValueError> shown = ParameterValues::fromPanel(m_panel);
        if (!shown) {
            finish(JobOutcome::Failed, shown.error().message);
            return;
        }
        m_target = shown.value();
        m_target.merge(m_plan.profile);
        m_target.applyTo(m_panel);
        begin(Phase::Write);
        break;
    }
    case Phase::Write:
        if (operation != Operation::Write)
            return;
        if (m_plan.verify)
            begin(Phase::Verify);
        else
            finish(JobOutcome::Succeeded);
        break;
    case Phase::Verify: {
        if (operation != Operation::Read)
            return;
        const Result<ParameterValues, ValueError> stored = ParameterValues::fromPanel(m_panel);
        if (!stored) {
            finish(JobOutcome::Failed, stored.error().message);
            return;
        }
        m_outcome.differences = compareValues(m_target, stored.value());
        if (!m_outcome.differences.isEmpty())
            finish(JobOutcome::Differs);
        else if (m_plan.reset)
            begin(Phase::Reset);
        else
            finish(JobOutcome::Succeeded);
        break;
    }
    case Phase::Reset:
        if (operation == Operation::Reset)
            finish(JobOutcome::Succeeded);
        break;
    }
}

void FleetJob::begin(Phase phase)
{
    m_phase = phase;
    switch (phase) {
    case Phase::Read:
    case Phase::Verify:
        m_engine.deviceListClicked();
        break;
    case Phase::Write:
        m_engine.setting();
        break;
    case Phase::Reset:
        m_engine.runDevice();
        break;
    }
}

void FleetJob::finish(JobOutcome::Result result, const QString &message)
{
    m_outcome.result = result;
    m_outcome.message = message;
    m_timer.stop();
    emit finished();
}

QString FleetJob::lastEntry() const
{
    return m_engine.machine().log.lastMessage().join(QLatin1Char(' '));
}

QString resultName(JobOutcome::Result result)
{
    switch (result) {
    case JobOutcome::Pending:
        return QStringLiteral("pending");
    case JobOutcome::Succeeded:
        return QStringLiteral("ok");
    case JobOutcome::NotFound:
        return QStringLiteral("not found");
    case JobOutcome::Failed:
        return QStringLiteral("failed");
    case JobOutcome::Differs:
        return QStringLiteral("differs");
    }
    return {};
}

}  // namespace kelvane::cli
