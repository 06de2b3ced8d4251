// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// The reader's one sequence on every platform (open, size, read, zero-fill, close) and its
// messages; the system calls are in U_FileAccessPosix.cpp and U_FileAccessWin32.cpp.
#include "U_FileAccess.h"
#include "U_FileAccessSystem.h"

#include <algorithm>

using namespace FileAccessSystem;

TDM_FileAccess* DM_FileAccess = nullptr;

namespace {

// Owns the open file so that every way out of the reader closes it. The normal path closes
// explicitly to see the result; a failing path closes here and keeps its own error.
class FileHandle {
public:
    explicit FileHandle(NativeFile file) : file_(file) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() {
        if (file_ != NoFile)
            CloseQuietly(file_);
    }
    NativeFile Get() const { return file_; }
    void Close() {
        const NativeFile file = file_;
        file_ = NoFile;
        FileAccessSystem::Close(file);
    }

private:
    NativeFile file_;
};

// Opens, checks and reads the file; the path is free of NUL bytes.
bool ReadBlock(const std::string& path, std::size_t length, std::span<std::uint8_t> buffer) {
    FileHandle file(Open(path));
    if (file.Get() == NoFile)
        return false;

    const std::optional<std::int64_t> size = RegularFileSize(file.Get());
    const std::optional<std::int64_t> offset = size ? BlockOffsetForSize(*size) : std::nullopt;
    if (!offset) {
        file.Close();
        return false;
    }

    std::size_t done = 0;
    while (done < length) {
        const std::size_t got = ReadAt(file.Get(), buffer.data() + done, length - done,
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
