// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_KanaText.h"

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

bool IsKatakana(char32_t c) {
    return c >= FirstKatakana && c <= U'ヶ';
}

} // namespace

std::u32string DecodedText(std::string_view text) {
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

std::string Utf8Text(std::u32string_view text) {
    std::string out;
    for (char32_t c : text) {
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            c = U'\uFFFD';
        if (c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        // The lead byte by the sequence's length, 2 to 4.
        constexpr unsigned char Lead[] = {0, 0, 0xC0, 0xE0, 0xF0};
        const int length = c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
        out += static_cast<char>(Lead[length] | c >> 6 * (length - 1));
        for (int k = length - 2; k >= 0; --k)
            out += static_cast<char>(0x80 | (c >> 6 * k & 0x3F));
    }
    return out;
}

std::u32string FoldedText(std::string_view text) {
    return FoldedText(DecodedText(text));
}

std::u32string FoldedText(std::u32string_view text) {
    std::u32string out;
    for (char32_t c : text) {
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
