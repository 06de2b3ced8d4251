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

    // The ten basic abilities of one horse, in the order of BasicAbilityFields.
    std::array<std::int32_t, BasicAbilityCount> BasicAbilities(int index) const;
    std::array<std::int32_t, AbilitySlotCount> ExeAbilities(int index) const;
    std::array<std::int32_t, AbilitySlotCount> EqpAbilities(int index) const;

    bool operator==(const TDM_HorseStatus&) const = default;
};

// One of the ten basic abilities: its column, its name in stallark-dump's JSON (and, after
// "E_", that of its box in the detail window), its column's caption in stallark-dump --fields,
// and the least and the greatest value its record field can hold once decoded.
struct BasicAbilityField {
    const char* Key;
    const char* Caption;
    IntColumn TDM_HorseStatus::*Column;
    std::int32_t Least;
    std::int32_t Greatest;
};

// The ten basic abilities in the order both windows show them.
inline constexpr BasicAbilityField BasicAbilityFields[BasicAbilityCount] = {
    {"Speed", "スピード", &TDM_HorseStatus::Speed, AbilityBase, AbilityBase + PackedFieldMax},
    {"Endurance", "持続力", &TDM_HorseStatus::Endurance, AbilityBase, AbilityBase + PackedFieldMax},
    {"Stamina", "スタミナ", &TDM_HorseStatus::Stamina, AbilityBase, AbilityBase + PackedFieldMax},
    {"Power", "パワー", &TDM_HorseStatus::Power, 0, PackedFieldMax},
    {"Agility", "瞬発力", &TDM_HorseStatus::Agility, 0, 255},
    {"Agreement", "折り合い", &TDM_HorseStatus::Agreement, 0, PackedFieldMax},
    {"Temper", "気性", &TDM_HorseStatus::Temper, 0, 255},
    {"Guts", "勝負根性", &TDM_HorseStatus::Guts, 0, PackedFieldMax},
    {"Reactive", "反応", &TDM_HorseStatus::Reactive, 0, 255},
    {"Durability", "丈夫さ", &TDM_HorseStatus::Durability, 0, 255},
};

// The one table of the running program, created at start-up.
extern TDM_HorseStatus* DM_HorseStatus;
