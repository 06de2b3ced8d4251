// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_TableQuery.h"

#include "U_KanaText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <tuple>

namespace {

using Comparison = TableFilter::Comparison;

// The comparison at `at` of the term's folded text and the characters it takes.
std::optional<std::pair<Comparison, std::size_t>> ComparisonAt(std::u32string_view folded,
                                                               std::size_t at) {
    const bool equalNext = at + 1 < folded.size() && folded[at + 1] == U'=';
    switch (folded[at]) {
    case U'<':
        return equalNext ? std::pair{Comparison::LessOrEqual, 2} : std::pair{Comparison::Less, 1};
    case U'>':
        return equalNext ? std::pair{Comparison::GreaterOrEqual, 2}
                         : std::pair{Comparison::Greater, 1};
    case U'=':
        return std::pair{Comparison::Equal, 1};
    case U'≦':
        return std::pair{Comparison::LessOrEqual, 1};
    case U'≧':
        return std::pair{Comparison::GreaterOrEqual, 1};
    default:
        return std::nullopt;
    }
}

// A decimal number, perhaps with a minus (-, −, ー) before it.
std::optional<double> NumberIn(std::u32string_view folded) {
    std::string digits;
    for (const char32_t c : folded) {
        const bool minus = c == U'-' || c == U'−' || c == U'ー';
        if (minus && digits.empty())
            digits += '-';
        else if ((c >= U'0' && c <= U'9') || c == U'.')
            digits += static_cast<char>(c);
        else
            return std::nullopt;
    }
    double number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    return number;
}

// Folds one term, `text` from `start` to `end`, with each character's own fold, so that an
// index into it is one into the text (a half-width sound mark stays a character of its own).
std::u32string FoldedByCharacter(std::u32string_view text) {
    std::u32string folded;
    for (const char32_t c : text)
        folded += FoldedText(std::u32string_view(&c, 1));
    return folded;
}

InputError TermError(std::u32string_view quoted, std::size_t start, const char* message) {
    return {"「" + Utf8Text(quoted) + "」" + message, static_cast<int>(start) + 1};
}

} // namespace

std::variant<TableFilter, InputError> TableFilter::Parse(std::string_view text,
                                                         std::optional<ScoreExpression> score) {
    TableFilter filter;
    filter.score_ = std::move(score);
    const std::u32string chars = DecodedText(text);
    const std::u32string folded = FoldedByCharacter(chars);
    const std::u32string_view view(chars), foldedView(folded);
    for (std::size_t start = 0; start < chars.size();) {
        if (folded[start] == U' ' || folded[start] == U'\t') {
            ++start;
            continue;
        }
        std::size_t end = start;
        while (end < chars.size() && folded[end] != U' ' && folded[end] != U'\t')
            ++end;
        const std::u32string term = FoldedText(view.substr(start, end - start));
        std::size_t at = start;
        while (at < end && !ComparisonAt(foldedView.substr(0, end), at))
            ++at;
        if (at == end) {
            const std::optional<double> number = NumberIn(term);
            if (number && *number >= 1000 && *number <= 4000 && *number == std::floor(*number) &&
                term.find_first_of(U"-.ー−") == std::u32string::npos)
                filter.distances_.push_back(static_cast<int>(*number));
            else
                filter.texts_.push_back(term);
            start = end;
            continue;
        }
        const auto [compare, length] = *ComparisonAt(foldedView.substr(0, end), at);
        const std::u32string caption = FoldedText(view.substr(start, at - start));
        Condition condition{std::nullopt, compare, 0};
        if (caption.empty())
            return TermError(view.substr(start, end - start), start, "の前に項目名がありません");
        if (caption != FoldedText(ScoreCaption)) {
            condition.Field = MeasuredFieldNamed(caption);
            if (!condition.Field)
                return TermError(view.substr(start, at - start), start, "は項目名ではありません");
        }
        const std::size_t value = at + length;
        const std::optional<double> number = NumberIn(FoldedText(view.substr(value, end - value)));
        if (value == end)
            return TermError(view.substr(start, end - start), start, "の後に数がありません");
        if (!number)
            return TermError(view.substr(value, end - value), value, "は数ではありません");
        condition.Number = *number;
        filter.conditions_.push_back(condition);
        start = end;
    }
    return filter;
}

bool TableFilter::HoldsText(const TDM_HorseStatus& table, int index,
                            const std::u32string& text) const {
    for (int field = NameField; field < SlotStateField; ++field) {
        const HorseField& f = HorseFields[field];
        if ((f.Kind == FieldKind::Name || IsAbilitySlot(f)) &&
            FoldedText(FieldText(table, field, index)).find(text) != std::u32string::npos)
            return true;
    }
    return false;
}

bool TableFilter::Passes(const TDM_HorseStatus& table, int index,
                         const Condition& condition) const {
    std::optional<double> value;
    if (condition.Field)
        value = FieldValue(table, *condition.Field, index);
    else if (score_)
        value = score_->Value(table, index);
    if (!value)
        return false;
    switch (condition.Compare) {
    case Comparison::Less:
        return *value < condition.Number;
    case Comparison::LessOrEqual:
        return *value <= condition.Number;
    case Comparison::Equal:
        return *value == condition.Number;
    case Comparison::GreaterOrEqual:
        return *value >= condition.Number;
    case Comparison::Greater:
        return *value > condition.Number;
    }
    return false;
}

bool TableFilter::Keeps(const TDM_HorseStatus& table, int index) const {
    for (const int distance : distances_)
        if (table.LowerDistance[index] > distance || distance > table.UpperDistance[index])
            return false;
    for (const Condition& condition : conditions_)
        if (!Passes(table, index, condition))
            return false;
    for (const std::u32string& text : texts_)
        if (!HoldsText(table, index, text))
            return false;
    return true;
}

bool SortsHighestFirst(int field) {
    return HorseFields[field].Kind == FieldKind::Number;
}

namespace {

// Each value is worked out once, rather than at every comparison.
void SortByScore(std::vector<int>& shown, const TDM_HorseStatus& table,
                 const ScoreExpression& score, bool descending) {
    std::vector<std::pair<double, int>> scored;
    for (const int i : shown)
        scored.emplace_back(
            score.Value(table, i).value_or(-std::numeric_limits<double>::infinity()), i);
    std::stable_sort(scored.begin(), scored.end(), [&](const auto& a, const auto& b) {
        return descending ? a.first > b.first : a.first < b.first;
    });
    for (std::size_t n = 0; n < scored.size(); ++n)
        shown[n] = scored[n].second;
}

} // namespace

std::vector<int> ShownHorses(const TDM_HorseStatus& table, const TableFilter& filter,
                             const TableSort& sort, const ScoreExpression* score) {
    std::vector<int> shown;
    for (int i = 0; i < RecordCount; ++i)
        if (table.Registered[i] == 1 && filter.Keeps(table, i))
            shown.push_back(i);
    if (sort.ByScore && score != nullptr)
        SortByScore(shown, table, *score, sort.Descending);
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
