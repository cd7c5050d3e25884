// SPDX-License-Identifier: Apache-2.0
// One module brought to a profile: read, merge, write, read back, restart, on
// an engine of its own beside any other job on the same link. `kelvane write`,
// `apply` and every fleet run it.
#pragma once

#include "core/QtOneShotTimer.h"
#include "SettingsCheck.h"
#include "operations/Engine.h"
#include "protocol/ParameterValues.h"

#include <QObject>

namespace kelvane {

struct JobPlan {
    DeviceAddress module;
    QByteArray discoveryReply;  // as the scan heard it; empty when the scan did not find the module
    ParameterValues profile;    // what the module must hold afterwards, its own ip_address included
    bool verify = false;
    bool reset = false;  // after a write that was verified, or one without --verify
    bool force = false;  // written even when the settings check refuses the values
    // Each query and write tried this often on its own, each waited for this long.
    int attempts = DefaultFrameAttempts;
    int timeoutMs = TimeoutMs;
    // A scan still looking for the module, when the reply is not there yet:
    // the job starts once the module answers it, and fails if it never does.
    const Engine *finder = nullptr;
    bool readOnly = false;  // the read alone: `before` is all the job brings back
};

struct JobOutcome {
    // Refused: the settings check refused the values to be written, and nothing was.
    // NotStarted: an apply cancelled before this module's turn; no job ends so.
    enum Result { Pending, Succeeded, NotFound, Failed, Differs, Refused, NotStarted };
    Result result = Pending;
    // The engine's outcome that ended the job, for a failure's kind and entry.
    std::optional<Outcome> ended;
    QString message;                // why it failed, in the engine's words, naming the module
    ParameterValues before;         // what the module held when read
    ParameterValues target;         // what it was written
    QList<Finding> findings;        // the settings check on the target, before the write
    QList<Difference> differences;  // what the read-back showed otherwise than written
};

class ModuleJob : public QObject {
    Q_OBJECT
public:
    enum class Phase { Read, Write, Verify, Reset };
    Q_ENUM(Phase)

    ModuleJob(Link &link, JobPlan plan, QObject *parent = nullptr);

    void start();
    const JobPlan &plan() const { return m_plan; }
    const JobOutcome &outcome() const { return m_outcome; }
    Engine &engine() { return m_engine; }

signals:
    // As each step begins, before its first datagram.
    void phaseStarted(kelvane::ModuleJob::Phase phase);
    void finished();

private:

    void go(const QByteArray &discoveryReply);
    void ended(const Outcome &outcome);
    void next(const Outcome &outcome);
    // The settings check on the values about to be written; false when it ended the job.
    bool checkTarget();
    void begin(Phase phase);
    void finish(JobOutcome::Result result, const QString &message = {});

    JobPlan m_plan;
    JobOutcome m_outcome;
    Phase m_phase = Phase::Read;
    QtOneShotTimer m_timer;
    Engine m_engine;
};

// The name of a result in the summary and in JSON: ok, not found, failed, differs, refused, not started.
QString resultName(JobOutcome::Result result);

// "Module 024B56000001 was not found on the network."
QString notFoundMessage(const DeviceAddress &module);

}  // namespace kelvane
