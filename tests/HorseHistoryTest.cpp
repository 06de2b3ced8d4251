// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_HorseHistory.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Slots 0 and 5 listed, every value of slot 5 apart from スピード and the upper distance the
// least a record holds.
TDM_HorseStatus Table(int speed, const char* name = "アカツキ", int upper = 2400) {
    TDM_HorseStatus table;
    for (const int slot : {0, 5}) {
        table.Registered[slot] = 1;
        table.HorseName[slot] = slot == 0 ? "ハヤテ" : name;
        table.FatherName[slot] = "ソラ";
        table.MotherName[slot] = "ウミ";
        table.Speed[slot] = table.Endurance[slot] = table.Stamina[slot] = AbilityBase;
        table.LowerDistance[slot] = 1200;
        table.UpperDistance[slot] = 1800;
    }
    table.Speed[5] = speed;
    table.UpperDistance[5] = upper;
    return table;
}

// The time and スピード of each version of slot 5.
std::vector<std::pair<std::int64_t, int>> Speeds(const THorseHistory& history,
                                                 const std::string& path) {
    std::vector<std::pair<std::int64_t, int>> speeds;
    for (const TrendPoint& point : history.Versions(path, 5))
        speeds.emplace_back(point.Ms, point.Values[0]);
    return speeds;
}

} // namespace

TEST(HorseHistory, KeepsTwelveValuesAndDropsAVersionReplacedWithinASecond) {
    THorseHistory history;
    EXPECT_TRUE(history.Versions("a.dat", 5).empty());
    history.Record(Table(120), "a.dat", 10'000);
    history.Record(Table(120), "a.dat", 10'500); // the same version again: its first time stays
    history.Record(Table(125), "a.dat", 11'000);
    history.Record(Table(9, "アカ"), "a.dat", 12'500); // half written: gives way to the next
    history.Record(Table(131), "a.dat", 13'000);
    history.Record(Table(131), "a.dat", 14'000); // F5 on an unchanged file is a version too
    using Speeds = std::vector<std::pair<std::int64_t, int>>;
    EXPECT_EQ(::Speeds(history, "a.dat"),
              (Speeds{{10'000, 120}, {11'000, 125}, {13'000, 131}, {14'000, 131}}));
    // The half-written name did not start a new horse.
    EXPECT_EQ(history.Horse("a.dat", 5)->Name, "アカツキ");
    const TrendPoint first = history.Versions("a.dat", 5).front();
    EXPECT_EQ(first.Values, (std::array<std::int32_t, TrendValueCount>{120, 30, 30, 0, 0, 0, 0, 0,
                                                                       0, 0, 1200, 2400}));
    EXPECT_EQ(history.Versions("a.dat", 3).size(), 0u); // never listed
    EXPECT_EQ(history.Horse("a.dat", 3), nullptr);
}

TEST(HorseHistory, AnotherHorseInASlotStartsAnewAndEachFileKeepsItsOwnNewestThousand) {
    THorseHistory history;
    history.Record(Table(120), "a.dat", 0);
    history.Record(Table(130), "a.dat", 5'000);
    TDM_HorseStatus gone = Table(130);
    gone.Registered[5] = 0;
    history.Record(gone, "a.dat", 10'000); // not listed: no point, the same horse after
    history.Record(Table(140), "a.dat", 15'000);
    using Speeds = std::vector<std::pair<std::int64_t, int>>;
    EXPECT_EQ(::Speeds(history, "a.dat"), (Speeds{{0, 120}, {5'000, 130}, {15'000, 140}}));
    // Another sire is another horse, whatever its name.
    TDM_HorseStatus other = Table(90);
    other.FatherName[5] = "カゼ";
    history.Record(other, "a.dat", 20'000);
    EXPECT_EQ(::Speeds(history, "a.dat"), (Speeds{{20'000, 90}}));
    EXPECT_EQ(history.Horse("a.dat", 5)->Father, "カゼ");
    EXPECT_EQ(history.Versions("a.dat", 0).size(), 5u); // slot 0 kept its horse throughout

    // Another file starts its own history; going back continues the first one's.
    history.Record(Table(50, "ベツ"), "b.dat", 20'100);
    other.Speed[5] = 95;
    history.Record(other, "a.dat", 21'000);
    EXPECT_EQ(::Speeds(history, "b.dat"), (Speeds{{20'100, 50}}));
    EXPECT_EQ(::Speeds(history, "a.dat"), (Speeds{{20'000, 90}, {21'000, 95}}));

    for (int n = 0; n < 1200; ++n)
        history.Record(Table(n % 100), "b.dat", 30'000 + n * 1000);
    EXPECT_EQ(history.VersionCount("b.dat"), THorseHistory::MaxVersions);
    const std::vector<TrendPoint> kept = history.Versions("b.dat", 5);
    ASSERT_EQ(kept.size(), THorseHistory::MaxVersions);
    EXPECT_EQ(kept.front().Ms, 30'000 + 200 * 1000);
    EXPECT_EQ(kept.back().Ms, 30'000 + 1199 * 1000);
    EXPECT_EQ(kept.back().Values[0], 99);
    EXPECT_EQ(history.VersionCount("a.dat"), 6u);
}
