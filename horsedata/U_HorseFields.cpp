// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_HorseFields.h"

#include "U_Analyze.h"

#include <charconv>
#include <iterator>

std::int32_t FieldValue(const TDM_HorseStatus& table, int field, int index) {
    const HorseField& f = HorseFields[field];
    switch (f.Kind) {
    case FieldKind::Number:
        return (table.*f.Numbers)[index];
    case FieldKind::ExeAbility:
        return table.ExeAbility[f.Slot][index];
    case FieldKind::EqpAbility:
        return table.EqpAbility[f.Slot][index];
    case FieldKind::Name:
        break;
    }
    return 0;
}

void AppendFieldText(std::string& text, const TDM_HorseStatus& table, int field, int index) {
    const HorseField& f = HorseFields[field];
    const auto code = [&] { return static_cast<unsigned>(FieldValue(table, field, index)); };
    switch (f.Kind) {
    case FieldKind::Number: {
        char digits[16];
        text.append(
            digits,
            std::to_chars(std::begin(digits), std::end(digits), (table.*f.Numbers)[index]).ptr);
        break;
    }
    case FieldKind::Name:
        text += (table.*f.Names)[index];
        break;
    case FieldKind::ExeAbility:
        text += TDM_Analyze::ExeAbilityName(code());
        break;
    case FieldKind::EqpAbility:
        text += TDM_Analyze::EqpAbilityName(code());
        break;
    }
}

std::string FieldText(const TDM_HorseStatus& table, int field, int index) {
    std::string text;
    AppendFieldText(text, table, field, index);
    return text;
}
