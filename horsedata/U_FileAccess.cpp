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
std::optional<FileVersion> Calls::VersionOf(NativeFile file) const {
    return FileAccessSystem::VersionOf(file);
}
std::optional<FileVersion> Calls::VersionAt(const std::string& path) const {
    return FileAccessSystem::VersionAt(path);
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

// Copies `length` bytes from `offset` on. A short read is no error: what the file no longer
// holds reads as zero.
void CopyFrom(const Calls& calls, NativeFile file, std::int64_t offset, std::size_t length,
              std::span<std::uint8_t> buffer) {
    std::size_t done = 0;
    while (done < length) {
        const std::size_t got = ReadUninterrupted(calls, file, buffer.data() + done, length - done,
                                                  offset + static_cast<std::int64_t>(done));
        if (got == 0)
            break;
        done += got;
    }
    std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(done),
              buffer.begin() + static_cast<std::ptrdiff_t>(length), std::uint8_t{0});
}

// Opens, checks and reads the file; the path is free of NUL bytes. A whole read (`whole`)
// takes the version of the open file again after the read, and that of the file at the path,
// and gives nullopt when either is not the version read. `version` gets the version read.
std::optional<WholeRead> ReadBlock(const Calls& calls, const std::string& path, std::size_t length,
                                   std::span<std::uint8_t> buffer, bool whole,
                                   FileVersion* version) {
    FileHandle file(calls, calls.Open(path));
    if (file.Get() == NoFile)
        return WholeRead::NotHorseFile;

    const std::optional<FileVersion> before = calls.VersionOf(file.Get());
    const std::optional<std::int64_t> offset =
        before ? BlockOffsetForSize(before->Size) : std::nullopt;
    if (!offset) {
        file.Close();
        return WholeRead::NotHorseFile;
    }

    CopyFrom(calls, file.Get(), *offset, length, buffer);
    const bool moved = whole && calls.VersionOf(file.Get()) != before;
    file.Close();
    if (moved || (whole && calls.VersionAt(path) != before))
        return std::nullopt;
    if (version != nullptr)
        *version = *before;
    return WholeRead::Read;
}

// What both reads refuse before they touch the file.
void CheckRequest(const std::string& path, std::size_t length, std::span<std::uint8_t> buffer) {
    if (buffer.size() < length)
        throw std::invalid_argument("ReadHorseBlock: buffer smaller than length");
    // No file name holds a NUL byte; the system would cut the name there and open another file.
    if (path.find('\0') != std::string::npos)
        RaiseInOutError(InvalidArgument);
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
    CheckRequest(path, length, buffer);
    return ReadBlock(*calls_, path, length, buffer, false, nullptr) == WholeRead::Read;
}

WholeRead TDM_FileAccess::ReadWholeHorseBlock(const std::string& path, std::size_t length,
                                              std::span<std::uint8_t> buffer,
                                              FileVersion* version) {
    // A writer that keeps writing is left to the next read, when it has paused.
    constexpr int Tries = 4;
    CheckRequest(path, length, buffer);
    for (int attempt = 0; attempt < Tries; ++attempt)
        if (const std::optional<WholeRead> done =
                ReadBlock(*calls_, path, length, buffer, true, version))
            return *done;
    return WholeRead::Unsettled;
}

std::optional<FileVersion> TDM_FileAccess::VersionAt(const std::string& path) const {
    if (path.find('\0') != std::string::npos)
        return std::nullopt;
    return calls_->VersionAt(path);
}
