// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// The file reader: recognised sizes, where the block is taken from, and how failures surface,
// the failures after the open and the races made by a double of its system calls. What differs
// between the platforms is in FileReaderLinuxTest.cpp and FileReaderWindowsTest.cpp.
#include "FileReaderSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <vector>

using Call = FailingCalls::Call;
using CallList = std::vector<Call>;

TEST(ReadHorseBlock, CopiesTheBlockFromTheOffsetOfEachRecognisedSize) {
    TempDir dir;
    const HorseBlock block = PatternBlock();
    for (const HorseFileLayout& layout : HorseFileLayouts) {
        SCOPED_TRACE(layout.FileSize);
        const std::string path = dir.File("horses.dat");
        const std::vector<std::uint8_t> bytes = MakeHorseFileBytes(layout.FileSize, block);
        // The writer's filler must differ from the block just around it, or a read one byte
        // off could still match.
        ASSERT_NE(bytes[static_cast<std::size_t>(layout.BlockOffset) - 1], block.front());
        ASSERT_NE(bytes[static_cast<std::size_t>(layout.BlockOffset) + HorseBlockSize],
                  block.back());
        WriteBytes(path, bytes);

        // One read, from the offset, and the file closed after it.
        const FailingCalls calls;
        const ReadResult result = Read(path, TDM_FileAccess(calls));
        ASSERT_TRUE(result.Ok);
        EXPECT_TRUE(result.Buffer == block);
        EXPECT_EQ(calls.Seen, (CallList{Call::Open, Call::Size, Call::Read, Call::Close}));
        EXPECT_EQ(calls.ReadPositions, std::vector<std::int64_t>{layout.BlockOffset});
    }
}
// A regular file of any size but the recognised ones is refused by its size, never read, and
// the buffer left as it was.
TEST(ReadHorseBlock, AnyOtherSizeIsRefusedUnreadAndTheBufferUntouched) {
    TempDir dir;
    for (const std::string& path : MakeWrongSizedFiles(dir)) {
        SCOPED_TRACE(path);
        const FailingCalls calls;
        const ReadResult result = Read(path, TDM_FileAccess(calls));
        EXPECT_FALSE(result.Ok);
        EXPECT_TRUE(IsUntouched(result.Buffer));
        EXPECT_EQ(calls.Seen, (CallList{Call::Open, Call::Size, Call::Close}));
    }
}

// Each call failing in turn with each of the platform's error numbers: the message, and the file
// closed exactly once (none is open when the open fails). A read that a signal broke off is
// made again, and the load succeeds.
TEST(ReadHorseBlock, FailingCallsRaiseTheirMessagesAndCloseTheFileOnce) {
    TempDir dir;
    const std::string path = dir.File("horses.dat");
    const HorseBlock block = PatternBlock();
    WriteHorseFile(path, HorseFileLayouts[0].FileSize, block);
    for (const InjectedFailure& each : InjectedFailures()) {
        SCOPED_TRACE(each.Message);
        const FailingCalls calls;
        calls.Fail = {{each.What, each.Error}};
        EXPECT_EQ(Read(path, TDM_FileAccess(calls)).Message(), each.Message);
        const CallList expected[] = {{Call::Open},
                                     {Call::Open, Call::Size, Call::Close},
                                     {Call::Open, Call::Size, Call::Read, Call::Close},
                                     {Call::Open, Call::Size, Call::Read, Call::Close}};
        EXPECT_EQ(calls.Seen, expected[static_cast<int>(each.What)]);
    }

    const FailingCalls calls;
    calls.Fail = {{Call::Read, FileAccessSystem::Interrupted}};
    const ReadResult interrupted = Read(path, TDM_FileAccess(calls));
    ASSERT_TRUE(interrupted.Ok);
    EXPECT_TRUE(interrupted.Buffer == block);
    EXPECT_EQ(calls.Seen, (CallList{Call::Open, Call::Size, Call::Read, Call::Read, Call::Close}));

    // The whole read, each call of its sequence failing in turn, the second size query and the
    // look at the path after the read included. Where the path names nothing after the read,
    // the version read is not taken as settled: the file is read again.
    const CallList sequence = {Call::Open, Call::Size,  Call::Read,
                               Call::Size, Call::Close, Call::VersionAt};
    for (std::size_t failing = 0; failing < sequence.size(); ++failing) {
        const Call kind = sequence[failing];
        const int nth =
            static_cast<int>(std::count(sequence.begin(), sequence.begin() + failing + 1, kind));
        SCOPED_TRACE("call " + std::to_string(failing));
        const std::vector<InjectedFailure> failures = InjectedFailures();
        const auto injected =
            std::find_if(failures.begin(), failures.end(),
                         [&](const InjectedFailure& f) { return f.What == kind; });
        const FailingCalls whole;
        whole.Fail = {{kind, injected != failures.end() ? injected->Error : 0, nth}};
        HorseBlock buffer{};
        CallList expected(sequence.begin(), sequence.begin() + failing + 1);
        if (kind == Call::VersionAt) {
            EXPECT_EQ(TDM_FileAccess(whole).ReadWholeHorseBlock(path, HorseBlockSize, buffer),
                      WholeRead::Read);
            EXPECT_TRUE(buffer == block);
            expected.insert(expected.end(), sequence.begin(), sequence.end());
        } else {
            try {
                TDM_FileAccess(whole).ReadWholeHorseBlock(path, HorseBlockSize, buffer);
                ADD_FAILURE() << "no error";
            } catch (const EInOutError& error) {
                EXPECT_EQ(error.what(), injected->Message);
            }
            if (kind != Call::Open && kind != Call::Close)
                expected.push_back(Call::Close);
        }
        EXPECT_EQ(whole.Seen, expected);
    }
}

// The system's own calls on a descriptor or handle that is not open fail as the double's do: the
// read and the close raise the I/O error with the system's number.
TEST(ReadHorseBlock, TheSystemsFailingCallsRaiseTheirNumbers) {
    std::uint8_t byte = 0;
    const std::function<void()> calls[] = {
        [&] { FileAccessSystem::ReadAt(NotOpen, &byte, 1, 0); },
        [] { FileAccessSystem::Close(NotOpen); },
    };
    for (const auto& call : calls) {
        try {
            call();
            ADD_FAILURE() << "no error";
        } catch (const EInOutError& error) {
            EXPECT_EQ(error.what(), NotOpenMessage);
        }
    }
}

// The file shrinks after the reader has checked its size and before it reads: no error, the
// bytes still there are read, and the rest of the block is zero rather than stale memory.
// The double shrinks it just before the read, so at exactly that point every time.
TEST(ReadHorseBlock, FileShrinkingBeforeTheReadLeavesTheRestZero) {
    TempDir dir;
    const std::string path = dir.File("shrinking.dat");
    for (const HorseFileLayout& layout : HorseFileLayouts) {
        for (const std::int64_t kept :
             {std::int64_t{1000}, std::int64_t{3 * RecordSize + 17},
              std::int64_t{HorseBlockSize - 1}, std::int64_t{0}, -layout.BlockOffset}) {
            SCOPED_TRACE("size " + std::to_string(layout.FileSize) + ", bytes of the block kept " +
                         std::to_string(std::max<std::int64_t>(kept, 0)));
            const HorseBlock block = PatternBlock(static_cast<int>(kept % 251));
            WriteHorseFile(path, layout.FileSize, block);
            FailingCalls calls;
            calls.Before = [&](Call call) {
                if (call == Call::Read)
                    std::filesystem::resize_file(
                        FilePathFromUtf8(path),
                        static_cast<std::uintmax_t>(layout.BlockOffset + kept));
            };
            const ReadResult result = Read(path, TDM_FileAccess(calls));
            EXPECT_EQ(result.Message(), "");
            ASSERT_TRUE(result.Ok);
            ASSERT_EQ(calls.ReadPositions.size(), calls.Seen.size() - 3); // sized before
            EXPECT_EQ(calls.ReadPositions.front(), layout.BlockOffset);
            HorseBlock expected{};
            std::copy_n(block.begin(), std::max<std::int64_t>(kept, 0), expected.begin());
            EXPECT_EQ(result.Buffer, expected);
        }
    }
}

// More than the file holds after the offset (as when the file shrinks during the read): the
// part that exists is copied and the rest is zero, not left as it was.
TEST(ReadHorseBlock, TheUnreadRestOfALongRequestIsZero) {
    TempDir dir;
    const std::string path = dir.File("horses.dat");
    const HorseFileLayout layout = HorseFileLayouts[0];
    const std::vector<std::uint8_t> bytes = MakeHorseFileBytes(layout.FileSize, PatternBlock());
    WriteBytes(path, bytes);
    const std::size_t available = static_cast<std::size_t>(layout.FileSize - layout.BlockOffset);
    std::vector<std::uint8_t> buffer(available + 100, Untouched);

    ASSERT_TRUE(TDM_FileAccess().ReadHorseBlock(path, buffer.size(), buffer));
    EXPECT_TRUE(std::equal(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(available),
                           bytes.begin() + layout.BlockOffset));
    EXPECT_TRUE(std::all_of(buffer.begin() + static_cast<std::ptrdiff_t>(available), buffer.end(),
                            [](std::uint8_t b) { return b == 0; }));
}

// File names are UTF-8 on every platform; Windows must not read them in its ANSI code page.
TEST(ReadHorseBlock, AJapaneseFileNameOpensAndAFolderIsRefused) {
    TempDir dir;
    const HorseBlock block = PatternBlock();
    const std::string path = dir.File("馬データ.dat");
    WriteHorseFile(path, HorseFileLayouts[2].FileSize, block);
    const ReadResult result = Read(path);
    ASSERT_TRUE(result.Ok);
    EXPECT_TRUE(result.Buffer == block);

    const ReadResult folder = Read(Utf8FromFilePath(dir.Path()));
    EXPECT_FALSE(folder.Ok);
    EXPECT_TRUE(IsUntouched(folder.Buffer));
}

// The read for a followed file: each version whole, whichever way it came (written over or
// renamed over the name, here at another size), and the same errors. A writer that changes
// the file during every try leaves the read unsettled, and the next read, once it has
// stopped, reads the version it left.
TEST(ReadWholeHorseBlock, ReadsEachVersionAndRaisesForAMissingFile) {
    TempDir dir;
    const std::string path = dir.File("馬データ.dat");
    const std::string other = dir.File("other.dat");
    HorseBlock buffer{};
    TDM_FileAccess reader;
    WriteHorseFile(path, HorseFileLayouts[0].FileSize, PatternBlock(1));
    ASSERT_EQ(reader.ReadWholeHorseBlock(path, HorseBlockSize, buffer), WholeRead::Read);
    EXPECT_TRUE(buffer == PatternBlock(1));
    WriteHorseFile(other, HorseFileLayouts[2].FileSize, PatternBlock(2));
    std::filesystem::rename(FilePathFromUtf8(other), FilePathFromUtf8(path));
    ASSERT_EQ(reader.ReadWholeHorseBlock(path, HorseBlockSize, buffer), WholeRead::Read);
    EXPECT_TRUE(buffer == PatternBlock(2));

    int writes = 0;
    FailingCalls calls;
    calls.Before = [&](Call call) {
        if (call != Call::Read)
            return;
        ++writes;
        WriteHorseFile(path, HorseFileLayouts[writes % 2].FileSize, PatternBlock(writes));
    };
    EXPECT_EQ(TDM_FileAccess(calls).ReadWholeHorseBlock(path, HorseBlockSize, buffer),
              WholeRead::Unsettled);
    EXPECT_GT(writes, 1);
    ASSERT_EQ(reader.ReadWholeHorseBlock(path, HorseBlockSize, buffer), WholeRead::Read);
    EXPECT_TRUE(buffer == PatternBlock(writes));
    std::filesystem::remove(FilePathFromUtf8(path));
    EXPECT_THROW(reader.ReadWholeHorseBlock(path, HorseBlockSize, buffer), EInOutError);
}
