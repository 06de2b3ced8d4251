// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include "HorseConstants.h"
#include "U_HorseStatus.h"

#include <string>

inline constexpr int ExeAbilityCount = 44; // codes 0..43 have names
inline constexpr int EqpAbilityCount = 53; // codes 0..52

// Decodes the horse block into the horse table and names ability codes.
class TDM_Analyze {
public:
    explicit TDM_Analyze(TDM_HorseStatus& table) : table_(table) {}

    // Rewrites every column of all 64 slots from the block, whatever each slot's state.
    void AnalyzeBlock(const HorseBlock& block);

    // The name in field NameField (0..2) of record `index`: its characters up to the first
    // 0x00 or 0xFF, and never past the end of that record.
    static std::string DecodeName(int index, int NameField, const HorseBlock& block);

    // Empty text for code 0, "？" past the end of the table.
    static std::string ExeAbilityName(unsigned code);
    static std::string EqpAbilityName(unsigned code);

private:
    TDM_HorseStatus& table_;
};

// The character of one name byte ("？" for a byte the name table lacks).
std::string_view NameCharacter(std::uint8_t code);

extern TDM_Analyze* DM_Analyze;
