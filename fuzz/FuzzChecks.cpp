// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "FuzzChecks.h"

#include "U_Analyze.h"
#include "U_Comparison.h"
#include "U_HorseFields.h"
#include "U_HorseRow.h"
#include "U_HorseStatus.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

bool InRange(std::int32_t value, std::int32_t low, std::int32_t high) {
    return value >= low && value <= high;
}

// Every character the program shows is UTF-8 encoded; a cut-off or stray byte is a fault.
bool IsUtf8(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size()) {
        const auto lead = static_cast<unsigned char>(text[at]);
        const std::size_t length = lead < 0x80           ? 1
                                   : (lead >> 5) == 0x06 ? 2
                                   : (lead >> 4) == 0x0E ? 3
                                   : (lead >> 3) == 0x1E ? 4
                                                         : 0;
        if (length == 0 || at + length > text.size())
            return false;
        for (std::size_t n = 1; n < length; ++n)
            if ((static_cast<unsigned char>(text[at + n]) >> 6) != 0x02)
                return false;
        at += length;
    }
    return true;
}

// The number of characters of a name: the bytes from the field's first one up to the first
// 0x00 or 0xFF, or up to the end of the record when there is none.
std::size_t NameLength(const std::uint8_t* record, int fieldOffset) {
    std::size_t length = 0;
    for (int at = fieldOffset; at < RecordSize; ++at, ++length)
        if (record[at] == 0x00 || record[at] == 0xFF)
            break;
    return length;
}

std::size_t CountOf(std::string_view text, char c) {
    std::size_t count = 0;
    for (const char each : text)
        count += each == c ? 1 : 0;
    return count;
}

void CheckSlot(const TDM_HorseStatus& t, const HorseBlock& block, int i) {
    const std::uint8_t* record = block.data() + static_cast<std::size_t>(i) * RecordSize;
    Check(t.HorseID[i] == i, "HorseID is not the slot");
    Check(t.Registered[i] == record[2], "Registered is not byte 2");
    // A packed field of PackedFieldBits, and for three of them AbilityBase added.
    for (const std::int32_t v : {t.Speed[i], t.Endurance[i], t.Stamina[i]})
        Check(InRange(v, AbilityBase, AbilityBase + PackedFieldMax),
              "Speed, Endurance or Stamina outside their packed field plus its base");
    for (const std::int32_t v : {t.Power[i], t.Agreement[i], t.Guts[i]})
        Check(InRange(v, 0, PackedFieldMax), "Power, Agreement or Guts outside their packed field");
    for (const std::int32_t v : {t.Agility[i], t.Temper[i], t.Reactive[i], t.Durability[i]})
        Check(InRange(v, 0, 255), "a one-byte ability outside 0..255");
    for (const std::int32_t v : {t.LowerDistance[i], t.UpperDistance[i]})
        Check(InRange(v, 1000, 4000) && v % 200 == 0, "a distance off the 200 m steps");
    for (int slot = 0; slot < AbilitySlotCount; ++slot)
        Check(InRange(t.ExeAbility[slot][i], 0, 255) && InRange(t.EqpAbility[slot][i], 0, 255),
              "an ability code outside 0..255");

    // Every character of the name table is three bytes long in UTF-8.
    const std::string* names[] = {&t.HorseName[i], &t.FatherName[i], &t.MotherName[i]};
    for (int field = 0; field < 3; ++field) {
        Check(IsUtf8(*names[field]), "a name is not valid UTF-8");
        Check(names[field]->size() == 3 * NameLength(record, NameFieldOffsets[field]),
              "a name does not stop at its terminator or at the end of its record");
    }

    const HorseRowTexts row = HorseRow(t, i);
    for (const std::string& text : row)
        Check(IsUtf8(text), "a row text is not valid UTF-8");
    Check(row[0] == std::to_string(i), "the ID text does not name the slot");
    Check(row[1] == t.HorseName[i], "the name text is not the horse's name");
    Check(row[2] == "？" && row[5] == "？/？", "a fixed text changed");
    Check(CountOf(row[3], '/') == BasicAbilityCount - 1, "not ten basic abilities");
    Check(row[4] == std::to_string(t.LowerDistance[i]) + " - " + std::to_string(t.UpperDistance[i]),
          "the distance text");
    for (const std::string& abilities : {row[6], row[7]})
        Check(CountOf(abilities, '/') <= AbilitySlotCount - 1, "too many ability separators");
}

} // namespace

void Check(bool ok, const char* what) {
    if (ok)
        return;
    std::fprintf(stderr, "check failed: %s\n", what);
    std::abort();
}

namespace {

// The table compared with one decoded from the same records one slot on, so that most fields
// differ: a change is listed for exactly the fields whose values differ, each once, in slot and
// field order, with two texts that differ and, for a measured field, the difference of the values.
void CheckComparison(const TDM_HorseStatus& table, const HorseBlock& block) {
    const auto shifted = std::make_unique<HorseBlock>();
    std::rotate_copy(block.begin(), block.begin() + RecordSize, block.end(), shifted->begin());
    const auto other = std::make_unique<TDM_HorseStatus>();
    TDM_Analyze(*other).AnalyzeBlock(*shifted);
    const std::vector<FieldChange> changes = CompareHorseTables(table, *other);
    std::size_t next = 0;
    for (int i = 0; i < RecordCount; ++i)
        for (int field = 0; field < HorseFieldCount; ++field) {
            if (SameField(table, *other, field, i))
                continue;
            Check(next < changes.size() && changes[next].HorseID == i &&
                      changes[next].Field == field,
                  "a changed field is missing from the comparison, or out of order");
            const FieldChange& change = changes[next++];
            Check(change.Old != change.New, "a change reads the same before and after");
            Check(change.Difference.has_value() == HorseFields[field].Measured &&
                      (!change.Difference || *change.Difference == FieldValue(*other, field, i) -
                                                                       FieldValue(table, field, i)),
                  "a change's difference is not that of its values");
        }
    Check(next == changes.size(), "the comparison lists a field that did not change");
}

} // namespace

void DecodeAndCheck(const HorseBlock& block) {
    const auto table = std::make_unique<TDM_HorseStatus>();
    TDM_Analyze analyze(*table);
    analyze.AnalyzeBlock(block);
    for (int i = 0; i < RecordCount; ++i)
        CheckSlot(*table, block, i);
    CheckComparison(*table, block);

    for (unsigned code = 0; code <= 255; ++code) {
        const std::string exe = TDM_Analyze::ExeAbilityName(code);
        const std::string eqp = TDM_Analyze::EqpAbilityName(code);
        Check(IsUtf8(exe) && IsUtf8(eqp), "an ability name is not valid UTF-8");
        Check((code == 0) == exe.empty() && (code == 0) == eqp.empty(),
              "only code 0 has an empty name");
        Check((code >= ExeAbilityCount) == (exe == "？"), "activation name past the table");
        Check((code >= EqpAbilityCount) == (eqp == "？"), "equipment name past the table");
    }
}

void CheckReadFromFile(std::span<const std::uint8_t> buffer, const LaidOutFile& file,
                       std::int64_t blockOffset) {
    const auto payloadEnd = file.Start + static_cast<std::int64_t>(file.Payload.size());
    for (std::size_t k = 0; k < buffer.size(); ++k) {
        const std::int64_t at = blockOffset + static_cast<std::int64_t>(k);
        const std::uint8_t expected = at >= file.Start && at < payloadEnd && at < file.FileSize
                                          ? file.Payload[static_cast<std::size_t>(at - file.Start)]
                                          : 0;
        Check(buffer[k] == expected,
              "a byte differs from the file at the block offset, or past its end is not zero");
    }
}

void CheckUntouched(std::span<const std::uint8_t> buffer, std::uint8_t fill) {
    for (const std::uint8_t b : buffer)
        Check(b == fill, "a refused file touched the buffer");
}
