// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_FileAccess.h"

#include <algorithm>
#include <cerrno>

// The one place that differs between the platforms: the system's error numbers and how a file
// is opened, sized and read. Everything else here is the same on both.
#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

TDM_FileAccess* DM_FileAccess = nullptr;

namespace {

constexpr int FileNotFound = 2;
constexpr int PathNotFound = 3;
constexpr int TooManyOpenFiles = 4;
constexpr int AccessDenied = 5;

#ifdef _WIN32

// Which of the four conditions a Win32 error code stands for; nullopt for any other failure.
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

constexpr int InvalidArgument = ERROR_INVALID_PARAMETER;

[[noreturn]] void RaiseInOutError(DWORD systemError = ::GetLastError()) {
    throw EInOutError(InOutErrorCode(static_cast<int>(systemError)), static_cast<int>(systemError));
}

// The UTF-8 path as Windows takes it; a path that is no valid UTF-8 names no file.
std::wstring WidePath(const std::string& path) {
    if (path.empty())
        return {};
    const int inputSize = static_cast<int>(path.size());
    const int size =
        ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(), inputSize, nullptr, 0);
    if (size == 0)
        RaiseInOutError();
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(), inputSize, wide.data(), size);
    return wide;
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

// Owns the handle so that every way out of the reader closes the file. The normal path
// closes explicitly to see the result; a failing path closes here and keeps its own error.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() {
        if (handle_ != INVALID_HANDLE_VALUE)
            ::CloseHandle(handle_);
    }
    HANDLE Get() const { return handle_; }
    void Close() {
        const HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        if (!::CloseHandle(handle))
            RaiseInOutError();
    }

private:
    HANDLE handle_;
};

// Opens, checks and reads the file; the path is free of NUL bytes.
bool ReadBlock(const std::string& path, std::size_t length, std::span<std::uint8_t> buffer) {
    // Read-only, because the viewer never writes; shared for reading and writing, so that a
    // game holding the file open does not block it. Backup semantics let a folder open too, to
    // be refused below like any other file that cannot be a horse file.
    const std::wstring widePath = WidePath(path);
    FileHandle file(::CreateFileW(widePath.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE) {
        const DWORD openError = ::GetLastError();
        if (openError == ERROR_PATH_NOT_FOUND && NearestExistingFolderIsAFile(widePath))
            RaiseInOutError(ERROR_DIRECTORY);
        RaiseInOutError(openError);
    }

    // Only a regular disk file: no pipe, console or device, and no folder.
    if (::GetFileType(file.Get()) != FILE_TYPE_DISK) {
        file.Close();
        return false;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    if (!::GetFileInformationByHandle(file.Get(), &information))
        RaiseInOutError();
    const std::int64_t fileSize = static_cast<std::int64_t>(
        (static_cast<std::uint64_t>(information.nFileSizeHigh) << 32) | information.nFileSizeLow);
    const std::optional<std::int64_t> offset =
        (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0
            ? BlockOffsetForSize(fileSize)
            : std::nullopt;
    if (!offset) {
        file.Close();
        return false;
    }

    std::size_t done = 0;
    while (done < length) {
        const std::uint64_t position = static_cast<std::uint64_t>(*offset) + done;
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(position & 0xFFFFFFFFu);
        at.OffsetHigh = static_cast<DWORD>(position >> 32);
        const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(length - done, 1u << 30));
        DWORD got = 0;
        if (!::ReadFile(file.Get(), buffer.data() + done, wanted, &got, &at)) {
            if (::GetLastError() == ERROR_HANDLE_EOF)
                break;
            RaiseInOutError();
        }
        if (got == 0)
            break;
        done += got;
    }
    std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(done),
              buffer.begin() + static_cast<std::ptrdiff_t>(length), std::uint8_t{0});

    file.Close();
    return true;
}

#else

// Which of the four conditions an errno value stands for; nullopt for any other failure.
std::optional<int> ConditionOf(int systemErrno) {
    switch (systemErrno) {
    case ENOENT:
        return FileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return PathNotFound;
    case EMFILE:
    case ENFILE:
        return TooManyOpenFiles;
    case EACCES:
    case EPERM:
        return AccessDenied;
    default:
        return std::nullopt;
    }
}

constexpr int InvalidArgument = EINVAL;

[[noreturn]] void RaiseInOutError() {
    const int systemErrno = errno;
    throw EInOutError(InOutErrorCode(systemErrno), systemErrno);
}

// Owns the descriptor so that every way out of the reader closes the file. The normal path
// closes explicitly to see the result; a failing path closes here and keeps its own error.
class FileHandle {
public:
    explicit FileHandle(int fd) : fd_(fd) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int Get() const { return fd_; }
    void Close() {
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0)
            RaiseInOutError();
    }

private:
    int fd_;
};

// Opens, checks and reads the file; the path is free of NUL bytes.
bool ReadBlock(const std::string& path, std::size_t length, std::span<std::uint8_t> buffer) {
    // Read-only, because the viewer never writes; non-blocking, so that a FIFO or a device
    // chosen by mistake cannot stall the open. Such files are refused below by their type.
    FileHandle file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.Get() < 0) {
        // Something that is no regular file and cannot even be opened (a socket, a device
        // without its driver) is refused like any other file that cannot be a horse file.
        const int openErrno = errno;
        struct stat status {};
        if (::stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode))
            return false;
        errno = openErrno;
        RaiseInOutError();
    }

    struct stat status {};
    if (::fstat(file.Get(), &status) != 0)
        RaiseInOutError();
    const std::optional<std::int64_t> offset =
        S_ISREG(status.st_mode) ? BlockOffsetForSize(status.st_size) : std::nullopt;
    if (!offset) {
        file.Close();
        return false;
    }

    std::size_t done = 0;
    while (done < length) {
        const ssize_t got = ::pread(file.Get(), buffer.data() + done, length - done,
                                    static_cast<off_t>(*offset + static_cast<std::int64_t>(done)));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            RaiseInOutError();
        }
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(done),
              buffer.begin() + static_cast<std::ptrdiff_t>(length), std::uint8_t{0});

    file.Close();
    return true;
}

#endif

} // namespace

EInOutError::EInOutError(int errorCode, int systemErrno)
    : std::runtime_error(InOutErrorMessage(systemErrno)), ErrorCode(errorCode),
      SystemErrno(systemErrno) {}

int InOutErrorCode(int systemErrno) {
    return ConditionOf(systemErrno).value_or(systemErrno);
}

std::string InOutErrorMessage(int systemErrno) {
    switch (ConditionOf(systemErrno).value_or(0)) {
    case FileNotFound:
        return "ファイルが見つかりません";
    case PathNotFound:
        return "不正なファイル名です";
    case TooManyOpenFiles:
        return "オープンしたファイルが多すぎます";
    case AccessDenied:
        return "ファイルへのアクセスが拒否されました";
    default:
        return "I/O エラー (" + std::to_string(systemErrno) + ")";
    }
}

std::optional<std::int64_t> BlockOffsetForSize(std::int64_t fileSize) {
    for (const HorseFileLayout& layout : HorseFileLayouts)
        if (layout.FileSize == fileSize)
            return layout.BlockOffset;
    return std::nullopt;
}

bool TDM_FileAccess::ReadHorseBlock(const std::string& path, std::size_t length,
                                    std::span<std::uint8_t> buffer) {
    if (buffer.size() < length)
        throw std::invalid_argument("ReadHorseBlock: buffer smaller than length");

    // No file name holds a NUL byte; the system would cut the name there and open another file.
    if (path.find('\0') != std::string::npos)
        throw EInOutError(InOutErrorCode(InvalidArgument), InvalidArgument);
    return ReadBlock(path, length, buffer);
}
