// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "HorseFileWriter.h"

namespace {

// Invented horses: names of our own, made of the name table's katakana; abilities in the ranges
// a player's stable usually shows, a mix of sprinters and stayers. Each field is named, so that
// a change to the order of HorseRecordFields cannot move a value into another field.
// clang-format off
const HorseRecordFields DemoHorses[] = {
    {.HorseName = "ハヤテノカゼ", .FatherName = "ソラノカナタ", .MotherName = "ハルカゼ", .Speed = 128, .Endurance = 112, .Stamina = 95, .Power = 88, .Agility = 120, .Agreement = 64, .Temper = 40, .Guts = 90, .Reactive = 150, .Durability = 110, .LowerDistance = 1200, .UpperDistance = 1800, .ExeAbility = {1, 0, 0, 0}, .EqpAbility = {3, 19, 0, 0}},
    {.HorseName = "シルバーアロー", .FatherName = "ホシノオウジ", .MotherName = "ユキミドリ", .Speed = 140, .Endurance = 101, .Stamina = 118, .Power = 70, .Agility = 95, .Agreement = 80, .Temper = 22, .Guts = 105, .Reactive = 130, .Durability = 90, .LowerDistance = 1600, .UpperDistance = 2400, .ExeAbility = {9, 14, 0, 0}, .EqpAbility = {1, 23, 31, 0}},
    {.HorseName = "ゴールドリボン", .FatherName = "キンノタテガミ", .MotherName = "リボンドレス", .Speed = 117, .Endurance = 125, .Stamina = 140, .Power = 60, .Agility = 80, .Agreement = 100, .Temper = 12, .Guts = 97, .Reactive = 120, .Durability = 140, .LowerDistance = 2000, .UpperDistance = 3200, .ExeAbility = {13, 32, 0, 0}, .EqpAbility = {44, 0, 0, 0}},
    {.HorseName = "アカツキ", .FatherName = "ヨアケノヒカリ", .MotherName = "アサヤケ", .Speed = 99, .Endurance = 88, .Stamina = 76, .Power = 45, .Agility = 130, .Agreement = 30, .Temper = 70, .Guts = 60, .Reactive = 200, .Durability = 80, .LowerDistance = 1000, .UpperDistance = 1400, .ExeAbility = {23, 0, 0, 0}, .EqpAbility = {15, 0, 0, 0}},
    {.HorseName = "ブルーマウンテン", .FatherName = "ヤマノオウ", .MotherName = "アオゾラ", .Speed = 151, .Endurance = 140, .Stamina = 133, .Power = 110, .Agility = 160, .Agreement = 90, .Temper = 15, .Guts = 120, .Reactive = 170, .Durability = 160, .LowerDistance = 1800, .UpperDistance = 2600, .ExeAbility = {34, 36, 40, 35}, .EqpAbility = {48, 49, 50, 0}},
    {.Registered = 0},
    {.HorseName = "サクラフブキ", .FatherName = "ハナミ", .MotherName = "サクラ", .Speed = 110, .Endurance = 95, .Stamina = 100, .Power = 55, .Agility = 90, .Agreement = 75, .Temper = 45, .Guts = 80, .Reactive = 110, .Durability = 100, .LowerDistance = 1600, .UpperDistance = 2000, .ExeAbility = {19, 0, 0, 0}, .EqpAbility = {43, 16, 0, 0}},
    {.HorseName = "ダイチノチカラ", .FatherName = "ツチノオウ", .MotherName = "ダイチ", .Speed = 95, .Endurance = 130, .Stamina = 120, .Power = 120, .Agility = 60, .Agreement = 60, .Temper = 30, .Guts = 127, .Reactive = 90, .Durability = 200, .LowerDistance = 2400, .UpperDistance = 3600, .ExeAbility = {28, 35, 0, 0}, .EqpAbility = {19, 45, 0, 0}},
    {.HorseName = "ミラクルステップ", .FatherName = "ミライノアシ", .MotherName = "ステップ", .Speed = 135, .Endurance = 90, .Stamina = 85, .Power = 65, .Agility = 190, .Agreement = 40, .Temper = 90, .Guts = 70, .Reactive = 220, .Durability = 70, .LowerDistance = 1200, .UpperDistance = 1600, .ExeAbility = {8, 33, 0, 0}, .EqpAbility = {9, 0, 0, 0}},
    {.Registered = 2, .HorseName = "ムーンライト", .FatherName = "ツキヨ", .MotherName = "ヨゾラ", .Speed = 100, .Endurance = 100, .Stamina = 100, .Power = 50, .Agility = 100, .Agreement = 50, .Temper = 50, .Guts = 50, .Reactive = 100, .Durability = 100, .LowerDistance = 1600, .UpperDistance = 2400},
    {.HorseName = "トウカイノナミ", .FatherName = "ウミノオウ", .MotherName = "ナミマ", .Speed = 120, .Endurance = 115, .Stamina = 110, .Power = 85, .Agility = 110, .Agreement = 70, .Temper = 35, .Guts = 95, .Reactive = 140, .Durability = 120, .LowerDistance = 1800, .UpperDistance = 2400, .ExeAbility = {0, 5, 0, 0}, .EqpAbility = {31, 33, 35, 37}},
    {.HorseName = "レッドバロン", .FatherName = "バロン", .MotherName = "レッドローズ", .Speed = 125, .Endurance = 105, .Stamina = 90, .Power = 75, .Agility = 140, .Agreement = 55, .Temper = 60, .Guts = 85, .Reactive = 160, .Durability = 95, .LowerDistance = 1400, .UpperDistance = 2000, .ExeAbility = {2, 16, 0, 0}, .EqpAbility = {13, 0, 0, 0}},
    {.HorseName = "ヴィクトリーロード", .FatherName = "ロードオブキング", .MotherName = "ヴィーナス", .Speed = 145, .Endurance = 135, .Stamina = 125, .Power = 100, .Agility = 150, .Agreement = 85, .Temper = 20, .Guts = 115, .Reactive = 180, .Durability = 150, .LowerDistance = 1800, .UpperDistance = 2800, .ExeAbility = {37, 42, 0, 0}, .EqpAbility = {47, 50, 0, 0}},
    {.HorseName = "コガネムシ", .FatherName = "コガネ", .MotherName = "ムシノネ", .Speed = 85, .Endurance = 80, .Stamina = 95, .Power = 40, .Agility = 70, .Agreement = 110, .Temper = 10, .Guts = 60, .Reactive = 80, .Durability = 130, .LowerDistance = 2000, .UpperDistance = 3000, .ExeAbility = {15, 0, 0, 0}, .EqpAbility = {2, 24, 0, 0}},
    {.HorseName = "ホシマチポルカ", .FatherName = "ポルカ", .MotherName = "ホシマチ", .Speed = 130, .Endurance = 120, .Stamina = 105, .Power = 90, .Agility = 125, .Agreement = 65, .Temper = 55, .Guts = 100, .Reactive = 150, .Durability = 115, .LowerDistance = 1600, .UpperDistance = 2400, .ExeAbility = {25, 0, 0, 7}, .EqpAbility = {0, 0, 0, 28}},
    {.Registered = 0, .HorseName = "ノコリビ", .FatherName = "ヒノコ", .MotherName = "ノビ", .Speed = 60, .Endurance = 60, .Stamina = 60, .Power = 20, .Agility = 40, .Agreement = 20, .Temper = 80, .Guts = 30, .Reactive = 60, .Durability = 60, .LowerDistance = 1000, .UpperDistance = 1200},
    {.HorseName = "カワセミノユメ", .FatherName = "カワセミ", .MotherName = "ユメノアト", .Speed = 118, .Endurance = 122, .Stamina = 130, .Power = 95, .Agility = 100, .Agreement = 95, .Temper = 25, .Guts = 110, .Reactive = 120, .Durability = 175, .LowerDistance = 2000, .UpperDistance = 3200, .ExeAbility = {39, 0, 0, 0}, .EqpAbility = {46, 20, 0, 0}},
    {.HorseName = "ステイヤーズボンド", .FatherName = "ボンド", .MotherName = "ステラ", .Speed = 90, .Endurance = 150, .Stamina = 157, .Power = 80, .Agility = 60, .Agreement = 120, .Temper = 18, .Guts = 125, .Reactive = 90, .Durability = 210, .LowerDistance = 3000, .UpperDistance = 4000, .ExeAbility = {41, 43, 0, 0}, .EqpAbility = {41, 0, 0, 0}},
};
// clang-format on

} // namespace

HorseBlock MakeDemoBlock() {
    HorseBlock block{};
    for (std::size_t n = 0; n < std::size(DemoHorses); ++n)
        PutHorse(block, static_cast<int>(n), DemoHorses[n]);
    // A horse far down the table, to show that the list keeps horse indexes, not positions.
    HorseRecordFields late = DemoHorses[1];
    late.HorseName = "ラストランナー";
    late.ExeAbility = {38, 0, 0, 0};
    PutHorse(block, 40, late);
    return block;
}
