// SPDX-License-Identifier: Apache-2.0
#include "FleetRunner.h"

#include <QEventLoop>
#include <QTimer>

namespace kelvane {

FleetRunner::FleetRunner(Link &link, QList<JobPlan> plans, int parallel, QObject *parent)
    : QObject(parent), m_link(link), m_plans(std::move(plans)), m_parallel(std::max(parallel, 1))
{
    m_jobs.resize(std::size_t(m_plans.size()));
}

FleetRunner::~FleetRunner() = default;

void FleetRunner::start()
{
    if (m_started)
        return;
    m_started = true;
    for (int i = 0; i < m_parallel; ++i)
        startNext();
    if (m_running == 0) {
        m_done = true;
        QMetaObject::invokeMethod(this, &FleetRunner::finished, Qt::QueuedConnection);
    }
}

void FleetRunner::cancel()
{
    m_cancelled = true;
    if (m_started && !m_done && m_running == 0) {
        m_done = true;
        emit finished();
    }
}

void FleetRunner::startNext()
{
    if (m_cancelled || m_next >= m_plans.size())
        return;
    const int index = m_next++;
    ++m_running;
    auto &slot = m_jobs[std::size_t(index)];
    slot = std::make_unique<ModuleJob>(m_link, m_plans.at(index));
    ModuleJob *job = slot.get();
    connect(job, &ModuleJob::phaseStarted, this, [this, index](ModuleJob::Phase phase) { emit jobPhase(index, phase); });
    // A job's end is queued, so a job that ends inside start() does not start
    // the next one from within itself. Each job's engine hears only its own
    // module's datagrams: the link sorts them.
    connect(job, &ModuleJob::finished, this, [this, index] { jobFinished(index); }, Qt::QueuedConnection);
    emit jobStarted(index, job);
    job->start();
}

void FleetRunner::jobFinished(int index)
{
    --m_running;
    ++m_ended;
    emit jobEnded(index, m_ended);
    startNext();
    if (m_running == 0 && !m_done) {
        m_done = true;
        emit finished();
    }
}

std::vector<std::unique_ptr<ModuleJob>> runFleet(Link &link, const QList<JobPlan> &plans, int parallel,
                                                 const FleetWatch &watch)
{
    FleetRunner runner(link, plans, parallel);
    QEventLoop loop;
    QObject::connect(&runner, &FleetRunner::jobStarted, &loop, [&](int, ModuleJob *job) {
        if (watch.started)
            watch.started(*job);
    });
    QObject::connect(&runner, &FleetRunner::jobEnded, &loop, [&](int index, int ended) {
        if (watch.ended)
            watch.ended(*runner.job(index), ended);
    });
    QObject::connect(&runner, &FleetRunner::finished, &loop, &QEventLoop::quit);
    QTimer stopping;
    if (watch.stop) {
        QObject::connect(&stopping, &QTimer::timeout, &loop, [&] {
            if (watch.stop()) {
                stopping.stop();
                runner.cancel();
            }
        });
        stopping.start(50);
        if (watch.stop())
            runner.cancel();
    }
    runner.start();
    loop.exec();
    return runner.takeJobs();
}

}  // namespace kelvane
