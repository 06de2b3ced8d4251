// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

// Where stallark-dump's UTF-8 text goes, one implementation per platform: ConsoleWriterPosix.cpp
// and ConsoleWriterWin32.cpp, chosen by the build. A file or a pipe gets the UTF-8 bytes on
// every platform; a console of Windows gets UTF-16, so that Japanese reads right whatever its
// code page.
#include <cstdio>
#include <string>
#include <string_view>

enum class StandardStream { Output, Error };

// Writes `text` to standard output or standard error; false when it cannot be written.
bool WriteStandard(StandardStream stream, std::string_view text);

// The bytes of `text` as they are, to a file, a pipe or a terminal: WriteStandard on every
// platform but for a console of Windows.
inline bool WriteBytes(StandardStream stream, std::string_view text) {
    std::FILE* file = stream == StandardStream::Output ? stdout : stderr;
    return std::fwrite(text.data(), 1, text.size(), file) == text.size() && std::fflush(file) == 0;
}

// Creates the file at `path` (UTF-8; on Windows a long one in its \\?\ form, as the reader
// opens it), or empties it, and writes `text` to it as standard output writes to a file.
// Throws EInOutError, with the reader's messages.
void WriteOutputFile(const std::string& path, std::string_view text);
