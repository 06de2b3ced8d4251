// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include "U_HorseFields.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The differences between two versions of the table, and between two horses of one.

// The field holds the same value in both tables (the same text, for a name).
bool SameField(const TDM_HorseStatus& a, const TDM_HorseStatus& b, int field, int index);

// One field of one slot that differs between two versions of the table.
struct FieldChange {
    int HorseID;
    std::string HorseName; // the newer version's, or the older's where the slot was emptied
    int Field;             // position in HorseFields
    // The field's texts; where two different codes read the same, each is followed by its code,
    // as "大まくり (18)".
    std::string Old, New;
    std::optional<std::int32_t> Difference; // new - old, for a measured field
};

// Every field of every slot whose value differs from `old` to `now`, in slot order and then in
// field order, the slot state last. Values are compared, not texts; texts are made only for
// what changed, so two equal tables cost 64 x 25 comparisons.
std::vector<FieldChange> CompareHorseTables(const TDM_HorseStatus& old, const TDM_HorseStatus& now);
// The same, appended to `changes`: a caller that compares every version keeps the vector's room,
// as a fresh one grows into blocks large enough to make the allocator tidy its whole heap.
void AppendHorseTableChanges(const TDM_HorseStatus& old, const TDM_HorseStatus& now,
                             std::vector<FieldChange>& changes);

// One row of the comparison of horse A with horse B: a field of HorseFields after the name,
// the two texts, and for a measured field A − B and which of the two is the higher.
struct ComparisonRow {
    int Field;
    std::string A, B;
    std::optional<std::int32_t> Difference;
    bool AHigher = false, BHigher = false;
};
// The fields from 父 to 装備系4 in --fields order.
inline constexpr int ComparedFieldCount = SlotStateField - NameField - 1;
std::vector<ComparisonRow> CompareHorses(const TDM_HorseStatus& table, int a, int b);
// A signed difference as the comparison writes it: +12, -3, 0.
std::string SignedText(std::int32_t difference);
