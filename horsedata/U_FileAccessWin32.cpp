// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// The file reader's system calls on Windows: Win32 error codes, CreateFileW with UTF-16 paths
// (long ones in their \\?\ form, U_FilePathWin32.cpp), and ReadFile at an offset.
#include "U_FileAccess.h"
#include "U_FileAccessSystem.h"
#include "U_FilePathWin32.h"

#include <algorithm>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace FileAccessSystem {

namespace {

HANDLE Handle(NativeFile file) {
    return reinterpret_cast<HANDLE>(file);
}

// Windows reports a file used as a folder (horses.dat\x.dat) like a missing folder; Linux
// tells the two apart (ENOTDIR), and so does the message.
bool NearestExistingFolderIsAFile(const std::wstring& path) {
    for (std::size_t end = path.find_last_of(L"\\/"); end != std::wstring::npos && end > 0;
         end = path.find_last_of(L"\\/", end - 1)) {
        const DWORD attributes = ::GetFileAttributesW(path.substr(0, end).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES)
            return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    }
    return false;
}

// The version of a regular disk file (no pipe, console or device, and no folder); `error` is
// the system's error when it could not tell.
std::optional<FileVersion> VersionOfHandle(HANDLE file, DWORD& error) {
    error = ERROR_SUCCESS;
    if (::GetFileType(file) != FILE_TYPE_DISK)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION information{};
    if (!::GetFileInformationByHandle(file, &information)) {
        error = ::GetLastError();
        return std::nullopt;
    }
    if ((information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return std::nullopt;
    const auto wide = [](DWORD high, DWORD low) {
        return (static_cast<std::uint64_t>(high) << 32) | low;
    };
    return FileVersion{
        information.dwVolumeSerialNumber,
        wide(information.nFileIndexHigh, information.nFileIndexLow),
        static_cast<std::int64_t>(wide(information.nFileSizeHigh, information.nFileSizeLow)),
        static_cast<std::int64_t>(wide(information.ftLastWriteTime.dwHighDateTime,
                                       information.ftLastWriteTime.dwLowDateTime))};
}

} // namespace

// A missing folder (ERROR_PATH_NOT_FOUND) reads as a missing file, as ENOENT does on Linux.
std::optional<int> ConditionOf(int systemError) {
    switch (systemError) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return FileNotFound;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_DIRECTORY:
    case ERROR_CANT_RESOLVE_FILENAME:
        return PathNotFound;
    case ERROR_TOO_MANY_OPEN_FILES:
        return TooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
        return AccessDenied;
    default:
        return std::nullopt;
    }
}

const int InvalidArgument = ERROR_INVALID_PARAMETER;
const int Interrupted = 0;

NativeFile Open(const std::string& path) {
    // Read-only, because the viewer never writes; shared for reading, writing and deleting,
    // so that the game can write its save, rename it away or delete it at any moment, even
    // while the viewer reads it. Backup semantics let a folder open too, to be
    // refused later like any other file that cannot be a horse file.
    const std::wstring widePath = WindowsFilePath(path);
    const HANDLE file = ::CreateFileW(widePath.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file != INVALID_HANDLE_VALUE)
        return reinterpret_cast<NativeFile>(file);
    const DWORD openError = ::GetLastError();
    if (openError == ERROR_PATH_NOT_FOUND && NearestExistingFolderIsAFile(widePath))
        RaiseInOutError(ERROR_DIRECTORY);
    RaiseInOutError(static_cast<int>(openError));
}

std::size_t ReadAt(NativeFile file, std::uint8_t* buffer, std::size_t count,
                   std::int64_t position) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(static_cast<std::uint64_t>(position) & 0xFFFFFFFFu);
    at.OffsetHigh = static_cast<DWORD>(static_cast<std::uint64_t>(position) >> 32);
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30));
    DWORD got = 0;
    if (!::ReadFile(Handle(file), buffer, wanted, &got, &at)) {
        if (::GetLastError() == ERROR_HANDLE_EOF)
            return 0;
        RaiseInOutError(static_cast<int>(::GetLastError()));
    }
    return got;
}

void Close(NativeFile file) {
    if (!::CloseHandle(Handle(file)))
        RaiseInOutError(static_cast<int>(::GetLastError()));
}

void CloseQuietly(NativeFile file) noexcept {
    ::CloseHandle(Handle(file));
}

std::optional<FileVersion> VersionOf(NativeFile file) {
    DWORD error = ERROR_SUCCESS;
    const std::optional<FileVersion> version = VersionOfHandle(Handle(file), error);
    if (error != ERROR_SUCCESS)
        RaiseInOutError(error);
    return version;
}

// Opened for no access at all, which asks only for the file's attributes and so is granted
// even while a writer holds the file without sharing it.
std::optional<FileVersion> VersionAt(const std::string& path) {
    const HANDLE file = ::CreateFileW(WindowsFilePath(path).c_str(), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    DWORD error = ERROR_SUCCESS;
    const std::optional<FileVersion> version = VersionOfHandle(file, error);
    ::CloseHandle(file);
    return version;
}

} // namespace FileAccessSystem
