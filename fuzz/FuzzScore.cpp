// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// The 評価式 and 絞り込み parsers: the input is the text typed, any bytes. It either parses or
// gives one error pointing into the text; a parsed expression gives every horse a finite value
// or none, and its tooltip sum; a parsed filter is applied to every horse, sorted by 評価.
#include "FuzzChecks.h"
#include "U_KanaText.h"
#include "U_ScoreExpression.h"
#include "U_TableQuery.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

// Every slot listed, with values from the least to the greatest a record holds and zeros to
// divide by.
TDM_HorseStatus ScoredTable() {
    TDM_HorseStatus table;
    for (int i = 0; i < RecordCount; ++i) {
        table.Registered[i] = 1;
        table.HorseName[i] = i % 2 ? "シルバー" : "ｺﾞｰﾙﾄﾞ";
        for (const BasicAbilityField& field : BasicAbilityFields)
            (table.*field.Column)[i] = i % 3 == 0 ? field.Least : field.Greatest - i;
        table.LowerDistance[i] = 1000 + 50 * i;
        table.UpperDistance[i] = 4000 - 20 * i;
    }
    return table;
}

void CheckError(const InputError& error, std::string_view text) {
    Check(!error.Message.empty(), "an error without a message");
    Check(error.Position >= 0 && error.Position <= static_cast<int>(DecodedText(text).size()) + 1,
          "an error's position outside the text");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const TDM_HorseStatus table = ScoredTable();
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::optional<ScoreExpression> score;
    auto parsed = ScoreExpression::Parse(text);
    if (const InputError* error = std::get_if<InputError>(&parsed))
        CheckError(*error, text);
    else {
        score = std::get<ScoreExpression>(std::move(parsed));
        for (int i = 0; i < RecordCount; ++i) {
            const std::optional<double> value = score->Value(table, i);
            Check(!value || std::isfinite(*value), "a value that is not finite");
            Check(!score->Breakdown(table, i).empty(), "an empty breakdown");
        }
    }
    const auto filter = TableFilter::Parse(text, score);
    if (const InputError* error = std::get_if<InputError>(&filter))
        CheckError(*error, text);
    else
        ShownHorses(table, std::get<TableFilter>(filter), {std::nullopt, true, true},
                    score ? &*score : nullptr);
    return 0;
}
