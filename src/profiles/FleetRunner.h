// SPDX-License-Identifier: Apache-2.0
// Runs the jobs of an apply, up to a number at once, starting the next as one
// ends; one job's failure never stops the others.
#pragma once

#include "ModuleJob.h"

#include <functional>
#include <memory>
#include <vector>

namespace kelvane {

inline constexpr int DefaultParallel = 8;

// Told of each job as it starts, before its first datagram, and as it ends,
// with how many have ended by then; either may be left empty.
struct FleetWatch {
    std::function<void(ModuleJob &)> started;
    std::function<void(const ModuleJob &, int ended)> ended;
};

// The jobs in the order given, each with its outcome, once every job has ended.
std::vector<std::unique_ptr<ModuleJob>> runFleet(Link &link, const QList<JobPlan> &plans, int parallel,
                                                 const FleetWatch &watch = {});

}  // namespace kelvane
