// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_HorseStatus.h"

TDM_HorseStatus* DM_HorseStatus = nullptr;

namespace {

std::array<std::int32_t, AbilitySlotCount>
SlotsOf(const std::array<IntColumn, AbilitySlotCount>& columns, int index) {
    std::array<std::int32_t, AbilitySlotCount> codes{};
    for (int slot = 0; slot < AbilitySlotCount; ++slot)
        codes[slot] = columns[slot][index];
    return codes;
}

} // namespace

std::array<std::int32_t, BasicAbilityCount> TDM_HorseStatus::BasicAbilities(int index) const {
    std::array<std::int32_t, BasicAbilityCount> values{};
    for (int n = 0; n < BasicAbilityCount; ++n)
        values[n] = (this->*BasicAbilityFields[n].Column)[index];
    return values;
}

std::array<std::int32_t, AbilitySlotCount> TDM_HorseStatus::ExeAbilities(int index) const {
    return SlotsOf(ExeAbility, index);
}

std::array<std::int32_t, AbilitySlotCount> TDM_HorseStatus::EqpAbilities(int index) const {
    return SlotsOf(EqpAbility, index);
}
