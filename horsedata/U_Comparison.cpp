// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_Comparison.h"

bool SameField(const TDM_HorseStatus& a, const TDM_HorseStatus& b, int field, int index) {
    const HorseField& f = HorseFields[field];
    if (f.Kind == FieldKind::Name)
        return (a.*f.Names)[index] == (b.*f.Names)[index];
    return FieldValue(a, field, index) == FieldValue(b, field, index);
}

namespace {

// The column of numbers or codes that a field reads, none for a name.
const IntColumn* NumberColumn(const TDM_HorseStatus& table, const HorseField& field) {
    switch (field.Kind) {
    case FieldKind::Number:
        return &(table.*field.Numbers);
    case FieldKind::ExeAbility:
        return &table.ExeAbility[field.Slot];
    case FieldKind::EqpAbility:
        return &table.EqpAbility[field.Slot];
    case FieldKind::Name:
        break;
    }
    return nullptr;
}

// A bit per slot in which any field differs, found a whole column at a time, which the
// compiler does several slots to an instruction: a version changes few slots, if any, and only
// those are then gone through field by field.
std::uint64_t DifferingSlots(const TDM_HorseStatus& old, const TDM_HorseStatus& now) {
    static_assert(RecordCount <= 64);
    std::uint64_t differing = 0;
    for (const HorseField& field : HorseFields) {
        const IntColumn* before = NumberColumn(old, field);
        const IntColumn* after = NumberColumn(now, field);
        if (before != nullptr && *before == *after)
            continue;
        if (before != nullptr)
            for (int i = 0; i < RecordCount; ++i)
                differing |= static_cast<std::uint64_t>((*before)[i] != (*after)[i]) << i;
        else
            for (int i = 0; i < RecordCount; ++i)
                differing |=
                    static_cast<std::uint64_t>((old.*field.Names)[i] != (now.*field.Names)[i]) << i;
    }
    return differing;
}

} // namespace

std::vector<FieldChange> CompareHorseTables(const TDM_HorseStatus& old,
                                            const TDM_HorseStatus& now) {
    std::vector<FieldChange> changes;
    AppendHorseTableChanges(old, now, changes);
    return changes;
}

void AppendHorseTableChanges(const TDM_HorseStatus& old, const TDM_HorseStatus& now,
                             std::vector<FieldChange>& changes) {
    const std::uint64_t differing = DifferingSlots(old, now);
    for (int i = 0; i < RecordCount; ++i) {
        if ((differing >> i & 1) == 0)
            continue;
        const bool emptied = old.Registered[i] == 1 && now.Registered[i] != 1;
        for (int field = 0; field < HorseFieldCount; ++field) {
            if (SameField(old, now, field, i))
                continue;
            FieldChange change{i,
                               emptied ? old.HorseName[i] : now.HorseName[i],
                               field,
                               FieldText(old, field, i),
                               FieldText(now, field, i),
                               std::nullopt};
            const std::int32_t before = FieldValue(old, field, i);
            const std::int32_t after = FieldValue(now, field, i);
            if (change.Old == change.New) {
                change.Old += " (" + std::to_string(before) + ")";
                change.New += " (" + std::to_string(after) + ")";
            }
            if (HorseFields[field].Measured)
                change.Difference = after - before;
            changes.push_back(std::move(change));
        }
    }
}

std::vector<ComparisonRow> CompareHorses(const TDM_HorseStatus& table, int a, int b) {
    std::vector<ComparisonRow> rows;
    for (int field = NameField + 1; field < SlotStateField; ++field) {
        ComparisonRow row{field, FieldText(table, field, a), FieldText(table, field, b),
                          std::nullopt};
        if (HorseFields[field].Measured) {
            const std::int32_t valueA = FieldValue(table, field, a);
            const std::int32_t valueB = FieldValue(table, field, b);
            row.Difference = valueA - valueB;
            row.AHigher = valueA > valueB;
            row.BHigher = valueB > valueA;
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string SignedText(std::int32_t difference) {
    // Appended rather than prefixed: GCC 12 warns wrongly of overlapping copies in "+" + text.
    std::string text = difference > 0 ? "+" : "";
    text += std::to_string(difference);
    return text;
}
