// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_FileAccess.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

TDM_FileAccess* DM_FileAccess = nullptr;

namespace {

constexpr int FileNotFound = 2;
constexpr int PathNotFound = 3;
constexpr int TooManyOpenFiles = 4;
constexpr int AccessDenied = 5;

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
        throw EInOutError(InOutErrorCode(EINVAL), EINVAL);

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
