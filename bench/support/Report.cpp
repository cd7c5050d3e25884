#include "Report.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace kelvane::bench {

void requirePrivateNet(const char *program)
{
    const char *net = std::getenv("KELVANE_PRIVATE_NET");
    if (net && std::strcmp(net, "inside") == 0)
        return;
    std::fprintf(stderr, "%s: refusing to run outside scripts/private-net (try `make bench`)\n", program);
    std::exit(2);
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2.0;
}

double maximum(const std::vector<double> &values)
{
    return values.empty() ? 0.0 : *std::max_element(values.begin(), values.end());
}

std::string format(const char *pattern, ...)
{
    va_list args;
    va_start(args, pattern);
    char buffer[512];
    std::vsnprintf(buffer, sizeof buffer, pattern, args);
    va_end(args);
    return buffer;
}

void row(const std::string &figure, const std::string &value, const std::string &target,
         const std::string &verdict)
{
    std::printf("row\t%s\t%s\t%s\t%s\n", figure.c_str(), value.c_str(), target.c_str(), verdict.c_str());
    std::fflush(stdout);
}

const char *verdict(bool met)
{
    return met ? "met" : "MISSED";
}

void fail(const std::string &why)
{
    std::fprintf(stderr, "%s\n", why.c_str());
    std::exit(1);
}

}  // namespace kelvane::bench
