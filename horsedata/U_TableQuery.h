// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include "U_HorseFields.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Which horses the ability table shows, in what order, and which of their values are the best.

// What the 絞り込み field keeps. A whole number from 1000 to 4000 keeps the horses whose
// distance aptitude holds it; any other text the horses whose name, sire's or dam's name or one
// of whose ability names holds it, folded alike; an empty text every horse.
class TableFilter {
public:
    TableFilter() = default;
    explicit TableFilter(std::string_view text);

    bool Keeps(const TDM_HorseStatus& table, int index) const;
    std::optional<int> Distance() const { return distance_; }

private:
    std::u32string folded_;
    std::optional<int> distance_;
};

// An order of the table's rows: by a field of HorseFields, highest or last in kana order first
// when descending; with no field, in ID order. Rows with equal values stay in ID order.
struct TableSort {
    std::optional<int> Field;
    bool Descending = false;
};

// Whether a field's first sort puts the highest first: the numbers do, the texts go in kana
// order from the start.
bool SortsHighestFirst(int field);

// The listed horses (slot state exactly 1) that `filter` keeps, in the order `sort` gives.
std::vector<int> ShownHorses(const TDM_HorseStatus& table, const TableFilter& filter,
                             const TableSort& sort);

// The highest value of each of the ten basic abilities among `indexes`, in the order of
// BasicAbilityFields; nothing with no horse.
std::optional<std::array<std::int32_t, BasicAbilityCount>>
BestAbilities(const TDM_HorseStatus& table, std::span<const int> indexes);
