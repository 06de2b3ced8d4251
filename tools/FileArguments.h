// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

// stallark-dump's FILE arguments, one implementation per platform: FileArgumentsPosix.cpp and
// FileArgumentsWin32.cpp, chosen by the build. A shell of Linux has expanded a wildcard before
// the program starts; cmd.exe and PowerShell pass `saves\*.dat` as it is, so on Windows the
// program expands it itself.
#include <string>
#include <vector>

struct FileArgument {
    std::string Path; // UTF-8
    // The system's error number when `Path` is a pattern that matches nothing, else 0: the
    // FILE is then reported as not found, like a missing file.
    int NoMatchError = 0;
};

// The files that one FILE argument (UTF-8) names, in name order for a pattern.
std::vector<FileArgument> ExpandFileArgument(const std::string& argument);
