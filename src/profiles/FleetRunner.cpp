// SPDX-License-Identifier: Apache-2.0
#include "FleetRunner.h"

#include <QEventLoop>

#include <functional>

namespace kelvane {

std::vector<std::unique_ptr<ModuleJob>> runFleet(Link &link, const QList<JobPlan> &plans, int parallel,
                                                 const FleetWatch &watch)
{
    std::vector<std::unique_ptr<ModuleJob>> jobs;
    if (plans.isEmpty())
        return jobs;

    QEventLoop loop;
    std::size_t ended = 0;
    // A job's end is queued, so a job that ends inside start() does not start
    // the next one from within itself. Each job's engine hears only its own
    // module's datagrams: the link sorts them.
    std::function<void()> startNext;
    startNext = [&] {
        if (jobs.size() == std::size_t(plans.size()))
            return;
        ModuleJob *job = jobs.emplace_back(std::make_unique<ModuleJob>(link, plans.at(qsizetype(jobs.size())))).get();
        QObject::connect(job, &ModuleJob::finished, &loop, [&, job] {
            ++ended;
            if (watch.ended)
                watch.ended(*job, int(ended));
            if (ended == std::size_t(plans.size()))
                loop.quit();
            else
                startNext();
        }, Qt::QueuedConnection);
        if (watch.started)
            watch.started(*job);
        job->start();
    };
    for (int i = 0; i < std::max(parallel, 1); ++i)
        startNext();
    loop.exec();
    return jobs;
}

}  // namespace kelvane
