// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// The follower on its own, with no window: its states and what it publishes, driven by reads
// scripted through the reader's seam and by changes reported to it, with pauses of a few
// milliseconds. The whole viewer's follow tests write the file in every real way.
#include "TestFiles.h"
#include "U_Analyze.h"
#include "U_FileAccess.h"
#include "U_FileAccessSystem.h"
#include "U_FileFollower.h"
#include "U_HorseStatus.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <cerrno>
#include <string>
#include <vector>

namespace {

using Reason = TFileFollower::Reason;
using State = TFileFollower::State;

// The system's calls, with reads that fail as an unreadable file's do, or that meet a writer
// mid-write every time, for as long as the test says.
class ScriptedCalls : public FileAccessSystem::Calls {
public:
    bool Failing = false;
    bool Unsettled = false;

    FileAccessSystem::NativeFile Open(const std::string& path) const override {
        if (Failing)
            RaiseInOutError(EACCES);
        return Calls::Open(path);
    }
    // A whole read compares the file the path names with the one it read.
    std::optional<FileVersion> VersionAt(const std::string& path) const override {
        if (Unsettled)
            return std::nullopt;
        return Calls::VersionAt(path);
    }
};

class Follower : public ::testing::Test {
protected:
    Follower() {
        DM_HorseStatus = &table;
        DM_FileAccess = &access;
        DM_Analyze = &analyze;
        follower.Timing = {2, 30, {2, 2, 2}};
        QObject::connect(
            &follower, &TFileFollower::VersionShown, [this](const TFileFollower::Version& version) {
                EXPECT_EQ(&version.Table, &table);
                shown.push_back({version.Why, version.Path.toStdString(), version.Table.Speed[0]});
            });
        Write(path, 50);
    }
    ~Follower() override {
        DM_HorseStatus = previousTable;
        DM_FileAccess = previousAccess;
        DM_Analyze = previousAnalyze;
    }

    // A horse file whose one horse, in slot 0, has `speed`.
    static void Write(const std::string& file, int speed) {
        HorseBlock block{};
        HorseRecordFields horse;
        horse.HorseName = "ハヤテ";
        horse.Speed = speed;
        PutHorse(block, 0, horse);
        WriteHorseFile(file, HorseFileLayouts[0].FileSize, block);
    }
    bool WaitFor(State state, int timeoutMs = 2000) {
        return QTest::qWaitFor([&] { return follower.CurrentState() == state; }, timeoutMs);
    }

    struct Shown {
        Reason Why;
        std::string Path;
        int Speed;
        bool operator==(const Shown&) const = default;
    };

    TDM_HorseStatus* const previousTable = DM_HorseStatus;
    TDM_FileAccess* const previousAccess = DM_FileAccess;
    TDM_Analyze* const previousAnalyze = DM_Analyze;
    TempDir dir;
    const std::string path = dir.File("horses.dat");
    TDM_HorseStatus table;
    ScriptedCalls calls;
    TDM_FileAccess access{calls};
    TDM_Analyze analyze{table};
    TFileFollower follower;
    std::vector<Shown> shown;
};

} // namespace

// Opening publishes the version read and follows the file; another file that is no horse file,
// or cannot be read, changes neither what is followed nor what was shown. A reported change is
// read once the quiet period has passed, and a writer that never pauses still gets a version
// read at the end of the longest burst.
TEST_F(Follower, PublishesEachVersionOfTheFileItFollows) {
    EXPECT_EQ(follower.CurrentState(), State::Idle);
    follower.Load(QString::fromStdString(path), Reason::Open);
    EXPECT_EQ(shown, (std::vector<Shown>{{Reason::Open, path, 50}}));
    EXPECT_EQ(follower.CurrentState(), State::Watching);

    const std::string other = dir.File("other.dat");
    WriteBytes(other, std::vector<std::uint8_t>(100));
    follower.Load(QString::fromStdString(other), Reason::Open);
    EXPECT_THROW(follower.Load(QString::fromStdString(dir.File("gone.dat")), Reason::Open),
                 EInOutError);
    EXPECT_EQ(follower.Path().toStdString(), path);
    EXPECT_EQ(shown.size(), 1u);

    Write(path, 60);
    follower.Changed();
    EXPECT_EQ(follower.CurrentState(), State::Quiet);
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown.size() == 2; }, 2000));
    EXPECT_EQ(shown.back(), (Shown{Reason::Follow, path, 60}));
    EXPECT_TRUE(WaitFor(State::Watching));

    follower.Timing.QuietMs = 20;
    QElapsedTimer writing;
    writing.start();
    for (int speed = 70; shown.back().Speed < 70 && writing.elapsed() < 1000; ++speed) {
        Write(path, speed);
        follower.Changed();
        QTest::qWait(5);
    }
    EXPECT_GE(shown.back().Speed, 70);
    EXPECT_LT(writing.elapsed(), 200);
}

// While the list cannot show a version (a caption typed over), the read waits and further
// changes add nothing; Resume reads it. F5 is never put off.
TEST_F(Follower, PutsOffTheReadUntilResumed) {
    bool canShow = false;
    follower.CanShowNow = [&] { return canShow; };
    follower.Load(QString::fromStdString(path), Reason::Open);
    Write(path, 60);
    follower.Changed();
    EXPECT_TRUE(WaitFor(State::PutOff));
    follower.Changed();
    EXPECT_EQ(follower.CurrentState(), State::PutOff);
    follower.Load(QString::fromStdString(path), Reason::Reload);
    EXPECT_EQ(shown.back(), (Shown{Reason::Reload, path, 60}));

    Write(path, 70);
    follower.Changed();
    EXPECT_TRUE(WaitFor(State::PutOff));
    canShow = true;
    follower.Resume();
    EXPECT_EQ(shown.back(), (Shown{Reason::Follow, path, 70}));
    EXPECT_EQ(follower.CurrentState(), State::Watching);
}

// A read that fails, or that meets a writer mid-write on every try, is tried again after each
// pause, silently, and then left until the next change, with no timer running.
TEST_F(Follower, RetriesAFailedOrUnsettledReadThenWaitsForTheNextChange) {
    follower.Load(QString::fromStdString(path), Reason::Open);
    for (bool ScriptedCalls::*trouble : {&ScriptedCalls::Failing, &ScriptedCalls::Unsettled}) {
        calls.*trouble = true;
        QSignalSpy tried(&follower, &TFileFollower::Tried);
        Write(path, 60);
        follower.Changed();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return tried.size() >= 1 + std::ssize(follower.Timing.RetriesMs) &&
                       follower.CurrentState() == State::Watching;
            },
            2000));
        EXPECT_EQ(shown.size(), 1u);
        const qsizetype tries = tried.size();
        QTest::qWait(20);
        EXPECT_EQ(tried.size(), tries);

        calls.*trouble = false;
        Write(path, 70);
        follower.Changed();
        ASSERT_TRUE(QTest::qWaitFor([&] { return shown.size() == 2; }, 2000));
        EXPECT_EQ(shown.back(), (Shown{Reason::Follow, path, 70}));
        shown.pop_back();
    }
}

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
