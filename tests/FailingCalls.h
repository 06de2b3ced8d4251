// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

// A double of the reader's system calls, for the failures and races that a real file cannot
// be made to show on demand; standard C++, so the same tests run on Linux and on Windows.
#include "U_FileAccess.h"
#include "U_FileAccessSystem.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// Passes every call of the seam on to the system and notes it, but makes the nth call of the
// chosen kind (the first unless told) fail with the chosen system error number instead; a
// failing close has closed the file all the same, as on Linux, and a failing VersionAt answers
// nullopt, as the system's does for a path it cannot ask about. `Before` runs a test's own step
// just before each call.
class FailingCalls : public FileAccessSystem::Calls {
public:
    enum class Call { Open, Size, Read, Close, VersionAt };
    struct Failure {
        Call What;
        int Error;
        int Nth = 1; // counted from 1 among the calls of its kind, quiet closes left out
    };

    mutable std::optional<Failure> Fail;
    std::function<void(Call)> Before;
    mutable std::vector<Call> Seen;                  // a quiet close too, as Close
    mutable std::vector<std::int64_t> ReadPositions; // of the reads passed on

    using NativeFile = FileAccessSystem::NativeFile;
    NativeFile Open(const std::string& path) const override {
        if (const std::optional<int> error = Step(Call::Open))
            RaiseInOutError(*error);
        return Calls::Open(path);
    }
    // The reader's size query, before the read and, for a whole read, after it.
    std::optional<FileVersion> VersionOf(NativeFile file) const override {
        if (const std::optional<int> error = Step(Call::Size))
            RaiseInOutError(*error);
        return Calls::VersionOf(file);
    }
    // A whole read's look at the file the path names, after the read.
    std::optional<FileVersion> VersionAt(const std::string& path) const override {
        if (Step(Call::VersionAt))
            return std::nullopt;
        return Calls::VersionAt(path);
    }
    std::size_t ReadAt(NativeFile file, std::uint8_t* buffer, std::size_t count,
                       std::int64_t position) const override {
        if (const std::optional<int> error = Step(Call::Read))
            RaiseInOutError(*error);
        ReadPositions.push_back(position);
        return Calls::ReadAt(file, buffer, count, position);
    }
    void Close(NativeFile file) const override {
        if (const std::optional<int> error = Step(Call::Close)) {
            Calls::CloseQuietly(file);
            RaiseInOutError(*error);
        }
        Calls::Close(file);
    }
    void CloseQuietly(NativeFile file) const noexcept override {
        Seen.push_back(Call::Close);
        Calls::CloseQuietly(file);
    }

private:
    // Notes the call and runs `Before`; the error to fail it with when it is the chosen one.
    std::optional<int> Step(Call call) const {
        Seen.push_back(call);
        const int nth = ++made_[static_cast<std::size_t>(call)];
        if (Before)
            Before(call);
        if (!Fail || Fail->What != call || Fail->Nth != nth)
            return std::nullopt;
        return std::exchange(Fail, std::nullopt)->Error;
    }
    mutable std::array<int, 5> made_{}; // calls made of each kind
};

// A failure of one call with one of this platform's error numbers, and the message it shows.
struct InjectedFailure {
    FailingCalls::Call What;
    int Error;
    std::string Message;
};
// Every message for failures of every call, with the numbers and texts written out by hand
// (TestFilesLinux.cpp, TestFilesWindows.cpp).
std::vector<InjectedFailure> InjectedFailures();

// A descriptor or handle that is not open, and the message of a call on it: EBADF (9) on Linux,
// ERROR_INVALID_HANDLE (6) on Windows.
inline constexpr FileAccessSystem::NativeFile NotOpen = 1'000'000;
extern const std::string NotOpenMessage;
