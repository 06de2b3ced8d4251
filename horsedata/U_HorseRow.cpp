// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_HorseRow.h"

#include "U_Analyze.h"

#include <charconv>

const std::array<const char*, HorseRowColumnCount> HorseListCaptions = {"ID",
                                                                        "馬名",
                                                                        "性齢",
                                                                        "基本能力",
                                                                        "距離適性",
                                                                        "コース適性",
                                                                        "発動系アビリティ",
                                                                        "装備系アビリティ"};

namespace {

// Appends `value` as "%.2d" formats it: the sign, then at least two digits, zero-filled.
void AppendAtLeastTwoDigits(std::string& text, std::int32_t value) {
    char digits[16];
    const char* const end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    const char* first = digits;
    if (*first == '-')
        text += *first++;
    if (end - first < 2)
        text += '0';
    text.append(first, end);
}

std::string BasicAbilitiesText(const TDM_HorseStatus& table, int index) {
    std::string text;
    text.reserve(40); // ten values of up to three digits and their "/": allocated once
    for (const std::int32_t value : table.BasicAbilities(index)) {
        if (!text.empty())
            text += '/';
        AppendAtLeastTwoDigits(text, value);
    }
    return text;
}

} // namespace

std::string AbilityText(const std::array<std::int32_t, AbilitySlotCount>& codes,
                        std::string (*nameOf)(unsigned)) {
    std::string text;
    for (int slot = 0; slot < AbilitySlotCount; ++slot) {
        if (codes[slot] == 0)
            continue;
        text += nameOf(static_cast<unsigned>(codes[slot]));
        if (slot < AbilitySlotCount - 1)
            text += '/';
    }
    return text;
}

HorseRowTexts HorseRow(const TDM_HorseStatus& table, int index) {
    return {std::to_string(table.HorseID[index]),
            table.HorseName[index],
            "？",
            BasicAbilitiesText(table, index),
            std::to_string(table.LowerDistance[index]) + " - " +
                std::to_string(table.UpperDistance[index]),
            "？/？",
            AbilityText(table.ExeAbilities(index), &TDM_Analyze::ExeAbilityName),
            AbilityText(table.EqpAbilities(index), &TDM_Analyze::EqpAbilityName)};
}
