#include "FleetRunner.h"

#include <QEventLoop>

namespace kelvane::cli {

std::vector<std::unique_ptr<FleetJob>> runFleet(Link &link, const QList<JobPlan> &plans, int parallel)
{
    std::vector<std::unique_ptr<FleetJob>> jobs;
    for (const JobPlan &plan : plans)
        jobs.push_back(std::make_unique<FleetJob>(link, plan));
    if (jobs.empty())
        return jobs;

    QEventLoop loop;
    std::size_t started = 0;
    std::size_t ended = 0;
    // Queued, so a job that ends inside start() does not start the next one
    // from within itself.
    const auto startNext = [&] {
        if (started < jobs.size())
            jobs[started++]->start();
    };
    for (const auto &job : jobs) {
        QObject::connect(job.get(), &FleetJob::finished, &loop, [&] {
            if (++ended == jobs.size())
                loop.quit();
            else
                startNext();
        }, Qt::QueuedConnection);
    }
    for (int i = 0; i < std::max(parallel, 1); ++i)
        startNext();
    loop.exec();
    return jobs;
}

}  // namespace kelvane::cli
