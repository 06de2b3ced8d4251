// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include "U_HorseStatus.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What a field holds: a number, a name, or the code of an ability in one of the four slots of
// either kind.
enum class FieldKind { Number, Name, ExeAbility, EqpAbility };

// One field of a horse: a column of stallark-dump --fields and of the ability table, a row of
// the comparison of two horses, a 項目 of a change.
struct HorseField {
    const char* Caption;
    // The JSON name: of the number or the name; of the array of codes for an ability slot.
    const char* Key;
    FieldKind Kind;
    IntColumn TDM_HorseStatus::*Numbers = nullptr; // for a number
    TextColumn TDM_HorseStatus::*Names = nullptr;  // for a name
    int Slot = 0;                                  // for an ability, 0..3
    // One of the ten basic abilities or a distance limit: a change has a signed difference.
    bool Measured = false;
};

inline constexpr int HorseFieldCount = 25;

namespace HorseFieldDetail {
constexpr HorseField Number(const char* caption, const char* key,
                            IntColumn TDM_HorseStatus::*numbers, bool measured) {
    return {caption, key, FieldKind::Number, numbers, nullptr, 0, measured};
}
constexpr HorseField Name(const char* caption, const char* key,
                          TextColumn TDM_HorseStatus::*names) {
    return {caption, key, FieldKind::Name, nullptr, names};
}
constexpr HorseField Basic(int ability) {
    const BasicAbilityField& field = BasicAbilityFields[ability];
    return Number(field.Caption, field.Key, field.Column, true);
}
constexpr HorseField Ability(FieldKind kind, const char* caption, int slot) {
    return {caption, kind == FieldKind::ExeAbility ? "ExeAbility" : "EqpAbility",
            kind,    nullptr,
            nullptr, slot};
}
} // namespace HorseFieldDetail

// Every field of a horse in the order of stallark-dump --fields: the slot, the names, the ten
// basic abilities, the distance aptitude's two ends, the eight ability slots; and last the slot
// state, which --fields writes with --all only.
inline constexpr std::array<HorseField, HorseFieldCount> HorseFields = [] {
    using namespace HorseFieldDetail;
    using T = TDM_HorseStatus;
    return std::array<HorseField, HorseFieldCount>{
        Number("ID", "HorseID", &T::HorseID, false),
        Name("馬名", "HorseName", &T::HorseName),
        Name("父", "FatherName", &T::FatherName),
        Name("母", "MotherName", &T::MotherName),
        Basic(0),
        Basic(1),
        Basic(2),
        Basic(3),
        Basic(4),
        Basic(5),
        Basic(6),
        Basic(7),
        Basic(8),
        Basic(9),
        Number("距離適性下限", "LowerDistance", &T::LowerDistance, true),
        Number("距離適性上限", "UpperDistance", &T::UpperDistance, true),
        Ability(FieldKind::ExeAbility, "発動系1", 0),
        Ability(FieldKind::ExeAbility, "発動系2", 1),
        Ability(FieldKind::ExeAbility, "発動系3", 2),
        Ability(FieldKind::ExeAbility, "発動系4", 3),
        Ability(FieldKind::EqpAbility, "装備系1", 0),
        Ability(FieldKind::EqpAbility, "装備系2", 1),
        Ability(FieldKind::EqpAbility, "装備系3", 2),
        Ability(FieldKind::EqpAbility, "装備系4", 3),
        Number("登録状態", "Registered", &T::Registered, false),
    };
}();

// Positions in HorseFields that code names.
inline constexpr int NameField = 1;
inline constexpr int FirstBasicAbilityField = 4;
inline constexpr int SlotStateField = HorseFieldCount - 1;
static_assert(HorseFields[FirstBasicAbilityField].Numbers == BasicAbilityFields[0].Column);
static_assert(HorseFields[SlotStateField].Numbers == &TDM_HorseStatus::Registered);

inline bool IsAbilitySlot(const HorseField& field) {
    return field.Kind == FieldKind::ExeAbility || field.Kind == FieldKind::EqpAbility;
}

// The value of field `field` of slot `index`: the number, or the ability's code; a name has
// none (0): it is its text.
std::int32_t FieldValue(const TDM_HorseStatus& table, int field, int index);
// Its text as stallark-dump --fields writes it: a plain decimal, the name, or the ability's
// name (empty for an empty slot, ？ for a code without a name), appended to `text`.
void AppendFieldText(std::string& text, const TDM_HorseStatus& table, int field, int index);
std::string FieldText(const TDM_HorseStatus& table, int field, int index);
