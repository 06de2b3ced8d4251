// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include "U_HorseStatus.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

// The values a horse's history keeps of each version: the ten basic abilities in the order of
// BasicAbilityFields, then the distance aptitude's lower and upper end.
inline constexpr int TrendValueCount = BasicAbilityCount + 2;
inline constexpr int LowerDistanceValue = BasicAbilityCount;
inline constexpr int UpperDistanceValue = BasicAbilityCount + 1;

// What tells one horse from another in a slot.
struct HorseIdentity {
    std::string Name, Father, Mother;
    bool operator==(const HorseIdentity&) const = default;
};

// One version of one horse: when it was read (milliseconds since the epoch) and its values.
struct TrendPoint {
    std::int64_t Ms;
    std::array<std::int32_t, TrendValueCount> Values;
    bool operator==(const TrendPoint&) const = default;
};

// How each horse grew: the values of every listed slot in each version the list came to show,
// one history per file. A version that the next one replaces within a second was half written
// and gives way to it; a slot that comes to hold another horse starts that horse's history
// anew. Each file keeps its newest MaxVersions versions.
class THorseHistory {
public:
    static constexpr std::size_t MaxVersions = 1000;
    static constexpr std::int64_t HalfWrittenMs = 1000;

    THorseHistory();
    ~THorseHistory();
    THorseHistory(const THorseHistory&) = delete;
    THorseHistory& operator=(const THorseHistory&) = delete;

    // `table`, read from `path`, has come to be shown at `ms`.
    void Record(const TDM_HorseStatus& table, const std::string& path, std::int64_t ms);

    // The horse in `slot` of `path` as last listed, or nothing when that slot was never listed.
    const HorseIdentity* Horse(const std::string& path, int slot) const;
    // The versions of the horse that `slot` of `path` holds now, oldest first, from the first
    // version that listed it; the versions in which the slot was not listed are left out.
    std::vector<TrendPoint> Versions(const std::string& path, int slot) const;
    // The versions `path` keeps, listed slots or not.
    std::size_t VersionCount(const std::string& path) const;

private:
    struct FileHistory;
    FileHistory* Find(const std::string& path) const;

    std::map<std::string, std::unique_ptr<FileHistory>> files_;
    FileHistory* current_ = nullptr; // of the path recorded last
    std::string currentPath_;
};
