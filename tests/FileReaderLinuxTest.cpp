// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// The file reader on Linux: errno values, permissions seen by another user, FIFOs, sockets and
// devices, and the descriptors left open.
#include "FileReaderSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

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
        EXPECT_EQ(error->ErrorCode, each.ErrorCode);
        EXPECT_EQ(error->SystemErrno, each.SystemErrno);
    }
}

TEST(ReadHorseBlock, ErrnoMapping) {
    EXPECT_EQ(InOutErrorCode(ENOENT), 2);
    EXPECT_EQ(InOutErrorCode(ENOTDIR), 3);
    EXPECT_EQ(InOutErrorCode(ENAMETOOLONG), 3);
    EXPECT_EQ(InOutErrorCode(ELOOP), 3);
    EXPECT_EQ(InOutErrorCode(EMFILE), 4);
    EXPECT_EQ(InOutErrorCode(ENFILE), 4);
    EXPECT_EQ(InOutErrorCode(EACCES), 5);
    EXPECT_EQ(InOutErrorCode(EPERM), 5);
    // Any other errno keeps its own number in the message, also one whose value happens to
    // equal the number of one of the four conditions (on Linux ESRCH 3, EINTR 4, EIO 5).
    const int others[] = {EIO, ESRCH, EINTR, ENXIO, EISDIR, ENOSPC, EROFS, EOVERFLOW};
    for (const int other : others) {
        SCOPED_TRACE(std::strerror(other));
        EXPECT_STREQ(EInOutError(InOutErrorCode(other), other).what(),
                     ("I/O エラー (" + std::to_string(other) + ")").c_str());
    }
}
// The viewer only reads: a file the user may read but not write loads, and a file the user may
// not read is refused with the access message. Root may do both anyway, so as root the check
// runs as an unprivileged user.
TEST(ReadHorseBlock, ReadOnlyFileLoadsAndUnreadableFileIsDenied) {
    TempDir dir;
    std::filesystem::permissions(
        dir.Path(), std::filesystem::perms::group_exec | std::filesystem::perms::others_exec,
        std::filesystem::perm_options::add);
    const HorseBlock block = PatternBlock();
    const std::string readOnly = dir.File("readonly.dat");
    const std::string unreadable = dir.File("unreadable.dat");
    WriteHorseFile(readOnly, HorseFileLayouts[1].FileSize, block);
    WriteHorseFile(unreadable, HorseFileLayouts[1].FileSize, block);
    ASSERT_EQ(::chmod(readOnly.c_str(), 0444), 0);
    ASSERT_EQ(::chmod(unreadable.c_str(), 0200), 0);

    const std::optional<std::string> report = RunInChild(true, [&]() -> std::string {
        // Without these two the check below would prove nothing.
        if (::access(readOnly.c_str(), W_OK) == 0)
            return "the read-only file is writable for this user";
        if (::access(unreadable.c_str(), R_OK) == 0)
            return "the unreadable file is readable for this user";
        const ReadResult result = Read(readOnly);
        if (!result.Ok || result.Buffer != block)
            return "the read-only file did not load";
        const std::optional<EInOutError> error = ReadError(unreadable);
        if (!error)
            return "reading the unreadable file raised nothing";
        if (error->what() != std::string("ファイルへのアクセスが拒否されました") ||
            error->ErrorCode != 5)
            return std::string("wrong error: ") + error->what();
        return "";
    });
    if (!report)
        GTEST_SKIP() << "cannot switch to an unprivileged user here";
    EXPECT_EQ(*report, "");
}
// Only a regular file of a recognised size can be a horse data file: a size past 4 GiB, a
// folder, a device, a FIFO or a socket is refused at once, without an error and without waiting
// for a writer, and the buffer is left as it was.
TEST(ReadHorseBlock, AnythingElseIsRefusedAtOnceAndTheBufferUntouched) {
    TempDir dir;
    for (const std::string& path : MakeSpecialFiles(dir)) {
        SCOPED_TRACE(path);
        auto pending = std::async(std::launch::async, [&] { return Read(path); });
        if (pending.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
            // Give the stuck open its writer so that the thread can end, then fail.
            const int unblock = ::open(path.c_str(), O_RDWR | O_NONBLOCK);
            pending.wait();
            ::close(unblock);
            ADD_FAILURE() << "the reader waited";
            continue;
        }
        try {
            const ReadResult result = pending.get();
            EXPECT_FALSE(result.Ok);
            EXPECT_TRUE(IsUntouched(result.Buffer));
        } catch (const EInOutError& error) {
            ADD_FAILURE() << "raised " << error.what();
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
