// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// The failures of Win32 error codes.
#include "FailingCalls.h"

const std::string NotOpenMessage = "I/O エラー (6)";

std::vector<InjectedFailure> InjectedFailures() {
    using enum FailingCalls::Call;
    const std::string notFound = "ファイルが見つかりません";
    const std::string badName = "不正なファイル名です";
    return {
        {Open, 2, notFound},   // ERROR_FILE_NOT_FOUND
        {Open, 3, notFound},   // ERROR_PATH_NOT_FOUND: a missing folder, as ENOENT on Linux
        {Open, 123, badName},  // ERROR_INVALID_NAME
        {Open, 161, badName},  // ERROR_BAD_PATHNAME
        {Open, 206, badName},  // ERROR_FILENAME_EXCED_RANGE
        {Open, 267, badName},  // ERROR_DIRECTORY
        {Open, 1921, badName}, // ERROR_CANT_RESOLVE_FILENAME
        {Open, 4, "オープンしたファイルが多すぎます"},     // ERROR_TOO_MANY_OPEN_FILES
        {Open, 5, "ファイルへのアクセスが拒否されました"}, // ERROR_ACCESS_DENIED
        {Open, 32, "I/O エラー (32)"},  // ERROR_SHARING_VIOLATION: a file locked away
        {Size, 6, "I/O エラー (6)"},    // ERROR_INVALID_HANDLE
        {Read, 21, "I/O エラー (21)"},  // ERROR_NOT_READY
        {Read, 33, "I/O エラー (33)"},  // ERROR_LOCK_VIOLATION
        {Close, 87, "I/O エラー (87)"}, // ERROR_INVALID_PARAMETER
    };
}
