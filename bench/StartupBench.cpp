// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// Runs a program and its floors in turn, each to its own end, and prints the wall time, the CPU
// time (user and system) and the peak resident memory of every run as JSON, the floors by
// their file names:
//     stallark-startup-bench RUNS WARMUP PROGRAM FLOOR...
// All are Qt programs that never quit by themselves: the benchmark loads its plugin
// quitwhenpainted into each (QT_PLUGIN_PATH, QT_QPA_GENERIC_PLUGINS), which ends it once its
// window is painted. Each must then exit with status 0 within a few seconds; all get the
// offscreen platform unless QT_QPA_PLATFORM names another, the rest of the environment
// (DISPLAY) passes through unchanged, and their output goes nowhere.
#include "OffscreenPlatform.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

constexpr int TimeoutSeconds = 30;

struct Run {
    double WallMs;
    double CpuMs; // user and system
    long PeakRssKb;
};

double Now() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Starts `program` with no arguments and waits for it; SIGCHLD is blocked by the caller so
// that its arrival can be waited for with a timeout.
Run RunOnce(const std::string& program) {
    std::string arg0 = program;
    char* argv[] = {arg0.data(), nullptr};
    sigset_t child;
    sigemptyset(&child);
    sigaddset(&child, SIGCHLD);

    posix_spawn_file_actions_t quiet;
    ::posix_spawn_file_actions_init(&quiet);
    ::posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    ::posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);

    const double start = Now();
    pid_t pid = 0;
    const int error = ::posix_spawn(&pid, program.c_str(), &quiet, nullptr, argv, environ);
    ::posix_spawn_file_actions_destroy(&quiet);
    if (error != 0)
        throw std::runtime_error(program + ": " + std::strerror(error));
    const timespec timeout{TimeoutSeconds, 0};
    if (::sigtimedwait(&child, nullptr, &timeout) < 0) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        throw std::runtime_error(program + ": did not quit within " +
                                 std::to_string(TimeoutSeconds) + " s");
    }
    int status = 0;
    rusage usage{};
    if (::wait4(pid, &status, 0, &usage) != pid)
        throw std::runtime_error(program + ": wait4: " + std::strerror(errno));
    const double wall = Now() - start;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error(program + ": did not exit with status 0");
    const auto ms = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
    };
    return {wall, ms(usage.ru_utime) + ms(usage.ru_stime), usage.ru_maxrss};
}

void PrintRuns(const std::string& name, const std::vector<Run>& runs, bool last) {
    std::printf("  \"%s\": {\"wall_ms\": [", name.c_str());
    for (std::size_t n = 0; n < runs.size(); ++n)
        std::printf("%s%.3f", n ? ", " : "", runs[n].WallMs);
    std::printf("], \"cpu_ms\": [");
    for (std::size_t n = 0; n < runs.size(); ++n)
        std::printf("%s%.3f", n ? ", " : "", runs[n].CpuMs);
    std::printf("], \"peak_rss_kb\": [");
    for (std::size_t n = 0; n < runs.size(); ++n)
        std::printf("%s%ld", n ? ", " : "", runs[n].PeakRssKb);
    std::printf("]}%s\n", last ? "" : ",");
}

std::string FileName(const std::string& path) {
    return path.substr(path.find_last_of('/') + 1);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s RUNS WARMUP PROGRAM FLOOR...\n", argv[0]);
        return 2;
    }
    try {
        const int runs = std::stoi(argv[1]);
        const int warmup = std::stoi(argv[2]);
        // The program first, then its floors.
        const std::vector<std::string> programs(argv + 3, argv + argc);
        PreferOffscreenPlatform();
        ::setenv("QT_PLUGIN_PATH", STALLARK_BENCH_PLUGINS, 1);
        ::setenv("QT_QPA_GENERIC_PLUGINS", "quitwhenpainted", 1);
        sigset_t child;
        sigemptyset(&child);
        sigaddset(&child, SIGCHLD);
        ::sigprocmask(SIG_BLOCK, &child, nullptr);

        for (int n = 0; n < warmup; ++n)
            for (const std::string& program : programs)
                RunOnce(program);
        // Each round starts with the next program in turn, so that none always runs on a cache
        // or a CPU frequency another left behind.
        std::vector<std::vector<Run>> results(programs.size());
        for (int n = 0; n < runs; ++n)
            for (std::size_t k = 0; k < programs.size(); ++k) {
                const std::size_t which = (k + static_cast<std::size_t>(n)) % programs.size();
                results[which].push_back(RunOnce(programs[which]));
            }
        std::printf("{\n");
        PrintRuns("program", results[0], false);
        std::printf("  \"floors\": {\n");
        for (std::size_t k = 1; k < programs.size(); ++k)
            PrintRuns(FileName(programs[k]), results[k], k + 1 == programs.size());
        std::printf("}}\n");
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "stallark-startup-bench: %s\n", error.what());
        return 1;
    }
}
