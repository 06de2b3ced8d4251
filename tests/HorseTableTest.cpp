// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_Comparison.h"
#include "U_KanaText.h"
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
    return ShownHorses(table, TableFilter(filter), {field, descending});
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
    // Equal texts stay in ID order whichever way the column sorts.
    EXPECT_EQ(Shown(table, "", NameField + 1, true), (std::vector{2, 3, 5, 7, 9}));
    EXPECT_TRUE(KanaBefore("カキ", "ガキ"));
    EXPECT_TRUE(KanaBefore("ガキ", "カク"));
    EXPECT_TRUE(KanaBefore("Zebra", "あ"));
}

TEST(HorseTable, FilterFoldsKanaAndWidthsAndAWholeDistanceKeepsTheRangesHoldingIt) {
    const TDM_HorseStatus table = Table({{0, "シルバーアロー", 100, 5, 1600, 2400},
                                         {1, "ゴールドシップ", 100, 5, 2400, 3200, "シルバー"},
                                         {2, "ブラックABC", 100, 5, 1000, 1400}});
    EXPECT_EQ(FoldedText("しるﾊﾞｰＡｂ１"), U"シルバーab1");
    EXPECT_EQ(Shown(table, "しる"), (std::vector{0, 1}));
    EXPECT_EQ(Shown(table, "ｼﾙﾊﾞｰｱ"), (std::vector{0}));
    EXPECT_EQ(Shown(table, "ＡＢＣ"), (std::vector{2}));
    EXPECT_EQ(Shown(table, " abc "), (std::vector{2}));
    EXPECT_EQ(Shown(table, "2400"), (std::vector{0, 1}));
    EXPECT_EQ(Shown(table, "２４００"), (std::vector{0, 1}));
    EXPECT_EQ(Shown(table, "1000"), (std::vector{2}));
    EXPECT_EQ(Shown(table, "4000"), (std::vector<int>{}));
    EXPECT_EQ(TableFilter("999").Distance(), std::nullopt);
    EXPECT_EQ(TableFilter("4001").Distance(), std::nullopt);
    EXPECT_EQ(Shown(table, "ない"), (std::vector<int>{}));
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
