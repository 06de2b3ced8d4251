// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

// What the fuzzers check after every decode, beyond the sanitizers' own checks.

#include "HorseConstants.h"

#include <cstdint>
#include <span>

// Stops the run with `what` on stderr when `ok` is false; libFuzzer keeps the input.
void Check(bool ok, const char* what);

// Decodes `block` into a fresh horse table and checks every column against the ranges the
// record layout allows, every name against its record's bytes, the eight row texts of every
// slot and the names of every ability code 0..255.
void DecodeAndCheck(const HorseBlock& block);

// The bytes of a file that the fuzzer laid out: `payload` from offset `start` on, zero
// elsewhere, `fileSize` bytes long. Checks that `buffer` holds the file's bytes from
// `blockOffset` on, and zero where the file has ended.
struct LaidOutFile {
    std::span<const std::uint8_t> Payload;
    std::int64_t Start;
    std::int64_t FileSize;
};
void CheckReadFromFile(std::span<const std::uint8_t> buffer, const LaidOutFile& file,
                       std::int64_t blockOffset);

// Checks that every byte of `buffer` is still `fill`.
void CheckUntouched(std::span<const std::uint8_t> buffer, std::uint8_t fill);
