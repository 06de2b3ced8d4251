// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// Hostile files and environments: whatever the user picks, the viewer neither crashes nor hangs
// nor shows something it did not read, and a load that fails leaves the table and the list as
// they were. The sanitizer build runs these too, which proves no read outside a buffer.
#include "ReliabilitySupport.h"
#include "TestFiles.h"
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
constexpr std::int64_t FourGiB = std::int64_t{1} << 32;

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

void WriteSized(const std::string& path, std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t n = 0; n < size; ++n)
        bytes[n] = static_cast<std::uint8_t>(n * 13 + 1);
    WriteBytes(path, bytes);
}

// A file of `size` bytes that takes almost no disk space.
void MakeSparse(const std::string& path, std::int64_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, size), 0);
    struct stat status {};
    ASSERT_EQ(::fstat(fd, &status), 0);
    EXPECT_EQ(status.st_size, size);
    EXPECT_LT(status.st_blocks * 512, 1 << 20) << "the file is not sparse";
    ::close(fd);
}

// Every non-file and every size the reader must refuse without an error: each recognised
// size one byte short and one byte long, the same sizes past 4 GiB (which a 32-bit size would
// mistake for them), a FIFO with no writer, a folder and a device.
std::vector<std::string> RefusedPaths(const TempDir& dir) {
    std::vector<std::string> paths;
    for (const HorseFileLayout& layout : HorseFileLayouts) {
        for (const int delta : {-1, +1}) {
            const std::string path =
                dir.File("size" + std::to_string(layout.FileSize + delta) + ".dat");
            WriteSized(path, static_cast<std::size_t>(layout.FileSize + delta));
            paths.push_back(path);
        }
        const std::string sparse = dir.File("sparse" + std::to_string(layout.FileSize) + ".dat");
        MakeSparse(sparse, FourGiB + layout.FileSize);
        paths.push_back(sparse);
    }
    const std::string fifo = dir.File("fifo");
    EXPECT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    paths.push_back(fifo);
    paths.push_back(dir.Path().string());
    paths.push_back("/dev/zero");
    return paths;
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

bool IsUntouched(const std::vector<std::uint8_t>& buffer) {
    return std::all_of(buffer.begin(), buffer.end(), [](std::uint8_t b) { return b == Untouched; });
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

    for (const std::string& path : RefusedPaths(dir)) {
        SCOPED_TRACE(path);
        ReadOutcome outcome;
        const FifoWatchdog watchdog(path);
        const auto calls = WatchFileCalls([&] { ReadInto(path, outcome); }, [](auto&) {});
        ASSERT_TRUE(calls);
        EXPECT_FALSE(outcome.Returned);
        EXPECT_EQ(outcome.Error, "");
        EXPECT_TRUE(IsUntouched(outcome.Buffer));
        EXPECT_GE(CountOf(*calls, FileCall::Size), 1u);
        EXPECT_EQ(CountOf(*calls, FileCall::Read), 0u);
        EXPECT_FALSE(watchdog.Fired()) << "the reader waited for a writer";
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
                WriteSized(other, 1000);
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

TEST_F(HostileLoad, RefusedFilesChangeNothing) {
    for (const std::string& path : RefusedPaths(dir)) {
        SCOPED_TRACE(path);
        const FifoWatchdog watchdog(path);
        EXPECT_EQ(Load(path), "");
        EXPECT_EQ(before.DifferenceFrom(Now()), "");
        EXPECT_FALSE(watchdog.Fired()) << "the load waited for a writer";
    }
}

TEST_F(HostileLoad, PathsThatNameNoFileRaiseTheirMessageAndChangeNothing) {
    const std::string loop = dir.File("loop");
    ASSERT_EQ(::symlink(loop.c_str(), loop.c_str()), 0);
    const std::string loopA = dir.File("loop-a");
    const std::string loopB = dir.File("loop-b");
    ASSERT_EQ(::symlink(loopB.c_str(), loopA.c_str()), 0);
    ASSERT_EQ(::symlink(loopA.c_str(), loopB.c_str()), 0);
    const std::string dangling = dir.File("dangling");
    ASSERT_EQ(::symlink(dir.File("gone.dat").c_str(), dangling.c_str()), 0);

    const std::string invalidArgument = "I/O エラー (" + std::to_string(EINVAL) + ")";
    const struct {
        std::string Path;
        std::string Message;
    } cases[] = {
        {dir.File("missing.dat"), "ファイルが見つかりません"},
        {dangling, "ファイルが見つかりません"},
        {dir.File("missing-folder/horses.dat"), "ファイルが見つかりません"},
        {loop, "不正なファイル名です"},
        {loopA, "不正なファイル名です"},
        {goodPath + "/horses.dat", "不正なファイル名です"}, // a file used as a folder
        {dir.File(std::string(300, 'x')), "不正なファイル名です"},
        // No file name holds a NUL: cut there, the name would open another file.
        {goodPath + std::string(1, '\0') + ".txt", invalidArgument},
        {"", "ファイルが見つかりません"},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.Path);
        EXPECT_EQ(Load(each.Path), each.Message);
        EXPECT_EQ(before.DifferenceFrom(Now()), "");
    }
}

// CI runs as root, who may read anything, so the load runs in a child process that has become
// the unprivileged user nobody. The child first proves that it can load a readable file from
// the same folder and that the other file really is unreadable for it.
TEST_F(HostileLoad, FileTheUserMayNotReadIsDeniedAndChangesNothing) {
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
        const std::string message = Load(unreadable);
        if (message != "ファイルへのアクセスが拒否されました")
            return "the load raised \"" + message + "\"";
        return before.DifferenceFrom(Now());
    });
    if (!report)
        GTEST_SKIP() << "cannot become an unprivileged user here";
    EXPECT_EQ(*report, "");
}

// The menu road: the error box shows the message with its closing "." and the list stays; a
// refused file shows no box at all.
TEST_F(HostileLoad, FailuresThroughTheMenuShowTheirBoxAndKeepTheList) {
    const std::string loop = dir.File("loop");
    ASSERT_EQ(::symlink(loop.c_str(), loop.c_str()), 0);
    const std::string wrongSize = dir.File("wrong.dat");
    WriteSized(wrongSize, static_cast<std::size_t>(HorseFileLayouts[2].FileSize + 1));

    const struct {
        std::string Path;
        QString Box; // empty: no box
    } cases[] = {{dir.File("missing.dat"), "ファイルが見つかりません."},
                 {loop, "不正なファイル名です."},
                 {wrongSize, ""},
                 {"/dev/zero", ""}};
    for (const auto& each : cases) {
        SCOPED_TRACE(each.Path);
        QStringList boxes;
        // Queued: runs inside the box's own event loop, reads it and presses OK.
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                boxes << box->text();
                box->button(QMessageBox::Ok)->click();
            }
        });
        closer.start(0);
        form->ChooseFile = [&] { return std::optional(QString::fromStdString(each.Path)); };
        form->findChild<QAction*>("O1")->trigger();
        QApplication::processEvents();
        closer.stop();
        EXPECT_EQ(boxes, each.Box.isEmpty() ? QStringList() : QStringList{each.Box});
        EXPECT_EQ(before.DifferenceFrom(Now()), "");
    }
}

// --- Hostile contents: every byte value is a valid file ---------------------------------------

TEST_F(HostileLoad, AllZeroBytesLoadAsAnEmptyList) {
    const std::string path = dir.File("zeros.dat");
    WriteHorseFile(path, HorseFileLayouts[0].FileSize, HorseBlock{});
    EXPECT_EQ(Load(path), "");
    EXPECT_EQ(RowCount(), 0);
    const TDM_HorseStatus& table = horseStatus;
    for (int i = 0; i < RecordCount; ++i) {
        EXPECT_EQ(table.Registered[i], 0);
        EXPECT_EQ(table.HorseName[i], "");
        EXPECT_EQ(table.Speed[i], 30);
        EXPECT_EQ(table.Power[i], 0);
        EXPECT_EQ(table.LowerDistance[i], 1000);
    }
}

TEST_F(HostileLoad, AllOnesLoadAsAnEmptyListOfHorsesAtTheTop) {
    HorseBlock ones;
    ones.fill(0xFF);
    const std::string path = dir.File("ones.dat");
    WriteHorseFile(path, HorseFileLayouts[2].FileSize, ones);
    EXPECT_EQ(Load(path), "");
    EXPECT_EQ(RowCount(), 0); // slot state 255 is not 1
    const TDM_HorseStatus& table = horseStatus;
    for (int i = 0; i < RecordCount; ++i) {
        EXPECT_EQ(table.Registered[i], 255);
        EXPECT_EQ(table.MotherName[i], ""); // 0xFF ends a name at once
        EXPECT_EQ(table.Speed[i], 157);
        EXPECT_EQ(table.Guts[i], 127);
        EXPECT_EQ(table.Durability[i], 255);
        EXPECT_EQ(table.UpperDistance[i], 4000);
        EXPECT_EQ(table.EqpAbility[3][i], 255);
    }
}

// Names with no terminator run to the end of their own record and no further, also in the
// last record, where the record ends with the block. Each record starts with two イ bytes, so
// a name that ran on into the next record would show them.
TEST_F(HostileLoad, NamesWithoutTerminatorStopAtTheEndOfTheirRecord) {
    HorseBlock block;
    block.fill(0x0E); // ア
    for (int i = 0; i < RecordCount; ++i) {
        block[static_cast<std::size_t>(i) * RecordSize] = 0x0F; // イ
        block[static_cast<std::size_t>(i) * RecordSize + 1] = 0x0F;
        block[static_cast<std::size_t>(i) * RecordSize + 2] = 1;
    }
    const std::string path = dir.File("unterminated.dat");
    WriteHorseFile(path, HorseFileLayouts[1].FileSize, block);
    EXPECT_EQ(Load(path), "");
    ASSERT_EQ(RowCount(), RecordCount);
    const QString a = QStringLiteral("ア");
    for (int row = 0; row < RecordCount; ++row)
        ASSERT_EQ(Cell(row, 1), a.repeated(RecordSize - 62)) << row;
    const TDM_HorseStatus& table = horseStatus;
    for (const int i : {0, 62, 63}) {
        EXPECT_EQ(QString::fromStdString(table.FatherName[i]), a.repeated(RecordSize - 96));
        EXPECT_EQ(QString::fromStdString(table.MotherName[i]), a.repeated(RecordSize - 117));
    }
}

// Random files: the list shows exactly the slots whose slot-state byte is 1, in order, each
// with as many name characters as its record has bytes before a terminator.
TEST_F(HostileLoad, RandomBytesListExactlyTheSlotsMarkedPresent) {
    const std::string path = dir.File("random.dat");
    for (unsigned seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        // Few terminators, so that names are long; a slot state of 1 for about half the slots.
        std::uniform_int_distribution<int> byte(seed % 2 == 0 ? 0 : 1, seed % 3 == 0 ? 255 : 254);
        HorseBlock block;
        for (std::uint8_t& b : block)
            b = static_cast<std::uint8_t>(byte(random));
        for (int i = 0; i < RecordCount; ++i)
            if (random() % 2 == 0)
                block[static_cast<std::size_t>(i) * RecordSize + 2] = 1;
        const std::int64_t size = HorseFileLayouts[seed % 3].FileSize;
        WriteHorseFile(path, size, block);
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
        }
        EXPECT_EQ(ids, expectedIds);
        EXPECT_EQ(nameLengths, expectedNameLengths);
    }
}
