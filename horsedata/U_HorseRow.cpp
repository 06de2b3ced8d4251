#include "U_HorseRow.h"

#include "U_Analyze.h"

#include <cstdio>

const std::array<const char*, HorseRowColumnCount> HorseListCaptions = {"ID",
                                                                        "馬名",
                                                                        "性齢",
                                                                        "基本能力",
                                                                        "距離適性",
                                                                        "コース適性",
                                                                        "発動系アビリティ",
                                                                        "装備系アビリティ"};

namespace {

std::string BasicAbilitiesText(const TDM_HorseStatus& table, int index) {
    std::string text;
    for (const std::int32_t value : table.BasicAbilities(index)) {
        char digits[16];
        std::snprintf(digits, sizeof digits, "%.2d", static_cast<int>(value));
        if (!text.empty())
            text += '/';
        text += digits;
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
