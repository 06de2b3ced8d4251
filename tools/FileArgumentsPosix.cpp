// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// On Linux the shell expands a wildcard, so a FILE argument names itself; a "*" that reaches
// the program is part of a file name.
#include "FileArguments.h"

std::vector<FileArgument> ExpandFileArgument(const std::string& argument) {
    return {{argument}};
}
