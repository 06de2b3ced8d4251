// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// The file reader on Linux: errno values, FIFOs, sockets and devices, and the descriptors left
// open. Errors after the open and another user's permissions are tested through the main window
// (ReliabilityTest.cpp).
#include "FileReaderSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <future>
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
        const ReadResult result = pending.get();
        EXPECT_FALSE(result.Ok);
        EXPECT_TRUE(IsUntouched(result.Buffer));
        EXPECT_EQ(result.Message(), "");
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
