// What every benchmark shares: the guard that keeps it off the real network,
// a median, and the rows that bench/run gathers into one table. No Qt here,
// so the start-up parent loads none.
#pragma once

#include <string>
#include <vector>

namespace kelvane::bench {

// Ends the program unless it was started inside scripts/private-net.
void requirePrivateNet(const char *program);

double median(std::vector<double> values);
double maximum(const std::vector<double> &values);

// printf into a std::string.
std::string format(const char *pattern, ...) __attribute__((format(printf, 1, 2)));

// One row of the table, on stdout: "row", then the four columns, tab-separated.
void row(const std::string &figure, const std::string &value, const std::string &target,
         const std::string &verdict);
// The verdict column for a figure that has a target.
const char *verdict(bool met);
inline constexpr const char *Info = "info";

// A benchmark that could not measure says why on stderr and exits non-zero.
[[noreturn]] void fail(const std::string &why);

}  // namespace kelvane::bench
