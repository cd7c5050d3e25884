// SPDX-License-Identifier: Apache-2.0
#include "ModuleJob.h"

#include <QCoreApplication>

namespace kelvane {

QString notFoundMessage(const DeviceAddress &module)
{
    return QCoreApplication::translate("kelvane::cli", "Module %1 was not found on the network.").arg(module.toHex());
}

ModuleJob::ModuleJob(Link &link, JobPlan plan, QObject *parent)
    : QObject(parent), m_plan(std::move(plan)), m_engine(link, m_timer)
{
    m_engine.nameModulesByAddress();
    m_engine.hearOwnModuleOnly();
    m_engine.retryEachFrame(m_plan.attempts, m_plan.timeoutMs, SettleMs);
    connect(&m_engine, &Engine::finished, this, &ModuleJob::ended);
}

void ModuleJob::start()
{
    const Engine *finder = m_plan.finder;
    if (m_plan.discoveryReply.isEmpty() && finder) {
        if (const int row = finder->deviceTable().indexOf(m_plan.module); row >= 0)
            m_plan.discoveryReply = finder->deviceTable().entry(row);
    }
    if (!m_plan.discoveryReply.isEmpty() || !finder || !finder->scanning()) {
        go(m_plan.discoveryReply);
        return;
    }
    connect(finder, &Engine::moduleListed, this, [this, finder](int row, const DeviceAddress &module) {
        if (module == m_plan.module && m_outcome.result == JobOutcome::Pending && !m_engine.busy())
            go(finder->deviceTable().entry(row));
    });
    connect(finder, &Engine::finished, this, [this](const Outcome &outcome) {
        if (outcome.operation == Operation::Scan && m_outcome.result == JobOutcome::Pending && !m_engine.busy())
            go(m_plan.discoveryReply);
    });
}

void ModuleJob::go(const QByteArray &discoveryReply)
{
    if (m_plan.finder)
        disconnect(m_plan.finder, nullptr, this, nullptr);
    m_plan.discoveryReply = discoveryReply;
    if (discoveryReply.isEmpty() || !m_engine.adoptModule(discoveryReply)) {
        finish(JobOutcome::NotFound, notFoundMessage(m_plan.module));
        return;
    }
    begin(Phase::Read);
}

void ModuleJob::ended(const Outcome &outcome)
{
    // The engine is still inside its handler; the next step starts after it.
    QMetaObject::invokeMethod(this, [this, outcome] { next(outcome); }, Qt::QueuedConnection);
}

void ModuleJob::next(const Outcome &outcome)
{
    if (m_outcome.result != JobOutcome::Pending)
        return;
    m_outcome.ended = outcome;
    const bool read = outcome.operation == Operation::Read;
    // A read that could not take every answer is no ground to write on.
    if (read && outcome.kind == OutcomeKind::BadAnswer) {
        QStringList names;
        for (const Parameter *p : outcome.unreadable)
            names << QLatin1String(p->key);
        finish(JobOutcome::Failed,
               QCoreApplication::translate("kelvane::cli", "Module %1 gave answers that could not be read for: %2.")
                   .arg(m_plan.module.toHex(), names.join(QStringLiteral(", "))));
        return;
    }
    if (!outcome.succeeded()) {
        finish(JobOutcome::Failed, outcome.entry.join(QLatin1Char(' ')));
        return;
    }
    switch (m_phase) {
    case Phase::Read:
        m_outcome.before = outcome.values;
        if (m_plan.readOnly) {
            finish(JobOutcome::Read);
            break;
        }
        m_outcome.target = outcome.values;
        m_outcome.target.merge(m_plan.profile);
        // By sameValue, so 192.168.1.7 in a profile is what the module shows as 192.168.001.007.
        m_outcome.changes = compareValues(m_outcome.target, m_outcome.before);
        if (m_plan.check)
            finish(m_outcome.changes.isEmpty() ? JobOutcome::Unchanged : JobOutcome::WouldChange);
        else if (m_outcome.changes.isEmpty() && !m_plan.always)
            finish(JobOutcome::Unchanged);  // nor restarted: a module already right keeps running
        else if (checkTarget())
            begin(Phase::Write);
        break;
    case Phase::Write:
        if (m_plan.verify)
            begin(Phase::Verify);
        else if (m_plan.reset)
            begin(Phase::Reset);
        else
            finish(JobOutcome::Written);
        break;
    case Phase::Verify:
        m_outcome.differences = compareValues(m_outcome.target, outcome.values);
        if (!m_outcome.differences.isEmpty())
            finish(JobOutcome::Differs);
        else if (m_plan.reset)
            begin(Phase::Reset);
        else
            finish(JobOutcome::Verified);
        break;
    case Phase::Reset:
        finish(JobOutcome::Restarted);
        break;
    }
}

bool ModuleJob::checkTarget()
{
    m_outcome.findings = checkSettings(m_outcome.target);
    QStringList refused;
    for (const Finding &finding : m_outcome.findings) {
        if (finding.severity == Finding::Severity::Refused)
            refused << finding.message;
    }
    if (refused.isEmpty() || m_plan.force)
        return true;
    finish(JobOutcome::Refused,
           QCoreApplication::translate("kelvane::cli", "Module %1 was not written: %2.")
               .arg(m_plan.module.toHex(), refused.join(QStringLiteral("; "))));
    return false;
}

void ModuleJob::begin(Phase phase)
{
    m_phase = phase;
    emit phaseStarted(phase);
    switch (phase) {
    case Phase::Read:
    case Phase::Verify:
        m_engine.read(m_plan.module);
        break;
    case Phase::Write:
        m_engine.write(m_plan.module, m_outcome.target);
        break;
    case Phase::Reset:
        m_engine.reset(m_plan.module);
        break;
    }
}

void ModuleJob::finish(JobOutcome::Result result, const QString &message)
{
    m_outcome.result = result;
    m_outcome.message = message;
    m_timer.stop();
    emit finished();
}

bool JobOutcome::succeeded() const
{
    switch (result) {
    case Unchanged:
    case WouldChange:
    case Written:
    case Verified:
    case Restarted:
    case Read:
        return true;
    case Pending:
    case NotFound:
    case Failed:
    case Differs:
    case Refused:
    case NotStarted:
        return false;
    }
    return false;
}

QString resultName(JobOutcome::Result result)
{
    switch (result) {
    case JobOutcome::Pending:
        return QStringLiteral("pending");
    case JobOutcome::Unchanged:
        return QStringLiteral("unchanged");
    case JobOutcome::WouldChange:
        return QStringLiteral("would-change");
    case JobOutcome::Written:
        return QStringLiteral("written");
    case JobOutcome::Verified:
        return QStringLiteral("verified");
    case JobOutcome::Restarted:
        return QStringLiteral("restarted");
    case JobOutcome::Read:
        return QStringLiteral("read");
    case JobOutcome::NotFound:
        return QStringLiteral("not-found");
    case JobOutcome::Failed:
        return QStringLiteral("failed");
    case JobOutcome::Differs:
        return QStringLiteral("differs");
    case JobOutcome::Refused:
        return QStringLiteral("refused");
    case JobOutcome::NotStarted:
        return QStringLiteral("not-started");
    }
    return {};
}

}  // namespace kelvane
