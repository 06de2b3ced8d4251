// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "HorseFileWriter.h"

#include "U_Analyze.h"
#include "U_FileAccess.h"
#include "U_FilePath.h"

#include <fstream>
#include <stdexcept>

namespace {

void Require(bool ok, const char* what) {
    if (!ok)
        throw std::invalid_argument(what);
}

// Stores a packed field whose lowest bit is record bit `first`.
void PutPackedField(std::uint8_t* record, int first, int value) {
    for (int bit = 0; bit < PackedFieldBits; ++bit) {
        const int k = first + bit;
        const auto mask = static_cast<std::uint8_t>(1u << (k % 8));
        if ((value >> bit) & 1)
            record[k / 8] |= mask;
        else
            record[k / 8] &= static_cast<std::uint8_t>(~mask);
    }
}

void PutName(std::uint8_t* record, int offset, const std::string& name, int room) {
    const std::vector<std::uint8_t> bytes = EncodeName(name);
    Require(static_cast<int>(bytes.size()) < room, "name too long for its field");
    for (std::size_t n = 0; n < bytes.size(); ++n)
        record[offset + n] = bytes[n];
    record[offset + bytes.size()] = 0x00;
}

int DistanceNibble(int metres) {
    const int steps = (metres - ShortestDistance) / DistanceStep;
    Require(metres >= ShortestDistance && steps <= 0x0F &&
                (metres - ShortestDistance) % DistanceStep == 0,
            "distance out of range");
    return steps;
}

} // namespace

std::vector<std::uint8_t> EncodeName(std::string_view text) {
    std::vector<std::uint8_t> bytes;
    while (!text.empty()) {
        bool found = false;
        for (int code = 1; code < 255 && !found; ++code) {
            const std::string_view ch = NameCharacter(static_cast<std::uint8_t>(code));
            if (ch != "？" && text.starts_with(ch)) {
                bytes.push_back(static_cast<std::uint8_t>(code));
                text.remove_prefix(ch.size());
                found = true;
            }
        }
        Require(found, "character not in the name table");
    }
    return bytes;
}

void PutHorse(HorseBlock& block, int index, const HorseRecordFields& horse) {
    Require(index >= 0 && index < RecordCount, "record index out of 0..63");
    auto inRange = [](int v, int lo, int hi) { return v >= lo && v <= hi; };
    Require(inRange(horse.Registered, 0, 255), "slot state out of range");
    for (int v : {horse.Speed, horse.Endurance, horse.Stamina})
        Require(inRange(v, AbilityBase, AbilityBase + PackedFieldMax), "ability out of 30..157");
    for (int v : {horse.Power, horse.Agreement, horse.Guts})
        Require(inRange(v, 0, PackedFieldMax), "ability out of 0..127");
    for (int v : {horse.Agility, horse.Temper, horse.Reactive, horse.Durability})
        Require(inRange(v, 0, 255), "ability out of 0..255");
    for (std::size_t slot = 0; slot < horse.ExeAbility.size(); ++slot)
        Require(inRange(horse.ExeAbility[slot], 0, 255) && inRange(horse.EqpAbility[slot], 0, 255),
                "ability code out of 0..255");

    std::uint8_t* r = block.data() + static_cast<std::size_t>(index) * RecordSize;
    r[SlotStateOffset] = static_cast<std::uint8_t>(horse.Registered);
    PutPackedField(r, AgreementBit, horse.Agreement);
    PutPackedField(r, StaminaBit, horse.Stamina - AbilityBase);
    PutPackedField(r, SpeedBit, horse.Speed - AbilityBase);
    PutPackedField(r, EnduranceBit, horse.Endurance - AbilityBase);
    PutPackedField(r, PowerBit, horse.Power);
    PutPackedField(r, GutsBit, horse.Guts);
    r[DistanceOffset] = static_cast<std::uint8_t>(DistanceNibble(horse.LowerDistance) << 4 |
                                                  DistanceNibble(horse.UpperDistance));
    r[ReactiveOffset] = static_cast<std::uint8_t>(horse.Reactive);
    r[AgilityOffset] = static_cast<std::uint8_t>(horse.Agility);
    r[TemperOffset] = static_cast<std::uint8_t>(horse.Temper);
    for (std::size_t slot = 0; slot < horse.ExeAbility.size(); ++slot) {
        r[EqpAbilityOffset + slot] = static_cast<std::uint8_t>(horse.EqpAbility[slot]);
        r[ExeAbilityOffset + slot] = static_cast<std::uint8_t>(horse.ExeAbility[slot]);
    }
    r[DurabilityOffset] = static_cast<std::uint8_t>(horse.Durability);
    // Each name keeps to the room before the next field, so the three never run together.
    PutName(r, NameFieldOffsets[0], horse.HorseName, NameFieldOffsets[1] - NameFieldOffsets[0]);
    PutName(r, NameFieldOffsets[1], horse.FatherName, NameFieldOffsets[2] - NameFieldOffsets[1]);
    PutName(r, NameFieldOffsets[2], horse.MotherName, RecordSize - NameFieldOffsets[2]);
}

std::vector<std::uint8_t> MakeHorseFileBytes(std::int64_t fileSize, const HorseBlock& block) {
    const std::optional<std::int64_t> offset = BlockOffsetForSize(fileSize);
    Require(offset.has_value(), "not a recognised horse file size");
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(fileSize));
    for (std::size_t n = 0; n < bytes.size(); ++n)
        bytes[n] = static_cast<std::uint8_t>(0xA5 ^ (n * 7));
    std::copy(block.begin(), block.end(), bytes.begin() + static_cast<std::ptrdiff_t>(*offset));
    return bytes;
}

void WriteBytes(const std::string& path, std::span<const std::uint8_t> bytes) {
    std::ofstream out(FilePathFromUtf8(path), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

void WriteHorseFile(const std::string& path, std::int64_t fileSize, const HorseBlock& block) {
    WriteBytes(path, MakeHorseFileBytes(fileSize, block));
}
