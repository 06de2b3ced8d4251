// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// The file reader on Linux: errno values, FIFOs, sockets and devices, a file replaced while it
// is read, the system's own failing calls and the descriptors left open. Another user's
// permissions are tested through the main window (ReliabilityTest.cpp).
#include "FileReaderSupport.h"
#include "TestFilesLinux.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <unistd.h>

using Call = FailingCalls::Call;

namespace {

int OpenDescriptorCount() {
    return static_cast<int>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                                          std::filesystem::directory_iterator{}));
}

} // namespace

TEST(ReadHorseBlock, FailuresRaiseTheirMessages) {
    TempDir dir;
    for (const FailingPath& each : MakeFailingPaths(dir)) {
        SCOPED_TRACE(each.Path);
        const std::optional<EInOutError> error = ReadError(each.Path);
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->what(), each.Message);
        EXPECT_EQ(error->ErrorCode(), each.ErrorCode);
        EXPECT_EQ(error->SystemErrno, each.SystemErrno);
    }
}

// On Linux the size query on a descriptor that is not open fails too (Windows takes such a
// handle for no regular file).
TEST(ReadHorseBlock, TheSystemsFailingSizeQueryRaisesItsNumber) {
    try {
        FileAccessSystem::VersionOf(NotOpen);
        ADD_FAILURE() << "no error";
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.what(), NotOpenMessage);
    }
}

// Only a regular file of a recognised size can be a horse data file: a size past 4 GiB, a
// folder, a device, a FIFO or a socket is refused at once, without an error, without waiting
// for a writer and without a read, and the buffer is left as it was.
TEST(ReadHorseBlock, AnythingElseIsRefusedAtOnceUnreadAndTheBufferUntouched) {
    TempDir dir;
    for (const std::string& path : MakeSpecialFiles(dir)) {
        SCOPED_TRACE(path);
        const FifoWatchdog watchdog(path);
        const FailingCalls calls;
        const ReadResult result = Read(path, TDM_FileAccess(calls));
        EXPECT_FALSE(watchdog.Fired()) << "the reader waited";
        EXPECT_FALSE(result.Ok);
        EXPECT_TRUE(IsUntouched(result.Buffer));
        EXPECT_EQ(result.Message(), "");
        EXPECT_EQ(std::count(calls.Seen.begin(), calls.Seen.end(), Call::Read), 0);
    }
}

// Another file is renamed over the chosen one while the load runs, between the open and the
// size check or between the size check and the read: the load reads the file it opened,
// whole, and never mixes the old size with the new content. (Windows lets nobody replace a
// file that the reader holds open.)
TEST(ReadHorseBlock, FileReplacedDuringTheLoadIsReadAsOpened) {
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
    for (const Call pause : {Call::Size, Call::Read}) {
        for (const Replacement& with : replacements) {
            SCOPED_TRACE(std::string(with.What) +
                         (pause == Call::Size ? ", before the size check" : ", before the read"));
            WriteHorseFile(path, HorseFileLayouts[0].FileSize, original);
            if (with.Size == 1000)
                WriteBytes(other, std::vector<std::uint8_t>(1000, 1));
            else if (with.Size != 0)
                WriteHorseFile(other, with.Size, replacement);
            bool replaced = false;
            FailingCalls calls;
            calls.Before = [&](Call call) {
                if (call == pause && !replaced)
                    replaced = (with.Size == 0 ? ::unlink(path.c_str())
                                               : ::rename(other.c_str(), path.c_str())) == 0;
            };
            const ReadResult result = Read(path, TDM_FileAccess(calls));
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
// written over at another size, truncated and written again only in part, renamed over or
// removed. The read notices and reads again, and gives the file as it stands after the change,
// whole, or refuses it: never the old size's offset into the new bytes, nor zeros for what a
// shrunk file no longer holds.
TEST(ReadWholeHorseBlock, FileChangedDuringTheReadIsReadAgain) {
    TempDir dir;
    const std::string path = dir.File("followed.dat");
    const std::string other = dir.File("other.dat");
    const HorseBlock original = PatternBlock(5);
    const HorseBlock replacement = PatternBlock(77);
    struct Change {
        const char* What;
        std::function<void()> Make;
        std::optional<WholeRead> Expected; // nullopt: the file is gone, and the read says so
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
        {"removed", [&] { std::filesystem::remove(path); }, std::nullopt},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.What);
        WriteHorseFile(path, HorseFileLayouts[0].FileSize, original);
        bool changed = false;
        FailingCalls calls;
        calls.Before = [&](Call call) {
            if (call == Call::Read && !changed) {
                change.Make();
                changed = true;
            }
        };
        HorseBlock buffer{};
        if (!change.Expected) {
            EXPECT_THROW(TDM_FileAccess(calls).ReadWholeHorseBlock(path, HorseBlockSize, buffer),
                         EInOutError);
            EXPECT_TRUE(changed);
            continue;
        }
        const WholeRead read =
            TDM_FileAccess(calls).ReadWholeHorseBlock(path, HorseBlockSize, buffer);
        ASSERT_TRUE(changed);
        EXPECT_EQ(read, *change.Expected);
        if (read == WholeRead::Read) {
            EXPECT_EQ(buffer, replacement);
        }
    }
}

TEST(ReadHorseBlock, TheFileIsClosedOnEveryPath) {
    TempDir dir;
    const std::string good = dir.File("good.dat");
    const std::string odd = dir.File("odd.dat");
    WriteHorseFile(good, HorseFileLayouts[2].FileSize, PatternBlock());
    WriteBytes(odd, std::vector<std::uint8_t>(1000, 1));
    const int before = OpenDescriptorCount();
    for (int n = 0; n < 3; ++n) {
        EXPECT_TRUE(Read(good).Ok);
        EXPECT_FALSE(Read(odd).Ok);
        EXPECT_FALSE(Read(dir.Path().string()).Ok);
        EXPECT_TRUE(ReadError(dir.File("missing.dat")).has_value());
    }
    EXPECT_EQ(OpenDescriptorCount(), before);
}
