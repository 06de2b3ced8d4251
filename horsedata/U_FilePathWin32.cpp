// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_FilePathWin32.h"

#include "U_FileAccess.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

std::wstring Utf16FromUtf8(std::string_view utf8, bool strict) {
    if (utf8.empty())
        return {};
    const DWORD flags = strict ? MB_ERR_INVALID_CHARS : 0;
    const int inputSize = static_cast<int>(utf8.size());
    const int size = ::MultiByteToWideChar(CP_UTF8, flags, utf8.data(), inputSize, nullptr, 0);
    if (size == 0)
        RaiseInOutError(static_cast<int>(::GetLastError()));
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_UTF8, flags, utf8.data(), inputSize, wide.data(), size);
    return wide;
}

std::wstring WindowsFilePath(const std::string& utf8Path) {
    if (utf8Path.empty())
        RaiseInOutError(ERROR_PATH_NOT_FOUND);
    const std::wstring path = Utf16FromUtf8(utf8Path, true);
    const DWORD size = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size < MAX_PATH)
        return path;
    std::wstring full(size, L'\0');
    const DWORD length = ::GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size)
        return path;
    full.resize(length);
    if (full.starts_with(LR"(\\?\)") || full.starts_with(LR"(\\.\)"))
        return full;
    if (full.starts_with(LR"(\\)"))
        return LR"(\\?\UNC\)" + full.substr(2);
    return LR"(\\?\)" + full;
}
