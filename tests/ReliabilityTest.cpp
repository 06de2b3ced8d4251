// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// Hostile files and environments: whatever the user picks, the viewer neither crashes nor hangs
// nor shows something it did not read, and a load that fails leaves the table and the list as
// they were. The sanitizer build runs these too, which proves no read outside a buffer.
#include "FileReaderSupport.h"
#include "ReliabilitySupport.h"
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

std::size_t CountOf(const std::vector<FileCall>& calls, FileCall::Kind kind) {
    return static_cast<std::size_t>(std::count_if(
        calls.begin(), calls.end(), [kind](const FileCall& call) { return call.What == kind; }));
}

// Lets every stopped call go on.
int GoOn(const FileCall&) {
    return 0;
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
    ReadResult goodRead;
    const auto goodCalls = WatchFileCalls([&] { goodRead = Read(good); }, GoOn);
    SKIP_WITHOUT_WATCH(goodCalls);
    // The watch sees what a good load does, or the checks below would prove nothing.
    ASSERT_TRUE(goodRead.Ok);
    ASSERT_GE(CountOf(*goodCalls, FileCall::Size), 1u);
    ASSERT_GE(CountOf(*goodCalls, FileCall::Read), 1u);
    // The read starts at the block and the file is closed after it. Other closes may follow
    // (in the sanitizer build the watch sees further closes as the thread ends).
    const auto read = std::find_if(goodCalls->begin(), goodCalls->end(), [](const FileCall& call) {
        return call.What == FileCall::Read;
    });
    EXPECT_EQ(read->Offset, HorseFileLayouts[0].BlockOffset);
    EXPECT_TRUE(std::any_of(read, goodCalls->end(), [&read](const FileCall& call) {
        return call.What == FileCall::Close && call.Fd == read->Fd;
    }));

    // That they are refused, without an error or a wait, FileReaderTest checks.
    for (const std::string& path : MakeRefusedFiles(dir)) {
        SCOPED_TRACE(path);
        const FifoWatchdog watchdog(path);
        const auto calls = WatchFileCalls([&] { Read(path); }, GoOn);
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
            ReadResult result;
            const auto calls =
                WatchFileCalls([&] { result = Read(path); },
                               [&](const FileCall& call) {
                                   if (call.What == FileCall::Size)
                                       sizedFirst = !shrunk;
                                   if (call.What == FileCall::Read && !shrunk) {
                                       EXPECT_EQ(call.Offset, layout.BlockOffset);
                                       shrunk =
                                           ::truncate(path.c_str(), layout.BlockOffset + kept) == 0;
                                   }
                                   return 0;
                               });
            SKIP_WITHOUT_WATCH(calls);
            ASSERT_TRUE(shrunk);
            EXPECT_TRUE(sizedFirst);
            EXPECT_EQ(result.Message(), "");
            ASSERT_TRUE(result.Ok);
            const auto keptBytes = static_cast<std::size_t>(std::max<std::int64_t>(kept, 0));
            HorseBlock expected{};
            std::copy_n(block.begin(), keptBytes, expected.begin());
            EXPECT_EQ(result.Buffer, expected);
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
            ReadResult result;
            const auto calls = WatchFileCalls(
                [&] { result = Read(path); },
                [&](const FileCall& call) {
                    if (call.What == pause && !replaced)
                        replaced = (with.Size == 0 ? ::unlink(path.c_str())
                                                   : ::rename(other.c_str(), path.c_str())) == 0;
                    return 0;
                });
            SKIP_WITHOUT_WATCH(calls);
            ASSERT_TRUE(replaced);
            EXPECT_EQ(result.Message(), "");
            EXPECT_TRUE(result.Ok);
            EXPECT_EQ(result.Buffer, original);

            // The replacement really took place: the next load sees it.
            const ReadResult next = Read(path);
            if (with.Size == 0)
                EXPECT_EQ(next.Message(), "ファイルが見つかりません");
            else if (with.Size == 1000)
                EXPECT_FALSE(next.Ok);
            else
                EXPECT_EQ(next.Buffer, replacement);
        }
    }
}

// The read for a followed file, with the file changed by a writer while the block is read:
// written over at another size, truncated and written again only in part, or replaced by a
// rename. The read notices and reads again, and gives the file as it stands after the change,
// whole, or refuses it: never the old size's offset into the new bytes, nor zeros for what a
// shrunk file no longer holds.
TEST(HostileFile, FileChangedDuringAWholeReadIsReadAgain) {
    TempDir dir;
    const std::string path = dir.File("followed.dat");
    const std::string other = dir.File("other.dat");
    const HorseBlock original = PatternBlock(5);
    const HorseBlock replacement = PatternBlock(77);
    struct Change {
        const char* What;
        std::function<void()> Make;
        WholeRead Expected;
    } const changes[] = {
        {"written over at another size",
         [&] { WriteHorseFile(path, HorseFileLayouts[2].FileSize, replacement); }, WholeRead::Read},
        {"truncated, written in part",
         [&] { WriteBytes(path, std::vector<std::uint8_t>(30'000, 9)); }, WholeRead::NotHorseFile},
        {"renamed over",
         [&] {
             WriteHorseFile(other, HorseFileLayouts[0].FileSize, replacement);
             std::filesystem::rename(other, path);
         },
         WholeRead::Read},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.What);
        WriteHorseFile(path, HorseFileLayouts[0].FileSize, original);
        HorseBlock buffer{};
        WholeRead read = WholeRead::Unsettled;
        bool changed = false;
        const auto calls = WatchFileCalls(
            [&] { read = TDM_FileAccess().ReadWholeHorseBlock(path, HorseBlockSize, buffer); },
            [&](const FileCall& call) {
                if (call.What == FileCall::Read && !changed) {
                    change.Make();
                    changed = true;
                }
                return 0;
            });
        SKIP_WITHOUT_WATCH(calls);
        ASSERT_TRUE(changed);
        EXPECT_EQ(read, change.Expected);
        EXPECT_TRUE(change.Expected != WholeRead::Read || buffer == replacement);
    }
}

// --- Through the main window ------------------------------------------------------------------

// A viewer that has loaded a good file and has a row selected: what every failing load must
// leave exactly as it is.
class HostileLoad : public ViewerTest {
protected:
    void SetUp() override {
        WriteHorseFile(goodPath, HorseFileLayouts[1].FileSize, SampleHorsesAt({5, 15, 25}));
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
            EXPECT_EQ(boxes[0].Title, "stallark_tests"); // this program's file name
            EXPECT_EQ(boxes[0].Icon, QMessageBox::Critical);
            EXPECT_EQ(boxes[0].Buttons, QMessageBox::Ok);
        }
        EXPECT_EQ(before.DifferenceFrom(Now()), "");
        EXPECT_TRUE(form->isVisible());
        EXPECT_FALSE(watchdog.Fired()) << "the load waited for a writer";
    }
}

// The chosen file fails after it is open: its size query, a read or its close reports an error.
// The box shows the error's text, whatever number it has; the table, the list and the selection
// stay as they were; the file is closed. A read interrupted by a signal is tried again, and the
// load succeeds. The watch makes the errors, on the chosen file only; a failing close has
// closed the file all the same, as on Linux. A thread's watch cannot be taken off again, and
// the loads must run on the windows' thread, so they run in a child process.
TEST_F(HostileLoad, FileFailingAfterItsOpenShowsTheErrorAndChangesNothing) {
    const std::string path = dir.File("failing.dat");
    WriteHorseFile(path, HorseFileLayouts[2].FileSize, SampleHorsesAt({7}));
    SKIP_WITHOUT_WATCH(WatchFileCalls([&] { Read(path); }, GoOn));
    struct Case {
        FileCall::Kind Call;
        int Errno;
        QString Box; // empty: the load succeeds
    } const cases[] = {
        {FileCall::Size, EIO, "I/O エラー (5)"}, // the number of 'access denied', not its text
        {FileCall::Size, EPERM, "ファイルへのアクセスが拒否されました."},
        {FileCall::Read, EIO, "I/O エラー (5)"},
        {FileCall::Read, EMFILE, "オープンしたファイルが多すぎます."},
        {FileCall::Read, ESRCH, "I/O エラー (3)"},
        {FileCall::Close, ENFILE, "オープンしたファイルが多すぎます."},
        {FileCall::Close, EINTR, "I/O エラー (4)"}, // the file is closed: no second close
        {FileCall::Read, EINTR, ""},
    };
    const std::filesystem::path chosen = std::filesystem::canonical(path);
    const Case* current = nullptr;
    std::vector<FileCall::Kind> seen; // the calls on the chosen file in the current case
    const std::optional<std::string> report = RunInChild(false, [&]() -> std::string {
        const bool watched = WatchThisThreadForGood([&](const FileCall& call) {
            std::error_code notAFile;
            if (current == nullptr ||
                std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(call.Fd),
                                              notAFile) != chosen)
                return 0;
            seen.push_back(call.What);
            if (call.What != current->Call || std::count(seen.begin(), seen.end(), call.What) > 1)
                return 0;
            if (call.What == FileCall::Close)
                ::close(call.Fd);
            return current->Errno;
        });
        const char* const callNames[] = {"the size query", "a read", "the close"};
        std::string report = watched ? "" : "no watch in the child";
        for (const Case& c : cases) {
            seen.clear();
            current = &c;
            OpenThroughMenu(QString::fromStdString(path));
            current = nullptr;
            std::string trouble;
            const QStringList boxes = errorBoxes.TakeTexts();
            if (boxes != (c.Box.isEmpty() ? QStringList{} : QStringList{c.Box}))
                trouble += " the box said '" + boxes.join(", ").toStdString() + "'";
            else if (c.Box.isEmpty() && ListTexts(List()) != QList<QStringList>{SampleRowTexts(7)})
                trouble += " the file's horse is not listed";
            else if (!c.Box.isEmpty())
                trouble += before.DifferenceFrom(Now());
            if (seen.empty() || seen.back() != FileCall::Close)
                trouble += " the file was left open";
            if (!trouble.empty())
                report += std::string(callNames[c.Call]) + " failing with errno " +
                          std::to_string(c.Errno) + ":" + trouble + "; ";
        }
        return report;
    });
    ASSERT_TRUE(report);
    EXPECT_EQ(*report, "");
}

// CI runs as root, who may read anything, so the loads run in a child process that has become
// the unprivileged user nobody: a file it may not read is denied and changes nothing, and a file
// it may read but not write loads, as the viewer only reads.
TEST_F(HostileLoad, UnreadableFileIsDeniedAndAReadOnlyFileLoads) {
    std::filesystem::permissions(
        dir.Path(), std::filesystem::perms::group_exec | std::filesystem::perms::others_exec,
        std::filesystem::perm_options::add);
    const std::string readOnly = dir.File("readonly.dat");
    const std::string unreadable = dir.File("unreadable.dat");
    WriteHorseFile(readOnly, HorseFileLayouts[0].FileSize, SampleHorsesAt({7}));
    WriteHorseFile(unreadable, HorseFileLayouts[0].FileSize, SampleHorsesAt({7}));
    ASSERT_EQ(::chmod(readOnly.c_str(), 0444), 0);
    ASSERT_EQ(::chmod(unreadable.c_str(), 0200), 0);

    const std::optional<std::string> report = RunInChild(true, [&]() -> std::string {
        // Without these two the loads would prove nothing.
        if (::access(readOnly.c_str(), W_OK) == 0)
            return "the read-only file is writable for this user";
        if (::access(unreadable.c_str(), R_OK) == 0)
            return "the unreadable file is readable for this user";
        if (const std::string error = Load(unreadable);
            error != "ファイルへのアクセスが拒否されました")
            return "the unreadable file raised '" + error + "'";
        if (const std::string changed = before.DifferenceFrom(Now()); !changed.empty())
            return changed;
        const std::string error = Load(readOnly);
        return error.empty() && ListTexts(List()) == QList<QStringList>{SampleRowTexts(7)}
                   ? ""
                   : "the read-only file did not load: '" + error + "'";
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
