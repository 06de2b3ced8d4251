// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// The reader: each input becomes a real file on disk that the reader opens, sizes and reads
// from, and whatever it returns is checked against the file byte by byte, then decoded.
//
// Input: byte 0 picks the file size (each recognised size, or one byte short of or past it),
// byte 1 picks the length asked for, the rest is written into the file from 64 bytes before
// the block offset on (so a read from a wrong offset shows); the rest of the file is zero.
#include "FuzzChecks.h"

#include "U_FileAccess.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::int64_t LeadBytes = 64;
constexpr std::uint8_t Canary = 0xCD;

std::string FilePath;
int FileFd = -1;

void RemoveFile() {
    if (!FilePath.empty())
        ::unlink(FilePath.c_str());
}

struct Plan {
    std::int64_t FileSize;
    std::int64_t BlockOffset; // of the recognised size the file is based on
    bool Recognised;
    std::size_t Length;
};

Plan PlanFor(std::uint8_t sizeChoice, std::uint8_t lengthChoice) {
    const HorseFileLayout& layout = HorseFileLayouts[(sizeChoice / 3) % 3];
    const int delta = sizeChoice % 3 - 1; // -1, 0 or +1
    Plan plan{layout.FileSize + delta, layout.BlockOffset, delta == 0, HorseBlockSize};
    const auto toEnd = static_cast<std::size_t>(layout.FileSize - layout.BlockOffset);
    const std::array<std::size_t, 8> lengths = {
        HorseBlockSize,    0, 1, RecordSize, HorseBlockSize - 1, toEnd, toEnd + 4096,
        HorseBlockSize + 1};
    plan.Length = lengths[lengthChoice % lengths.size()];
    return plan;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern =
        std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/stallark-fuzz-reader-XXXXXX";
    FileFd = ::mkstemp(pattern.data());
    if (FileFd < 0) {
        std::perror("mkstemp");
        std::exit(1);
    }
    FilePath = pattern;
    std::atexit(RemoveFile);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    const Plan plan = PlanFor(data[0], data[1]);
    const std::uint8_t* payload = data + 2;
    const std::int64_t start = plan.BlockOffset - LeadBytes;
    const auto payloadSize = static_cast<std::int64_t>(
        std::min<std::size_t>(size - 2, static_cast<std::size_t>(plan.FileSize - start)));

    // Truncating to zero first leaves the file sparse: zero wherever the payload is not.
    Check(::ftruncate(FileFd, 0) == 0 && ::ftruncate(FileFd, plan.FileSize) == 0, "ftruncate");
    Check(::pwrite(FileFd, payload, static_cast<std::size_t>(payloadSize), start) == payloadSize,
          "pwrite");
    // Exactly `Length` bytes on the heap, so that AddressSanitizer sees a write past them.
    std::vector<std::uint8_t> buffer(plan.Length, Canary);
    TDM_FileAccess reader;
    bool read = false;
    try {
        read = reader.ReadHorseBlock(FilePath, plan.Length, buffer);
    } catch (const EInOutError& error) {
        std::fprintf(stderr, "unexpected I/O error: %s\n", error.what());
        std::abort();
    }

    Check(read == plan.Recognised, "recognised the wrong sizes");
    if (!read) {
        CheckUntouched(buffer, Canary);
        return 0;
    }
    CheckReadFromFile(buffer,
                      {{payload, static_cast<std::size_t>(payloadSize)}, start, plan.FileSize},
                      plan.BlockOffset);
    if (plan.Length == HorseBlockSize) {
        HorseBlock block;
        std::copy(buffer.begin(), buffer.end(), block.begin());
        DecodeAndCheck(block);
    }
    return 0;
}
