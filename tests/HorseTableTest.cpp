// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_Comparison.h"
#include "U_KanaText.h"
#include "U_ScoreExpression.h"
#include "U_TableQuery.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Horse {
    int Index;
    const char* Name;
    int Speed, Power;
    int Lower = 1000, Upper = 4000;
    const char* Father = "";
};

// A table listing `horses` at their slots, every other value the least a record holds.
TDM_HorseStatus Table(const std::vector<Horse>& horses) {
    TDM_HorseStatus table;
    for (int i = 0; i < RecordCount; ++i) {
        table.HorseID[i] = i;
        table.Speed[i] = table.Endurance[i] = table.Stamina[i] = AbilityBase;
    }
    for (const Horse& horse : horses) {
        table.Registered[horse.Index] = 1;
        table.HorseName[horse.Index] = horse.Name;
        table.FatherName[horse.Index] = horse.Father;
        table.Speed[horse.Index] = horse.Speed;
        table.Power[horse.Index] = horse.Power;
        table.LowerDistance[horse.Index] = horse.Lower;
        table.UpperDistance[horse.Index] = horse.Upper;
    }
    return table;
}

constexpr int SpeedField = FirstBasicAbilityField;
constexpr int PowerField = FirstBasicAbilityField + 3;

std::vector<int> Shown(const TDM_HorseStatus& table, const char* filter,
                       std::optional<int> field = std::nullopt, bool descending = false) {
    return ShownHorses(table, std::get<TableFilter>(TableFilter::Parse(filter)),
                       {field, descending});
}

// The error of a text that should not parse, as the user reads it.
template <class Parsed> std::string ErrorOf(const Parsed& parsed) {
    const InputError* error = std::get_if<InputError>(&parsed);
    return error ? ErrorText(*error) : "(no error)";
}

ScoreExpression Expression(const char* text) {
    const auto parsed = ScoreExpression::Parse(text);
    EXPECT_EQ(ErrorOf(parsed), "(no error)") << text;
    return std::get<ScoreExpression>(parsed);
}

} // namespace

TEST(HorseTable, NumbersSortHighestFirstAndTextsInKanaOrderTiesAlwaysInIdOrder) {
    TDM_HorseStatus table = Table({{9, "ガンバ", 100, 5},
                                   {2, "カーム", 120, 5},
                                   {5, "アロー", 100, 7},
                                   {7, "かぜ", 90, 7},
                                   {3, "ｶｻﾞﾐ", 100, 5}});
    table.Registered[4] = 2; // not listed
    EXPECT_EQ(Shown(table, ""), (std::vector{2, 3, 5, 7, 9}));
    EXPECT_TRUE(SortsHighestFirst(SpeedField));
    EXPECT_FALSE(SortsHighestFirst(NameField));
    EXPECT_EQ(Shown(table, "", SpeedField, true), (std::vector{2, 3, 5, 9, 7}));
    EXPECT_EQ(Shown(table, "", SpeedField, false), (std::vector{7, 3, 5, 9, 2}));
    EXPECT_EQ(Shown(table, "", PowerField, true), (std::vector{5, 7, 2, 3, 9}));
    // カーム reads カアム; かぜ and ｶｻﾞﾐ fold to カゼ and カザミ; ガンバ is カンバ voiced.
    EXPECT_EQ(Shown(table, "", NameField, false), (std::vector{5, 2, 3, 7, 9}));
    EXPECT_EQ(Shown(table, "", NameField, true), (std::vector{9, 7, 3, 2, 5}));
    // By 評価, a horse without one (パワー 5 divides by zero) below every value.
    const ScoreExpression score = Expression("スピード/(パワー-5)");
    EXPECT_EQ(ShownHorses(table, {}, {std::nullopt, true, true}, &score),
              (std::vector{5, 7, 2, 3, 9}));
    EXPECT_EQ(ShownHorses(table, {}, {std::nullopt, false, true}, &score),
              (std::vector{2, 3, 9, 7, 5}));
    // Equal texts stay in ID order whichever way the column sorts.
    EXPECT_EQ(Shown(table, "", NameField + 1, true), (std::vector{2, 3, 5, 7, 9}));
    EXPECT_TRUE(KanaBefore("カキ", "ガキ"));
    EXPECT_TRUE(KanaBefore("ガキ", "カク"));
    EXPECT_TRUE(KanaBefore("Zebra", "あ"));
}

TEST(HorseTable, FilterFoldsKanaAndWidthsAndEveryTermOrConditionMustHold) {
    TDM_HorseStatus table = Table({{0, "シルバーアロー", 100, 5, 1600, 2400},
                                   {1, "ゴールドシップ", 110, 0, 2400, 3200, "シルバー"},
                                   {2, "ブラックABC", 90, 5, 1000, 1400}});
    EXPECT_EQ(FoldedText("しるﾊﾞｰＡｂ１"), U"シルバーab1");
    EXPECT_EQ(Shown(table, "しる"), (std::vector{0, 1}));
    EXPECT_EQ(Shown(table, "ｼﾙﾊﾞｰｱ"), (std::vector{0}));
    EXPECT_EQ(Shown(table, "ＡＢＣ"), (std::vector{2}));
    EXPECT_EQ(Shown(table, " abc "), (std::vector{2}));
    EXPECT_EQ(Shown(table, "2400"), (std::vector{0, 1}));
    EXPECT_EQ(Shown(table, "２４００"), (std::vector{0, 1}));
    EXPECT_EQ(Shown(table, "1000"), (std::vector{2}));
    EXPECT_EQ(Shown(table, "4000"), (std::vector<int>{}));
    // Out of the distances' range a number is a text, which no name holds.
    EXPECT_EQ(Shown(table, "999"), (std::vector<int>{}));
    EXPECT_EQ(Shown(table, "ない"), (std::vector<int>{}));
    EXPECT_EQ(Shown(table, "しる　3200"), (std::vector{1}));
    EXPECT_EQ(Shown(table, "スピード>=100 2400 しる"), (std::vector{0, 1}));
    EXPECT_EQ(Shown(table, "ｽﾋﾟｰﾄﾞ＞１００"), (std::vector{1}));
    EXPECT_EQ(Shown(table, "すぴーど<100"), (std::vector{2}));
    EXPECT_EQ(Shown(table, "スピード≦100 パワー=5"), (std::vector{0, 2}));
    EXPECT_EQ(Shown(table, "距離適性上限>2400"), (std::vector{1}));

    // 評価 is the current expression's value; a horse without one, or any with no expression,
    // fails the condition.
    const auto scored = [&](const char* filter, const char* score) {
        return ShownHorses(
            table, std::get<TableFilter>(TableFilter::Parse(filter, Expression(score))), {});
    };
    EXPECT_EQ(scored("評価>=100", "スピード/パワー*5"), (std::vector{0}));
    EXPECT_EQ(scored("評価<=-100", "-スピード"), (std::vector{0, 1}));
    EXPECT_EQ(Shown(table, "評価>0"), (std::vector<int>{}));

    EXPECT_EQ(ErrorOf(TableFilter::Parse("しる スピ>=1")),
              "「スピ」は項目名ではありません (4 文字目)");
    EXPECT_EQ(ErrorOf(TableFilter::Parse("しる　＞＝1")),
              "「＞＝1」の前に項目名がありません (4 文字目)");
    EXPECT_EQ(ErrorOf(TableFilter::Parse("スピード>=abc")), "「abc」は数ではありません (7 文字目)");
    EXPECT_EQ(ErrorOf(TableFilter::Parse("ﾊﾟﾜｰ<")), "「ﾊﾟﾜｰ<」の後に数がありません (1 文字目)");
}

// The precedence, folding, errors and bounds of the expression language, and the tooltip's sum.
TEST(HorseTable, ScoreExpressionFoldsCaptionsKeepsPrecedenceAndPointsAtErrors) {
    TDM_HorseStatus table = Table({{0, "エー", 120, 10, 1600, 2400}, {1, "ビー", 90, 0}});
    table.Stamina[0] = 95;
    table.Agility[0] = 88;
    const auto value = [&](const char* text, int index = 0) {
        return Expression(text).Value(table, index);
    };
    EXPECT_EQ(value("スピード*2 + スタミナ + 瞬発力/2"), 379.0);
    EXPECT_EQ(value("2+3*4-10/5"), 12.0);
    EXPECT_EQ(value("10-4-3"), 3.0);
    EXPECT_EQ(value("2*(3+4)"), 14.0);
    EXPECT_EQ(value("-スピード - -(2)"), -118.0);
    EXPECT_EQ(value("すぴーど＊２＋ｽﾀﾐﾅ"), 335.0);
    EXPECT_EQ(value("ﾊﾟﾜｰ×１．５÷.5"), 30.0);
    // ー where no caption goes on is the input method's minus, as is −.
    EXPECT_EQ(value("スピードースタミナ − 1 ー 2"), 22.0);
    EXPECT_EQ(value("距離適性上限/100-距離適性下限/100"), 8.0);
    EXPECT_EQ(value("スピード/パワー", 0), 12.0);
    EXPECT_EQ(value("スピード/パワー", 1), std::nullopt);
    EXPECT_EQ(value("1/(パワー-パワー)"), std::nullopt);

    const auto error = [](const std::string& text) {
        return ErrorOf(ScoreExpression::Parse(text));
    };
    EXPECT_EQ(error("1+スピ"), "「スピ」は項目名ではありません (3 文字目)");
    EXPECT_EQ(error("パワースタミナ"), "「パワースタミナ」は項目名ではありません (1 文字目)");
    EXPECT_EQ(error("評価*2"), "「評価」は項目名ではありません (1 文字目)");
    EXPECT_EQ(error("（1+2"), "括弧が閉じていません (1 文字目)");
    EXPECT_EQ(error("1+2)"), "「)」に対応する「(」がありません (4 文字目)");
    EXPECT_EQ(error("スピード スタミナ"), "「スタミナ」の前に演算子がありません (6 文字目)");
    EXPECT_EQ(error("1+*2"), "「*」の前に値がありません (3 文字目)");
    EXPECT_EQ(error("(1+)"), "「)」の前に値がありません (4 文字目)");
    EXPECT_EQ(error("スピード+"), "「+」で式が終わっています (5 文字目)");
    EXPECT_EQ(error("1.2.3"), "「1.2.3」は数として読めません (1 文字目)");
    EXPECT_EQ(error("2^3"), "「^」は式に使えない文字です (2 文字目)");
    EXPECT_EQ(error("　"), "式が空です");
    EXPECT_EQ(error(std::string(20, '(') + "1" + std::string(20, ')')), "(no error)");
    EXPECT_EQ(error(std::string(21, '(') + "1" + std::string(21, ')')),
              "括弧の入れ子が深すぎます（20 重まで） (21 文字目)");
    std::string longest = "1";
    while (longest.size() + 2 <= MaxScoreLength)
        longest += "+1";
    EXPECT_EQ(value(longest.c_str()), 150.0);
    EXPECT_EQ(error(longest + "+1"), "式が長すぎます（300 文字まで）");

    EXPECT_EQ(Expression("スピード*2 + スタミナ - 瞬発力/2 + 1").Breakdown(table, 0),
              "スピード 120×2 = 240, スタミナ 95, - 瞬発力 88/2 = 44, 1; 計 292.0");
    EXPECT_EQ(Expression("(スピード+1)/パワー*3 + 1").Breakdown(table, 0),
              "スピード・パワー (120+1)/10×3 = 36.3, 1; 計 37.3");
    EXPECT_EQ(Expression("スピード/パワー").Breakdown(table, 1), "スピード・パワー 90/0 = ―; 計 ―");
    EXPECT_EQ(ScoreText(-0.04), "0.0");
    EXPECT_EQ(ScoreText(2.0 / 3), "0.7");
}

TEST(HorseTable, BestAbilitiesAreTheHighestAmongTheShownHorsesTiesAllBest) {
    const TDM_HorseStatus table = Table({{0, "アカ", 150, 9, 1000, 1600},
                                         {1, "アオ", 120, 9, 2000, 2400},
                                         {2, "キ", 120, 4, 2000, 2800}});
    const std::vector<int> all = Shown(table, "");
    ASSERT_TRUE(BestAbilities(table, all));
    EXPECT_EQ((*BestAbilities(table, all))[0], 150);
    EXPECT_EQ((*BestAbilities(table, all))[3], 9);
    // The filter leaves out the fastest: the best speed is the two that remain.
    const std::vector<int> shown = Shown(table, "2400");
    EXPECT_EQ(shown, (std::vector{1, 2}));
    EXPECT_EQ((*BestAbilities(table, shown))[0], 120);
    EXPECT_EQ((*BestAbilities(table, shown))[3], 9);
    EXPECT_EQ(BestAbilities(table, std::vector<int>{}), std::nullopt);
}

TEST(HorseTable, ComparisonHasTheFieldsFromSireToLastEquipmentWithSignedDifferences) {
    TDM_HorseStatus table =
        Table({{4, "エー", 120, 10, 1600, 2400, "チチ"}, {8, "ビー", 132, 10, 1800, 2200, "ハハ"}});
    table.ExeAbility[0][4] = 1;
    const std::vector<ComparisonRow> rows = CompareHorses(table, 4, 8);
    ASSERT_EQ(rows.size(), 22U);
    EXPECT_STREQ(HorseFields[rows.front().Field].Caption, "父");
    EXPECT_STREQ(HorseFields[rows.back().Field].Caption, "装備系4");
    EXPECT_EQ(rows[0].A, "チチ");
    EXPECT_EQ(rows[0].B, "ハハ");
    EXPECT_FALSE(rows[0].Difference);
    const ComparisonRow& speed = rows[2];
    EXPECT_STREQ(HorseFields[speed.Field].Caption, "スピード");
    EXPECT_EQ(speed.Difference, -12);
    EXPECT_TRUE(speed.BHigher && !speed.AHigher);
    const ComparisonRow& power = rows[5];
    EXPECT_EQ(power.Difference, 0);
    EXPECT_FALSE(power.AHigher || power.BHigher);
    EXPECT_EQ(rows[12].Difference, -200);
    EXPECT_EQ(rows[13].Difference, 200);
    EXPECT_TRUE(rows[13].AHigher);
    EXPECT_NE(rows[14].A, "");
    EXPECT_EQ(rows[14].B, "");
    EXPECT_EQ(SignedText(12), "+12");
    EXPECT_EQ(SignedText(-3), "-3");
    EXPECT_EQ(SignedText(0), "0");
}
