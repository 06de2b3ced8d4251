// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The horse block of a data file: 64 records of 400 bytes, end to end.
inline constexpr int RecordSize = 400;
inline constexpr int RecordCount = 64;
inline constexpr int HorseBlockSize = RecordSize * RecordCount;

using HorseBlock = std::array<std::uint8_t, HorseBlockSize>;
