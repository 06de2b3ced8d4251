// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

// Text and file names as Windows takes them, for the reader and for stallark-dump: one home for
// the conversion from the program's UTF-8 and for the long-path form. Windows only
// (U_FilePathWin32.cpp).
#include <string>
#include <string_view>

// `utf8` as UTF-16. Invalid UTF-8 throws EInOutError (ERROR_NO_UNICODE_TRANSLATION) when
// `strict`, as a file name that is no valid UTF-8 names no file; else it becomes U+FFFD.
std::wstring Utf16FromUtf8(std::string_view utf8, bool strict);

// The UTF-8 path as CreateFileW takes it. Without the \\?\ form Windows refuses a path of
// MAX_PATH (260) characters or more unless the machine allows long paths, so such a path goes
// in that form: made full by GetFullPathNameW, as Windows would (\\?\ itself takes the path as
// it is), and \\?\UNC\ for a share. A shorter path goes as it is, read as Windows always has.
// The empty path throws EInOutError (ERROR_PATH_NOT_FOUND), as on Linux it names no file.
std::wstring WindowsFilePath(const std::string& utf8Path);
