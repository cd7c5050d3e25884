// SPDX-License-Identifier: Apache-2.0
// One module brought to a profile: read, merge, and only when that changes
// something write, read back, restart; on an engine of its own beside any other
// job on the same link. `kelvane write`, `apply` and every fleet run it.
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
    bool always = false;  // write a module that holds the profile already, too
    bool check = false;   // read and compare only: nothing is written or restarted
};

struct JobOutcome {
    // Unchanged: it held the target, so nothing was written. WouldChange: a
    // check found it otherwise. Written, Verified, Restarted: how far a write
    // went, all as asked. Read: a job that only reads, done. Refused: the
    // settings check refused the values to be written, and nothing was.
    // NotStarted: an apply cancelled before this module's turn; no job ends so.
    enum Result { Pending, Unchanged, WouldChange, Written, Verified, Restarted, Read, NotFound, Failed, Differs,
                  Refused, NotStarted };
    Result result = Pending;
    bool succeeded() const;
    // The engine's outcome that ended the job, for a failure's kind and entry.
    std::optional<Outcome> ended;
    QString message;                // why it failed, in the engine's words, naming the module
    ParameterValues before;         // what the module held when read
    ParameterValues target;         // what it was written
    QList<Finding> findings;        // the settings check on the target, before the write
    QList<Difference> changes;      // where `before` differs from `target` (expected: target, actual: before)
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

// A result's stable word, the same in the table, in JSON and on the progress
// lines: unchanged, would-change, written, verified, restarted, read,
// not-found, failed, differs, refused, not-started.
QString resultName(JobOutcome::Result result);

// "Module 024B56000001 was not found on the network."
QString notFoundMessage(const DeviceAddress &module);

}  // namespace kelvane
