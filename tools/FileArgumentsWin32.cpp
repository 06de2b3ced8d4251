// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// On Windows a program expands its own wildcards: cmd.exe and PowerShell pass `saves\*.dat` as
// typed. Only the last part of a path may hold "*" or "?" (no file name can), so `\\?\` before
// a long path is no pattern.
#include "FileArguments.h"
#include "U_FilePath.h"

#include <algorithm>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

std::vector<FileArgument> ExpandFileArgument(const std::string& argument) {
    const std::size_t nameStart = argument.find_last_of("\\/:") + 1; // 0 when there is none
    if (argument.find_first_of("*?", nameStart) == std::string::npos)
        return {{argument}};

    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileExW(FilePathFromUtf8(argument).c_str(), FindExInfoBasic,
                                             &found, FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE)
        return {{argument, static_cast<int>(::GetLastError())}};
    std::vector<std::wstring> names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    if (names.empty())
        return {{argument, ERROR_FILE_NOT_FOUND}};

    // The order of the file system's listing depends on the file system; name order is the
    // case-blind order that Explorer and `dir` on NTFS show.
    std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
        const int order = ::CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE);
        return order == CSTR_LESS_THAN || (order == CSTR_EQUAL && a < b);
    });
    std::vector<FileArgument> files;
    for (const std::wstring& name : names)
        files.push_back({argument.substr(0, nameStart) + Utf8FromFilePath(name)});
    return files;
}
