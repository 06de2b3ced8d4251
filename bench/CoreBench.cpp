// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// The data core against its floors: decoding a block against copying it, reading the block
// from a file in the page cache against the bare system calls.
#include "BenchHorses.h"
#include "Paired.h"

#include "U_Analyze.h"
#include "U_FileAccess.h"
#include "U_HorseStatus.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const HorseBlock& Block() {
    static const HorseBlock block = BenchBlock(RecordCount);
    return block;
}

const BenchFile& File() {
    static const BenchFile file(Block());
    return file;
}

// Floor of the decoder: one copy of the whole block.
void CopyBlock(const HorseBlock& source, HorseBlock& target) {
    benchmark::DoNotOptimize(source.data());
    std::memcpy(target.data(), source.data(), HorseBlockSize);
    benchmark::ClobberMemory();
}

// Checks the table against what BenchBlock wrote, so that a decoder that skipped work would
// not pass for a fast one.
bool TableHoldsBenchHorses(const TDM_HorseStatus& table) {
    for (int i = 0; i < RecordCount; ++i)
        if (table.HorseID[i] != i || table.Registered[i] != 1 ||
            table.HorseName[i] != BenchName(i, 0) || table.FatherName[i] != BenchName(i, 1) ||
            table.MotherName[i] != BenchName(i, 2))
            return false;
    return true;
}

void BM_AnalyzeBlock(benchmark::State& state) {
    const HorseBlock& block = Block();
    auto copy = std::make_unique<HorseBlock>();
    auto table = std::make_unique<TDM_HorseStatus>();
    TDM_Analyze analyze(*table);
    RunPaired(
        state, 2,
        [&] {
            analyze.AnalyzeBlock(block);
            benchmark::ClobberMemory();
        },
        32, [&] { CopyBlock(block, *copy); });
    if (!TableHoldsBenchHorses(*table) || *copy != block)
        state.SkipWithError("the decoded table differs from the horses written");
}
BENCHMARK(BM_AnalyzeBlock)->UseManualTime();

// The worst block for the decoder: every name runs without terminator to its record's end.
void BM_AnalyzeBlockLongestNames(benchmark::State& state) {
    auto block = std::make_unique<HorseBlock>();
    block->fill(0x0E); // ア
    auto copy = std::make_unique<HorseBlock>();
    auto table = std::make_unique<TDM_HorseStatus>();
    TDM_Analyze analyze(*table);
    RunPaired(
        state, 1,
        [&] {
            analyze.AnalyzeBlock(*block);
            benchmark::ClobberMemory();
        },
        32, [&] { CopyBlock(*block, *copy); });
    constexpr std::size_t Longest = RecordSize - NameFieldOffsets[0];
    if (table->HorseName[RecordCount - 1].size() != Longest * std::strlen("ア"))
        state.SkipWithError("the longest name did not run to the end of its record");
}
BENCHMARK(BM_AnalyzeBlockLongestNames)->UseManualTime();

// One name per call, going round all 192 names of the block.
void BM_DecodeName(benchmark::State& state) {
    const HorseBlock& block = Block();
    for (int name = 0; name < RecordCount * 3; ++name)
        if (TDM_Analyze::DecodeName(name / 3, name % 3, block) != BenchName(name / 3, name % 3))
            state.SkipWithError("a name decoded wrongly");
    auto copy = std::make_unique<HorseBlock>();
    int name = 0;
    RunPaired(
        state, RecordCount * 3,
        [&] {
            std::string decoded = TDM_Analyze::DecodeName(name / 3, name % 3, block);
            benchmark::DoNotOptimize(decoded);
            name = name == RecordCount * 3 - 1 ? 0 : name + 1;
        },
        32, [&] { CopyBlock(block, *copy); });
}
BENCHMARK(BM_DecodeName)->UseManualTime();

// Floors of the reader: the system calls that any reader of the block needs, with the offset
// and length known beforehand; the fair one also asks for the size, as a reader that checks it
// must.
bool OpenPreadClose(const std::string& path, HorseBlock& buffer, bool sized) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat status {};
    const bool sizeKnown = !sized || ::fstat(fd, &status) == 0;
    const ssize_t got = ::pread(fd, buffer.data(), HorseBlockSize, HorseFileLayouts[0].BlockOffset);
    ::close(fd);
    benchmark::ClobberMemory();
    return sizeKnown && got == HorseBlockSize;
}

// ReadHorseBlock against one of the floors: with the size asked (sized) or not.
void ReadHorseBlockAgainst(benchmark::State& state, bool sized) {
    const std::string& path = File().Path();
    auto read = std::make_unique<HorseBlock>();
    auto floorRead = std::make_unique<HorseBlock>();
    TDM_FileAccess fileAccess;
    bool allRead = true;
    RunPaired(
        state, 4,
        [&] {
            allRead = fileAccess.ReadHorseBlock(path, HorseBlockSize, *read) && allRead;
            benchmark::ClobberMemory();
        },
        4, [&] { allRead = OpenPreadClose(path, *floorRead, sized) && allRead; });
    if (!allRead || *read != Block() || *floorRead != Block())
        state.SkipWithError("the bytes read are not the block");
}

void BM_ReadHorseBlock(benchmark::State& state) {
    ReadHorseBlockAgainst(state, false);
}
BENCHMARK(BM_ReadHorseBlock)->UseManualTime();

void BM_ReadHorseBlockSized(benchmark::State& state) {
    ReadHorseBlockAgainst(state, true);
}
BENCHMARK(BM_ReadHorseBlockSized)->UseManualTime();

} // namespace

BENCHMARK_MAIN();
