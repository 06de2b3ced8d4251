// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

// The horse files the benchmarks read, made by the project's own file writer.

#include "HorseConstants.h"

#include <string>

// A block of 64 horses with names of realistic length (four to nine katakana) and abilities
// in every slot; the first `listed` slots have slot state 1, the others 0. All 64 records are
// decoded alike whatever `listed` is, so only the list's share of a load depends on it. With
// `trained`, the ten basic abilities of the first `trainedHorses` horses are that much higher
// (wrapping round within their bits), as in a later save.
HorseBlock BenchBlock(int listed, int trained = 0, int trainedHorses = RecordCount);

// The name that BenchBlock puts into name field `field` (0 horse, 1 sire, 2 dam) of record
// `index`, for checking what a benchmark decoded.
std::string BenchName(int index, int field);

// A 評価式 as a player may write one: every measured field once, weighted, with divisions.
inline const std::string TwelveTermScore =
    "スピード*2 + 持続力*1.5 + スタミナ + パワー/2 + 瞬発力*0.8 + 折り合い - 気性/3 + 勝負根性 "
    "+ 反応*0.5 + 丈夫さ*0.2 + 距離適性下限/100 + (距離適性上限-距離適性下限)/200";

// A horse file of the first recognised size written to a fresh temporary folder, removed
// with the folder when the object goes.
class BenchFile {
public:
    explicit BenchFile(const HorseBlock& block);
    ~BenchFile();
    BenchFile(const BenchFile&) = delete;
    BenchFile& operator=(const BenchFile&) = delete;
    const std::string& Path() const { return path_; }

private:
    std::string folder_;
    std::string path_;
};
