// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// The eight texts of a horse list row.
#include "U_Analyze.h"
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
