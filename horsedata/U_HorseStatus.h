// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include "HorseConstants.h"

#include <array>
#include <cstdint>
#include <string>

using IntColumn = std::array<std::int32_t, RecordCount>;
using TextColumn = std::array<std::string, RecordCount>;

inline constexpr int AbilitySlotCount = 4;
inline constexpr int BasicAbilityCount = 10;

// The horses of the file loaded last, stored column by column and addressed by horse index
// 0..63. Only the record decoder writes it; the list and the detail window read it.
class TDM_HorseStatus {
public:
    IntColumn HorseID{};
    IntColumn Registered{};
    TextColumn HorseName;
    TextColumn FatherName;
    TextColumn MotherName;
    IntColumn Speed{};
    IntColumn Endurance{};
    IntColumn Stamina{};
    IntColumn Power{};
    IntColumn Agility{};
    IntColumn Agreement{};
    IntColumn Temper{};
    IntColumn Guts{};
    IntColumn Reactive{};
    IntColumn Durability{};
    IntColumn LowerDistance{};
    IntColumn UpperDistance{};
    std::array<IntColumn, AbilitySlotCount> ExeAbility{}; // [slot 0..3][horse index]
    std::array<IntColumn, AbilitySlotCount> EqpAbility{};

    // The ten basic abilities of one horse in the order both windows show them.
    std::array<std::int32_t, BasicAbilityCount> BasicAbilities(int index) const;
    std::array<std::int32_t, AbilitySlotCount> ExeAbilities(int index) const;
    std::array<std::int32_t, AbilitySlotCount> EqpAbilities(int index) const;
};

// The one table of the running program, created at start-up.
extern TDM_HorseStatus* DM_HorseStatus;
