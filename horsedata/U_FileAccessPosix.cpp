// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// The file reader's system calls on Linux: errno values, open, fstat and pread.
#include "U_FileAccess.h"
#include "U_FileAccessSystem.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FileAccessSystem {

namespace {

int Descriptor(NativeFile file) {
    return static_cast<int>(file);
}

std::optional<FileVersion> VersionOfStatus(const struct stat& status) {
    if (!S_ISREG(status.st_mode))
        return std::nullopt;
    return FileVersion{static_cast<std::uint64_t>(status.st_dev),
                       static_cast<std::uint64_t>(status.st_ino), status.st_size,
                       status.st_mtim.tv_sec * 1'000'000'000 + status.st_mtim.tv_nsec};
}

} // namespace

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

const int InvalidArgument = EINVAL;
const int Interrupted = EINTR;

NativeFile Open(const std::string& path) {
    // Read-only, because the viewer never writes; non-blocking, so that a FIFO or a device
    // chosen by mistake cannot stall the open. Such files are refused later by their type.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd >= 0)
        return fd;
    // Something that is no regular file and cannot even be opened (a socket, a device without
    // its driver) is refused like any other file that cannot be a horse file.
    const int openErrno = errno;
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode))
        return NoFile;
    RaiseInOutError(openErrno);
}

std::size_t ReadAt(NativeFile file, std::uint8_t* buffer, std::size_t count,
                   std::int64_t position) {
    const ssize_t got = ::pread(Descriptor(file), buffer, count, static_cast<off_t>(position));
    if (got < 0)
        RaiseInOutError(errno);
    return static_cast<std::size_t>(got);
}

void Close(NativeFile file) {
    if (::close(Descriptor(file)) != 0)
        RaiseInOutError(errno);
}

void CloseQuietly(NativeFile file) noexcept {
    ::close(Descriptor(file));
}

std::optional<FileVersion> VersionOf(NativeFile file) {
    struct stat status {};
    if (::fstat(Descriptor(file), &status) != 0)
        RaiseInOutError(errno);
    return VersionOfStatus(status);
}

std::optional<FileVersion> VersionAt(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return std::nullopt;
    return VersionOfStatus(status);
}

} // namespace FileAccessSystem
