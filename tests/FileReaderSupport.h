// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

// What the reader's tests on every platform and the hostile-file tests share.
#include "FailingCalls.h"
#include "TestFiles.h"
#include "U_FileAccess.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

inline constexpr std::uint8_t Untouched = 0x5C;

// A block whose bytes all differ from their neighbours and none is 0x00, so that a missing,
// moved or zeroed byte shows; `salt` makes another such block.
inline HorseBlock PatternBlock(int salt = 0) {
    HorseBlock block;
    for (std::size_t n = 0; n < block.size(); ++n)
        block[n] =
            static_cast<std::uint8_t>(1 + (n * 7 + n / 251 + static_cast<std::size_t>(salt)) % 251);
    return block;
}

struct ReadResult {
    bool Ok = false;
    HorseBlock Buffer;
    std::optional<EInOutError> Error; // the I/O error the read raised
    std::string Message() const { return Error ? Error->what() : ""; }
};

inline ReadResult Read(const std::string& path, TDM_FileAccess reader = {}) {
    ReadResult result;
    result.Buffer.fill(Untouched);
    try {
        result.Ok = reader.ReadHorseBlock(path, HorseBlockSize, result.Buffer);
    } catch (const EInOutError& error) {
        result.Error = error;
    }
    return result;
}

inline bool IsUntouched(const HorseBlock& buffer) {
    return std::all_of(buffer.begin(), buffer.end(), [](std::uint8_t b) { return b == Untouched; });
}

// The I/O error that reading `path` raises, or nullopt when it raises none.
inline std::optional<EInOutError> ReadError(const std::string& path) {
    return Read(path).Error;
}
