// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// The record decoder and the ability names, checked against raw record bytes written here by
// hand rather than by the file writer, so that the two cannot share a mistake.
#include "U_Analyze.h"
#include "U_HorseStatus.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

std::uint8_t& At(HorseBlock& block, int index, int offset) {
    return block[static_cast<std::size_t>(index) * RecordSize + static_cast<std::size_t>(offset)];
}

struct PackedAbilities {
    int Agreement, Stamina, Speed, Endurance, Power, Guts;
    bool operator==(const PackedAbilities&) const = default;
};

void PrintTo(const PackedAbilities& p, std::ostream* out) {
    *out << "Agreement " << p.Agreement << ", Stamina " << p.Stamina << ", Speed " << p.Speed
         << ", Endurance " << p.Endurance << ", Power " << p.Power << ", Guts " << p.Guts;
}

// Decodes a block whose record 0 has bytes 14..20 as given, everything else zero.
PackedAbilities DecodePacked(const std::array<std::uint8_t, 7>& bytes) {
    HorseBlock block{};
    for (int n = 0; n < 7; ++n)
        At(block, 0, 14 + n) = bytes[n];
    TDM_HorseStatus table;
    TDM_Analyze(table).AnalyzeBlock(block);
    return {table.Agreement[0], table.Stamina[0], table.Speed[0],
            table.Endurance[0], table.Power[0],   table.Guts[0]};
}

// Splits a text of three-byte UTF-8 characters (every character of the name table is one).
std::vector<std::string> Characters(const std::string& text) {
    std::vector<std::string> out;
    for (std::size_t n = 0; n < text.size(); n += 3)
        out.push_back(text.substr(n, 3));
    return out;
}

std::string Repeat(const std::string& s, int count) {
    std::string out;
    for (int n = 0; n < count; ++n)
        out += s;
    return out;
}

} // namespace

// Each field's seven bits set alone (bytes taken from the field layout) move that field only.
TEST(PackedAbilities, EachFieldIsIndependent) {
    struct Case {
        const char* field;
        std::array<std::uint8_t, 7> bytes;
        PackedAbilities expected;
    };
    const Case cases[] = {
        {"Agreement", {0xF0, 0x07, 0, 0, 0, 0, 0}, {127, 30, 30, 30, 0, 0}},
        {"Stamina", {0, 0xF8, 0x03, 0, 0, 0, 0}, {0, 157, 30, 30, 0, 0}},
        {"Speed", {0, 0, 0xFC, 0x01, 0, 0, 0}, {0, 30, 157, 30, 0, 0}},
        {"Endurance", {0, 0, 0, 0xFE, 0, 0, 0}, {0, 30, 30, 157, 0, 0}},
        {"Power", {0, 0, 0, 0, 0xF0, 0x07, 0}, {0, 30, 30, 30, 127, 0}},
        {"Guts", {0, 0, 0, 0, 0, 0xF8, 0x03}, {0, 30, 30, 30, 0, 127}},
        // The bits no field uses: low nibbles of bytes 14 and 18, top six bits of byte 20.
        {"unused bits", {0x0F, 0, 0, 0, 0x0F, 0, 0xFC}, {0, 30, 30, 30, 0, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecodePacked(c.bytes), c.expected) << c.field;
}

// Mixed patterns against the shift-and-mask form of each field, which is written differently
// from the decoder's bit loop.
TEST(PackedAbilities, MixedBytesFollowTheShiftAndMaskFormulas) {
    const std::array<std::uint8_t, 7> patterns[] = {
        {0x5A, 0xC3, 0x96, 0x3C, 0xA5, 0x69, 0x81},
        {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE},
        {0xE1, 0x0F, 0x70, 0x8E, 0x4B, 0xD2, 0x02},
    };
    for (const auto& b : patterns) {
        const PackedAbilities expected{
            (b[0] >> 4) + ((b[1] & 0x07) << 4),      (b[1] >> 3) + ((b[2] & 0x03) << 5) + 30,
            (b[2] >> 2) + ((b[3] & 0x01) << 6) + 30, (b[3] >> 1) + 30,
            (b[4] >> 4) + ((b[5] & 0x07) << 4),      (b[5] >> 3) + ((b[6] & 0x03) << 5)};
        EXPECT_EQ(DecodePacked(b), expected);
    }
}

// The two extremes of every byte, in every record: all zero and all 0xFF. A 0x00 or 0xFF name
// byte ends a name at once, so both have no names; a slot state of 255 is kept as it is.
TEST(AnalyzeBlock, AllZeroAndAllOnesBlocks) {
    struct Case {
        std::uint8_t fill;
        std::int32_t registered;
        std::array<std::int32_t, 10> basic;
        std::int32_t distance;
        std::array<std::int32_t, 4> codes;
    } const cases[] = {
        {0x00, 0, {30, 30, 30, 0, 0, 0, 0, 0, 0, 0}, 1000, {0, 0, 0, 0}},
        {0xFF, 255, {157, 157, 157, 127, 255, 127, 255, 127, 255, 255}, 4000, {255, 255, 255, 255}},
    };
    for (const Case& c : cases) {
        HorseBlock block;
        block.fill(c.fill);
        TDM_HorseStatus t;
        TDM_Analyze(t).AnalyzeBlock(block);
        for (int i = 0; i < RecordCount; ++i) {
            SCOPED_TRACE("fill " + std::to_string(c.fill) + ", record " + std::to_string(i));
            EXPECT_EQ(t.Registered[i], c.registered);
            EXPECT_EQ(t.HorseName[i], "");
            EXPECT_EQ(t.FatherName[i], "");
            EXPECT_EQ(t.MotherName[i], "");
            EXPECT_EQ(t.BasicAbilities(i), c.basic);
            EXPECT_EQ(t.LowerDistance[i], c.distance);
            EXPECT_EQ(t.UpperDistance[i], c.distance);
            EXPECT_EQ(t.ExeAbilities(i), c.codes);
            EXPECT_EQ(t.EqpAbilities(i), c.codes);
        }
    }
}

TEST(AnalyzeBlock, SingleByteFieldsDistancesAndAbilityCodes) {
    HorseBlock block{};
    // Record 0 and record 63 differ in every field, so a wrong record start shows.
    for (const int index : {0, 63}) {
        const std::uint8_t d = index == 0 ? 0 : 100;
        At(block, index, 2) = static_cast<std::uint8_t>(1 + d);
        At(block, index, 22) = index == 0 ? 0x37 : 0xF0;
        At(block, index, 23) = static_cast<std::uint8_t>(151 + d);
        At(block, index, 24) = static_cast<std::uint8_t>(52 + d);
        At(block, index, 25) = static_cast<std::uint8_t>(53 + d);
        At(block, index, 47) = static_cast<std::uint8_t>(155 + d);
        for (int slot = 0; slot < 4; ++slot) {
            At(block, index, 26 + slot) = static_cast<std::uint8_t>(11 + slot + d);
            At(block, index, 34 + slot) = static_cast<std::uint8_t>(21 + slot + d);
        }
    }
    TDM_HorseStatus t;
    TDM_Analyze(t).AnalyzeBlock(block);

    EXPECT_EQ(t.Registered[0], 1);
    EXPECT_EQ(t.Reactive[0], 151);
    EXPECT_EQ(t.Agility[0], 52);
    EXPECT_EQ(t.Temper[0], 53);
    EXPECT_EQ(t.Durability[0], 155);
    EXPECT_EQ(t.LowerDistance[0], 1600);
    EXPECT_EQ(t.UpperDistance[0], 2400);
    EXPECT_EQ(t.EqpAbilities(0), (std::array<std::int32_t, 4>{11, 12, 13, 14}));
    EXPECT_EQ(t.ExeAbilities(0), (std::array<std::int32_t, 4>{21, 22, 23, 24}));

    EXPECT_EQ(t.Registered[63], 101);
    EXPECT_EQ(t.Reactive[63], 251);
    EXPECT_EQ(t.Agility[63], 152);
    EXPECT_EQ(t.Temper[63], 153);
    EXPECT_EQ(t.Durability[63], 255);
    EXPECT_EQ(t.LowerDistance[63], 4000); // lower above upper is stored as found
    EXPECT_EQ(t.UpperDistance[63], 1000);
    EXPECT_EQ(t.EqpAbilities(63), (std::array<std::int32_t, 4>{111, 112, 113, 114}));
    EXPECT_EQ(t.ExeAbilities(63), (std::array<std::int32_t, 4>{121, 122, 123, 124}));

    // Record 1 is all zero: a slot that is not registered still gets every value decoded.
    EXPECT_EQ(t.Registered[1], 0);
    EXPECT_EQ(t.LowerDistance[1], 1000);
    EXPECT_EQ(t.UpperDistance[1], 1000);
    EXPECT_EQ(t.Speed[1], 30);
}

TEST(AnalyzeBlock, EverySlotHoldsItsIndexAndNothingSurvivesTheNextBlock) {
    HorseBlock first;
    first.fill(0x3E); // every name "ョョ…", every field at some non-zero value
    HorseBlock second{};
    for (int i = 0; i < RecordCount; ++i)
        At(second, i, 117) = 0x64; // only the dams are named, "あ"

    TDM_HorseStatus t;
    TDM_Analyze analyze(t);
    analyze.AnalyzeBlock(first);
    ASSERT_FALSE(t.HorseName[40].empty());
    ASSERT_NE(t.Guts[40], 0);
    analyze.AnalyzeBlock(second);
    for (int i = 0; i < RecordCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(t.HorseID[i], i);
        EXPECT_EQ(t.Registered[i], 0);
        EXPECT_EQ(t.HorseName[i], "");
        EXPECT_EQ(t.FatherName[i], "");
        EXPECT_EQ(t.MotherName[i], "あ");
        EXPECT_EQ(t.BasicAbilities(i),
                  (std::array<std::int32_t, 10>{30, 30, 30, 0, 0, 0, 0, 0, 0, 0}));
        EXPECT_EQ(t.ExeAbilities(i), (std::array<std::int32_t, 4>{}));
        EXPECT_EQ(t.EqpAbilities(i), (std::array<std::int32_t, 4>{}));
    }
}

TEST(DecodeName, EveryByteValueAgainstTheNameTable) {
    std::vector<std::string> expected(256, "？");
    expected[0x00] = expected[0xFF] = ""; // terminators
    const std::pair<int, std::string> runs[] = {
        {14, "アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレ"
             "ロワヲン"},
        {60, "ヴ"},
        {61, "ガギグゲゴザジズゼゾダヂヅデド"},
        {76, "バビブベボ"},
        {81, "パピプペポ"},
        {86, "ッ"},
        {87, "ァィゥェォャュョ"},
        {95, "ー"},
        {96, "・"},
        {100, "あ"},
    };
    int named = 0;
    for (const auto& [first, text] : runs) {
        int code = first;
        for (const std::string& ch : Characters(text)) {
            expected[static_cast<std::size_t>(code++)] = ch;
            ++named;
        }
    }
    ASSERT_EQ(named, 84);

    for (int code = 0; code < 256; ++code) {
        HorseBlock block{};
        At(block, 5, 62) = static_cast<std::uint8_t>(code); // followed by 0x00
        EXPECT_EQ(TDM_Analyze::DecodeName(5, 0, block), expected[code]) << "code " << code;
    }
}

TEST(DecodeName, FieldsTerminatorsAndRunningOn) {
    HorseBlock block{};
    const auto put = [&](int index, int offset, std::vector<std::uint8_t> bytes) {
        for (std::size_t n = 0; n < bytes.size(); ++n)
            At(block, index, offset + static_cast<int>(n)) = bytes[n];
    };
    put(3, 62, {0x0E, 0x0F, 0x10, 0x00, 0x11}); // アイウ, stops at 0x00
    put(3, 96, {0x3D, 0x51, 0xFF, 0x12});       // ガパ, stops at 0xFF
    put(3, 117, {0x0E, 0x61, 0x0E, 0x00});      // a code outside the table inside a name
    put(4, 62, {0xFF, 0x0E});                   // empty at once
    put(4, 96, {0x00, 0x0E});
    // A name field has no length of its own: the horse's name runs to its terminator, past the
    // offset where the sire's field starts.
    put(5, 62, std::vector<std::uint8_t>(96 - 62, 0x0E));
    put(5, 96, {0x26, 0x27, 0x00}); // ノハ

    EXPECT_EQ(TDM_Analyze::DecodeName(3, 0, block), "アイウ");
    EXPECT_EQ(TDM_Analyze::DecodeName(3, 1, block), "ガパ");
    EXPECT_EQ(TDM_Analyze::DecodeName(3, 2, block), "ア？ア");
    EXPECT_EQ(TDM_Analyze::DecodeName(4, 0, block), "");
    EXPECT_EQ(TDM_Analyze::DecodeName(4, 1, block), "");
    EXPECT_EQ(TDM_Analyze::DecodeName(5, 0, block), Repeat("ア", 96 - 62) + "ノハ");
    EXPECT_EQ(TDM_Analyze::DecodeName(5, 1, block), "ノハ");
}

// A name without terminator ends with its own record: never in the next horse's record, and
// for the last record never past the block; the first record's names neither.
TEST(DecodeName, UnterminatedNameStopsAtTheEndOfItsRecord) {
    HorseBlock block;
    block.fill(0x0E); // ア everywhere, no terminator anywhere
    for (int offset = 0; offset < RecordSize; ++offset)
        At(block, 11, offset) = 0x0F; // record 11 is all イ

    for (const int index : {0, 10, 11, 62, 63}) {
        const std::string ch = index == 11 ? "イ" : "ア";
        SCOPED_TRACE(index);
        EXPECT_EQ(TDM_Analyze::DecodeName(index, 0, block), Repeat(ch, RecordSize - 62));
        EXPECT_EQ(TDM_Analyze::DecodeName(index, 1, block), Repeat(ch, RecordSize - 96));
        EXPECT_EQ(TDM_Analyze::DecodeName(index, 2, block), Repeat(ch, RecordSize - 117));
    }
}

TEST(AbilityNames, EdgesOfBothTables) {
    EXPECT_EQ(TDM_Analyze::ExeAbilityName(0), "");
    EXPECT_EQ(TDM_Analyze::ExeAbilityName(43), "タフネス");
    EXPECT_EQ(TDM_Analyze::ExeAbilityName(44), "？");
    EXPECT_EQ(TDM_Analyze::ExeAbilityName(255), "？");
    EXPECT_EQ(TDM_Analyze::ExeAbilityName(2), TDM_Analyze::ExeAbilityName(18));
    EXPECT_EQ(TDM_Analyze::EqpAbilityName(0), "");
    EXPECT_EQ(TDM_Analyze::EqpAbilityName(52), "アイドルホース");
    EXPECT_EQ(TDM_Analyze::EqpAbilityName(53), "？");
    EXPECT_EQ(TDM_Analyze::EqpAbilityName(255), "？");
    EXPECT_EQ(TDM_Analyze::EqpAbilityName(0xFFFFFFFFu), "？");
    // ○ is U+25CB and × U+00D7; the digits are plain ASCII.
    EXPECT_EQ(TDM_Analyze::ExeAbilityName(14), "スローペース\u25CB");
    EXPECT_EQ(TDM_Analyze::EqpAbilityName(2), "左回り\u00D7");
    EXPECT_EQ(TDM_Analyze::ExeAbilityName(7), "4角先頭");
    EXPECT_EQ(TDM_Analyze::EqpAbilityName(8), "2走ボケ");
}
