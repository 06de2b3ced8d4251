// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include "U_HorseStatus.h"

#include <array>
#include <string>

inline constexpr int HorseRowColumnCount = 8;
using HorseRowTexts = std::array<std::string, HorseRowColumnCount>;

// Captions of the horse list's columns, left to right.
extern const std::array<const char*, HorseRowColumnCount> HorseListCaptions;

// The eight texts of the list row of horse `index`: ID, name, sex and age, basic abilities,
// distance aptitude, course aptitude, activation and equipment abilities.
HorseRowTexts HorseRow(const TDM_HorseStatus& table, int index);

// The list's text for four ability slots: each filled slot's name, with "/" after those of
// slots 1 to 3; empty slots leave nothing.
std::string AbilityText(const std::array<std::int32_t, AbilitySlotCount>& codes,
                        std::string (*nameOf)(unsigned));

// One line of tab-separated text, for a spreadsheet: `texts` in order, a tab between two and a
// line feed at the end, appended to `text`. No text of a horse holds a tab or a line break, so a
// line is one row.
template <class Texts> void AppendTsvLine(std::string& text, const Texts& texts) {
    for (const auto& cell : texts) {
        if (&cell != &texts[0])
            text += '\t';
        text += cell;
    }
    text += '\n';
}

template <class Texts> std::string TsvLine(const Texts& texts) {
    std::string line;
    AppendTsvLine(line, texts);
    return line;
}
