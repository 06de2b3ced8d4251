// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_HorseTable.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>
#include <tuple>

namespace {

// Half-width katakana and signs, U+FF61 to U+FF9D, at full width.
constexpr std::u32string_view FullWidthKana = U"。「」、・ヲァィゥェォャュョッー"
                                              U"アイウエオカキクケコサシスセソタチツテト"
                                              U"ナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン";
static_assert(FullWidthKana.size() == 0xFF9D - 0xFF61 + 1);
// The katakana U+30A1 to U+30F6 at their plain, full-size sound, and the vowel of each.
constexpr char32_t FirstKatakana = U'ァ';
constexpr std::u32string_view PlainKana =
    U"アアイイウウエエオオカカキキククケケココササシシススセセソソ"
    U"タタチチツツツテテトトナニヌネノハハハヒヒヒフフフヘヘヘホホホ"
    U"マミムメモヤヤユユヨヨラリルレロワワヰヱヲンウカケ";
constexpr std::u32string_view KanaVowels =
    U"アアイイウウエエオオアアイイウウエエオオアアイイウウエエオオ"
    U"アアイイウウウエエオオアイウエオアアアイイイウウウエエエオオオ"
    U"アイウエオアアウウオオアイウエオアアイエオンウアエ";
static_assert(PlainKana.size() == U'ヶ' - FirstKatakana + 1);
static_assert(KanaVowels.size() == PlainKana.size());
// Kana that a half-width voiced sound mark (ﾞ) voices as the next code point; the ハ row takes
// the semi-voiced mark (ﾟ) as the one after.
constexpr std::u32string_view Voiceable = U"カキクケコサシスセソタチツテトハヒフヘホ";

std::u32string Decoded(std::string_view text) {
    std::u32string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const int length = byte < 0x80 ? 1 : byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 2;
        char32_t code = length == 1 ? byte : byte & (0x3F >> (length - 1));
        for (int k = 1; k < length && i + k < text.size(); ++k)
            code = code << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        out += code;
        i += length;
    }
    return out;
}

bool IsKatakana(char32_t c) {
    return c >= FirstKatakana && c <= U'ヶ';
}

} // namespace

std::u32string FoldedText(std::string_view text) {
    std::u32string out;
    for (char32_t c : Decoded(text)) {
        if (c >= U'ぁ' && c <= U'ゖ')
            c += U'ァ' - U'ぁ';
        else if (c >= U'！' && c <= U'～')
            c -= U'！' - U'!';
        else if (c == U'　')
            c = U' ';
        else if (c == U'ﾞ' || c == U'ﾟ') {
            // A mark after a kana that takes it makes the one voiced kana.
            const bool voiced = c == U'ﾞ';
            if (!out.empty() && Voiceable.find(out.back()) != std::u32string_view::npos &&
                (voiced || out.back() >= U'ハ')) {
                out.back() += voiced ? 1 : 2;
                continue;
            }
            if (voiced && !out.empty() && out.back() == U'ウ') {
                out.back() = U'ヴ';
                continue;
            }
            c = voiced ? U'゛' : U'゜';
        } else if (c >= U'｡' && c <= U'ﾝ')
            c = FullWidthKana[c - U'｡'];
        if (c >= U'A' && c <= U'Z')
            c += U'a' - U'A';
        out += c;
    }
    return out;
}

std::u32string KanaSortKey(std::string_view text) {
    std::u32string key = FoldedText(text);
    char32_t vowel = U'ー';
    for (char32_t& c : key) {
        if (IsKatakana(c)) {
            vowel = KanaVowels[c - FirstKatakana];
            c = PlainKana[c - FirstKatakana];
        } else if (c == U'ー')
            c = vowel;
    }
    return key;
}

bool KanaBefore(std::string_view a, std::string_view b) {
    const std::u32string keyA = KanaSortKey(a), keyB = KanaSortKey(b);
    if (keyA != keyB)
        return keyA < keyB;
    return FoldedText(a) < FoldedText(b);
}

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

ChartPoint AbilityChartPoint(int ability, std::int32_t value) {
    const BasicAbilityField& field = BasicAbilityFields[ability];
    const double share =
        static_cast<double>(std::clamp(value, field.Least, field.Greatest) - field.Least) /
        (field.Greatest - field.Least);
    const double angle = 2 * std::numbers::pi * ability / BasicAbilityCount;
    return {share * std::sin(angle), -share * std::cos(angle)};
}

double ContrastRatio(std::uint32_t a, std::uint32_t b) {
    const auto luminance = [](std::uint32_t rgb) {
        const auto linear = [](std::uint32_t channel) {
            const double c = (channel & 0xFF) / 255.0;
            return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(rgb >> 16) + 0.7152 * linear(rgb >> 8) + 0.0722 * linear(rgb);
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}
