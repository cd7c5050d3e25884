// Runs the jobs of an apply, up to a number at once, starting the next as one
// ends; one job's failure never stops the others.
#pragma once

#include "FleetJob.h"

#include <memory>
#include <vector>

namespace kelvane::cli {

inline constexpr int DefaultParallel = 8;

// The jobs in the order given, each with its outcome, once every job has ended.
std::vector<std::unique_ptr<FleetJob>> runFleet(Link &link, const QList<JobPlan> &plans, int parallel);

}  // namespace kelvane::cli
