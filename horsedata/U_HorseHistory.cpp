// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_HorseHistory.h"

#include <utility>

namespace {

// The twelve values fit in 16 bits (abilities to 255, distances to 4000 metres): a version of
// 64 slots then takes 1.5 KB, and a thousand of them 1.5 MB.
using SlotValues = std::array<std::int16_t, TrendValueCount>;

constexpr IntColumn TDM_HorseStatus::*ValueColumns[TrendValueCount] = {
    BasicAbilityFields[0].Column, BasicAbilityFields[1].Column,    BasicAbilityFields[2].Column,
    BasicAbilityFields[3].Column, BasicAbilityFields[4].Column,    BasicAbilityFields[5].Column,
    BasicAbilityFields[6].Column, BasicAbilityFields[7].Column,    BasicAbilityFields[8].Column,
    BasicAbilityFields[9].Column, &TDM_HorseStatus::LowerDistance, &TDM_HorseStatus::UpperDistance};

SlotValues ValuesOf(const TDM_HorseStatus& table, int slot) {
    SlotValues values;
    for (int n = 0; n < TrendValueCount; ++n)
        values[n] = static_cast<std::int16_t>((table.*ValueColumns[n])[slot]);
    return values;
}

bool Listed(const TDM_HorseStatus& table, int slot) {
    return table.Registered[slot] == 1;
}

bool SameHorse(const HorseIdentity& horse, const TDM_HorseStatus& table, int slot) {
    return horse.Name == table.HorseName[slot] && horse.Father == table.FatherName[slot] &&
           horse.Mother == table.MotherName[slot];
}

} // namespace

struct THorseHistory::FileHistory {
    struct Version {
        std::int64_t Ms;
        std::uint64_t Number; // counts every version the file kept, dropped ones too
        std::bitset<RecordCount> Listed;
        std::array<SlotValues, RecordCount> Values;
    };
    // The horse a slot holds and the number of the version its history starts at; also the
    // one before the newest version, which a half-written newest version may have replaced.
    struct Slot {
        HorseIdentity Horse, Before;
        std::uint64_t Since = 0, SinceBefore = 0;
        bool Known = false, KnownBefore = false;
        bool ChangedByNewest = false;
    };

    // A ring of the newest versions: once full, the newest takes the oldest one's place, so a
    // reload allocates nothing.
    std::vector<Version> Ring;
    std::size_t Oldest = 0;
    std::uint64_t NextNumber = 0;
    std::array<Slot, RecordCount> Slots;

    const Version& At(std::size_t n) const { return Ring[(Oldest + n) % Ring.size()]; }
    Version& Newest() { return Ring[(Oldest + Ring.size() - 1) % Ring.size()]; }

    bool SameAsNewest(const TDM_HorseStatus& table) {
        const Version& newest = Newest();
        for (int slot = 0; slot < RecordCount; ++slot) {
            if (newest.Listed[slot] != Listed(table, slot))
                return false;
            if (newest.Listed[slot] && (newest.Values[slot] != ValuesOf(table, slot) ||
                                        !SameHorse(Slots[slot].Horse, table, slot)))
                return false;
        }
        return true;
    }

    // The horses as they were before the newest version came.
    void ForgetNewestHorses() {
        for (Slot& slot : Slots)
            if (slot.ChangedByNewest) {
                std::swap(slot.Horse, slot.Before);
                slot.Since = slot.SinceBefore;
                slot.Known = slot.KnownBefore;
                slot.ChangedByNewest = false;
            }
    }

    Version& NewVersion() {
        if (Ring.size() < MaxVersions) {
            Ring.emplace_back();
            return Ring.back();
        }
        Version& version = Ring[Oldest];
        Oldest = (Oldest + 1) % Ring.size();
        return version;
    }

    void Fill(Version& version, const TDM_HorseStatus& table, std::int64_t ms,
              std::uint64_t number) {
        version.Ms = ms;
        version.Number = number;
        for (int n = 0; n < RecordCount; ++n) {
            Slot& slot = Slots[n];
            slot.ChangedByNewest = false;
            version.Listed[n] = Listed(table, n);
            if (!version.Listed[n])
                continue;
            version.Values[n] = ValuesOf(table, n);
            if (slot.Known && SameHorse(slot.Horse, table, n))
                continue;
            // Another horse: its history starts here. The strings are assigned into those of
            // the horse before last, whose room they mostly fit.
            std::swap(slot.Horse, slot.Before);
            slot.SinceBefore = slot.Since;
            slot.KnownBefore = slot.Known;
            slot.Horse.Name = table.HorseName[n];
            slot.Horse.Father = table.FatherName[n];
            slot.Horse.Mother = table.MotherName[n];
            slot.Since = number;
            slot.Known = true;
            slot.ChangedByNewest = true;
        }
    }

    void Record(const TDM_HorseStatus& table, std::int64_t ms) {
        if (!Ring.empty() && ms - Newest().Ms < HalfWrittenMs) {
            // The same version again keeps the time it first came.
            if (SameAsNewest(table))
                return;
            ForgetNewestHorses();
            Version& newest = Newest();
            Fill(newest, table, ms, newest.Number);
            return;
        }
        Fill(NewVersion(), table, ms, NextNumber++);
    }
};

THorseHistory::THorseHistory() = default;
THorseHistory::~THorseHistory() = default;

THorseHistory::FileHistory* THorseHistory::Find(const std::string& path) const {
    const auto file = files_.find(path);
    return file == files_.end() ? nullptr : file->second.get();
}

void THorseHistory::Record(const TDM_HorseStatus& table, const std::string& path, std::int64_t ms) {
    if (current_ == nullptr || path != currentPath_) {
        std::unique_ptr<FileHistory>& file = files_[path];
        if (!file)
            file = std::make_unique<FileHistory>();
        current_ = file.get();
        currentPath_ = path;
    }
    current_->Record(table, ms);
}

const HorseIdentity* THorseHistory::Horse(const std::string& path, int slot) const {
    const FileHistory* file = Find(path);
    if (file == nullptr || slot < 0 || slot >= RecordCount || !file->Slots[slot].Known)
        return nullptr;
    return &file->Slots[slot].Horse;
}

std::vector<TrendPoint> THorseHistory::Versions(const std::string& path, int slot) const {
    std::vector<TrendPoint> points;
    if (Horse(path, slot) == nullptr)
        return points;
    const FileHistory& file = *Find(path);
    const std::uint64_t since = file.Slots[slot].Since;
    for (std::size_t n = 0; n < file.Ring.size(); ++n) {
        const FileHistory::Version& version = file.At(n);
        if (version.Number < since || !version.Listed[slot])
            continue;
        TrendPoint& point = points.emplace_back();
        point.Ms = version.Ms;
        for (int value = 0; value < TrendValueCount; ++value)
            point.Values[value] = version.Values[slot][value];
    }
    return points;
}

std::size_t THorseHistory::VersionCount(const std::string& path) const {
    const FileHistory* file = Find(path);
    return file == nullptr ? 0 : file->Ring.size();
}
