// SPDX-License-Identifier: Apache-2.0
// Runs the jobs of an apply, up to a number at once, starting the next as one
// ends; one job's failure never stops the others.
#pragma once

#include "ModuleJob.h"

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

namespace kelvane {

inline constexpr int DefaultParallel = 8;

// The jobs of one run, driven by the caller's event loop: the window keeps
// painting while they run, and can stop starting new ones.
class FleetRunner final : public QObject {
    Q_OBJECT
public:
    FleetRunner(Link &link, QList<JobPlan> plans, int parallel, QObject *parent = nullptr);
    ~FleetRunner() override;

    // Starts the first `parallel` jobs; finished() follows even for no plans.
    void start();
    // No job starts after this; those running go on to their end.
    void cancel();

    bool running() const { return m_started && !m_done; }
    bool cancelled() const { return m_cancelled; }
    qsizetype count() const { return m_plans.size(); }
    int endedCount() const { return m_ended; }
    const QList<JobPlan> &plans() const { return m_plans; }
    // The job of plan i; null for one that never started.
    ModuleJob *job(qsizetype i) const { return m_jobs.at(std::size_t(i)).get(); }
    // The jobs in the order of the plans, null where one never started.
    std::vector<std::unique_ptr<ModuleJob>> takeJobs() { return std::move(m_jobs); }

signals:
    // Before the job's first datagram.
    void jobStarted(int index, kelvane::ModuleJob *job);
    void jobPhase(int index, kelvane::ModuleJob::Phase phase);
    // With how many have ended by then.
    void jobEnded(int index, int ended);
    // Every started job has ended; those never started stay null.
    void finished();

private:
    void startNext();
    void jobFinished(int index);

    Link &m_link;
    QList<JobPlan> m_plans;
    int m_parallel;
    std::vector<std::unique_ptr<ModuleJob>> m_jobs;
    int m_next = 0;
    int m_running = 0;
    int m_ended = 0;
    bool m_started = false;
    bool m_cancelled = false;
    bool m_done = false;
};

// Told of each job as it starts, before its first datagram, and as it ends,
// with how many have ended by then; any may be left empty. Once `stop` says
// so (asked a few times a second), no job starts, and those running end.
struct FleetWatch {
    std::function<void(ModuleJob &)> started;
    std::function<void(const ModuleJob &, int ended)> ended;
    std::function<bool()> stop;
};

// The jobs in the order given, each with its outcome, once every job started has
// ended; null for those `stop` kept from starting.
// Waits in an event loop of its own: for the command line.
std::vector<std::unique_ptr<ModuleJob>> runFleet(Link &link, const QList<JobPlan> &plans, int parallel,
                                                 const FleetWatch &watch = {});

}  // namespace kelvane
