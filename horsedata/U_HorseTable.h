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

// What the ability table and the comparison of two horses show, apart from any window: which
// horses, in what order, which values are the best, and where a value lies on the chart.

// `text` (UTF-8) as it is compared when searched for: hiragana as katakana, half-width
// katakana and full-width Latin letters, digits and signs at their usual width, Latin letters
// in lower case. So しる, ｼﾙ and シル all fold to シル.
std::u32string FoldedText(std::string_view text);

// The key by which the texts of a column sort in kana order: the folded text with each kana
// at its plain, full-size sound (ガ as カ, ッ as ツ) and ー as the vowel before it (スーパー
// as ススパア), so that the gojūon order decides first. Texts with equal keys then go in the
// order of their folded texts, where a plain sound comes before its voiced one. Characters
// other than kana (kanji, Latin letters) keep their code point order, after the digits and
// Latin letters come the kana, then the kanji.
std::u32string KanaSortKey(std::string_view text);
// Whether `a` comes before `b` in kana order.
bool KanaBefore(std::string_view a, std::string_view b);

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

// A point of the ability chart, in units of the chart's radius from its centre, y downwards.
struct ChartPoint {
    double X, Y;
};
// Where the value of basic ability `ability` lies on the chart: the axes start at the top and
// go clockwise, evenly apart; on each, the ability's least value is the centre and its greatest
// the rim. A value outside the range is drawn at its nearer end.
ChartPoint AbilityChartPoint(int ability, std::int32_t value);

// The contrast ratio of two sRGB colours (0xRRGGBB), 1 to 21, as accessibility guidelines
// measure it.
double ContrastRatio(std::uint32_t a, std::uint32_t b);
