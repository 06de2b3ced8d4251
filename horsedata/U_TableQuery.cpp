// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_TableQuery.h"

#include "U_KanaText.h"

#include <algorithm>
#include <charconv>
#include <tuple>

TableFilter::TableFilter(std::string_view text) {
    std::u32string folded = FoldedText(text);
    const auto first = folded.find_first_not_of(U' ');
    folded = first == std::u32string::npos
                 ? std::u32string()
                 : folded.substr(first, folded.find_last_not_of(U' ') - first + 1);
    std::string digits;
    for (const char32_t c : folded)
        digits += c >= U'0' && c <= U'9' ? static_cast<char>(c) : 'x';
    int number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (!digits.empty() && error == std::errc() && end == digits.data() + digits.size() &&
        number >= 1000 && number <= 4000)
        distance_ = number;
    else
        folded_ = std::move(folded);
}

bool TableFilter::Keeps(const TDM_HorseStatus& table, int index) const {
    if (distance_)
        return table.LowerDistance[index] <= *distance_ && *distance_ <= table.UpperDistance[index];
    if (folded_.empty())
        return true;
    for (int field = NameField; field < SlotStateField; ++field) {
        const HorseField& f = HorseFields[field];
        if ((f.Kind == FieldKind::Name || IsAbilitySlot(f)) &&
            FoldedText(FieldText(table, field, index)).find(folded_) != std::u32string::npos)
            return true;
    }
    return false;
}

bool SortsHighestFirst(int field) {
    return HorseFields[field].Kind == FieldKind::Number;
}

std::vector<int> ShownHorses(const TDM_HorseStatus& table, const TableFilter& filter,
                             const TableSort& sort) {
    std::vector<int> shown;
    for (int i = 0; i < RecordCount; ++i)
        if (table.Registered[i] == 1 && filter.Keeps(table, i))
            shown.push_back(i);
    if (!sort.Field)
        return shown;
    const int field = *sort.Field;
    // The slots are in ID order already, so a stable sort keeps ties so.
    if (HorseFields[field].Kind == FieldKind::Number) {
        std::stable_sort(shown.begin(), shown.end(), [&](int a, int b) {
            return sort.Descending ? FieldValue(table, field, a) > FieldValue(table, field, b)
                                   : FieldValue(table, field, a) < FieldValue(table, field, b);
        });
        return shown;
    }
    // The texts' keys are made once each rather than at every comparison.
    struct Keyed {
        std::u32string Key, Folded;
        int Index;
    };
    std::vector<Keyed> keyed;
    for (const int i : shown) {
        const std::string text = FieldText(table, field, i);
        keyed.push_back({KanaSortKey(text), FoldedText(text), i});
    }
    std::stable_sort(keyed.begin(), keyed.end(), [&](const Keyed& a, const Keyed& b) {
        const auto order = std::tie(a.Key, a.Folded) <=> std::tie(b.Key, b.Folded);
        return sort.Descending ? order > 0 : order < 0;
    });
    for (std::size_t n = 0; n < keyed.size(); ++n)
        shown[n] = keyed[n].Index;
    return shown;
}

std::optional<std::array<std::int32_t, BasicAbilityCount>>
BestAbilities(const TDM_HorseStatus& table, std::span<const int> indexes) {
    if (indexes.empty())
        return std::nullopt;
    std::array<std::int32_t, BasicAbilityCount> best = table.BasicAbilities(indexes.front());
    for (const int i : indexes) {
        const std::array<std::int32_t, BasicAbilityCount> values = table.BasicAbilities(i);
        for (int n = 0; n < BasicAbilityCount; ++n)
            best[n] = std::max(best[n], values[n]);
    }
    return best;
}
