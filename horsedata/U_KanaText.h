// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include <string>
#include <string_view>

// `text` (UTF-8) as it is compared when searched for: hiragana as katakana, half-width
// katakana and full-width Latin letters, digits and signs at their usual width, Latin letters
// in lower case. So しる, ｼﾙ and シル all fold to シル.
std::u32string FoldedText(std::string_view text);
std::u32string FoldedText(std::u32string_view text);

// `text` (UTF-8) as code points, one a character, leniently: a malformed sequence gives some
// code point rather than an error, as the names of a file may hold anything.
std::u32string DecodedText(std::string_view text);
// `text` in UTF-8, a value that is no character as U+FFFD.
std::string Utf8Text(std::u32string_view text);

// The key by which the texts of a column sort in kana order: the folded text with each kana
// at its plain, full-size sound (ガ as カ, ッ as ツ) and ー as the vowel before it (スーパー
// as ススパア), so that the gojūon order decides first. Texts with equal keys then go in the
// order of their folded texts, where a plain sound comes before its voiced one. Characters
// other than kana (kanji, Latin letters) keep their code point order, after the digits and
// Latin letters come the kana, then the kanji.
std::u32string KanaSortKey(std::string_view text);
// Whether `a` comes before `b` in kana order.
bool KanaBefore(std::string_view a, std::string_view b);
