// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

// The system calls behind the file reader, one implementation per platform: U_FileAccessPosix.cpp
// and U_FileAccessWin32.cpp, chosen by the build. U_FileAccess.cpp holds the one sequence that
// uses them, through Calls. Every failure throws EInOutError with the system's own error number.
#include "U_FileAccess.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace FileAccessSystem {

// The conditions the messages tell apart; they are also the program's error numbers.
inline constexpr int FileNotFound = 2;
inline constexpr int PathNotFound = 3;
inline constexpr int TooManyOpenFiles = 4;
inline constexpr int AccessDenied = 5;

// Which condition a system error number stands for; nullopt for any other failure.
std::optional<int> ConditionOf(int systemError);

// The system's error number for an argument it cannot take (a file name holding a NUL byte).
extern const int InvalidArgument;

// The system's number for a call that a signal broke off before it did anything, which the
// reader makes again: EINTR on Linux; Windows breaks off no call, and has 0, which no failure
// reports.
extern const int Interrupted;

// An open file: a descriptor on Linux, a HANDLE on Windows. Both fit and neither is -1 when open.
using NativeFile = std::intptr_t;
inline constexpr NativeFile NoFile = -1;

// Opens the existing file at `path` (UTF-8, free of NUL bytes) for reading, never creating it and
// letting others go on reading and writing it. NoFile for something that is no regular file and
// cannot even be opened, which the reader refuses like any other file that is no horse file.
NativeFile Open(const std::string& path);
// Reads up to `count` bytes from `position` on; 0 at the end of the file.
std::size_t ReadAt(NativeFile file, std::uint8_t* buffer, std::size_t count, std::int64_t position);
void Close(NativeFile file);
// For a way out that already has its own error.
void CloseQuietly(NativeFile file) noexcept;

// The version of the open file (VersionOf) or of the file the path names now (VersionAt):
// which file it is, its size and its time of last write; nullopt for anything but a regular
// file (a folder, a pipe, a device), and from VersionAt also for a path that names nothing that
// can be asked. VersionOf is the reader's size query. A writer that
// renames another file over the path or writes into it changes at least one of them.
std::optional<FileVersion> VersionOf(NativeFile file);
std::optional<FileVersion> VersionAt(const std::string& path);

// The calls above as the reader makes them: these pass each on to the system. A test puts a
// double in their place that makes a chosen call fail, on Linux and on Windows alike.
class Calls {
public:
    virtual ~Calls() = default;
    virtual NativeFile Open(const std::string& path) const;
    virtual std::size_t ReadAt(NativeFile file, std::uint8_t* buffer, std::size_t count,
                               std::int64_t position) const;
    virtual void Close(NativeFile file) const;
    virtual void CloseQuietly(NativeFile file) const noexcept;
    virtual std::optional<FileVersion> VersionOf(NativeFile file) const;
    virtual std::optional<FileVersion> VersionAt(const std::string& path) const;
};

} // namespace FileAccessSystem
