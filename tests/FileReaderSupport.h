// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

// What the reader's tests on every platform share.
#include "TestFiles.h"
#include "U_FileAccess.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

inline constexpr std::uint8_t Untouched = 0x5C;

// A block whose bytes all differ from their neighbours and from the file's filler pattern.
inline HorseBlock PatternBlock() {
    HorseBlock block;
    for (std::size_t n = 0; n < block.size(); ++n)
        block[n] = static_cast<std::uint8_t>((n * 31 + n / 251 + 1) & 0xFF);
    return block;
}

struct ReadResult {
    bool Ok;
    HorseBlock Buffer;
};

inline ReadResult Read(const std::string& path) {
    ReadResult result{false, {}};
    result.Buffer.fill(Untouched);
    result.Ok = TDM_FileAccess().ReadHorseBlock(path, HorseBlockSize, result.Buffer);
    return result;
}

inline bool IsUntouched(const HorseBlock& buffer) {
    return std::all_of(buffer.begin(), buffer.end(), [](std::uint8_t b) { return b == Untouched; });
}

// The I/O error that reading `path` raises, or nullopt when it raises none.
inline std::optional<EInOutError> ReadError(const std::string& path) {
    try {
        Read(path);
    } catch (const EInOutError& error) {
        return error;
    }
    return std::nullopt;
}
