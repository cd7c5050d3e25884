#include "FleetRunner.h"

#include <QEventLoop>
#include <QHash>

#include <functional>

namespace kelvane::cli {

std::vector<std::unique_ptr<FleetJob>> runFleet(Link &link, const QList<JobPlan> &plans, int parallel,
                                                const FleetWatch &watch)
{
    std::vector<std::unique_ptr<FleetJob>> jobs;
    if (plans.isEmpty())
        return jobs;

    // Each answer goes to the one job of its module, not through every engine.
    QHash<QByteArray, FleetJob *> byModule;
    QEventLoop loop;
    QObject::connect(&link, &Link::datagramReceived, &loop, [&byModule](const QByteArray &datagram) {
        if (const std::optional<DeviceAddress> from = DeviceAddress::fromFrame(datagram)) {
            if (FleetJob *job = byModule.value(from->toByteArray()))
                job->deliver(datagram);
        }
    });
    std::size_t ended = 0;
    // A job's engine is made when the job starts: an engine idle on the link
    // would list every module it hears. Its end is queued, so a job that ends
    // inside start() does not start the next one from within itself.
    std::function<void()> startNext;
    startNext = [&] {
        if (jobs.size() == std::size_t(plans.size()))
            return;
        FleetJob *job = jobs.emplace_back(std::make_unique<FleetJob>(link, plans.at(qsizetype(jobs.size())))).get();
        byModule.insert(job->plan().module.toByteArray(), job);
        QObject::connect(job, &FleetJob::finished, &loop, [&, job] {
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

}  // namespace kelvane::cli
