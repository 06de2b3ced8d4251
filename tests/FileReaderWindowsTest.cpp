// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// The file reader on Windows: the messages of real failing paths, files held open by another
// program, pipes and devices, and handles left open.
#include "FileReaderSupport.h"
#include "U_FilePathWin32.h"

#include <gtest/gtest.h>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <filesystem>
#include <optional>

namespace {

// Opening with no sharing at all succeeds only while nobody else holds the file open.
bool NobodyHoldsOpen(const std::string& path) {
    const HANDLE handle = ::CreateFileW(FilePathFromUtf8(path).c_str(), GENERIC_READ, 0, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    ::CloseHandle(handle);
    return true;
}

} // namespace

TEST(ReadHorseBlock, FailuresRaiseTheirMessages) {
    TempDir dir;
    const std::string file = dir.File("horses.dat");
    WriteHorseFile(file, HorseFileLayouts[0].FileSize, PatternBlock());

    struct Case {
        std::string path;
        int errorCode;
        const char* message;
    };
    // The texts are those of Linux: a missing folder reads as a missing file, a file used as a
    // folder and a name Windows cannot hold as a wrong file name.
    const Case cases[] = {
        {dir.File("missing.dat"), 2, "ファイルが見つかりません"},
        {"", 2, "ファイルが見つかりません"},
        {dir.File("missing\\horses.dat"), 2, "ファイルが見つかりません"},
        {file + "\\horses.dat", 3, "不正なファイル名です"},
        {dir.File("horses|.dat"), 3, "不正なファイル名です"},
        {Utf8FromFilePath(dir.Path()) + "\\\xFF.dat", ERROR_NO_UNICODE_TRANSLATION,
         "I/O エラー (1113)"},
        {file + std::string(1, '\0'), ERROR_INVALID_PARAMETER, "I/O エラー (87)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const std::optional<EInOutError> error = ReadError(c.path);
        ASSERT_TRUE(error.has_value());
        EXPECT_STREQ(error->what(), c.message);
        EXPECT_EQ(error->ErrorCode(), c.errorCode);
    }
}

// A name of 260 characters or more goes in its \\?\ form, made full (\\?\UNC\ for a share);
// a shorter one as it is. The reader and stallark-dump's -o both take their names from here.
TEST(WindowsFilePath, LongNamesTakeTheirLongForm) {
    const std::wstring x(300, L'x');
    EXPECT_EQ(WindowsFilePath("C:\\a\\馬.dat"), L"C:\\a\\馬.dat");
    EXPECT_EQ(WindowsFilePath("C:\\" + std::string(300, 'x') + "\\.\\馬.dat"),
              L"\\\\?\\C:\\" + x + L"\\馬.dat");
    EXPECT_EQ(WindowsFilePath("\\\\server\\share\\" + std::string(300, 'x')),
              L"\\\\?\\UNC\\server\\share\\" + x);
}

// A game that has the file open for writing, or a file marked read-only: both load.
TEST(ReadHorseBlock, AFileHeldOpenForWritingOrMarkedReadOnlyLoads) {
    TempDir dir;
    const HorseBlock block = PatternBlock();
    const std::string path = dir.File("horses.dat");
    WriteHorseFile(path, HorseFileLayouts[1].FileSize, block);

    const HANDLE writer =
        ::CreateFileW(FilePathFromUtf8(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    const ReadResult whileHeld = Read(path);
    ::CloseHandle(writer);
    EXPECT_TRUE(whileHeld.Ok);
    EXPECT_TRUE(whileHeld.Buffer == block);

    ASSERT_TRUE(::SetFileAttributesW(FilePathFromUtf8(path).c_str(), FILE_ATTRIBUTE_READONLY));
    const ReadResult readOnly = Read(path);
    ::SetFileAttributesW(FilePathFromUtf8(path).c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(readOnly.Ok);
    EXPECT_TRUE(readOnly.Buffer == block);
}

// While the reader holds the file open, the game saves by renaming it away and its new file in
// its place, or deletes it: each step succeeds, and the read notices the new file and reads it.
// (Renaming straight over a file that anyone holds open is refused whatever its sharing.)
TEST(ReadWholeHorseBlock, TheGameRenamesOrDeletesTheFileWhileItIsRead) {
    TempDir dir;
    const std::wstring path = FilePathFromUtf8(dir.File("horses.dat"));
    const std::wstring saved = FilePathFromUtf8(dir.File("horses.bak"));
    const std::wstring other = FilePathFromUtf8(dir.File("other.dat"));
    for (const bool rename : {true, false}) {
        SCOPED_TRACE(rename ? "renamed away, the new file in its place" : "deleted");
        WriteHorseFile(dir.File("horses.dat"), HorseFileLayouts[0].FileSize, PatternBlock(1));
        WriteHorseFile(dir.File("other.dat"), HorseFileLayouts[2].FileSize, PatternBlock(2));
        bool done = false;
        DWORD error = ERROR_SUCCESS;
        FailingCalls calls;
        calls.Before = [&](FailingCalls::Call call) {
            if (call != FailingCalls::Call::Read || done)
                return;
            done = rename ? ::MoveFileExW(path.c_str(), saved.c_str(), MOVEFILE_REPLACE_EXISTING) &&
                                ::MoveFileExW(other.c_str(), path.c_str(), 0)
                          : ::DeleteFileW(path.c_str());
            error = ::GetLastError();
        };
        HorseBlock buffer{};
        std::optional<WholeRead> read;
        try {
            read = TDM_FileAccess(calls).ReadWholeHorseBlock(Utf8FromFilePath(path), HorseBlockSize,
                                                             buffer);
        } catch (const EInOutError&) {
            // the deleted file is gone, as the read may say
        }
        EXPECT_TRUE(done) << error;
        if (rename) {
            EXPECT_EQ(read, WholeRead::Read);
            EXPECT_TRUE(buffer == PatternBlock(2));
        }
    }
}

// Only a regular disk file can be a horse data file: a folder, a device or a pipe is refused at
// once like a file of unrecognised size.
TEST(ReadHorseBlock, AnythingButARegularFileIsRefusedAtOnce) {
    TempDir dir;
    const std::string pipe =
        "\\\\.\\pipe\\stallark-test-" + std::to_string(::GetCurrentProcessId());
    const HANDLE server =
        ::CreateNamedPipeW(FilePathFromUtf8(pipe).c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE,
                           PIPE_UNLIMITED_INSTANCES, 4096, 4096, 0, nullptr);
    ASSERT_NE(server, INVALID_HANDLE_VALUE);
    for (const std::string& path : {Utf8FromFilePath(dir.Path()), std::string("NUL"), pipe}) {
        SCOPED_TRACE(path);
        const ReadResult result = Read(path);
        EXPECT_FALSE(result.Ok);
        EXPECT_TRUE(IsUntouched(result.Buffer));
        EXPECT_EQ(result.Message(), "");
    }
    ::CloseHandle(server);
}

TEST(ReadHorseBlock, TheFileIsClosedOnEveryPath) {
    TempDir dir;
    const std::string good = dir.File("good.dat");
    const std::string odd = dir.File("odd.dat");
    WriteHorseFile(good, HorseFileLayouts[2].FileSize, PatternBlock());
    WriteBytes(odd, std::vector<std::uint8_t>(1000, 1));
    EXPECT_TRUE(Read(good).Ok);
    EXPECT_FALSE(Read(odd).Ok);
    EXPECT_TRUE(ReadError(good + "\\x.dat").has_value());
    EXPECT_TRUE(NobodyHoldsOpen(good));
    EXPECT_TRUE(NobodyHoldsOpen(odd));
}
