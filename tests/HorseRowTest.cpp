// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// The eight texts of a horse list row, and the fields of a horse compared between two versions.
#include "U_Analyze.h"
#include "U_Comparison.h"
#include "U_HorseFields.h"
#include "U_HorseRow.h"

#include <gtest/gtest.h>

namespace {

using Codes = std::array<std::int32_t, AbilitySlotCount>;

std::string ExeText(const Codes& codes) {
    return AbilityText(codes, &TDM_Analyze::ExeAbilityName);
}

} // namespace

TEST(HorseRow, AllEightTexts) {
    TDM_HorseStatus t;
    const int i = 37;
    t.HorseID[i] = i;
    t.Registered[i] = 1;
    t.HorseName[i] = "ハヤテ";
    t.FatherName[i] = "ソラ"; // the list shows neither parent
    t.Speed[i] = 95;
    t.Endurance[i] = 88;
    t.Stamina[i] = 101;
    t.Power[i] = 7;
    t.Agility[i] = 0;
    t.Agreement[i] = 64;
    t.Temper[i] = 12;
    t.Guts[i] = 100;
    t.Reactive[i] = 255;
    t.Durability[i] = 9;
    t.LowerDistance[i] = 1600;
    t.UpperDistance[i] = 2400;
    t.ExeAbility[0][i] = 5;
    t.ExeAbility[3][i] = 200; // beyond the table
    t.EqpAbility[1][i] = 52;

    const HorseRowTexts expected = {
        "37",          "ハヤテ", "？",        "95/88/101/07/00/64/12/100/255/09",
        "1600 - 2400", "？/？",  "直一気/？", "アイドルホース/"};
    EXPECT_EQ(HorseRow(t, i), expected);
}

// A filled slot 1..3 ends with "/", slot 4 never does, empty slots leave nothing.
TEST(AbilityText, SlashRule) {
    EXPECT_EQ(ExeText({0, 0, 0, 0}), "");
    EXPECT_EQ(ExeText({5, 0, 0, 0}), "直一気/");
    EXPECT_EQ(ExeText({0, 0, 0, 7}), "4角先頭");
    EXPECT_EQ(ExeText({1, 2, 0, 0}), "大逃げ/大まくり/");
    EXPECT_EQ(ExeText({1, 2, 3, 4}), "大逃げ/大まくり/自由自在/融通性なし");
    EXPECT_EQ(ExeText({0, 9, 0, 0}), "馬群好き/");
    EXPECT_EQ(ExeText({200, 0, 0, 200}), "？/？");
    EXPECT_EQ(AbilityText({0, 0, 53, 8}, &TDM_Analyze::EqpAbilityName), "？/2走ボケ");
}

// Values are compared, not texts: codes 2 and 18 both read 大まくり, and every code without a
// name reads ？, so those changes show their codes. A name, an ability and a distance limit
// change in place; one slot is emptied, another filled.
TEST(CompareHorseTables, EveryChangedFieldInSlotAndFieldOrder) {
    TDM_HorseStatus old;
    const auto put = [](TDM_HorseStatus& t, int i, const char* name) {
        t.HorseID[i] = i;
        t.Registered[i] = 1;
        t.HorseName[i] = name;
        t.Speed[i] = 100;
        t.LowerDistance[i] = 1600;
        t.ExeAbility[1][i] = 2;
        t.EqpAbility[3][i] = 60;
    };
    put(old, 3, "ハヤテ");
    put(old, 40, "ソラ");
    EXPECT_TRUE(CompareHorseTables(old, old).empty());

    TDM_HorseStatus now = old;
    now.HorseName[3] = "ハヤセ";
    now.Speed[3] = 115;
    now.LowerDistance[3] = 1400;
    now.ExeAbility[1][3] = 18;
    now.EqpAbility[3][3] = 200;
    now.Registered[40] = 0;
    now.HorseName[40] = "";
    put(now, 63, "アカツキ");
    now.ExeAbility[1][63] = 0;

    std::vector<std::string> rows;
    for (const FieldChange& c : CompareHorseTables(old, now))
        rows.push_back(std::to_string(c.HorseID) + " " + c.HorseName + " " +
                       HorseFields[c.Field].Caption + " [" + c.Old + "] [" + c.New + "] " +
                       (c.Difference ? std::to_string(*c.Difference) : "-"));
    EXPECT_EQ(rows, (std::vector<std::string>{
                        "3 ハヤセ 馬名 [ハヤテ] [ハヤセ] -",
                        "3 ハヤセ スピード [100] [115] 15",
                        "3 ハヤセ 距離適性下限 [1600] [1400] -200",
                        "3 ハヤセ 発動系2 [大まくり (2)] [大まくり (18)] -",
                        "3 ハヤセ 装備系4 [？ (60)] [？ (200)] -",
                        "40 ソラ 馬名 [ソラ] [] -",
                        "40 ソラ 登録状態 [1] [0] -",
                        "63 アカツキ ID [0] [63] -",
                        "63 アカツキ 馬名 [] [アカツキ] -",
                        "63 アカツキ スピード [0] [100] 100",
                        "63 アカツキ 距離適性下限 [0] [1600] 1600",
                        "63 アカツキ 装備系4 [] [？] -",
                        "63 アカツキ 登録状態 [0] [1] -",
                    }));
}
