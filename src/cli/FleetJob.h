// One module of an apply: read, merge the profile, write, read back, restart,
// on an engine of its own that shares the link with every other job.
#pragma once

#include "ModuleLink.h"
#include "core/HeadlessPanel.h"
#include "core/QtOneShotTimer.h"
#include "operations/Engine.h"
#include "protocol/ParameterValues.h"

#include <QObject>

namespace kelvane::cli {

struct JobPlan {
    DeviceAddress module;
    QByteArray discoveryReply;  // as the scan heard it; empty when the scan did not find the module
    ParameterValues profile;    // what the module must hold afterwards, its own ip_address included
    bool verify = false;
    bool reset = false;
};

struct JobOutcome {
    enum Result { Pending, Succeeded, NotFound, Failed, Differs };
    Result result = Pending;
    QString message;                // why it failed, as the engine logged it
    QList<Difference> differences;  // what the read-back showed otherwise than written
};

class FleetJob : public QObject {
    Q_OBJECT
public:
    FleetJob(Link &link, JobPlan plan, QObject *parent = nullptr);

    void start();
    const JobPlan &plan() const { return m_plan; }
    const JobOutcome &outcome() const { return m_outcome; }
    Engine &engine() { return m_engine; }
    // A datagram from this job's module; nothing once the job has ended.
    void deliver(const QByteArray &datagram);

signals:
    void finished();

private:
    enum class Phase { Read, Write, Verify, Reset };

    void ended(Operation operation, bool succeeded);
    void next(Operation operation, bool succeeded);
    void begin(Phase phase);
    void finish(JobOutcome::Result result, const QString &message = {});
    QString lastEntry() const;

    JobPlan m_plan;
    JobOutcome m_outcome;
    ParameterValues m_target;
    Phase m_phase = Phase::Read;
    HeadlessPanel m_panel;
    QtOneShotTimer m_timer;
    ModuleLink m_link;
    Engine m_engine;
};

// The name of a result in the summary and in JSON: ok, not found, failed, differs.
QString resultName(JobOutcome::Result result);

}  // namespace kelvane::cli
