// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "BenchHorses.h"

#include "HorseFileWriter.h"
#include "U_FileAccess.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace {

constexpr const char* Syllables[] = {"ハ", "ヤ", "テ", "ノ", "カ", "ゼ", "シ", "ル", "バ", "ー",
                                     "ア", "ロ", "ウ", "ゴ", "リ", "ボ", "ン", "キ", "ズ", "ナ"};
constexpr int SyllableCount = static_cast<int>(std::size(Syllables));

// A name of `length` syllables, different for every seed.
std::string Name(int seed, int length) {
    std::string name;
    for (int n = 0; n < length; ++n)
        name += Syllables[(seed * 7 + n * 3 + n * n) % SyllableCount];
    return name;
}

} // namespace

std::string BenchName(int index, int field) {
    return Name(index + 100 * field, 4 + (index + 2 * field) % 6);
}

HorseBlock BenchBlock(int listed, int trained, int trainedHorses) {
    HorseBlock block{};
    for (int i = 0; i < RecordCount; ++i) {
        const int grown = i < trainedHorses ? trained : 0;
        HorseRecordFields horse;
        horse.Registered = i < listed ? 1 : 0;
        horse.HorseName = BenchName(i, 0);
        horse.FatherName = BenchName(i, 1);
        horse.MotherName = BenchName(i, 2);
        horse.Speed = 30 + (i * 13 + grown) % 128;
        horse.Endurance = 30 + (i * 29 + grown) % 128;
        horse.Stamina = 30 + (i * 41 + grown) % 128;
        horse.Power = (i * 17 + grown) % 128;
        horse.Agility = (i * 23 + grown) % 256;
        horse.Agreement = (i * 31 + grown) % 128;
        horse.Temper = (i * 37 + grown) % 256;
        horse.Guts = (i * 43 + grown) % 128;
        horse.Reactive = (i * 47 + grown) % 256;
        horse.Durability = (i * 53 + grown) % 256;
        horse.LowerDistance = 1000 + 200 * (i % 6);
        horse.UpperDistance = 2000 + 200 * (i % 8);
        horse.ExeAbility = {1 + i % 43, (i * 5) % 44, i % 3 == 0 ? 0 : 7, i % 4 == 0 ? 12 : 0};
        horse.EqpAbility = {1 + i % 52, (i * 7) % 53, i % 2 == 0 ? 0 : 30, i % 5 == 0 ? 3 : 0};
        PutHorse(block, i, horse);
    }
    return block;
}

BenchFile::BenchFile(const HorseBlock& block) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "stallark-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a temporary folder");
    folder_ = pattern;
    path_ = folder_ + "/horses.dat";
    WriteHorseFile(path_, HorseFileLayouts[0].FileSize, block);
}

BenchFile::~BenchFile() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}
