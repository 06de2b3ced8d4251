// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// Writes the seed corpus of the fuzzers, the files from our own file generator:
//   stallark-fuzz-seeds DIR   → DIR/decode/*.bin, DIR/reader/*.bin and DIR/score/*.txt
#include "HorseFileWriter.h"
#include "U_FileAccess.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// Every slot registered, abilities and codes at both ends of their ranges, names that fill
// their fields.
HorseBlock EdgeBlock() {
    HorseBlock block{};
    for (int i = 0; i < RecordCount; ++i) {
        HorseRecordFields horse;
        const bool high = i % 2 == 1;
        horse.Registered = i % 4 == 3 ? 2 : 1;
        horse.HorseName = std::string(high ? "ヴ" : "ア") + "ガパッァーあ・ン";
        horse.FatherName = high ? "ポポポポポ" : "";
        horse.MotherName = "ヲ";
        horse.Speed = horse.Endurance = horse.Stamina = high ? 157 : 30;
        horse.Power = horse.Agreement = horse.Guts = high ? 127 : 0;
        horse.Agility = horse.Temper = horse.Reactive = horse.Durability = high ? 255 : 0;
        horse.LowerDistance = high ? 4000 : 1000;
        horse.UpperDistance = high ? 1000 : 4000;
        horse.ExeAbility = {i % 5 == 0 ? 0 : 43, 44, 0, 255};
        horse.EqpAbility = {52, 0, 53, i};
        PutHorse(block, i, horse);
    }
    return block;
}

// Registered slots whose three names have no terminator up to the end of their record.
HorseBlock UnterminatedBlock() {
    HorseBlock block;
    block.fill(0x0E);
    for (int i = 0; i < RecordCount; ++i)
        block[static_cast<std::size_t>(i) * RecordSize + 2] = 1;
    return block;
}

void Write(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    WriteBytes(path.string(), bytes);
}

std::vector<std::uint8_t> BlockBytes(const HorseBlock& block) {
    return {block.begin(), block.end()};
}

// A reader input: size choice, length choice, 64 bytes before the block, the block.
std::vector<std::uint8_t> ReaderInput(int sizeChoice, int lengthChoice, const HorseBlock& block) {
    std::vector<std::uint8_t> bytes = {static_cast<std::uint8_t>(sizeChoice),
                                       static_cast<std::uint8_t>(lengthChoice)};
    bytes.insert(bytes.end(), 64, 0x5A);
    bytes.insert(bytes.end(), block.begin(), block.end());
    return bytes;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: stallark-fuzz-seeds DIR\n");
        return 2;
    }
    try {
        const std::filesystem::path decode = std::filesystem::path(argv[1]) / "decode";
        const std::filesystem::path reader = std::filesystem::path(argv[1]) / "reader";
        const std::filesystem::path score = std::filesystem::path(argv[1]) / "score";
        std::filesystem::create_directories(decode);
        std::filesystem::create_directories(reader);
        std::filesystem::create_directories(score);

        HorseBlock ones;
        ones.fill(0xFF);
        Write(decode / "demo.bin", BlockBytes(MakeDemoBlock()));
        Write(decode / "edges.bin", BlockBytes(EdgeBlock()));
        Write(decode / "unterminated.bin", BlockBytes(UnterminatedBlock()));
        Write(decode / "ones.bin", BlockBytes(ones));

        // Size choices 1, 4 and 7 are the three recognised sizes exactly; 0 is one byte short
        // of the first. Length choice 0 asks for the block, 6 for more than the file holds.
        Write(reader / "demo-size1.bin", ReaderInput(1, 0, MakeDemoBlock()));
        Write(reader / "edges-size2.bin", ReaderInput(4, 0, EdgeBlock()));
        Write(reader / "unterminated-size3.bin", ReaderInput(7, 0, UnterminatedBlock()));
        Write(reader / "demo-past-end.bin", ReaderInput(7, 6, MakeDemoBlock()));
        Write(reader / "demo-short.bin", ReaderInput(0, 0, MakeDemoBlock()));

        // Expressions and filters that reach each part of the two parsers.
        const std::vector<std::string> texts = {
            "スピード*2 + スタミナ + 瞬発力/2", "（ｽﾋﾟｰﾄﾞ−ﾊﾟﾜｰ）×１．５÷気性",
            "-(距離適性上限-距離適性下限)/100 ー 反応",
            "スピード>=100 2400 しる 評価<50.5 パワー≦3", "((1+2)*(3"};
        for (std::size_t n = 0; n < texts.size(); ++n)
            Write(score / (std::to_string(n) + ".txt"), {texts[n].begin(), texts[n].end()});
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "stallark-fuzz-seeds: %s\n", error.what());
        return 1;
    }
}
