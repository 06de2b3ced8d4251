// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// Hostile files and environments: whatever the user picks, the viewer neither crashes nor hangs
// nor shows something it did not read, and a load that fails leaves the table and the list as
// they were. The sanitizer build runs these too, which proves no read outside a buffer.
#include "ReliabilitySupport.h"
#include "TestFiles.h"
#include "U_ErrorDisplay.h"
#include "ViewerFixture.h"

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QTableView>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <filesystem>
#include <mutex>
#include <random>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr std::uint8_t Untouched = 0xCD;

// A block in which every byte differs from its neighbours and none is 0x00, so that a missing,
// moved or zeroed byte shows.
HorseBlock PatternBlock(std::uint8_t salt) {
    HorseBlock block;
    for (std::size_t n = 0; n < block.size(); ++n)
        block[n] = static_cast<std::uint8_t>(1 + (n * 7 + salt) % 251);
    return block;
}

HorseBlock ThreeHorses() {
    HorseBlock block{};
    const char* names[] = {"ハヤテ", "シルバーアロー", "ゴールド"};
    for (int n = 0; n < 3; ++n) {
        HorseRecordFields horse;
        horse.HorseName = names[n];
        horse.FatherName = "ソラ";
        horse.MotherName = "ハルカゼ";
        horse.Speed = 100 + n;
        horse.ExeAbility = {n + 1, 0, 0, 0};
        PutHorse(block, 10 * n + 5, horse);
    }
    return block;
}

// Gives a FIFO a writer if the reader is still stuck opening it after a while, so that a
// reader that waits fails the test instead of hanging it.
class FifoWatchdog {
public:
    explicit FifoWatchdog(std::string fifo)
        : thread_([this, fifo = std::move(fifo)] {
              std::unique_lock lock(mutex_);
              if (!stop_.wait_for(lock, std::chrono::seconds(10), [this] { return stopped_; })) {
                  fired_ = true;
                  const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
                  if (fd >= 0)
                      ::close(fd);
              }
          }) {}
    ~FifoWatchdog() {
        {
            std::lock_guard lock(mutex_);
            stopped_ = true;
        }
        stop_.notify_one();
        thread_.join();
    }
    bool Fired() const { return fired_; }

private:
    std::mutex mutex_;
    std::condition_variable stop_;
    bool stopped_ = false;
    std::atomic<bool> fired_ = false;
    std::thread thread_;
};

struct ReadOutcome {
    bool Returned = false;
    std::string Error;
    std::vector<std::uint8_t> Buffer = std::vector<std::uint8_t>(HorseBlockSize, Untouched);
};

void ReadInto(const std::string& path, ReadOutcome& outcome) {
    TDM_FileAccess reader;
    try {
        outcome.Returned = reader.ReadHorseBlock(path, HorseBlockSize, outcome.Buffer);
    } catch (const EInOutError& error) {
        outcome.Error = error.what();
    }
}

std::vector<std::uint8_t> Bytes(const HorseBlock& block) {
    return {block.begin(), block.end()};
}

std::size_t CountOf(const std::vector<FileCall>& calls, FileCall::Kind kind) {
    return static_cast<std::size_t>(std::count_if(
        calls.begin(), calls.end(), [kind](const FileCall& call) { return call.What == kind; }));
}

#define SKIP_WITHOUT_WATCH(calls)                                                                  \
    if (!(calls))                                                                                  \
    GTEST_SKIP()                                                                                   \
        << "this kernel cannot stop a thread at its system calls (seccomp user notification)"

} // namespace

// --- The reader, watched at its system calls --------------------------------------------------

// A refused file is only sized, never read: the reader decides by the size before it reads.
TEST(HostileFile, RefusedFilesAreSizedButNeverRead) {
    TempDir dir;
    const std::string good = dir.File("good.dat");
    WriteHorseFile(good, HorseFileLayouts[0].FileSize, PatternBlock(1));
    ReadOutcome goodOutcome;
    const auto goodCalls = WatchFileCalls([&] { ReadInto(good, goodOutcome); }, [](auto&) {});
    SKIP_WITHOUT_WATCH(goodCalls);
    // The watch sees what a good load does, or the checks below would prove nothing.
    ASSERT_TRUE(goodOutcome.Returned);
    ASSERT_GE(CountOf(*goodCalls, FileCall::Size), 1u);
    ASSERT_GE(CountOf(*goodCalls, FileCall::Read), 1u);
    EXPECT_EQ(goodCalls->back().Offset, HorseFileLayouts[0].BlockOffset);

    // That they are refused, without an error or a wait, FileReaderTest checks.
    for (const std::string& path : MakeRefusedFiles(dir)) {
        SCOPED_TRACE(path);
        ReadOutcome outcome;
        const FifoWatchdog watchdog(path);
        const auto calls = WatchFileCalls([&] { ReadInto(path, outcome); }, [](auto&) {});
        ASSERT_TRUE(calls);
        EXPECT_GE(CountOf(*calls, FileCall::Size), 1u);
        EXPECT_EQ(CountOf(*calls, FileCall::Read), 0u);
    }
}

// The file shrinks after the reader has checked its size and before it reads: no error, the
// bytes still there are read, and the rest of the block is zero rather than stale memory.
// The reader thread is stopped by the kernel at its read, the file is truncated, then the read
// goes on, so the shrink happens at exactly that point every time.
TEST(HostileFile, FileShrinkingBeforeTheReadLeavesTheRestZero) {
    TempDir dir;
    const std::string path = dir.File("shrinking.dat");
    for (const HorseFileLayout& layout : HorseFileLayouts) {
        for (const std::int64_t kept :
             {std::int64_t{1000}, std::int64_t{3 * RecordSize + 17},
              std::int64_t{HorseBlockSize - 1}, std::int64_t{0}, -layout.BlockOffset}) {
            SCOPED_TRACE("size " + std::to_string(layout.FileSize) + ", bytes of the block kept " +
                         std::to_string(std::max<std::int64_t>(kept, 0)));
            const HorseBlock block = PatternBlock(static_cast<std::uint8_t>(kept));
            WriteHorseFile(path, layout.FileSize, block);
            bool shrunk = false;
            bool sizedFirst = false;
            ReadOutcome outcome;
            const auto calls = WatchFileCalls(
                [&] { ReadInto(path, outcome); },
                [&](const FileCall& call) {
                    if (call.What == FileCall::Size)
                        sizedFirst = !shrunk;
                    if (call.What != FileCall::Read || shrunk)
                        return;
                    EXPECT_EQ(call.Offset, layout.BlockOffset);
                    ASSERT_EQ(::truncate(path.c_str(), layout.BlockOffset + kept), 0);
                    shrunk = true;
                });
            SKIP_WITHOUT_WATCH(calls);
            ASSERT_TRUE(shrunk);
            EXPECT_TRUE(sizedFirst);
            EXPECT_EQ(outcome.Error, "");
            ASSERT_TRUE(outcome.Returned);
            const auto keptBytes = static_cast<std::size_t>(std::max<std::int64_t>(kept, 0));
            std::vector<std::uint8_t> expected(HorseBlockSize, 0);
            std::copy_n(block.begin(), keptBytes, expected.begin());
            EXPECT_EQ(outcome.Buffer, expected);
        }
    }
}

// Another file is renamed over the chosen one while the load runs, between the open and the
// size check or between the size check and the read: the load reads the file it opened,
// whole, and never mixes the old size with the new content.
TEST(HostileFile, FileReplacedDuringTheLoadIsReadAsOpened) {
    TempDir dir;
    const std::string path = dir.File("chosen.dat");
    const std::string other = dir.File("other.dat");
    const HorseBlock original = PatternBlock(3);
    const HorseBlock replacement = PatternBlock(200);

    struct Replacement {
        const char* What;
        std::int64_t Size; // 0: the chosen name is removed instead
    };
    const Replacement replacements[] = {{"same size", HorseFileLayouts[0].FileSize},
                                        {"another recognised size", HorseFileLayouts[2].FileSize},
                                        {"an unrecognised size", 1000},
                                        {"removed", 0}};
    for (const FileCall::Kind pause : {FileCall::Size, FileCall::Read}) {
        for (const Replacement& with : replacements) {
            SCOPED_TRACE(std::string(with.What) + (pause == FileCall::Size
                                                       ? ", before the size check"
                                                       : ", before the read"));
            WriteHorseFile(path, HorseFileLayouts[0].FileSize, original);
            if (with.Size == 1000)
                WriteBytes(other, std::vector<std::uint8_t>(1000, 1));
            else if (with.Size != 0)
                WriteHorseFile(other, with.Size, replacement);
            bool replaced = false;
            ReadOutcome outcome;
            const auto calls = WatchFileCalls([&] { ReadInto(path, outcome); },
                                              [&](const FileCall& call) {
                                                  if (call.What != pause || replaced)
                                                      return;
                                                  const int done =
                                                      with.Size == 0
                                                          ? ::unlink(path.c_str())
                                                          : ::rename(other.c_str(), path.c_str());
                                                  ASSERT_EQ(done, 0);
                                                  replaced = true;
                                              });
            SKIP_WITHOUT_WATCH(calls);
            ASSERT_TRUE(replaced);
            EXPECT_EQ(outcome.Error, "");
            EXPECT_TRUE(outcome.Returned);
            EXPECT_EQ(outcome.Buffer, Bytes(original));

            // The replacement really took place: the next load sees it.
            ReadOutcome next;
            ReadInto(path, next);
            if (with.Size == 0)
                EXPECT_EQ(next.Error, "ファイルが見つかりません");
            else if (with.Size == 1000)
                EXPECT_FALSE(next.Returned);
            else
                EXPECT_EQ(next.Buffer, Bytes(replacement));
        }
    }
}

// --- Through the main window ------------------------------------------------------------------

// A viewer that has loaded a good file and has a row selected: what every failing load must
// leave exactly as it is.
class HostileLoad : public ViewerTest {
protected:
    void SetUp() override {
        WriteHorseFile(goodPath, HorseFileLayouts[1].FileSize, ThreeHorses());
        form->LoadHorseFile(QString::fromStdString(goodPath));
        ASSERT_EQ(RowCount(), 3);
        List()->selectRow(1);
        before = Now();
        ASSERT_EQ(before.SelectedRows, QList<int>{1});
    }

    // Loads `path` directly; returns the I/O error's message, or "" when none was raised.
    std::string Load(const std::string& path) {
        try {
            form->LoadHorseFile(QString::fromStdString(path));
        } catch (const EInOutError& error) {
            return error.what();
        }
        return "";
    }

    ViewState Now() const { return ViewState::Of(horseStatus, List()); }

    std::string goodPath = dir.File("good.dat");
    ViewState before;
};

// Every load that fails, chosen through the menu: a refused file shows no box, a path that
// names no file shows the reader's message in the error box (with the closing "." the box
// adds), and neither changes the table, the list or the selection. Which message each path
// raises, FileReaderTest checks.
TEST_F(HostileLoad, FailedLoadsShowTheirBoxOrNoneAndChangeNothing) {
    struct Case {
        std::string Path;
        QString Box; // empty: no box
    };
    std::vector<Case> cases;
    for (const std::string& path : MakeRefusedFiles(dir))
        cases.push_back({path, ""});
    for (const FailingPath& each : MakeFailingPaths(dir))
        cases.push_back({each.Path, QString::fromStdString(WithClosingPeriod(each.Message))});
    for (const Case& each : cases) {
        SCOPED_TRACE(each.Path);
        const FifoWatchdog watchdog(each.Path);
        OpenThroughMenu(QString::fromStdString(each.Path));
        const QList<ErrorBoxRecorder::Box> boxes = errorBoxes.TakeBoxes();
        if (each.Box.isEmpty()) {
            EXPECT_EQ(boxes.size(), 0);
        } else {
            ASSERT_EQ(boxes.size(), 1);
            EXPECT_EQ(boxes[0].Text, each.Box);
            EXPECT_EQ(boxes[0].Title, ApplicationTitle());
            EXPECT_EQ(boxes[0].Icon, QMessageBox::Critical);
            EXPECT_EQ(boxes[0].Buttons, QMessageBox::Ok);
        }
        EXPECT_EQ(before.DifferenceFrom(Now()), "");
        EXPECT_TRUE(form->isVisible());
        EXPECT_FALSE(watchdog.Fired()) << "the load waited for a writer";
    }
}

// CI runs as root, who may read anything, so the load runs in a child process that has become
// the unprivileged user nobody. The child first proves that it can load a readable file from
// the same folder and that the other file really is unreadable for it.
TEST_F(HostileLoad, FileTheUserMayNotReadFailsAndChangesNothing) {
    std::filesystem::permissions(
        dir.Path(), std::filesystem::perms::group_exec | std::filesystem::perms::others_exec,
        std::filesystem::perm_options::add);
    const std::string readable = dir.File("readable.dat");
    const std::string unreadable = dir.File("unreadable.dat");
    WriteHorseFile(readable, HorseFileLayouts[0].FileSize, PatternBlock(9));
    WriteHorseFile(unreadable, HorseFileLayouts[0].FileSize, PatternBlock(9));
    ASSERT_EQ(::chmod(readable.c_str(), 0444), 0);
    ASSERT_EQ(::chmod(unreadable.c_str(), 0200), 0);

    const std::optional<std::string> report = RunInChild(true, [&]() -> std::string {
        if (::access(unreadable.c_str(), R_OK) == 0)
            return "the unreadable file is readable for this user";
        ReadOutcome control;
        ReadInto(readable, control);
        if (!control.Returned || control.Buffer != Bytes(PatternBlock(9)))
            return "this user cannot even load a readable file";
        if (Load(unreadable).empty())
            return "the load raised nothing";
        return before.DifferenceFrom(Now());
    });
    if (!report)
        GTEST_SKIP() << "cannot become an unprivileged user here";
    EXPECT_EQ(*report, "");
}

// --- Hostile contents: every byte value is a valid file ---------------------------------------

// Any bytes make a file that loads: the list shows exactly the slots whose slot-state byte is
// 1, in order, each with as many name characters as its record has bytes before a terminator
// (0x00 or 0xFF) or its end. All zero and all 0xFF list nothing; names without terminator run to
// the end of their record and no further (each record starts with two イ bytes, which a name
// running on into the next record would show); then random blocks with few terminators, a
// slot state of 1 for about half the slots. What the decoder makes of such bytes,
// HorseDecodeTest checks.
TEST_F(HostileLoad, AnyBytesListExactlyTheSlotsMarkedPresent) {
    std::vector<HorseBlock> blocks(3);
    blocks[0].fill(0x00);
    blocks[1].fill(0xFF);
    blocks[2].fill(0x0E); // ア
    for (int i = 0; i < RecordCount; ++i) {
        std::uint8_t* record = blocks[2].data() + static_cast<std::size_t>(i) * RecordSize;
        record[0] = record[1] = 0x0F; // イ
        record[2] = 1;
    }
    for (unsigned seed = 1; seed <= 12; ++seed) {
        std::mt19937 random(seed);
        std::uniform_int_distribution<int> byte(seed % 2 == 0 ? 0 : 1, seed % 3 == 0 ? 255 : 254);
        HorseBlock& block = blocks.emplace_back();
        for (std::uint8_t& b : block)
            b = static_cast<std::uint8_t>(byte(random));
        for (int i = 0; i < RecordCount; ++i)
            if (random() % 2 == 0)
                block[static_cast<std::size_t>(i) * RecordSize + 2] = 1;
    }

    const std::string path = dir.File("any.dat");
    for (std::size_t n = 0; n < blocks.size(); ++n) {
        SCOPED_TRACE("block " + std::to_string(n));
        const HorseBlock& block = blocks[n];
        WriteHorseFile(path, HorseFileLayouts[n % 3].FileSize, block);
        EXPECT_EQ(Load(path), "");

        QStringList expectedIds;
        QList<int> expectedNameLengths;
        for (int i = 0; i < RecordCount; ++i) {
            const std::uint8_t* record = block.data() + static_cast<std::size_t>(i) * RecordSize;
            if (record[2] != 1)
                continue;
            expectedIds << QString::number(i);
            int length = 0;
            while (62 + length < RecordSize && record[62 + length] != 0x00 &&
                   record[62 + length] != 0xFF)
                ++length;
            expectedNameLengths << length;
        }
        QStringList ids;
        QList<int> nameLengths;
        for (const QStringList& row : ListTexts(List())) {
            ids << row[0];
            nameLengths << static_cast<int>(row[1].size());
            if (n == 2) {
                EXPECT_EQ(row[1], QStringLiteral("ア").repeated(RecordSize - 62))
                    << row[0].toStdString();
            }
        }
        EXPECT_EQ(ids, expectedIds);
        EXPECT_EQ(nameLengths, expectedNameLengths);
    }
}
