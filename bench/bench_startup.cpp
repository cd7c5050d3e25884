// Start-up to the window shown, and peak memory: the window program started
// afresh each run, timed from just before the spawn to its first paint.
#include "Report.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

using namespace kelvane::bench;

namespace {
constexpr int Runs = 11;
constexpr double TargetMs = 300;
constexpr double TargetMiB = 60;

long long monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

struct Start {
    double spawnToShownMs = 0;
    double mainToShownMs = 0;
    double peakMiB = 0;
};

Start startOnce()
{
    int out[2];
    if (pipe(out) != 0)
        fail("bench_startup: pipe failed");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, out[1]);

    char program[] = KELVANE_STARTUP_WINDOW;
    char *argv[] = {program, nullptr};
    pid_t pid = 0;
    const long long spawned = monotonicNs();
    const int error = posix_spawn(&pid, program, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (error != 0)
        fail(format("bench_startup: cannot start %s: %s", program, std::strerror(error)));

    std::string text;
    char buffer[256];
    ssize_t n;
    while ((n = read(out[0], buffer, sizeof buffer)) > 0)
        text.append(buffer, size_t(n));
    close(out[0]);

    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    long long mainNs = 0, shownNs = 0;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
        std::sscanf(text.c_str(), "main %lld\nshown %lld", &mainNs, &shownNs) != 2)
        fail("bench_startup: the window program did not report its first paint: " + text);
    // ru_maxrss is in KiB on Linux.
    return Start{double(shownNs - spawned) / 1e6, double(shownNs - mainNs) / 1e6,
                 double(usage.ru_maxrss) / 1024.0};
}
}  // namespace

int main()
{
    requirePrivateNet("bench_startup");
    // The window needs no display: Qt draws it into memory.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);

    std::vector<double> spawnToShown, mainToShown, peak;
    for (int i = 0; i < Runs; ++i) {
        const Start s = startOnce();
        spawnToShown.push_back(s.spawnToShownMs);
        mainToShown.push_back(s.mainToShownMs);
        peak.push_back(s.peakMiB);
    }
    const double shown = median(spawnToShown);
    row(format("start-up: spawn to window painted (median of %d)", Runs),
        format("%.1f ms (main() to painted %.1f ms)", shown, median(mainToShown)),
        format("< %.0f ms", TargetMs), verdict(shown < TargetMs));
    const double worst = maximum(peak);
    row(format("start-up: peak RSS (largest of %d)", Runs), format("%.1f MiB", worst),
        format("< %.0f MiB", TargetMiB), verdict(worst < TargetMiB));
    return 0;
}
