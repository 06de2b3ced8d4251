// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

// Makes horse data files for tests, fuzz seeds and the demo: the inverse of the reader and
// the decoder. Not part of the viewer, which never writes a file.

#include "HorseConstants.h"
#include "U_HorseStatus.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// One horse in decoded units, as the horse table holds it.
struct HorseRecordFields {
    int Registered = 1;
    std::string HorseName{};
    std::string FatherName{};
    std::string MotherName{};
    // The ten basic abilities in display order. Speed, Endurance and Stamina 30..157;
    // Power, Agreement and Guts 0..127; the rest 0..255.
    int Speed = 30, Endurance = 30, Stamina = 30, Power = 0, Agility = 0;
    int Agreement = 0, Temper = 0, Guts = 0, Reactive = 0, Durability = 0;
    int LowerDistance = 1000, UpperDistance = 1000; // 1000..4000, steps of 200
    std::array<int, AbilitySlotCount> ExeAbility{};
    std::array<int, AbilitySlotCount> EqpAbility{};
};

// The name bytes of a text made of characters of the name table, without terminator.
// Throws std::invalid_argument for a character the table lacks.
std::vector<std::uint8_t> EncodeName(std::string_view text);

// Writes the fields into record `index` of `block`; bytes the decoder does not read are left as
// found. Throws std::invalid_argument for a value the record cannot hold.
void PutHorse(HorseBlock& block, int index, const HorseRecordFields& horse);

// A whole file of `fileSize` bytes (one of the recognised sizes) with `block` at its offset;
// the bytes around the block are a fixed non-zero pattern so that a misplaced read shows.
std::vector<std::uint8_t> MakeHorseFileBytes(std::int64_t fileSize, const HorseBlock& block);
// Paths are UTF-8.
void WriteHorseFile(const std::string& path, std::int64_t fileSize, const HorseBlock& block);
void WriteBytes(const std::string& path, std::span<const std::uint8_t> bytes);

// A block of plausible horses with katakana names, a few slots left unregistered.
HorseBlock MakeDemoBlock();
