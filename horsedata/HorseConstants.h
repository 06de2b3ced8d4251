// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The horse block of a data file: 64 records of 400 bytes, end to end.
inline constexpr int RecordSize = 400;
inline constexpr int RecordCount = 64;
inline constexpr int HorseBlockSize = RecordSize * RecordCount;

using HorseBlock = std::array<std::uint8_t, HorseBlockSize>;

// The layout of one record, in bytes from its start. The decoder reads it and the writer of test
// and demo files writes it, so both keep to this one copy; bytes not named here are never read.
inline constexpr int SlotStateOffset = 2;
inline constexpr int DistanceOffset = 22; // high nibble the lower end, low nibble the upper
inline constexpr int ReactiveOffset = 23;
inline constexpr int AgilityOffset = 24;
inline constexpr int TemperOffset = 25;
inline constexpr int EqpAbilityOffset = 26; // four codes, slots 1 to 4
inline constexpr int ExeAbilityOffset = 34; // four codes, slots 1 to 4
inline constexpr int DurabilityOffset = 47;
// The horse, sire and dam names (NameField 0, 1, 2); each runs to a 0x00 or 0xFF byte.
inline constexpr std::array<int, 3> NameFieldOffsets = {62, 96, 117};

// Six abilities packed as 7-bit fields into bytes 14..20, least significant bit first: record
// bit k is bit k % 8 of byte k / 8. Each constant is the record bit of a field's lowest bit.
inline constexpr int PackedAbilitiesOffset = 14;
inline constexpr int PackedAbilitiesSize = 7;
inline constexpr int PackedFieldBits = 7;
inline constexpr int PackedFieldMax = (1 << PackedFieldBits) - 1;
inline constexpr int AgreementBit = 116;
inline constexpr int StaminaBit = 123;
inline constexpr int SpeedBit = 130;
inline constexpr int EnduranceBit = 137;
inline constexpr int PowerBit = 148;
inline constexpr int GutsBit = 155;
static_assert(AgreementBit >= PackedAbilitiesOffset * 8 &&
              GutsBit + PackedFieldBits <= (PackedAbilitiesOffset + PackedAbilitiesSize) * 8);

// Speed, Endurance and Stamina are stored less this base; the other abilities as they are.
inline constexpr int AbilityBase = 30;
// A distance nibble n stands for ShortestDistance + n * DistanceStep metres.
inline constexpr int ShortestDistance = 1000;
inline constexpr int DistanceStep = 200;
