// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>

// A failure of the operating system while reading a horse data file, with the system's own
// error number (errno on Linux, the Win32 error code on Windows). The message follows that
// number, so an errno whose value equals one of the program's numbers (EIO is 5) still reads
// "I/O エラー (5)".
class EInOutError : public std::runtime_error {
public:
    explicit EInOutError(int systemErrno);
    // The program's number for it: 2 file not found, 3 path not found, 4 too many open files,
    // 5 access denied, or else the system's own number.
    int ErrorCode() const;
    int SystemErrno;
};

// Throws EInOutError for a system error number; every failing system call ends here.
[[noreturn]] void RaiseInOutError(int systemErrno);

struct HorseFileLayout {
    std::int64_t FileSize;
    std::int64_t BlockOffset;
};

// The three file sizes the program recognises and where the horse block lies in each.
inline constexpr HorseFileLayout HorseFileLayouts[] = {
    {496'631, 42'064},
    {584'756, 42'144},
    {589'312, 44'112},
};

std::optional<std::int64_t> BlockOffsetForSize(std::int64_t fileSize);

// Which file a path named and what it held: the volume and index of the file, its size and the
// time of its last write.
struct FileVersion {
    std::uint64_t Volume = 0;
    std::uint64_t Index = 0;
    std::int64_t Size = 0;
    std::int64_t WriteTime = 0;
    bool operator==(const FileVersion&) const = default;
    bool SameFile(const FileVersion& other) const {
        return Volume == other.Volume && Index == other.Index;
    }
};

// How a read of one whole version ended.
enum class WholeRead {
    Read,         // the buffer holds the block of one version of the file
    NotHorseFile, // as ReadHorseBlock's false: no regular file of a recognised size
    Unsettled,    // a writer changed the file during every try
};

namespace FileAccessSystem {
class Calls;
}

// Finds the horse block of a data file and copies it.
class TDM_FileAccess {
public:
    TDM_FileAccess();
    // A reader that makes its system calls through `calls`, which must outlive it.
    explicit TDM_FileAccess(const FileAccessSystem::Calls& calls);

    // Copies `length` bytes from the block offset into `buffer` and returns true; returns false
    // without touching `buffer` when the path is not a regular file of a recognised size.
    // Bytes past the end of a file that shrank during the read are zero. Throws EInOutError.
    // `path` is UTF-8 on every platform.
    bool ReadHorseBlock(const std::string& path, std::size_t length,
                        std::span<std::uint8_t> buffer);

    // Reads like ReadHorseBlock, for a file that a writer may be changing: the version of the
    // open file is taken before and after the read, and that of the file the path names after
    // it; unless all three are equal the file is read again, a few times at most. So a writer
    // that writes each version whole, in one write or by renaming it over the path, never
    // leaves the buffer with bytes of two versions. The buffer may be written on every way out;
    // `version`, when given, gets the version read.
    WholeRead ReadWholeHorseBlock(const std::string& path, std::size_t length,
                                  std::span<std::uint8_t> buffer, FileVersion* version = nullptr);

    // The version of the file `path` names now, without opening it for reading; nullopt when
    // it names nothing that can be asked, or no regular file.
    std::optional<FileVersion> VersionAt(const std::string& path) const;

private:
    const FileAccessSystem::Calls* calls_;
};

extern TDM_FileAccess* DM_FileAccess;
