// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include "U_HorseFields.h"
#include "U_ScoreExpression.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// Which horses the ability table shows, in what order, and which of their values are the best.

// What the 絞り込み field keeps: the horses that pass each of its terms, which spaces (either
// width) separate. A term
// - 項目>=N (or >, <=, <, =, also full-width, ≧ and ≦) compares a measured field, named by
//   its caption as a 評価式 names it, or 評価, the value of the current 評価式, with the number
//   N; a horse with no 評価 fails it;
// - a whole number from 1000 to 4000 keeps the horses whose distance aptitude holds it;
// - any other text keeps the horses whose name, sire's or dam's name or one of whose ability
//   names holds it, folded alike.
// No term keeps every horse.
class TableFilter {
public:
    TableFilter() = default;
    static std::variant<TableFilter, InputError>
    Parse(std::string_view text, std::optional<ScoreExpression> score = std::nullopt);

    bool Keeps(const TDM_HorseStatus& table, int index) const;

    enum class Comparison { Less, LessOrEqual, Equal, GreaterOrEqual, Greater };
    struct Condition {
        std::optional<int> Field; // none for 評価
        Comparison Compare;
        double Number;
    };

private:
    bool HoldsText(const TDM_HorseStatus& table, int index, const std::u32string& text) const;
    bool Passes(const TDM_HorseStatus& table, int index, const Condition& condition) const;

    std::vector<std::u32string> texts_;
    std::vector<int> distances_;
    std::vector<Condition> conditions_;
    std::optional<ScoreExpression> score_;
};

// An order of the table's rows: by a field of HorseFields, highest or last in kana order first
// when descending; with no field, in ID order. Rows with equal values stay in ID order.
struct TableSort {
    std::optional<int> Field;
    bool Descending = false;
    // By the 評価 instead, a horse with none below every value.
    bool ByScore = false;
};

// Whether a field's first sort puts the highest first: the numbers do, the texts go in kana
// order from the start.
bool SortsHighestFirst(int field);

// The listed horses (slot state exactly 1) that `filter` keeps, in the order `sort` gives.
std::vector<int> ShownHorses(const TDM_HorseStatus& table, const TableFilter& filter,
                             const TableSort& sort, const ScoreExpression* score = nullptr);

// The highest value of each of the ten basic abilities among `indexes`, in the order of
// BasicAbilityFields; nothing with no horse.
std::optional<std::array<std::int32_t, BasicAbilityCount>>
BestAbilities(const TDM_HorseStatus& table, std::span<const int> indexes);
