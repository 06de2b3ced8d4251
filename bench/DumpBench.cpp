// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// stallark-dump --fields over many horse files against cat of the same files, both to
// /dev/null with the page cache warm, and how the time grows with the number of files; also
// stallark-dump --fields --score with an expression of twelve terms against the same cat:
//     stallark-dump-bench STALLARK_DUMP ROUNDS COUNT...
// Writes as many horse files as the largest COUNT, of the three recognised sizes in turn, into
// a fresh temporary folder; checks once that stallark-dump prints every horse of all of them;
// then for each COUNT runs the three on the first COUNT files ROUNDS times, taking turns.
// Prints JSON: for each COUNT, the wall and CPU times (user and system, ms) of every run.
#include "BenchHorses.h"
#include "HorseFileWriter.h"
#include "U_FileAccess.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

struct Times {
    std::vector<double> WallMs, CpuMs;
};

double NowMs() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Runs `argv` to its end with its output into `output`, its messages nowhere; throws unless
// it exits with status 0.
void Run(std::vector<std::string> argv, const char* output, Times* times = nullptr) {
    std::vector<char*> pointers;
    for (std::string& argument : argv)
        pointers.push_back(argument.data());
    pointers.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, 1, output, O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const double start = NowMs();
    pid_t pid = 0;
    const int error =
        ::posix_spawnp(&pid, argv[0].c_str(), &actions, nullptr, pointers.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    if (error != 0)
        throw std::runtime_error(argv[0] + ": " + std::strerror(error));
    int status = 0;
    rusage usage{};
    if (::wait4(pid, &status, 0, &usage) != pid)
        throw std::runtime_error(argv[0] + ": wait4: " + std::strerror(errno));
    const double wall = NowMs() - start;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error(argv[0] + ": did not exit with status 0");
    const auto ms = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
    };
    if (times) {
        times->WallMs.push_back(wall);
        times->CpuMs.push_back(ms(usage.ru_utime) + ms(usage.ru_stime));
    }
}

void PrintTimes(const char* name, const Times& times, bool last) {
    std::printf("    \"%s\": {\"wall_ms\": [", name);
    for (std::size_t n = 0; n < times.WallMs.size(); ++n)
        std::printf("%s%.3f", n ? ", " : "", times.WallMs[n]);
    std::printf("], \"cpu_ms\": [");
    for (std::size_t n = 0; n < times.CpuMs.size(); ++n)
        std::printf("%s%.3f", n ? ", " : "", times.CpuMs[n]);
    std::printf("]}%s\n", last ? "" : ",");
}

// The lines of the text file at `path`.
std::size_t LineCount(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(file), {}};
    std::size_t lines = 0;
    for (const char c : text)
        lines += c == '\n';
    return lines;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s STALLARK_DUMP ROUNDS COUNT...\n", argv[0]);
        return 2;
    }
    std::string folder =
        (std::filesystem::temp_directory_path() / "stallark-dump-bench-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr) {
        std::perror("stallark-dump-bench: mkdtemp");
        return 1;
    }
    int result = 0;
    try {
        const std::string dump = argv[1];
        const int rounds = std::stoi(argv[2]);
        std::vector<std::size_t> counts;
        for (int n = 3; n < argc; ++n)
            counts.push_back(std::stoul(argv[n]));
        std::sort(counts.begin(), counts.end());

        // Every horse listed, with names and abilities in every slot: the most text per file.
        const HorseBlock block = BenchBlock(RecordCount);
        std::vector<std::string> files;
        for (std::size_t n = 0; n < counts.back(); ++n) {
            char name[48];
            std::snprintf(name, sizeof name, "/horses-%04zu.dat", n);
            files.push_back(folder + name);
            const auto layouts = std::size(HorseFileLayouts);
            WriteHorseFile(files.back(), HorseFileLayouts[n % layouts].FileSize, block);
        }

        // The files on disk first, so that writing them back does not fall into the runs; then
        // each program once over all of them, which warms the cache.
        ::sync();
        std::vector<std::string> all = {"cat"};
        all.insert(all.end(), files.begin(), files.end());
        Run(all, "/dev/null");
        // One header line and a line per horse of every file.
        const std::string output = folder + "/output.tsv";
        all.front() = "--fields";
        all.insert(all.begin(), dump);
        Run(all, output.c_str());
        all.insert(all.begin() + 2, {"--score", TwelveTermScore});
        Run(all, output.c_str());
        if (LineCount(output) != 1 + files.size() * RecordCount)
            throw std::runtime_error(dump + " printed " + std::to_string(LineCount(output)) +
                                     " lines for " + std::to_string(files.size()) + " files");

        std::printf("{\n");
        for (const std::size_t count : counts) {
            std::vector<std::string> dumpArgs = {dump, "--fields"}, catArgs = {"cat"};
            std::vector<std::string> scoreArgs = {dump, "--fields", "--score", TwelveTermScore};
            for (std::vector<std::string>* args : {&dumpArgs, &catArgs, &scoreArgs})
                args->insert(args->end(), files.begin(), files.begin() + count);
            Times dumpTimes, catTimes, scoreTimes;
            const std::vector<std::string>* programs[] = {&dumpArgs, &catArgs, &scoreArgs};
            Times* times[] = {&dumpTimes, &catTimes, &scoreTimes};
            // Each round starts with the next program, so that none always runs on a cache or a
            // CPU frequency another left behind.
            for (int round = 0; round < rounds; ++round)
                for (int n = 0; n < 3; ++n)
                    Run(*programs[(round + n) % 3], "/dev/null", times[(round + n) % 3]);
            std::printf("  \"%zu\": {\n", count);
            PrintTimes("dump", dumpTimes, false);
            PrintTimes("dump_score", scoreTimes, false);
            PrintTimes("cat", catTimes, true);
            std::printf("  }%s\n", count == counts.back() ? "" : ",");
        }
        std::printf("}\n");
    } catch (const std::exception& error) {
        std::fprintf(stderr, "stallark-dump-bench: %s\n", error.what());
        result = 1;
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return result;
}
