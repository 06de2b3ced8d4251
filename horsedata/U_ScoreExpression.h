// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include "U_HorseStatus.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// The player's own rating of a horse, 評価: an expression over the measured fields that the
// ability table shows as a column, 絞り込み compares and stallark-dump --score writes.

// Why a typed text is not an expression or a filter: a message in Japanese and the character,
// counted from 1, where the fault lies; 0 for the text as a whole.
struct InputError {
    std::string Message;
    int Position = 0;
};
// The message as shown to the user: 「スピ」は項目名ではありません (3 文字目).
std::string ErrorText(const InputError& error);

inline constexpr const char* ScoreCaption = "評価";
// Longer texts and deeper parentheses are errors of their own, so that parsing any text is
// quick and its recursion shallow.
inline constexpr int MaxScoreLength = 300;
inline constexpr int MaxScoreNesting = 20;

// The measured field of HorseFields (an ability or an end of the distance aptitude) whose
// caption folds (FoldedText) to `folded`.
std::optional<int> MeasuredFieldNamed(std::u32string_view folded);

// An expression parsed once into a postfix program that is then run for each horse without
// allocating. It takes + - * / (also full-width, and − × ÷), parentheses, unary minus,
// decimal numbers and the captions of the measured fields, folded as 絞り込み folds them.
// A ー where no caption can go on (at the start of a word, or right after a caption, as in
// スピードースタミナ) is a minus: the Japanese input method types - as ー.
class ScoreExpression {
public:
    static std::variant<ScoreExpression, InputError> Parse(std::string_view text);

    // The value for slot `index`; none where it divides by zero or leaves the doubles' range.
    std::optional<double> Value(const TDM_HorseStatus& table, int index) const;

    // The sum term by term for slot `index`, for a tooltip. Each top-level term added or
    // subtracted ("- " before it) is written as the captions it names, then the term with each
    // caption's value in its place (* as ×) and " = " its value: "スピード 120×2 = 240"; a
    // term that is a bare caption as "スタミナ 95", a bare number as itself. A term's value has
    // one decimal unless it is whole; the total after "; 計 " always one, as the column shows
    // it. ― stands for no value.
    std::string Breakdown(const TDM_HorseStatus& table, int index) const;

private:
    enum class OpKind : unsigned char { Number, Field, Add, Subtract, Multiply, Divide, Negate };
    struct Op {
        OpKind Kind;
        double Number = 0;                            // for a number
        IntColumn TDM_HorseStatus::*Column = nullptr; // for a field
    };
    enum class TokenKind : unsigned char { Number, Field, Plus, Minus, Times, Divide, Open, Close };
    struct Token {
        TokenKind Kind;
        int Start, Length; // in characters of the text
        double Number = 0;
        int Field = 0;
        std::string Text = {}; // as written: ASCII for a number, the caption for a field
    };
    // A term of the top-level sum: its tokens and its ops, end exclusive.
    struct Term {
        bool Subtracted;
        std::size_t FirstToken, EndToken, FirstOp, EndOp;
    };

    ScoreExpression() = default;
    friend class ScoreParser;
    // Runs ops `first` to `end` (exclusive), which leave one value.
    std::optional<double> Run(std::size_t first, std::size_t end, const TDM_HorseStatus& table,
                              int index) const;

    std::vector<Op> code_;
    std::vector<Token> tokens_;
    std::vector<Term> terms_;
};

// `value` with one decimal, as the 評価 column shows it: 379.0, -2.5, never -0.0.
void AppendScoreText(std::string& text, double value);
std::string ScoreText(double value);
