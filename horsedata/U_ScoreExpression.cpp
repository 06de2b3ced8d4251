// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_ScoreExpression.h"

#include "U_HorseFields.h"
#include "U_KanaText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace {

// The program's stack never holds more than two pending operands a level of parentheses (one
// of a sum, one of a product) and the value being read.
constexpr int StackCapacity = 2 * (MaxScoreNesting + 1) + 1;
// Half-width kana with their sound marks take two characters each: スピード is six.
constexpr std::size_t LongestCaption = 12;
// What an error quotes of the text, in characters.
constexpr std::size_t LongestQuote = 20;

char32_t FoldedChar(char32_t c) {
    return FoldedText(std::u32string_view(&c, 1)).front();
}

bool IsSpace(char32_t c) {
    return c == U' ' || c == U'\t' || c == U'\n' || c == U'\r';
}

bool IsNumberChar(char32_t c) {
    return (c >= U'0' && c <= U'9') || c == U'.';
}

bool IsOperatorChar(char32_t c) {
    return std::u32string_view(U"+-*/()−×÷").find(c) != std::u32string_view::npos;
}

// A character of a caption: a letter of any script. ASCII signs that are no operator are
// refused as such rather than read as part of a name.
bool IsWordChar(char32_t c) {
    return (c >= U'a' && c <= U'z') || (c >= 0x80 && !IsOperatorChar(c));
}

std::string Quoted(std::u32string_view text) {
    if (text.size() > LongestQuote)
        return "「" + Utf8Text(text.substr(0, LongestQuote)) + "…」";
    return "「" + Utf8Text(text) + "」";
}

std::string WholeText(double value) {
    std::string text = ScoreText(value);
    if (text.ends_with(".0"))
        text.resize(text.size() - 2);
    return text;
}

} // namespace

std::string ErrorText(const InputError& error) {
    if (error.Position == 0)
        return error.Message;
    return error.Message + " (" + std::to_string(error.Position) + " 文字目)";
}

std::optional<int> MeasuredFieldNamed(std::u32string_view folded) {
    static const std::array<std::u32string, HorseFieldCount> captions = [] {
        std::array<std::u32string, HorseFieldCount> folded;
        for (int field = 0; field < HorseFieldCount; ++field)
            if (HorseFields[field].Measured)
                folded[field] = FoldedText(HorseFields[field].Caption);
        return folded;
    }();
    for (int field = 0; field < HorseFieldCount; ++field)
        if (!captions[field].empty() && captions[field] == folded)
            return field;
    return std::nullopt;
}

// Reads a text into tokens, then the tokens by recursive descent into the postfix program:
//   sum := product (('+' | '-') product)*      product := unary (('*' | '/') unary)*
//   unary := '-'* primary                      primary := number | caption | '(' sum ')'
class ScoreParser {
public:
    explicit ScoreParser(std::string_view text) : text_(DecodedText(text)) {}

    std::variant<ScoreExpression, InputError> Parse() {
        if (text_.size() > static_cast<std::size_t>(MaxScoreLength))
            return InputError{"式が長すぎます（" + std::to_string(MaxScoreLength) + " 文字まで）"};
        if (!Tokenize())
            return *error_;
        if (tokens_.empty())
            return InputError{"式が空です"};
        if (!Sum(0, true))
            return *error_;
        if (at_ < tokens_.size())
            return tokens_[at_].Kind == TokenKind::Close
                       ? Fail(tokens_[at_], "に対応する「(」がありません")
                       : MissingOperator();
        expression_.tokens_ = std::move(tokens_);
        return std::move(expression_);
    }

private:
    using TokenKind = ScoreExpression::TokenKind;
    using OpKind = ScoreExpression::OpKind;
    using Token = ScoreExpression::Token;

    InputError Fail(std::u32string_view quoted, int start, const std::string& message) {
        error_ = InputError{Quoted(quoted) + message, start + 1};
        return *error_;
    }
    InputError Fail(const Token& token, const std::string& message) {
        return Fail(std::u32string_view(text_).substr(token.Start, token.Length), token.Start,
                    message);
    }
    InputError MissingOperator() { return Fail(tokens_[at_], "の前に演算子がありません"); }

    void Add(TokenKind kind, std::size_t start, std::size_t length) {
        tokens_.push_back({kind, static_cast<int>(start), static_cast<int>(length)});
    }

    bool Tokenize() {
        for (std::size_t i = 0; i < text_.size();) {
            const char32_t c = FoldedChar(text_[i]);
            if (IsSpace(c))
                ++i;
            else if (IsNumberChar(c)) {
                if (!Number(i))
                    return false;
            } else if (IsOperatorChar(c)) {
                constexpr std::u32string_view Signs = U"+-*/()−×÷";
                constexpr std::array<TokenKind, 9> Kinds = {
                    TokenKind::Plus,   TokenKind::Minus, TokenKind::Times,
                    TokenKind::Divide, TokenKind::Open,  TokenKind::Close,
                    TokenKind::Minus,  TokenKind::Times, TokenKind::Divide};
                Add(Kinds[Signs.find(c)], i++, 1);
            } else if (IsWordChar(c)) {
                if (!Words(i))
                    return false;
            } else {
                Fail(std::u32string_view(text_).substr(i, 1), static_cast<int>(i),
                     "は式に使えない文字です");
                return false;
            }
        }
        return true;
    }

    bool Number(std::size_t& i) {
        const std::size_t start = i;
        std::string digits;
        for (; i < text_.size() && IsNumberChar(FoldedChar(text_[i])); ++i)
            digits += static_cast<char>(FoldedChar(text_[i]));
        double value = 0;
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (error != std::errc() || end != digits.data() + digits.size()) {
            Fail(std::u32string_view(text_).substr(start, i - start), static_cast<int>(start),
                 "は数として読めません");
            return false;
        }
        Add(TokenKind::Number, start, i - start);
        tokens_.back().Number = value;
        tokens_.back().Text = std::move(digits);
        return true;
    }

    // A run of letters: captions, each followed by nothing more of the run or by a ー that is
    // a minus; a ー at the start is a minus too.
    bool Words(std::size_t& i) {
        std::size_t end = i;
        while (end < text_.size() && IsWordChar(FoldedChar(text_[end])))
            ++end;
        const auto minusAt = [&](std::size_t at) {
            return at < end && FoldedChar(text_[at]) == U'ー';
        };
        while (i < end) {
            if (minusAt(i)) {
                Add(TokenKind::Minus, i++, 1);
                continue;
            }
            std::optional<int> field;
            std::size_t length = std::min(LongestCaption, end - i);
            for (; length > 0; --length)
                if (i + length == end || minusAt(i + length))
                    if ((field = MeasuredFieldNamed(
                             FoldedText(std::u32string_view(text_).substr(i, length)))))
                        break;
            if (!field) {
                Fail(std::u32string_view(text_).substr(i, end - i), static_cast<int>(i),
                     "は項目名ではありません");
                return false;
            }
            Add(TokenKind::Field, i, length);
            tokens_.back().Field = *field;
            tokens_.back().Text = HorseFields[*field].Caption;
            i += length;
        }
        return true;
    }

    bool Next(TokenKind kind) {
        if (at_ < tokens_.size() && tokens_[at_].Kind == kind) {
            ++at_;
            return true;
        }
        return false;
    }

    void Emit(OpKind kind) { expression_.code_.push_back({kind}); }

    bool Sum(int depth, bool topLevel) {
        bool subtracted = false;
        for (bool first = true;; first = false) {
            const std::size_t firstToken = at_, firstOp = expression_.code_.size();
            if (!Product(depth))
                return false;
            if (topLevel)
                expression_.terms_.push_back(
                    {subtracted, firstToken, at_, firstOp, expression_.code_.size()});
            if (!first)
                Emit(subtracted ? OpKind::Subtract : OpKind::Add);
            if (Next(TokenKind::Plus))
                subtracted = false;
            else if (Next(TokenKind::Minus))
                subtracted = true;
            else
                return true;
        }
    }

    bool Product(int depth) {
        if (!Unary(depth))
            return false;
        for (;;) {
            OpKind kind;
            if (Next(TokenKind::Times))
                kind = OpKind::Multiply;
            else if (Next(TokenKind::Divide))
                kind = OpKind::Divide;
            else
                return true;
            if (!Unary(depth))
                return false;
            Emit(kind);
        }
    }

    bool Unary(int depth) {
        bool negated = false;
        while (Next(TokenKind::Minus))
            negated = !negated;
        if (!Primary(depth))
            return false;
        if (negated)
            Emit(OpKind::Negate);
        return true;
    }

    bool Primary(int depth) {
        if (at_ == tokens_.size()) {
            Fail(tokens_.back(), "で式が終わっています");
            return false;
        }
        const Token& token = tokens_[at_];
        switch (token.Kind) {
        case TokenKind::Number:
            expression_.code_.push_back({OpKind::Number, token.Number});
            ++at_;
            return true;
        case TokenKind::Field:
            expression_.code_.push_back({OpKind::Field, 0, HorseFields[token.Field].Numbers});
            ++at_;
            return true;
        case TokenKind::Open:
            return Parenthesized(depth);
        case TokenKind::Close:
            if (depth == 0) {
                Fail(token, "に対応する「(」がありません");
                return false;
            }
            [[fallthrough]];
        default:
            Fail(token, "の前に値がありません");
            return false;
        }
    }

    bool Parenthesized(int depth) {
        const Token& open = tokens_[at_++];
        if (depth == MaxScoreNesting) {
            error_ = InputError{"括弧の入れ子が深すぎます（" + std::to_string(MaxScoreNesting) +
                                    " 重まで）",
                                open.Start + 1};
            return false;
        }
        if (!Sum(depth + 1, false))
            return false;
        if (Next(TokenKind::Close))
            return true;
        if (at_ < tokens_.size()) {
            MissingOperator();
            return false;
        }
        error_ = InputError{"括弧が閉じていません", open.Start + 1};
        return false;
    }

    std::u32string text_;
    std::vector<Token> tokens_;
    std::size_t at_ = 0;
    ScoreExpression expression_;
    std::optional<InputError> error_;
};

std::variant<ScoreExpression, InputError> ScoreExpression::Parse(std::string_view text) {
    return ScoreParser(text).Parse();
}

std::optional<double> ScoreExpression::Run(std::size_t first, std::size_t end,
                                           const TDM_HorseStatus& table, int index) const {
    std::array<double, StackCapacity> stack;
    std::size_t top = 0;
    for (std::size_t n = first; n < end; ++n) {
        const Op& op = code_[n];
        double result = 0;
        switch (op.Kind) {
        case OpKind::Number:
            stack[top++] = op.Number;
            continue;
        case OpKind::Field:
            stack[top++] = (table.*op.Column)[index];
            continue;
        case OpKind::Negate:
            stack[top - 1] = -stack[top - 1];
            continue;
        case OpKind::Add:
            result = stack[top - 2] + stack[top - 1];
            break;
        case OpKind::Subtract:
            result = stack[top - 2] - stack[top - 1];
            break;
        case OpKind::Multiply:
            result = stack[top - 2] * stack[top - 1];
            break;
        case OpKind::Divide:
            if (stack[top - 1] == 0)
                return std::nullopt;
            result = stack[top - 2] / stack[top - 1];
            break;
        }
        if (!std::isfinite(result))
            return std::nullopt;
        stack[--top - 1] = result;
    }
    return stack[0];
}

std::optional<double> ScoreExpression::Value(const TDM_HorseStatus& table, int index) const {
    return Run(0, code_.size(), table, index);
}

std::string ScoreExpression::Breakdown(const TDM_HorseStatus& table, int index) const {
    std::string text;
    for (const Term& term : terms_) {
        if (!text.empty())
            text += ", ";
        if (term.Subtracted)
            text += "- ";
        std::string captions, values;
        for (std::size_t n = term.FirstToken; n < term.EndToken; ++n) {
            const Token& token = tokens_[n];
            switch (token.Kind) {
            case TokenKind::Number:
                values += token.Text;
                break;
            case TokenKind::Field:
                if (captions.find(token.Text) == std::string::npos)
                    captions += (captions.empty() ? "" : "・") + token.Text;
                values += std::to_string(FieldValue(table, token.Field, index));
                break;
            default:
                values +=
                    std::array{"+", "-", "×", "/", "(", ")"}[static_cast<int>(token.Kind) -
                                                             static_cast<int>(TokenKind::Plus)];
            }
        }
        text += captions.empty() ? values : captions + " " + values;
        if (term.EndToken - term.FirstToken > 1) {
            const std::optional<double> value = Run(term.FirstOp, term.EndOp, table, index);
            text += " = " + (value ? WholeText(*value) : "―");
        }
    }
    const std::optional<double> total = Value(table, index);
    return text + "; 計 " + (total ? ScoreText(*total) : "―");
}

void AppendScoreText(std::string& text, double value) {
    // Enough for the greatest double written out in full.
    char digits[330];
    if (std::round(value * 10) == 0)
        value = 0;
    text.append(digits, std::to_chars(std::begin(digits), std::end(digits), value,
                                      std::chars_format::fixed, 1)
                            .ptr);
}

std::string ScoreText(double value) {
    std::string text;
    AppendScoreText(text, value);
    return text;
}
