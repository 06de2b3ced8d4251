// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// The reader's one sequence on every platform (open, size, read, zero-fill, close) and its
// messages; the system calls are in U_FileAccessPosix.cpp and U_FileAccessWin32.cpp.
#include "U_FileAccess.h"
#include "U_FileAccessSystem.h"

#include <algorithm>

using namespace FileAccessSystem;

TDM_FileAccess* DM_FileAccess = nullptr;

NativeFile Calls::Open(const std::string& path) const {
    return FileAccessSystem::Open(path);
}
std::optional<std::int64_t> Calls::RegularFileSize(NativeFile file) const {
    return FileAccessSystem::RegularFileSize(file);
}
std::size_t Calls::ReadAt(NativeFile file, std::uint8_t* buffer, std::size_t count,
                          std::int64_t position) const {
    return FileAccessSystem::ReadAt(file, buffer, count, position);
}
void Calls::Close(NativeFile file) const {
    FileAccessSystem::Close(file);
}
void Calls::CloseQuietly(NativeFile file) const noexcept {
    FileAccessSystem::CloseQuietly(file);
}

namespace {

const Calls SystemCalls;

// Owns the open file so that every way out of the reader closes it. The normal path closes
// explicitly to see the result; a failing path closes here and keeps its own error.
class FileHandle {
public:
    FileHandle(const Calls& calls, NativeFile file) : calls_(calls), file_(file) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() {
        if (file_ != NoFile)
            calls_.CloseQuietly(file_);
    }
    NativeFile Get() const { return file_; }
    void Close() {
        const NativeFile file = file_;
        file_ = NoFile;
        calls_.Close(file);
    }

private:
    const Calls& calls_;
    NativeFile file_;
};

// A read that a signal broke off is made again.
std::size_t ReadUninterrupted(const Calls& calls, NativeFile file, std::uint8_t* buffer,
                              std::size_t count, std::int64_t position) {
    for (;;) {
        try {
            return calls.ReadAt(file, buffer, count, position);
        } catch (const EInOutError& error) {
            if (error.SystemErrno != Interrupted)
                throw;
        }
    }
}

// Opens, checks and reads the file; the path is free of NUL bytes.
bool ReadBlock(const Calls& calls, const std::string& path, std::size_t length,
               std::span<std::uint8_t> buffer) {
    FileHandle file(calls, calls.Open(path));
    if (file.Get() == NoFile)
        return false;

    const std::optional<std::int64_t> size = calls.RegularFileSize(file.Get());
    const std::optional<std::int64_t> offset = size ? BlockOffsetForSize(*size) : std::nullopt;
    if (!offset) {
        file.Close();
        return false;
    }

    std::size_t done = 0;
    while (done < length) {
        const std::size_t got =
            ReadUninterrupted(calls, file.Get(), buffer.data() + done, length - done,
                              *offset + static_cast<std::int64_t>(done));
        if (got == 0)
            break;
        done += got;
    }
    // A short read is no error: what the file no longer holds reads as zero.
    std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(done),
              buffer.begin() + static_cast<std::ptrdiff_t>(length), std::uint8_t{0});

    file.Close();
    return true;
}

} // namespace

namespace {

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

} // namespace

EInOutError::EInOutError(int systemErrno)
    : std::runtime_error(InOutErrorMessage(systemErrno)), SystemErrno(systemErrno) {}

int EInOutError::ErrorCode() const {
    return ConditionOf(SystemErrno).value_or(SystemErrno);
}

void RaiseInOutError(int systemErrno) {
    throw EInOutError(systemErrno);
}

std::optional<std::int64_t> BlockOffsetForSize(std::int64_t fileSize) {
    for (const HorseFileLayout& layout : HorseFileLayouts)
        if (layout.FileSize == fileSize)
            return layout.BlockOffset;
    return std::nullopt;
}

TDM_FileAccess::TDM_FileAccess() : calls_(&SystemCalls) {}

TDM_FileAccess::TDM_FileAccess(const Calls& calls) : calls_(&calls) {}

bool TDM_FileAccess::ReadHorseBlock(const std::string& path, std::size_t length,
                                    std::span<std::uint8_t> buffer) {
    if (buffer.size() < length)
        throw std::invalid_argument("ReadHorseBlock: buffer smaller than length");

    // No file name holds a NUL byte; the system would cut the name there and open another file.
    if (path.find('\0') != std::string::npos)
        RaiseInOutError(InvalidArgument);
    return ReadBlock(*calls_, path, length, buffer);
}
