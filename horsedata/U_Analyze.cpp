// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_Analyze.h"

#include <cstring>
#include <stdexcept>
#include <string_view>

TDM_Analyze* DM_Analyze = nullptr;

namespace {

constexpr std::string_view Unknown = "？";

// Name bytes 14 (0x0E) to 96 (0x60), in byte order.
constexpr std::string_view NameCharactersFrom14[] = {
    "ア", "イ", "ウ", "エ", "オ", "カ", "キ", "ク", "ケ", "コ", "サ", "シ", "ス", "セ",
    "ソ", "タ", "チ", "ツ", "テ", "ト", "ナ", "ニ", "ヌ", "ネ", "ノ", "ハ", "ヒ", "フ",
    "ヘ", "ホ", "マ", "ミ", "ム", "メ", "モ", "ヤ", "ユ", "ヨ", "ラ", "リ", "ル", "レ",
    "ロ", "ワ", "ヲ", "ン", "ヴ", "ガ", "ギ", "グ", "ゲ", "ゴ", "ザ", "ジ", "ズ", "ゼ",
    "ゾ", "ダ", "ヂ", "ヅ", "デ", "ド", "バ", "ビ", "ブ", "ベ", "ボ", "パ", "ピ", "プ",
    "ペ", "ポ", "ッ", "ァ", "ィ", "ゥ", "ェ", "ォ", "ャ", "ュ", "ョ", "ー", "・"};
constexpr int FirstNameCode = 14;
constexpr int LastNameCode = 96;
static_assert(std::size(NameCharactersFrom14) == LastNameCode - FirstNameCode + 1);
constexpr std::uint8_t HiraganaACode = 100;

constexpr const char* ExeAbilityNames[ExeAbilityCount] = {"",
                                                          "大逃げ",
                                                          "大まくり",
                                                          "自由自在",
                                                          "融通性なし",
                                                          "直一気",
                                                          "気抜き癖",
                                                          "4角先頭",
                                                          "一瞬の切れ",
                                                          "馬群好き",
                                                          "馬込み苦手",
                                                          "頑丈な体",
                                                          "繊細な体",
                                                          "ど根性",
                                                          "スローペース○",
                                                          "スローペース×",
                                                          "ハイペース○",
                                                          "ハイペース×",
                                                          "大まくり",
                                                          "接戦○",
                                                          "接戦×",
                                                          "大外一気",
                                                          "イン強襲",
                                                          "出ムチ",
                                                          "単騎逃げ",
                                                          "二の脚",
                                                          "殿一気",
                                                          "ささり癖",
                                                          "強心臓",
                                                          "砂かぶり×",
                                                          "馬群突破",
                                                          "シフトダウン",
                                                          "二枚腰",
                                                          "瞬間の反応",
                                                          "高速の末脚",
                                                          "不屈の闘志",
                                                          "鋼の精神力",
                                                          "変幻自在",
                                                          "音速の逃亡者",
                                                          "怒涛の追込",
                                                          "一瞬の爆発力",
                                                          "脅威の粘り",
                                                          "黄金のまくり",
                                                          "タフネス"};

constexpr const char* EqpAbilityNames[EqpAbilityCount] = {
    "",           "サンスポー",   "左回り×",      "平坦巧者", "海外好き",      "地方好き",
    "遠征×",      "鉄砲駆け",     "2走ボケ",      "かかり癖", "鉄砲×",         "斤量○",
    "斤量×",      "大レース○",    "大レース×",    "外枠好き", "連戦○",         "連戦×",
    "連闘○",      "重馬場○",      "重馬場×",      "小回り×",  "小回り○",       "夏場に強い",
    "夏場に弱い", "冬場に強い",   "冬場に弱い",   "直線○",    "人気者",        "多頭数×",
    "香港○",      "東京○",        "東京×",        "中山○",    "中山×",         "阪神○",
    "阪神×",      "京都○",        "京都×",        "新潟○",    "新潟×",         "荒れ馬場○",
    "荒れ馬場×",  "牝馬戦○",      "距離不問",     "重の鬼",   "連闘マスター",  "競馬場不問",
    "コース不問", "馬場状態不問", "抜群の安定感", "一発屋",   "アイドルホース"};

// The packed field whose lowest bit is record bit `first`.
int PackedField(const std::uint8_t* record, int first) {
    int value = 0;
    for (int bit = 0; bit < PackedFieldBits; ++bit) {
        const int k = first + bit;
        value |= ((record[k / 8] >> (k % 8)) & 1) << bit;
    }
    return value;
}

std::string NameFromTable(const char* const* names, int count, unsigned code) {
    return code < static_cast<unsigned>(count) ? std::string(names[code]) : std::string(Unknown);
}

constexpr std::string_view CharacterOfNameByte(int code) {
    if (code >= FirstNameCode && code <= LastNameCode)
        return NameCharactersFrom14[code - FirstNameCode];
    if (code == HiraganaACode)
        return "あ";
    return Unknown;
}

// Every character a name byte can stand for is three bytes of UTF-8, so a name's text is
// sized from its byte count and each character copied as three bytes from this table.
constexpr std::size_t NameCharacterSize = 3;
constexpr auto NameCharacterBytes = [] {
    std::array<const char*, 256> bytes{};
    for (int code = 0; code < 256; ++code)
        bytes[code] = CharacterOfNameByte(code).data();
    return bytes;
}();
constexpr bool EveryNameCharacterHasThreeBytes() {
    for (int code = 0; code < 256; ++code)
        if (CharacterOfNameByte(code).size() != NameCharacterSize)
            return false;
    return true;
}
static_assert(EveryNameCharacterHasThreeBytes());

// The tab-separated texts of the list and of stallark-dump write names and ability names as
// they are; a tab or a line break in one would split a row.
constexpr bool HoldsNoTabOrLineBreak(std::string_view text) {
    return text.find_first_of("\t\r\n") == std::string_view::npos;
}
constexpr bool NoTextHoldsTabOrLineBreak() {
    for (int code = 0; code < 256; ++code)
        if (!HoldsNoTabOrLineBreak(CharacterOfNameByte(code)))
            return false;
    for (const char* name : ExeAbilityNames)
        if (!HoldsNoTabOrLineBreak(name))
            return false;
    for (const char* name : EqpAbilityNames)
        if (!HoldsNoTabOrLineBreak(name))
            return false;
    return true;
}
static_assert(NoTextHoldsTabOrLineBreak());

} // namespace

std::string_view NameCharacter(std::uint8_t code) {
    return CharacterOfNameByte(code);
}

std::string TDM_Analyze::DecodeName(int index, int NameField, const HorseBlock& block) {
    if (index < 0 || index >= RecordCount || NameField < 0 || NameField > 2)
        throw std::out_of_range("DecodeName: no such record or name field");
    const std::uint8_t* const record = block.data() + static_cast<std::size_t>(index) * RecordSize;
    const std::uint8_t* const first = record + NameFieldOffsets[NameField];
    const std::uint8_t* end = first;
    while (end < record + RecordSize && *end != 0x00 && *end != 0xFF)
        ++end;
    // Allocated once at its final length, then filled.
    std::string name(static_cast<std::size_t>(end - first) * NameCharacterSize, '\0');
    char* out = name.data();
    for (const std::uint8_t* at = first; at < end; ++at, out += NameCharacterSize)
        std::memcpy(out, NameCharacterBytes[*at], NameCharacterSize);
    return name;
}

void TDM_Analyze::AnalyzeBlock(const HorseBlock& block) {
    TDM_HorseStatus& t = table_;
    for (int i = 0; i < RecordCount; ++i) {
        const std::uint8_t* r = block.data() + static_cast<std::size_t>(i) * RecordSize;
        t.HorseID[i] = i;
        t.Registered[i] = r[SlotStateOffset];
        t.HorseName[i] = DecodeName(i, 0, block);
        t.FatherName[i] = DecodeName(i, 1, block);
        t.MotherName[i] = DecodeName(i, 2, block);

        t.Agreement[i] = PackedField(r, AgreementBit);
        t.Stamina[i] = PackedField(r, StaminaBit) + AbilityBase;
        t.Speed[i] = PackedField(r, SpeedBit) + AbilityBase;
        t.Endurance[i] = PackedField(r, EnduranceBit) + AbilityBase;
        t.Power[i] = PackedField(r, PowerBit);
        t.Guts[i] = PackedField(r, GutsBit);
        t.Agility[i] = r[AgilityOffset];
        t.Temper[i] = r[TemperOffset];
        t.Reactive[i] = r[ReactiveOffset];
        t.Durability[i] = r[DurabilityOffset];

        t.LowerDistance[i] = (r[DistanceOffset] >> 4) * DistanceStep + ShortestDistance;
        t.UpperDistance[i] = (r[DistanceOffset] & 0x0F) * DistanceStep + ShortestDistance;

        for (int slot = 0; slot < AbilitySlotCount; ++slot) {
            t.ExeAbility[slot][i] = r[ExeAbilityOffset + slot];
            t.EqpAbility[slot][i] = r[EqpAbilityOffset + slot];
        }
    }
}

std::string TDM_Analyze::ExeAbilityName(unsigned code) {
    return NameFromTable(ExeAbilityNames, ExeAbilityCount, code);
}

std::string TDM_Analyze::EqpAbilityName(unsigned code) {
    return NameFromTable(EqpAbilityNames, EqpAbilityCount, code);
}
